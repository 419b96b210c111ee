#pragma once

#include <QString>

class Messages;

enum class TransferKind { Read, Write };

// Tells the user how a read or write ended, unless the answer check is "NON".
// A port lost during the exchange has had its own message: nothing more.
void COMPTE_RENDU(Messages &messages, const QString &answerCheck, TransferKind kind, bool timedOut, bool portLost);

// A write refused because a cell holds no byte; shown whatever the answer check.
void reportRefusedWrite(Messages &messages, int address);

extern const QString TransferErrorText;
