#pragma once

#include "params/parameter_codec.h"

#include <QString>
#include <QStringList>

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
