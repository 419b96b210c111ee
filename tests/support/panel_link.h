#pragma once

#include "link/port_map.h"
#include "link/serial_port.h"
#include "panel/exchange.h"
#include "virtual_panel.h"

#include <QStringList>

// The frames as the panel logs them, "prefix command" ("31 SSS").
inline QStringList frameTexts(const std::vector<sim::LoggedFrame> &frames)
{
    QStringList texts;
    for (const sim::LoggedFrame &f : frames)
        texts.append(QString::fromStdString(f.prefix + ' ' + f.command));
    return texts;
}

// "prefix command" repeated.
inline QStringList repeated(const QString &frame, int times)
{
    return QStringList(times, frame);
}

// The tool's serial port and exchange, opened on a virtual panel's
// pseudo-terminal (mapped to COM3).
class PanelLink
{
public:
    explicit PanelLink(const sim::PanelState &state = sim::PanelState::programmed())
        : panel(state)
    {
    }

    bool open()
    {
        if (!panel.start())
            return false;
        ports.setDevice(3, QString::fromStdString(panel.devicePath()));
        port.setCommPort(3);
        port.setSettings(QStringLiteral("4800,N,8,1"));
        return port.open();
    }
    // The frames the panel received, once at least `expected` have arrived
    // (or a second has passed).
    QStringList frames(std::size_t expected = 0) const
    {
        panel.waitForFrames(expected, std::chrono::seconds(1));
        return frameTexts(panel.frames());
    }

    sim::VirtualPanel panel;
    PortMap ports;
    SerialPort port{ports};
    Exchange exchange{port};
};
