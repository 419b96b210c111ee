#include "link/pwsbase.h"

#include "link/configuration_window.h"
#include "panel/backup.h"
#include "panel/report.h"
#include "ui/messages.h"
#include "ui/window_registry.h"

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

WriteOutcome writeBackedUp(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile,
                           const QString &window)
{
    CONFIGURATION &config = registry.configuration();
    const BeforeSending backUp = [&] {
        const SerialPort &port = config.MSComm1();
        return backUpBeforeWrite(image, window, port.commPort(), port.session(), registry.services().backupFolder);
    };
    return ECRIT_24C01(config.exchange(), image, profile, backUp);
}

// Without an open port the transfers could only mark every cell failed.
void rawRead(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile)
{
    if (rawExchangeAllowed(registry))
        LIT_24C01(registry.configuration().exchange(), image, profile);
}

void rawWrite(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile, const QString &window)
{
    if (!rawExchangeAllowed(registry))
        return;
    const WriteOutcome outcome = writeBackedUp(registry, image, profile, window);
    if (outcome.refused())
        reportRefusedWrite(registry.services().messages, outcome);
}
