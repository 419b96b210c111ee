#include "panel/backup.h"
#include "panel/memory_image.h"
#include "panel/transfer.h"
#include "support/panel_link.h"
#include "support/raw_line.h"
#include "support/test.h"

#include <QTemporaryDir>
#include <thread>

using namespace std::chrono;
using Clock = steady_clock;

namespace {
MemoryBackup sample()
{
    MemoryBackup backup;
    backup.window = QStringLiteral("dump_24c01");
    backup.port = 12;
    backup.takenAt = QDateTime(QDate(2026, 12, 6), QTime(8, 10, 46));
    for (int k = 64; k < 128; ++k)
        backup.bytes[k] = quint8(k * 7);
    backup.bytes[70] = 0x00;
    backup.bytes[71] = 0xFF;
    return backup;
}

// Answers are taken by size and byte places: another address, or
// acknowledgements of other characters, change nothing.
struct TransferRow
{
    const TransferProfile *profile;
    bool write;
    int first, count;
    std::string address;
    sim::Fault fault;
};

struct WaitRow
{
    const TransferProfile *profile;
    bool write;
    QByteArray answer; // in one piece once the last "WWW" is in
    bool timedOut;
};

// One-digit texts go out with a leading zero ("5" as Y05).
QString writeScript(const MemoryImage &image, int first, int pages)
{
    QString script = "_31 SSS*5";
    for (int page = first; page < first + 16 * pages; page += 16) {
        script += "; _31 SSS; _31 ZA0; _31 Y" + wire::hex(page);
        for (int j = page; j < page + 16; ++j)
            script += "; _31 Y" + image.text(j).rightJustified(2, QLatin1Char('0'));
        script += "; _31 WWW";
    }
    return script;
}

// Texts of one and two digits, as the user may leave them.
void fillPattern(MemoryImage &image)
{
    for (int k = 0; k < MemoryImage::Size; ++k)
        image.set(k, hexText((k * 37 + 5) % 256), CellState::White);
}

// Runs the profile's read or write; returns the time-out flag.
bool transfer(Exchange &exchange, MemoryImage &image, const TransferProfile *profile, bool write)
{
    return write ? ECRIT_24C01(exchange, image, *profile).timedOut : LIT_24C01(exchange, image, *profile);
}

// The tool's port at "4800,N,8,1" on a raw line the test holds the other end of.
struct RawLink : PanelLink
{
    RawLink() { opened = open(line.path()); }
    RawLine line;
    bool opened = false;
};
} // namespace

