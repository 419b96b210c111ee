#pragma once

#include <QString>

// Asks the platform to open a document with its associated application.
// False when nothing opened it (no such application, or it failed to start).
class DocumentOpener
{
public:
    virtual ~DocumentOpener() = default;
    virtual bool open(const QString &path) = 0;
};
