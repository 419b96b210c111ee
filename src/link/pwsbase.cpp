#include "link/pwsbase.h"

#include "link/configuration_window.h"
#include "panel/backup.h"
#include "panel/exchange.h"
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

BackupTarget backupTarget(WindowRegistry &registry, const QString &window)
{
    return {window, registry.configuration().MSComm1().commPort(), registry.services().backupFolder};
}

// Without an open port the transfers could only mark every cell failed.
bool rawRead(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile)
{
    return !rawExchangeAllowed(registry) || LIT_24C01(registry.configuration().exchange(), image, profile);
}

WriteOutcome rawWrite(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile,
                      const QString &window)
{
    if (!rawExchangeAllowed(registry)) {
        WriteOutcome refused;
        refused.cancelled = true;
        return refused;
    }
    CONFIGURATION &config = registry.configuration();
    const WriteOutcome outcome =
        writeBackedUp(config.exchange(), image, profile, backupTarget(registry, gridBackupWindow(window)));
    reportWriteEnd(config.exchange(), registry.services().messages, config.answerCheck(), outcome, false);
    return outcome;
}
