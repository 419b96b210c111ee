#include "luminosity/luminosity_codec.h"

#include "panel/memory_image.h"

#include <QStringList>

#include <algorithm>

namespace {

// Indexed by mode. The sensor's code also sets bit 5; bit 0 is tested last on
// reading, so it still wins.
const QStringList &modeCodes()
{
    static const QStringList codes{QStringLiteral("21"), QStringLiteral("02"), QStringLiteral("04"),
                                   QStringLiteral("08"), QStringLiteral("10"), QStringLiteral("20"),
                                   QStringLiteral("40")};
    return codes;
}

constexpr int ModeBitsInReadingOrder[] = {1, 2, 3, 4, 5, 6, 0}; // bit i selects mode i

} // namespace

LuminositySettings DECODE_LUM(quint32 byte60, quint32 byte61, quint32 byte62)
{
    std::optional<int> mode;
    for (int bit : ModeBitsInReadingOrder) {
        if (byte60 & (1u << bit))
            mode = bit;
    }
    return {mode, byte61 / 2 + 1, byte62};
}

LuminosityCells ENCODE_LUM(std::optional<int> mode, int period, int threshold)
{
    LuminosityCells cells;
    if (mode && *mode >= 0 && *mode < modeCodes().size())
        cells.cell60 = modeCodes().at(*mode);
    cells.cell61 = hexText(quint32(2 * std::clamp(period, 1, 128) - 1));
    cells.cell62 = hexText(quint32(std::clamp(threshold, 0, 15)));
    return cells;
}
