#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sim {

constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char ACK = 0x06;

struct ScannedFrame
{
    std::string prefix;  // "31" or "_31"
    std::string command; // three characters
};

// Cuts the received characters into frames: prefix "31" or "_31", STX, three
// command characters, ETX. Characters that cannot belong to a frame are given
// back as garbage, and scanning starts again at the next character, so a torn
// frame costs only itself.
class FrameScanner
{
public:
    struct Step
    {
        std::string garbage;               // characters dropped before the frame
        std::optional<ScannedFrame> frame; // the frame this character completed
    };

    Step push(char c);

private:
    std::string m_pending; // never longer than one frame
};

// Bytes as text for a log line: printable ASCII as is, anything else as <hh>.
std::string printable(std::string_view bytes);

} // namespace sim
