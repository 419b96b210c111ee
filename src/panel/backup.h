#pragma once

#include "panel/memory_image.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// A copy of a panel's memory as the tool last read it, kept on disk before
// anything is written to the panel, so that a write gone wrong can be undone.
struct MemoryBackup
{
    QString window; // the window whose image it is: "dump_24c01", "LUM"
    int port = 0;   // COM number
    QDateTime takenAt;
    MemoryBytes bytes; // nothing: address not read

    bool operator==(const MemoryBackup &) const = default;
};

QByteArray backupText(const MemoryBackup &backup);
// Nothing when the bytes are not such a file; `error` then says why, in French.
std::optional<MemoryBackup> readBackup(const QByteArray &file, QString *error = nullptr);

// <data folder>/sauvegardes
QString backupFolder();
// Writes the backup under a dated name in the folder; returns the file's path,
// or an empty text with the reason in `error`.
QString saveBackup(const MemoryBackup &backup, const QString &folder, QString *error);

// Saves what is known of the memory of the panel on COM `port` before a write
// to it. Returns why it could not, in French, or an empty text; `saved`
// receives the file's path.
QString backUpBeforeWrite(const MemoryBytes &panel, const QString &window, int port, const QString &folder,
                          QString *saved = nullptr);

// Puts the backup's bytes into the image as two-digit texts on white (changed,
// not sent); addresses it does not hold become " ".
void loadBackupInto(const MemoryBackup &backup, MemoryImage &image);
