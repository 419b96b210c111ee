#pragma once

#include "panel/memory_image.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// The three colours a range can take on the display. Orange is ORANGE_DEFAUT,
// which also stands for any colour that is neither pure green nor pure red.
enum class RangeColour { Green, Red, Orange };

struct ColourRange
{
    int threshold; // tenths of km/h
    RangeColour colour;
    bool operator==(const ColourRange &) const = default;
};

struct RelaySettings
{
    bool inUse;
    bool normallyClosed;
    int activation; // tenths of km/h
    int deactivation;
    bool operator==(const RelaySettings &) const = default;
};

// The speed-display parameters, one member per field of the parameter block.
// The defaults are the editor's start-up values.
struct JEU_PARAMETRES
{
    std::array<ColourRange, 5> ranges{{{199, RangeColour::Green},
                                       {399, RangeColour::Green},
                                       {799, RangeColour::Orange},
                                       {999, RangeColour::Red},
                                       {0, RangeColour::Red}}};
    RelaySettings relay1{false, false, 200, 190};
    RelaySettings relay2{false, false, 300, 290};
    int zeroPulseSeconds = 3;          // Slider_ZEROPULSE, 1..10
    std::optional<int> luminosity = 1; // Option1 index, 0 (light sensor) to 6
    std::optional<int> averaging = 2;  // Slider_MOY: 2^averaging measures, 0..4
    int refresh = 2;                   // HScroll3, 1..20
    quint32 coefficient = 723378;
    int pulseCount = 1;                // Slider_Nbr_IMPULS, 1..8
    std::optional<int> digits = 2;     // NB_DIGIT index, 1..3
    int displayMode = 0;               // AFF_TYPE index, 0..3
    int resetMode = 0;                 // RAZ_TYPE index, 0..3
    bool integerOnly = false;          // DECI_ENT(1)
    bool suppressZeros = true;         // SUPRESS(1)
    int measuringPeriod = 5;           // DURE_LDR, seconds 1..128
    int switchingThreshold = 5;        // COMP_LDR, 0..15

    bool operator==(const JEU_PARAMETRES &) const = default;
};

// A stored value that the editor's control cannot show. The decoded set holds
// the nearest value the control can show instead.
struct OutOfRangeValue
{
    QString field; // French, fit for a message: "Plage 3", "Nombre d'impulsions"
    qint64 read;
    int shown;
    bool operator==(const OutOfRangeValue &) const = default;
};

struct DecodedParameters
{
    JEU_PARAMETRES parameters;
    QString coefficientHex;     // Text5: the texts of boxes 90, 89, 88, 87 joined
    QString coefficientDecimal; // Text4
    QList<OutOfRangeValue> outOfRange;
    // The range limits stored as 0, shown as 2.
    std::array<bool, 5> zeroLimits{};
};

// True when neither marker byte (79, 80) is there: a card never programmed, or
// an image left by a failed read.
bool TEST_VIERGE(const MemoryImage &image);

// Reads boxes 64 to 98. Never fails: any text reads as some number.
DecodedParameters DECODE_PARAMETRES(const MemoryImage &image);

// Writes boxes 64 to 98, the marker included; values outside a field's range
// are held to it. Returns the eight-digit coefficient text (Text5).
QString CODE_PARAMETRES(const JEU_PARAMETRES &parameters, MemoryImage &image);

// The coefficient as Text4 shows it: the word as a signed 32-bit number.
QString coefficientDecimalText(quint32 coefficient);

// The coefficient typed in Text4: a whole number, optionally signed and
// surrounded by blanks, from -2147483648 to 4294967295 (negative numbers are
// the words with bit 31 set). Nothing for anything else.
std::optional<quint32> coefficientFromText(const QString &text);
