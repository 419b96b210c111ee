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

WriteOutcome writeBackedUp(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile,
                           const QString &window, const ComposeWrite &compose)
{
    CONFIGURATION &config = registry.configuration();
    Exchange &exchange = config.exchange();
    const int first = profile.writeFirst;
    const int count = 16 * profile.writePages;
    // A grid that cannot be sent as it stands needs no backup read.
    if (!compose) {
        if (const int invalid = firstInvalidCell(image, first, count); invalid >= 0)
            return {false, invalid, {}};
    }
    Exchange::Scope busy(exchange);
    const bool fresh = !exchange.record().covers(exchange.session(), first, count);
    if (fresh) {
        MemoryImage panel;
        const bool failed =
            LIT_24C01(exchange, panel, profile) || !exchange.record().covers(exchange.session(), first, count);
        // A lost port has its own message; the write simply did not happen.
        if (failed && exchange.port().lost())
            return {true, -1, {}};
        if (failed)
            return {false, -1,
                    QStringLiteral("la mémoire du panneau sur COM%1 n'a pas pu être lue pour la sauvegarder. "
                                   "Vérifiez la liaison puis recommencez.")
                        .arg(config.MSComm1().commPort())};
    }
    const MemoryBytes known = exchange.record().known(exchange.session());
    if (compose)
        compose(known, fresh);
    if (const int invalid = firstInvalidCell(image, first, count); invalid >= 0)
        return {false, invalid, {}};
    const QString failure =
        backUpBeforeWrite(known, window, config.MSComm1().commPort(), registry.services().backupFolder);
    if (!failure.isEmpty())
        return {false, -1, failure};
    return ECRIT_24C01(exchange, image, profile);
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
