#include "luminosity/luminosity_codec.h"
#include "panel/memory_image.h"

#include <QTest>

class TestLuminosityCodec : public QObject
{
    Q_OBJECT
private slots:
    void decode_data()
    {
        QTest::addColumn<quint32>("byte60");
        QTest::addColumn<quint32>("byte61");
        QTest::addColumn<quint32>("byte62");
        QTest::addColumn<int>("mode"); // -1: none
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("threshold");
        QTest::newRow("sensor code") << 0x21u << 0x09u << 4u << 0 << 5 << 4;
        QTest::newRow("100%, longest period") << 0x02u << 0xFFu << 0u << 1 << 128 << 0;
        QTest::newRow("period byte 0, 20%") << 0x40u << 0u << 15u << 6 << 1 << 15;
        QTest::newRow("even period byte") << 0x08u << 10u << 1u << 3 << 6 << 1;
        QTest::newRow("bit 2 after bit 1") << 0x06u << 1u << 1u << 2 << 1 << 1;
        QTest::newRow("bit 0 tested last") << 0x7Fu << 1u << 1u << 0 << 1 << 1;
        QTest::newRow("bit 7 ignored") << 0x80u << 1u << 1u << -1 << 1 << 1;
        QTest::newRow("threshold as it stands") << 0x10u << 1u << 0x3Fu << 4 << 1 << 63;
    }
    void decode()
    {
        QFETCH(int, mode);
        QFETCH(quint32, byte60);
        QFETCH(quint32, byte61);
        QFETCH(quint32, byte62);
        QFETCH(int, period);
        QFETCH(int, threshold);
        const LuminositySettings settings =
            DECODE_LUM(byte60, byte61, byte62);
        QCOMPARE(settings.mode.value_or(-1), mode);
        QCOMPARE(settings.period, quint32(period));
        QCOMPARE(settings.threshold, quint32(threshold));
    }

    void encode_data()
    {
        QTest::addColumn<int>("mode"); // -1: none
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QStringList>("cells"); // 60 ("" unchanged), 61, 62
        QTest::newRow("20%") << 6 << 1 << 15 << QStringList{"40", "1", "F"};
        QTest::newRow("sensor") << 0 << 128 << 0 << QStringList{"21", "FF", "0"};
        QTest::newRow("no mode") << -1 << 5 << 4 << QStringList{"", "9", "4"};
        QTest::newRow("out of range held") << 7 << 0 << 16 << QStringList{"", "1", "F"};
    }
    void encode()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, cells);
        QFETCH(int, period);
        QFETCH(int, threshold);
        const LuminosityCells encoded = ENCODE_LUM(mode < 0 ? std::nullopt : std::optional<int>(mode),
                                                   period, threshold);
        QCOMPARE(encoded.cell60.value_or(QString()), cells[0]);
        QCOMPARE(encoded.cell61, cells[1]);
        QCOMPARE(encoded.cell62, cells[2]);
    }

    void roundTrip()
    {
        for (int mode = -1; mode <= 6; ++mode) {
            const std::optional<int> chosen = mode < 0 ? std::nullopt : std::optional<int>(mode);
            for (int period = 1; period <= 128; ++period) {
                for (int threshold = 0; threshold <= 15; ++threshold) {
                    const LuminosityCells cells = ENCODE_LUM(chosen, period, threshold);
                    const LuminositySettings back =
                        DECODE_LUM(hexPrefixValue(cells.cell60.value_or(QString())), hexPrefixValue(cells.cell61),
                                   hexPrefixValue(cells.cell62));
                    const LuminositySettings expected{chosen, quint32(period), quint32(threshold)};
                    if (!(back == expected))
                        QFAIL(qPrintable(QStringLiteral("mode %1 period %2 threshold %3").arg(mode).arg(period).arg(threshold)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestLuminosityCodec)
#include "tst_luminosity_codec.moc"
