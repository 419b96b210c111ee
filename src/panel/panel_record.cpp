#include "panel/panel_record.h"

void PanelMemoryRecord::learn(int session, const MemoryImage &image, int first, int count, bool written)
{
    if (session != m_session) {
        m_bytes = {};
        m_session = session;
    }
    m_last = Transfer{written, QDateTime::currentDateTime()};
    const MemoryBytes bytes = image.bytes();
    for (int a = first; a < first + count; ++a)
        m_bytes[a] = bytes[a];
}

void PanelMemoryRecord::forget(int first, int count)
{
    for (int a = first; a < first + count; ++a)
        m_bytes[a].reset();
}

MemoryBytes PanelMemoryRecord::known(int session) const
{
    return session == m_session ? m_bytes : MemoryBytes{};
}

bool PanelMemoryRecord::covers(int session, int first, int count) const
{
    if (session != m_session)
        return false;
    for (int a = first; a < first + count; ++a) {
        if (!m_bytes[a])
            return false;
    }
    return true;
}

std::optional<PanelMemoryRecord::Transfer> PanelMemoryRecord::last(int session) const
{
    return session == m_session ? m_last : std::nullopt;
}
