#include "faults/fault_rig.h"
#include "luminosity/luminosity_window.h"
#include "params/parameter_window.h"

#include <QAbstractSlider>

using namespace faults;

namespace {
const Shown notRead = cancelled(QStringLiteral("la mémoire du panneau sur COM3 n'a pas été lue, il n'y a rien à "
                                               "sauvegarder. Lisez d'abord la mémoire du panneau."));

// The user confirms the link settings again, COM3 now standing for `panel`.
template <class Window> void plugIn(FaultRig<Window> &rig, sim::VirtualPanel &panel)
{
    QVERIFY(panel.start());
    rig.bench.mapPort(3, QString::fromStdString(panel.devicePath()));
    rig.bench.confirmPort(3);
    rig.bench.messages.clear();
}

enum class Setup { ReadUnsavable, OwnReadUnsavable, NeverRead, ReadAnotherPanel };
} // namespace
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(WindowId)

class RestoreTest : public QObject
{
    Q_OBJECT

private slots:
    void restoreAfterHangUpMidWrite_data()
    {
        QTest::addColumn<int>("hangUpAfter");
        QTest::newRow("during the opening pause") << 5;
        QTest::newRow("two pages written, the third begun") << 5 + 2 * 20 + 6;
    }
    // The line drops during a parameter write: the user is told at once, and
    // the backup puts the panel back as it was.
    void restoreAfterHangUpMidWrite()
    {
        QFETCH(int, hangUpAfter);
        FaultRig<dump_24c01> rig(WindowId::Parameters, sim::Fault::HangUp, QStringLiteral("OUI"));
        rig.click("but_lit_para");
        for (const auto &[name, value] : {std::pair{"HScroll1_1", 111}, {"Slider_ZEROPULSE", 9}, {"HScroll3", 13}})
            rig.control<QAbstractSlider>(name).setValue(value);
        rig.restart(editorRead.size() + 8);
        rig.strike({.button = "but_ecrit_para", .frames = writeFrames(0x40, 4), .hangUpAfter = hangUpAfter,
                    .writesFrom = 64});
        if (QTest::currentTestFailed())
            return;
        const sim::Clock::duration delay = rig.toldAt - rig.panel.frames().back().arrival;
        QVERIFY2(delay < 200ms, qPrintable(QStringLiteral("%1 µs").arg(delay / 1us)));
        rig.clickRefused("but_lit_para");
        const sim::Memory halfWritten = rig.panel.memory();
        QCOMPARE(halfWritten != rig.before, hangUpAfter > 5 + 20);

        sim::PanelState state = sim::PanelState::programmed();
        state.memory = halfWritten;
        sim::VirtualPanel second(state);
        plugIn(rig, second);
        // Read first: what is on the panel now is saved before the restore.
        rig.click("but_RD");
        QVERIFY(second.waitForFrames(editorRead.size(), 1s));
        second.clearLog();
        rig.bench.files.answers << backupFiles(rig.backupFolder()).value(0);
        rig.click("but_load");
        rig.click("but_WR");
        QCOMPARE(rig.bench.messages.shown, ShownList{});
        const QStringList restore = writeFrames(0x40, 4);
        QVERIFY(second.waitForFrames(restore.size(), 1s));
        QCOMPARE(masked(frameTexts(second.frames()), restore), restore);
        QCOMPARE(second.memory(), rig.before);
        for (int k = 64; k < MemoryImage::Size; ++k)
            QCOMPARE(rig.window.image().state(k), CellState::Green);
        rig.backupsHold({rig.before, halfWritten}, 64);
    }

    void refusedWrites_data()
    {
        QTest::addColumn<WindowId>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<Setup>("setup");
        const auto editor = WindowId::Parameters, lum = WindowId::Luminosity;
        QTest::newRow("parameters, backup unsavable") << editor << "but_ecrit_para" << Setup::ReadUnsavable;
        QTest::newRow("editor grid, backup unsavable") << editor << "but_WR" << Setup::ReadUnsavable;
        QTest::newRow("luminosity, backup unsavable") << lum << "but_ECRIT_LUM" << Setup::OwnReadUnsavable;
        QTest::newRow("luminosity grid, backup unsavable") << lum << "but_WR" << Setup::ReadUnsavable;
        QTest::newRow("editor grid, never read") << editor << "but_WR" << Setup::NeverRead;
        QTest::newRow("luminosity grid, never read") << lum << "but_WR" << Setup::NeverRead;
        QTest::newRow("parameters, another panel") << editor << "but_ecrit_para" << Setup::ReadAnotherPanel;
    }
    // A write without a backup of what it replaces sends nothing of the image.
    void refusedWrites()
    {
        QFETCH(WindowId, window);
        QFETCH(QString, button);
        QFETCH(Setup, setup);
        FaultRig<QWidget> rig(window, sim::Fault::None, QStringLiteral("OUI"));
        sim::VirtualPanel other(sim::PanelState::blank());
        sim::VirtualPanel &panel = setup == Setup::ReadAnotherPanel ? other : rig.panel;
        const sim::Memory before = panel.memory();
        if (setup == Setup::NeverRead) {
            rig.click("but_lin");
        } else if (setup != Setup::OwnReadUnsavable) {
            rig.click("but_RD");
            rig.restart(window == WindowId::Parameters ? editorRead.size() : memoryRead.size());
        }
        if (setup == Setup::ReadAnotherPanel)
            plugIn(rig, other);
        // A regular file stands where the folder should be made.
        QFile blocker(rig.backupFolder());
        const bool unsavable = setup == Setup::ReadUnsavable || setup == Setup::OwnReadUnsavable;
        QVERIFY(!unsavable || blocker.open(QIODevice::WriteOnly));
        rig.click(qPrintable(button));
        QCOMPARE(rig.bench.messages.shown,
                 ShownList{unsavable ? cancelled(QStringLiteral("la sauvegarde de la mémoire du panneau a échoué "
                                                                "(impossible de créer le dossier %1).")
                                                     .arg(rig.backupFolder()))
                                     : notRead});
        if (setup == Setup::OwnReadUnsavable)
            QCOMPARE(rig.frames(opening.size() + memoryRead.size() + closing.size()), opening + memoryRead + closing);
        else
            QVERIFY(!panel.waitForFrames(1, 300ms));
        QCOMPARE(panel.memory(), before);
    }
};

QTEST_MAIN(RestoreTest)
#include "tst_restore.moc"
