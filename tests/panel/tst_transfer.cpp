#include "panel/memory_image.h"
#include "panel/transfer.h"
#include "support/panel_link.h"
#include "support/pty_pair.h"

#include <QtTest>

#include <atomic>
#include <thread>

using namespace std::chrono;
using Clock = steady_clock;

Q_DECLARE_METATYPE(const TransferProfile *)

namespace {
QStringList readFrames(const QString &prefix, int opening, const QString &address, int bytes, bool rrr)
{
    QStringList f = repeated(prefix + " SSS", opening);
    f << prefix + " SSS" << prefix + " ZA0" << prefix + " " + address << prefix + " ZA1";
    f += repeated(prefix + " X1X", bytes);
    f << prefix + " X6X";
    if (rrr)
        f << prefix + " RRR";
    return f;
}

QStringList writeFrames(const MemoryImage &image, int first, int pages)
{
    QStringList f = repeated("_31 SSS", 5);
    for (int g = 0; g < pages; ++g) {
        const int page = first + 16 * g;
        f << "_31 SSS" << "_31 ZA0" << QStringLiteral("_31 Y%1").arg(page, 2, 16, QLatin1Char('0')).toUpper();
        for (int j = page; j < page + 16; ++j)
            f << QStringLiteral("_31 Y") + image.text(j).rightJustified(2, QLatin1Char('0'));
        f << "_31 WWW";
    }
    return f;
}

// Texts of one and two digits, as the user may leave them.
void fillPattern(MemoryImage &image)
{
    for (int k = 0; k < MemoryImage::Size; ++k)
        image.set(k, hexText((k * 37 + 5) % 256), CellState::White);
}

const TransferProfile *profileNamed(const QString &name)
{
    if (name == QLatin1String("editor"))
        return &EditorTransfer;
    if (name == QLatin1String("switches"))
        return &SwitchesTransfer;
    return &LuminosityTransfer;
}

// A far end that sends a prepared answer once it has heard a frame.
class ScriptedPeer
{
public:
    ScriptedPeer(PtyPair &pty, QByteArray trigger, int times, QByteArray answer)
        : m_thread([this, &pty, trigger, times, answer] {
            QByteArray heard;
            while (!m_stop && heard.count(trigger) < times)
                heard += pty.readAvailable(10);
            if (!m_stop)
                pty.write(answer);
        })
    {
    }
    ~ScriptedPeer()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
} // namespace

class TransferTest : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void writes_data();
    void writes();
    void silentPanel_data();
    void silentPanel();
    void writeOfCellsWithoutBytesIsRefused_data();
    void writeOfCellsWithoutBytesIsRefused();
    void exactAnswersAtLineRate_data();
    void exactAnswersAtLineRate();
    void scriptedAnswerSizes_data();
    void scriptedAnswerSizes();
    void malformedAnswersFail_data();
    void malformedAnswersFail();
};

void TransferTest::reads_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::newRow("editor") << "editor" << readFrames("31", 1, "Y40", 64, true) << 64 << 64;
    QTest::newRow("switches") << "switches" << readFrames("_31", 5, "Y00", 128, true) << 0 << 128;
    QTest::newRow("luminosity") << "luminosity" << readFrames("_31", 5, "Y00", 128, false) << 0 << 128;
}

void TransferTest::reads()
{
    QFETCH(QString, profile);
    QFETCH(QStringList, frames);
    QFETCH(int, first);
    QFETCH(int, count);
    PanelLink link;
    QVERIFY(link.open());
    MemoryImage image;
    fillPattern(image);

    QCOMPARE(LIT_24C01(link.exchange, image, *profileNamed(profile)), false);
    QCOMPARE(link.frames(frames.size()), frames);
    const sim::Memory memory = link.panel.memory();
    for (int k = 0; k < MemoryImage::Size; ++k) {
        const bool read = k >= first && k < first + count;
        if (read) {
            QCOMPARE(image.text(k), QStringLiteral("%1").arg(memory[k], 2, 16, QLatin1Char('0')).toUpper());
            QCOMPARE(image.state(k), CellState::Green);
        } else {
            QCOMPARE(image.text(k), QStringLiteral(" "));
            QCOMPARE(image.state(k), CellState::White);
        }
    }
}

