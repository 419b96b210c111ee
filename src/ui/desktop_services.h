#pragma once

#include "ui/document_opener.h"
#include "ui/file_dialogs.h"
#include "ui/messages.h"

// The production side of the seams: real message boxes, dialogs and viewer.
class MessageBoxes : public Messages
{
public:
    void show(Icon icon, const QString &text) override;
    Answer askRetry(Icon icon, const QString &text) override;
    Answer askYesNo(Icon icon, const QString &text) override;
};

class QtFileDialogs : public FileDialogs
{
public:
    QString openFileName(const Request &request) override;
    QString saveFileName(const Request &request) override;
};

class DesktopDocumentOpener : public DocumentOpener
{
public:
    bool open(const QString &path) override;
};
