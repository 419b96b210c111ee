#include "panel/memory_grid.h"
#include "support/window_rig.h"
#include "switches/switch_codec.h"
#include "switches/switch_window.h"

Q_DECLARE_METATYPE(SwitchReading)

namespace {
// "10000001": DIP1 and DIP8 ON.
SwitchBank bank(const char *dips)
{
    SwitchBank b{};
    for (int i = 0; i < 8; ++i)
        b[i] = dips[i] == '1';
    return b;
}

using namespace flows;
const QColor green(0, 255, 0);
const QColor white(255, 255, 255);

using Rig = WindowRig<SW>;

// The memory read, as the grid's raw read sends it alone.
const QStringList rawRead = wire::frames(memoryRead + "; _31 RRR");
// The switch read: the request, the memory read, the five "RRR" that close it.
const QStringList switchesRead = wire::frames(opening + "; _31 PPP; " + memoryRead + "; _31 RRR; " + closing);

struct ReadRow
{
    QList<int> bytes; // 74, 75, 76; none: the panel is silent
    QString answerCheck, label;
    ShownList messages;
};

// Levers and captions follow the bits: ON is lever 0 on green.
void checkBanks(SW &sw, int sw3, int sw2)
{
    for (int i = 0; i < SW::Switches; ++i) {
        QCOMPARE(sw.SW1(i)->value(), sw3 & (1 << i) ? 0 : 1);
        QCOMPARE(sw.Text3(i)->palette().color(QPalette::Base), sw3 & (1 << i) ? green : white);
        QCOMPARE(sw.SW2(i)->value(), sw2 & (1 << i) ? 0 : 1);
        QCOMPARE(sw.Text2(i)->palette().color(QPalette::Base), sw2 & (1 << i) ? green : white);
    }
}
} // namespace

// DECODE_SW, and the SW window on a panel.
class SwitchWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QList<quint32>>("bytes"); // 74, 75, 76
        QTest::addColumn<SwitchReading>("reading");
        QTest::newRow("all off") << QList<quint32>{0, 0, 0}
                                 << SwitchReading{bank("00000000"), bank("00000000"), CardVariant::None};
        QTest::newRow("DIP1 is bit 0") << QList<quint32>{0x01, 0x80, 84}
                                       << SwitchReading{bank("10000000"), bank("00000001"), CardVariant::ThreeColour};
        QTest::newRow("banks not swapped") << QList<quint32>{0x0F, 0xF0, 77}
                                           << SwitchReading{bank("11110000"), bank("00001111"), CardVariant::OneColour};
        QTest::newRow("beyond a byte") << QList<quint32>{0x102, 0x1FF, 84 + 256}
                                       << SwitchReading{bank("01000000"), bank("11111111"), CardVariant::None};
    }
    void decode()
    {
        QFETCH(QList<quint32>, bytes);
        QTEST(DECODE_SW(bytes[0], bytes[1], bytes[2]), "reading");
    }

    void reads_data()
    {
        QTest::addColumn<ReadRow>("row");
        const Shown done = readDoneShown;
        QTest::newRow("SW3 DIP1 and DIP8") << ReadRow{{0x81, 0x00, 84}, "OUI", "KVL trois couleurs.", {done}};
        QTest::newRow("SW2 all on") << ReadRow{{0x00, 0xFF, 77}, "NON", "KVL une couleur.   ", {}};
        QTest::newRow("lower-case t") << ReadRow{{0x5A, 0x0F, 116}, "OUI", "   --   ", {done}};
        // Unchecked, a failure goes unseen: the request is closed as usual.
        QTest::newRow("silent, NON: no message") << ReadRow{{}, "NON", "   --   ", {}};
    }
    // Every row reads twice: first every switch ON on a three-colour card,
    // then the row's banks, which must show nothing of the first read.
    void reads()
    {
        QFETCH(ReadRow, row);
        auto [bytes, answerCheck, label, messages] = row;
        Rig rig(WindowId::Switches, answerCheck, FastClock);
        rig.panel.setSwitches(0xFF, 0xFF, 'T');
        rig.window.LIT_SW->click();
        checkBanks(rig.window, 0xFF, 0xFF);
        const bool silent = bytes.isEmpty();
        if (silent)
            bytes = {0, 0, 0};
        rig.panel.setSwitches(std::uint8_t(bytes[0]), std::uint8_t(bytes[1]), std::uint8_t(bytes[2]));
        rig.panel.setFault(silent ? sim::Fault::Silent : sim::Fault::None);
        rig.restart(switchesRead.size());

        rig.window.LIT_SW->click();
        checkBanks(rig.window, bytes[0], bytes[1]);
        QCOMPARE(rig.window.Label30->text(), label);
        QCOMPARE(rig.frames(switchesRead.size()), switchesRead);
        QCOMPARE(rig.messages.shown, messages);
    }

    // Levers, captions and the grid's other buttons change the screen only;
    // the raw read sends its memory read and nothing else.
    void displayOnlyControls()
    {
        Rig rig(WindowId::Switches, QStringLiteral("OUI"), FastClock);
        SW &sw = rig.window;
        rig.registry.show(WindowId::Switches);
        QTest::mouseClick(sw.Text3(2), Qt::LeftButton);
        QTest::mouseClick(sw.Text2(5), Qt::LeftButton);
        sw.SW1(6)->setValue(0);
        checkBanks(sw, 0x44, 0x20);
        QTest::mouseClick(sw.Text3(2), Qt::LeftButton);
        sw.SW1(6)->setValue(1);
        checkBanks(sw, 0x00, 0x20);
        for (QPushButton *b : {sw.grid().but_lin, sw.grid().but_edit, sw.grid().but_WR, sw.ENVOI_SW})
            b->click();
        QVERIFY(sw.image().text(10).isEmpty());
        QVERIFY(!rig.panel.waitForFrames(1, std::chrono::milliseconds(300)));

        sw.grid().but_RD->click();
        QCOMPARE(rig.frames(rawRead.size()), rawRead);
        QCOMPARE(sw.image().text(10), QStringLiteral("0A"));
        QVERIFY(rig.messages.shown.isEmpty());
    }
};

QTEST_MAIN(SwitchWindowTest)
#include "tst_switch_window.moc"
