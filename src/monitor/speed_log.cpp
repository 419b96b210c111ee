#include "monitor/speed_log.h"

#include <QString>

#include <algorithm>

void SpeedLog::clear()
{
    *this = SpeedLog();
}

void SpeedLog::add(const SpeedReading &reading)
{
    m_readings.append(reading);
    if (!reading.speed) {
        ++m_unanswered;
        return;
    }
    const int speed = reading.speed->instantaneous;
    m_highest = m_answered == 0 ? speed : std::max(m_highest, speed);
    m_sum += speed;
    ++m_answered;
}

std::optional<int> SpeedLog::highest() const
{
    if (m_answered == 0)
        return std::nullopt;
    return m_highest;
}

std::optional<int> SpeedLog::mean() const
{
    if (m_answered == 0)
        return std::nullopt;
    // Speeds are never negative: adding half the divisor rounds half up.
    return int((m_sum + m_answered / 2) / m_answered);
}

QByteArray SpeedLog::csv() const
{
    QString text = QStringLiteral("Temps (s);Vitesse instantanée (km/h);Maximum enregistré (km/h)\n");
    for (const SpeedReading &r : m_readings) {
        text += QString::number(r.seconds, 'f', 3).replace(QLatin1Char('.'), QLatin1Char(','));
        text += QLatin1Char(';');
        if (r.speed)
            text += speedText(r.speed->instantaneous) + QLatin1Char(';') + speedText(r.speed->maximum);
        else
            text += QLatin1Char(';');
        text += QLatin1Char('\n');
    }
    return text.toUtf8();
}
