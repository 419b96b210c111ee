#include "luminosity/luminosity_window.h"
#include "panel/backup.h"
#include "panel/exchange.h"
#include "panel/memory_grid.h"
#include "params/parameter_window.h"
#include "support/window_rig.h"

#include <QScreen>

namespace {

using namespace flows;
using Clock = std::chrono::steady_clock;

// What a flow does, in wire notation, as it reaches the port: each write (its
// frame, "*n" when one write repeats it), each discard and DTR change. The
// exchange tells where it pauses and what answer it waits for; a pause shows
// only once the port has stayed quiet that long. A pause after a request also
// notes what the requested cell shows then, where the editor marks it.
struct Script : PortObserver
{
    void written(const QByteArray &bytes) override
    {
        mark();
        const QByteArray frame = bytes.left(bytes.indexOf('\x03') + 1);
        const qsizetype repeat = bytes.size() / frame.size();
        lastCommand = QString::fromLatin1(frame.mid(frame.indexOf('\x02') + 1, 3));
        QString text = QString::fromLatin1(frame.left(frame.indexOf('\x02'))) + ' ' + lastCommand;
        if (repeat > 1)
            text += QStringLiteral("*%1").arg(repeat);
        if (lastCommand == QLatin1String("X1X"))
            ++requested;
        ops << text;
    }
    void discarded() override { mark(), ops << QStringLiteral("discard"); }
    void dtrSet(bool enable) override { mark(), ops << (enable ? QStringLiteral("DTR on") : QStringLiteral("DTR off")); }
    // The last pause, cut short if the port heard from the tool too soon.
    void mark()
    {
        if (pause > 0 && std::chrono::duration<double>(Clock::now() - pausedAt).count() < pause)
            ops.last() += QStringLiteral(" (cut short)");
        pause = 0;
    }

    // What the exchange says it does between the port's operations.
    struct Intent : ExchangeObserver
    {
        explicit Intent(Script &s) : s(s) {}
        void sent(const QByteArray &) override {}
        void discarded() override {}
        void paused(double seconds) override
        {
            s.mark();
            s.pause = seconds * s.timeScale;
            s.pausedAt = Clock::now();
            QString text = QStringLiteral("pause ") + QString::number(seconds);
            if (s.marked && s.lastCommand == QLatin1String("X1X"))
                text += QStringLiteral(" [") + s.marked->text(63 + s.requested) + ']';
            s.ops << text;
        }
        void waited(const AnswerCondition &c) override
        {
            s.mark();
            s.ops << QStringLiteral("wait %1 %2").arg(c.kind == AnswerCondition::AtLeast ? ">=" : "==").arg(c.count);
        }
        Script &s;
    } intent{*this};

    QStringList ops;
    const MemoryImage *marked = nullptr; // the editor's cells
    double timeScale = 1;
    double pause = 0;
    Clock::time_point pausedAt;
    QString lastCommand;
    int requested = 0;
};

struct FlowRow
{
    WindowId window;
    QStringList before; // buttons clicked first, not recorded
    QString button;
    QString script;
};

const QString liveSpeed = "31 AAA; 31 BBB; 31 CCC; 31 DDD; pause 0.5; ";

enum class Way { ExtensionAfterRead, ExtensionAfterFailedRead, Lin, Edit, Load, LuminosityRead };

const QColor Green(0, 255, 0);
const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);

int distance(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
}

// What the screen shows of a cell: the colour just inside its left edge, and
// whether anything is drawn in its middle (its text) in another colour.
std::pair<QColor, bool> seen(const QImage &shot, const QLineEdit *cell)
{
    const QRect r(cell->mapTo(cell->window(), QPoint(0, 0)), cell->size());
    const QColor background = shot.pixelColor(r.left() + 3, r.center().y());
    for (int y = r.top() + 4; y <= r.bottom() - 4; ++y) {
        for (int x = r.left() + 6; x <= r.right() - 6; ++x) {
            if (distance(shot.pixelColor(x, y), background) > 120)
                return {background, true};
        }
    }
    return {background, false};
}
} // namespace
Q_DECLARE_METATYPE(Way)

