#include "port/port_map.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

PortMap::PortMap()
{
#ifdef Q_OS_WIN
    for (int n = FirstPort; n <= LastPort; ++n)
        m_devices[n] = QStringLiteral("COM%1").arg(n);
#else
    static const char *const defaults[] = {
        "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0",
        "/dev/ttyACM1", "/dev/ttyUSB2", "/dev/ttyUSB3", "/dev/ttyUSB4", "/dev/ttyUSB5",
        "/dev/ttyS2",   "/dev/ttyS3",   "/dev/ttyS4",   "/dev/ttyS5",
    };
    for (int n = FirstPort; n <= LastPort; ++n)
        m_devices[n] = QString::fromLatin1(defaults[n - FirstPort]);
#endif
}

QString PortMap::device(int port) const
{
    return m_devices.value(port);
}

void PortMap::setDevice(int port, const QString &device)
{
    if (port >= FirstPort && port <= LastPort)
        m_devices[port] = device;
}

QStringList PortMap::loadOverrides(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {QStringLiteral("%1 : lecture impossible (%2).").arg(path, file.errorString())};
    return applyOverrides(QString::fromUtf8(file.read(64 * 1024)));
}

QStringList PortMap::applyOverrides(const QString &text)
{
    static const QRegularExpression line(QStringLiteral("^\\s*COM(\\d{1,2})\\s*=\\s*(\\S.*?)\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList problems;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const QRegularExpressionMatch m = line.match(trimmed);
        const int port = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (port < FirstPort || port > LastPort) {
            problems.append(QStringLiteral("ports.conf, ligne %1 ignorée : « %2 »").arg(i + 1).arg(trimmed));
            continue;
        }
        m_devices[port] = m.captured(2);
    }
    return problems;
}

QString PortMap::overridesFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/ports.conf");
}
