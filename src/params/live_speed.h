#pragma once

#include "params/number_text.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The speeds the panel reports, in tenths of km/h.
struct LiveSpeed
{
    int maximum;       // the recorded maximum, 14 bits
    int instantaneous; // 16 bits
    bool operator==(const LiveSpeed &) const = default;
};

// The answer to the four speed requests: four 6-character answers, each with
// one byte in its characters 4 and 5. Nothing unless it is exactly 24
// characters long and each of those places holds two hexadecimal digits.
std::optional<LiveSpeed> decodeLiveSpeed(const QByteArray &answer);

// A speed as shown: 125 gives "12,5", 120 gives "12".
inline QString speedText(int tenths)
{
    return tenthsText(tenths);
}

// VITESSE_VENT and VITESSE_VENT_MAX after a reading.
QString instantaneousSpeedCaption(int tenths);
QString maximumSpeedCaption(int tenths);
