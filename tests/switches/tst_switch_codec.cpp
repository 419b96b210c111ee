#include "switches/switch_codec.h"

#include <QTest>

Q_DECLARE_METATYPE(CardVariant)

namespace {

// "10000001": DIP1 and DIP8 ON.
SwitchBank bank(const char *dips)
{
    SwitchBank b{};
    for (int i = 0; i < 8; ++i)
        b[i] = dips[i] == '1';
    return b;
}

} // namespace

class TestSwitchCodec : public QObject
{
    Q_OBJECT
private slots:
    void decode_data()
    {
        QTest::addColumn<quint32>("byte74");
        QTest::addColumn<quint32>("byte75");
        QTest::addColumn<quint32>("byte76");
        QTest::addColumn<QByteArray>("sw3");
        QTest::addColumn<QByteArray>("sw2");
        QTest::addColumn<CardVariant>("variant");
        QTest::newRow("all off") << 0u << 0u << 0u << QByteArray("00000000") << QByteArray("00000000") << CardVariant::None;
        QTest::newRow("DIP1 is bit 0") << 0x01u << 0x80u << 84u << QByteArray("10000000") << QByteArray("00000001")
                                       << CardVariant::ThreeColour;
        QTest::newRow("81 and FF") << 0x81u << 0xFFu << 77u << QByteArray("10000001") << QByteArray("11111111")
                                   << CardVariant::OneColour;
        QTest::newRow("banks not swapped") << 0x0Fu << 0xF0u << 116u << QByteArray("11110000")
                                           << QByteArray("00001111") << CardVariant::None;
        QTest::newRow("beyond a byte") << 0x102u << 0x1FFu << 84u + 256 << QByteArray("01000000")
                                       << QByteArray("11111111") << CardVariant::None;
    }
    void decode()
    {
        QFETCH(quint32, byte74);
        QFETCH(quint32, byte75);
        QFETCH(quint32, byte76);
        QFETCH(QByteArray, sw3);
        QFETCH(QByteArray, sw2);
        QFETCH(CardVariant, variant);
        const SwitchReading reading = DECODE_SW(byte74, byte75, byte76);
        QCOMPARE(reading.sw3, bank(sw3.constData()));
        QCOMPARE(reading.sw2, bank(sw2.constData()));
        QCOMPARE(reading.variant, variant);
    }
};

QTEST_GUILESS_MAIN(TestSwitchCodec)
#include "tst_switch_codec.moc"
