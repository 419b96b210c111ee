#include "virtual_panel.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace sim {

namespace {

// A master that fails (nobody on the slave side) is retried after this, so a
// failing descriptor never turns the loop into a spin.
constexpr auto MasterRest = std::chrono::milliseconds(20);

} // namespace

VirtualPanel::VirtualPanel(const PanelState &state)
    : m_model(state)
{
}

VirtualPanel::~VirtualPanel()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        wake();
    }
    if (m_thread.joinable())
        m_thread.join();
    for (const std::string &link : m_links)
        removeLink(m_pty.path(), link);
    m_pty.close();
    if (m_wakeRead >= 0)
        ::close(m_wakeRead);
    if (m_wakeWrite >= 0)
        ::close(m_wakeWrite);
}

bool VirtualPanel::start(std::string *error)
{
    std::lock_guard lock(m_mutex);
    if (m_thread.joinable()) {
        if (error)
            *error = "panneau déjà démarré";
        return false;
    }
    if (!m_pty.open(error))
        return false;
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
        if (error)
            *error = "pipe2 impossible";
        m_pty.close();
        return false;
    }
    m_wakeRead = fds[0];
    m_wakeWrite = fds[1];
    m_started = m_lastArrival = m_lineFree = Clock::now();
    m_thread = std::thread(&VirtualPanel::run, this);
    return true;
}

std::string VirtualPanel::devicePath() const
{
    std::lock_guard lock(m_mutex);
    return m_pty.path();
}

bool VirtualPanel::linkTo(const std::string &path, std::string *error)
{
    std::lock_guard lock(m_mutex);
    if (m_pty.path().empty()) {
        if (error)
            *error = "panneau non démarré";
        return false;
    }
    if (!makeLink(m_pty.path(), path, error))
        return false;
    m_links.push_back(path);
    return true;
}

void VirtualPanel::setLineRate(bool on)
{
    std::lock_guard lock(m_mutex);
    m_lineRate = on;
}

void VirtualPanel::setAnswerAddress(const std::string &address)
{
    std::lock_guard lock(m_mutex);
    m_answerAddress = address;
}

void VirtualPanel::setFault(Fault fault, int hangUpAfterFrames)
{
    std::lock_guard lock(m_mutex);
    m_fault = fault;
    m_hangUpAfter = std::max(1, hangUpAfterFrames);
    m_framesSinceFault = 0;
}

void VirtualPanel::spoilReadsOf(int address)
{
    std::lock_guard lock(m_mutex);
    m_model.spoilReadsOf(address);
}

Memory VirtualPanel::memory() const
{
    std::lock_guard lock(m_mutex);
    return m_model.state().memory;
}

void VirtualPanel::setMemory(const Memory &memory)
{
    std::lock_guard lock(m_mutex);
    m_model.state().memory = memory;
}

void VirtualPanel::setSpeeds(std::uint16_t maximum, std::uint16_t speed)
{
    std::lock_guard lock(m_mutex);
    m_model.state().maximum = maximum;
    m_model.state().speed = speed;
}

void VirtualPanel::setSwitches(std::uint8_t sw3, std::uint8_t sw2, std::uint8_t variant)
{
    std::lock_guard lock(m_mutex);
    m_model.state().switchesSw3 = sw3;
    m_model.state().switchesSw2 = sw2;
    m_model.state().variant = variant;
}

void VirtualPanel::setListener(std::function<void(const std::string &)> listener)
{
    std::lock_guard lock(m_mutex);
    m_listener = std::move(listener);
}

std::vector<LoggedFrame> VirtualPanel::frames() const
{
    std::lock_guard lock(m_mutex);
    return m_frames;
}

std::string VirtualPanel::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

std::vector<std::string> VirtualPanel::anomalies() const
{
    std::lock_guard lock(m_mutex);
    return m_anomalies;
}

void VirtualPanel::clearLog()
{
    std::lock_guard lock(m_mutex);
    m_frames.clear();
    m_received.clear();
    m_anomalies.clear();
}

bool VirtualPanel::waitForFrames(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_frames.size() >= count; });
}

// The panel's thread: holds the lock except while it sleeps in ppoll() until
// the next character is due, the far end writes, or a caller wakes it.
void VirtualPanel::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        const Clock::time_point now = Clock::now();
        processDueInput(now);
        writeDueOutput(now);

        const bool watchLine = m_pty.isOpen() && now >= m_masterRestUntil;
        pollfd fds[3] = {{m_wakeRead, POLLIN, 0}, {-1, 0, 0}, {-1, 0, 0}};
        if (watchLine) {
            fds[1] = {m_pty.watch(), POLLIN, 0};
            fds[2] = {m_pty.master(), short(POLLIN | (m_outputBlocked ? POLLOUT : 0)), 0};
        }
        timespec timeout{};
        const Clock::time_point deadline = nextDeadline(now);
        if (deadline != Clock::time_point::max()) {
            const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::max(deadline - Clock::now(), Clock::duration::zero()));
            timeout.tv_sec = time_t(wait.count() / 1'000'000'000);
            timeout.tv_nsec = long(wait.count() % 1'000'000'000);
        }
        lock.unlock();
        const int ready = ::ppoll(fds, 3, deadline == Clock::time_point::max() ? nullptr : &timeout, nullptr);
        lock.lock();
        if (ready <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            char drain[64];
            while (::read(m_wakeRead, drain, sizeof drain) > 0) {
            }
        }
        if (!watchLine || !m_pty.isOpen())
            continue;
        // The far end's open or close comes first: the flush it causes must
        // not take answers to frames sent after it.
        if (fds[1].revents & POLLIN)
            m_pty.followFarEnd();
        if (fds[2].revents & POLLOUT)
            m_outputBlocked = false;
        if (fds[2].revents & (POLLIN | POLLHUP | POLLERR))
            readInput(Clock::now());
    }
}

