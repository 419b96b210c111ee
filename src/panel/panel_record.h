#pragma once

#include "panel/memory_image.h"

#include <QDateTime>
#include <QString>

#include <optional>

// What the tool knows of the memory of the panel behind the port: the bytes a
// read brought and the bytes a write left, nothing else. Opening the port
// again may put another panel behind it, so what is known holds for one
// opening (session) only. One record for the port, whichever window learnt it.
class PanelMemoryRecord
{
public:
    // The last read or write that taught the record.
    struct Transfer
    {
        bool written;
        QDateTime at;
    };

    // The image's bytes in [first, first + count) are the panel's memory now,
    // read from it or written to it.
    void learn(int session, const MemoryImage &image, int first, int count, bool written = false);
    // The panel may no longer hold what was known there (a write that failed
    // half way, an image that showed something else than memory).
    void forget(int first, int count);
    // The bytes known in this session; nothing at every other address.
    MemoryBytes known(int session) const;
    bool covers(int session, int first, int count) const;
    std::optional<Transfer> last(int session) const;

    // The backup made before the last write that failed once it had begun
    // sending, whatever the opening: the panel may hold part of it.
    void noteInterruptedWrite(const QString &backup) { m_interrupted = backup; }
    QString interruptedWrite() const { return m_interrupted; }
    void clearInterruptedWrite() { m_interrupted.clear(); }

private:
    int m_session = -1;
    MemoryBytes m_bytes;
    std::optional<Transfer> m_last;
    QString m_interrupted;
};
