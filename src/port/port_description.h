#pragma once

#include <QMap>
#include <QString>

class PortMap;

// What stands behind each COM number, as the user is told it: the device's
// path and, for an adapter the system knows (USB), its description,
// manufacturer and serial number. A device that does not exist says so.
// One listing of the system's ports serves every COM number.
QMap<int, QString> portDescriptions(const PortMap &ports);
