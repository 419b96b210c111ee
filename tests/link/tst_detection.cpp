#include "link/configuration_window.h"
#include "link/detection_window.h"
#include "link/pwsbase.h"
#include "support/pty_pair.h"
#include "support/workbench.h"
#include "virtual_panel.h"

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
        }
        QVERIFY(bench.messages.shown.isEmpty());
        QVERIFY(!bench.registry.configuration().portOpenFlag());
        QVERIFY(!PORT_OUVERT(bench.registry));
    }
};

QTEST_MAIN(DetectionTest)
#include "tst_detection.moc"
