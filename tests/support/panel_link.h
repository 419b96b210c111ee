#pragma once

#include "port/port_map.h"
#include "port/serial_port.h"
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

// Frames the flows share: the editor's read of 64-127, the memory read of
// the other windows, the request's opening and the five "RRR" that close it.
namespace flows {
inline const QStringList editorRead = QStringList{"31 SSS", "31 SSS", "31 ZA0", "31 Y40", "31 ZA1"}
    + repeated("31 X1X", 64) + QStringList{"31 X6X", "31 RRR"};
inline const QStringList memoryRead = repeated("_31 SSS", 6) + QStringList{"_31 ZA0", "_31 Y00", "_31 ZA1"}
    + repeated("_31 X1X", 128) + QStringList{"_31 X6X"};
inline const QStringList opening = repeated("_31 SSS", 11);
inline const QStringList closing = repeated("_31 RRR", 5);
} // namespace flows

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
