#include "link/configuration_window.h"
#include "link/detection_window.h"
#include "link/pwsbase.h"
#include "support/pty_pair.h"
#include "support/workbench.h"
#include "virtual_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

Q_DECLARE_METATYPE(sim::Fault)

class DetectionTest : public QObject
{
    Q_OBJECT

private slots:
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
        PtyPair com1;
        sim::VirtualPanel panel;
        QVERIFY(panel.start());
        panel.setFault(fault);
        panel.setLineRate(lineRate);
        panel.setAnswerAddress(address.toStdString());
        Workbench bench;
        bench.mapPort(1, com1.path());
        bench.mapPort(3, QString::fromStdString(panel.devicePath()));
        bench.confirmPort(3);
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
                 (QList<RecordingMessages::Shown>{
                     {Messages::Icon::Information, "Ouverture du port COM3: effectuée avec succès."}}));
        QVERIFY(config.MSComm1().isOpen() && config.MSComm1().commPort() == 3);
        QVERIFY(bench.registry.frame(WindowId::Parameters)->isVisible());
        QVERIFY(bench.registry.frame(WindowId::Configuration)->isMinimized());
    }
};

QTEST_MAIN(DetectionTest)
#include "tst_detection.moc"
