#pragma once

#include "link/port_map.h"
#include "link/serial_port.h"
#include "panel/exchange.h"
#include "virtual_panel.h"

#include <QStringList>

// The tool's serial port and exchange, opened on a virtual panel's
// pseudo-terminal (mapped to COM3).
class PanelLink
{
public:
    explicit PanelLink(const sim::PanelState &state = sim::PanelState::programmed());

    bool open();
    // The frames the panel received, as "prefix command" ("31 SSS"), once
    // at least `expected` have arrived (or a second has passed).
    QStringList frames(std::size_t expected = 0) const;

    sim::VirtualPanel panel;
    PortMap ports;
    SerialPort port{ports};
    Exchange exchange{port};
};

// The frames as the panel logs them.
QStringList frameTexts(const std::vector<sim::LoggedFrame> &frames);
// "prefix command" repeated.
QStringList repeated(const QString &frame, int times);
