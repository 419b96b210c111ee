#include "luminosity/luminosity_codec.h"
#include "luminosity/luminosity_window.h"
#include "panel/backup.h"
#include "panel/memory_grid.h"
#include "panel/memory_image.h"
#include "support/window_rig.h"

#include <QSlider>

namespace {
using namespace flows;
using Rig = WindowRig<LUM>;

// The frames of a memory write; tested frame by frame with the transfers.
constexpr int MemoryWriteFrames = 5 + 8 * 20;

// Mode (-1: none), period, threshold.
QList<int> settings(const LUM &lum)
{
    return {lum.selectedMode().value_or(-1), lum.DURE_LDR->value(), lum.COMP_LDR->value()};
}

void choose(LUM &lum, const QList<int> &chosen)
{
    lum.selectMode(chosen[0] >= 0 ? std::optional<int>(chosen[0]) : std::nullopt);
    lum.DURE_LDR->setValue(chosen[1]);
    lum.COMP_LDR->setValue(chosen[2]);
}
struct ReadRow
{
    QString answerCheck;
    QList<int> bytes; // 60, 61, 62
    QList<int> shown;
    ShownList messages;
};
struct WriteRow
{
    QList<int> chosen; // mode (-1: none), period, threshold
    QString answerCheck;
    sim::Fault fault;
    int byte60; // -1: left as the panel had it
};
} // namespace

