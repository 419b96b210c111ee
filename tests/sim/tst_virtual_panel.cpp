#include "virtual_panel.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace sim;
using namespace std::chrono_literals;

namespace {

std::string frame(const std::string &command, const std::string &prefix = "_31")
{
    return prefix + '\x02' + command + '\x03';
}

std::string frames(const QStringList &commands, const std::string &prefix = "_31")
{
    std::string text;
    for (const QString &command : commands)
        text += frame(command.toStdString(), prefix);
    return text;
}

// The data frames Y00, Y01, ... of a write page.
QStringList dataBytes(int count)
{
    QStringList commands;
    for (int i = 0; i < count; ++i)
        commands << QString("Y%1").arg(i, 2, 16, QChar('0')).toUpper();
    return commands;
}

const std::string Ack("01\x02\x06\x03");

std::string byteAnswer(unsigned byte)
{
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", byte & 0xFF);
    return std::string("01\x02") + digits + '\x03';
}

std::string repeated(const std::string &text, int times)
{
    std::string all;
    while (times-- > 0)
        all += text;
    return all;
}

// The tool's end of the line: the slave opened raw, as a serial port is.
class Line
{
public:
    explicit Line(const std::string &path)
        : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        termios tio{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~Line() { close(); }
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool isOpen() const { return m_fd >= 0; }
    ssize_t send(const std::string &text) { return ::write(m_fd, text.data(), text.size()); }

    // Reads until count characters have come or timeout has passed, noting
    // when each was read.
    std::string read(std::size_t count, std::chrono::milliseconds timeout, std::vector<Clock::time_point> *times = nullptr)
    {
        std::string text;
        const auto deadline = Clock::now() + timeout;
        while (text.size() < count && Clock::now() < deadline) {
            if (!(events(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())) & POLLIN))
                continue;
            char buffer[256];
            const ssize_t n = ::read(m_fd, buffer, std::min(sizeof buffer, count - text.size()));
            if (n <= 0)
                break;
            text.append(buffer, std::size_t(n));
            if (times)
                times->insert(times->end(), std::size_t(n), Clock::now());
        }
        return text;
    }
    short events(std::chrono::milliseconds timeout)
    {
        pollfd fd{m_fd, POLLIN, 0};
        return ::poll(&fd, 1, int(std::max(timeout.count(), 0L))) > 0 ? fd.revents : 0;
    }

private:
    int m_fd;
};

} // namespace

class TestVirtualPanel : public QObject
{
    Q_OBJECT

private slots:
    void readSequence_data();
    void readSequence();
    void writePage_data();
    void writePage();
    void switchesOverlay_data();
    void switchesOverlay();
    void faultShapesAnswers_data();
    void faultShapesAnswers();
    void lateAnswer();
    void lineRateTiming();
    void hangUp_data();
    void hangUp();
    void logKeepsFramesInOrder();
    void reopenStartsClean();
    void linkReplacesOnlySymlinks();
};

void TestVirtualPanel::readSequence_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::newRow("editor, 64 from 40") << "31" << 0x40 << 64;
    QTest::newRow("switches, 128 from 00") << "_31" << 0x00 << 128;
    QTest::newRow("wraps past 7F") << "31" << 0x7E << 4;
}

void TestVirtualPanel::readSequence()
{
    QFETCH(QString, prefix);
    QFETCH(int, first);
    QFETCH(int, count);
    VirtualPanel panel;
    QVERIFY(panel.start());
    Line line(panel.devicePath());
    const QString address = QString("Y%1").arg(first, 2, 16, QChar('0')).toUpper();
    const std::string p = prefix.toStdString();
    line.send(frames({"SSS", "ZA0", address, "ZA1"}, p) + repeated(frame("X1X", p), count) + frames({"X6X", "RRR"}, p));

    const std::string answer = line.read(std::size_t(20 + 6 * count + 10), 2s);
    QCOMPARE(answer.size(), std::size_t(20 + 6 * count + 10));
    QCOMPARE(answer.substr(0, 20), repeated(Ack, 4));
    const Memory sample = PanelState::programmed().memory;
    for (int i = 0; i < count; ++i)
        QCOMPARE(answer.substr(std::size_t(20 + 6 * i), 6), byteAnswer(sample[(first + i) % MemorySize]));
    QCOMPARE(answer.substr(answer.size() - 10), repeated(Ack, 2));
}

void TestVirtualPanel::writePage_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QList<int>>("changed"); // the k-th address now holds k
    QList<int> page50;
    for (int i = 0; i < 16; ++i)
        page50 << 0x50 + i;
    QTest::newRow("page at 50") << (QStringList{"SSS", "ZA0", "Y50"} + dataBytes(16) + QStringList{"WWW"}) << page50;
    QTest::newRow("page wraps past 7F") << (QStringList{"SSS", "ZA0", "Y7C"} + dataBytes(5) + QStringList{"WWW"})
                                        << QList<int>{0x7C, 0x7D, 0x7E, 0x7F, 0x00};
    QTest::newRow("interrupted by SSS") << (QStringList{"SSS", "ZA0", "Y50"} + dataBytes(2) + QStringList{"SSS"})
                                        << QList<int>{};
    QTest::newRow("replaced by a new page")
        << (QStringList{"SSS", "ZA0", "Y50", "Y07", "Y08", "ZA0", "Y60", "Y00", "WWW"}) << QList<int>{0x60};
    QTest::newRow("non-hexadecimal data") << QStringList{"SSS", "ZA0", "Y20", "Y00", "YZ1", "Y01", "WWW"}
                                          << QList<int>{};
    QTest::newRow("data during a read") << QStringList{"SSS", "ZA0", "Y20", "ZA1", "Y00", "WWW"} << QList<int>{};
}

