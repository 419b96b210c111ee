#pragma once

#include <QString>
#include <QStringList>

class Exchange;
class Messages;
struct WriteOutcome;

enum class TransferKind { Read, Write };

// Tells the user how a read or write ended, unless the answer check is "NON".
// A port lost during the exchange has had its own message: nothing more.
void COMPTE_RENDU(Messages &messages, const QString &answerCheck, TransferKind kind, bool timedOut, bool portLost);

// A write refused before anything was sent (a cell holding no byte, a backup
// that could not be made); shown whatever the answer check.
void reportRefusedWrite(Messages &messages, const WriteOutcome &outcome);

// The end of every write, told the same way by every window: a refusal; the
// answer check's report (the raw grid's "Envoi" has none: `answerReport`
// false); and after a failure once frames had gone to the panel, whatever the
// answer check, that its memory from before is kept, a backup the record
// notes for the history.
void reportWriteEnd(Exchange &exchange, Messages &messages, const QString &answerCheck, const WriteOutcome &outcome,
                    bool answerReport = true);

extern const QString TransferErrorText;
extern const QString PartlyWrittenText;

// Values a control could not show, held to its range: "Plage 1 : 16383 → 9999".
QString outOfRangeEntry(const QString &field, const QString &read, const QString &shown);
// "Valeurs hors limites ramenées dans la plage : " and the entries.
QString outOfRangeText(const QStringList &entries);
