#pragma once

#include "params/editor_settings.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

// The parameter file that carries one panel's settings to a series of
// panels: UTF-8 text, a first line naming the format and its version, then
// one "name = value" line per setting, the name being the editor control's
// and the value written as the editor shows it (decimal comma, captions).
// It never holds the card's own bytes (99 to 127) nor anything else of the
// memory image: a write keeps each panel's own.
//
// A name keeps its meaning in every version of the format; a version that
// changes a meaning gives the setting a new name. So a file of any version is
// read by name: settings it lacks keep the editor's values, names this version
// does not know are ignored, and both are reported.
constexpr int ParameterFileVersion = 1;
constexpr qsizetype ParameterFileLimit = 64 * 1024;

QByteArray parameterFileText(const EditorSettings &settings);

struct LoadedParameters
{
    EditorSettings settings;
    int version = ParameterFileVersion;
    QStringList outOfRange;   // "Plage 1 : 1200 → 999,9", held to the control's range
    QStringList unreadable;   // "Slider_MOY = 3": not a value of that control, setting kept
    QStringList unknownNames; // names no setting has
    QStringList missing;      // settings the file does not hold, kept
};

// Applies the file's settings over `current`. Nothing when the bytes are not a
// parameter file: larger than the limit, binary or not UTF-8, a first line
// that is not the format's, a line that is not "name = value".
std::optional<LoadedParameters> readParameterFile(const QByteArray &file, const EditorSettings &current);
