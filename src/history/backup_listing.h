#pragma once

#include "panel/backup.h"

#include <QList>
#include <QString>

// One backup file of the folder.
struct BackupEntry
{
    QString path;
    MemoryBackup backup;
};

// What the backup folder holds: the backups, newest first, and how many of
// its files are no backup.
struct BackupListing
{
    QList<BackupEntry> entries;
    int unreadable = 0;
};

BackupListing listBackups(const QString &folder);

// The index of the backup of the same port just before entry `index`, or -1.
int previousOfSamePort(const BackupListing &listing, int index);

// How many of the 128 bytes the backup holds.
int knownByteCount(const MemoryBytes &bytes);
// What wrote it: "Paramètres", "Grille mémoire", "Luminosité".
QString sourceInWords(const QString &window);
// "2 fichiers illisibles ignorés."; nothing when there is none.
QString unreadableText(int count);

// Gives the backup in `path` a name (an empty one takes it away); false with
// the reason in `error`, in French.
bool nameBackup(const QString &path, const QString &name, QString *error);
