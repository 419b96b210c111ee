#include "faults/fault_rig.h"
#include "history/backup_listing.h"
#include "history/history_window.h"
#include "params/parameter_window.h"

#include <QAbstractSlider>

using namespace faults;

namespace {
// The tool on a virtual panel, with its backup history; at the line's rate
// on the real clock, or with instant answers on the fast one.
struct HistoryRig : WindowRig<dump_24c01>
{
    explicit HistoryRig(bool lineRate = false)
        : WindowRig(WindowId::Parameters, QStringLiteral("OUI"), lineRate ? 1 : FastClock)
    {
        panel.setLineRate(lineRate);
    }
    HistoryWindow &history() { return registry.window<HistoryWindow>(WindowId::History); }
    QString folder() const { return services.backupFolder; }

    // A backup of `window` on COM `port` holding, over first..last except
    // the gap, the panel's bytes turned over (XOR 5A); the card it restores.
    sim::Memory backUp(const QString &name, int port, int first, int last, int gapFirst = -1, int gapLast = -2)
    {
        MemoryBackup backup{name, port, QDateTime(QDate(2026, 12, 1), QTime(9, 0)), {}, {}};
        sim::Memory card = panel.memory();
        for (int a = first; a <= last; ++a) {
            if (a < gapFirst || a > gapLast) {
                card[a] ^= 0x5A;
                backup.bytes[a] = card[a];
            }
        }
        QString error;
        path = saveBackup(backup, folder(), &error);
        return card;
    }
    void restore(bool accept = true)
    {
        history().refresh();
        QVERIFY(history().select(path));
        changes.answers << ScriptedChangeViews::Answer{accept, {}};
        history().findChild<QPushButton *>(QStringLiteral("but_restaurer"))->click();
    }

    QString path;
};

// A backup file as an earlier version wrote it: the header, three fields and
// eight rows; `first`..`last` hold the address's low byte, "--" elsewhere.
QByteArray oldFile(const char *window, int port, const char *date, int first, int last, const QByteArray &name = {})
{
    QByteArray text = QByteArray("KVL_PWS sauvegarde 24C01\nfenetre=") + window + "\nport=COM" + QByteArray::number(port)
        + "\ndate=" + date + '\n';
    if (!name.isEmpty())
        text += "nom=" + name + '\n';
    for (int row = 0; row < 8; ++row) {
        text += QByteArray::number(row) + "x:";
        for (int column = 0; column < 16; ++column) {
            const int a = 16 * row + column;
            text += a >= first && a <= last ? ' ' + QByteArray::number(a, 16).toUpper().rightJustified(2, '0') : " --";
        }
        text += '\n';
    }
    return text;
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QString editorWrite = writeFrames(0x40, 4) + "31 OOO; 31 RRR; ";

struct RestoreRow
{
    QString window;
    int port, first, last;
    int gap;     // ten bytes the backup does not know
    bool spoilt; // read first; address 4Ah then reads wrong
    QString script, verdict, note;
};
} // namespace

// The backup history: the folder listed, backups named, restores read back.
class HistoryRestoreTest : public QObject
{
    Q_OBJECT

private slots:
    void restores_data()
    {
        QTest::addColumn<RestoreRow>("row");
        const QString verified = QStringLiteral("Restauration vérifiée : les %1 octets restaurés sont sur le panneau.");
        const QString editor = editorRead + "; " + editorWrite + editorRead;
        QTest::newRow("parameters") << RestoreRow{"dump_24c01", 3, 64, 127, -1, false, editor, verified.arg(64), ""};
        QTest::newRow("parameters, 100-109 unknown")
            << RestoreRow{"dump_24c01", 3, 64, 127, 100, false, editor, verified.arg(54), ""};
        QTest::newRow("luminosity, 0-63, from COM4")
            << RestoreRow{"LUM", 4, 0, 63, -1, false, memoryRead + "; " + writeFrames(0, 8) + memoryRead, verified.arg(64),
                          "Cette sauvegarde vient de COM4 ; le port ouvert est COM3."};
        // 81 turned over is DB; the spoilt answer DA.
        QTest::newRow("spoilt read-back")
            << RestoreRow{"dump_24c01", 3, 64, 127, -1, true, editorWrite + editorRead,
                          "Restauration à vérifier : à l'adresse 4Ah, le panneau relu donne DA au lieu de DB. Vérifiez "
                          "la liaison puis restaurez à nouveau.",
                          ""};
    }
    // The backup's known bytes reach the panel, the others stay the panel's,
    // each restored byte is read back; what the panel held is saved first.
    void restores()
    {
        QFETCH(RestoreRow, row);
        const auto &[window, port, first, last, gap, spoilt, script, verdict, note] = row;
        HistoryRig rig;
        const sim::Memory before = rig.panel.memory();
        if (spoilt) {
            rig.click("but_lit_para");
            rig.restart(count(editorRead) + 8);
            rig.panel.spoilReadsOf(0x4A);
        }
        const sim::Memory card = rig.backUp(window, port, first, last, gap, gap < 0 ? -2 : gap + 9);
        rig.restore();
        const QStringList frames = wire::frames(script);
        QCOMPARE(wire::masked(rig.frames(int(frames.size())), frames), frames);
        QCOMPARE(rig.panel.memory(), card);
        const Icon icon = spoilt ? Icon::Exclamation : Icon::Information;
        const ShownList told{Shown{icon, verdict}};
        QCOMPARE(rig.messages.shown, told);
        const ChangesRequest &asked = rig.changes.requests.value(0);
        QCOMPARE(asked.note, note);
        QVERIFY(!asked.rows.isEmpty());
        // The editor shows what was read back.
        QCOMPARE(rig.window.image().text(100), QString::number(card[100], 16).toUpper());
        QVERIFY(rig.window.image().state(100) == CellState::Green);
        const QStringList files = backupFiles(rig.folder());
        QCOMPARE(files.size(), 2);
        QFile saved(files.value(0) == rig.path ? files.value(1) : files.value(0));
        const std::optional<MemoryBackup> panelBefore =
            saved.open(QIODevice::ReadOnly) ? readBackup(saved.readAll()) : std::nullopt;
        QVERIFY(panelBefore);
        for (int a = first == 0 ? 0 : 64; a < MemoryImage::Size; ++a)
            QCOMPARE(panelBefore->bytes[a], std::optional<quint8>(before[a]));
    }

