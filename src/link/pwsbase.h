#pragma once

class WindowRegistry;

// The port-open guard run before every guarded exchange: true when the link
// settings were confirmed on an open port; otherwise tells the user and
// returns false.
bool PORT_OUVERT(WindowRegistry &registry);
