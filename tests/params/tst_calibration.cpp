#include "params/calibration.h"
#include "params/live_speed.h"
#include "params/number_text.h"

#include <QTest>

class TestCalibration : public QObject
{
    Q_OBJECT
private slots:
    void coefficient_data()
    {
        QTest::addColumn<QString>("dimpulse");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("coefficient");
        QTest::newRow("defaults") << "1,11111" << "1,11111" << "444444";
        QTest::newRow("point typed") << "1.1111" << "1,1111" << "444440";
        QTest::newRow("2,4 km/h sensor") << "0,6666" << "0,6666" << "266640";
        QTest::newRow("quotient just below a whole number") << "9,375" << "9,375" << "3750000";
    }
    void coefficient()
    {
        QFETCH(QString, dimpulse);
        QFETCH(QString, shown);
        QFETCH(QString, coefficient);
        const PulseCalibration result = calibratePulses(dimpulse, QStringLiteral("400000"));
        QVERIFY(result.succeeded());
        QCOMPARE(result.dimpulse, shown);
        QCOMPARE(result.coefficient, coefficient);
    }

    void table_data()
    {
        QTest::addColumn<QString>("dimpulse");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("2 km/h") << "1,11111" << 0 << QStringList{"0,5556", "0,5000", "2,0000"};
        QTest::newRow("10 km/h") << "1,11111" << 3 << QStringList{"2,7778", "2,5000", "0,4000"};
        QTest::newRow("25,5 km/h") << "1,11111" << 7 << QStringList{"7,0833", "6,3750", "0,1569"};
        QTest::newRow("150 km/h") << "1,11111" << 13 << QStringList{"41,6667", "37,5001", "0,0267"};
        QTest::newRow("200 km/h") << "1,11111" << 14 << QStringList{"55,5556", "50,0001", "0,0200"};
        QTest::newRow("0,6666 at 2 km/h") << "0,6666" << 0 << QStringList{"0,5556", "0,8335", "1,1998"};
        QTest::newRow("period in single precision") << "0,8335" << 0 << QStringList{"0,5556", "0,6666", "1,5001"};
        QTest::newRow("frequency shown as 0") << "20000" << 0 << QStringList{"0,5556", "0,0000", ""};
        QTest::newRow("enormous distance, 200 km/h") << "20000" << 14 << QStringList{"55,5556", "0,0028", "357,1429"};
    }
    void table()
    {
        QFETCH(QString, dimpulse);
        QFETCH(int, column);
        QFETCH(QStringList, texts);
        const PulseCalibration result = calibratePulses(dimpulse, QStringLiteral("1"));
        QCOMPARE(result.columns.size(), 15);
        QCOMPARE(result.columns.at(column), (CalibrationColumn{texts[0], texts[1], texts[2]}));
    }

    void failure_data()
    {
        QTest::addColumn<QString>("dimpulse");
        QTest::addColumn<QString>("etalon");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("distanceFault");
        QTest::newRow("text") << "abc" << "400000" << "abc" << true;
        QTest::newRow("negative") << "-1.5" << "400000" << "-1,5" << true;
        QTest::newRow("zero in single precision") << "1e-50" << "400000" << "1e-50" << true;
        QTest::newRow("beyond single precision") << "1e39" << "400000" << "1e39" << true;
        QTest::newRow("distance checked first") << "x" << "y" << "x" << true;
        QTest::newRow("constant with point") << "1.1111" << "400.5" << "1,1111" << false;
        QTest::newRow("constant with group separator") << "1,1111" << "400 000" << "1,1111" << false;
        QTest::newRow("constant infinite") << "1,1111" << "inf" << "1,1111" << false;
        QTest::newRow("coefficient infinite") << "3e38" << "1e300" << "3e38" << false;
    }
    void failure()
    {
        QFETCH(QString, dimpulse);
        QFETCH(QString, etalon);
        QFETCH(QString, shown);
        QFETCH(bool, distanceFault);
        const PulseCalibration result = calibratePulses(dimpulse, etalon);
        QCOMPARE(result.dimpulse, shown);
        QCOMPARE(result.failure,
                 distanceFault ? QStringLiteral("Distance par impulsion invalide : entrez un nombre positif (ex : 1,1111).")
                               : QStringLiteral("Constante d'étalonnage invalide : entrez un nombre."));
        QVERIFY(result.coefficient.isEmpty() && result.columns.isEmpty());
    }

