#pragma once

#include <QtGlobal>

#include <array>

enum class CardVariant { None, ThreeColour, OneColour };

// Index i is switch DIP(i+1) of its bank; true is ON.
using SwitchBank = std::array<bool, 8>;

struct SwitchReading
{
    SwitchBank sw3; // bank "SW3", from byte 74
    SwitchBank sw2; // bank "SW2", from byte 75
    CardVariant variant;
    bool operator==(const SwitchReading &) const = default;
};

// The bytes at addresses 74, 75 and 76 of the image read after "PPP". Only
// the low eight bits of a bank byte are switches; the variant byte is 84 ("T")
// for three colours, 77 ("M") for one.
SwitchReading DECODE_SW(quint32 byte74, quint32 byte75, quint32 byte76);
