#pragma once

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
};