    void cancelled()
    {
        HistoryRig rig;
        const sim::Memory before = rig.panel.memory();
        rig.backUp(QStringLiteral("dump_24c01"), 3, 64, 127);
        rig.restore(false);
        QCOMPARE(rig.frames(count(editorRead)), wire::frames(editorRead));
        QCOMPARE(rig.panel.memory(), before);
        QCOMPARE(rig.messages.shown, ShownList{});
        QCOMPARE(backupFiles(rig.folder()).size(), 1);
    }

    // The line drops at the write's frame 40, in its second page: the
    // message points to the history, which selects the backup; restored on
    // the panel plugged in again, it brings the card back byte for byte.
    void afterAHangUp()
    {
        HistoryRig rig(true);
        const sim::Memory before = rig.panel.memory();
        rig.click("but_lit_para");
        rig.restart(count(editorRead) + 8);
        rig.window.findChild<QAbstractSlider *>(QStringLiteral("HScroll1_1"))->setValue(111);
        MemoryBackup later{QStringLiteral("LUM"), 3, QDateTime(QDate(2030, 1, 1), QTime(0, 0)), {}, {}};
        later.bytes[0] = 1;
        QString error;
        QVERIFY(!saveBackup(later, rig.folder(), &error).isEmpty()); // newest in the list
        rig.panel.setFault(sim::Fault::HangUp, 40);
        rig.click("but_ecrit_para");
        const Shown wayBack{Icon::Exclamation, QStringLiteral("Le panneau a peut-être été programmé en partie. Sa "
                                                              "mémoire d'avant l'écriture est sauvegardée : Fenêtre > "
                                                              "Historique des sauvegardes permet de la restaurer.")};
        QCOMPARE(rig.messages.shown, ShownList({lostPort, wayBack}));
        const sim::Memory halfWritten = rig.panel.memory();
        QVERIFY(halfWritten != before);

        QAction *menu = rig.principal.findChild<QAction *>(QStringLiteral("MENU_HISTORIQUE"));
        QVERIFY(menu && menu->isEnabled());
        menu->trigger();
        const QString selected = rig.history().selectedPath();
        QVERIFY(selected.endsWith(QLatin1String("_COM3_parametres.kvlmem")));

        sim::PanelState state = sim::PanelState::programmed();
        state.memory = halfWritten;
        sim::VirtualPanel second(state);
        QVERIFY(second.start());
        second.setLineRate(true);
        rig.mapPort(3, QString::fromStdString(second.devicePath()));
        rig.confirmPort(3);
        rig.messages.clear();
        rig.history().findChild<QPushButton *>(QStringLiteral("but_restaurer"))->click();
        QCOMPARE(second.memory(), before);
        QCOMPARE(rig.messages.shown.value(0).icon, Icon::Information);
    }

