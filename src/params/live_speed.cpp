#include "params/live_speed.h"

#include "panel/memory_image.h"

namespace {

constexpr int AnswerLength = 24;

// Characters 4 and 5 of two consecutive 6-character answers, high byte first.
quint32 wordFrom(const QByteArray &answer, int firstAnswer)
{
    const int high = 6 * firstAnswer + 3;
    const int low = high + 6;
    const QByteArray digits = answer.mid(high, 2) + answer.mid(low, 2);
    return hexPrefixValue(QString::fromLatin1(digits));
}

// The bytes are taken from their places only; what surrounds them differs
// from panel to panel. Places without two hexadecimal digits are no reading.
bool bytesInPlace(const QByteArray &answer)
{
    for (int part = 0; part < 4; ++part) {
        if (!holdsValidByte(QString::fromLatin1(answer.mid(6 * part + 3, 2))))
            return false;
    }
    return true;
}

} // namespace

std::optional<LiveSpeed> decodeLiveSpeed(const QByteArray &answer)
{
    if (answer.size() != AnswerLength || !bytesInPlace(answer))
        return std::nullopt;
    // Only the low 14 bits of the maximum are speed.
    return LiveSpeed{int(wordFrom(answer, 0) & 0x3FFF), int(wordFrom(answer, 2))};
}

QString instantaneousSpeedCaption(int tenths)
{
    return QStringLiteral(" Vitesse instantanée : ") + speedText(tenths) + QStringLiteral(" Km/h.");
}

QString maximumSpeedCaption(int tenths)
{
    return QStringLiteral(" Maximum enregistré: ") + speedText(tenths) + QStringLiteral(" Km/h.");
}
