#include "panel/request_bracket.h"

#include "port/serial_port.h"
#include "panel/exchange.h"
#include "panel/report.h"
#include "panel/transfer.h"
#include "ui/messages.h"

namespace {
const QByteArray prefix = QByteArrayLiteral("_31");
constexpr int SwitchBanks = 74;
constexpr int SwitchBankCount = 3;

bool leavesBracketOpen(const QString &answerCheck)
{
    return answerCheck == QLatin1String("OUI");
}
} // namespace

void openRequest(Exchange &exchange)
{
    exchange.ENVOI_TRAME(prefix, QByteArrayLiteral("SSS"), 11);
}

void closeRequest(Exchange &exchange)
{
    exchange.ENVOI_TRAME(prefix, QByteArrayLiteral("RRR"), 5);
}

bool readUnderRequest(Exchange &exchange, MemoryImage &image, const TransferProfile &profile,
                      const QString &answerCheck, Messages &messages, const std::function<void()> &show)
{
    bool timedOut = false;
    {
        Exchange::Scope busy(exchange);
        openRequest(exchange);
        exchange.ENVOI_TRAME(prefix, QByteArrayLiteral("PPP"));
        exchange.PAUSE(0.5);
        timedOut = LIT_24C01(exchange, image, profile);
        // After "PPP" the image holds the switch banks at 74-76, not memory.
        exchange.record().forget(SwitchBanks, SwitchBankCount);
        if (!timedOut)
            show();
        // A read that does not end with its own "RRR" would leave the panel
        // showing its switch banks at 74-76, where the next read would take
        // them for memory and a write would store them: close it whatever the
        // setting.
        if (!timedOut || !leavesBracketOpen(answerCheck) || !profile.closeReadWithRRR)
            closeRequest(exchange);
    }
    // Only "OUI" reports a failed read; a lost port has had its own message.
    if (timedOut && leavesBracketOpen(answerCheck) && !exchange.port().lost())
        messages.show(Messages::Icon::Exclamation, TransferErrorText);
    else if (!timedOut)
        COMPTE_RENDU(messages, answerCheck, TransferKind::Read, false, false);
    return !timedOut;
}
