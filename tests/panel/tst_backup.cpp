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

class BackupTest : public QObject
{
    Q_OBJECT

private slots:
    void roundTripThroughAFile();
    void refusesWhatIsNotABackup_data();
    void refusesWhatIsNotABackup();
    void imageInAndOut();
};

void BackupTest::roundTripThroughAFile()
{
    QTemporaryDir dir;
    QString error;
    const QString path = saveBackup(sample(), dir.filePath("sauvegardes"), &error);
    QVERIFY2(!path.isEmpty(), qPrintable(error));
    QVERIFY(path.contains("COM12") && path.contains("dump_24c01"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("\n4x: C0 C7 CE D5 DC E3 00 FF"));
    QVERIFY(text.contains("\n0x: -- --"));
    QCOMPARE(readBackup(text), std::optional<MemoryBackup>(sample()));
}

void BackupTest::refusesWhatIsNotABackup_data()
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

void BackupTest::refusesWhatIsNotABackup()
{
    QFETCH(QByteArray, text);
    QString error;
    QVERIFY(!readBackup(text, &error));
    QVERIFY(!error.isEmpty());
}

void BackupTest::imageInAndOut()
{
    MemoryImage image;
    for (int k = 0; k < 128; ++k)
        image.set(k, QStringLiteral("Er"), CellState::Red);
    image.set(3, QStringLiteral("A"), CellState::Green);
    const MemoryBytes bytes = image.bytes();
    QCOMPARE(bytes[3], std::optional<quint8>(10));
    QCOMPARE(bytes[4], std::optional<quint8>());

    loadBackupInto(sample(), image);
    QCOMPARE(image.text(0), QStringLiteral(" "));
    QCOMPARE(image.text(65), QStringLiteral("C7"));
    QCOMPARE(image.text(70), QStringLiteral("00"));
    QCOMPARE(image.state(65), CellState::White);
    QCOMPARE(image.bytes(), sample().bytes);
}

QTEST_GUILESS_MAIN(BackupTest)
#include "tst_backup.moc"
