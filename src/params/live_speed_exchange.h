#pragma once

#include "params/live_speed.h"

#include <optional>

class Exchange;

// One reading of the live speed: the waiting input dropped, the four speed
// requests written one by one, half a second for the panel to answer, then
// whatever has arrived decoded. Nothing when the answer is not usable. Marks
// the exchange busy for its whole length; it never writes the panel's memory.
std::optional<LiveSpeed> requestLiveSpeed(Exchange &exchange);
