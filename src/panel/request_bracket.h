#pragma once

#include <QString>

#include <functional>

class Exchange;
class Messages;
class MemoryImage;
struct TransferProfile;

// The microswitch and luminosity windows talk to the panel inside a bracket of
// their own: "SSS" eleven times to open it, "RRR" five times to close it.
void openRequest(Exchange &exchange);
void closeRequest(Exchange &exchange);

// The read flow both windows share: the opening, "PPP" (which shows the switch
// banks in the image), the memory read into the image, then `show` (the window
// decodes its bytes) and the closing, and the report. After a time-out the
// bracket is closed, except with the answer check "OUI" after a read that
// closed the panel's transaction itself. True when the read succeeded.
bool readUnderRequest(Exchange &exchange, MemoryImage &image, const TransferProfile &profile,
                      const QString &answerCheck, Messages &messages, const std::function<void()> &show);
