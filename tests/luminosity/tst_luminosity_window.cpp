#include "luminosity/luminosity_window.h"
#include "panel/memory_grid.h"
#include "support/window_rig.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

using Icon = Messages::Icon;
using Shown = RecordingMessages::Shown;
using ShownList = QList<Shown>;
Q_DECLARE_METATYPE(sim::Fault)

namespace {
const Shown readDone{Icon::Information, QStringLiteral("Lecture effectuée avec succés.")};
const Shown written{Icon::Information, QStringLiteral("Programmation effectuée avec succés.")};
const Shown failure{Icon::Exclamation,
                    QStringLiteral("Une erreur est survenue. Veuillez recommencer ou  vérifier directement sur l'afficheur.")};
const Shown noPort{Icon::Exclamation,
                   QStringLiteral("Pas de port COM ouvert. Veuillez valider la Configuration dans le menu Configuration.")};
const Shown noByte{Icon::Exclamation, QStringLiteral("Envoi annulé : la case 00h ne contient pas d'octet valide. "
                                                     "Lisez d'abord la mémoire du panneau.")};

using Rig = WindowRig<LUM>;

QStringList memoryRead()
{
    QStringList f = repeated("_31 SSS", 5) + QStringList{"_31 SSS", "_31 ZA0", "_31 Y00", "_31 ZA1"};
    return f + repeated("_31 X1X", 128) + QStringList{"_31 X6X"};
}

QStringList memoryWrite(const sim::Memory &memory)
{
    QStringList f = repeated("_31 SSS", 5);
    for (int a = 0; a < 128; ++a) {
        if (a % 16 == 0)
            f << "_31 SSS" << "_31 ZA0" << QStringLiteral("_31 Y%1").arg(a, 2, 16, QLatin1Char('0')).toUpper();
        f << QStringLiteral("_31 Y%1").arg(memory[a], 2, 16, QLatin1Char('0')).toUpper();
        if (a % 16 == 15)
            f << "_31 WWW";
    }
    return f;
}

const QStringList opening = repeated("_31 SSS", 11);
const QStringList closing = repeated("_31 RRR", 5);

void checkSettings(LUM &lum, int mode, int period, int threshold)
{
    QCOMPARE(lum.selectedMode().value_or(-1), mode);
    QCOMPARE(lum.DURE_LDR->value(), period);
    QCOMPARE(lum.COMP_LDR->value(), threshold);
}
} // namespace

class LuminosityWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void writesAndReadsBack_data();
    void writesAndReadsBack();
    void failedReadClosesThePanelsTransaction();
    void writeStops_data();
    void writeStops();
    void rawButtons();
    void windowWithoutPort();
};

void LuminosityWindowTest::reads_data()
{
    QTest::addColumn<QString>("answerCheck");
    QTest::addColumn<QList<int>>("bytes"); // 60, 61, 62
    QTest::addColumn<QList<int>>("settings"); // mode (-1: none), period, threshold
    QTest::addColumn<ShownList>("messages");
    const Shown cut{Icon::Exclamation,
                    QStringLiteral("Valeurs hors limites ramenées dans la plage : Commutation JOUR/NUIT : 32 → 15.")};
    QTest::newRow("sensor") << "OUI" << QList{0x21, 0x09, 0x04} << QList{0, 5, 4} << ShownList{readDone};
    QTest::newRow("threshold 32") << "OUI" << QList{0x02, 0xFF, 0x20} << QList{1, 128, 15} << ShownList{readDone, cut};
    QTest::newRow("no mode, NON") << "NON" << QList{0x80, 0x00, 0x3F} << QList{-1, 1, 15} << ShownList{};
}