// DECODE_LUM and ENCODE_LUM, and the LUM window on a panel.
class LuminosityWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QList<quint32>>("bytes"); // 60, 61, 62
        QTest::addColumn<QList<int>>("settings"); // mode (-1: none), period, threshold
        QTest::newRow("100%, longest period") << QList<quint32>{0x02, 0xFF, 0} << QList{1, 128, 0};
        QTest::newRow("period byte 0, 20%") << QList<quint32>{0x40, 0, 15} << QList{6, 1, 15};
        QTest::newRow("even period byte") << QList<quint32>{0x08, 10, 1} << QList{3, 6, 1};
        QTest::newRow("bit 2 after bit 1") << QList<quint32>{0x06, 1, 1} << QList{2, 1, 1};
        QTest::newRow("bit 0 tested last") << QList<quint32>{0x7F, 1, 1} << QList{0, 1, 1};
        QTest::newRow("bit 7 ignored") << QList<quint32>{0x80, 1, 1} << QList{-1, 1, 1};
        QTest::newRow("threshold as it stands") << QList<quint32>{0x10, 1, 0x3F} << QList{4, 1, 63};
    }
    void decode()
    {
        QFETCH(QList<quint32>, bytes);
        const LuminositySettings decoded = DECODE_LUM(bytes[0], bytes[1], bytes[2]);
        QTEST((QList{decoded.mode.value_or(-1), int(decoded.period), int(decoded.threshold)}), "settings");
    }

    // Every setting reads back as written; what lies beyond a range is held to it.
    void roundTrip()
    {
        const LuminosityCells held = ENCODE_LUM(7, 0, 16); // no mode 7
        QCOMPARE((QStringList{held.cell60.value_or("unchanged"), held.cell61, held.cell62}),
                 (QStringList{"unchanged", "1", "F"}));
        for (int mode = -1; mode <= 6; ++mode) {
            for (int period = 1; period <= 128; ++period) {
                for (int threshold = 0; threshold <= 15; ++threshold) {
                    const std::optional<int> chosen = mode < 0 ? std::nullopt : std::optional(mode);
                    const LuminosityCells cells = ENCODE_LUM(chosen, period, threshold);
                    const LuminositySettings back =
                        DECODE_LUM(hexPrefixValue(cells.cell60.value_or(QString())), hexPrefixValue(cells.cell61),
                                   hexPrefixValue(cells.cell62));
                    if (!(back == LuminositySettings{chosen, quint32(period), quint32(threshold)}))
                        QFAIL(qPrintable(QStringLiteral("mode %1 period %2 threshold %3").arg(mode).arg(period).arg(threshold)));
                }
            }
        }
    }

    void reads_data()
    {
        QTest::addColumn<ReadRow>("row");
        const Shown done = readDoneShown;
        const Shown cut{Icon::Exclamation,
                        QStringLiteral("Valeurs hors limites ramenées dans la plage : Commutation JOUR/NUIT : 32 → 15.")};
        QTest::newRow("sensor") << ReadRow{"OUI", {0x21, 0x09, 0x04}, {0, 5, 4}, {done}};
        QTest::newRow("threshold 32") << ReadRow{"OUI", {0x02, 0xFF, 0x20}, {1, 128, 15}, {done, cut}};
        QTest::newRow("no mode, NON") << ReadRow{"NON", {0x80, 0x00, 0x3F}, {-1, 1, 15}, {}};
    }
    void reads()
    {
        QFETCH(ReadRow, row);
        const auto &[answerCheck, bytes, shown, messages] = row;
        Rig rig(WindowId::Luminosity, answerCheck, FastClock);
        sim::Memory memory = rig.panel.memory();
        for (int i = 0; i < bytes.size(); ++i)
            memory[60 + i] = std::uint8_t(bytes[i]);
        rig.panel.setMemory(memory);
        rig.window.but_LIT_LUM->click();
        QCOMPARE(settings(rig.window), shown);
        const QStringList frames = wire::frames(opening + "; _31 PPP; " + memoryRead + "; " + closing);
        QCOMPARE(rig.frames(frames.size()), frames);
        QCOMPARE(rig.messages.shown, messages);
        QCOMPARE(rig.panel.memory(), memory);
    }

    void writes_data()
    {
        QTest::addColumn<WriteRow>("row");
        const auto ok = sim::Fault::None;
        QTest::newRow("100%") << WriteRow{{1, 1, 0}, "OUI", ok, 0x02};
        QTest::newRow("80%") << WriteRow{{2, 128, 15}, "OUI", ok, 0x04};
        QTest::newRow("60%") << WriteRow{{3, 5, 0}, "OUI", ok, 0x08};
        QTest::newRow("50%") << WriteRow{{4, 1, 15}, "OUI", ok, 0x10};
        QTest::newRow("40%") << WriteRow{{5, 128, 0}, "NON", ok, 0x20};
        QTest::newRow("20%") << WriteRow{{6, 5, 15}, "OUI", ok, 0x40};
        QTest::newRow("sensor") << WriteRow{{0, 128, 15}, "OUI", ok, 0x21};
        QTest::newRow("no mode: cell 60 as it was") << WriteRow{{-1, 1, 0}, "OUI", ok, -1};
        // Without the panel's own image nothing is written back.
        QTest::newRow("garbled during its read, NON") << WriteRow{{6, 5, 4}, "NON", sim::Fault::Garbled, -1};
    }
    // Only bytes 60 to 62 change on the panel; the closing frames follow the
    // write, and the panel is let out of its request even when nothing is written.
    void writes()
    {
        QFETCH(WriteRow, row);
        const auto &[chosen, answerCheck, fault, byte60] = row;
        Rig rig(WindowId::Luminosity, answerCheck, FastClock);
        sim::Memory expected = rig.panel.memory();
        rig.panel.setFault(fault);
        choose(rig.window, chosen);
        rig.window.but_ECRIT_LUM->click();

        const bool ok = fault == sim::Fault::None;
        if (ok) {
            if (byte60 >= 0)
                expected[60] = std::uint8_t(byte60);
            expected[61] = std::uint8_t(2 * chosen[1] - 1);
            expected[62] = std::uint8_t(chosen[2]);
        }
        const QStringList start = wire::frames(opening + "; " + memoryRead);
        const QStringList ending = wire::frames(ok ? "_31 OOO; _31 LLL; " + closing : closing);
        const int all = int(start.size() + ending.size()) + (ok ? MemoryWriteFrames : 0);
        const QStringList frames = rig.frames(all);
        QCOMPARE(frames.size(), all);
        QCOMPARE(frames.first(start.size()), start);
        QCOMPARE(frames.last(ending.size()), ending);
        QCOMPARE(rig.panel.memory(), expected);
        QCOMPARE(rig.messages.shown, answerCheck == "NON" ? ShownList{} : ShownList{writtenShown});
        QCOMPARE(settings(rig.window), chosen);
    }

    // The raw read shows the panel's bytes; a backup goes back to the panel
    // with buttons the user can see.
    void rawReadAndRestore()
    {
        Rig rig(WindowId::Luminosity, QStringLiteral("OUI"), FastClock);
        MemoryGrid &grid = rig.window.grid();
        for (QPushButton *b : {grid.but_load, grid.but_send})
            QVERIFY2(rig.window.rect().contains(b->geometry()), qPrintable(b->objectName()));
        grid.but_RD->click();
        QCOMPARE(rig.frames(count(memoryRead)), wire::frames(memoryRead));
        QCOMPARE(rig.window.image().text(61), QString::asprintf("%02X", rig.panel.memory()[61]));
        rig.restart(count(memoryRead));
        MemoryBytes bytes;
        sim::Memory saved{};
        for (int a = 0; a < 128; ++a)
            bytes[a] = saved[a] = std::uint8_t(255 - a);
        rig.writeBackup("LUM", bytes);
        grid.but_load->click();
        grid.but_send->click();
        QCOMPARE(rig.frames(MemoryWriteFrames).size(), MemoryWriteFrames);
        QCOMPARE(rig.panel.memory(), saved);
        QVERIFY(rig.messages.shown.isEmpty());
    }

    // The guard stops every flow before anything changes; the raw buttons give
    // its message instead of failure marks.
    void windowWithoutPort()
    {
        Workbench bench;
        LUM &lum = bench.registry.window<LUM>(WindowId::Luminosity);
        for (QPushButton *b : {lum.but_LIT_LUM, lum.but_ECRIT_LUM, lum.grid().but_RD, lum.grid().but_WR})
            b->click();
        QCOMPARE(bench.messages.shown, ShownList(4, noPortShown));
        QCOMPARE(settings(lum), (QList<int>{1, 5, 4}));
        QCOMPARE(lum.image().state(60), CellState::Window);
    }
};

QTEST_MAIN(LuminosityWindowTest)
#include "tst_luminosity_window.moc"
