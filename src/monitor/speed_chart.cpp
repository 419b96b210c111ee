#include "monitor/speed_chart.h"

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {
const QColor InstantaneousColour(0, 0, 255);
const QColor MaximumColour(255, 0, 0);

QLineSeries *line(const QString &name, const QColor &colour)
{
    auto *series = new QLineSeries;
    series->setName(name);
    QPen pen(colour);
    pen.setWidthF(1.5);
    series->setPen(pen);
    series->setMarkerSize(5.0);
    return series;
}
} // namespace

SpeedChart::SpeedChart(QWidget *parent)
    : QChartView(parent)
    , m_time(new QValueAxis)
    , m_speed(new QValueAxis)
{
    setObjectName(QStringLiteral("chart"));
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(640, 340);
    QChart *c = chart();
    c->setLocalizeNumbers(true);
    c->setLocale(QLocale(QLocale::French, QLocale::France));
    c->legend()->setAlignment(Qt::AlignBottom);
    m_time->setTitleText(QStringLiteral("Temps (secondes)"));
    m_time->setLabelFormat(QStringLiteral("%.0f"));
    m_time->setTickType(QValueAxis::TicksDynamic);
    m_time->setTickAnchor(0.0);
    m_speed->setTitleText(QStringLiteral("Vitesse (km/h)"));
    m_speed->setLabelFormat(QStringLiteral("%.0f"));
    c->addAxis(m_time, Qt::AlignBottom);
    c->addAxis(m_speed, Qt::AlignLeft);
    clear();
}

void SpeedChart::clear()
{
    chart()->removeAllSeries();
    m_stretches.clear();
    m_broken = true;
    // The legend names both lines even before the first reading.
    startStretch();
    fitAxes(0.0);
}

void SpeedChart::add(const SpeedReading &reading)
{
    if (!reading.speed) {
        m_broken = true;
    } else {
        if (m_broken && m_stretches.last().instantaneous->count() > 0)
            startStretch();
        m_broken = false;
        m_stretches.last().instantaneous->append(reading.seconds, reading.speed->instantaneous / 10.0);
        m_stretches.last().maximum->append(reading.seconds, reading.speed->maximum / 10.0);
        markLonePoints(m_stretches.last());
    }
    forgetBefore(reading.seconds - Span);
    fitAxes(reading.seconds);
}

void SpeedChart::startStretch()
{
    const Stretch s{line(QStringLiteral("Vitesse instantanée"), InstantaneousColour),
                    line(QStringLiteral("Maximum enregistré"), MaximumColour)};
    for (QLineSeries *series : {s.instantaneous, s.maximum}) {
        chart()->addSeries(series);
        series->attachAxis(m_time);
        series->attachAxis(m_speed);
        // One legend entry per line, not per stretch.
        if (!m_stretches.isEmpty())
            chart()->legend()->markers(series).constFirst()->setVisible(false);
    }
    m_stretches.append(s);
}

// Points out of view are dropped, so a long run holds five minutes at most.
void SpeedChart::forgetBefore(double seconds)
{
    while (!m_stretches.isEmpty()) {
        Stretch &oldest = m_stretches.first();
        for (QLineSeries *series : {oldest.instantaneous, oldest.maximum}) {
            int old = 0;
            while (old < series->count() && series->at(old).x() < seconds)
                ++old;
            series->removePoints(0, old);
        }
        markLonePoints(oldest);
        if (oldest.instantaneous->count() > 0 || m_stretches.size() == 1)
            return;
        chart()->removeSeries(oldest.instantaneous);
        chart()->removeSeries(oldest.maximum);
        delete oldest.instantaneous;
        delete oldest.maximum;
        m_stretches.removeFirst();
        // The legend shows the first stretch's entries.
        for (QLineSeries *series : {m_stretches.first().instantaneous, m_stretches.first().maximum})
            chart()->legend()->markers(series).constFirst()->setVisible(true);
    }
}

// A stretch of one reading between two silent ones is a point, not a line.
void SpeedChart::markLonePoints(const Stretch &stretch)
{
    for (QLineSeries *series : {stretch.instantaneous, stretch.maximum})
        series->setPointsVisible(series->count() == 1);
}

// The time axis grows with the run up to its span, then slides.
void SpeedChart::fitAxes(double now)
{
    const double from = std::max(0.0, now - Span);
    const double to = std::max(MinimumSpan, now);
    m_time->setRange(from, to);
    m_time->setTickInterval(to - from <= 60.0 ? 10.0 : to - from <= 150.0 ? 30.0 : 60.0);
    double top = 0.0;
    for (const Stretch &s : m_stretches)
        for (QLineSeries *series : {s.instantaneous, s.maximum})
            for (const QPointF &p : series->points())
                top = std::max(top, p.y());
    // Room above the highest point, ticks on round values.
    m_speed->setRange(0.0, std::max(10.0, top * 1.1));
    m_speed->applyNiceNumbers();
}

QList<QLineSeries *> SpeedChart::instantaneousStretches() const
{
    QList<QLineSeries *> result;
    for (const Stretch &s : m_stretches)
        result.append(s.instantaneous);
    return result;
}

QList<QLineSeries *> SpeedChart::maximumStretches() const
{
    QList<QLineSeries *> result;
    for (const Stretch &s : m_stretches)
        result.append(s.maximum);
    return result;
}
