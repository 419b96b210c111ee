#include "faults/fault_rig.h"
#include "params/parameter_window.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

using namespace faults;

namespace {
using Rig = FaultRig<dump_24c01>;

const QStringList readFrames = QStringList{"31 SSS", "31 SSS", "31 ZA0", "31 Y40", "31 ZA1"} + repeated("31 X1X", 64)
    + QStringList{"31 X6X", "31 RRR"};
constexpr int ReadHangUp = 5 + 32; // among the byte requests
constexpr int WriteFrames = 5 + 4 * 20;
constexpr int WriteHangUp = 5 + 2 * 20 + 8; // in the third page

// Every value the editor shows outside its grid, and the option buttons that
// a decoding would select (the relay contacts keep theirs across a read).
QStringList shownSettings(dump_24c01 &w)
{
    QStringList state;
    for (QAbstractSlider *s : w.findChildren<QAbstractSlider *>())
        state << s->objectName() + '=' + QString::number(s->value());
    for (QCheckBox *c : w.findChildren<QCheckBox *>())
        state << c->objectName() + '=' + QString::number(c->checkState());
    for (QLineEdit *e : w.findChildren<QLineEdit *>()) {
        if (!e->objectName().startsWith(QLatin1String("Text1_")))
            state << e->objectName() + '=' + e->text();
    }
    return state;
}

QStringList decodedOptions(dump_24c01 &w)
{
    QStringList checked;
    for (QRadioButton *b : w.findChildren<QRadioButton *>()) {
        if (b->isChecked() && !b->objectName().startsWith(QLatin1String("Option3_"))
            && !b->objectName().startsWith(QLatin1String("Option4_")))
            checked << b->objectName();
    }
    return checked;
}
} // namespace

class EditorFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void parameterRead_data() { addFaultRows(true); }
    void parameterRead();
    void parameterWrite_data() { addFaultRows(true); }
    void parameterWrite();
};

// Nothing of a failed read reaches the controls, the live speed does not
// follow, and the failure marks can never be sent.
void EditorFaultsTest::parameterRead()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    Rig rig(WindowId::Parameters, fault, answerCheck);
    const sim::Memory before = rig.panel.memory();
    const QStringList settings = shownSettings(rig.window);
    rig.provoke(ReadHangUp);

    rig.control<QPushButton>("but_lit_para").click();
    QCOMPARE(rig.bench.messages.shown, reported(fault));
    VERIFY_FAILURE_MARKS(rig.window.grid());
    QCOMPARE(shownSettings(rig.window), settings);
    QCOMPARE(decodedOptions(rig.window), QStringList());
    if (fault != sim::Fault::HangUp)
        QCOMPARE(rig.frames(readFrames.size()), readFrames);

    rig.restart(0);
    rig.control<QPushButton>("but_ecrit_para").click();
    QCOMPARE(rig.bench.messages.shown, nextWriteRefused(fault, "63h"));
    QVERIFY(rig.lineStaysQuiet());
    QCOMPARE(rig.panel.memory(), before);
}

// A write that fails is told as a failure, leaves failure marks that cannot
// be sent again, and the memory it was about to replace is in the backup.
void EditorFaultsTest::parameterWrite()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    Rig rig(WindowId::Parameters, fault, answerCheck);
    const sim::Memory before = rig.panel.memory();
    rig.window.grid().but_RD->click();
    rig.restart(readFrames.size());
    rig.provoke(WriteHangUp);

    rig.control<QPushButton>("but_ecrit_para").click();
    QCOMPARE(rig.bench.messages.shown, reported(fault));
    VERIFY_FAILURE_MARKS(rig.window.grid());
    const QStringList log = rig.frames(fault == sim::Fault::HangUp ? WriteHangUp : WriteFrames + 2);
    QCOMPARE(meaninglessFrames(log), QStringList());
    if (fault != sim::Fault::HangUp) {
        QCOMPARE(log.size(), WriteFrames + 2);
        QCOMPARE(log.mid(WriteFrames), (QStringList{"31 OOO", "31 RRR"}));
    }
    const sim::Memory after = rig.panel.memory();
    QVERIFY(std::equal(before.begin(), before.begin() + 64, after.begin()));

    const std::optional<MemoryBackup> backup = rig.onlyBackup();
    QVERIFY(backup);
    QCOMPARE(backup->window, QStringLiteral("dump_24c01"));
    QCOMPARE(backup->port, 3);
    QVERIFY(backup->bytes == knownFrom(before, 64));

    rig.restart(0);
    rig.control<QPushButton>("but_ecrit_para").click();
    QCOMPARE(rig.bench.messages.shown, nextWriteRefused(fault, "63h"));
    QVERIFY(rig.lineStaysQuiet());
    QCOMPARE(rig.panel.memory(), after);
}

QTEST_MAIN(EditorFaultsTest)
#include "tst_faults_editor.moc"
