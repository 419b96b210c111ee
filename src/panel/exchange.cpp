#include "panel/exchange.h"

#include "port/serial_port.h"

#include <QCoreApplication>

#include <algorithm>
#include <thread>

using namespace std::chrono;

namespace {
// Longest stretch without letting the windows paint.
constexpr milliseconds Slice{10};
} // namespace

Exchange::Exchange(SerialPort &port, QObject *parent)
    : QObject(parent)
    , m_port(port)
{
}

QByteArray Exchange::frame(const QByteArray &prefix, const QByteArray &command)
{
    return prefix + char(2) + command + char(3);
}

void Exchange::ENVOI_TRAME(const QByteArray &prefix, const QByteArray &command, int repeat)
{
    const QByteArray bytes = frame(prefix, command).repeated(repeat);
    if (m_observer)
        m_observer->sent(bytes);
    m_port.output(bytes);
}

void Exchange::PAUSE(double seconds)
{
    if (m_observer)
        m_observer->paused(seconds);
    const Clock::time_point end =
        Clock::now() + duration_cast<Clock::duration>(duration<double>(seconds * m_timeScale));
    // Waiting on the device notices a line that drops during the pause;
    // nothing is left to wait for once it has.
    for (Clock::time_point now = Clock::now(); now <= end && !m_port.lost(); now = Clock::now()) {
        keepAlive();
        const Clock::time_point until = std::min(end + nanoseconds(1), now + Slice);
        if (m_port.isOpen())
            m_port.waitForInput(until);
        else
            std::this_thread::sleep_until(until);
    }
}

void Exchange::VIDE_RECEPTION()
{
    if (m_observer)
        m_observer->discarded();
    m_port.discardInput();
    m_port.input();
}

bool Exchange::ATTENTE_REPONSE(AnswerCondition condition)
{
    if (m_observer)
        m_observer->waited(condition);
    return awaitAnswer(condition, answerDeadline());
}

Exchange::Clock::time_point Exchange::answerDeadline() const
{
    return std::max(Clock::now(), m_port.lineFreeAt())
        + duration_cast<Clock::duration>(duration<double>(AnswerLimit) * m_timeScale);
}

bool Exchange::awaitAnswer(AnswerCondition condition, Clock::time_point deadline)
{
    for (;;) {
        keepAlive();
        if (Clock::now() > deadline || m_port.lost() || !m_port.isOpen())
            return true;
        if (condition.heldBy(m_port.inBufferCount()))
            return false;
        m_port.waitForInput(std::min(deadline + nanoseconds(1), Clock::now() + Slice));
    }
}

QByteArray Exchange::takeAnswer()
{
    return m_port.input();
}

void Exchange::dtrOff()
{
    m_port.setDtrEnable(false);
}

int Exchange::session() const
{
    return m_port.session();
}

void Exchange::keepAlive()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

Exchange::Scope::Scope(Exchange &exchange)
    : m_exchange(exchange)
{
    if (m_exchange.m_depth++ == 0)
        emit m_exchange.busyChanged(true);
}

Exchange::Scope::~Scope()
{
    if (--m_exchange.m_depth == 0)
        emit m_exchange.busyChanged(false);
}
