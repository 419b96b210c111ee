#include "panel/backup.h"

#include "panel/memory_image.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
const QByteArray Header = QByteArrayLiteral("KVL_PWS sauvegarde 24C01");
constexpr qsizetype MaximumSize = 64 * 1024;

QByteArray field(const QList<QByteArray> &lines, int index, const QByteArray &name)
{
    if (index >= lines.size() || !lines[index].startsWith(name + '='))
        return {};
    return lines[index].mid(name.size() + 1).trimmed();
}

std::optional<MemoryBackup> refuse(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return std::nullopt;
}
} // namespace

BackupSource backupSource(const QString &window)
{
    if (window.endsWith(QLatin1String(".Text1")))
        return BackupSource::Grid;
    if (window == QLatin1String("dump_24c01"))
        return BackupSource::Parameters;
    if (window == QLatin1String("LUM"))
        return BackupSource::Luminosity;
    return BackupSource::Other;
}

QString gridBackupWindow(const QString &window)
{
    return window + QStringLiteral(".Text1");
}

QByteArray backupText(const MemoryBackup &backup)
{
    QByteArray text = Header + '\n';
    text += "fenetre=" + backup.window.toUtf8() + '\n';
    text += "port=COM" + QByteArray::number(backup.port) + '\n';
    text += "date=" + backup.takenAt.toString(Qt::ISODate).toUtf8() + '\n';
    const QString name = backup.name.simplified().left(BackupNameLength);
    if (!name.isEmpty())
        text += "nom=" + name.toUtf8() + '\n';
    for (int row = 0; row < 8; ++row) {
        text += QByteArray::number(row) + "x:";
        for (int column = 0; column < 16; ++column) {
            const std::optional<quint8> byte = backup.bytes[16 * row + column];
            text += ' ' + (byte ? QByteArray::number(*byte, 16).toUpper().rightJustified(2, '0') : "--");
        }
        text += '\n';
    }
    return text;
}

std::optional<MemoryBackup> readBackup(const QByteArray &file, QString *error)
{
    if (file.size() > MaximumSize || file.contains('\0'))
        return refuse(error, QStringLiteral("ce n'est pas une sauvegarde de mémoire."));
    QList<QByteArray> lines = file.split('\n');
    for (QByteArray &line : lines)
        line = line.trimmed();
    if (lines.value(0) != Header)
        return refuse(error, QStringLiteral("ce n'est pas une sauvegarde de mémoire."));

    MemoryBackup backup;
    backup.window = QString::fromUtf8(field(lines, 1, "fenetre"));
    const QByteArray port = field(lines, 2, "port");
    bool portOk = false;
    backup.port = port.startsWith("COM") ? port.mid(3).toInt(&portOk) : 0;
    backup.takenAt = QDateTime::fromString(QString::fromUtf8(field(lines, 3, "date")), Qt::ISODate);
    if (backup.window.isEmpty() || !portOk || !backup.takenAt.isValid())
        return refuse(error, QStringLiteral("en-tête illisible."));
    // Files of older versions have no name line.
    const int rows = lines.value(4).startsWith("nom=") ? 5 : 4;
    backup.name = QString::fromUtf8(field(lines, 4, "nom")).left(BackupNameLength);
    for (int row = 0; row < 8; ++row) {
        const QList<QByteArray> cells = lines.value(rows + row).simplified().split(' ');
        if (cells.size() != 17 || cells[0] != QByteArray::number(row) + "x:")
            return refuse(error, QStringLiteral("ligne %1 illisible.").arg(rows + 1 + row));
        for (int column = 0; column < 16; ++column) {
            const QByteArray &cell = cells[column + 1];
            if (cell == "--")
                continue;
            bool ok = false;
            const int value = cell.toInt(&ok, 16);
            if (!ok || cell.size() != 2)
                return refuse(error, QStringLiteral("ligne %1 illisible.").arg(rows + 1 + row));
            backup.bytes[16 * row + column] = quint8(value);
        }
    }
    return backup;
}

QString backupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/sauvegardes");
}

namespace {
// The window in words a file dialog shows whole.
QString sourceWord(const QString &window)
{
    switch (backupSource(window)) {
    case BackupSource::Parameters:
        return QStringLiteral("parametres");
    case BackupSource::Grid:
        return QStringLiteral("grille");
    case BackupSource::Luminosity:
        return QStringLiteral("luminosite");
    case BackupSource::Other:
        break;
    }
    return QStringLiteral("memoire");
}

bool writeFile(const MemoryBackup &backup, const QString &path, QString *error)
{
    QSaveFile file(path);
    const QByteArray text = backupText(backup);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        *error = QStringLiteral("%1 : %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
} // namespace

QString saveBackup(const MemoryBackup &backup, const QString &folder, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("impossible de créer le dossier %1").arg(folder);
        return {};
    }
    const QString stem = QStringLiteral("%1/%2_COM%3_%4")
                             .arg(folder, backup.takenAt.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")))
                             .arg(backup.port)
                             .arg(sourceWord(backup.window));
    // Two writes in one second: the second file takes a number.
    QString name = stem + QStringLiteral(".kvlmem");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = QStringLiteral("%1_%2.kvlmem").arg(stem).arg(n, 2, 10, QLatin1Char('0'));
    return writeFile(backup, name, error) ? name : QString();
}

bool rewriteBackup(const MemoryBackup &backup, const QString &path, QString *error)
{
    return writeFile(backup, path, error);
}

QString backUpBeforeWrite(const MemoryBytes &panel, const QString &window, int port, const QString &folder,
                          QString *saved)
{
    QString error;
    const MemoryBackup backup{window, port, QDateTime::currentDateTime(), panel, {}};
    const QString path = saveBackup(backup, folder, &error);
    if (path.isEmpty())
        return QStringLiteral("la sauvegarde de la mémoire du panneau a échoué (%1).").arg(error);
    if (saved)
        *saved = path;
    return {};
}

void loadBackupInto(const MemoryBackup &backup, MemoryImage &image)
{
    for (int k = 0; k < MemoryImage::Size; ++k) {
        const std::optional<quint8> byte = backup.bytes[k];
        image.set(k, byte ? hexText(*byte).rightJustified(2, QLatin1Char('0')) : QStringLiteral(" "),
                  CellState::White);
    }
}
