#include "link/pwsbase.h"

#include "app/messages.h"
#include "app/window_registry.h"
#include "link/configuration_window.h"

bool PORT_OUVERT(WindowRegistry &registry)
{
    if (registry.configuration().portOpenFlag())
        return true;
    registry.services().messages.show(
        Messages::Icon::Exclamation,
        QStringLiteral("Pas de port COM ouvert. Veuillez valider la Configuration dans le menu Configuration."));
    return false;
}

bool rawExchangeAllowed(WindowRegistry &registry)
{
    if (registry.configuration().MSComm1().isOpen())
        return true;
    registry.configuration().setPortOpenFlag(false);
    return PORT_OUVERT(registry);
}
