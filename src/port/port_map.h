#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Which device stands behind each COM number. The defaults follow the usual
// Linux names (the first USB adapter is COM3, the tool's default port); a
// ports.conf of "COMn=/path" lines in the user's configuration folder
// overrides them.
class PortMap
{
public:
    static constexpr int FirstPort = 1;
    static constexpr int LastPort = 14;

    PortMap();

    QString device(int port) const;
    void setDevice(int port, const QString &device);

    // Reads overrides from a file; a missing file is no error. Lines that
    // cannot be used are returned as French explanations, the rest applies.
    QStringList loadOverrides(const QString &path);
    // Same, from the text of such a file.
    QStringList applyOverrides(const QString &text);

    // <configuration folder>/ports.conf
    static QString overridesFile();

private:
    QMap<int, QString> m_devices;
};
