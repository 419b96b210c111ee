#include "frame_scanner.h"

#include <cstdio>

namespace sim {

namespace {

enum class Match { Frame, NeedMore, NoFrame };

// How the pending characters stand against the frame shape for one prefix.
Match matchFrame(std::string_view pending, std::string_view prefix)
{
    const std::size_t stx = prefix.size();
    const std::size_t etx = stx + 4;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const char c = pending[i];
        bool fits;
        if (i < stx)
            fits = c == prefix[i];
        else if (i == stx)
            fits = c == STX;
        else if (i < etx)
            fits = c != STX && c != ETX;
        else
            fits = i == etx && c == ETX;
        if (!fits)
            return Match::NoFrame;
    }
    return pending.size() == etx + 1 ? Match::Frame : Match::NeedMore;
}

} // namespace

FrameScanner::Step FrameScanner::push(char c)
{
    static constexpr std::string_view prefixes[] = {"_31", "31"};
    Step step;
    m_pending.push_back(c);
    while (!m_pending.empty()) {
        bool waiting = false;
        for (std::string_view prefix : prefixes) {
            const Match match = matchFrame(m_pending, prefix);
            if (match == Match::Frame) {
                step.frame = ScannedFrame{std::string(prefix), m_pending.substr(prefix.size() + 1, 3)};
                m_pending.clear();
                return step;
            }
            waiting = waiting || match == Match::NeedMore;
        }
        if (waiting)
            break;
        step.garbage.push_back(m_pending.front());
        m_pending.erase(0, 1);
    }
    return step;
}

std::string printable(std::string_view bytes)
{
    std::string text;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F) {
            text.push_back(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", u);
            text += hex;
        }
    }
    return text;
}

} // namespace sim
