#include "virtual_panel.h"

#include <QtTest>

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
    void send(const QByteArray &text) { QCOMPARE(::write(m_fd, text.data(), std::size_t(text.size())), text.size()); }

    // Up to count characters, as they come before the timeout, each noted
    // with when it was read.
    QByteArray read(int count, std::chrono::milliseconds timeout, std::vector<Clock::time_point> *times = nullptr)
    {
        QByteArray text;
        const auto deadline = Clock::now() + timeout;
        char c;
        while (text.size() < count && readable(deadline) && ::read(m_fd, &c, 1) == 1) {
            text += c;
            if (times)
                times->push_back(Clock::now());
        }
        return text;
    }
    bool readable(Clock::time_point deadline)
    {
        pollfd fd{m_fd, POLLIN, 0};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return ::poll(&fd, 1, int(std::max<long>(left, 0))) > 0 && (fd.revents & POLLIN);
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
    // SSS drops the open page, so the WWW after it has nothing to write; the
    // complete page that follows shows that writes do land.
    void interruptedPageWritesNothing()
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
    void switchesShownUntilRRR()
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
    // Bounds run from the write: a late read only adds to them.
    void lineRateTiming()
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
        QVERIFY(times[4] - sent >= 12 * T - slack);
        QVERIFY(times.back() - sent >= 145 * T - slack);
        QVERIFY(times.back() - sent <= 145 * T + 150ms);
    }
};

QTEST_GUILESS_MAIN(TestVirtualPanel)
#include "tst_virtual_panel.moc"
