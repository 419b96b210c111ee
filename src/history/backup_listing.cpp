#include "history/backup_listing.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {
// A backup is a few hundred bytes; anything much longer is read no further.
constexpr qint64 ReadLimit = 64 * 1024 + 1;

std::optional<MemoryBackup> readFile(const QString &path, QString *error = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return readBackup(file.read(ReadLimit), error);
}
} // namespace

BackupListing listBackups(const QString &folder)
{
    BackupListing listing;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo &info : files) {
        if (std::optional<MemoryBackup> backup = readFile(info.filePath()))
            listing.entries.append({info.filePath(), *backup});
        else
            ++listing.unreadable;
    }
    // Two backups of one second: the later file name (numbered) is the later.
    std::stable_sort(listing.entries.begin(), listing.entries.end(), [](const BackupEntry &a, const BackupEntry &b) {
        if (a.backup.takenAt != b.backup.takenAt)
            return a.backup.takenAt > b.backup.takenAt;
        return a.path > b.path;
    });
    return listing;
}

int previousOfSamePort(const BackupListing &listing, int index)
{
    for (qsizetype i = index + 1; i < listing.entries.size(); ++i) {
        if (listing.entries[i].backup.port == listing.entries[index].backup.port)
            return int(i);
    }
    return -1;
}

int knownByteCount(const MemoryBytes &bytes)
{
    return int(std::count_if(bytes.begin(), bytes.end(), [](const std::optional<quint8> &b) { return b.has_value(); }));
}

QString sourceInWords(const QString &window)
{
    switch (backupSource(window)) {
    case BackupSource::Parameters:
        return QStringLiteral("Paramètres");
    case BackupSource::Grid:
        return QStringLiteral("Grille mémoire");
    case BackupSource::Luminosity:
        return QStringLiteral("Luminosité");
    case BackupSource::Other:
        break;
    }
    return window;
}

QString unreadableText(int count)
{
    if (count <= 0)
        return {};
    if (count == 1)
        return QStringLiteral("1 fichier illisible ignoré.");
    return QStringLiteral("%1 fichiers illisibles ignorés.").arg(count);
}

bool nameBackup(const QString &path, const QString &name, QString *error)
{
    QString why;
    std::optional<MemoryBackup> backup = readFile(path, &why);
    if (!backup) {
        *error = QStringLiteral("%1 : %2").arg(path, why);
        return false;
    }
    backup->name = name.simplified().left(BackupNameLength);
    return rewriteBackup(*backup, path, error);
}
