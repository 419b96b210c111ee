#pragma once

#include "params/live_speed.h"

#include <QByteArray>
#include <QList>

#include <optional>

// One reading of the monitor: when it was made, in seconds since the start,
// and the speeds, or nothing when the panel gave no usable answer.
struct SpeedReading
{
    double seconds;
    std::optional<LiveSpeed> speed;
};

// The readings since the monitor was started and what is shown of them.
class SpeedLog
{
public:
    void clear();
    void add(const SpeedReading &reading);

    const QList<SpeedReading> &readings() const { return m_readings; }
    int unanswered() const { return m_unanswered; }
    // Of the instantaneous speed over the answered readings, in tenths of
    // km/h (the mean rounded to the nearest tenth); nothing before an answer.
    std::optional<int> highest() const;
    std::optional<int> mean() const;

    // The readings as a spreadsheet reads them: UTF-8, ";" between fields, a
    // decimal comma; time in seconds, then the instantaneous and maximum
    // speeds in km/h, left empty for a reading without answer.
    QByteArray csv() const;

private:
    QList<SpeedReading> m_readings;
    int m_unanswered = 0;
    int m_answered = 0;
    int m_highest = 0;
    qint64 m_sum = 0;
};
