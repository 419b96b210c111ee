#include "support/raw_line.h"
#include "support/test.h"
#include "support/wire.h"
#include "virtual_panel.h"

using namespace sim;

namespace {
// A started panel and the tool's end of its line.
struct Line
{
    explicit Line(const PanelState &state = PanelState::programmed())
        : panel(state)
    {
    }
    VirtualPanel panel;
    bool started = panel.start();
    RawLine line{QString::fromStdString(panel.devicePath())};
};
} // namespace

class TestVirtualPanel : public QObject
{
    Q_OBJECT

private slots:
    // SSS drops the open page, so the WWW after it has nothing to write; the
    // complete page that follows shows that writes do land.
    void interruptedPageWritesNothing()
    {
        Line l(PanelState::blank());
        QVERIFY(l.started && l.line.isValid());
        l.line.write(wire::bytes("_31 SSS; _31 ZA0; _31 Y50; _31 Y07; _31 Y08; _31 SSS; _31 WWW; "
                                 "_31 SSS; _31 ZA0; _31 Y60; _31 Y09; _31 WWW"));
        QCOMPARE(l.line.read(61, 300ms), wire::bytes("ack*12"));
        Memory expected = PanelState::blank().memory;
        expected[0x60] = 0x09;
        QCOMPARE(l.panel.memory(), expected);
    }

    // After PPP, 74-76 read the switch banks and variant (A5 3C 54) instead of
    // memory (81 F4 01), through the reads' own SSS, until RRR.
    void switchesShownUntilRRR()
    {
        Line l;
        QVERIFY(l.started && l.line.isValid());
        const QString read4A = "_31 SSS; _31 ZA0; _31 Y4A; _31 ZA1; {_31 X1X}*3; ";
        const QString read3C = "_31 SSS; _31 ZA0; _31 Y3C; _31 ZA1; {_31 X1X}*3; ";
        l.line.write(wire::bytes("_31 PPP; " + read4A + read3C + "_31 RRR; " + read4A));
        const QByteArray expected =
            wire::bytes("ack; ack*4; 01 A5; 01 3C; 01 54; ack*4; 01 21; 01 09; 01 04; ack; ack*4; 01 81; 01 F4; 01 01");
        QCOMPARE(l.line.read(expected.size() + 1, 500ms), expected);
    }

    // 20 frames of 7 characters in, 20 acknowledgements of 5 out: the last
    // character can leave no earlier than 145 character times after the write.
    // Bounds run from the write: a late read only adds to them.
    void lineRateTiming()
    {
        Line l;
        l.panel.setLineRate(true);
        QVERIFY(l.started && l.line.isValid());
        const auto sent = Clock::now();
        l.line.write(wire::bytes("31 RRR*20"));

        std::vector<RawLine::Clock::time_point> times;
        QCOMPARE(l.line.read(101, 1s, &times), wire::bytes("ack*20"));
        const auto T = VirtualPanel::CharacterTime;
        const auto slack = 500us;
        QVERIFY(times.front() - sent >= 8 * T - slack);
        QVERIFY(times[4] - sent >= 12 * T - slack);
        QVERIFY(times.back() - sent >= 145 * T - slack);
        QVERIFY(times.back() - sent <= 145 * T + 150ms);
    }
};

QTEST_GUILESS_MAIN(TestVirtualPanel)
#include "tst_virtual_panel.moc"
