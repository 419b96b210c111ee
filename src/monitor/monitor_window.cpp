#include "monitor/monitor_window.h"

#include "link/configuration_window.h"
#include "link/pwsbase.h"
#include "port/serial_port.h"
#include "monitor/speed_chart.h"
#include "monitor/speed_export.h"
#include "panel/exchange.h"
#include "params/live_speed_exchange.h"
#include "ui/widget_kit.h"
#include "ui/window_registry.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Left between two readings so that the input held back during a reading
// (a click on "Arrêter", the close button) is handled before the next one.
constexpr int GapMs = 10;
// How often to look again while another window's exchange holds the line.
constexpr int RetryMs = 100;

const QString HighestCaption = QStringLiteral(" Vitesse la plus haute :");
const QString MeanCaption = QStringLiteral(" Vitesse moyenne :");

QString withSpeed(const QString &caption, std::optional<int> tenths)
{
    return tenths ? caption + QLatin1Char(' ') + speedText(*tenths) + QStringLiteral(" Km/h.") : caption;
}

QLabel *speedBox(QWidget *parent, const char *name, const QString &text)
{
    QLabel *box = makeLabel(parent, QString::fromLatin1(name), text);
    setLabelColour(box, EditorColour::Blue);
    QPalette pal = box->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    box->setPalette(pal);
    box->setMinimumWidth(300);
    return box;
}
} // namespace

SURVEILLANCE::SURVEILLANCE(WindowRegistry &registry, QWidget *parent)
    : QWidget(parent)
    , m_registry(registry)
{
    setObjectName(QStringLiteral("SURVEILLANCE"));
    setWindowTitle(QStringLiteral("Surveillance de la vitesse."));
    buildControls();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SURVEILLANCE::nextReading);
    setRunning(false);
}

void SURVEILLANCE::buildControls()
{
    VITESSE_VENT = speedBox(this, "VITESSE_VENT", QStringLiteral(" Vitesse instantanée :"));
    VITESSE_VENT_MAX = speedBox(this, "VITESSE_VENT_MAX", QStringLiteral(" Maximum enregistré:"));
    highestLabel = new QLabel(HighestCaption, this);
    highestLabel->setObjectName(QStringLiteral("highestLabel"));
    meanLabel = new QLabel(MeanCaption, this);
    meanLabel->setObjectName(QStringLiteral("meanLabel"));
    unansweredLabel = new QLabel(this);
    unansweredLabel->setObjectName(QStringLiteral("unansweredLabel"));
    startButton = makeButton(this, "startButton", QStringLiteral("Démarrer"));
    stopButton = makeButton(this, "stopButton", QStringLiteral("Arrêter"));
    exportButton = makeButton(this, "exportButton", QStringLiteral("Exporter…"));
    connect(startButton, &QPushButton::clicked, this, &SURVEILLANCE::startButton_Click);
    connect(stopButton, &QPushButton::clicked, this, &SURVEILLANCE::stopButton_Click);
    connect(exportButton, &QPushButton::clicked, this, &SURVEILLANCE::exportButton_Click);
    m_chart = new SpeedChart(this);

    auto *figures = new QGridLayout;
    figures->addWidget(VITESSE_VENT, 0, 0);
    figures->addWidget(VITESSE_VENT_MAX, 1, 0);
    figures->addWidget(highestLabel, 0, 1);
    figures->addWidget(meanLabel, 1, 1);
    figures->addWidget(unansweredLabel, 2, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {startButton, stopButton, exportButton})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(figures);
    layout->addWidget(m_chart, 1);
    showReading(SpeedReading{0.0, std::nullopt});
}

void SURVEILLANCE::startButton_Click()
{
    if (m_running || !rawExchangeAllowed(m_registry))
        return;
    m_log.clear();
    m_chart->clear();
    unansweredLabel->setText(QStringLiteral("Lectures sans réponse : 0"));
    highestLabel->setText(HighestCaption);
    meanLabel->setText(MeanCaption);
    m_clock.start();
    setRunning(true);
    m_timer.start(0);
}

// A reading on the line goes to its end; none follows.
void SURVEILLANCE::stopButton_Click()
{
    setRunning(false);
}

void SURVEILLANCE::exportButton_Click()
{
    exportSpeedLog(m_registry.services(), m_log);
}

void SURVEILLANCE::closeEvent(QCloseEvent *event)
{
    setRunning(false);
    // The reading on the line still needs this window; it closes it when over.
    if (m_onTheLine) {
        m_closeWanted = true;
        event->ignore();
        return;
    }
    event->accept();
}

void SURVEILLANCE::nextReading()
{
    if (!m_running)
        return;
    Exchange &exchange = m_registry.configuration().exchange();
    // The other exchanges let timers run while they wait: never start inside one.
    if (exchange.busy()) {
        m_timer.start(RetryMs);
        return;
    }
    // A port lost earlier has had its message; a closed one gets the guard's.
    if (exchange.port().lost() || !rawExchangeAllowed(m_registry)) {
        setRunning(false);
        return;
    }
    const double at = m_clock.nsecsElapsed() / 1e9;
    m_onTheLine = true;
    const std::optional<LiveSpeed> speed = requestLiveSpeed(exchange);
    m_onTheLine = false;
    if (exchange.port().lost()) {
        setRunning(false); // the link settings have told the user
    } else {
        const SpeedReading reading{at, speed};
        m_log.add(reading);
        showReading(reading);
        emit readingShown();
    }
    if (m_closeWanted) {
        m_closeWanted = false;
        (parentWidget() ? parentWidget() : this)->close();
        return;
    }
    if (m_running)
        m_timer.start(GapMs);
}

void SURVEILLANCE::showReading(const SpeedReading &reading)
{
    if (reading.speed) {
        VITESSE_VENT->setText(instantaneousSpeedCaption(reading.speed->instantaneous));
        VITESSE_VENT_MAX->setText(maximumSpeedCaption(reading.speed->maximum));
        highestLabel->setText(withSpeed(HighestCaption, m_log.highest()));
        meanLabel->setText(withSpeed(MeanCaption, m_log.mean()));
        m_chart->add(reading);
    } else if (!m_log.readings().isEmpty()) {
        m_chart->add(reading);
    }
    unansweredLabel->setText(QStringLiteral("Lectures sans réponse : %1").arg(m_log.unanswered()));
    exportButton->setEnabled(!m_log.readings().isEmpty());
}

void SURVEILLANCE::setRunning(bool running)
{
    m_running = running;
    if (!running)
        m_timer.stop();
    startButton->setEnabled(!running);
    stopButton->setEnabled(running);
}
