#include "config/config_files.h"
#include "config/config_text.h"
#include "link/configuration_window.h"
#include "link/detection_window.h"
#include "link/pwsbase.h"
#include "port/port_map.h"
#include "support/raw_line.h"
#include "support/workbench.h"
#include "ui/french_locale.h"
#include "support/panel_link.h"

#include <QMdiSubWindow>
#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

using Answer = Messages::Answer;

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A configuration file: these positions, the texts of the items they select
// and the date and time of saving.
QByteArray configurationFile(const LinkPositions &positions, const QList<QByteArray> &items, const QByteArray &date,
                             const QByteArray &time)
{
    const QByteArray dashes(33, '-');
    const QByteArray blanks(33, ' ');
    QList<QByteArray> lines;
    for (int p : positions)
        lines << QByteArray::number(p);
    lines << "             O M R               " << dashes << "DEBUT DU FICHIER DE CONFIGURATION"
          << "CARTE KVL             OMR 04-2009" << "Chronom\xe8tre au centi\xe8me          " << dashes;
    const char *headings[] = {"Connect\xe9 sur Port ", "INTERFACE ", "DIGIT ", "Couleur ",
                              "DCF77 ", "Relais 1 ", "Relais 2 ", "R\xe9ponse "};
    for (int i = 0; i < 8; ++i)
        lines << headings[i] + items.value(i);
    lines << blanks << dashes << blanks << "FIN DU FICHIER DE CONFIGURATION  " << blanks << "cr\xe9" "e le: " + date
          << "\xe0 " + time << dashes << blanks;
    return lines.join("\r\n") + "\r\n";
}
struct LoadRow
{
    QString name;       // the dialog's answer; none: cancelled
    QByteArray file;    // null: no such file
    QList<int> positions;
    bool opened;
    ShownList messages; // %1: the file's path
};
} // namespace

