#pragma once

#include "ui/document_opener.h"
#include "ui/messages.h"

// The production side of the seams: real message boxes and viewer (the file
// dialogs are in qt_file_dialogs.h).
class MessageBoxes : public Messages
{
public:
    void show(Icon icon, const QString &text) override;
    Answer askRetry(Icon icon, const QString &text) override;
    Answer askYesNo(Icon icon, const QString &text) override;
};

// Opens a document with the application the desktop associates with its
// type; false when there is none or it could not be started.
class DesktopDocumentOpener : public DocumentOpener
{
public:
    bool open(const QString &path) override;
};