void TestVirtualPanel::writePage()
{
    QFETCH(QStringList, commands);
    QFETCH(QList<int>, changed);
    VirtualPanel panel(PanelState::blank());
    QVERIFY(panel.start());
    Line line(panel.devicePath());
    line.send(frames(commands));

    QCOMPARE(line.read(5 * std::size_t(commands.size()) + 1, 200ms), repeated(Ack, int(commands.size())));
    Memory expected = PanelState::blank().memory;
    for (int k = 0; k < changed.size(); ++k)
        expected[changed[k]] = std::uint8_t(k);
    QCOMPARE(panel.memory(), expected);
}

void TestVirtualPanel::switchesOverlay_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("first");
    QTest::addColumn<QByteArray>("expected"); // three bytes read from first
    QTest::addColumn<int>("memory74");
    QTest::newRow("no PPP") << QStringList{} << 0x4A << QByteArray("\x81\xF4\x01") << 0x81;
    QTest::newRow("after PPP") << QStringList{"PPP"} << 0x4A << QByteArray("\xA5\x3C\x54") << 0x81;
    QTest::newRow("SSS keeps it") << QStringList{"PPP", "SSS"} << 0x4A << QByteArray("\xA5\x3C\x54") << 0x81;
    QTest::newRow("RRR ends it") << QStringList{"PPP", "RRR"} << 0x4A << QByteArray("\x81\xF4\x01") << 0x81;
    QTest::newRow("luminosity unchanged") << QStringList{"PPP"} << 0x3C << QByteArray("\x21\x09\x04") << 0x81;
    QTest::newRow("writes reach memory") << QStringList{"PPP", "SSS", "ZA0", "Y4A", "Y11", "WWW"} << 0x4A
                                         << QByteArray("\xA5\x3C\x54") << 0x11;
}

void TestVirtualPanel::switchesOverlay()
{
    QFETCH(QStringList, before);
    QFETCH(int, first);
    QFETCH(QByteArray, expected);
    QFETCH(int, memory74);
    VirtualPanel panel;
    QVERIFY(panel.start());
    Line line(panel.devicePath());
    const QString address = QString("Y%1").arg(first, 2, 16, QChar('0')).toUpper();
    line.send(frames(before + QStringList{"SSS", "ZA0", address, "ZA1", "X1X", "X1X", "X1X"}));

    const std::size_t acks = 5 * std::size_t(before.size() + 4);
    const std::string answer = line.read(acks + 18, 500ms);
    QCOMPARE(answer.substr(acks), byteAnswer(quint8(expected[0])) + byteAnswer(quint8(expected[1])) + byteAnswer(quint8(expected[2])));
    QCOMPARE(int(panel.memory()[74]), memory74);
}

void TestVirtualPanel::faultShapesAnswers_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("none") << Fault::None << "RRR" << QByteArray("01\x02\x06\x03");
    QTest::newRow("silent") << Fault::Silent << "RRR" << QByteArray();
    QTest::newRow("truncated ack") << Fault::Truncated << "RRR" << QByteArray("01\x02\x06");
    QTest::newRow("truncated byte") << Fault::Truncated << "AAA" << QByteArray("01\x02" "04");
    QTest::newRow("extra") << Fault::Extra << "DDD" << QByteArray("01\x02" "37\x03!");
    QTest::newRow("garbled") << Fault::Garbled << "BBB" << QByteArray("pqB\x04" "rC");
}

void TestVirtualPanel::faultShapesAnswers()
{
    QFETCH(Fault, fault);
    QFETCH(QString, command);
    QFETCH(QByteArray, expected);
    VirtualPanel panel;
    panel.setFault(fault);
    QVERIFY(panel.start());
    Line line(panel.devicePath());
    line.send(frame(command.toStdString(), "31"));

    QCOMPARE(line.read(std::size_t(expected.size()) + 1, 200ms), expected.toStdString());
    QVERIFY(panel.waitForFrames(1, 0ms));
}

void TestVirtualPanel::lateAnswer()
{
    VirtualPanel panel;
    panel.setFault(Fault::Late);
    QVERIFY(panel.start());
    Line line(panel.devicePath());
    const auto sent = Clock::now();
    line.send(frame("RRR") + frame("CCC"));

    QCOMPARE(line.read(1, 1100ms), std::string());
    std::vector<Clock::time_point> times;
    QCOMPARE(line.read(11, 1s, &times), Ack + byteAnswer(567 >> 8));
    QVERIFY(times.front() - sent >= VirtualPanel::LateDelay);
}

