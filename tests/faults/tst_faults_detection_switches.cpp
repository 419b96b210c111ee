#include "faults/fault_rig.h"
#include "link/configuration_window.h"
#include "link/detection_window.h"
#include "link/pwsbase.h"
#include "switches/switch_window.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

using namespace faults;

namespace {
const QColor green(0, 255, 0);

bool isGreen(const QLabel *label)
{
    return label->palette().color(QPalette::Window) == green;
}

QStringList switchReadFrames()
{
    return repeated("_31 SSS", 11) + QStringList{"_31 PPP"} + repeated("_31 SSS", 5)
        + QStringList{"_31 SSS", "_31 ZA0", "_31 Y00", "_31 ZA1"} + repeated("_31 X1X", 128)
        + QStringList{"_31 X6X", "_31 RRR"};
}
constexpr int SwitchHangUp = 11 + 1 + 5 + 4 + 64;
} // namespace

class DetectionAndSwitchFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void detection_data() { addFaultRows(); }
    void detection();
    void switchRead_data() { addFaultRows(true); }
    void switchRead();
};

// A panel that does not answer as a panel answers is no panel; the scan
// shows rows only, even for a device that goes away while probed.
void DetectionAndSwitchFaultsTest::detection()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    FaultRig<DETECT> rig(WindowId::Detection, fault, answerCheck);
    const sim::Memory before = rig.panel.memory();
    rig.provoke(1);

    rig.window.Command1->click();
    for (int k = 1; k <= DETECT::Rows; ++k) {
        QCOMPARE(rig.window.Label1(k + 14)->text(), k == 3 ? QStringLiteral("Libre.") : QStringLiteral("Absent."));
        QCOMPARE(rig.window.Label1(k + 28)->text(), QStringLiteral("."));
        QVERIFY(!isGreen(rig.window.Label1(k)) && !isGreen(rig.window.Label1(k + 28)));
    }
    QCOMPARE(rig.bench.messages.shown, ShownList{});
    QCOMPARE(rig.frames(1), QStringList{"31 RRR"});
    QCOMPARE(rig.panel.memory(), before);

    QVERIFY(!PORT_OUVERT(rig.bench.registry));
    QCOMPARE(rig.bench.messages.shown, ShownList{noPort});
}

// A failed read shows every switch OFF and no variant, whatever the failure
// marks would decode to.
void DetectionAndSwitchFaultsTest::switchRead()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    FaultRig<SW> rig(WindowId::Switches, fault, answerCheck);
    const sim::Memory before = rig.panel.memory();
    rig.provoke(SwitchHangUp);

    rig.window.LIT_SW->click();
    QCOMPARE(rig.bench.messages.shown, reported(fault));
    VERIFY_FAILURE_MARKS(rig.window.grid());
    for (int i = 0; i < SW::Switches; ++i) {
        QCOMPARE(rig.window.SW1(i)->value(), 1);
        QCOMPARE(rig.window.SW2(i)->value(), 1);
    }
    QCOMPARE(rig.window.Label30->text(), QStringLiteral("   --   "));
    if (fault != sim::Fault::HangUp)
        QCOMPARE(rig.frames(switchReadFrames().size()), switchReadFrames());
    QCOMPARE(rig.panel.memory(), before);

    if (fault == sim::Fault::HangUp) {
        rig.restart(0);
        rig.window.LIT_SW->click();
        QCOMPARE(rig.bench.messages.shown, ShownList{noPort});
    }
}

QTEST_MAIN(DetectionAndSwitchFaultsTest)
#include "tst_faults_detection_switches.moc"
