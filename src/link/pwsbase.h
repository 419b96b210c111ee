#pragma once

#include "panel/memory_image.h"
#include "panel/transfer.h"

#include <functional>
#include <optional>

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

// Puts into the image what a write sends that the window's cells do not set;
// `freshRead` holds the panel's bytes when the write had to read them first.
using ComposeWrite = std::function<void(const MemoryBytes &panel, bool freshRead)>;

// Every write that changes a panel's memory. When the tool does not know what
// the panel holds where the write goes, that range is first read with the
// window's own read into a separate image (the window untouched); what is
// known is saved as a backup, and nothing is sent without it. `compose` runs
// between the backup read and the write.
WriteOutcome writeBackedUp(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile,
                           const QString &window, const ComposeWrite &compose = {});

// The raw grid's "Lecture" and "Envoi", guarded by rawExchangeAllowed; a
// refused write is explained.
void rawRead(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile);
void rawWrite(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile, const QString &window);
