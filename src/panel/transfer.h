#pragma once

#include <QByteArray>
#include <QString>

class Exchange;
class MemoryImage;

// What sets the memory transfers of the three windows apart.
struct TransferProfile
{
    // Read
    QByteArray readPrefix;
    int readOpeningFrames;
    bool clearBeforeRead;   // every cell to " " on white first
    int readFirst;          // first address
    int readCount;          // bytes
    bool markEachRequest;   // cell to "?" and a pause after each request
    double requestPause;
    bool closeReadWithRRR;
    // Write (always "_31", five opening frames)
    bool writable;
    bool whitenBeforeWrite;
    int writeFirst;
    int writePages;         // of 16 bytes
    bool markEachByte;      // cell green and a pause after each data byte
    double bytePause;
};

extern const TransferProfile EditorTransfer;     // dump_24c01: addresses 64 to 127
extern const TransferProfile SwitchesTransfer;   // SW: read only, 0 to 127
extern const TransferProfile LuminosityTransfer; // LUM: 0 to 127

// Reads the panel memory into the image; returns the time-out flag.
bool LIT_24C01(Exchange &exchange, MemoryImage &image, const TransferProfile &profile);

struct WriteOutcome
{
    bool timedOut = false;
    // The first address of the written range whose cell holds no byte: the
    // write was refused and nothing was sent. -1 when every cell was valid.
    int invalidAddress = -1;
    // Why the write could not be prepared (its backup), when it was refused so.
    QString preparationFailure{};
    // The user declined what the write would change: nothing was sent.
    bool cancelled = false;
    // The file that holds the panel's memory from just before the write.
    QString backup{};

    bool refused() const { return invalidAddress >= 0 || !preparationFailure.isEmpty(); }
    bool failed() const { return timedOut || refused() || cancelled; }
};

// Writes the image to the panel, unless a cell to be sent holds no valid byte.
WriteOutcome ECRIT_24C01(Exchange &exchange, MemoryImage &image, const TransferProfile &profile);

// The first address in [first, first + count) whose cell holds no valid byte, or -1.
int firstInvalidCell(const MemoryImage &image, int first, int count);
