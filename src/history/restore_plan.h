#pragma once

#include "panel/backup.h"
#include "panel/transfer.h"

#include <QString>

// How a backup goes back to a panel: through the write of the window whose
// range it holds, the editor's (64 to 127) or the luminosity window's (0 to 127).
struct RestorePlan
{
    const TransferProfile *profile;
    QString window; // whose write and closing frames are used
    int first;
    int count;
    int restored;   // bytes the backup knows in that range
};

RestorePlan restorePlan(const MemoryBackup &backup);

// The range as the write sends it: the backup's bytes, and the panel's own
// where the backup holds none ("--").
MemoryBytes restoredCard(const MemoryBackup &backup, const MemoryBytes &panel, const RestorePlan &plan);

// The first address of the range whose byte the backup knows and the panel,
// read back, does not hold; -1 when every one is there.
int firstMismatch(const MemoryBackup &backup, const MemoryBytes &readBack, const RestorePlan &plan);

// "Cette sauvegarde vient de COM4 ; le port ouvert est COM3."; nothing on the same port.
QString portMismatchLine(int backupPort, int openPort);

// What the read-back found, in French.
QString verdictText(const MemoryBackup &backup, const MemoryBytes &readBack, const RestorePlan &plan);
extern const QString ReadBackFailedText;
extern const QString NothingToRestoreText;
