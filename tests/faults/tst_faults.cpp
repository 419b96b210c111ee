#include "faults/fault_rig.h"
#include "link/detection_window.h"
#include "link/pwsbase.h"
#include "luminosity/luminosity_window.h"
#include "params/parameter_window.h"
#include "switches/switch_window.h"

using namespace faults;

namespace {
// Every value the editor shows outside its grid.
QStringList shownSettings(const dump_24c01 &w)
{
    QStringList state;
    for (const QAbstractSlider *s : w.findChildren<QAbstractSlider *>())
        state << s->objectName() + '=' + QString::number(s->value());
    for (const QAbstractButton *b : w.findChildren<QAbstractButton *>())
        state << b->objectName() + '=' + QString::number(b->isChecked());
    for (const QLineEdit *e : w.findChildren<QLineEdit *>()) {
        if (!e->objectName().startsWith(QLatin1String("Text1_")))
            state << e->objectName() + '=' + e->text();
    }
    return state;
}

QList<int> luminositySettings(const LUM &lum)
{
    return {lum.selectedMode().value_or(-1), lum.DURE_LDR->value(), lum.COMP_LDR->value()};
}
} // namespace

// Every flow that talks to the panel, against this program's share of the
// faults (FAULTS): the suite runs the shares side by side.
class FaultsTest : public QObject
{
    Q_OBJECT

private slots:
    // A lost port is told whatever the answer check: a hang-up comes with the
    // check on and off.
    void initTestCase_data()
    {
        QTest::addColumn<sim::Fault>("fault");
        QTest::addColumn<QString>("answerCheck");
        using enum sim::Fault;
        const QList<sim::Fault> share{FAULTS};
        for (const auto &[name, fault] :
             {std::pair{"silent", Silent}, {"late", Late}, {"extra", Extra}, {"garbled", Garbled}, {"hang-up", HangUp}}) {
            if (share.contains(fault))
                QTest::newRow(name) << fault << QStringLiteral("OUI");
        }
        if (share.contains(HangUp))
            QTest::newRow("hang-up, NON") << HangUp << QStringLiteral("NON");
    }

    // Nothing of a failed read reaches the controls, which keep every choice
    // they had; its failure marks can never be sent.
    void parameterRead()
    {
        FaultRig<dump_24c01> rig(WindowId::Parameters);
        const QStringList settings = shownSettings(rig.window);
        rig.strike({.button = "but_lit_para", .frames = editorRead, .hangUpAfter = 5 + 32});
        QCOMPARE(shownSettings(rig.window), settings);
        rig.clickedAgain("but_ecrit_para", unreadable, editorRead);
    }

    // The line drops in the third page.
    void parameterWrite()
    {
        FaultRig<dump_24c01> rig(WindowId::Parameters);
        rig.skipIfWriteSucceeds();
        rig.click("but_RD");
        rig.restart(count(editorRead));
        rig.strike({.button = "but_ecrit_para", .frames = writeFrames(0x40, 4) + "31 OOO; 31 RRR",
                    .hangUpAfter = 5 + 2 * 20 + 8, .writesFrom = 64});
        rig.clickedAgain("but_ecrit_para", unreadable, editorRead);
    }

    void rawRead()
    {
        FaultRig<dump_24c01> rig(WindowId::Parameters);
        rig.strike({.button = "but_RD", .frames = editorRead, .hangUpAfter = 5 + 32, .told = Told::LostPort});
        rig.clickedAgain("but_WR", badCell("40h"));
    }

    // The line drops among the first page's bytes.
    void rawWrite()
    {
        FaultRig<dump_24c01> rig(WindowId::Parameters);
        rig.skipIfWriteSucceeds();
        rig.click("but_RD");
        rig.restart(count(editorRead));
        rig.click("but_lin");
        rig.strike({.button = "but_WR", .frames = writeFrames(0x40, 4), .hangUpAfter = 5 + 20 + 3,
                    .told = Told::LostPort, .writesFrom = 64});
        rig.clickedAgain("but_WR", badCell("40h"));
    }