void TransferTest::writes_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("pages");
    QTest::newRow("editor") << "editor" << 64 << 4;
    QTest::newRow("luminosity") << "luminosity" << 0 << 8;
}

void TransferTest::writes()
{
    QFETCH(QString, profile);
    QFETCH(int, first);
    QFETCH(int, pages);
    PanelLink link;
    QVERIFY(link.open());
    const sim::Memory before = link.panel.memory();
    MemoryImage image;
    fillPattern(image);
    image.set(first + 3, QStringLiteral("5"), CellState::White); // sent as Y05

    const WriteOutcome outcome = ECRIT_24C01(link.exchange, image, *profileNamed(profile));
    QVERIFY(!outcome.failed());
    QCOMPARE(link.frames(5 + 20 * pages), writeFrames(image, first, pages));
    QVERIFY(link.frames().contains("_31 Y05"));
    const sim::Memory after = link.panel.memory();
    for (int k = 0; k < MemoryImage::Size; ++k) {
        const bool written = k >= first && k < first + 16 * pages;
        QCOMPARE(int(after[k]), written ? int(image.value(k)) : int(before[k]));
        QCOMPARE(image.state(k), CellState::Green);
    }
}

void TransferTest::silentPanel_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<bool>("write");
    QTest::newRow("editor read") << "editor" << false;
    QTest::newRow("switches read") << "switches" << false;
    QTest::newRow("luminosity read") << "luminosity" << false;
    QTest::newRow("editor write") << "editor" << true;
    QTest::newRow("luminosity write") << "luminosity" << true;
}

// Every wait ends just over a second after the last frame left, with every cell marked.
void TransferTest::silentPanel()
{
    QFETCH(QString, profile);
    QFETCH(bool, write);
    PanelLink link;
    QVERIFY(link.open());
    link.panel.setFault(sim::Fault::Silent);
    MemoryImage image;
    fillPattern(image);

    const bool timedOut = write ? ECRIT_24C01(link.exchange, image, *profileNamed(profile)).timedOut
                                : LIT_24C01(link.exchange, image, *profileNamed(profile));
    const Clock::time_point end = Clock::now();
    QVERIFY(timedOut);
    const auto waited = duration_cast<milliseconds>(end - link.port.lineFreeAt()).count();
    QVERIFY2(waited >= 1000 && waited < 1200, qPrintable(QString::number(waited)));
    for (int k = 0; k < MemoryImage::Size; ++k) {
        QCOMPARE(image.text(k), QStringLiteral("Er"));
        QCOMPARE(image.state(k), CellState::Red);
    }
}

void TransferTest::writeOfCellsWithoutBytesIsRefused_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("text");
    QTest::newRow("failure mark") << "editor" << 0x4A << "Er";
    QTest::newRow("never read") << "editor" << 0x40 << "";
    QTest::newRow("cleared") << "luminosity" << 0x00 << " ";
    QTest::newRow("requested") << "editor" << 0x7F << "?";
    QTest::newRow("three digits") << "luminosity" << 0x3C << "100";
    QTest::newRow("not hexadecimal") << "luminosity" << 0x75 << "G1";
}

void TransferTest::writeOfCellsWithoutBytesIsRefused()
{
    QFETCH(QString, profile);
    QFETCH(int, address);
    QFETCH(QString, text);
    PanelLink link;
    QVERIFY(link.open());
    const sim::Memory before = link.panel.memory();
    MemoryImage image;
    fillPattern(image);
    image.set(address, text, CellState::Red);
    image.set((address + 1) % 128, QStringLiteral("Er"), CellState::Red); // only the first is named

    const WriteOutcome outcome = ECRIT_24C01(link.exchange, image, *profileNamed(profile));
    QVERIFY(outcome.refused());
    QCOMPARE(outcome.invalidAddress, address);
    QTest::qWait(50);
    QVERIFY(link.panel.received().empty());
    QVERIFY(link.panel.memory() == before);
    QCOMPARE(image.text(address), text);
    QCOMPARE(image.state((address + 2) % 128), CellState::White);
}

