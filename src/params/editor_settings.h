#pragma once

#include "params/parameter_codec.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>

// What the parameter editor holds beyond the parameter block's fields: the
// texts from which the write computes the speed coefficient.
struct EditorSettings
{
    JEU_PARAMETRES parameters;
    QString dimpulse = QStringLiteral("1,11111"); // Dimpulse, metres for the chosen pulse count
    QString etalon = QStringLiteral("400000");    // the factory constant
    QString coefficient = QStringLiteral("723378"); // Text4

    bool operator==(const EditorSettings &) const = default;
};

// The Dimpulse and etalon texts a coefficient was read or calculated with.
using CoefficientSource = std::pair<QString, QString>;

// Everything in the editor that decides what a parameter write programs.
struct EditorState
{
    EditorSettings settings;
    // Set after a read or a calculation: Text4's coefficient stands while
    // Dimpulse and etalon still hold these texts.
    std::optional<CoefficientSource> coefficientSource;
    // Range limits the card stores as 0, which the sliders show as 2.
    std::array<bool, 5> zeroLimits{};
};

// The coefficient a write programs: Text4's while the texts it was derived
// from stand, calculated from Dimpulse and etalon otherwise. Nothing when it
// cannot be had.
std::optional<quint32> coefficientToSend(const EditorState &state);

// The parameters a write programs, the coefficient given; a limit the card
// stores as 0, left as the slider showed it, stays 0.
JEU_PARAMETRES parametersToSend(const EditorState &state, quint32 coefficient);

// The source the editor takes for settings shown as they stand (a file's):
// the distance the coefficient gives with the constant, and the constant.
CoefficientSource coefficientSourceOf(const EditorSettings &settings);

// The Dimpulse a read shows for a coefficient: coefficient / factory
// constant; nothing without a usable constant.
std::optional<QString> distancePerPulseText(const QString &coefficient, const QString &etalon);

// The editor's own captions, indexed as its option groups are.
namespace EditorCaptions {
const QStringList &digits();       // NB_DIGIT, index 1..3 (0 unused)
const QStringList &decimals();     // DECI_ENT, index 1..2 (0 unused)
const QStringList &suppression();  // SUPRESS, index 1..2 (0 unused)
const QStringList &resetModes();   // RAZ_TYPE, 0..3
const QStringList &displayModes(); // AFF_TYPE, 0..3
const QStringList &luminosity();   // Option1, 0..6
const QStringList &contacts();     // Option3 / Option4 tooltips, 0 open, 1 closed
const QStringList &relayStates();  // Check1 / Check2 captions, 0 "Non", 1 "Oui"
const QStringList &colours();      // indexed by RangeColour: "vert", "rouge", "orange"
} // namespace EditorCaptions
