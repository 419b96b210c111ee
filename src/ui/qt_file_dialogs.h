#pragma once

#include "ui/dialog_folders.h"
#include "ui/file_dialogs.h"

#include <QFileDialog>

class QSettings;

// The production file dialogs: Qt's own dialog, which speaks the tool's
// French whatever the desktop's language (a native one follows the desktop),
// starting in the folder DialogFolders proposes.
class QtFileDialogs : public FileDialogs
{
public:
    QtFileDialogs(QSettings &settings, const QString &documents);

    QString openFileName(const Request &request) override;
    QString saveFileName(const Request &request) override;

private:
    QString choose(const Request &request, QFileDialog::AcceptMode mode);

    DialogFolders m_folders;
};
