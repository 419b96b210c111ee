#include "port/port_description.h"

#include "port/port_map.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStringList>

#include <algorithm>

namespace {
QString facts(const QSerialPortInfo &info)
{
    QStringList facts;
    if (!info.description().isEmpty())
        facts.append(info.description());
    if (!info.manufacturer().isEmpty())
        facts.append(info.manufacturer());
    if (!info.serialNumber().isEmpty())
        facts.append(QStringLiteral("n° de série %1").arg(info.serialNumber()));
    return facts.join(QStringLiteral(", "));
}
} // namespace

QMap<int, QString> portDescriptions(const PortMap &ports)
{
    const QList<QSerialPortInfo> available = QSerialPortInfo::availablePorts();
    QMap<int, QString> texts;
    for (int port = PortMap::FirstPort; port <= PortMap::LastPort; ++port) {
        const QString device = ports.device(port);
        QString text = QStringLiteral("COM%1: %2").arg(port).arg(device);
        // A /dev/serial/by-id name is a link; the system lists what it points to.
        const QString resolved = QFileInfo(device).canonicalFilePath();
        const auto known = std::find_if(available.begin(), available.end(), [&](const QSerialPortInfo &info) {
            return info.portName() == device || (!resolved.isEmpty() && info.systemLocation() == resolved);
        });
        if (!resolved.isEmpty() && resolved != device)
            text += QStringLiteral(" → %1").arg(resolved);
        if (known != available.end()) {
            const QString what = facts(*known);
            if (!what.isEmpty())
                text += QStringLiteral(" — ") + what;
        } else if (resolved.isEmpty()) {
            text += QStringLiteral(" (absent)");
        }
        texts.insert(port, text);
    }
    return texts;
}
