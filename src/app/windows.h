#pragma once

class WindowRegistry;

// Tells the registry how to create each working window.
void installWindows(WindowRegistry &registry);