    // Newest first, whatever the file names; what is no backup is counted.
    void listsTheFolder()
    {
        QTemporaryDir dir;
        put(dir.filePath("a.kvlmem"), oldFile("dump_24c01", 4, "2026-12-05T10:00:00", 64, 127));
        put(dir.filePath("b.kvlmem"), oldFile("LUM", 3, "2026-12-06T20:45:59", 0, 127, "Parking nord, mât 2"));
        put(dir.filePath("c.kvlmem"), oldFile("dump_24c01.Text1", 4, "2026-12-06T08:00:00", 64, 98));
        put(dir.filePath("d.kvlmem"), oldFile("LUM", 3, "2026-12-07T08:00:00", 0, 127).left(200)); // truncated
        put(dir.filePath("e.kvlmem"), QByteArray("KVL_PWS sauvegarde 24C01\n\0\xff\x01", 28));
        put(dir.filePath("notes.txt"), "Parking nord\n");
        QVERIFY(QDir(dir.path()).mkdir("sous-dossier"));

        const BackupListing listing = listBackups(dir.path());
        QStringList rows;
        for (const BackupEntry &e : listing.entries)
            rows << QStringLiteral("%1 COM%2 %3 %4 %5")
                        .arg(QFileInfo(e.path).fileName())
                        .arg(e.backup.port)
                        .arg(sourceInWords(e.backup.window))
                        .arg(knownByteCount(e.backup.bytes))
                        .arg(e.backup.name);
        QCOMPARE(rows, QStringList({"b.kvlmem COM3 Luminosité 128 Parking nord, mât 2",
                                    "c.kvlmem COM4 Grille mémoire 35 ", "a.kvlmem COM4 Paramètres 64 "}));
        QCOMPARE(listing.unreadable, 3);
        QCOMPARE(unreadableText(listing.unreadable), QStringLiteral("3 fichiers illisibles ignorés."));
        QCOMPARE(previousOfSamePort(listing, 1), 2);
        QCOMPARE(previousOfSamePort(listing, 0), -1);
        QCOMPARE(listing.entries[2].backup.bytes[0x7F], std::optional<quint8>(0x7F));
        QCOMPARE(listing.entries[2].backup.bytes[0x3F], std::nullopt);
        const BackupListing none = listBackups(dir.filePath("sous-dossier"));
        QVERIFY(none.entries.isEmpty() && none.unreadable == 0 && unreadableText(0).isEmpty());
    }

    // The name goes in as one line after the date; the rows stay as they were.
    void namesAnOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.kvlmem");
        const QByteArray old = oldFile("dump_24c01", 4, "2026-12-05T10:00:00", 64, 127);
        put(path, old);
        QString error;
        QVERIFY(nameBackup(path, QStringLiteral("  Parking nord,\n mât 2 "), &error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.takeAt(4), QByteArray("nom=Parking nord, mât 2"));
        QCOMPARE(lines.join('\n'), old);
        QVERIFY(!nameBackup(dir.filePath("absent.kvlmem"), QStringLiteral("x"), &error));
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::newRow("parameters") << "dump_24c01" << "2026-12-06_20-45-59_COM3_parametres";
        QTest::newRow("grid") << "LUM.Text1" << "2026-12-06_20-45-59_COM3_grille";
        QTest::newRow("luminosity") << "LUM" << "2026-12-06_20-45-59_COM3_luminosite";
    }
    // Dated, by port and window; a second one of the same second never
    // replaces the first.
    void fileNames()
    {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QTemporaryDir dir;
        MemoryBackup backup{window, 3, QDateTime(QDate(2026, 12, 6), QTime(20, 45, 59)), {}, {}};
        backup.bytes[64] = 1;
        QString error;
        const QString first = saveBackup(backup, dir.path(), &error);
        backup.bytes[64] = 2;
        const QString second = saveBackup(backup, dir.path(), &error);
        QCOMPARE(QFileInfo(first).fileName(), name + ".kvlmem");
        QCOMPARE(QFileInfo(second).fileName(), name + "_02.kvlmem");
        const BackupListing listing = listBackups(dir.path());
        QCOMPARE(listing.entries.size(), 2);
        QCOMPARE(listing.entries[0].backup.bytes[64], std::optional<quint8>(2));
        QCOMPARE(listing.entries[1].backup.bytes[64], std::optional<quint8>(1));
    }
};

QTEST_MAIN(HistoryRestoreTest)
#include "tst_history_restore.moc"
