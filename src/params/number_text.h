#pragma once

#include <QString>

#include <optional>

// Numbers as the user reads and types them: a comma as decimal separator, no
// thousands separator, no trailing zeros, no leading blank (19,9; 20; 0,1).
// Up to 15 significant digits, as the usual double-to-text conversion gives.
QString frenchNumberText(double value);

// A value held in tenths (km/h): 199 gives "19,9", 200 gives "20".
QString tenthsText(qint64 tenths);

// Exactly four decimals, rounded, with a comma (0,5556; 2,0000).
QString fourDecimalsText(double value);

// Reads a number typed the French way: comma separator, no group separator,
// blanks around it allowed. Nothing for anything else, infinities included.
std::optional<double> readFrenchNumber(const QString &text);

// Captions the parameter editor shows beside its controls.

// PLAG(i): a colour range limit in tenths, "19,9 Km/h.".
QString rangeLimitCaption(int tenths);

// The display refreshes per second for the refresh setting, cut (not rounded)
// to its first four characters: 2 gives "5,69", 1 gives "11,3".
QString refreshRateText(int setting);

// RAFR_AFF: " Affichage rafraîchi 5,69 fois par secondes.".
QString refreshCaption(int setting);

// MOYENNE, from the averaging exponent of Slider_MOY (held to 0..4).
QString averagingCaption(int exponent);

// Text7(4), from the pulse count of Slider_Nbr_IMPULS.
QString pulseCountCaption(int count);

// Text8, from the seconds of Slider_ZEROPULSE.
QString zeroPulseCaption(int seconds);
