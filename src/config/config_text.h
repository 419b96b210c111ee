#pragma once

#include "link/link_settings.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

// The configuration file: the eight list positions, one a line, then a report
// for people with the item texts and the date and time of saving (the
// locale's short formats). Lines end with CR LF; the bytes are Windows-1252.
// A position outside its list is written as it stands, with no item text.
QByteArray TEXTE_CONFIGURATION(const LinkPositions &positions, const QDateTime &savedAt, const QLocale &locale);

// Windows-1252 bytes of a text; a character the code page lacks becomes "?".
QByteArray toWindows1252(const QString &text);

// The list positions a file holds, from its first lines, up to the first line
// that is missing or does not hold a position of its list. Nothing when the
// bytes cannot be a configuration file at all (too large, or binary).
std::optional<QList<int>> readConfigurationPositions(const QByteArray &file);
