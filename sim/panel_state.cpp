#include "panel_state.h"

#include <utility>

namespace sim {

PanelState PanelState::blank()
{
    PanelState state;
    state.memory.fill(0xFF);
    return state;
}

// The programmed sample. Every address not listed holds its own number
// (0x00-0x3B, 0x3F, 0x63-0x7F), so a byte taken from a wrong position shows.
//
//   60-62  21 09 04     luminosity window: light sensor, period 5 s, threshold 4
//   64-65  40 64        colour range 1: green, 10.0 km/h
//   66-67  41 2C        colour range 2: green, 30.0 km/h
//   68-69  01 F4        colour range 3: light orange, 50.0 km/h
//   70-71  82 BC        colour range 4: red, 70.0 km/h
//   72-73  83 E7        colour range 5: red, 99.9 km/h
//   74-75  81 F4        relay 2: in use, normally open, on at 50.0 km/h
//   76-77  01 C2        relay 2: off at 45.0 km/h
//   78     05           0 km/h shown after 5 s without pulses
//   79-81  4F 4D 52     programmed marker "OMR"
//   82     03           luminosity: light sensor
//   83-84  00 00        reserved
//   85     04           4 measurements averaged
//   86     02           refresh setting 2
//   87-90  B2 09 0B 00  speed coefficient 723378, least significant byte first
//   91     04           4 pulses for the instantaneous speed
//   92-93  C0 C8        relay 1: in use, normally closed, on at 20.0 km/h
//   94-95  00 96        relay 1: off at 15.0 km/h
//   96     75           3 digits, instantaneous and maximum, reset after 36 h,
//                       one decimal, leading zeros suppressed
//   97     09           light-sensor period 5 s (2 x 5 - 1)
//   98     04           day/night threshold 4
//
// After "PPP" addresses 74, 75, 76 read SW3 = A5, SW2 = 3C, variant 'T'
// (three colours). Recorded maximum 123.4 km/h, instantaneous speed 56.7 km/h.
PanelState PanelState::programmed()
{
    static constexpr std::pair<int, std::uint8_t> block[] = {
        {60, 0x21}, {61, 0x09}, {62, 0x04},
        {64, 0x40}, {65, 0x64}, {66, 0x41}, {67, 0x2C}, {68, 0x01}, {69, 0xF4},
        {70, 0x82}, {71, 0xBC}, {72, 0x83}, {73, 0xE7},
        {74, 0x81}, {75, 0xF4}, {76, 0x01}, {77, 0xC2}, {78, 0x05},
        {79, 0x4F}, {80, 0x4D}, {81, 0x52}, {82, 0x03}, {83, 0x00}, {84, 0x00},
        {85, 0x04}, {86, 0x02}, {87, 0xB2}, {88, 0x09}, {89, 0x0B}, {90, 0x00},
        {91, 0x04}, {92, 0xC0}, {93, 0xC8}, {94, 0x00}, {95, 0x96},
        {96, 0x75}, {97, 0x09}, {98, 0x04},
    };
    PanelState state;
    for (int address = 0; address < MemorySize; ++address)
        state.memory[address] = std::uint8_t(address);
    for (const auto &[address, value] : block)
        state.memory[address] = value;
    state.switchesSw3 = 0xA5;
    state.switchesSw2 = 0x3C;
    state.variant = 'T';
    state.maximum = 1234;
    state.speed = 567;
    return state;
}

} // namespace sim
