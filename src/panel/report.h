#pragma once

#include <QString>
#include <QStringList>

class Messages;
struct WriteOutcome;

enum class TransferKind { Read, Write };

// Tells the user how a read or write ended, unless the answer check is "NON".
// A port lost during the exchange has had its own message: nothing more.
void COMPTE_RENDU(Messages &messages, const QString &answerCheck, TransferKind kind, bool timedOut, bool portLost);

// A write refused before anything was sent (a cell holding no byte, a backup
// that could not be made); shown whatever the answer check.
void reportRefusedWrite(Messages &messages, const WriteOutcome &outcome);

extern const QString TransferErrorText;

// Values a control could not show, held to its range: "Plage 1 : 16383 → 9999".
QString outOfRangeEntry(const QString &field, const QString &read, const QString &shown);
// "Valeurs hors limites ramenées dans la plage : " and the entries.
QString outOfRangeText(const QStringList &entries);
