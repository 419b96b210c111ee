#include "app/windows.h"

#include "app/help_window.h"
#include "history/history_window.h"
#include "link/configuration_window.h"
#include "link/detection_window.h"
#include "luminosity/luminosity_window.h"
#include "monitor/monitor_window.h"
#include "params/parameter_window.h"
#include "switches/switch_window.h"
#include "ui/window_registry.h"

#include <QWidget>

void installWindows(WindowRegistry &registry)
{
    const Qt::WindowFlags minimisable = Qt::WindowMinimizeButtonHint;
    const WindowRegistry::Options fixed = WindowRegistry::FixedBorder;
    // The link settings window holds the port: closing it must not close the port.
    registry.setFactory(
        WindowId::Configuration, [](WindowRegistry &r) { return new CONFIGURATION(r); }, minimisable,
        WindowRegistry::HideOnClose);
    registry.setFactory(
        WindowId::Detection, [](WindowRegistry &r) { return new DETECT(r); }, minimisable);
    registry.setFactory(
        WindowId::Parameters, [](WindowRegistry &r) { return new dump_24c01(r); }, minimisable, fixed);
    registry.setFactory(
        WindowId::Switches, [](WindowRegistry &r) { return new SW(r); }, {}, fixed);
    registry.setFactory(
        WindowId::Luminosity, [](WindowRegistry &r) { return new LUM(r); }, {}, fixed);
    registry.setFactory(
        WindowId::SpeedMonitor, [](WindowRegistry &r) { return new SURVEILLANCE(r); }, minimisable);
    registry.setFactory(
        WindowId::Help, [](WindowRegistry &) { return new HelpWindow; }, minimisable | Qt::WindowMaximizeButtonHint);
    registry.setFactory(
        WindowId::History, [](WindowRegistry &r) { return new HistoryWindow(r); },
        minimisable | Qt::WindowMaximizeButtonHint);
}