// 20 frames of 7 characters in, 20 acknowledgements of 5 out: the last
// character can leave no earlier than 145 character times after the write.
void TestVirtualPanel::lineRateTiming()
{
    VirtualPanel panel;
    panel.setLineRate(true);
    QVERIFY(panel.start());
    Line line(panel.devicePath());
    const auto sent = Clock::now();
    line.send(repeated(frame("RRR", "31"), 20));

    std::vector<Clock::time_point> times;
    QCOMPARE(line.read(101, 1s, &times), repeated(Ack, 20));
    const auto T = VirtualPanel::CharacterTime;
    const auto slack = 500us;
    QVERIFY(times.front() - sent >= 8 * T - slack);
    QVERIFY(times[4] - times[0] >= 4 * T - slack);
    QVERIFY(times.back() - sent >= 145 * T - slack);
    QVERIFY(times.back() - sent <= 145 * T + 150ms);
}

void TestVirtualPanel::hangUp_data()
{
    QTest::addColumn<bool>("explicitCall");
    QTest::addColumn<int>("framesLogged");
    QTest::newRow("hangUp()") << true << 1;
    QTest::newRow("after 2 frames") << false << 2;
}

void TestVirtualPanel::hangUp()
{
    QFETCH(bool, explicitCall);
    QFETCH(int, framesLogged);
    VirtualPanel panel;
    panel.setFault(explicitCall ? Fault::None : Fault::HangUp, 2);
    QVERIFY(panel.start());
    Line line(panel.devicePath());
    line.send(explicitCall ? frame("RRR") : repeated(frame("RRR"), 3));
    QCOMPARE(line.read(5, 500ms), Ack);
    if (explicitCall)
        panel.hangUp();

    QVERIFY(line.events(1000ms) & POLLHUP);
    QCOMPARE(line.read(1, 100ms), std::string());
    QCOMPARE(line.send(frame("RRR")), ssize_t(-1));
    QCOMPARE(errno, EIO);
    QVERIFY(panel.isHungUp());
    QCOMPARE(panel.frames().size(), std::size_t(framesLogged));
}

void TestVirtualPanel::logKeepsFramesInOrder()
{
    VirtualPanel panel;
    QVERIFY(panel.start());
    Line line(panel.devicePath());
    const std::string sent = "xx" + frame("SSS", "31") + "31\x02S\x03" + frame("ZA0") + "\x02" + frame("X6X", "31");
    line.send(sent);

    QVERIFY(panel.waitForFrames(3, 1s));
    const std::vector<LoggedFrame> log = panel.frames();
    QCOMPARE(log.size(), std::size_t(3));
    QCOMPARE(log[0].prefix + log[0].command, std::string("31SSS"));
    QCOMPARE(log[1].prefix + log[1].command, std::string("_31ZA0"));
    QCOMPARE(log[2].prefix + log[2].command, std::string("31X6X"));
    QVERIFY(log[0].arrival <= log[1].arrival && log[1].arrival <= log[2].arrival);
    QCOMPARE(panel.received(), sent);
    QCOMPARE(panel.anomalies().size(), std::size_t(3));
    QCOMPARE(line.read(16, 300ms), repeated(Ack, 3));

    panel.clearLog();
    QVERIFY(panel.frames().empty() && panel.received().empty() && panel.anomalies().empty());
}

// The panel keeps a slave open, yet like a serial port a reopened device
// must not hold what the panel sent while it was closed.
void TestVirtualPanel::reopenStartsClean()
{
    VirtualPanel panel;
    panel.setFault(Fault::Late);
    QVERIFY(panel.start());
    Line first(panel.devicePath());
    first.send(frame("AAA"));
    QVERIFY(panel.waitForFrames(1, 1s));
    first.close();
    QTest::qSleep(1300);
    panel.setFault(Fault::None);

    Line second(panel.devicePath());
    QVERIFY(second.isOpen());
    second.send(frame("RRR"));
    QCOMPARE(second.read(6, 300ms), Ack);
}

void TestVirtualPanel::linkReplacesOnlySymlinks()
{
    QTemporaryDir dir;
    const std::string link = dir.filePath("COM3").toStdString();
    const std::string file = dir.filePath("file").toStdString();
    QVERIFY(::symlink("/nonexistent", link.c_str()) == 0);
    QFile(QString::fromStdString(file)).open(QIODevice::WriteOnly);
    {
        VirtualPanel panel;
        QVERIFY(!panel.linkTo(link));
        QVERIFY(panel.start());
        QVERIFY(panel.linkTo(link));
        QCOMPARE(QFileInfo(QString::fromStdString(link)).symLinkTarget().toStdString(), panel.devicePath());
        std::string error;
        QVERIFY(!panel.linkTo(file, &error));
        QVERIFY(!error.empty());
    }
    QVERIFY(!QFileInfo(QString::fromStdString(link)).isSymLink());
    QVERIFY(QFileInfo::exists(QString::fromStdString(file)));
}

QTEST_GUILESS_MAIN(TestVirtualPanel)
#include "tst_virtual_panel.moc"
