#pragma once

#include <QString>

class Messages;
class FileDialogs;
class DocumentOpener;
class PortMap;

// What the windows reach outside themselves, passed in so that tests can
// answer it.
struct Services
{
    Messages &messages;
    FileDialogs &files;
    DocumentOpener &documents;
    PortMap &ports;
    // Where the panels' memory is saved before every write.
    QString backupFolder;
};
