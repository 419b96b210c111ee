#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <vector>

// One end of a raw line. Made without a path, a pseudo-terminal pair stands in
// for a serial device: the tool opens path(), the test holds the other end.
// Made with a device's path, it is the tool's end of that device, opened raw
// as a serial port is.
class RawLine
{
public:
    using Clock = std::chrono::steady_clock;

    RawLine();
    explicit RawLine(const QString &device);
    ~RawLine();
    RawLine(const RawLine &) = delete;
    RawLine &operator=(const RawLine &) = delete;

    bool isValid() const { return m_fd >= 0; }
    QString path() const { return m_path; }

    // Everything that came so far (waits up to timeoutMs for at least one byte).
    QByteArray readAvailable(int timeoutMs = 0);
    // Up to count characters as they come within the timeout, each noted with
    // when it was read.
    QByteArray read(int count, std::chrono::milliseconds timeout, std::vector<Clock::time_point> *times = nullptr);
    void write(const QByteArray &bytes);

private:
    bool readable(Clock::time_point deadline);

    int m_fd = -1;    // the test's end
    int m_other = -1; // the tool's end of a pair, held open
    QString m_path;
};
