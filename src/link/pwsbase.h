#pragma once

#include "panel/backed_up_write.h"
#include "panel/memory_image.h"
#include "panel/transfer.h"

class MemoryImage;
class QString;
class WindowRegistry;

// The port-open guard run before every guarded exchange: true when the link
// settings were confirmed on an open port; otherwise tells the user and
// returns false.
bool PORT_OUVERT(WindowRegistry &registry);

// The raw memory buttons and the live speed do not ask for confirmed settings,
// but they need an open port: without one, the guard's message and false.
bool rawExchangeAllowed(WindowRegistry &registry);

// Where a write from `window` on the open port keeps its backup.
BackupTarget backupTarget(WindowRegistry &registry, const QString &window);

// The raw grid's "Lecture" and "Envoi", guarded by rawExchangeAllowed; a
// refused write is explained. The read returns whether it failed (or was
// not allowed).
bool rawRead(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile);
WriteOutcome rawWrite(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile,
                      const QString &window);