// What the flows send, and the grid as the user then sees it on the screen.
class FlowScriptsTest : public QObject
{
    Q_OBJECT

private slots:
    void flows_data()
    {
        QTest::addColumn<FlowRow>("row");
        const WindowId editor = WindowId::Parameters, lum = WindowId::Luminosity;
        const QString memoryReadThenRRR = QString(memoryRead).replace("wait", "_31 RRR; wait");
        QTest::newRow("parameter read") << FlowRow{editor, {}, "but_lit_para", editorRead + "; " + liveSpeed + liveSpeed};
        QTest::newRow("parameter write") << FlowRow{editor, {"but_lit_para"}, "but_ecrit_para", writeFrames(64, 4) + "31 OOO; pause 0.5; 31 RRR"};
        QTest::newRow("raw read") << FlowRow{editor, {}, "but_RD", editorRead};
        QTest::newRow("raw write") << FlowRow{editor, {"but_RD", "but_lin"}, "but_WR", writeFrames(64, 4)};
        QTest::newRow("live speed") << FlowRow{editor, {}, "Command1", liveSpeed};
        QTest::newRow("switch read") << FlowRow{WindowId::Switches, {}, "LIT_SW", opening + "; _31 PPP; pause 0.5; " + memoryReadThenRRR + "; " + closing};
        QTest::newRow("luminosity read") << FlowRow{lum, {}, "but_LIT_LUM", opening + "; _31 PPP; pause 0.5; " + memoryRead + "; " + closing};
        QTest::newRow("luminosity write") << FlowRow{lum, {}, "but_ECRIT_LUM", opening + "; pause 0.5; " + memoryRead + "; pause 0.5; "
                + writeFrames(0, 8) + "_31 OOO; pause 0.5; _31 LLL; " + closing};
        QTest::newRow("luminosity raw write") << FlowRow{lum, {"but_RD", "but_lin"}, "but_WR", writeFrames(0, 8)};
    }
    // Every frame, pause (length and place), discard, DTR drop and answer wait
    // of every flow, as the panel's protocol orders them.
    void flows()
    {
        QFETCH(FlowRow, row);
        const auto &[window, before, button, script] = row;
        WindowRig<QWidget> rig(window, QStringLiteral("OUI"), FastClock);
        for (const QString &name : before)
            rig.click(name);
        auto *editor = qobject_cast<dump_24c01 *>(&rig.window);
        Script recorded;
        recorded.marked = editor ? &editor->image() : nullptr;
        recorded.timeScale = FastClock;
        rig.exchange().setObserver(&recorded.intent);
        rig.exchange().port().setObserver(&recorded);
        rig.click(button);
        rig.exchange().port().setObserver(nullptr);
        rig.exchange().setObserver(nullptr);
        recorded.mark();
        const QStringList expected = wire::parse(script);
        QCOMPARE(wire::masked(recorded.ops, expected), expected);
    }

    // The address pattern: upper-case hexadecimal without leading zeros.
    void addressPattern()
    {
        WindowRig<dump_24c01> rig(WindowId::Parameters, QStringLiteral("OUI"));
        rig.click("but_lin");
        for (const auto &[address, text] : {std::pair{0, "0"}, {10, "A"}, {16, "10"}, {127, "7F"}})
            QCOMPARE(rig.window.image().text(address), QString::fromLatin1(text));
    }

    void cellsArePainted_data()
    {
        QTest::addColumn<Way>("way");
        // Cells from `first` on show a text on `colour`; those before it are
        // blank on white (the editor's read clears the half it does not read).
        QTest::addColumn<int>("first");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("extension opened after a read") << Way::ExtensionAfterRead << 64 << Green;
        QTest::newRow("extension opened after a failed read") << Way::ExtensionAfterFailedRead << 0 << Red;
        QTest::newRow("Lin") << Way::Lin << 0 << White;
        QTest::newRow("EDIT") << Way::Edit << 0 << White;
        QTest::newRow("Charger…") << Way::Load << 0 << White;
        QTest::newRow("luminosity read") << Way::LuminosityRead << 0 << Green;
    }
    // The grid as the user sees it: the main window's own pixels, as painted
    // on the screen (a fresh rendering would hide a missed repaint).
    void cellsArePainted()
    {
        QFETCH(Way, way);
        QFETCH(int, first);
        QFETCH(QColor, colour);
        const bool lum = way == Way::LuminosityRead;
        WindowRig<QWidget> rig(lum ? WindowId::Luminosity : WindowId::Parameters, QStringLiteral("NON"), FastClock);
        QWidget &principal = rig.principal;
        principal.resize(1100, 700);
        principal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principal));
        rig.registry.show(lum ? WindowId::Luminosity : WindowId::Parameters);
        QTest::qWait(50);

        if (way == Way::ExtensionAfterFailedRead)
            rig.panel.setFault(sim::Fault::Silent);
        if (way == Way::ExtensionAfterRead || way == Way::ExtensionAfterFailedRead) {
            rig.click("but_lit_para");
            QTest::qWait(50);
        }
        if (!lum)
            rig.click("Command2");
        if (way == Way::Lin) {
            rig.click("but_lin");
        } else if (way == Way::Edit) {
            rig.find<QLineEdit>("Text1_128").setText("55");
            rig.click("but_edit");
        } else if (way == Way::Load) {
            MemoryBytes bytes;
            for (int k = 0; k < MemoryImage::Size; ++k)
                bytes[k] = quint8(k);
            rig.writeBackup("dump_24c01", bytes);
            rig.click("but_load");
        } else if (lum) {
            rig.click("but_LIT_LUM");
        }

        QString wrong;
        int inView = 0;
        auto check = [&] {
            const QImage shot = principal.screen()->grabWindow(principal.winId()).toImage();
            wrong.clear();
            inView = 0;
            for (int k = 0; k < MemoryImage::Size; ++k) {
                const QLineEdit *cell = &rig.find<QLineEdit>(memberName("Text1", k));
                if (!rig.window.rect().contains(cell->geometry()))
                    continue;
                ++inView;
                const auto [background, text] = seen(shot, cell);
                const bool holds = k >= first;
                if (distance(background, holds ? colour : White) >= 30 || text != holds)
                    wrong += QStringLiteral(" %1:%2%3").arg(k).arg(background.name(), text ? "+text" : "");
            }
            return wrong.isEmpty();
        };
        QTRY_VERIFY2_WITH_TIMEOUT(check(), qPrintable(wrong), 1000);
        // Columns E and F of the luminosity grid lie beyond its window.
        QCOMPARE(inView, lum ? 13 * 8 : 128);
    }
};

QTEST_MAIN(FlowScriptsTest)
#include "tst_flow_scripts.moc"
