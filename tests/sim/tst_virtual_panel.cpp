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

QByteArray frame(const QByteArray &command, const QByteArray &prefix = "_31")
{
    return prefix + '\x02' + command + '\x03';
}

QByteArray frames(const QList<QByteArray> &commands)
{
    QByteArray text;
    for (const QByteArray &command : commands)
        text += frame(command);
    return text;
}

const QByteArray Ack("01\x02\x06\x03");

// The answer to "SSS", "ZA0", an address, "ZA1" and an "X1X" per byte.
QByteArray readAnswer(const QByteArray &hexBytes)
{
    QByteArray answer = Ack.repeated(4);
    for (int i = 0; i < hexBytes.size(); i += 2)
        answer += "01\x02" + hexBytes.mid(i, 2) + '\x03';
    return answer;
}

// A started panel and the tool's end of its line, opened raw as a serial port is.
class Line
{
public:
    explicit Line(const PanelState &state = PanelState::programmed())
        : panel(state)
    {
        if (panel.start())
            m_fd = ::open(panel.devicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~Line()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    ssize_t send(const QByteArray &text) { return ::write(m_fd, text.data(), std::size_t(text.size())); }

    // Up to count characters, as they come before the timeout, each noted
    // with when it was read.
    QByteArray read(int count, std::chrono::milliseconds timeout, std::vector<Clock::time_point> *times = nullptr)
    {
        QByteArray text;
        const auto deadline = Clock::now() + timeout;
        char c;
        while (text.size() < count && (events(deadline) & POLLIN) && ::read(m_fd, &c, 1) == 1) {
            text += c;
            if (times)
                times->push_back(Clock::now());
        }
        return text;
    }
    short events(Clock::time_point deadline)
    {
        pollfd fd{m_fd, POLLIN, 0};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return ::poll(&fd, 1, int(std::max<long>(left, 0))) > 0 ? fd.revents : 0;
    }

    VirtualPanel panel;

private:
    int m_fd = -1;
};

} // namespace

class TestVirtualPanel : public QObject
{
    Q_OBJECT

private slots:
    void faultShapes_data();
    void faultShapes();
    void interruptedPageWritesNothing();
    void switchesShownUntilRRR();
    void lineRateTiming();
    void hangUp_data();
    void hangUp();
    void logKeepsFramesInOrder();
    void linkReplacesOnlySymlinks();
};

void TestVirtualPanel::faultShapes_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("none") << Fault::None << QByteArray("RRR") << Ack;
    QTest::newRow("silent") << Fault::Silent << QByteArray("RRR") << QByteArray();
    QTest::newRow("truncated ack") << Fault::Truncated << QByteArray("RRR") << QByteArray("01\x02\x06");
    QTest::newRow("truncated byte") << Fault::Truncated << QByteArray("AAA") << QByteArray("01\x02" "04");
    QTest::newRow("extra") << Fault::Extra << QByteArray("DDD") << QByteArray("01\x02" "37\x03!");
    QTest::newRow("garbled") << Fault::Garbled << QByteArray("BBB") << QByteArray("pqB\x04" "rC");
}

void TestVirtualPanel::faultShapes()
{
    QFETCH(Fault, fault);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, expected);
    Line line;
    line.panel.setFault(fault);
    QVERIFY(line.isOpen());
    line.send(frame(command, "31"));

    QCOMPARE(line.read(expected.size() + 1, 200ms), expected);
    QVERIFY(line.panel.waitForFrames(1, 0ms));
}

// SSS drops the open page, so the WWW after it has nothing to write; the
// complete page that follows shows that writes do land.
void TestVirtualPanel::interruptedPageWritesNothing()
{
    Line line(PanelState::blank());
    QVERIFY(line.isOpen());
    line.send(frames({"SSS", "ZA0", "Y50", "Y07", "Y08", "SSS", "WWW", "SSS", "ZA0", "Y60", "Y09", "WWW"}));

    QCOMPARE(line.read(61, 300ms), Ack.repeated(12));
    Memory expected = PanelState::blank().memory;
    expected[0x60] = 0x09;
    QCOMPARE(line.panel.memory(), expected);
}

// After PPP, 74-76 read the switch banks and variant (A5 3C 54) instead of
// memory (81 F4 01), through the reads' own SSS, until RRR.
void TestVirtualPanel::switchesShownUntilRRR()
{
    Line line;
    QVERIFY(line.isOpen());
    const QByteArray read4A = frames({"SSS", "ZA0", "Y4A", "ZA1", "X1X", "X1X", "X1X"});
    const QByteArray read3C = frames({"SSS", "ZA0", "Y3C", "ZA1", "X1X", "X1X", "X1X"});
    line.send(frame("PPP") + read4A + read3C + frame("RRR") + read4A);

    const QByteArray expected = Ack + readAnswer("A53C54") + readAnswer("210904") + Ack + readAnswer("81F401");
    QCOMPARE(line.read(expected.size() + 1, 500ms), expected);
}

// 20 frames of 7 characters in, 20 acknowledgements of 5 out: the last
// character can leave no earlier than 145 character times after the write.
void TestVirtualPanel::lineRateTiming()
{
    Line line;
    line.panel.setLineRate(true);
    QVERIFY(line.isOpen());
    const auto sent = Clock::now();
    line.send(frame("RRR", "31").repeated(20));

    std::vector<Clock::time_point> times;
    QCOMPARE(line.read(101, 1s, &times), Ack.repeated(20));
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
    Line line;
    line.panel.setFault(explicitCall ? Fault::None : Fault::HangUp, 2);
    QVERIFY(line.isOpen());
    line.send(frame("RRR").repeated(explicitCall ? 1 : 3));
    QCOMPARE(line.read(5, 500ms), Ack);
    if (explicitCall)
        line.panel.hangUp();

    QVERIFY(line.events(Clock::now() + 1s) & POLLHUP);
    QCOMPARE(line.read(1, 100ms), QByteArray());
    QCOMPARE(line.send(frame("RRR")), ssize_t(-1));
    QCOMPARE(errno, EIO);
    QVERIFY(line.panel.isHungUp());
    QCOMPARE(line.panel.frames().size(), std::size_t(framesLogged));
}

void TestVirtualPanel::logKeepsFramesInOrder()
{
    Line line;
    QVERIFY(line.isOpen());
    const QByteArray sent = "xx" + frame("SSS", "31") + "31\x02S\x03" + frame("ZA0") + "\x02" + frame("X6X", "31");
    line.send(sent);

    QVERIFY(line.panel.waitForFrames(3, 1s));
    std::string order;
    Clock::time_point last{};
    for (const LoggedFrame &f : line.panel.frames()) {
        order += f.prefix + f.command + ' ';
        QVERIFY(f.arrival >= last);
        last = f.arrival;
    }
    QCOMPARE(order, std::string("31SSS _31ZA0 31X6X "));
    QCOMPARE(QByteArray::fromStdString(line.panel.received()), sent);
    QCOMPARE(line.panel.anomalies().size(), std::size_t(3));
    QCOMPARE(line.read(16, 300ms), Ack.repeated(3));

    line.panel.clearLog();
    QVERIFY(line.panel.frames().empty() && line.panel.received().empty() && line.panel.anomalies().empty());
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
