#include "faults/fault_rig.h"
#include "params/parameter_window.h"

#include <QPushButton>

using namespace faults;

namespace {
using Rig = FaultRig<dump_24c01>;

const QStringList readFrames = QStringList{"31 SSS", "31 SSS", "31 ZA0", "31 Y40", "31 ZA1"} + repeated("31 X1X", 64)
    + QStringList{"31 X6X", "31 RRR"};
constexpr int ReadHangUp = 5 + 32;
constexpr int WriteFrames = 5 + 4 * 20;
constexpr int WriteHangUp = 5 + 20 + 3; // among the first page's data
const QStringList speedFrames{"31 AAA", "31 BBB", "31 CCC", "31 DDD"};
} // namespace

class RawAndSpeedFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void rawRead_data() { addFaultRows(); }
    void rawRead();
    void rawWrite_data() { addFaultRows(); }
    void rawWrite();
    void liveSpeed_data() { addFaultRows(); }
    void liveSpeed();
};

// The grid shows the failure and nothing more; "Envoi" will not send it.
void RawAndSpeedFaultsTest::rawRead()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    Rig rig(WindowId::Parameters, fault, answerCheck);
    const sim::Memory before = rig.panel.memory();
    rig.provoke(ReadHangUp);

    rig.window.grid().but_RD->click();
    QCOMPARE(rig.bench.messages.shown, unreported(fault));
    VERIFY_FAILURE_MARKS(rig.window.grid());
    if (fault != sim::Fault::HangUp)
        QCOMPARE(rig.frames(readFrames.size()), readFrames);

    rig.restart(0);
    rig.window.grid().but_WR->click();
    QCOMPARE(rig.bench.messages.shown, nextWriteRefused(fault, "40h"));
    QVERIFY(rig.lineStaysQuiet());
    QCOMPARE(rig.panel.memory(), before);
}

// The cells the write could not send show it, and stay unsendable; what the
// write replaced is in the backup.
void RawAndSpeedFaultsTest::rawWrite()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    Rig rig(WindowId::Parameters, fault, answerCheck);
    const sim::Memory before = rig.panel.memory();
    rig.window.grid().but_RD->click();
    rig.restart(readFrames.size());
    rig.window.grid().but_lin->click();
    rig.provoke(WriteHangUp);

    rig.window.grid().but_WR->click();
    QCOMPARE(rig.bench.messages.shown, unreported(fault));
    VERIFY_FAILURE_MARKS(rig.window.grid());
    const QStringList log = rig.frames(fault == sim::Fault::HangUp ? WriteHangUp : WriteFrames);
    QCOMPARE(meaninglessFrames(log), QStringList());
    if (fault != sim::Fault::HangUp)
        QCOMPARE(log.size(), WriteFrames);
    const sim::Memory after = rig.panel.memory();
    QVERIFY(std::equal(before.begin(), before.begin() + 64, after.begin()));

    const std::optional<MemoryBackup> backup = rig.onlyBackup();
    QVERIFY(backup);
    QVERIFY(backup->bytes == knownFrom(before, 64));

    rig.restart(0);
    rig.window.grid().but_WR->click();
    QCOMPARE(rig.bench.messages.shown, nextWriteRefused(fault, "40h"));
    QVERIFY(rig.lineStaysQuiet());
    QCOMPARE(rig.panel.memory(), after);
}

// The boxes keep the last whole answer; the speeds the panel measures now
// never show.
void RawAndSpeedFaultsTest::liveSpeed()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    Rig rig(WindowId::Parameters, fault, answerCheck);
    const sim::Memory before = rig.panel.memory();
    QLineEdit &speed = rig.control<QLineEdit>("VITESSE_VENT");
    QLineEdit &maximum = rig.control<QLineEdit>("VITESSE_VENT_MAX");
    rig.window.Command1_Click();
    QCOMPARE(speed.text(), QStringLiteral(" Vitesse instantanée : 56,7 Km/h."));
    QCOMPARE(maximum.text(), QStringLiteral(" Maximum enregistré: 123,4 Km/h."));
    rig.restart(speedFrames.size());
    rig.panel.setSpeeds(999, 888);
    rig.provoke(3);

    rig.window.Command1_Click();
    QCOMPARE(rig.bench.messages.shown, unreported(fault));
    QCOMPARE(speed.text(), QStringLiteral(" Vitesse instantanée : 56,7 Km/h."));
    QCOMPARE(maximum.text(), QStringLiteral(" Maximum enregistré: 123,4 Km/h."));
    const int sent = fault == sim::Fault::HangUp ? 3 : 4;
    QCOMPARE(rig.frames(sent), speedFrames.mid(0, sent));
    QCOMPARE(rig.panel.memory(), before);

    if (fault == sim::Fault::HangUp) {
        rig.restart(0);
        rig.window.Command1_Click();
        QCOMPARE(rig.bench.messages.shown, ShownList{noPort});
    }
}

QTEST_MAIN(RawAndSpeedFaultsTest)
#include "tst_faults_raw_and_speed.moc"
