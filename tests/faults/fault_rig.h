#pragma once

#include "panel/backup.h"
#include "panel/memory_grid.h"
#include "panel/report.h"
#include "support/window_rig.h"

#include <QDir>

namespace faults {

using namespace flows;

inline const Shown failure{Icon::Exclamation, QStringLiteral("Une erreur est survenue. Veuillez recommencer ou  "
                                                             "vérifier directement sur l'afficheur.")};
inline const Shown lostPort{Icon::Critical, QStringLiteral("Le port COM3 ne répond plus. Vérifiez le câble puis "
                                                           "validez à nouveau la configuration.")};
inline const Shown noPort = noPortShown;

inline Shown cancelled(const QString &reason)
{
    return {Icon::Exclamation, QStringLiteral("Envoi annulé : ") + reason};
}
// Why a write refuses.
inline const QString unreadable = QStringLiteral("la mémoire du panneau sur COM3 n'a pas pu être lue pour la "
                                                 "sauvegarder. Vérifiez la liaison puis recommencez.");
inline QString badCell(const char *cell)
{
    return QStringLiteral("la case %1 ne contient pas d'octet valide. Lisez d'abord la mémoire du panneau.")
        .arg(QLatin1String(cell));
}

template <class T> T fetched(const char *column)
{
    return *static_cast<T *>(QTest::qGlobalData(column, qMetaTypeId<T>()));
}

// Oldest first.
inline QStringList backupFiles(const QString &folder)
{
    QStringList paths;
    for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.kvlmem")}, QDir::Files, QDir::Name))
        paths << file.filePath();
    return paths;
}

// What a flow tells of a failure: its outcome, a lost port only, or nothing.
enum class Told { Outcome, LostPort, Nothing };

// A flow the panel lets down.
struct Strike
{
    const char *button;                 // starts the flow
    QString frames;                     // all it sends while the line holds, in wire notation
    int hangUpAfter;                    // frames, from the fault on, until the line drops
    Told told = Told::Outcome;
    bool marksGrid = true;              // every cell then shows the failure
    int writesFrom = MemoryImage::Size; // the memory below stays; a backup holds the rest
    int faultAfter = 0;                 // frames the panel hears before it misbehaves
};

// A window of the tool on a virtual panel at COM3 that will let it down with
// `fault` (by default the global test row's).
template <class Window>
struct FaultRig : WindowRig<Window>
{
    FaultRig(WindowId id, sim::Fault fault = fetched<sim::Fault>("fault"),
             const QString &answerCheck = fetched<QString>("answerCheck"))
        : WindowRig<Window>(id, answerCheck,
                            fault == sim::Fault::Late || fault == sim::Fault::HangUp ? 1 : FastClock)
        , fault(fault)
    {
        // Late is late against the line: at 4800 baud, and with the tool's
        // own time limits, the frames reach the panel when the limits expect them.
        // A hang-up is told well within the real one-second limit.
        this->panel.setLineRate(fault == sim::Fault::Late);
    }

    bool hungUp() const { return fault == sim::Fault::HangUp; }

