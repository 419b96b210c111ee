#pragma once

#include "support/panel_link.h"

#include <QStringList>

// The frames of the luminosity window's flows, as the panel logs them.
namespace faults::luminosity {
inline const QStringList opening = repeated("_31 SSS", 11);
inline const QStringList closing = repeated("_31 RRR", 5);
inline const QStringList memoryRead = repeated("_31 SSS", 5) + QStringList{"_31 SSS", "_31 ZA0", "_31 Y00", "_31 ZA1"}
    + repeated("_31 X1X", 128) + QStringList{"_31 X6X"};
} // namespace faults::luminosity
