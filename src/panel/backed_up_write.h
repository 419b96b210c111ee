#pragma once

#include "panel/memory_image.h"
#include "panel/transfer.h"

#include <QString>

#include <functional>

class Exchange;

// Where a write's backup goes and what it is of.
struct BackupTarget
{
    QString window; // the window whose image is written: "dump_24c01", "LUM"
    int port;       // COM number
    QString folder;
};

// Puts into the image what a write sends that the window's cells do not set,
// once the panel's bytes are known (`freshRead`: the write had to read them
// first). Returns false when the write must not go on: nothing is sent.
using ComposeWrite = std::function<bool(const MemoryBytes &panel, bool freshRead)>;

// Every write that changes a panel's memory. When the tool does not know what
// the panel holds where the write goes, that range is first read with the
// window's own read into a separate image (the window untouched); what is
// known is saved as a backup, and nothing is sent without it. `compose` runs
// between the backup read and the write.
WriteOutcome writeBackedUp(Exchange &exchange, MemoryImage &image, const TransferProfile &profile,
                           const BackupTarget &target, const ComposeWrite &compose = {});
