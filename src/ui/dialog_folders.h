#pragma once

#include "ui/file_dialogs.h"

#include <QString>

class QSettings;

// Where each kind of file dialog starts: the folder of the file the user last
// chose of that kind (kept in the settings, so across runs), the documents
// folder before that. Backups start in their own folder, which the request
// names. Proposals are absolute: the process's current folder never matters.
class DialogFolders
{
public:
    DialogFolders(QSettings &settings, const QString &documents);

    // The folder, with the request's proposed name in it when it has one.
    QString proposal(const FileDialogs::Request &request) const;
    // The user chose `file` in a dialog of this kind.
    void remember(FileDialogs::Kind kind, const QString &file);

private:
    QString fallback() const;

    QSettings &m_settings;
    QString m_documents;
};
