#include "luminosity/luminosity_codec.h"
#include "panel/memory_image.h"

#include <QTest>

namespace {
std::optional<int> modeOf(int mode)
{
    return mode < 0 ? std::nullopt : std::optional<int>(mode);
}
} // namespace

class TestLuminosityCodec : public QObject
{
    Q_OBJECT
private slots:
    void decode_data()
    {
        QTest::addColumn<QList<quint32>>("bytes"); // 60, 61, 62
        QTest::addColumn<QList<int>>("settings"); // mode (-1: none), period, threshold
        QTest::newRow("100%, longest period") << QList<quint32>{0x02, 0xFF, 0} << QList{1, 128, 0};
        QTest::newRow("period byte 0, 20%") << QList<quint32>{0x40, 0, 15} << QList{6, 1, 15};
        QTest::newRow("even period byte") << QList<quint32>{0x08, 10, 1} << QList{3, 6, 1};
        QTest::newRow("bit 2 after bit 1") << QList<quint32>{0x06, 1, 1} << QList{2, 1, 1};
        QTest::newRow("bit 0 tested last") << QList<quint32>{0x7F, 1, 1} << QList{0, 1, 1};
        QTest::newRow("bit 7 ignored") << QList<quint32>{0x80, 1, 1} << QList{-1, 1, 1};
        QTest::newRow("threshold as it stands") << QList<quint32>{0x10, 1, 0x3F} << QList{4, 1, 63};
    }
    void decode()
    {
        QFETCH(QList<quint32>, bytes);
        const LuminositySettings decoded = DECODE_LUM(bytes[0], bytes[1], bytes[2]);
        QTEST((QList{decoded.mode.value_or(-1), int(decoded.period), int(decoded.threshold)}), "settings");
    }

    void encode_data()
    {
        QTest::addColumn<QList<int>>("settings"); // mode (-1: none), period, threshold
        QTest::addColumn<QStringList>("cells"); // 60 ("": unchanged), 61, 62
        QTest::newRow("20%") << QList{6, 1, 15} << QStringList{"40", "1", "F"};
        QTest::newRow("sensor") << QList{0, 128, 0} << QStringList{"21", "FF", "0"};
        QTest::newRow("no mode") << QList{-1, 5, 4} << QStringList{"", "9", "4"};
        QTest::newRow("out of range held") << QList{7, 0, 16} << QStringList{"", "1", "F"};
    }
    void encode()
    {
        QFETCH(QList<int>, settings);
        const LuminosityCells encoded = ENCODE_LUM(modeOf(settings[0]), settings[1], settings[2]);
        QTEST((QStringList{encoded.cell60.value_or(QString()), encoded.cell61, encoded.cell62}), "cells");
    }

    void roundTrip()
    {
        for (int mode = -1; mode <= 6; ++mode) {
            for (int period = 1; period <= 128; ++period) {
                for (int threshold = 0; threshold <= 15; ++threshold) {
                    const LuminosityCells cells = ENCODE_LUM(modeOf(mode), period, threshold);
                    const LuminositySettings back =
                        DECODE_LUM(hexPrefixValue(cells.cell60.value_or(QString())), hexPrefixValue(cells.cell61),
                                   hexPrefixValue(cells.cell62));
                    if (!(back == LuminositySettings{modeOf(mode), quint32(period), quint32(threshold)}))
                        QFAIL(qPrintable(QStringLiteral("mode %1 period %2 threshold %3").arg(mode).arg(period).arg(threshold)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestLuminosityCodec)
#include "tst_luminosity_codec.moc"
