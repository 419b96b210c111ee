#pragma once

#include "fault.h"
#include "frame_scanner.h"
#include "panel_model.h"
#include "panel_state.h"
#include "pseudo_terminal.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

using Clock = std::chrono::steady_clock;

struct LoggedFrame
{
    std::string prefix;
    std::string command;
    Clock::time_point arrival; // when its ETX arrived (at line rate: on the line)
    std::string line;          // the line's settings as the tool had them then
};

// The card at the far end of a pseudo-terminal, served by a thread of its own:
// the test or the tool talks to devicePath() while the panel answers. Every
// public method may be called from any thread.
class VirtualPanel
{
public:
    // 10 bits (start, 8 data, stop) at 4800 baud.
    static constexpr Clock::duration CharacterTime = std::chrono::nanoseconds(2'083'333);
    static constexpr Clock::duration LateDelay = std::chrono::milliseconds(1200);

    explicit VirtualPanel(const PanelState &state = PanelState::programmed());
    ~VirtualPanel();
    VirtualPanel(const VirtualPanel &) = delete;
    VirtualPanel &operator=(const VirtualPanel &) = delete;

    // Opens the pseudo-terminal and starts serving it.
    bool start(std::string *error = nullptr);
    std::string devicePath() const;
    // A symbolic link to the device, removed again when the panel goes.
    bool linkTo(const std::string &path, std::string *error = nullptr);

    // 4800-baud timing both ways; off, everything is immediate.
    void setLineRate(bool on);
    // The two characters that open every answer ("01" by default), as a panel
    // at another address or of another firmware sends them.
    void setAnswerAddress(const std::string &address);
    // For HangUp, the line drops once hangUpAfterFrames frames (at least 1)
    // have been received from now on; that last frame is not answered.
    void setFault(Fault fault, int hangUpAfterFrames = 1);

    // From now on every read of `address` answers a wrong byte (-1: none);
    // the memory keeps the right one.
    void spoilReadsOf(int address);

    Memory memory() const;
    void setMemory(const Memory &memory);
    void setSpeeds(std::uint16_t maximum, std::uint16_t speed);
    void setSwitches(std::uint8_t sw3, std::uint8_t sw2, std::uint8_t variant);

    // Called on the panel's thread with one line per frame received and per
    // anomaly; set it before start(), and do not call the panel from it.
    void setListener(std::function<void(const std::string &line)> listener);

    std::vector<LoggedFrame> frames() const;
    std::string received() const;               // every byte read, frames or not
    std::vector<std::string> anomalies() const; // garbage, odd commands
    void clearLog();
    bool waitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    struct TimedByte
    {
        char byte;
        Clock::time_point due;
    };

    void run();
    Clock::time_point nextDeadline(Clock::time_point now) const;
    void readInput(Clock::time_point now);
    void processDueInput(Clock::time_point now);
    void handleFrame(const ScannedFrame &frame, Clock::time_point arrival);
    void queueAnswer(const std::string &answer, Clock::time_point notBefore);
    void writeDueOutput(Clock::time_point now);
    void dropLine();
    void logLine(const std::string &text, Clock::time_point when);
    void noteAnomaly(const std::string &text, Clock::time_point when);
    void wake();

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::thread m_thread;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    bool m_stop = false;

    PseudoTerminal m_pty;
    std::vector<std::string> m_links;
    PanelModel m_model;
    FrameScanner m_scanner;
    bool m_lineRate = false;
    std::string m_answerAddress = "01";
    Fault m_fault = Fault::None;
    int m_hangUpAfter = 1;
    int m_framesSinceFault = 0;

    std::deque<TimedByte> m_input;  // read, not yet arrived on the line
    std::deque<TimedByte> m_output; // answered, not yet written
    Clock::time_point m_lastArrival{};
    std::string m_line; // the line's settings at the last read
    Clock::time_point m_lineFree{};
    bool m_outputBlocked = false;   // the far end's buffer is full
    Clock::time_point m_masterRestUntil{};

    Clock::time_point m_started{};
    std::function<void(const std::string &)> m_listener;
    std::vector<LoggedFrame> m_frames;
    std::string m_received;
    std::vector<std::string> m_anomalies;
};

} // namespace sim
