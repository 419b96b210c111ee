#include "port/serial_port.h"

#include "port/port_map.h"

#include <QStringList>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <sys/file.h>
#endif

using namespace std::chrono;

SerialPort::SerialPort(const PortMap &ports)
    : m_ports(ports)
{
}

SerialPort::~SerialPort()
{
    close();
}

void SerialPort::setCommPort(int port)
{
    m_commPort = port;
}

QString SerialPort::device() const
{
    return m_ports.device(m_commPort);
}

void SerialPort::setSettings(const QString &settings)
{
    const QStringList parts = settings.split(QLatin1Char(','));
    if (parts.size() != 4)
        return;
    bool ok = false;
    const int baud = parts[0].trimmed().toInt(&ok);
    if (ok && baud > 0)
        m_baud = baud;
    const QString parity = parts[1].trimmed().toUpper();
    if (parity == QLatin1String("N"))
        m_parity = QSerialPort::NoParity;
    else if (parity == QLatin1String("E"))
        m_parity = QSerialPort::EvenParity;
    else if (parity == QLatin1String("O"))
        m_parity = QSerialPort::OddParity;
    const int bits = parts[2].trimmed().toInt(&ok);
    if (ok && bits >= 5 && bits <= 8)
        m_dataBits = static_cast<QSerialPort::DataBits>(bits);
    m_stopBits = parts[3].trimmed() == QLatin1String("2") ? QSerialPort::TwoStop : QSerialPort::OneStop;
}

bool SerialPort::open()
{
    close();
    m_lost = false;
    m_errorText.clear();
    m_port.setPortName(device());
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_errorText = m_port.errorString();
        return false;
    }
#ifdef Q_OS_UNIX
    // QSerialPort's lock file is keyed by the name used, so a device reached
    // through another path (a link) would open twice without this.
    if (::flock(int(m_port.handle()), LOCK_EX | LOCK_NB) != 0) {
        m_errorText = QStringLiteral("port déjà utilisé");
        m_port.close();
        return false;
    }
#endif
    const bool configured = m_port.setBaudRate(m_baud) && m_port.setParity(m_parity)
        && m_port.setDataBits(m_dataBits) && m_port.setStopBits(m_stopBits)
        && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_errorText = m_port.errorString();
        m_port.close();
        return false;
    }
    m_port.setReadBufferSize(0);
    m_lineFreeAt = Clock::now();
    ++m_session;
    return true;
}

void SerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
}

SerialPort::Clock::duration SerialPort::characterTime() const
{
    const int parityBits = m_parity == QSerialPort::NoParity ? 0 : 1;
    const int stopBits = m_stopBits == QSerialPort::TwoStop ? 2 : 1;
    const int bits = 1 + int(m_dataBits) + parityBits + stopBits;
    return duration_cast<Clock::duration>(duration<double>(double(bits) / m_baud));
}

void SerialPort::output(const QByteArray &bytes)
{
    if (!isOpen() || bytes.isEmpty())
        return;
    const Clock::time_point handedOver = Clock::now();
    const qint64 taken = m_port.write(bytes);
    if (m_observer && taken > 0)
        m_observer->written(bytes.left(taken));
    // Into the driver at once: the time the line needs is accounted below.
    const Clock::time_point giveUp = handedOver + seconds(2) + characterTime() * bytes.size();
    while (isOpen() && m_port.bytesToWrite() > 0 && Clock::now() < giveUp) {
        if (!m_port.waitForBytesWritten(50))
            checkLoss();
    }
    m_lineFreeAt = std::max(m_lineFreeAt, handedOver) + characterTime() * bytes.size();
}

void SerialPort::pump()
{
    if (!isOpen())
        return;
    while (m_port.waitForReadyRead(0)) {
    }
    checkLoss();
    if (isOpen() && waitOnDevice(0) == DeviceState::HungUp)
        markLost(QStringLiteral("ligne coupée"));
}

// QSerialPort does not report a hung-up line (an adapter pulled out, the far
// end of a pseudo-terminal closed) while it waits; poll() does.
SerialPort::DeviceState SerialPort::waitOnDevice(int milliseconds)
{
#ifdef Q_OS_UNIX
    pollfd p{int(m_port.handle()), POLLIN, 0};
    if (::poll(&p, 1, milliseconds) <= 0)
        return DeviceState::Quiet;
    if (p.revents & POLLIN)
        return DeviceState::Readable;
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
        return DeviceState::HungUp;
    return DeviceState::Quiet;
#else
    return m_port.waitForReadyRead(milliseconds) ? DeviceState::Readable : DeviceState::Quiet;
#endif
}

void SerialPort::checkLoss()
{
    switch (m_port.error()) {
    case QSerialPort::ResourceError:
    case QSerialPort::PermissionError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        markLost(m_port.errorString());
        break;
    default:
        break;
    }
    m_port.clearError();
}

void SerialPort::markLost(const QString &reason)
{
    m_lost = true;
    m_errorText = reason;
    m_port.close();
}

QByteArray SerialPort::input()
{
    pump();
    return isOpen() ? m_port.readAll() : QByteArray();
}

int SerialPort::inBufferCount()
{
    pump();
    return int(m_port.bytesAvailable());
}

void SerialPort::discardInput()
{
    if (!isOpen())
        return;
    m_port.clear(QSerialPort::Input);
    m_port.clearError();
    if (m_observer)
        m_observer->discarded();
}

void SerialPort::setDtrEnable(bool enable)
{
    if (!isOpen())
        return;
    // A device without modem lines (a pseudo-terminal) refuses; that is fine.
    if (!m_port.setDataTerminalReady(enable))
        m_port.clearError();
    if (m_observer)
        m_observer->dtrSet(enable);
}

void SerialPort::waitForInput(Clock::time_point until)
{
    if (!isOpen())
        return;
    const auto left = duration_cast<milliseconds>(until - Clock::now()).count();
    if (left <= 0)
        return;
    switch (waitOnDevice(int(left))) {
    case DeviceState::Readable:
        pump();
        break;
    case DeviceState::HungUp:
        markLost(QStringLiteral("ligne coupée"));
        break;
    case DeviceState::Quiet:
        break;
    }
}
