#include "history/restore_flow.h"

#include "history/backup_view.h"
#include "history/restore_plan.h"
#include "link/configuration_window.h"
#include "link/pwsbase.h"
#include "panel/backed_up_write.h"
#include "panel/exchange.h"
#include "panel/report.h"
#include "params/parameter_window.h"
#include "port/serial_port.h"
#include "ui/change_views.h"
#include "ui/messages.h"
#include "ui/window_registry.h"

namespace {
// The whole memory goes back as the raw grid's "Envoi" sends it, with nothing
// after; the editor's range as the parameter write does, closed by "OOO" and "RRR".
void closeWrite(Exchange &exchange, const RestorePlan &plan)
{
    if (plan.first != EditorTransfer.writeFirst)
        return;
    exchange.ENVOI_TRAME(QByteArrayLiteral("31"), QByteArrayLiteral("OOO"));
    exchange.PAUSE(0.5);
    exchange.ENVOI_TRAME(QByteArrayLiteral("31"), QByteArrayLiteral("RRR"));
}
} // namespace

void restoreBackup(WindowRegistry &registry, const MemoryBackup &backup)
{
    Messages &messages = registry.services().messages;
    const RestorePlan plan = restorePlan(backup);
    if (plan.restored == 0) {
        messages.show(Messages::Icon::Exclamation, NothingToRestoreText);
        return;
    }
    if (!PORT_OUVERT(registry))
        return;
    CONFIGURATION &config = registry.configuration();
    Exchange &exchange = config.exchange();
    MemoryImage image;
    MemoryImage readBack;
    WriteOutcome outcome;
    bool readBackFailed = true;
    {
        Exchange::Scope busy(exchange);
        const auto compose = [&](const MemoryBytes &panel, bool) {
            const MemoryBytes card = restoredCard(backup, panel, plan);
            if (!registry.services().changes.show(restoreQuestion(backup, panel, card, exchange.port().commPort())))
                return false;
            for (int a = plan.first; a < plan.first + plan.count; ++a)
                image.set(a, hexText(*card[a]).rightJustified(2, QLatin1Char('0')), CellState::White);
            return true;
        };
        outcome = writeBackedUp(exchange, image, *plan.profile, backupTarget(registry, plan.window), compose);
        if (!outcome.refused() && !outcome.cancelled) {
            closeWrite(exchange, plan);
            if (!outcome.timedOut)
                readBackFailed = LIT_24C01(exchange, readBack, *plan.profile);
        }
    }
    if (outcome.failed()) {
        reportWriteEnd(exchange, messages, config.answerCheck(), outcome);
        return;
    }
    if (readBackFailed) {
        if (!exchange.port().lost())
            messages.show(Messages::Icon::Exclamation, ReadBackFailedText);
        return;
    }
    registry.window<dump_24c01>(WindowId::Parameters).showReadMemory(readBack);
    const bool verified = firstMismatch(backup, readBack.bytes(), plan) < 0;
    messages.show(verified ? Messages::Icon::Information : Messages::Icon::Exclamation,
                  verdictText(backup, readBack.bytes(), plan));
}
