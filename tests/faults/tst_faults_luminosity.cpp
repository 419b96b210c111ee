#include "faults/fault_rig.h"
#include "faults/luminosity_frames.h"
#include "luminosity/luminosity_window.h"

#include <QPushButton>
#include <QSlider>

using namespace faults;
using namespace faults::luminosity;

namespace {
using Rig = FaultRig<LUM>;

constexpr int ReadHangUp = 11 + 1 + 5 + 4 + 64;
constexpr int WriteReadHangUp = 11 + 5 + 4 + 64; // in the write's own read

QList<int> settings(const LUM &lum)
{
    return {lum.selectedMode().value_or(-1), lum.DURE_LDR->value(), lum.COMP_LDR->value()};
}
} // namespace

class LuminosityFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void read_data() { addFaultRows(true); }
    void read();
    void writeStopsInItsRead_data() { addFaultRows(true); }
    void writeStopsInItsRead();
};

// The settings stay at their reset values and the panel is let out of the
// request whatever the answer check.
void LuminosityFaultsTest::read()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    Rig rig(WindowId::Luminosity, fault, answerCheck);
    const sim::Memory before = rig.panel.memory();
    rig.provoke(ReadHangUp);

    rig.window.but_LIT_LUM->click();
    QCOMPARE(rig.bench.messages.shown, reported(fault));
    VERIFY_FAILURE_MARKS(rig.window.grid());
    QCOMPARE(settings(rig.window), (QList<int>{-1, 1, 1}));
    const QStringList frames = opening + QStringList{"_31 PPP"} + memoryRead + closing;
    if (fault != sim::Fault::HangUp)
        QCOMPARE(rig.frames(frames.size()), frames);
    QCOMPARE(rig.panel.memory(), before);

    rig.restart(0);
    rig.window.grid().but_WR->click();
    QCOMPARE(rig.bench.messages.shown, nextWriteRefused(fault, "00h"));
    QVERIFY(rig.lineStaysQuiet());
}

// Without the panel's own bytes nothing is written, nothing needs a backup,
// and the settings on screen stay as the user chose them.
void LuminosityFaultsTest::writeStopsInItsRead()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    Rig rig(WindowId::Luminosity, fault, answerCheck);
    const sim::Memory before = rig.panel.memory();
    rig.window.selectMode(6);
    rig.provoke(WriteReadHangUp);

    rig.window.but_ECRIT_LUM->click();
    QCOMPARE(rig.bench.messages.shown, reported(fault));
    VERIFY_FAILURE_MARKS(rig.window.grid());
    QCOMPARE(settings(rig.window), (QList<int>{6, 5, 4}));
    if (fault != sim::Fault::HangUp)
        QCOMPARE(rig.frames(opening.size() + memoryRead.size() + 5), opening + memoryRead + closing);
    QCOMPARE(rig.panel.memory(), before);
    QCOMPARE(backupFiles(rig.backupFolder()), QStringList());

    if (fault == sim::Fault::HangUp) {
        rig.restart(0);
        rig.window.but_ECRIT_LUM->click();
        QCOMPARE(rig.bench.messages.shown, ShownList{noPort});
    }
}

QTEST_MAIN(LuminosityFaultsTest)
#include "tst_faults_luminosity.moc"
