#pragma once

#include "port/port_map.h"
#include "port/serial_port.h"
#include "panel/exchange.h"
#include "support/wire.h"
#include "virtual_panel.h"

#include <QStringList>

// The frames as the panel logs them, "prefix command" ("31 SSS"), a frame
// that came on a line not set up as the panel's with its line ("@9600,N,8,1").
inline QStringList frameTexts(const std::vector<sim::LoggedFrame> &frames)
{
    QStringList texts;
    for (const sim::LoggedFrame &f : frames)
        texts.append(QString::fromStdString(f.prefix + ' ' + f.command + (f.line == "4800,N,8,1" ? "" : " @" + f.line)));
    return texts;
}

// The flows' shared parts in wire notation, as they reach the port (frames,
// pauses, discards, DTR, answer waits; comparisons of frames alone skip the
// rest): a transfer's start, the editor's read of 64-127 (each request's
// pause noting what its cell shows then), the other windows' memory read, a
// request's opening and the five "RRR" that close it, a write ("_31 Y??": any
// byte; the editor's writes, from 40h, pause after each byte).
namespace flows {
inline QString start(const QString &prefix, int frames)
{
    return prefix + (frames > 1 ? QStringLiteral(" SSS*%1").arg(frames) : QStringLiteral(" SSS"))
        + "; pause 0.5; discard; DTR off; ";
}
inline const QString editorRead =
    start("31", 1) + "31 SSS; 31 ZA0; 31 Y40; 31 ZA1; {31 X1X; pause 0.02 [?]}*64; 31 X6X; 31 RRR; wait >= 404";
inline const QString memoryRead = start("_31", 5) + "_31 SSS; _31 ZA0; _31 Y00; _31 ZA1; {_31 X1X}*128; _31 X6X; wait >= 788";
inline const QString opening = "_31 SSS*11";
inline const QString closing = "_31 RRR*5";
inline QString writeFrames(int first, int pages)
{
    QString script = start("_31", 5);
    for (int page = first; page < first + 16 * pages; page += 16)
        script += "_31 SSS; _31 ZA0; _31 Y" + wire::hex(page) + (first == 0x40 ? "; {_31 Y??; pause 2e-06}*16" : "; {_31 Y??}*16")
            + "; _31 WWW; ";
    return script + QStringLiteral("wait == %1; ").arg(100 * pages);
}
inline int count(const QString &script)
{
    return int(wire::frames(script).size());
}
} // namespace flows

// The tool's serial port and exchange, opened on `device` (a virtual
// panel's pseudo-terminal unless told) mapped to COM3.
class PanelLink
{
public:
    explicit PanelLink(const sim::PanelState &state = sim::PanelState::programmed())
        : panel(state)
    {
    }

    bool open(const QString &device = {})
    {
        if (device.isEmpty() && !panel.start())
            return false;
        ports.setDevice(3, device.isEmpty() ? QString::fromStdString(panel.devicePath()) : device);
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
