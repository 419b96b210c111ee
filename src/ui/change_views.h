#pragma once

#include <QList>
#include <QString>

#include <optional>

// One line of a list of changes: what it is, its value before and after.
struct ChangeRow
{
    QString caption;
    QString from;
    QString to;
    bool operator==(const ChangeRow &) const = default;
};

// What is about to change on a panel, or what differs from it, shown before
// anything is sent (or only to be looked at).
struct ChangesRequest
{
    QString title{};
    QString lead{};     // above the rows
    QString fromHeading = QStringLiteral("Panneau");
    QString toHeading = QStringLiteral("Éditeur");
    QList<ChangeRow> rows{};
    QString empty = QStringLiteral("Aucun réglage ne diffère du panneau.");
    QString note{};     // a line under the rows, when there is something to add
    bool checkable = false; // each row can be taken or left
    QString accept{};   // empty: the list is only looked at and closed
    QString reject = QStringLiteral("Annuler");
};

// Shows such a list modally. Production shows the changes dialog; tests
// answer it.
class ChangeViews
{
public:
    virtual ~ChangeViews() = default;
    // Nothing when the user declines or closes it; otherwise, row by row,
    // whether the row is taken (every row, when rows cannot be left).
    virtual std::optional<QList<bool>> show(const ChangesRequest &request) = 0;
};
