#include "switches/switch_codec.h"

namespace {

SwitchBank bankFrom(quint32 byte)
{
    SwitchBank bank{};
    for (int i = 0; i < int(bank.size()); ++i)
        bank[i] = byte & (1u << i);
    return bank;
}

CardVariant variantFrom(quint32 byte)
{
    if (byte == 'T')
        return CardVariant::ThreeColour;
    if (byte == 'M')
        return CardVariant::OneColour;
    return CardVariant::None;
}

} // namespace

SwitchReading DECODE_SW(quint32 byte74, quint32 byte75, quint32 byte76)
{
    return {bankFrom(byte74), bankFrom(byte75), variantFrom(byte76)};
}
