#pragma once

#include "monitor/speed_log.h"

#include <QChartView>
#include <QList>

class QLineSeries;
class QValueAxis;

// The instantaneous and recorded maximum speeds against time over the last
// five minutes. A reading without answer breaks both lines: the next answer
// starts a new stretch of line.
class SpeedChart : public QChartView
{
    Q_OBJECT
public:
    static constexpr double Span = 300.0;       // seconds in view at most
    static constexpr double MinimumSpan = 30.0; // seconds in view at the start

    explicit SpeedChart(QWidget *parent = nullptr);

    void clear();
    void add(const SpeedReading &reading);

    // Unbroken stretches of each line, oldest first.
    QList<QLineSeries *> instantaneousStretches() const;
    QList<QLineSeries *> maximumStretches() const;

private:
    struct Stretch
    {
        QLineSeries *instantaneous;
        QLineSeries *maximum;
    };

    void startStretch();
    void markLonePoints(const Stretch &stretch);
    void forgetBefore(double seconds);
    void fitAxes(double now);

    QValueAxis *m_time;
    QValueAxis *m_speed;
    QList<Stretch> m_stretches;
    bool m_broken = true;
};
