#pragma once

#include <QByteArray>
#include <QSerialPort>
#include <QString>

#include <chrono>

class PortMap;

// Sees what reaches the device, as it reaches it: the bytes written, the
// input discarded, the DTR line set.
class PortObserver
{
public:
    virtual ~PortObserver() = default;
    virtual void written(const QByteArray &bytes) = 0;
    virtual void discarded() = 0;
    virtual void dtrSet(bool enable) = 0;
};

// The one serial port of the tool (the object the link settings own). Wraps
// QSerialPort with the operations the exchanges rely on, and keeps track of
// when the characters handed to it have left on the line, so that answer time
// limits start at the end of transmission rather than at the hand-over.
class SerialPort
{
public:
    using Clock = std::chrono::steady_clock;

    explicit SerialPort(const PortMap &ports);
    ~SerialPort();
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    void setCommPort(int port);
    int commPort() const { return m_commPort; }
    QString device() const;
    // "baud,parity,data bits,stop bits", as "4800,N,8,1".
    void setSettings(const QString &settings);

    // Exclusive: fails when the device is missing or used by another program.
    bool open();
    void close();
    bool isOpen() const { return m_port.isOpen(); }
    // Changes at every opening: what was learnt of the panel before may not
    // hold for the one behind the port now.
    int session() const { return m_session; }
    QString errorText() const { return m_errorText; }

    void output(const QByteArray &bytes);
    QByteArray input();
    int inBufferCount();
    void discardInput();
    void setDtrEnable(bool enable);
    void setObserver(PortObserver *observer) { m_observer = observer; }

    // When the last character handed to output() will have left the port.
    Clock::time_point lineFreeAt() const { return m_lineFreeAt; }
    // Blocks until input arrives, the port fails, or the given time.
    void waitForInput(Clock::time_point until);
    // The device went away while open (a cable pulled out); the port is closed.
    bool lost() const { return m_lost; }
    void clearLoss() { m_lost = false; }

private:
    enum class DeviceState { Quiet, Readable, HungUp };
    void pump();
    DeviceState waitOnDevice(int milliseconds);
    void checkLoss();
    void markLost(const QString &reason);
    Clock::duration characterTime() const;

    const PortMap &m_ports;
    PortObserver *m_observer = nullptr;
    QSerialPort m_port;
    int m_commPort = 1;
    qint32 m_baud = 4800;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::DataBits m_dataBits = QSerialPort::Data8;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
    Clock::time_point m_lineFreeAt{};
    QString m_errorText;
    bool m_lost = false;
    int m_session = 0;
};
