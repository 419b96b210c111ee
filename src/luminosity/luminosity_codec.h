#pragma once

#include <QString>

#include <optional>

// The settings of the luminosity window. The mode is the Option1 index:
// 0 the light sensor ("Capteur"), 1 to 6 the fixed levels 100% to 20%.
struct LuminositySettings
{
    std::optional<int> mode;
    quint32 period;    // seconds; 1..128 from a byte
    quint32 threshold; // day/night threshold, the byte as it stands
    bool operator==(const LuminositySettings &) const = default;
};

// Texts for cells 60, 61 and 62; no text for cell 60 leaves it as it is.
struct LuminosityCells
{
    std::optional<QString> cell60;
    QString cell61;
    QString cell62;
    bool operator==(const LuminosityCells &) const = default;
};

// The bytes at addresses 60, 61 and 62 of the window's image.
LuminositySettings DECODE_LUM(quint32 byte60, quint32 byte61, quint32 byte62);

// Period and threshold are held to 1..128 and 0..15; a mode outside 0..6
// counts as no mode.
LuminosityCells ENCODE_LUM(std::optional<int> mode, int period, int threshold);
