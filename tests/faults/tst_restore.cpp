#include "faults/fault_rig.h"
#include "faults/luminosity_frames.h"
#include "link/configuration_window.h"
#include "luminosity/luminosity_window.h"
#include "params/parameter_window.h"

#include <QAbstractSlider>
#include <QComboBox>
#include <QPushButton>

using namespace faults;
using Clock = std::chrono::steady_clock;

namespace {
// Messages with the moment each was shown.
class StampedMessages : public RecordingMessages
{
public:
    void show(Icon icon, const QString &text) override
    {
        at.append(Clock::now());
        RecordingMessages::show(icon, text);
    }
    void forget()
    {
        clear();
        at.clear();
    }
    QList<Clock::time_point> at;
};

// The whole tool as Workbench builds it, its messages stamped.
struct StampedBench
{
    StampedBench()
    {
        for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n)
            ports.setDevice(n, QStringLiteral("/nonexistent/kvl-com%1").arg(n));
    }
    // The user confirms the link settings on COM3, now standing for `panel`.
    void confirmOn(const sim::VirtualPanel &panel)
    {
        ports.setDevice(3, QString::fromStdString(panel.devicePath()));
        registry.configuration().list(LinkSetting::SEL_COM)->setCurrentText(QStringLiteral("COM3:"));
        registry.configuration().BOUTON_VALIDE->click();
        messages.forget();
    }

    StampedMessages messages;
    ScriptedFileDialogs files;
    RecordingDocumentOpener documents;
    PortMap ports;
    QTemporaryDir backups;
    Services services{messages, files, documents, ports, backups.filePath(QStringLiteral("sauvegardes"))};
    PRINCIPAL principal{services};
    WindowRegistry &registry = principal.registry();
};

constexpr int EditorReadFrames = 71;

enum class Flow { Parameters, EditorGrid, Luminosity, LuminosityGrid };
} // namespace
Q_DECLARE_METATYPE(Flow)

class RestoreTest : public QObject
{
    Q_OBJECT

private slots:
    void restoreAfterHangUpMidWrite_data();
    void restoreAfterHangUpMidWrite();
    void anotherPanelOnTheSamePortIsReadFirst();
    void refusedWrites_data();
    void refusedWrites();

private:
    template <class Window>
    void checkRefused(FaultRig<Window> &rig, QPushButton *read, int readFrames, QPushButton &write,
                      const QStringList &sent);
};

void RestoreTest::restoreAfterHangUpMidWrite_data()
{
    QTest::addColumn<int>("hangUpAfter");
    QTest::newRow("during the opening pause") << 5;
    QTest::newRow("two pages written, the third begun") << 5 + 2 * 20 + 6;
}

// The line drops during a parameter write: the user is told at once, and the
// backup puts the panel back as it was.
void RestoreTest::restoreAfterHangUpMidWrite()
{
    QFETCH(int, hangUpAfter);
    StampedBench bench;
    sim::VirtualPanel first;
    QVERIFY(first.start());
    bench.confirmOn(first);
    dump_24c01 &w = bench.registry.window<dump_24c01>(WindowId::Parameters);
    control<QPushButton>(w, "but_lit_para").click();
    QCOMPARE(bench.messages.texts(), QStringList{"Lecture effectuée avec succés."});
    bench.messages.forget();
    for (const auto &[name, value] : {std::pair{"HScroll1_1", 111}, {"Slider_ZEROPULSE", 9}, {"HScroll3", 13}})
        control<QAbstractSlider>(w, name).setValue(value);
    const sim::Memory before = first.memory();
    first.waitForFrames(EditorReadFrames + 8, std::chrono::seconds(1));
    first.clearLog();

    first.setFault(sim::Fault::HangUp, hangUpAfter);
    control<QPushButton>(w, "but_ecrit_para").click();
    QCOMPARE(bench.messages.shown, ShownList{lostPort});
    // The line dropped as the frame that made it drop arrived.
    const std::vector<sim::LoggedFrame> heard = first.frames();
    QCOMPARE(heard.size(), std::size_t(hangUpAfter));
    const auto delay = bench.messages.at[0] - heard.back().arrival;
    QVERIFY2(delay < 200ms, qPrintable(QStringLiteral("%1 µs").arg(delay / 1us)));
    control<QPushButton>(w, "but_lit_para").click();
    QCOMPARE(bench.messages.shown, (ShownList{lostPort, noPort}));

    const sim::Memory halfWritten = first.memory();
    QCOMPARE(halfWritten != before, hangUpAfter > 5 + 20);
    const QString folder = bench.backups.filePath(QStringLiteral("sauvegardes"));
    const std::optional<MemoryBackup> backup = onlyBackup(folder);
    QVERIFY(backup);
    QVERIFY(backup->bytes == knownFrom(before, 64));

    sim::PanelState state = sim::PanelState::programmed();
    state.memory = halfWritten;
    sim::VirtualPanel second(state);
    QVERIFY(second.start());
    bench.confirmOn(second);
    // Read first: what is on the panel now is saved before the restore.
    w.grid().but_RD->click();
    QVERIFY(second.waitForFrames(EditorReadFrames, std::chrono::seconds(1)));
    second.clearLog();
    bench.files.answers << backupFiles(folder).value(0);
    w.grid().but_load->click();
    w.grid().but_WR->click();
    QCOMPARE(bench.messages.shown, ShownList{});
    QVERIFY(second.waitForFrames(5 + 4 * 20, std::chrono::seconds(1)));
    QCOMPARE(backupFiles(folder).size(), 2);
    QVERIFY(readBackupFile(backupFiles(folder).value(1))->bytes == knownFrom(halfWritten, 64));
    QCOMPARE(meaninglessFrames(frameTexts(second.frames())), QStringList());
    QCOMPARE(second.memory(), before);
    for (int k = 64; k < MemoryImage::Size; ++k)
        QCOMPARE(w.image().state(k), CellState::Green);
}