// The port map, the link settings, their files and the detection that leads
// to them.
class LinkTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useFrenchEverywhere(); }

    void overrides_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("problems");
        QTest::newRow("default first USB adapter") << "" << 3 << "/dev/ttyUSB0" << 0;
        QTest::newRow("default COM14") << "" << 14 << "/dev/ttyS5" << 0;
        QTest::newRow("override") << "COM3=/tmp/kvl/pty3\n" << 3 << "/tmp/kvl/pty3" << 0;
        QTest::newRow("COM1 does not catch COM12") << "COM12=/dev/x12\n" << 1 << "/dev/ttyS0" << 0;
        QTest::newRow("blanks and comments") << "# mine\n  com12 = /dev/my port \n" << 12 << "/dev/my port" << 0;
        QTest::newRow("out of range kept out") << "COM15=/dev/x\nCOM0=/dev/y\nnonsense\n" << 1 << "/dev/ttyS0" << 3;
        QTest::newRow("later line wins") << "COM5=/a\nCOM5=/b\n" << 5 << "/b" << 0;
    }
    void overrides()
    {
        QFETCH(QString, text);
        QFETCH(int, port);
        PortMap map;
        QTEST(int(map.applyOverrides(text).size()), "problems");
        QTEST(map.device(port), "device");
    }

    // Tab and Down from the port list never reach a list out of view.
    void unseenListsTakeNoKeys()
    {
        Workbench bench;
        bench.principal.show();
        bench.registry.show(WindowId::Configuration);
        QVERIFY(QTest::qWaitForWindowActive(&bench.principal));
        CONFIGURATION &config = bench.registry.configuration();
        config.list(LinkSetting::SEL_COM)->setFocus();
        for (int i = 0; i < 2 * LinkSettingCount; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        }
        for (LinkSetting unseen : {LinkSetting::SEL_INTER, LinkSetting::SEL_NBR_DIGI, LinkSetting::SEL_DCF77,
                                   LinkSetting::SEL_REL1, LinkSetting::SEL_REL2})
            QCOMPARE(config.list(unseen)->currentIndex(), linkSettingList(unseen).defaultIndex);
    }

    // One run of confirmations, each from the port state the last one left.
    void confirmations()
    {
        RawLine com1, com4, com7, com12;
        Workbench bench;
        bench.mapPort(1, com1.path());
        bench.mapPort(4, com4.path());
        bench.mapPort(12, com12.path());
        bench.principal.Form_Load();
        CONFIGURATION &config = bench.registry.configuration();
        const Shown refusal = noPortShown;
        const auto failed = [](int port) {
            return Shown{Icon::Critical, QStringLiteral("L'ouverture du port COM%1 à échouée !").arg(port)};
        };

        // Refused before any confirmation, and after a missing device.
        QVERIFY(!PORT_OUVERT(bench.registry));
        bench.confirmPort(7);
        QVERIFY(!PORT_OUVERT(bench.registry));
        QCOMPARE(bench.messages.shown, (QList<Shown>{refusal, failed(7), refusal}));
        QVERIFY(!config.portOpenFlag() && !config.MSComm1().isOpen());
        QVERIFY(!bench.registry.loaded(WindowId::Parameters));

        // "COM12:" is not taken for "COM1:".
        bench.messages.clear();
        QVERIFY(config.list(LinkSetting::SEL_COM)->itemData(11, Qt::ToolTipRole).toString().contains(com12.path()));
        bench.confirmPort(12);
        QCOMPARE(bench.messages.shown, (QList<Shown>{{Icon::Information, "Ouverture du port COM12: effectuée avec succès."}}));
        QVERIFY(config.portOpenFlag());
        QCOMPARE(config.MSComm1().device(), com12.path());
        lineIs4800N81(com12.path());
        QVERIFY(bench.registry.frame(WindowId::Parameters)->isVisible());
        QVERIFY(bench.registry.frame(WindowId::Configuration)->isMinimized());
        QVERIFY(PORT_OUVERT(bench.registry));
        QCOMPARE(bench.messages.shown.size(), 1);

        // A second confirmation lets the first device go.
        bench.confirmPort(4);
        QCOMPARE(config.MSComm1().device(), com4.path());
        SerialPort other(bench.ports);
        other.setCommPort(12);
        QVERIFY2(other.open(), "the first port is still held");

        // Devices held elsewhere: by this port object, then by another program.
        bench.mapPort(7, com7.path());
        const int locked = ::open(qPrintable(com7.path()), O_RDWR | O_NOCTTY);
        QCOMPARE(::flock(locked, LOCK_EX | LOCK_NB), 0);
        bench.messages.clear();
        for (int port : {12, 7}) {
            bench.confirmPort(port);
            QVERIFY(!config.portOpenFlag() && !config.MSComm1().isOpen());
        }
        QVERIFY(!PORT_OUVERT(bench.registry));
        QCOMPARE(bench.messages.shown, (QList<Shown>{failed(12), failed(7), refusal}));
        ::close(locked);
    }

    void scan_data()
    {
        QTest::addColumn<sim::Fault>("fault");
        QTest::addColumn<bool>("lineRate");
        QTest::addColumn<QString>("address"); // the first two characters of the answer
        QTest::newRow("panel answers") << sim::Fault::None << false << "01";
        QTest::newRow("panel at another address") << sim::Fault::None << false << "02";
        // The count passes through five on its way to six (the fault suite
        // scans the other ways a panel can answer wrongly).
        QTest::newRow("six characters, one by one") << sim::Fault::Extra << true << "01";
    }
    // COM1 exists with nothing behind it, a panel stands on COM3, nothing else exists.
    void scan()
    {
        QFETCH(sim::Fault, fault);
        QFETCH(bool, lineRate);
        QFETCH(QString, address);
        RawLine com1;
        sim::VirtualPanel panel;
        QVERIFY(panel.start());
        panel.setFault(fault);
        panel.setLineRate(lineRate);
        panel.setAnswerAddress(address.toStdString());
        Workbench bench;
        bench.mapPort(1, com1.path());
        bench.plug(3, QString::fromStdString(panel.devicePath()));
        bench.messages.clear();
        auto &detect = bench.registry.window<DETECT>(WindowId::Detection);
        QVERIFY(detect.Label1(3 + 14)->toolTip().contains(QString::fromStdString(panel.devicePath())));

        QElapsedTimer clock;
        clock.start();
        detect.Command1->click();
        QVERIFY2(clock.elapsed() < 2300, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(frameTexts(panel.frames()), QStringList{"31 RRR"});

        const auto isGreen = [&detect](int label) {
            return detect.Label1(label)->palette().color(QPalette::Window) == QColor(0, 255, 0);
        };
        for (int k = 1; k <= DETECT::Rows; ++k) {
            const bool present = k == 1 || k == 3;
            const bool found = k == 3 && fault == sim::Fault::None;
            QCOMPARE(detect.Label1(k)->text(), QStringLiteral("COM%1:").arg(k));
            QCOMPARE(detect.Label1(k + 14)->text(), present ? QStringLiteral("Libre.") : QStringLiteral("Absent."));
            QCOMPARE(detect.Label1(k + 28)->text(), found ? QStringLiteral(" KVL_TAC.") : QStringLiteral("."));
            QCOMPARE(isGreen(k), found);
            QCOMPARE(isGreen(k + 14), present);
            QCOMPARE(isGreen(k + 28), found);
            QCOMPARE(!detect.UTILISER(k)->isHidden(), found);
        }
        QVERIFY(bench.messages.shown.isEmpty());
        QVERIFY(!bench.registry.configuration().portOpenFlag());
        QVERIFY(!PORT_OUVERT(bench.registry));
    }

    void usePort_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("usable"); // the link settings list it
        QTest::newRow("COM3") << 3 << true;
        QTest::newRow("COM13, beyond the list") << 13 << false;
    }
    // The row where the panel answered leads to it: the link settings select
    // its COM number and are confirmed, with their message, the editor shown
    // and the settings minimised. The tooltips say what stands behind each number.
    void usePort()
    {
        QFETCH(int, port);
        QFETCH(bool, usable);
        sim::VirtualPanel panel;
        QVERIFY(panel.start());
        Workbench bench;
        bench.principal.Form_Load();
        bench.mapPort(port, QString::fromStdString(panel.devicePath()));
        CONFIGURATION &config = bench.registry.configuration();
        QComboBox *com = config.list(LinkSetting::SEL_COM);
        com->setCurrentText(QStringLiteral("COM1:"));
        auto &detect = bench.registry.window<DETECT>(WindowId::Detection);
        detect.Command1->click();

        const QString device = QStringLiteral("COM%1: %2").arg(port).arg(QString::fromStdString(panel.devicePath()));
        QCOMPARE(detect.Label1(port + 28)->toolTip(), device);
        QCOMPARE(com->itemData(1, Qt::ToolTipRole).toString(), "COM2: /nonexistent/kvl-com2 (absent)");
        QCOMPARE(detect.UTILISER(port)->isEnabled(), usable);
        QTest::mouseClick(detect.UTILISER(port), Qt::LeftButton);
        QCOMPARE(config.portOpenFlag(), usable);
        if (!usable) {
            QVERIFY(bench.messages.shown.isEmpty());
            return;
        }
        QCOMPARE(com->currentText(), "COM3:");
        QCOMPARE(com->itemData(2, Qt::ToolTipRole).toString(), device);
        QCOMPARE(bench.messages.shown,
                 (ShownList{{Icon::Information, "Ouverture du port COM3: effectuée avec succès."}}));
        QVERIFY(config.MSComm1().isOpen() && config.MSComm1().commPort() == 3);
        QVERIFY(bench.registry.frame(WindowId::Parameters)->isVisible());
        QVERIFY(bench.registry.frame(WindowId::Configuration)->isMinimized());
    }

    // The last item of every list, saved on a fixed French date, and read back.
    void write()
    {
        const LinkPositions chosen{11, 1, 0, 0, 1, 1, 1, 0};
        const QByteArray text = TEXTE_CONFIGURATION(chosen, QDateTime(QDate(2024, 3, 5), QTime(14, 5)),
                                                    QLocale(QLocale::French, QLocale::France));
        QCOMPARE(text, configurationFile(chosen,
                                         {"COM12:", "Sans fil", "8 Digits 99 heu 59 min 59 sec 99 cen", "Mono couleur",
                                          "OUI", "OUI", "OUI", "NON"},
                                         "05/03/2024", "14:05"));
        QCOMPARE(readConfigurationPositions(text), std::optional(QList<int>(chosen.begin(), chosen.end())));
    }

    void windows1252_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Latin-1") << "créé à ÿ" << QByteArray("cr\xE9\xE9 \xE0 \xFF");
        QTest::newRow("euro, oe, Y diaeresis") << "€œŸ" << QByteArray("\x80\x9C\x9F");
        QTest::newRow("C1 controls") << QString(QChar(0x81)) + QChar(0x9D) << QByteArray("??");
        QTest::newRow("outside the code page") << "ą→" << QByteArray("??");
        QTest::newRow("beyond 16 bits, one mark") << "a😀b" << QByteArray("a?b");
    }
    void windows1252()
    {
        QFETCH(QString, text);
        QTEST(toWindows1252(text), "bytes");
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::optional<QList<int>>>("positions"); // none: not a configuration file
        const QList<int> all{2, 0, 2, 1, 0, 0, 0, 1};
        const QByteArray eight("2\r\n0\r\n2\r\n1\r\n0\r\n0\r\n0\r\n1\r\n");
        const std::optional<QList<int>> none;
        QTest::newRow("LF only, no final end") << QByteArray("2\n0\n2\n1\n0\n0\n0\n1") << std::optional(all);
        QTest::newRow("blanks around") << QByteArray(" 11 \r\n\t1\r\n") << std::optional(QList<int>{11, 1});
        QTest::newRow("port beyond the list") << QByteArray("12\r\n0\r\n") << std::optional(QList<int>{});
        QTest::newRow("digits then text") << QByteArray("1a\r\n") << std::optional(QList<int>{});
        QTest::newRow("empty line") << QByteArray("1\r\n\r\n0\r\n") << std::optional(QList<int>{1});
        QTest::newRow("huge number") << QByteArray("99999999999999999999\r\n") << std::optional(QList<int>{});
        QTest::newRow("empty file") << QByteArray() << std::optional(QList<int>{});
        QTest::newRow("64 KiB") << eight + QByteArray(65536 - eight.size(), ' ') << std::optional(all);
        QTest::newRow("beyond 64 KiB") << eight + QByteArray(65537 - eight.size(), ' ') << none;
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        QTEST(readConfigurationPositions(bytes), "positions");
    }

    // The defaults byte for byte (but the date and time, which must be there),
    // then the window's own positions.
    void saving()
    {
        QTemporaryDir dir;
        Workbench bench;
        ENREGISTRER_CONFIGURATION(bench.registry); // cancelled
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{});
        bench.files.next(dir.filePath("Configuration_LDQ"));
        ENREGISTRER_CONFIGURATION(bench.registry);
        QCOMPARE(bench.files.requests.value(1).proposedName, QStringLiteral("Configuration_LDQ"));
        const QByteArray saved = readAll(dir.filePath("Configuration_LDQ"));
        const QList<QByteArray> lines = saved.split('\n');
        const QByteArray date = lines.value(27).mid(9).chopped(1);
        const QByteArray time = lines.value(28).mid(2).chopped(1);
        // French whatever the machine's locale (the tests run under C).
        QVERIFY2(QRegularExpression("^\\d\\d/\\d\\d/\\d{4}$").match(date).hasMatch(), date.constData());
        QVERIFY2(QRegularExpression("^\\d\\d:\\d\\d$").match(time).hasMatch(), time.constData());
        QCOMPARE(saved, configurationFile({2, 0, 2, 1, 0, 0, 0, 1},
                                          {"COM3:", "Filaire ", "4 Digits 99 sec 99 cen", "Tri couleur ", "NON",
                                           "NON", "NON", "OUI"},
                                          date, time));

        CONFIGURATION &config = bench.registry.configuration();
        config.list(LinkSetting::SEL_COM)->setCurrentText(QStringLiteral("COM12:"));
        config.list(LinkSetting::SEL_REP)->setCurrentText(QStringLiteral("NON"));
        bench.files.next(dir.filePath("a.omr"));
        ENREGISTRER_CONFIGURATION(bench.registry);
        QVERIFY(readAll(dir.filePath("a.omr")).startsWith("11\r\n0\r\n2\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
        QVERIFY(bench.messages.shown.isEmpty());
    }

    void loading_data()
    {
        QTest::addColumn<LoadRow>("row");
        const QList<int> defaults{2, 0, 2, 1, 0, 0, 0, 1};
        const QByteArray eight("3\r\n1\r\n0\r\n0\r\n1\r\n1\r\n1\r\n0\r\n");
        const Shown opened{Icon::Information, "Ouverture du port COM4: effectuée avec succès."};
        const Shown notConfiguration{Icon::None, "%1 n'est pas un fichier de configuration."};
        const Shown unreadable{Icon::None, "Erreur d'ouverture de %1"};
        QTest::newRow("the eight numbers alone") << LoadRow{"c.omr", eight, {3, 1, 0, 0, 1, 1, 1, 0}, true, {opened}};
        QTest::newRow("third line bad")
            << LoadRow{"c.omr", QByteArray(eight).replace(6, 1, "9"), {3, 1, 2, 1, 0, 0, 0, 1}, false, {}};
        QTest::newRow("holding a NUL") << LoadRow{"c.omr", eight + '\0', defaults, false, {notConfiguration}};
        QTest::newRow("over 64 KiB")
            << LoadRow{"c.omr", eight + QByteArray(65536, ' '), defaults, false, {notConfiguration}};
        QTest::newRow("cancelled") << LoadRow{"", QByteArray(), defaults, false, {}};
        QTest::newRow("unreadable: retried, then given up")
            << LoadRow{"missing.omr", QByteArray(), defaults, false, {unreadable, unreadable}};
    }
    void loading()
    {
        QFETCH(LoadRow, row);
        auto [name, file, positions, opened, messages] = row;
        QTemporaryDir dir;
        RawLine com4;
        Workbench bench;
        bench.mapPort(4, com4.path());
        const QString path = dir.filePath(name);
        if (!file.isNull())
            QVERIFY(writeFile(path, file));
        if (!name.isEmpty())
            bench.files.next(path);
        bench.messages.retryAnswers << Answer::Retry << Answer::Cancel;
        OUVRIR_CONFIGURATION(bench.registry);
        QCOMPARE(bench.files.requests.value(0).proposedName, QStringLiteral("Configuration_LDQ"));

        CONFIGURATION &config = bench.registry.configuration();
        const LinkPositions selected = config.positions();
        QCOMPARE(QList<int>(selected.begin(), selected.end()), positions);
        QCOMPARE(config.portOpenFlag(), opened);
        QCOMPARE(config.MSComm1().isOpen(), opened);
        for (Shown &m : messages)
            m.text = m.text.arg(path);
        QCOMPARE(bench.messages.shown, messages);
    }

    void persistentWriteErrorLeavesNoFile()
    {
        QTemporaryDir dir;
        Workbench bench;
        const QString path = dir.filePath("no-such-folder/c.omr");
        bench.files.next(path);
        bench.messages.retryAnswers << Answer::Retry << Answer::Retry << Answer::Cancel;
        bench.registry.show(WindowId::Configuration);
        bench.registry.minimize(WindowId::Configuration);
        ENREGISTRER_CONFIGURATION(bench.registry);
        // The file comes first: without it the link settings are not shown.
        QVERIFY(bench.registry.frame(WindowId::Configuration)->isMinimized());
        const Shown failure{Icon::None, "Erreur lors de la création de " + path + ". Essayer à nouveau"};
        QCOMPARE(bench.messages.shown, (QList<Shown>{failure, failure, failure}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{});

        // A folder that refuses new files: the file already there stays whole.
        const QString kept = dir.filePath("kept.omr");
        QVERIFY(writeFile(kept, "old settings\r\n"));
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dir.path()}) != 0)
            QSKIP("this file system cannot lock a folder");
        bench.messages.clear();
        bench.files.next(kept);
        ENREGISTRER_CONFIGURATION(bench.registry);
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir.path()});
        QCOMPARE(bench.messages.texts(), QStringList{"Erreur lors de la création de " + kept + ". Essayer à nouveau"});
        QCOMPARE(readAll(kept), QByteArray("old settings\r\n"));
    }

private:
    // The line as the confirmation set it up, read back from the device.
    static void lineIs4800N81(const QString &device)
    {
        const int fd = ::open(qPrintable(device), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        termios t{};
        const bool read = ::tcgetattr(fd, &t) == 0;
        ::close(fd);
        QVERIFY(read);
        QCOMPARE(cfgetospeed(&t), speed_t(B4800));
        QCOMPARE(cfgetispeed(&t), speed_t(B4800));
        QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(t.c_iflag & (IXON | IXOFF), tcflag_t(0));
    }
};

QTEST_MAIN(LinkTest)
#include "tst_link.moc"
