#include "switches/switch_codec.h"

#include <QTest>

Q_DECLARE_METATYPE(SwitchReading)

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
        QTest::addColumn<QList<quint32>>("bytes"); // 74, 75, 76
        QTest::addColumn<SwitchReading>("reading");
        QTest::newRow("all off") << QList<quint32>{0, 0, 0}
                                 << SwitchReading{bank("00000000"), bank("00000000"), CardVariant::None};
        QTest::newRow("DIP1 is bit 0") << QList<quint32>{0x01, 0x80, 84}
                                       << SwitchReading{bank("10000000"), bank("00000001"), CardVariant::ThreeColour};
        QTest::newRow("banks not swapped") << QList<quint32>{0x0F, 0xF0, 77}
                                           << SwitchReading{bank("11110000"), bank("00001111"), CardVariant::OneColour};
        QTest::newRow("beyond a byte") << QList<quint32>{0x102, 0x1FF, 84 + 256}
                                       << SwitchReading{bank("01000000"), bank("11111111"), CardVariant::None};
    }
    void decode()
    {
        QFETCH(QList<quint32>, bytes);
        QTEST(DECODE_SW(bytes[0], bytes[1], bytes[2]), "reading");
    }
};

QTEST_GUILESS_MAIN(TestSwitchCodec)
#include "tst_switch_codec.moc"
