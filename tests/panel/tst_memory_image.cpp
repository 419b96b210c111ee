#include "panel/backup.h"
#include "panel/memory_image.h"

#include <QTemporaryDir>
#include <QtTest>

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
} // namespace

// The cells' texts as bytes, and the backups kept of them.
class MemoryImageTest : public QObject
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
        QTest::newRow("requested") << "?" << 0u << false;
        QTest::newRow("failure mark") << "Er" << 14u << false;
        QTest::newRow("empty") << "" << 0u << false;
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

    // As a refused write names the cell.
    void cellNames()
    {
        for (const auto &[address, name] : {std::pair{5, "05h"}, {74, "4Ah"}, {127, "7Fh"}})
            QCOMPARE(cellName(address), QLatin1String(name));
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
};

QTEST_GUILESS_MAIN(MemoryImageTest)
#include "tst_memory_image.moc"
