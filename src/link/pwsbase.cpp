#include "link/pwsbase.h"

#include "app/messages.h"
#include "app/window_registry.h"
#include "link/configuration_window.h"
#include "panel/backup.h"

namespace {
bool refuse(WindowRegistry &registry)
{
    registry.services().messages.show(
        Messages::Icon::Exclamation,
        QStringLiteral("Pas de port COM ouvert. Veuillez valider la Configuration dans le menu Configuration."));
    return false;
}
} // namespace

bool PORT_OUVERT(WindowRegistry &registry)
{
    return registry.configuration().portOpenFlag() || refuse(registry);
}

bool rawExchangeAllowed(WindowRegistry &registry)
{
    return registry.configuration().MSComm1().isOpen() || refuse(registry);
}

BeforeSending backUpPanelFirst(WindowRegistry &registry, const MemoryImage &image, const QString &window)
{
    return [&registry, &image, window] {
        const SerialPort &port = registry.configuration().MSComm1();
        return backUpBeforeWrite(image, window, port.commPort(), port.session(), registry.services().backupFolder);
    };
}
