#include "support/raw_line.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
void makeRaw(int fd)
{
    termios raw{};
    if (::tcgetattr(fd, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(fd, TCSANOW, &raw);
    }
}
} // namespace

RawLine::RawLine()
{
    char name[256] = {};
    if (::openpty(&m_fd, &m_other, name, nullptr, nullptr) != 0) {
        m_fd = m_other = -1;
        return;
    }
    makeRaw(m_other);
    m_path = QString::fromLocal8Bit(name);
}

RawLine::RawLine(const QString &device)
    : m_fd(::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    , m_path(device)
{
    if (m_fd >= 0)
        makeRaw(m_fd);
}

RawLine::~RawLine()
{
    if (m_other >= 0)
        ::close(m_other);
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RawLine::readable(Clock::time_point deadline)
{
    pollfd p{m_fd, POLLIN, 0};
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return ::poll(&p, 1, int(std::max<long>(left, 0))) > 0 && (p.revents & POLLIN);
}

QByteArray RawLine::readAvailable(int timeoutMs)
{
    QByteArray all;
    char buffer[1024];
    for (auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs); readable(deadline);
         deadline = Clock::now()) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        all.append(buffer, n);
    }
    return all;
}

QByteArray RawLine::read(int count, std::chrono::milliseconds timeout, std::vector<Clock::time_point> *times)
{
    QByteArray text;
    const auto deadline = Clock::now() + timeout;
    char c;
    while (text.size() < count && readable(deadline) && ::read(m_fd, &c, 1) == 1) {
        text += c;
        if (times)
            times->push_back(Clock::now());
    }
    return text;
}

void RawLine::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}
