#include "params/parameter_window.h"
#include "support/window_rig.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>

using namespace std::chrono;
using Icon = Messages::Icon;
using Shown = RecordingMessages::Shown;

namespace {

// A parameter block the editor could have written, built from the card's
// format field by field (every control at any value of its range), with any
// bytes of the card's own past it.
sim::Memory writableCard(QRandomGenerator &random)
{
    const auto pick = [&random](std::initializer_list<int> values) {
        return *(values.begin() + random.bounded(int(values.size())));
    };
    // The ends of a range one time in four: that is where values go astray.
    const auto between = [&random](int low, int high) {
        const int draw = int(random.bounded(8));
        return draw == 0 ? low : draw == 1 ? high : int(random.bounded(low, high + 1));
    };
    sim::Memory m{};
    const auto word = [&m](int address, int value) {
        m[address] = std::uint8_t(value >> 8);
        m[address + 1] = std::uint8_t(value);
    };
    for (int i = 0; i < 5; ++i) // four limits from 1, the programmed maximum from 0
        word(64 + 2 * i, pick({0, 0x4000, 0x8000}) | between(i < 4 ? 1 : 0, 9999));
    for (int relay : {74, 92}) {
        word(relay, pick({0, 0x4000, 0x8000, 0xC000}) | between(0, 9999));
        word(relay + 2, between(0, 9999));
    }
    m[78] = std::uint8_t(between(1, 10));
    m[79] = 0x4F;
    m[80] = 0x4D;
    m[81] = 0x52;
    m[82] = std::uint8_t(pick({0x03, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x00, 0x80})); // the last two: no choice
    m[85] = std::uint8_t(pick({0x01, 0x02, 0x04, 0x08, 0x10}));
    m[86] = std::uint8_t(between(1, 20));
    const quint32 coefficient = random.bounded(1u, 2147483647u) + (random.bounded(2) ? 0u : 1u);
    for (int k = 0; k < 4; ++k)
        m[87 + k] = std::uint8_t(coefficient >> (8 * k));
    m[91] = std::uint8_t(between(1, 8));
    m[96] = std::uint8_t(pick({0x80, 0x40, 0xC0, 0x00}) | pick({0x20, 0x10, 0x30, 0x00})
                         | pick({0x00, 0x08, 0x04, 0x0C}) | between(0, 3));
    m[97] = std::uint8_t(2 * between(1, 128) - 1);
    m[98] = std::uint8_t(between(0, 15));
    for (int k = 99; k < sim::MemorySize; ++k)
        m[k] = std::uint8_t(between(0, 255));
    return m;
}

QString twoDigits(int byte)
{
    return QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

} // namespace

class WriteBackTest : public QObject
{
    Q_OBJECT

private slots:
    // Read, then write with no edit: every byte of the block goes back as the
    // card held it, the coefficient included (recalculating it from the
    // distance shown would add 1 to about half of them).
    void readThenWriteChangesNoByte()
    {
        Workbench bench;
        dump_24c01 &w = bench.registry.window<dump_24c01>(WindowId::Parameters);
        QLineEdit *text4 = w.findChild<QLineEdit *>(QStringLiteral("Text4"));
        QRandomGenerator random(20261206);
        constexpr int Cases = 3000;
        QElapsedTimer clock;
        clock.start();
        for (int n = 0; n < Cases; ++n) {
            const sim::Memory card = writableCard(random);
            for (int k = 64; k < sim::MemorySize; ++k)
                w.image().set(k, twoDigits(card[k]), CellState::Green);
            w.showImage();
            QVERIFY(w.prepareCoefficient());
            const std::optional<quint32> coefficient = coefficientFromText(text4->text());
            QVERIFY(coefficient);
            w.encodeIntoImage(*coefficient);
            for (int k = 64; k < sim::MemorySize; ++k) {
                if (w.image().value(k) != card[k] || !holdsValidByte(w.image().text(k)))
                    QFAIL(qPrintable(QStringLiteral("case %1: byte %2 was %3, written %4")
                                         .arg(n)
                                         .arg(k)
                                         .arg(twoDigits(card[k]), w.image().text(k))));
            }
        }
        qInfo("%d cases in %lld ms", Cases, clock.elapsed());
        QVERIFY(bench.messages.shown.isEmpty());
    }

    void onTheLine_data()
    {
        QTest::addColumn<quint32>("coefficient");
        QTest::newRow("400000") << 400000u;
        QTest::newRow("1000000") << 1000000u;
    }
    // The same on a panel at 4800 baud, all 128 bytes compared; the live
    // speed read after the parameters counts from its first reading on (the
    // second is silenced here to tell).
    void onTheLine()
    {
        QFETCH(quint32, coefficient);
        WindowRig<dump_24c01> rig(WindowId::Parameters, QStringLiteral("OUI"));
        QRandomGenerator random(coefficient);
        sim::Memory card = writableCard(random);
        for (int k = 0; k < 64; ++k)
            card[k] = std::uint8_t(3 * k + 1);
        for (int k = 0; k < 4; ++k)
            card[87 + k] = std::uint8_t(coefficient >> (8 * k));
        rig.panel.setMemory(card);
        rig.panel.setLineRate(true);
        rig.panel.setSpeeds(1234, 567);
        constexpr int ReadFrames = 1 + 4 + 64 + 2;
        QTimer silencer;
        silencer.callOnTimeout([&] {
            if (rig.panel.frames().size() >= ReadFrames + 4) {
                rig.panel.setFault(sim::Fault::Silent);
                silencer.stop();
            }
        });
        silencer.start(1);

        rig.window.findChild<QPushButton *>(QStringLiteral("but_lit_para"))->click();
        QCOMPARE(rig.window.findChild<QLineEdit *>(QStringLiteral("VITESSE_VENT"))->text(),
                 QStringLiteral(" Vitesse instantanée : 56,7 Km/h."));
        QCOMPARE(rig.window.findChild<QLineEdit *>(QStringLiteral("Text4"))->text(), QString::number(coefficient));
        const QList<Shown> read{readDoneShown};
        QCOMPARE(rig.bench.messages.shown, read);
        rig.restart(ReadFrames + 8);
        rig.panel.setFault(sim::Fault::None);
        rig.window.findChild<QPushButton *>(QStringLiteral("but_ecrit_para"))->click();
        const QList<Shown> written{writtenShown};
        QCOMPARE(rig.bench.messages.shown, written);
        QCOMPARE(rig.frames(5 + 80 + 2).size(), 5 + 80 + 2);
        QVERIFY(rig.panel.memory() == card);
    }
};

QTEST_MAIN(WriteBackTest)
#include "tst_write_back.moc"
