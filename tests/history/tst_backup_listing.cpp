#include "history/backup_listing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
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
} // namespace

class BackupListingTest : public QObject
{
    Q_OBJECT

private slots:
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

QTEST_GUILESS_MAIN(BackupListingTest)
#include "tst_backup_listing.moc"
