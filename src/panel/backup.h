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
    QString window; // the window whose image it is: "dump_24c01", "LUM", or its grid "LUM.Text1"
    int port = 0;   // COM number
    QDateTime takenAt;
    MemoryBytes bytes; // nothing: address not read
    QString name{};    // the panel's, as the user gave it; files of older versions have none

    bool operator==(const MemoryBackup &) const = default;
};

// What made a backup: a window's own write, or its raw grid's "Envoi".
enum class BackupSource { Parameters, Grid, Luminosity, Other };
BackupSource backupSource(const QString &window);
// The window field of a backup made by the raw grid of `window`.
QString gridBackupWindow(const QString &window);

// A name stays one short line.
constexpr int BackupNameLength = 60;

QByteArray backupText(const MemoryBackup &backup);
// Nothing when the bytes are not such a file; `error` then says why, in French.
std::optional<MemoryBackup> readBackup(const QByteArray &file, QString *error = nullptr);

// <data folder>/sauvegardes
QString backupFolder();
// Writes the backup in the folder under a name that says when, where and what
// (2026-12-06_20-45-59_COM3_parametres.kvlmem), never over another file;
// returns the file's path, or an empty text with the reason in `error`.
QString saveBackup(const MemoryBackup &backup, const QString &folder, QString *error);
// Writes the backup over its own file, as a name is given to it.
bool rewriteBackup(const MemoryBackup &backup, const QString &path, QString *error);

// Saves what is known of the memory of the panel on COM `port` before a write
// to it. Returns why it could not, in French, or an empty text; `saved`
// receives the file's path.
QString backUpBeforeWrite(const MemoryBytes &panel, const QString &window, int port, const QString &folder,
                          QString *saved = nullptr);

// Puts the backup's bytes into the image as two-digit texts on white (changed,
// not sent); addresses it does not hold become " ".
void loadBackupInto(const MemoryBackup &backup, MemoryImage &image);