void LuminosityWindowTest::reads()
{
    QFETCH(QString, answerCheck);
    QFETCH(QList<int>, bytes);
    QFETCH(QList<int>, settings);
    QFETCH(ShownList, messages);
    Rig rig(WindowId::Luminosity, answerCheck);
    sim::Memory memory = rig.panel.memory();
    for (int i = 0; i < 3; ++i)
        memory[60 + i] = std::uint8_t(bytes[i]);
    rig.panel.setMemory(memory);
    rig.window.but_LIT_LUM->click();
    checkSettings(rig.window, settings[0], settings[1], settings[2]);
    const QStringList frames = opening + QStringList{"_31 PPP"} + memoryRead() + closing;
    QCOMPARE(rig.frames(frames.size()), frames);
    QCOMPARE(rig.bench.messages.shown, messages);
    QCOMPARE(rig.panel.memory(), memory);
}

void LuminosityWindowTest::writesAndReadsBack_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<QString>("answerCheck");
    QTest::addColumn<int>("byte60"); // -1: left as the panel had it
    QTest::newRow("100%") << 1 << 1 << 0 << "OUI" << 0x02;
    QTest::newRow("80%") << 2 << 128 << 15 << "OUI" << 0x04;
    QTest::newRow("60%") << 3 << 5 << 0 << "OUI" << 0x08;
    QTest::newRow("50%") << 4 << 1 << 15 << "OUI" << 0x10;
    QTest::newRow("40%") << 5 << 128 << 0 << "NON" << 0x20;
    QTest::newRow("20%") << 6 << 5 << 15 << "OUI" << 0x40;
    QTest::newRow("sensor") << 0 << 128 << 15 << "OUI" << 0x21;
    QTest::newRow("no mode: cell 60 as it was") << -1 << 1 << 0 << "OUI" << -1;
}

// Only bytes 60 to 62 change on the panel; the closing frames follow the write.
void LuminosityWindowTest::writesAndReadsBack()
{
    QFETCH(int, mode);
    QFETCH(int, period);
    QFETCH(int, threshold);
    QFETCH(QString, answerCheck);
    QFETCH(int, byte60);
    Rig rig(WindowId::Luminosity, answerCheck);
    sim::Memory expected = rig.panel.memory();
    rig.window.selectMode(mode >= 0 ? std::optional<int>(mode) : std::nullopt);
    rig.window.DURE_LDR->setValue(period);
    rig.window.COMP_LDR->setValue(threshold);
    rig.window.but_ECRIT_LUM->click();

    if (byte60 >= 0)
        expected[60] = std::uint8_t(byte60);
    expected[61] = std::uint8_t(2 * period - 1);
    expected[62] = std::uint8_t(threshold);
    const QStringList frames =
        opening + memoryRead() + memoryWrite(expected) + QStringList{"_31 OOO", "_31 LLL"} + closing;
    QCOMPARE(rig.frames(frames.size()), frames);
    QCOMPARE(rig.panel.memory(), expected);
    QCOMPARE(rig.bench.messages.shown, answerCheck == "OUI" ? ShownList{written} : ShownList{});
    if (mode < 0)
        return;
    rig.restart(frames.size());
    rig.window.selectMode(3);
    rig.window.but_LIT_LUM->click();
    checkSettings(rig.window, mode, period, threshold);
}

// Left open after "PPP", the panel would go on showing its switch banks at
// 74-76, and the next write would store them there.
void LuminosityWindowTest::failedReadClosesThePanelsTransaction()
{
    Rig rig(WindowId::Luminosity, QStringLiteral("OUI"));
    rig.panel.setFault(sim::Fault::Silent);
    rig.window.but_LIT_LUM->click();
    const QStringList frames = opening + QStringList{"_31 PPP"} + memoryRead() + closing;
    QCOMPARE(rig.frames(frames.size()), frames);
    QCOMPARE(rig.bench.messages.shown, ShownList{failure});
    checkSettings(rig.window, -1, 1, 1);
}

void LuminosityWindowTest::writeStops_data()
{
    QTest::addColumn<sim::Fault>("fault");
    QTest::addColumn<QString>("answerCheck");
    QTest::addColumn<ShownList>("messages");
    QTest::newRow("silent, OUI") << sim::Fault::Silent << "OUI" << ShownList{failure};
    // Answers of the right size, not framed as the panel frames them.
    QTest::newRow("garbled, NON") << sim::Fault::Garbled << "NON" << ShownList{};
}

