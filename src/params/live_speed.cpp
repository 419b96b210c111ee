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

// Each part framed as the panel frames its answers: "01", STX, two
// hexadecimal digits, ETX. A garbled line can deliver 24 other characters.
bool wellFramed(const QByteArray &answer)
{
    for (int part = 0; part < 4; ++part) {
        const QByteArray a = answer.mid(6 * part, 6);
        if (!a.startsWith("01\x02") || a[5] != '\x03' || !holdsValidByte(QString::fromLatin1(a.mid(3, 2))))
            return false;
    }
    return true;
}

} // namespace

std::optional<LiveSpeed> decodeLiveSpeed(const QByteArray &answer)
{
    if (answer.size() != AnswerLength || !wellFramed(answer))
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
