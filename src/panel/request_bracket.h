#pragma once

#include <QString>

class Exchange;
class Messages;
class MemoryImage;
struct TransferProfile;

// The microswitch and luminosity windows talk to the panel inside a bracket of
// their own: "SSS" eleven times to open it, "RRR" five times to close it.
void openRequest(Exchange &exchange);
void closeRequest(Exchange &exchange);

// The read both windows make: the opening, "PPP" (which shows the switch banks
// in the image), then the memory read into the image. After a time-out the
// bracket is closed, except with the answer check "OUI" after a read that
// closed the panel's transaction itself, where the caller only reports.
// Returns the time-out flag.
bool readUnderRequest(Exchange &exchange, MemoryImage &image, const TransferProfile &profile,
                      const QString &answerCheck);

// Tells of a read that timed out: only with the answer check "OUI", and not
// when the port was lost (that has its own message).
void reportTimedOutRead(Messages &messages, const QString &answerCheck, bool portLost);
