#include "panel/backed_up_write.h"

#include "panel/backup.h"
#include "panel/exchange.h"
#include "port/serial_port.h"

WriteOutcome writeBackedUp(Exchange &exchange, MemoryImage &image, const TransferProfile &profile,
                           const BackupTarget &target, const ComposeWrite &compose)
{
    const int first = profile.writeFirst;
    const int count = 16 * profile.writePages;
    WriteOutcome refused;
    // A grid that cannot be sent as it stands needs no backup read.
    if (!compose) {
        if (const int invalid = firstInvalidCell(image, first, count); invalid >= 0) {
            refused.invalidAddress = invalid;
            return refused;
        }
    }
    Exchange::Scope busy(exchange);
    const bool fresh = !exchange.record().covers(exchange.session(), first, count);
    if (fresh) {
        MemoryImage panel;
        const bool failed =
            LIT_24C01(exchange, panel, profile) || !exchange.record().covers(exchange.session(), first, count);
        // A lost port has its own message; the write simply did not happen.
        if (failed && exchange.port().lost()) {
            refused.timedOut = true;
            return refused;
        }
        if (failed) {
            refused.preparationFailure = QStringLiteral("la mémoire du panneau sur COM%1 n'a pas pu être lue pour la "
                                                        "sauvegarder. Vérifiez la liaison puis recommencez.")
                                             .arg(target.port);
            return refused;
        }
    }
    const MemoryBytes known = exchange.record().known(exchange.session());
    if (compose && !compose(known, fresh)) {
        refused.cancelled = true;
        return refused;
    }
    if (const int invalid = firstInvalidCell(image, first, count); invalid >= 0) {
        refused.invalidAddress = invalid;
        return refused;
    }
    QString saved;
    const QString failure = backUpBeforeWrite(known, target.window, target.port, target.folder, &saved);
    if (!failure.isEmpty()) {
        refused.preparationFailure = failure;
        return refused;
    }
    WriteOutcome outcome = ECRIT_24C01(exchange, image, profile);
    outcome.backup = saved;
    return outcome;
}
