#pragma once

struct Services;
class SpeedLog;

// "Exporter…": asks where, then writes the readings as CSV; a failed write
// can be tried again or given up.
void exportSpeedLog(const Services &services, const SpeedLog &log);
