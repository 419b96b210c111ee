#include "link/configuration_window.h"
#include "luminosity/luminosity_window.h"
#include "panel/exchange.h"
#include "params/parameter_window.h"
#include "support/window_rig.h"
#include "switches/switch_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// What a flow does on the line, in order: each write (its frames, "×n" when
// one write repeats a frame), each pause with its length, each discard, DTR
// dropped, each answer wait with its condition. A pause after a request also
// notes what the requested cell shows then, where the editor marks it.
struct Script : ExchangeObserver
{
    void sent(const QByteArray &bytes) override
    {
        const QByteArray frame = bytes.left(bytes.indexOf('\x03') + 1);
        const qsizetype repeat = bytes.size() / frame.size();
        lastCommand = QString::fromLatin1(frame.mid(frame.indexOf('\x02') + 1, 3));
        QString text = QString::fromLatin1(frame.left(frame.indexOf('\x02'))) + ' ' + lastCommand;
        if (repeat > 1)
            text += QStringLiteral("×%1").arg(repeat);
        if (lastCommand == QLatin1String("X1X"))
            ++requested;
        ops << text;
    }
    void paused(double seconds) override
    {
        QString text = QStringLiteral("pause ") + QString::number(seconds);
        if (marked && lastCommand == QLatin1String("X1X"))
            text += QStringLiteral(" [") + marked->text(63 + requested) + ']';
        ops << text;
    }
    void discarded() override { ops << QStringLiteral("discard"); }
    void waited(const AnswerCondition &c) override
    {
        ops << QStringLiteral("wait %1 %2").arg(c.kind == AnswerCondition::AtLeast ? ">=" : "==").arg(c.count);
    }
    void dtrDropped() override { ops << QStringLiteral("DTR off"); }

    QStringList ops;
    const MemoryImage *marked = nullptr; // the editor's cells
    QString lastCommand;
    int requested = 0;
};

// The transfers as the card's memory chip is read and written, step by step.
QStringList opening(const QString &prefix, int frames)
{
    return {prefix + (frames > 1 ? QStringLiteral(" SSS×%1").arg(frames) : QStringLiteral(" SSS")),
            "pause 0.5", "discard", "DTR off"};
}
QStringList editorRead()
{
    QStringList ops = opening("31", 1) + QStringList{"31 SSS", "31 ZA0", "31 Y40", "31 ZA1"};
    for (int a = 64; a < 128; ++a)
        ops << "31 X1X" << "pause 0.02 [?]";
    return ops << "31 X6X" << "31 RRR" << "wait >= 404";
}
QStringList memoryRead(bool rrr)
{
    QStringList ops = opening("_31", 5) + QStringList{"_31 SSS", "_31 ZA0", "_31 Y00", "_31 ZA1"};
    ops += repeated("_31 X1X", 128) << "_31 X6X";
    if (rrr)
        ops << "_31 RRR";
    return ops << "wait >= 788";
}
// Data bytes as "_31 Y??": their values are the encoders' business.
QStringList memoryWrite(int first, int pages, bool pauseAfterBytes)
{
    QStringList ops = opening("_31", 5);
    for (int page = first; page < first + 16 * pages; page += 16) {
        ops << "_31 SSS" << "_31 ZA0" << QStringLiteral("_31 Y%1").arg(page, 2, 16, QLatin1Char('0')).toUpper();
        for (int j = 0; j < 16; ++j) {
            ops << "_31 Y??";
            if (pauseAfterBytes)
                ops << "pause 2e-06";
        }
        ops << "_31 WWW";
    }
    return ops << QStringLiteral("wait == %1").arg(100 * pages);
}
const QStringList liveSpeed{"31 AAA", "31 BBB", "31 CCC", "31 DDD", "pause 0.5"};
const QStringList request{"_31 SSS×11"};
const QStringList closing{"_31 RRR×5"};

