#pragma once

#include <QString>

class Messages;
class FileDialogs;
class DocumentOpener;
class ChangeViews;
class PortMap;

// What the windows reach outside themselves, passed in so that tests can
// answer it.
struct Services
{
    Messages &messages;
    FileDialogs &files;
    DocumentOpener &documents;
    // What is about to change on a panel, shown before it is sent.
    ChangeViews &changes;
    PortMap &ports;
    // Where the panels' memory is saved before every write.
    QString backupFolder;
};