// Without the panel's image to write back nothing is written, but the panel
// is let out of the transaction.
void LuminosityWindowTest::writeStops()
{
    QFETCH(sim::Fault, fault);
    QFETCH(QString, answerCheck);
    QFETCH(ShownList, messages);
    Rig rig(WindowId::Luminosity, answerCheck);
    const sim::Memory before = rig.panel.memory();
    rig.panel.setFault(fault);
    rig.window.selectMode(6);
    rig.window.but_ECRIT_LUM->click();
    QCOMPARE(rig.frames(opening.size() + memoryRead().size() + 5), opening + memoryRead() + closing);
    QCOMPARE(rig.panel.memory(), before);
    QCOMPARE(rig.bench.messages.shown, messages);
    checkSettings(rig.window, 6, 5, 4);
}

void LuminosityWindowTest::rawButtons()
{
    Rig rig(WindowId::Luminosity, QStringLiteral("OUI"));
    MemoryGrid &grid = rig.window.grid();
    grid.but_RD->click(); // a write first saves what was read
    rig.restart(int(memoryRead().size()));
    grid.but_lin->click();
    grid.but_WR->click();
    sim::Memory addresses{};
    for (int a = 0; a < 128; ++a)
        addresses[a] = std::uint8_t(a);
    QCOMPARE(rig.frames(memoryWrite(addresses).size()), memoryWrite(addresses));
    QCOMPARE(rig.panel.memory(), addresses);

    rig.restart(memoryWrite(addresses).size());
    grid.Text1(MemoryGrid::FillBox)->clear();
    grid.but_edit->click();
    grid.but_WR->click();
    QVERIFY(!rig.panel.waitForFrames(1, std::chrono::milliseconds(300)));
    QCOMPARE(rig.bench.messages.shown, ShownList{noByte});

    rig.restart(0);
    grid.but_RD->click();
    QCOMPARE(rig.frames(memoryRead().size()), memoryRead());
    QCOMPARE(rig.window.image().text(61), QStringLiteral("3D"));
    QVERIFY(rig.bench.messages.shown.isEmpty());
}

// The guard stops both flows before anything changes; the raw buttons give
// its message instead of failure marks.
void LuminosityWindowTest::windowWithoutPort()
{
    Workbench bench;
    bench.registry.show(WindowId::Luminosity);
    LUM &lum = bench.registry.window<LUM>(WindowId::Luminosity);
    QCOMPARE(lum.size(), QSize(621, 384));
    const Qt::WindowFlags flags = bench.registry.frame(WindowId::Luminosity)->windowFlags();
    QVERIFY(!(flags & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    // Top to bottom: 100% ... 20%, then the sensor.
    for (int index : {2, 3, 4, 5, 6, 0})
        QVERIFY(lum.Option1(index)->y() > lum.Option1(index == 0 ? 6 : index - 1)->y());
    // Column D is cut off by the right edge; E, F and but_WR are out of sight.
    QVERIFY(lum.grid().Text1(13)->geometry().right() >= lum.width() && lum.grid().Text1(13)->x() < lum.width());
    QVERIFY(lum.grid().Text1(14)->x() >= lum.width() && lum.grid().but_WR->x() >= lum.width());

    for (QPushButton *b : {lum.but_LIT_LUM, lum.but_ECRIT_LUM, lum.grid().but_RD, lum.grid().but_WR})
        b->click();
    QCOMPARE(bench.messages.shown, (ShownList{noPort, noPort, noPort, noPort}));
    checkSettings(lum, 1, 5, 4);
    QCOMPARE(lum.image().state(60), CellState::Window);
}

QTEST_MAIN(LuminosityWindowTest)
#include "tst_luminosity_window.moc"