// A "Y" frame that does not follow "ZA0" carries a data byte.
QStringList maskedBytes(QStringList ops)
{
    static const QRegularExpression data(QStringLiteral("^_31 Y[0-9A-F]{2}$"));
    for (qsizetype i = 1; i < ops.size(); ++i) {
        if (data.match(ops[i]).hasMatch() && ops[i - 1] != QLatin1String("_31 ZA0"))
            ops[i] = QStringLiteral("_31 Y??");
    }
    return ops;
}

} // namespace

class FlowScriptsTest : public QObject
{
    Q_OBJECT

private slots:
    void flows_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QStringList>("before"); // buttons clicked first, not recorded
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("script");
        const int editor = int(WindowId::Parameters), sw = int(WindowId::Switches), lum = int(WindowId::Luminosity);
        QTest::newRow("parameter read") << editor << QStringList() << "but_lit_para"
                                        << editorRead() + liveSpeed + liveSpeed;
        QTest::newRow("parameter write") << editor << QStringList{"but_lit_para"} << "but_ecrit_para"
                                         << memoryWrite(64, 4, true) + QStringList{"31 OOO", "pause 0.5", "31 RRR"};
        QTest::newRow("raw read") << editor << QStringList() << "but_RD" << editorRead();
        QTest::newRow("raw write") << editor << QStringList{"but_RD", "but_lin"} << "but_WR"
                                   << memoryWrite(64, 4, true);
        QTest::newRow("live speed") << editor << QStringList() << "Command1" << liveSpeed;
        QTest::newRow("switch read") << sw << QStringList() << "LIT_SW"
                                     << request + QStringList{"_31 PPP", "pause 0.5"} + memoryRead(true) + closing;
        QTest::newRow("luminosity read") << lum << QStringList() << "but_LIT_LUM"
                                         << request + QStringList{"_31 PPP", "pause 0.5"} + memoryRead(false)
                + closing;
        QTest::newRow("luminosity write")
            << lum << QStringList() << "but_ECRIT_LUM"
            << request + QStringList{"pause 0.5"} + memoryRead(false) + QStringList{"pause 0.5"}
                + memoryWrite(0, 8, false) + QStringList{"_31 OOO", "pause 0.5", "_31 LLL"} + closing;
        QTest::newRow("luminosity raw write") << lum << QStringList{"but_RD", "but_lin"} << "but_WR"
                                              << memoryWrite(0, 8, false);
    }
    // Every frame, pause (length and place), discard, DTR drop and answer wait
    // of every flow, as the panel's protocol orders them.
    void flows()
    {
        QFETCH(int, window);
        QFETCH(QStringList, before);
        QFETCH(QString, button);
        QFETCH(QStringList, script);
        WindowRig<QWidget> rig(WindowId(window), QStringLiteral("OUI"), FastClock);
        const auto click = [&rig](const QString &name) { rig.window.findChild<QPushButton *>(name)->click(); };
        for (const QString &name : before)
            click(name);
        auto *editor = qobject_cast<dump_24c01 *>(&rig.window);
        Script recorded;
        recorded.marked = editor ? &editor->image() : nullptr;
        Exchange &exchange = rig.bench.registry.configuration().exchange();
        exchange.setObserver(&recorded);
        click(button);
        exchange.setObserver(nullptr);
        QCOMPARE(maskedBytes(recorded.ops), script);
    }

    // The address pattern: upper-case hexadecimal without leading zeros.
    void addressPattern()
    {
        WindowRig<dump_24c01> rig(WindowId::Parameters, QStringLiteral("OUI"));
        rig.window.findChild<QPushButton *>(QStringLiteral("but_lin"))->click();
        for (const auto &[address, text] : {std::pair{0, "0"}, {10, "A"}, {16, "10"}, {127, "7F"}})
            QCOMPARE(rig.window.image().text(address), QString::fromLatin1(text));
    }
};

QTEST_MAIN(FlowScriptsTest)
#include "tst_flow_scripts.moc"
