#pragma once

#include "monitor/speed_log.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;
class SpeedChart;
class WindowRegistry;

// Reads the live speed over and over, one reading after the other, and shows
// each reading, the highest and mean speeds and a chart of the last minutes.
// Between two readings the event loop runs, so that stopping, closing and
// quitting take effect once the reading on the line is over; a reading is
// never cut.
class SURVEILLANCE : public QWidget
{
    Q_OBJECT
public:
    explicit SURVEILLANCE(WindowRegistry &registry, QWidget *parent = nullptr);

    const SpeedLog &log() const { return m_log; }
    SpeedChart &speedChart() const { return *m_chart; }
    bool isRunning() const { return m_running; }

    void startButton_Click();
    void stopButton_Click();
    void exportButton_Click();

signals:
    // A reading is over and on screen.
    void readingShown();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void nextReading();
    void showReading(const SpeedReading &reading);
    void setRunning(bool running);

    WindowRegistry &m_registry;
    SpeedLog m_log;
    QTimer m_timer;
    QElapsedTimer m_clock;
    bool m_running = false;
    bool m_onTheLine = false;
    bool m_closeWanted = false;

    QLabel *VITESSE_VENT = nullptr;
    QLabel *VITESSE_VENT_MAX = nullptr;
    QLabel *highestLabel = nullptr;
    QLabel *meanLabel = nullptr;
    QLabel *unansweredLabel = nullptr;
    QPushButton *startButton = nullptr;
    QPushButton *stopButton = nullptr;
    QPushButton *exportButton = nullptr;
    SpeedChart *m_chart = nullptr;
};
