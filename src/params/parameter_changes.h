#pragma once

#include "panel/memory_image.h"
#include "params/editor_settings.h"
#include "ui/change_views.h"

#include <QList>
#include <QString>

// One setting of the parameter block in the editor's words: its caption as
// the editor and the commissioning sheet word it, and values as the editor
// shows them ("8", "Normalement FERMÉ.", "19,9 Km/h", "rouge").
struct SettingValue
{
    int setting; // which one; -1 for a run of bytes outside the block
    QString caption;
    QString value;
    bool operator==(const SettingValue &) const = default;
};

// A setting whose value is not the same on two cards.
struct SettingChange
{
    int setting; // -1 for a run of bytes outside the parameter block
    QString caption;
    QString from;
    QString to;
    bool operator==(const SettingChange &) const = default;
};

// The parameter block: addresses 64 to 98.
constexpr int ParameterBlockFirst = 64;
constexpr int ParameterBlockSize = 35;

// The settings a card's block holds, in the order of the editor's pages. A
// value whose bytes are unknown reads "inconnu"; a card without its marker
// holds none ("non programmé").
QList<SettingValue> parameterValues(const MemoryBytes &card);

// Every setting whose value differs between the two cards' blocks, one row
// each; a value the card derives from others (the coefficient) is one row.
// Bytes that hold no setting (the marker's last letter, the reserved bytes,
// the flag bits a deactivation word ignores) give none.
QList<SettingChange> parameterChanges(const MemoryBytes &from, const MemoryBytes &to);

// The bytes outside the parameter block that differ where both are known,
// one row per run of addresses ("Octets 63h à 65h", "01 02 03" → "04 05 06").
QList<SettingChange> memoryChanges(const MemoryBytes &from, const MemoryBytes &to);

// Both: the rows a list of changes shows between two cards.
QList<SettingChange> cardChanges(const MemoryBytes &from, const MemoryBytes &to);

// The changes as the changes view lists them.
QList<ChangeRow> changeRows(const QList<SettingChange> &changes);

// The numbers of the settings the editor keeps more than a value for: the
// coefficient (with its distance and constant) and the range limits (0 to 3,
// and 4 the programmed maximum), which a card may store as 0.
int coefficientSetting();
int rangeLimitSetting(int range);

// The given settings (parameterChanges' `setting`) of `source` put into `target`.
void takeSettings(EditorSettings &target, const EditorSettings &source, const QList<int> &settings);

// The card after a write of these parameters over `base`: the block encoded
// as the write encodes it; a field without a choice keeps `base`'s byte.
MemoryBytes withParameters(const MemoryBytes &base, const JEU_PARAMETRES &parameters);

// The card after a write of the editor in `state` over `base`; nothing when
// its coefficient cannot be had.
std::optional<MemoryBytes> withEditorState(const MemoryBytes &base, const EditorState &state);
