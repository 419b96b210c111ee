#pragma once

#include <array>
#include <cstdint>

namespace sim {

constexpr int MemorySize = 128;
using Memory = std::array<std::uint8_t, MemorySize>;

// Everything the card holds: its serial memory, what its switch banks and
// variant read as after "PPP", and the two speeds it measures (tenths of km/h,
// or any 16-bit word).
struct PanelState
{
    Memory memory{};
    std::uint8_t switchesSw3 = 0;
    std::uint8_t switchesSw2 = 0;
    std::uint8_t variant = 'T';
    std::uint16_t maximum = 0;
    std::uint16_t speed = 0;

    // A card never programmed: every memory byte 0xFF, speeds 0, switches
    // off, three-colour variant.
    static PanelState blank();
    // A card with a valid parameter block and recognisable bytes elsewhere.
    static PanelState programmed();
};

} // namespace sim
