#pragma once

#include <QString>

// Asks the platform to open a document with its associated application.
class DocumentOpener
{
public:
    virtual ~DocumentOpener() = default;
    virtual bool open(const QString &path) = 0;
};
