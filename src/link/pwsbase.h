#pragma once

class WindowRegistry;

// The port-open guard run before every guarded exchange: true when the link
// settings were confirmed on an open port; otherwise tells the user and
// returns false.
bool PORT_OUVERT(WindowRegistry &registry);

// The raw memory buttons and the live speed do not ask for confirmed settings,
// but they need an open port: without one, the guard's message and false.
bool rawExchangeAllowed(WindowRegistry &registry);
