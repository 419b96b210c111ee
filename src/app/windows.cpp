#include "app/windows.h"

#include "app/window_registry.h"
#include "link/configuration_window.h"
#include "link/detection_window.h"

#include <QWidget>

namespace {
// A window whose content is still to come: its frame and title only.
QWidget *emptyWindow(const char *name, const char *title)
{
    auto *w = new QWidget;
    w->setObjectName(QString::fromLatin1(name));
    w->setWindowTitle(QString::fromUtf8(title));
    w->resize(400, 300);
    return w;
}
} // namespace

void installWindows(WindowRegistry &registry)
{
    const Qt::WindowFlags minimisable = Qt::WindowMinimizeButtonHint;
    registry.setFactory(
        WindowId::Configuration, [](WindowRegistry &r) { return new CONFIGURATION(r); }, minimisable);
    registry.setFactory(
        WindowId::Detection, [](WindowRegistry &r) { return new DETECT(r); }, minimisable);
    registry.setFactory(
        WindowId::Parameters, [](WindowRegistry &) { return emptyWindow("dump_24c01", " Paramètres."); },
        minimisable);
    registry.setFactory(WindowId::Switches, [](WindowRegistry &) {
        return emptyWindow("SW", " Lecture de la configuration des microswitches.");
    });
    registry.setFactory(WindowId::Luminosity, [](WindowRegistry &) { return emptyWindow("LUM", " Luminosité."); });
}
