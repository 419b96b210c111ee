#include "monitor/speed_log.h"

#include <QTest>

Q_DECLARE_METATYPE(SpeedReading)

class SpeedLogTest : public QObject
{
    Q_OBJECT

private slots:
    // The bytes a spreadsheet gets: UTF-8, ";" between fields, decimal comma,
    // no group separator, empty speeds for a reading without answer.
    void csvBytes_data()
    {
        QTest::addColumn<SpeedReading>("reading");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("tenths") << SpeedReading{1.5, LiveSpeed{123, 100}} << QByteArray("1,500;10;12,3\n");
        QTest::newRow("no answer") << SpeedReading{2.0626, std::nullopt} << QByteArray("2,063;;\n");
        QTest::newRow("thousands") << SpeedReading{1234.25, LiveSpeed{16383, 65535}}
                                   << QByteArray("1234,250;6553,5;1638,3\n");
    }
    void csvBytes()
    {
        QFETCH(SpeedReading, reading);
        QFETCH(QByteArray, line);
        SpeedLog log;
        log.add(reading);
        QCOMPARE(log.csv(), QByteArray("Temps (s);Vitesse instantan\xc3\xa9"
                                       "e (km/h);Maximum enregistr\xc3\xa9 (km/h)\n")
                     + line);
    }
};

QTEST_APPLESS_MAIN(SpeedLogTest)
#include "tst_speed_log.moc"