    // What every flow owes whatever the fault: the messages, the failure on
    // screen, no frame beyond its own (a hang-up cuts them short), the memory
    // it does not write, and a backup of the memory it does.
    void strike(const Strike &s)
    {
        // A fault that waits for its frame comes while the flow runs (its waits
        // let the timer through).
        QTimer trigger;
        const auto provoke = [&] {
            if (this->panel.frames().size() >= std::size_t(s.faultAfter)) {
                trigger.stop();
                this->panel.setFault(fault, s.hangUpAfter);
            }
        };
        trigger.callOnTimeout(provoke);
        trigger.start(1);
        provoke();
        this->click(s.button);
        if (hungUp()) { // told at once, not once the answer's time limit has run out
            const std::vector<sim::LoggedFrame> heard = this->panel.frames();
            QVERIFY(!heard.empty());
            const sim::Clock::duration delay = sim::Clock::now() - heard.back().arrival;
            QVERIFY2(delay < 500ms, qPrintable(QStringLiteral("%1 µs").arg(delay / 1us)));
        }
        const bool told = s.told == Told::Outcome || (s.told == Told::LostPort && hungUp());
        ShownList shown = told ? ShownList{hungUp() ? lostPort : failure} : ShownList{};
        // A write that had begun tells where the panel's memory from before is.
        if (s.writesFrom < MemoryImage::Size) {
            if (told && !hungUp())
                shown[0].text += QStringLiteral("\n\n") + PartlyWrittenText;
            else
                shown << Shown{Icon::Exclamation, PartlyWrittenText};
        }
        QCOMPARE(this->messages.shown, shown);
        if (s.marksGrid) {
            const MemoryGrid &grid = *this->window.template findChild<MemoryGrid *>();
            QStringList cells;
            for (int k = 0; k < MemoryImage::Size; ++k)
                cells << grid.Text1(k)->text() + " on " + grid.Text1(k)->palette().color(QPalette::Base).name();
            QCOMPARE(cells, QStringList(MemoryImage::Size, QStringLiteral("Er on #ff0000")));
        }
        const QStringList all = wire::frames(s.frames);
        const QStringList sent = hungUp() ? all.mid(0, s.faultAfter + s.hangUpAfter) : all;
        QCOMPARE(wire::masked(this->frames(int(sent.size())), sent), sent);
        const sim::Memory after = this->panel.memory();
        QVERIFY(std::equal(before.begin(), before.begin() + s.writesFrom, after.begin()));
        backupsHold(s.writesFrom < MemoryImage::Size ? QList{before} : QList<sim::Memory>{}, s.writesFrom);
    }

    // The backups, oldest first, are of this window on COM3 and hold
    // `memories` from `first` on.
    void backupsHold(const QList<sim::Memory> &memories, int first)
    {
        const QStringList files = backupFiles(backupFolder());
        QCOMPARE(files.size(), memories.size());
        for (qsizetype i = 0; i < files.size(); ++i) {
            QFile file(files[i]);
            const std::optional<MemoryBackup> backup = file.open(QIODevice::ReadOnly) ? readBackup(file.readAll())
                                                                                      : std::nullopt;
            QVERIFY(backup);
            QCOMPARE(backup->window.section(QLatin1Char('.'), 0, 0),
                     QString::fromLatin1(this->window.metaObject()->className()));
            QCOMPARE(backup->port, 3);
            MemoryBytes known;
            for (int k = first; k < MemoryImage::Size; ++k)
                known[k] = memories[i][k];
            QVERIFY(backup->bytes == known);
        }
    }

    // A write whose answers are garbled but of the right count goes through:
    // acknowledgements are counted, not compared.
    void skipIfWriteSucceeds()
    {
        if (fault == sim::Fault::Garbled)
            QSKIP("acknowledgements are counted, not compared: the transfer test checks such a write");
    }

    // `button` clicked again sends nothing beyond the start of `frames` and
    // changes no byte: the guard refuses once the port is lost, the flow
    // refuses for `reason` otherwise (no reason: only the guard is checked).
    void clickedAgain(const char *button, const QString &reason, const QString &script = {})
    {
        if (!hungUp() && reason.isEmpty())
            return;
        const sim::Memory memory = this->panel.memory();
        this->restart(0);
        this->click(button);
        QCOMPARE(this->messages.shown, ShownList{hungUp() ? noPort : cancelled(reason)});
        const QStringList frames = wire::frames(script);
        const QStringList sent = hungUp() ? this->frames(0) : this->frames(int(frames.size()));
        QCOMPARE(sent, (hungUp() ? QStringList() : frames).mid(0, sent.size()));
        QCOMPARE(this->panel.memory(), memory);
    }

    QString backupFolder() const { return this->backups.filePath(QStringLiteral("sauvegardes")); }

    sim::Fault fault;
    sim::Memory before = this->panel.memory();
};

} // namespace faults
