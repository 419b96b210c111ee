#include "ui/dialog_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
QString key(FileDialogs::Kind kind)
{
    switch (kind) {
    case FileDialogs::Kind::ParameterFiles:
        return QStringLiteral("dossiers/parametres");
    case FileDialogs::Kind::ConfigurationFiles:
        return QStringLiteral("dossiers/configurations");
    case FileDialogs::Kind::SpeedExports:
        return QStringLiteral("dossiers/exports");
    case FileDialogs::Kind::Sheets:
        return QStringLiteral("dossiers/fiches");
    case FileDialogs::Kind::Backups:
        break;
    }
    return {};
}
} // namespace

DialogFolders::DialogFolders(QSettings &settings, const QString &documents)
    : m_settings(settings)
    , m_documents(documents)
{
}

// A folder that went away (a USB stick taken out) gives way to the documents,
// and a home without a documents folder to the home itself.
QString DialogFolders::fallback() const
{
    return QDir(m_documents).exists() ? m_documents : QDir::homePath();
}

QString DialogFolders::proposal(const FileDialogs::Request &request) const
{
    if (request.kind == FileDialogs::Kind::Backups)
        return QDir(request.proposedName).exists() ? request.proposedName : fallback();
    if (QFileInfo(request.proposedName).isAbsolute())
        return request.proposedName;
    QString folder = m_settings.value(key(request.kind)).toString();
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = fallback();
    return request.proposedName.isEmpty() ? folder : QDir(folder).filePath(request.proposedName);
}

void DialogFolders::remember(FileDialogs::Kind kind, const QString &file)
{
    if (kind == FileDialogs::Kind::Backups || file.isEmpty())
        return;
    m_settings.setValue(key(kind), QFileInfo(file).absolutePath());
    m_settings.sync();
}