// What was read from one panel says nothing of the one behind the port after
// the settings were confirmed again: its write is refused until it is read.
void RestoreTest::anotherPanelOnTheSamePortIsReadFirst()
{
    StampedBench bench;
    sim::VirtualPanel first;
    QVERIFY(first.start());
    bench.confirmOn(first);
    dump_24c01 &w = bench.registry.window<dump_24c01>(WindowId::Parameters);
    w.grid().but_RD->click();
    QVERIFY(first.waitForFrames(EditorReadFrames, std::chrono::seconds(1)));

    sim::VirtualPanel second(sim::PanelState::blank());
    QVERIFY(second.start());
    bench.confirmOn(second);
    control<QPushButton>(w, "but_ecrit_para").click();
    QCOMPARE(bench.messages.texts(),
             QStringList{"Envoi annulé : la mémoire du panneau sur COM3 n'a pas été lue, il n'y a rien à "
                         "sauvegarder. Lisez d'abord la mémoire du panneau."});
    QVERIFY(!second.waitForFrames(1, std::chrono::milliseconds(300)));
    QCOMPARE(second.memory(), sim::PanelState::blank().memory);
}

void RestoreTest::refusedWrites_data()
{
    QTest::addColumn<Flow>("flow");
    QTest::addColumn<bool>("readFirst");
    QTest::addColumn<bool>("unsavable");
    QTest::newRow("parameters, backup unsavable") << Flow::Parameters << true << true;
    QTest::newRow("editor grid, backup unsavable") << Flow::EditorGrid << true << true;
    QTest::newRow("luminosity, backup unsavable") << Flow::Luminosity << false << true;
    QTest::newRow("luminosity grid, backup unsavable") << Flow::LuminosityGrid << true << true;
    QTest::newRow("editor grid, never read") << Flow::EditorGrid << false << false;
    QTest::newRow("luminosity grid, never read") << Flow::LuminosityGrid << false << false;
}

// A write without a backup of what it replaces sends nothing of the image.
void RestoreTest::refusedWrites()
{
    QFETCH(Flow, flow);
    QFETCH(bool, readFirst);
    using namespace faults::luminosity;
    if (flow == Flow::Parameters || flow == Flow::EditorGrid) {
        FaultRig<dump_24c01> rig(WindowId::Parameters, sim::Fault::None, QStringLiteral("OUI"));
        QPushButton &write =
            flow == Flow::Parameters ? rig.control<QPushButton>("but_ecrit_para") : *rig.window.grid().but_WR;
        checkRefused(rig, readFirst ? rig.window.grid().but_RD : nullptr, EditorReadFrames, write, {});
    } else {
        FaultRig<LUM> rig(WindowId::Luminosity, sim::Fault::None, QStringLiteral("OUI"));
        QPushButton &write = flow == Flow::Luminosity ? *rig.window.but_ECRIT_LUM : *rig.window.grid().but_WR;
        checkRefused(rig, readFirst ? rig.window.grid().but_RD : nullptr, int(memoryRead.size()), write,
                     flow == Flow::Luminosity ? opening + memoryRead + closing : QStringList{});
    }
}

template <class Window>
void RestoreTest::checkRefused(FaultRig<Window> &rig, QPushButton *read, int readFrames, QPushButton &write,
                               const QStringList &sent)
{
    QFETCH(bool, unsavable);
    const sim::Memory before = rig.panel.memory();
    if (read) {
        read->click();
        rig.restart(readFrames);
    } else {
        rig.window.grid().but_lin->click();
    }
    // A regular file stands where the folder should be made.
    QFile blocker(rig.backupFolder());
    if (unsavable)
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    const QString reason = unsavable
        ? QStringLiteral("la sauvegarde de la mémoire du panneau a échoué (impossible de créer le dossier %1).")
              .arg(rig.backupFolder())
        : QStringLiteral("la mémoire du panneau sur COM3 n'a pas été lue, il n'y a rien à sauvegarder. "
                         "Lisez d'abord la mémoire du panneau.");
    write.click();
    QCOMPARE(rig.bench.messages.shown, (ShownList{{Icon::Exclamation, QStringLiteral("Envoi annulé : ") + reason}}));
    if (sent.isEmpty())
        QVERIFY(rig.lineStaysQuiet());
    else
        QCOMPARE(rig.frames(sent.size()), sent);
    QCOMPARE(rig.panel.memory(), before);
}

QTEST_MAIN(RestoreTest)
#include "tst_restore.moc"
