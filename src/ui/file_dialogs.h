#pragma once

#include <QString>

// The common file dialog. An empty answer means the user cancelled.
class FileDialogs
{
public:
    struct Request
    {
        QString title;
        QString filter;       // Qt form: "Label(*.ext);;Other(*.*)"
        QString proposedName; // name proposed in the dialog
    };

    virtual ~FileDialogs() = default;
    virtual QString openFileName(const Request &request) = 0;
    virtual QString saveFileName(const Request &request) = 0;
};