    // The boxes keep the last whole answer; the speeds the panel measures now
    // never show.
    void liveSpeed()
    {
        FaultRig<dump_24c01> rig(WindowId::Parameters);
        const QString frames = "31 AAA; 31 BBB; 31 CCC; 31 DDD";
        const auto shown = [&rig] { return rig.text("VITESSE_VENT") + '|' + rig.text("VITESSE_VENT_MAX"); };
        const QString last = QStringLiteral(" Vitesse instantanée : 56,7 Km/h.| Maximum enregistré: 123,4 Km/h.");
        rig.click("Command1");
        QCOMPARE(shown(), last);
        rig.restart(count(frames));
        rig.panel.setSpeeds(999, 888);
        rig.strike({.button = "Command1", .frames = frames, .hangUpAfter = 3, .told = Told::LostPort,
                    .marksGrid = false});
        QCOMPARE(shown(), last);
        rig.clickedAgain("Command1", {});
    }

    // A panel that does not answer as a panel answers is no panel; the scan
    // shows rows only, even for a device that goes away while probed.
    void detection()
    {
        FaultRig<DETECT> rig(WindowId::Detection);
        rig.click("Command1"); // found first: its "Utiliser ce port" must go
        rig.restart(1);
        rig.strike({.button = "Command1", .frames = "31 RRR", .hangUpAfter = 1, .told = Told::Nothing,
                    .marksGrid = false});
        const auto green = [&rig](int k) {
            return rig.window.Label1(k)->palette().color(QPalette::Window) == QColor(0, 255, 0);
        };
        for (int k = 1; k <= DETECT::Rows; ++k) {
            QCOMPARE(rig.window.Label1(k + 14)->text(), QLatin1String(k == 3 ? "Libre." : "Absent."));
            QCOMPARE(rig.window.Label1(k + 28)->text(), QStringLiteral("."));
            QVERIFY(!green(k) && !green(k + 28) && rig.window.UTILISER(k)->isHidden());
        }
        QVERIFY(!PORT_OUVERT(rig.registry));
        QCOMPARE(rig.messages.shown, ShownList{noPort});
    }

    // Every switch OFF and no variant, whatever the failure marks would
    // decode to.
    void switchRead()
    {
        FaultRig<SW> rig(WindowId::Switches);
        const QString frames = opening + "; _31 PPP; " + memoryRead + "; _31 RRR";
        rig.strike({.button = "LIT_SW", .frames = frames, .hangUpAfter = 11 + 1 + 5 + 4 + 64});
        for (int i = 0; i < SW::Switches; ++i) {
            QCOMPARE(rig.window.SW1(i)->value(), 1);
            QCOMPARE(rig.window.SW2(i)->value(), 1);
        }
        QCOMPARE(rig.window.Label30->text(), QStringLiteral("   --   "));
        rig.clickedAgain("LIT_SW", {});
    }

    // The settings stay at their reset values and the panel is let out of the
    // request whatever the answer check.
    void luminosityRead()
    {
        FaultRig<LUM> rig(WindowId::Luminosity);
        rig.strike({.button = "but_LIT_LUM", .frames = opening + "; _31 PPP; " + memoryRead + "; " + closing,
                    .hangUpAfter = 11 + 1 + 5 + 4 + 64});
        QCOMPARE(luminositySettings(rig.window), (QList<int>{-1, 1, 1}));
        rig.clickedAgain("but_WR", badCell("00h"));
    }

    // Without the panel's own bytes nothing is written and the settings stay
    // as the user chose them.
    void luminosityWriteStopsInItsRead()
    {
        FaultRig<LUM> rig(WindowId::Luminosity);
        rig.window.selectMode(6);
        rig.strike({.button = "but_ECRIT_LUM", .frames = opening + "; " + memoryRead + "; " + closing,
                    .hangUpAfter = 11 + 5 + 4 + 64});
        QCOMPARE(luminositySettings(rig.window), (QList<int>{6, 5, 4}));
        rig.clickedAgain("but_ECRIT_LUM", {});
    }

    // The fault waits for the end of the write's own read; the line drops in
    // the fourth page.
    void luminosityWrite()
    {
        FaultRig<LUM> rig(WindowId::Luminosity);
        rig.skipIfWriteSucceeds();
        rig.window.selectMode(6);
        const QString write = writeFrames(0, 8) + "_31 OOO; _31 LLL; " + closing;
        rig.strike({.button = "but_ECRIT_LUM", .frames = opening + "; " + memoryRead + "; " + write,
                    .hangUpAfter = 5 + 3 * 20 + 10, .writesFrom = 0, .faultAfter = count(opening + "; " + memoryRead)});
        rig.clickedAgain("but_WR", badCell("00h"));
    }
};

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
