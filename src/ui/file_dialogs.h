#pragma once

#include <QString>

// The common file dialog. An empty answer means the user cancelled.
class FileDialogs
{
public:
    // Each kind of file starts where the user last chose one of that kind.
    enum class Kind { ParameterFiles, ConfigurationFiles, SpeedExports, Sheets, Backups };

    struct Request
    {
        Kind kind;
        QString title;
        QString filter;       // Qt form: "Label(*.ext);;Other(*.*)"
        QString proposedName; // a file name, placed in the kind's folder; for backups, their folder
    };

    virtual ~FileDialogs() = default;
    virtual QString openFileName(const Request &request) = 0;
    virtual QString saveFileName(const Request &request) = 0;
};
