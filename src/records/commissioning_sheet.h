#pragma once

#include "panel/memory_image.h"
#include "params/editor_settings.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What the commissioning sheet is made from: the editor's settings, the
// memory image's bytes, the live speeds as the editor shows them.
struct SheetInput
{
    EditorSettings settings;
    QDateTime printedAt;
    int port = 0;
    QString speedText;   // VITESSE_VENT
    QString maximumText; // VITESSE_VENT_MAX
    MemoryBytes bytes{};
};

struct SheetRow
{
    QString label;
    QString value;
};

struct SheetSection
{
    QString title;
    QList<SheetRow> rows;
};

// The sheet's text, in reading order; the PDF only lays it out.
struct CommissioningSheet
{
    QString title;
    QStringList header; // date and time, port
    QList<SheetSection> sections;
    QString tableTitle;
    QStringList tableHeadings;
    QList<QStringList> tableRows; // one per reference speed
    QString tableFailure;         // why there is no table
    QString memoryTitle;
    QStringList memoryRows; // "40h  40 64 …", 16 two-digit values each
};

CommissioningSheet commissioningSheet(const SheetInput &input);

// fiche_COM3_2024-03-05_14-05.pdf
QString sheetFileName(int port, const QDateTime &at);