    void captions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("19,9") << rangeLimitCaption(199) << "19,9 Km/h.";
        QTest::newRow("no trailing zero") << rangeLimitCaption(200) << "20 Km/h.";
        QTest::newRow("15 digits") << frenchNumberText(2.0 / 3) << "0,666666666666667";
        QTest::newRow("refresh 2") << refreshCaption(2) << " Affichage rafraîchi 5,69 fois par secondes.";
        QTest::newRow("refresh 1, cut") << refreshRateText(1) << "11,3";
        QTest::newRow("refresh 20") << refreshRateText(20) << "0,56";
        QTest::newRow("16 measures") << averagingCaption(4) << "2-Moyenne réalisée sur 16 mesures de vitesse:";
        QTest::newRow("1 pulse, plural") << pulseCountCaption(1) << "1-Distance parcourue pour 1 impulsions:";
        QTest::newRow("3 s") << zeroPulseCaption(3) << "3- Durée sans impulsion pour le 0Km/h: 3 Secondes.";
    }
    void captions()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }

    void liveSpeed_data()
    {
        QTest::addColumn<QByteArray>("answer"); // four answers "01" STX + byte + ETX
        QTest::addColumn<QString>("maximum");   // empty: answer ignored
        QTest::addColumn<QString>("instantaneous");
        QTest::newRow("12,3 and 10") << QByteArray("01\x02" "00\x03" "01\x02" "7B\x03" "01\x02" "00\x03" "01\x02" "64\x03")
                                     << " Maximum enregistré: 12,3 Km/h." << " Vitesse instantanée : 10 Km/h.";
        QTest::newRow("top bits of maximum dropped") << QByteArray("01\x02" "C0\x03" "01\x02" "00\x03" "01\x02" "FF\x03" "01\x02" "FF\x03")
                                                     << " Maximum enregistré: 0 Km/h."
                                                     << " Vitesse instantanée : 6553,5 Km/h.";
        QTest::newRow("largest maximum") << QByteArray("01\x02" "3F\x03" "01\x02" "FF\x03" "01\x02" "00\x03" "01\x02" "00\x03")
                                         << " Maximum enregistré: 1638,3 Km/h." << " Vitesse instantanée : 0 Km/h.";
        QTest::newRow("a byte that is no byte") << QByteArray("01\x02" "0Z\x03" "01\x02" "7B\x03" "01\x02" "1?\x03" "01\x02" "00\x03")
                                                << "" << "";
        QTest::newRow("garbled framing") << QByteArray("01\x02" "00\x03" "01\x02" "7B\x03" "0!\x02" "00\x03" "01\x02" "64\x03")
                                         << "" << "";
        QTest::newRow("23 characters") << QByteArray("01\x02" "00\x03" "01\x02" "7B\x03" "01\x02" "00\x03" "01\x02" "64") << "" << "";
        QTest::newRow("25 characters") << QByteArray("01\x02" "00\x03" "01\x02" "7B\x03" "01\x02" "00\x03" "01\x02" "64\x03" "x") << "" << "";
    }
    void liveSpeed()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, maximum);
        QFETCH(QString, instantaneous);
        const std::optional<LiveSpeed> speed = decodeLiveSpeed(answer);
        QCOMPARE(speed.has_value(), !maximum.isEmpty());
        if (speed) {
            QCOMPARE(maximumSpeedCaption(speed->maximum), maximum);
            QCOMPARE(instantaneousSpeedCaption(speed->instantaneous), instantaneous);
        }
    }
};

QTEST_GUILESS_MAIN(TestCalibration)
#include "tst_calibration.moc"
