#include "faults/fault_rig.h"
#include "faults/luminosity_frames.h"
#include "luminosity/luminosity_window.h"

#include <QPushButton>

using namespace faults;
using namespace faults::luminosity;

namespace {
constexpr int MemoryWriteFrames = 5 + 8 * 20;
constexpr int WritingHangUp = 5 + 3 * 20 + 10; // counted once the read is over
} // namespace

class LuminosityWriteFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void writeFails_data() { addFaultRows(true); }
    void writeFails();
};

// The fault strikes once the write's own read is over: a failure all the
// same, with the memory as read in the backup.
void LuminosityWriteFaultsTest::writeFails()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    FaultRig<LUM> rig(WindowId::Luminosity, fault, answerCheck);
    const sim::Memory before = rig.panel.memory();
    rig.window.selectMode(6);
    rig.provokeAfter(opening.size() + memoryRead.size(), WritingHangUp);

    rig.window.but_ECRIT_LUM->click();
    QCOMPARE(rig.bench.messages.shown, reported(fault));
    VERIFY_FAILURE_MARKS(rig.window.grid());
    const int expected = fault == sim::Fault::HangUp ? opening.size() + memoryRead.size() + WritingHangUp
                                                     : opening.size() + memoryRead.size() + MemoryWriteFrames + 7;
    const QStringList log = rig.frames(expected);
    QCOMPARE(log.size(), expected);
    QCOMPARE(meaninglessFrames(log), QStringList());
    if (fault != sim::Fault::HangUp)
        QCOMPARE(log.mid(expected - 7), (QStringList{"_31 OOO", "_31 LLL"} + closing));

    const std::optional<MemoryBackup> backup = rig.onlyBackup();
    QVERIFY(backup);
    QCOMPARE(backup->window, QStringLiteral("LUM"));
    QVERIFY(backup->bytes == knownFrom(before, 0));

    rig.restart(0);
    rig.window.grid().but_WR->click();
    QCOMPARE(rig.bench.messages.shown, nextWriteRefused(fault, "00h"));
    QVERIFY(rig.lineStaysQuiet());
}

QTEST_MAIN(LuminosityWriteFaultsTest)
#include "tst_faults_luminosity_write.moc"
