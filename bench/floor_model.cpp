#include "floor_model.h"

#include <algorithm>

namespace {
// The panel answers a byte request and the speed requests with two digits.
int answerLength(const QByteArray &command)
{
    static const QByteArrayList twoDigits{"X1X", "AAA", "BBB", "CCC", "DDD"};
    return twoDigits.contains(command) ? 6 : 5;
}
} // namespace

void FloorModel::sent(const QByteArray &bytes)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\x03', start);
        const qsizetype last = end < 0 ? bytes.size() - 1 : end;
        const qsizetype stx = bytes.indexOf('\x02', start);
        m_sendFree = std::max(m_sendFree, m_now) + double(last - start + 1) * CharacterTime;
        const QByteArray command = bytes.mid(stx + 1, last - stx - 1);
        m_receiveFree = std::max(m_receiveFree, m_sendFree);
        for (int i = 0; i < answerLength(command); ++i) {
            m_receiveFree += CharacterTime;
            m_arrivals.push_back(m_receiveFree);
        }
        start = last + 1;
    }
}

void FloorModel::paused(double seconds)
{
    m_now += seconds;
}

void FloorModel::discarded()
{
    m_discardedAt = m_now;
}

void FloorModel::waited(const AnswerCondition &condition)
{
    int counted = 0;
    for (double arrival : m_arrivals) {
        if (arrival > m_discardedAt && ++counted == condition.count) {
            m_now = std::max(m_now, arrival);
            break;
        }
    }
    // Everything that came is taken with the answer.
    m_discardedAt = m_now;
}
