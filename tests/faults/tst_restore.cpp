#include "faults/fault_rig.h"
#include "luminosity/luminosity_window.h"
#include "params/parameter_window.h"

using namespace faults;

namespace {
// The user confirms the link settings again, COM3 now standing for `panel`.
template <class Window> void plugIn(FaultRig<Window> &rig, sim::VirtualPanel &panel)
{
    QVERIFY(panel.start());
    rig.plug(3, QString::fromStdString(panel.devicePath()));
    rig.messages.clear();
}
} // namespace

class RestoreTest : public QObject
{
    Q_OBJECT

private slots:
    void unsavableBackup_data()
    {
        QTest::addColumn<WindowId>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("ownRead"); // the write's own, else the window read first
        const auto editor = WindowId::Parameters, lum = WindowId::Luminosity;
        QTest::newRow("parameters") << editor << "but_ecrit_para" << QString();
        QTest::newRow("editor grid") << editor << "but_WR" << QString();
        QTest::newRow("luminosity") << lum << "but_ECRIT_LUM" << opening + "; " + memoryRead + "; " + closing;
    }
    // A write whose backup cannot be saved sends nothing of the image.
    void unsavableBackup()
    {
        QFETCH(WindowId, window);
        QFETCH(QString, button);
        QFETCH(QString, ownRead);
        FaultRig<QWidget> rig(window, sim::Fault::None, QStringLiteral("OUI"));
        if (ownRead.isEmpty()) {
            rig.click("but_RD");
            rig.restart(window == WindowId::Parameters ? count(editorRead) : count(memoryRead));
        }
        QFile blocker(rig.backupFolder()); // a regular file where the folder should be made
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        rig.click(button);
        QCOMPARE(rig.messages.shown, ShownList{cancelled(QStringLiteral("la sauvegarde de la mémoire du panneau a "
                                                                              "échoué (impossible de créer le dossier %1).")
                                                                   .arg(rig.backupFolder()))});
        QCOMPARE(rig.frames(count(ownRead)), wire::frames(ownRead));
        QCOMPARE(rig.panel.memory(), rig.before);
    }

    void writesAfterTheirOwnBackupRead_data()
    {
        QTest::addColumn<WindowId>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("anotherPanel");
        const auto editor = WindowId::Parameters, lum = WindowId::Luminosity;
        QTest::newRow("editor grid, never read") << editor << "but_WR" << false;
        QTest::newRow("luminosity grid, never read") << lum << "but_WR" << false;
        QTest::newRow("parameters, confirmed again") << editor << "but_ecrit_para" << false;
        QTest::newRow("parameters, another panel") << editor << "but_ecrit_para" << true;
    }
    // The tool does not know what the panel holds where the write goes: the
    // write reads that range with the window's own read, saves it, then sends
    // the grid as it stands, or the user's settings with the panel's own bytes
    // 99-127. A backup holds what was read or written, "--" elsewhere.
    void writesAfterTheirOwnBackupRead()
    {
        QFETCH(WindowId, window);
        QFETCH(QString, button);
        QFETCH(bool, anotherPanel);
        FaultRig<QWidget> rig(window, sim::Fault::None, QStringLiteral("OUI"));
        const bool parameters = button == QLatin1String("but_ecrit_para");
        const int first = window == WindowId::Parameters ? 64 : 0;
        sim::PanelState otherState = sim::PanelState::programmed();
        for (int k = 0; k < MemoryImage::Size; ++k)
            otherState.memory[k] = std::uint8_t(k < 64 || k > 98 ? 255 - k : k == 78 ? 7 : otherState.memory[k]);
        sim::VirtualPanel other(otherState);
        sim::VirtualPanel &panel = anotherPanel ? other : rig.panel;
        const sim::Memory before = panel.memory();
        sim::Memory expected = before;
        if (parameters) {
            rig.click("but_lit_para");
            rig.restart(count(editorRead) + 8);
            rig.template find<QAbstractSlider>("HScroll1_1").setValue(111);
            if (anotherPanel)
                plugIn(rig, other);
            else
                rig.confirmPort(3);
            // The settings read from the first panel, range 1's limit edited
            // to 111 with its colour kept.
            std::copy(rig.before.begin() + 64, rig.before.begin() + 99, expected.begin() + 64);
            expected[64] = std::uint8_t((rig.before[64] & 0xC0) | (111 >> 8));
            expected[65] = std::uint8_t(111 & 0xFF);
        } else {
            rig.click("but_lin");
            for (int k = first; k < MemoryImage::Size; ++k)
                expected[k] = std::uint8_t(k);
        }
        panel.clearLog();
        rig.messages.clear();
        rig.click(button);

        const QString write = writeFrames(first, (128 - first) / 16);
        const QStringList frames = wire::frames((first ? editorRead : memoryRead) + "; " + write
                                                + (parameters ? "31 OOO; 31 RRR" : ""));
        QVERIFY(panel.waitForFrames(std::size_t(frames.size()), 2s));
        QCOMPARE(wire::masked(frameTexts(panel.frames()), frames), frames);
        const ShownList done{writtenShown};
        QCOMPARE(rig.messages.shown, parameters ? done : ShownList());
        QCOMPARE(panel.memory(), expected);
        if (parameters) {
            rig.backupsHold({before}, first);
            return;
        }
        // Sent again: the second backup holds what the first write left.
        rig.click("but_WR");
        QVERIFY(panel.waitForFrames(std::size_t(frames.size() + count(write)), 3s));
        rig.backupsHold({before, expected}, first);
    }
};

QTEST_MAIN(RestoreTest)
#include "tst_restore.moc"
