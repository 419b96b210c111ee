#pragma once

#include "panel/panel_record.h"

#include <QByteArray>
#include <QObject>

#include <chrono>

class SerialPort;
struct AnswerCondition;

// Sees every operation of the exchange as it is made (the benchmark uses it
// to work out the least time a flow can take).
class ExchangeObserver
{
public:
    virtual ~ExchangeObserver() = default;
    virtual void sent(const QByteArray &bytes) = 0;
    virtual void paused(double seconds) = 0;
    virtual void discarded() = 0;
    virtual void waited(const AnswerCondition &condition) = 0;
};

// How many answer characters a wait is for.
struct AnswerCondition
{
    enum Kind { AtLeast, Exactly };
    Kind kind;
    int count;

    bool heldBy(int waiting) const { return kind == AtLeast ? waiting >= count : waiting == count; }
};

// The operations every conversation with the panel is written with, over the
// one serial port. Waits sleep on the port or the clock and keep the windows
// painting, but let no user input through until the exchange is over.
class Exchange : public QObject
{
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds AnswerLimit{1};

    explicit Exchange(SerialPort &port, QObject *parent = nullptr);

    SerialPort &port() { return m_port; }

    static QByteArray frame(const QByteArray &prefix, const QByteArray &command);

    // The frame, repeated, in one write; returns without waiting for answers.
    void ENVOI_TRAME(const QByteArray &prefix, const QByteArray &command, int repeat = 1);
    // Over at the first clock reading strictly past start + seconds.
    void PAUSE(double seconds);
    // Drops everything waiting at the port.
    void VIDE_RECEPTION();
    // Waits for the answer; true when it did not come within the second that
    // follows the end of transmission (or the device went away).
    bool ATTENTE_REPONSE(AnswerCondition condition);
    // The deadline ATTENTE_REPONSE would set now.
    Clock::time_point answerDeadline() const;
    // Waits until the condition holds (false) or the deadline passes (true).
    bool awaitAnswer(AnswerCondition condition, Clock::time_point deadline);
    // Everything waiting, as one text; the buffer is empty afterwards.
    QByteArray takeAnswer();
    void dtrOff();

    // What the transfers have learnt of the panel's memory.
    PanelMemoryRecord &record() { return m_record; }
    const PanelMemoryRecord &record() const { return m_record; }
    // The port's current opening, which what was learnt belongs to.
    int session() const;

    bool busy() const { return m_depth > 0; }
    // Every pause and answer limit is multiplied by this (1 on a real line):
    // tests of what flows send, not of how long they take, run faster.
    void setTimeScale(double scale) { m_timeScale = scale; }
    void setObserver(ExchangeObserver *observer) { m_observer = observer; }

    // Marks an exchange in progress for as long as it lives; nests.
    class Scope
    {
    public:
        explicit Scope(Exchange &exchange);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        Exchange &m_exchange;
    };

signals:
    void busyChanged(bool busy);

private:
    void keepAlive();

    SerialPort &m_port;
    ExchangeObserver *m_observer = nullptr;
    PanelMemoryRecord m_record;
    int m_depth = 0;
    double m_timeScale = 1;
};
