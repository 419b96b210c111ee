#include "panel/memory_grid.h"
#include "switches/switch_window.h"
#include "support/window_rig.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using Icon = Messages::Icon;
using Shown = RecordingMessages::Shown;

namespace {
const QColor green(0, 255, 0);
const QColor white(255, 255, 255);

using Rig = WindowRig<SW>;

QStringList switchesRead(bool closed)
{
    QStringList f = repeated("_31 SSS", 11) + QStringList{"_31 PPP"} + repeated("_31 SSS", 5);
    f << "_31 SSS" << "_31 ZA0" << "_31 Y00" << "_31 ZA1";
    f += repeated("_31 X1X", 128) + QStringList{"_31 X6X", "_31 RRR"};
    return closed ? f + repeated("_31 RRR", 5) : f;
}

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

class SwitchWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void displayOnlyControls();
    void windowWithoutPort();
};

void SwitchWindowTest::reads_data()
{
    QTest::addColumn<int>("sw3");
    QTest::addColumn<int>("sw2");
    QTest::addColumn<int>("variant");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("answerCheck");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QList<Shown>>("messages");
    const Shown done{Icon::Information, QStringLiteral("Lecture effectuée avec succés.")};
    const Shown error{Icon::Exclamation, QStringLiteral("Une erreur est survenue. Veuillez recommencer ou  "
                                                        "vérifier directement sur l'afficheur.")};
    QTest::newRow("SW3 DIP1 and DIP8") << 0x81 << 0x00 << 84 << false << "OUI" << "KVL trois couleurs." << true
                                       << QList<Shown>{done};
    QTest::newRow("SW2 all on") << 0x00 << 0xFF << 77 << false << "NON" << "KVL une couleur.   " << true
                                << QList<Shown>{};
    QTest::newRow("lower-case t") << 0x5A << 0x0F << 116 << false << "OUI" << "   --   " << true << QList<Shown>{done};
    QTest::newRow("silent, OUI: no closing") << 0 << 0 << 0 << true << "OUI" << "   --   " << false
                                             << QList<Shown>{error};
    QTest::newRow("silent, NON: no message") << 0 << 0 << 0 << true << "NON" << "   --   " << true << QList<Shown>{};
}

// Every row reads twice: first every switch ON on a three-colour card, then
// the row's banks, which must show nothing of the first read.
void SwitchWindowTest::reads()
{
    QFETCH(int, sw3);
    QFETCH(int, sw2);
    QFETCH(int, variant);
    QFETCH(bool, silent);
    QFETCH(QString, answerCheck);
    QFETCH(QString, label);
    QFETCH(bool, closed);
    QFETCH(QList<Shown>, messages);
    Rig rig(WindowId::Switches, answerCheck);
    rig.panel.setSwitches(0xFF, 0xFF, 'T');
    rig.window.LIT_SW->click();
    checkBanks(rig.window, 0xFF, 0xFF);
    rig.panel.setSwitches(std::uint8_t(sw3), std::uint8_t(sw2), std::uint8_t(variant));
    rig.panel.setFault(silent ? sim::Fault::Silent : sim::Fault::None);
    rig.restart(switchesRead(true).size());

    rig.window.LIT_SW->click();
    checkBanks(rig.window, sw3, sw2);
    QCOMPARE(rig.window.Label30->text(), label);
    QCOMPARE(rig.window.image().text(76), silent ? QStringLiteral("Er") : hexText(quint32(variant)));
    QCOMPARE(rig.frames(switchesRead(closed).size()), switchesRead(closed));
    QCOMPARE(rig.bench.messages.shown, messages);
    // "PPP" only showed the banks: the memory is the panel's own.
    QCOMPARE(rig.panel.memory()[74], std::uint8_t(0x81));
}

// Levers, captions and the grid's other buttons change the screen only; the
// raw read sends its memory read and nothing else.
void SwitchWindowTest::displayOnlyControls()
{
    Rig rig(WindowId::Switches, QStringLiteral("OUI"));
    SW &sw = rig.window;
    rig.bench.registry.show(WindowId::Switches);
    QTest::mouseClick(sw.Text3(2), Qt::LeftButton);
    sw.Text2_Click(5);
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
    QCOMPARE(rig.frames(switchesRead(false).size() - 12), switchesRead(false).mid(12));
    QCOMPARE(sw.image().text(10), QStringLiteral("0A"));
    QVERIFY(rig.bench.messages.shown.isEmpty());
}

// The guard stops the read before the display is reset; the raw read gets
// the same message rather than a grid of failure marks.
void SwitchWindowTest::windowWithoutPort()
{
    Workbench bench;
    bench.registry.show(WindowId::Switches);
    SW &sw = bench.registry.window<SW>(WindowId::Switches);
    QCOMPARE(sw.size(), QSize(320, 295));
    const Qt::WindowFlags flags = bench.registry.frame(WindowId::Switches)->windowFlags();
    QVERIFY(!(flags & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    QCOMPARE(sw.Text3(2)->text(), QStringLiteral("DIP3 Nbr digit  (Voir doc.)\r\n"));
    // Bank SW2 on the left; the grid and ENVOI_SW out of sight.
    QVERIFY(sw.SW2(7)->mapTo(&sw, QPoint()).x() < sw.SW1(0)->mapTo(&sw, QPoint()).x());
    QVERIFY(sw.ENVOI_SW->x() >= sw.width() && sw.grid().Text1(0)->x() >= sw.width());

    sw.SW1(0)->setValue(0);
    sw.LIT_SW->click();
    sw.grid().but_RD->click();
    const Shown refused{Icon::Exclamation, QStringLiteral("Pas de port COM ouvert. Veuillez valider la "
                                                          "Configuration dans le menu Configuration.")};
    QCOMPARE(bench.messages.shown, (QList<Shown>{refused, refused}));
    checkBanks(sw, 0x01, 0);
    QVERIFY(sw.Label30->text().isEmpty() && sw.image().text(0).isEmpty());
}

QTEST_MAIN(SwitchWindowTest)
#include "tst_switch_window.moc"