void TransferTest::exactAnswersAtLineRate_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<bool>("write");
    QTest::newRow("editor read") << "editor" << false;
    QTest::newRow("switches read") << "switches" << false;
    QTest::newRow("luminosity read") << "luminosity" << false;
    QTest::newRow("editor write") << "editor" << true;
    QTest::newRow("luminosity write") << "luminosity" << true;
}

// At 4800 baud an 8-page write is 2.75 s on the line; the answer limit runs
// from the end of transmission, and the editor's read gets all 64 bytes.
void TransferTest::exactAnswersAtLineRate()
{
    QFETCH(QString, profile);
    QFETCH(bool, write);
    PanelLink link;
    QVERIFY(link.open());
    link.panel.setLineRate(true);
    MemoryImage image;
    fillPattern(image);
    const TransferProfile &p = *profileNamed(profile);
    if (write) {
        QVERIFY(!ECRIT_24C01(link.exchange, image, p).failed());
        for (int k = p.writeFirst; k < p.writeFirst + 16 * p.writePages; ++k)
            QCOMPARE(int(link.panel.memory()[k]), int(image.value(k)));
    } else {
        QVERIFY(!LIT_24C01(link.exchange, image, p));
        for (int k = p.readFirst; k < p.readFirst + p.readCount; ++k)
            QCOMPARE(int(image.value(k)), int(link.panel.memory()[k]));
    }
}

void TransferTest::scriptedAnswerSizes_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("timedOut");
    QByteArray read = QByteArray("01\x02\x06\x03").repeated(4);
    for (int i = 0; i < 128; ++i)
        read += "01\x02" + QByteArray::number(255 - i, 16).toUpper() + '\x03';
    QTest::newRow("read of exactly 788") << "luminosity" << false << read << false;
    QTest::newRow("read one short") << "switches" << false << read.left(787) << true;
    const QByteArray acks = QByteArray("01\x02\x06\x03").repeated(80);
    QTest::newRow("write of exactly 400") << "editor" << true << acks << false;
    QTest::newRow("write jumping past 400") << "editor" << true << acks + "!" << true;
}

void TransferTest::scriptedAnswerSizes()
{
    QFETCH(QString, profile);
    QFETCH(bool, write);
    QFETCH(QByteArray, answer);
    QFETCH(bool, timedOut);
    PtyPair pty;
    PortMap ports;
    ports.setDevice(3, pty.path());
    SerialPort port(ports);
    port.setCommPort(3);
    QVERIFY(port.open());
    Exchange exchange(port);
    MemoryImage image;
    fillPattern(image);
    // The whole answer arrives in one piece after the last frame.
    ScriptedPeer peer(pty, write ? QByteArray("WWW") : QByteArray("X6X"), write ? 4 : 1, answer);

    const TransferProfile &p = *profileNamed(profile);
    QCOMPARE(write ? ECRIT_24C01(exchange, image, p).timedOut : LIT_24C01(exchange, image, p), timedOut);
    if (!write && !timedOut) {
        for (int i = 0; i < 128; ++i)
            QCOMPARE(image.value(i), quint32(255 - i));
    }
}

Q_DECLARE_METATYPE(sim::Fault)

void TransferTest::malformedAnswersFail_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<bool>("write");
    QTest::addColumn<sim::Fault>("fault");
    QTest::newRow("garbled read") << "luminosity" << false << sim::Fault::Garbled;
    QTest::newRow("read with extra characters") << "editor" << false << sim::Fault::Extra;
    QTest::newRow("garbled write") << "editor" << true << sim::Fault::Garbled;
}

// The right count of the wrong characters is no answer: no byte is taken from it.
void TransferTest::malformedAnswersFail()
{
    QFETCH(QString, profile);
    QFETCH(bool, write);
    QFETCH(sim::Fault, fault);
    PanelLink link;
    QVERIFY(link.open());
    link.panel.setFault(fault);
    MemoryImage image;
    fillPattern(image);
    const TransferProfile &p = *profileNamed(profile);
    QVERIFY(write ? ECRIT_24C01(link.exchange, image, p).timedOut : LIT_24C01(link.exchange, image, p));
    for (int k = 0; k < MemoryImage::Size; ++k)
        QCOMPARE(image.text(k), QStringLiteral("Er"));
}

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"
