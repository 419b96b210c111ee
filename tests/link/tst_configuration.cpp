#include "link/configuration_window.h"
#include "link/pwsbase.h"
#include "support/pty_pair.h"
#include "support/workbench.h"

#include <QComboBox>
#include <QMdiSubWindow>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

using Icon = Messages::Icon;
using Shown = RecordingMessages::Shown;

class ConfigurationTest : public QObject
{
    Q_OBJECT

private slots:
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
        PtyPair com1, com4, com7, com12;
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

QTEST_MAIN(ConfigurationTest)
#include "tst_configuration.moc"
