#pragma once

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

// Every write that changes a panel's memory: what the window's image knows of
// the panel on the open port is saved first, and nothing is sent without it.
WriteOutcome writeBackedUp(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile,
                           const QString &window);

// The raw grid's "Lecture" and "Envoi", guarded by rawExchangeAllowed; a
// refused write is explained.
void rawRead(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile);
void rawWrite(WindowRegistry &registry, MemoryImage &image, const TransferProfile &profile, const QString &window);
