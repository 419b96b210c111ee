#include "params/live_speed_exchange.h"

#include "panel/exchange.h"

std::optional<LiveSpeed> requestLiveSpeed(Exchange &exchange)
{
    Exchange::Scope busy(exchange);
    exchange.takeAnswer();
    for (const QByteArray &command :
         {QByteArrayLiteral("AAA"), QByteArrayLiteral("BBB"), QByteArrayLiteral("CCC"), QByteArrayLiteral("DDD")})
        exchange.ENVOI_TRAME(QByteArrayLiteral("31"), command);
    exchange.PAUSE(0.5);
    return decodeLiveSpeed(exchange.takeAnswer());
}