Clock::time_point VirtualPanel::nextDeadline(Clock::time_point now) const
{
    Clock::time_point deadline = Clock::time_point::max();
    if (!m_pty.isOpen())
        return deadline;
    if (!m_input.empty())
        deadline = m_input.front().due;
    if (now < m_masterRestUntil)
        return std::min(deadline, m_masterRestUntil);
    if (!m_output.empty() && !m_outputBlocked)
        deadline = std::min(deadline, m_output.front().due);
    return deadline;
}

void VirtualPanel::readInput(Clock::time_point now)
{
    char buffer[512];
    for (int reads = 0; reads < 64; ++reads) {
        const ssize_t n = ::read(m_pty.master(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0) {
            m_masterRestUntil = now + MasterRest;
            return;
        }
        m_received.append(buffer, std::size_t(n));
        m_line = m_pty.lineSettings();
        for (ssize_t i = 0; i < n; ++i) {
            const Clock::time_point arrival =
                m_lineRate ? std::max(now, m_lastArrival) + CharacterTime : now;
            m_lastArrival = arrival;
            m_input.push_back({buffer[i], arrival});
        }
    }
}

void VirtualPanel::processDueInput(Clock::time_point now)
{
    std::string garbage;
    Clock::time_point garbageArrival{};
    const auto reportGarbage = [&] {
        if (!garbage.empty())
            noteAnomaly("octets hors trame : " + printable(garbage), garbageArrival);
        garbage.clear();
    };
    while (m_pty.isOpen() && !m_input.empty() && m_input.front().due <= now) {
        const TimedByte received = m_input.front();
        m_input.pop_front();
        FrameScanner::Step step = m_scanner.push(received.byte);
        if (!step.garbage.empty()) {
            if (garbage.empty())
                garbageArrival = received.due;
            garbage += step.garbage;
        }
        if (step.frame) {
            reportGarbage();
            handleFrame(*step.frame, received.due);
        }
    }
    reportGarbage();
}

void VirtualPanel::handleFrame(const ScannedFrame &frame, Clock::time_point arrival)
{
    m_frames.push_back({frame.prefix, frame.command, arrival, m_line});
    logLine(frame.prefix + " " + printable(frame.command), arrival);
    std::string note;
    const std::string payload = m_model.handle(frame.command, &note);
    if (!note.empty())
        noteAnomaly(note, arrival);
    m_changed.notify_all();

    ++m_framesSinceFault;
    if (m_fault == Fault::HangUp && m_framesSinceFault >= m_hangUpAfter) {
        writeDueOutput(arrival); // what is on the wire already still gets there
        dropLine();
        return;
    }
    queueAnswer(shapeAnswer(m_fault, answerFrame(payload, m_answerAddress)),
                m_fault == Fault::Late ? arrival + LateDelay : arrival);
}

// The output line is a queue: each character leaves once the one before it
// has, and at line rate takes a character time on the way.
void VirtualPanel::queueAnswer(const std::string &answer, Clock::time_point notBefore)
{
    for (char c : answer) {
        const Clock::time_point start = std::max(notBefore, m_lineFree);
        m_lineFree = m_lineRate ? start + CharacterTime : start;
        m_output.push_back({c, m_lineFree});
    }
}

void VirtualPanel::writeDueOutput(Clock::time_point now)
{
    if (!m_pty.isOpen() || m_outputBlocked || now < m_masterRestUntil)
        return;
    std::string due;
    for (const TimedByte &byte : m_output) {
        if (byte.due > now)
            break;
        due.push_back(byte.byte);
    }
    if (!m_pty.farEndOpen()) // the answers go out on a line nobody listens to
        m_output.erase(m_output.begin(), m_output.begin() + std::ptrdiff_t(due.size()));
    if (due.empty() || !m_pty.farEndOpen())
        return;
    const ssize_t n = ::write(m_pty.master(), due.data(), due.size());
    if (n > 0)
        m_output.erase(m_output.begin(), m_output.begin() + n);
    if (n >= 0 ? std::size_t(n) < due.size() : errno == EAGAIN || errno == EWOULDBLOCK)
        m_outputBlocked = true; // the far end's buffer is full: wait for room
    else if (n < 0 && errno != EINTR)
        m_masterRestUntil = now + MasterRest;
}

void VirtualPanel::dropLine()
{
    if (!m_pty.isOpen())
        return;
    m_pty.close();
    m_input.clear();
    m_output.clear();
    m_outputBlocked = false;
    logLine("ligne coupée", Clock::now());
}

void VirtualPanel::logLine(const std::string &text, Clock::time_point when)
{
    if (!m_listener)
        return;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10.3f  ", std::chrono::duration<double>(when - m_started).count());
    m_listener(stamp + text);
}

void VirtualPanel::noteAnomaly(const std::string &text, Clock::time_point when)
{
    m_anomalies.push_back(text);
    logLine("! " + text, when);
}

void VirtualPanel::wake()
{
    if (m_wakeWrite >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wakeWrite, &byte, 1);
    }
}

} // namespace sim
