#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair standing in for a serial device: the tool opens
// path(), the test reads and writes the other end.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString path() const { return m_path; }

    // Everything the tool sent so far (waits up to timeoutMs for at least one byte).
    QByteArray readAvailable(int timeoutMs = 0);
    void write(const QByteArray &bytes);

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
