#include "link/configuration_window.h"
#include "link/detection_window.h"
#include "link/pwsbase.h"
#include "port/port_map.h"
#include "support/raw_line.h"
#include "support/workbench.h"
#include "virtual_panel.h"

#include <QMdiSubWindow>
#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

// The port map, the link settings and the detection that leads to them.
class LinkTest : public QObject
{
    Q_OBJECT

private slots:
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
