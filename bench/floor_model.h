#pragma once

#include "panel/exchange.h"

#include <vector>

// Follows a flow's operations and works out the least time it can take on a
// 4800-baud line: the pauses the tool must make, each character 2.083 ms on
// its line, both directions at once, and a panel that answers each frame the
// moment its last character has arrived.
class FloorModel : public ExchangeObserver
{
public:
    static constexpr double CharacterTime = 10.0 / 4800.0;

    void sent(const QByteArray &bytes) override;
    void paused(double seconds) override;
    void discarded() override;
    void waited(const AnswerCondition &condition) override;

    double floor() const { return m_now; }

private:
    double m_now = 0;          // the ideal tool's clock
    double m_sendFree = 0;     // when the line to the panel is free
    double m_receiveFree = 0;  // when the line from the panel is free
    double m_discardedAt = 0;
    std::vector<double> m_arrivals; // when each answer character has arrived
};
