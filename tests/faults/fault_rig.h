#pragma once

#include "panel/backup.h"
#include "panel/memory_grid.h"
#include "support/window_rig.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <optional>

Q_DECLARE_METATYPE(sim::Fault)

namespace faults {

using namespace std::chrono_literals;
using Icon = Messages::Icon;
using Shown = RecordingMessages::Shown;
using ShownList = QList<Shown>;

inline const Shown failure{Icon::Exclamation, QStringLiteral("Une erreur est survenue. Veuillez recommencer ou  "
                                                             "vérifier directement sur l'afficheur.")};
inline const Shown lostPort{Icon::Critical, QStringLiteral("Le port COM3 ne répond plus. Vérifiez le câble puis "
                                                           "validez à nouveau la configuration.")};
inline const Shown noPort{Icon::Exclamation, QStringLiteral("Pas de port COM ouvert. Veuillez valider la "
                                                            "Configuration dans le menu Configuration.")};

inline Shown refusedCell(const char *cell)
{
    return {Icon::Exclamation, QStringLiteral("Envoi annulé : la case %1 ne contient pas d'octet valide. "
                                              "Lisez d'abord la mémoire du panneau.")
                                   .arg(QLatin1String(cell))};
}

// Columns "fault" and "answerCheck": one row per way a panel lets the tool
// down, answers checked. A lost port is told whatever the answer check: flows
// that report their outcome add a hang-up with the check off.
inline void addFaultRows(bool withUncheckedHangUp = false)
{
    QTest::addColumn<sim::Fault>("fault");
    QTest::addColumn<QString>("answerCheck");
    const QString checked = QStringLiteral("OUI");
    QTest::newRow("silent") << sim::Fault::Silent << checked;
    QTest::newRow("late") << sim::Fault::Late << checked;
    QTest::newRow("truncated") << sim::Fault::Truncated << checked;
    QTest::newRow("extra") << sim::Fault::Extra << checked;
    QTest::newRow("garbled") << sim::Fault::Garbled << checked;
    QTest::newRow("hang-up") << sim::Fault::HangUp << checked;
    if (withUncheckedHangUp)
        QTest::newRow("hang-up, NON") << sim::Fault::HangUp << QStringLiteral("NON");
}

// A flow that reports its outcome tells of the failure; a lost port has its
// own message instead.
inline ShownList reported(sim::Fault fault)
{
    return {fault == sim::Fault::HangUp ? lostPort : failure};
}

// The raw buttons and the live speed report nothing, except a lost port.
inline ShownList unreported(sim::Fault fault)
{
    return fault == sim::Fault::HangUp ? ShownList{lostPort} : ShownList{};
}

// The next write is refused: by the guard once the port is lost, else because
// the image holds failure marks from `cell` on.
inline ShownList nextWriteRefused(sim::Fault fault, const char *cell)
{
    return {fault == sim::Fault::HangUp ? noPort : refusedCell(cell)};
}

// Empty when every cell on screen reads "Er" on red; else the first that does not.
inline QString missingFailureMarks(const MemoryGrid &grid)
{
    for (int k = 0; k < MemoryImage::Size; ++k) {
        const QLineEdit *cell = grid.Text1(k);
        const QColor colour = cell->palette().color(QPalette::Base);
        if (cell->text() != QLatin1String("Er") || colour != QColor(255, 0, 0))
            return QStringLiteral("cell %1: \"%2\" on %3").arg(k).arg(cell->text(), colour.name());
    }
    return {};
}

#define VERIFY_FAILURE_MARKS(grid)                                                                           \
    do {                                                                                                     \
        const QString missing = faults::missingFailureMarks(grid);                                           \
        QVERIFY2(missing.isEmpty(), qPrintable(missing));                                                    \
    } while (false)

// The data frames sent that do not carry a byte.
inline QStringList meaninglessFrames(const QStringList &frames)
{
    static const QRegularExpression data(QStringLiteral("^_?31 Y"));
    static const QRegularExpression byte(QStringLiteral("^_?31 Y[0-9A-F]{2}$"));
    QStringList bad;
    for (const QString &f : frames) {
        if (data.match(f).hasMatch() && !byte.match(f).hasMatch())
            bad.append(f);
    }
    return bad;
}

// What a backup of the memory from `first` to 127 holds.
inline MemoryBytes knownFrom(const sim::Memory &memory, int first)
{
    MemoryBytes bytes;
    for (int k = first; k < MemoryImage::Size; ++k)
        bytes[k] = memory[k];
    return bytes;
}

inline QStringList backupFiles(const QString &folder)
{
    QStringList paths;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.kvlmem")}, QDir::Files, QDir::Name))
        paths.append(folder + QLatin1Char('/') + name);
    return paths;
}

inline std::optional<MemoryBackup> readBackupFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readBackup(file.readAll());
}

// The backup in the folder, when there is exactly one.
inline std::optional<MemoryBackup> onlyBackup(const QString &folder)
{
    const QStringList paths = backupFiles(folder);
    return paths.size() == 1 ? readBackupFile(paths[0]) : std::nullopt;
}

template <class T> T &control(QWidget &window, const char *name)
{
    T *c = window.findChild<T *>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return *c;
}

// A window of the tool on a virtual panel at COM3 that will let it down with
// `fault`.
template <class Window>
struct FaultRig : WindowRig<Window>
{
    FaultRig(WindowId id, sim::Fault fault, const QString &answerCheck)
        : WindowRig<Window>(id, answerCheck)
        , fault(fault)
    {
        // Late is late against the line: at 4800 baud the frames reach the
        // panel when the tool's time limits expect them to.
        this->panel.setLineRate(fault == sim::Fault::Late);
    }

    // The panel misbehaves from now on; a hang-up comes with the
    // `hangUpAfter`-th frame from now.
    void provoke(int hangUpAfter) { this->panel.setFault(fault, hangUpAfter); }

    // The same, once `frames` frames are in the log, while a flow runs (its
    // waits let the timer through).
    void provokeAfter(int frames, int hangUpAfter)
    {
        trigger.setTimerType(Qt::PreciseTimer);
        trigger.setInterval(1);
        QObject::connect(&trigger, &QTimer::timeout, [this, frames, hangUpAfter] {
            if (this->panel.frames().size() >= std::size_t(frames)) {
                trigger.stop();
                provoke(hangUpAfter);
            }
        });
        trigger.start();
    }

    // Nothing reaches the panel within a moment.
    bool lineStaysQuiet() { return !this->panel.waitForFrames(1, 300ms); }

    template <class T> T &control(const char *name) { return faults::control<T>(this->window, name); }

    QString backupFolder() const { return this->bench.backups.filePath(QStringLiteral("sauvegardes")); }
    std::optional<MemoryBackup> onlyBackup() const { return faults::onlyBackup(backupFolder()); }

    sim::Fault fault;
    QTimer trigger;
};

} // namespace faults