// The cells' texts as bytes, the backups kept of them, and the transfers on the line.
class TransferTest : public QObject
{
    Q_OBJECT

private slots:
    void cellReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("value");
        QTest::addColumn<bool>("valid");
        QTest::newRow("two digits") << "3F" << 63u << true;
        QTest::newRow("one digit") << "A" << 10u << true;
        QTest::newRow("lower case") << "3f" << 63u << true;
        QTest::newRow("cleared") << " " << 0u << false;
        QTest::newRow("failure mark") << "Er" << 14u << false;
        QTest::newRow("digits then text") << "1G" << 1u << false;
        QTest::newRow("three digits") << "123" << 0x123u << false;
    }
    void cellReading()
    {
        QFETCH(QString, text);
        QFETCH(uint, value);
        QFETCH(bool, valid);
        QCOMPARE(hexPrefixValue(text), value);
        QCOMPARE(holdsValidByte(text), valid);
    }

    void backupRoundTrip()
    {
        QTemporaryDir dir;
        QString error;
        const QString path = saveBackup(sample(), dir.filePath("sauvegardes"), &error);
        QVERIFY2(!path.isEmpty(), qPrintable(error));
        QVERIFY(path.endsWith("_COM12_parametres.kvlmem"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("\n4x: C0 C7 CE D5 DC E3 00 FF"));
        QVERIFY(text.contains("\n0x: -- --"));
        QCOMPARE(readBackup(text), std::optional<MemoryBackup>(sample()));
    }

    void refusesWhatIsNotABackup_data()
    {
        QTest::addColumn<QByteArray>("text");
        const QByteArray good = backupText(sample());
        QTest::newRow("configuration file") << QByteArray("2\r\n0\r\n2\r\n");
        QTest::newRow("row missing") << good.left(good.lastIndexOf("7x:"));
        QTest::newRow("three digits") << QByteArray(good).replace("4x: C0", "4x: 1C0");
        QTest::newRow("not hexadecimal") << QByteArray(good).replace("4x: C0", "4x: Er");
        QTest::newRow("short row") << QByteArray(good).replace("4x: C0 ", "4x: ");
        QTest::newRow("rows swapped") << QByteArray(good).replace("4x:", "5x:");
        QTest::newRow("no port") << QByteArray(good).replace("port=COM12", "port=");
        QTest::newRow("NUL inside") << good + '\0';
        QTest::newRow("huge") << good + QByteArray(70000, '\n');
    }
    void refusesWhatIsNotABackup()
    {
        QFETCH(QByteArray, text);
        QString error;
        QVERIFY(!readBackup(text, &error));
        QVERIFY(!error.isEmpty());
    }

    // Only cells that hold a byte go into a backup; a loaded one shows its
    // bytes as changed, and blanks where it holds none.
    void imageInAndOut()
    {
        MemoryImage image;
        for (int k = 0; k < 128; ++k)
            image.set(k, QStringLiteral("Er"), CellState::Red);
        image.set(3, QStringLiteral("A"), CellState::Green);
        QCOMPARE(image.bytes()[3], std::optional<quint8>(10));
        QCOMPARE(image.bytes()[4], std::optional<quint8>());

        loadBackupInto(sample(), image);
        QCOMPARE(image.text(0), QStringLiteral(" "));
        QCOMPARE(image.text(65), QStringLiteral("C7"));
        QCOMPARE(image.text(70), QStringLiteral("00"));
        QCOMPARE(image.state(65), CellState::White);
        QCOMPARE(image.bytes(), sample().bytes);
    }

    void transfers_data()
    {
        QTest::addColumn<TransferRow>("row");
        using enum sim::Fault;
        QTest::newRow("editor read") << TransferRow{&EditorTransfer, false, 64, 64, "01", None};
        QTest::newRow("switches read, address 02") << TransferRow{&SwitchesTransfer, false, 0, 128, "02", None};
        QTest::newRow("luminosity read") << TransferRow{&LuminosityTransfer, false, 0, 128, "01", None};
        QTest::newRow("editor write, garbled acknowledgements") << TransferRow{&EditorTransfer, true, 64, 64, "01", Garbled};
        QTest::newRow("luminosity write, address 02") << TransferRow{&LuminosityTransfer, true, 0, 128, "02", None};
    }

    // At 4800 baud, as a real panel answers: an 8-page write is 2.75 s on the
    // line, and the answer limit runs from the end of transmission. The reads'
    // frames are the flow scripts' business; here their bytes land in the cells.
    void transfers()
    {
        QFETCH(TransferRow, row);
        const auto [profile, write, first, count, address, fault] = row;
        PanelLink link;
        QVERIFY(link.open());
        link.panel.setLineRate(true);
        link.panel.setAnswerAddress(address);
        link.panel.setFault(fault);
        const sim::Memory before = link.panel.memory();
        MemoryImage image;
        fillPattern(image);
        image.set(first + 3, QStringLiteral("5"), CellState::White);

        QCOMPARE(transfer(link.exchange, image, profile, write), false);
        if (write) {
            const QString script = writeScript(image, first, count / 16);
            QCOMPARE(link.frames(wire::frames(script).size()), wire::frames(script));
            QCOMPARE(QByteArray::fromStdString(link.panel.received()), wire::bytes(script));
        }
        const sim::Memory after = link.panel.memory();
        for (int k = 0; k < MemoryImage::Size; ++k) {
            const bool inRange = k >= first && k < first + count;
            if (write) {
                QCOMPARE(int(after[k]), inRange ? int(image.value(k)) : int(before[k]));
                QCOMPARE(image.state(k), CellState::Green);
            } else {
                QCOMPARE(image.text(k), inRange ? QStringLiteral("%1").arg(after[k], 2, 16, QLatin1Char('0')).toUpper()
                                                : QStringLiteral(" "));
                QCOMPARE(image.state(k), inRange ? CellState::Green : CellState::White);
            }
        }
    }

    void answerWaits_data()
    {
        QTest::addColumn<WaitRow>("row");
        const QByteArray acks = wire::bytes("ack*80");
        QTest::newRow("editor read, silent") << WaitRow{&EditorTransfer, false, {}, true};
        QTest::newRow("luminosity write, silent") << WaitRow{&LuminosityTransfer, true, {}, true};
        QTest::newRow("editor write, exactly 400") << WaitRow{&EditorTransfer, true, acks, false};
        QTest::newRow("editor write, jumping past 400") << WaitRow{&EditorTransfer, true, acks + "!", true};
    }

    // Too few characters, or a count that jumps past the exact one a write waits
    // for, and the wait ends just over a second after the last frame left, every
    // cell marked failed.
    void answerWaits()
    {
        QFETCH(WaitRow, row);
        const auto &[profile, write, answer, timedOut] = row;
        RawLink link;
        QVERIFY(link.opened);
        MemoryImage image;
        fillPattern(image);
        QByteArray heard;
        QTimer peer; // the far end, polled while the transfer waits
        connect(&peer, &QTimer::timeout, [&] {
            heard += link.line.readAvailable();
            if (heard.count("WWW") == 4) {
                link.line.write(row.answer);
                peer.stop();
            }
        });
        peer.start(5);

        QCOMPARE(transfer(link.exchange, image, profile, write), timedOut);
        const auto waited = duration_cast<milliseconds>(Clock::now() - link.port.lineFreeAt()).count();
        QVERIFY2(timedOut ? waited >= 1000 && waited < 1200 : waited < 1000, qPrintable(QString::number(waited)));
        for (int k = 0; k < MemoryImage::Size; ++k) {
            QCOMPARE(image.state(k), timedOut ? CellState::Red : CellState::Green);
            QCOMPARE(image.text(k) == QLatin1String("Er"), timedOut);
        }
    }

    void refusedWrites_data()
    {
        QTest::addColumn<const TransferProfile *>("profile");
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("text"); // which texts are bytes is the memory image test's table
        QTest::newRow("failure mark") << &EditorTransfer << 0x4A << "Er";
        QTest::newRow("requested, last") << &EditorTransfer << 0x7F << "?";
        QTest::newRow("cleared, first") << &LuminosityTransfer << 0x00 << " ";
    }

    // Nothing is sent, no cell changes, and only the first bad cell is named.
    void refusedWrites()
    {
        QFETCH(const TransferProfile *, profile);
        QFETCH(int, address);
        QFETCH(QString, text);
        PanelLink link;
        QVERIFY(link.open());
        MemoryImage image;
        fillPattern(image);
        image.set(address, text, CellState::Red);
        if (address < 0x7F)
            image.set(0x7F, QStringLiteral("Er"), CellState::Red);

        const WriteOutcome outcome = ECRIT_24C01(link.exchange, image, *profile);
        QVERIFY(outcome.refused());
        QCOMPARE(outcome.invalidAddress, address);
        QTest::qWait(50);
        QVERIFY(link.panel.received().empty());
        QCOMPARE(image.text(address), text);
        for (int k = 0; k < MemoryImage::Size; ++k)
            QCOMPARE(image.state(k), k == address || k == 0x7F ? CellState::Red : CellState::White);
    }

    // The time-out is tested before the count: an answer already complete when
    // the wait looks again after its second has run out counts as none.
    void timeOutBeforeCount()
    {
        RawLink link;
        QVERIFY(link.opened);
        QTimer stall; // the tool held up while the answer comes
        stall.setSingleShot(true);
        connect(&stall, &QTimer::timeout, [&link] {
            link.line.write(QByteArray(5, 'x'));
            std::this_thread::sleep_for(1200ms);
        });
        stall.start(100);
        QVERIFY(link.exchange.ATTENTE_REPONSE({AnswerCondition::AtLeast, 5}));
    }

    void pauses_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::newRow("opening pause") << 0.5;
        QTest::newRow("after a request") << 0.02;
    }
    // Over only once the clock is past start + the pause; not much later.
    void pauses()
    {
        QFETCH(double, seconds);
        RawLink link;
        QVERIFY(link.opened);
        const Clock::time_point start = Clock::now();
        link.exchange.PAUSE(seconds);
        const double took = duration<double>(Clock::now() - start).count();
        QVERIFY2(took > seconds && took < seconds + 0.1, qPrintable(QString::number(took)));
    }
    // The virtual panel keeps the line's rate: 20 frames of 7 characters in,
    // 20 acknowledgements of 5 out, the last no earlier than 145 character
    // times after the write. Bounds run from the write: a late read only adds.
    void lineRate()
    {
        sim::VirtualPanel panel;
        panel.setLineRate(true);
        QVERIFY(panel.start());
        RawLine line(QString::fromStdString(panel.devicePath()));
        QVERIFY(line.isValid());
        const auto sent = Clock::now();
        line.write(wire::bytes("31 RRR*20"));
        std::vector<RawLine::Clock::time_point> times;
        QCOMPARE(line.read(101, 1s, &times), wire::bytes("ack*20"));
        const auto T = sim::VirtualPanel::CharacterTime;
        const auto slack = 500us;
        QVERIFY(times.front() - sent >= 8 * T - slack);
        QVERIFY(times[4] - sent >= 12 * T - slack);
        QVERIFY(times.back() - sent >= 145 * T - slack);
        QVERIFY(times.back() - sent <= 145 * T + 150ms);
    }
};

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"
