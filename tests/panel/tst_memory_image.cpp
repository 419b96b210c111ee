#include "panel/memory_image.h"

#include <QSignalSpy>
#include <QtTest>

class MemoryImageTest : public QObject
{
    Q_OBJECT

private slots:
    void cellReading_data();
    void cellReading();
    void cellNames_data();
    void cellNames();
    void changesAreAnnouncedOnce();
};

void MemoryImageTest::cellReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("two digits") << "3F" << 63u << true;
    QTest::newRow("one digit") << "A" << 10u << true;
    QTest::newRow("lower case") << "3f" << 63u << true;
    QTest::newRow("cleared") << " " << 0u << false;
    QTest::newRow("failure mark") << "Er" << 14u << false;
    QTest::newRow("empty") << "" << 0u << false;
    QTest::newRow("digits then text") << "1G" << 1u << false;
    QTest::newRow("three digits") << "123" << 0x123u << false;
    QTest::newRow("eight digits") << "FFFFFFFF" << 0xFFFFFFFFu << false;
    QTest::newRow("past eight digits") << "123456789" << 0x12345678u << false;
}

void MemoryImageTest::cellReading()
{
    QFETCH(QString, text);
    QFETCH(uint, value);
    QFETCH(bool, valid);
    QCOMPARE(hexPrefixValue(text), value);
    QCOMPARE(holdsValidByte(text), valid);
}

void MemoryImageTest::cellNames_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("name");
    QTest::newRow("5") << 5 << "05h";
    QTest::newRow("74") << 74 << "4Ah";
    QTest::newRow("127") << 127 << "7Fh";
}

void MemoryImageTest::cellNames()
{
    QFETCH(int, address);
    QFETCH(QString, name);
    QCOMPARE(cellName(address), name);
}

void MemoryImageTest::changesAreAnnouncedOnce()
{
    MemoryImage image;
    QSignalSpy spy(&image, &MemoryImage::cellChanged);
    image.set(7, QStringLiteral("3F"), CellState::Green);
    image.set(7, QStringLiteral("3F"), CellState::Green);
    image.setText(7, QStringLiteral("3F"));
    image.setState(9, CellState::Red);
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).at(0).toInt(), 7);
    QCOMPARE(spy.at(1).at(0).toInt(), 9);
    QCOMPARE(image.state(8), CellState::Window);
    QCOMPARE(image.text(8), QString());
}

QTEST_GUILESS_MAIN(MemoryImageTest)
#include "tst_memory_image.moc"
