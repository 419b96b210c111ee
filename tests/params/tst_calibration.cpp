#include "params/calibration.h"
#include "params/live_speed.h"
#include "params/number_text.h"

#include <QTest>

class TestCalibration : public QObject
{
    Q_OBJECT
private slots:
    void calibration_data()
    {
        QTest::addColumn<QString>("dimpulse");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("coefficient");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("texts"); // m/s, Hz, period
        QTest::addColumn<QString>("etalon");
        auto row = [](const char *name, const char *dimpulse, const char *shown, const char *coefficient, int column,
                      const QStringList &texts, const char *etalon = "400000") {
            QTest::newRow(name) << dimpulse << shown << coefficient << column << texts << etalon;
        };
        row("defaults, 2 km/h", "1,11111", "1,11111", "444444", 0, {"0,5556", "0,5000", "2,0000"});
        row("10 km/h", "1,11111", "1,11111", "444444", 3, {"2,7778", "2,5000", "0,4000"});
        row("25,5 km/h", "1,11111", "1,11111", "444444", 7, {"7,0833", "6,3750", "0,1569"});
        row("150 km/h", "1,11111", "1,11111", "444444", 13, {"41,6667", "37,5001", "0,0267"});
        row("200 km/h", "1,11111", "1,11111", "444444", 14, {"55,5556", "50,0001", "0,0200"});
        row("point typed", "1.1111", "1,1111", "444440", 0, {"0,5556", "0,5000", "2,0000"});
        row("2,4 km/h sensor", "0,6666", "0,6666", "266640", 0, {"0,5556", "0,8335", "1,1998"});
        row("period in single precision", "0,8335", "0,8335", "333401", 0, {"0,5556", "0,6666", "1,5001"});
        row("quotient just below a whole number", "9,375", "9,375", "3750000", 0, {"0,5556", "0,0593", "16,8634"});
        row("largest coefficient below the limit", "5368,7", "5368,7", "2147480079", 0, {"0,5556", "0,0001", "10000,0000"});
        row("frequency shown as 0", "20000", "20000", "20001", 0, {"0,5556", "0,0000", ""}, "1");
        row("enormous distance, 200 km/h", "20000", "20000", "20001", 14, {"55,5556", "0,0028", "357,1429"}, "1");
    }
    void calibration()
    {
        QFETCH(QString, dimpulse);
        QFETCH(QString, shown);
        QFETCH(QString, coefficient);
        QFETCH(int, column);
        QFETCH(QStringList, texts);
        QFETCH(QString, etalon);
        const PulseCalibration result = calibratePulses(dimpulse, etalon);
        QVERIFY(result.succeeded());
        QCOMPARE(result.dimpulse, shown);
        QCOMPARE(result.coefficient, coefficient);
        QCOMPARE(result.columns.size(), 15);
        QCOMPARE(result.columns.at(column), (CalibrationColumn{texts[0], texts[1], texts[2]}));
    }

    void failure_data()
    {
        QTest::addColumn<QString>("dimpulse");
        QTest::addColumn<QString>("etalon");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        const QString distance = QStringLiteral("Distance par impulsion invalide : entrez un nombre positif (ex : 1,1111).");
        const QString constant = QStringLiteral("Constante d'étalonnage invalide : entrez un nombre.");
        const QString range = QStringLiteral("Coefficient hors limites : la distance par impulsion et la constante "
                                             "doivent donner un coefficient entre 1 et 2147483647.");
        QTest::newRow("negative") << "-1.5" << "400000" << "-1,5" << distance;
        QTest::newRow("zero in single precision") << "1e-50" << "400000" << "1e-50" << distance;
        QTest::newRow("beyond single precision") << "1e39" << "400000" << "1e39" << distance;
        QTest::newRow("text, distance checked first") << "x" << "y" << "x" << distance;
        QTest::newRow("constant with point") << "1.1111" << "400.5" << "1,1111" << constant;
        QTest::newRow("constant with group separator") << "1,1111" << "400 000" << "1,1111" << constant;
        QTest::newRow("constant infinite") << "1,1111" << "inf" << "1,1111" << constant;
        QTest::newRow("coefficient infinite") << "3e38" << "1e300" << "3e38" << constant;
        QTest::newRow("just above the limit") << "5368,71" << "400000" << "5368,71" << range;
        QTest::newRow("negative constant") << "1,11111" << "-400000" << "1,11111" << range;
        QTest::newRow("zero constant gives 1") << "1,11111" << "0" << "1,11111" << QString();
    }
    void failure()
    {
        QFETCH(QString, dimpulse);
        QFETCH(QString, etalon);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        const PulseCalibration result = calibratePulses(dimpulse, etalon);
        QCOMPARE(result.dimpulse, shown);
        QCOMPARE(result.failure, message);
        if (message.isEmpty())
            return;
        QVERIFY(result.coefficient.isEmpty() && result.columns.isEmpty());
    }

    // As Dimpulse shows the distance after a read (the captions are checked
    // through the editor's controls).
    void numberText() { QCOMPARE(frenchNumberText(2.0 / 3), QStringLiteral("0,666666666666667")); }

    void liveSpeed_data()
    {
        QTest::addColumn<QByteArray>("answer"); // four answers "01" STX + byte + ETX
        QTest::addColumn<QString>("maximum");   // empty: answer ignored
        QTest::addColumn<QString>("instantaneous");
        auto row = [](const char *name, const char *answer, const char *maximum = "", const char *speed = "") {
            QTest::newRow(name) << QByteArray(answer) << QString::fromUtf8(maximum) << QString::fromUtf8(speed);
        };
        row("12,3 and 10", "01\x02" "00\x03" "01\x02" "7B\x03" "01\x02" "00\x03" "01\x02" "64\x03", "12,3", "10");
        row("top bits of maximum dropped", "01\x02" "C0\x03" "01\x02" "00\x03" "01\x02" "FF\x03" "01\x02" "FF\x03",
            "0", "6553,5");
        row("largest maximum", "01\x02" "3F\x03" "01\x02" "FF\x03" "01\x02" "00\x03" "01\x02" "00\x03", "1638,3", "0");
        row("a byte that is no byte", "01\x02" "0Z\x03" "01\x02" "7B\x03" "01\x02" "1?\x03" "01\x02" "00\x03");
        row("another address, other framing", "02\x02" "00\x03" "0!\x02" "7B\x03" "02\x15" "00\x04" "02\x02" "64\x03",
            "12,3", "10");
        row("23 characters", "01\x02" "00\x03" "01\x02" "7B\x03" "01\x02" "00\x03" "01\x02" "64");
        row("25 characters", "01\x02" "00\x03" "01\x02" "7B\x03" "01\x02" "00\x03" "01\x02" "64\x03" "x");
    }
    void liveSpeed()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, maximum);
        QFETCH(QString, instantaneous);
        const std::optional<LiveSpeed> speed = decodeLiveSpeed(answer);
        QCOMPARE(speed.has_value(), !maximum.isEmpty());
        if (speed) {
            QCOMPARE(maximumSpeedCaption(speed->maximum), " Maximum enregistré: " + maximum + " Km/h.");
            QCOMPARE(instantaneousSpeedCaption(speed->instantaneous), " Vitesse instantanée : " + instantaneous + " Km/h.");
        }
    }
};

QTEST_GUILESS_MAIN(TestCalibration)
#include "tst_calibration.moc"
