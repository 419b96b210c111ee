#include "params/calibration.h"
#include "params/live_speed.h"
#include "params/parameter_changes.h"
#include "params/parameter_codec.h"
#include "records/parameter_file.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <functional>
#include <map>

Q_DECLARE_METATYPE(JEU_PARAMETRES)
Q_DECLARE_METATYPE(OutOfRangeValue)

namespace {

using Change = std::function<void(JEU_PARAMETRES &)>;

// The editor's defaults, but with a range 5 limit that reads back as written
// (a limit of 0 reads as 2).
JEU_PARAMETRES with(const Change &change = {})
{
    JEU_PARAMETRES p;
    p.ranges[4].threshold = 1;
    if (change)
        change(p);
    return p;
}

void setTexts(MemoryImage &image, int address, const QStringList &texts)
{
    for (int k = 0; k < texts.size(); ++k)
        image.setText(address + k, texts[k]);
}

using Block = std::array<int, 128>;
using Edit = QList<std::pair<int, int>>; // address, byte (-1: unknown)

MemoryBytes bytesOf(const Block &b)
{
    MemoryBytes bytes;
    for (int a = 64; a < 128; ++a)
        bytes[a] = quint8(b[a]);
    return bytes;
}

int word(const Block &b, int a)
{
    return b[a] << 8 | b[a + 1];
}

int highestBit(int byte, int from, int to)
{
    int found = -1;
    for (int bit = from; bit <= to; ++bit) {
        if (byte & (1 << bit))
            found = bit;
    }
    return found;
}

// What each setting is on the card, from its format alone: two cards differ
// in a setting exactly when these values differ.
std::map<QString, int> settingsOf(const Block &b)
{
    std::map<QString, int> s{
        {"Nombre de digits d'affichage:", b[96] & 0xC0},
        {"Affichage :", b[96] & 0x02},
        {"Suppression des zéros de têtes:", b[96] & 0x01},
        {"Remise à zéro du maximum :", b[96] & 0x0C},
        {"Mode d'affichage:", b[96] & 0x30},
        {"Coefficient de vitesse (Étalonnage usine.)", b[87] | b[88] << 8 | b[89] << 16 | b[90] << 24},
        {"Nombre d'impulsion utilisée pour le calcul instantané:", b[91]},
        {"2-Moyenne réalisée sur :", (b[85] && (b[85] & (b[85] - 1)) == 0 && b[85] <= 16) ? b[85] : -1},
        {"3- Durée sans impulsion pour le 0Km/h:", b[78]},
        {"Affichage rafraîchi", b[86]},
        {"Programmer un Maximum :", word(b, 72) & 0x3FFF},
        // The light sensor's bit first; else the highest level bit.
        {"Luminosité", b[82] & 1 ? 0 : highestBit(b[82], 1, 6)},
        {"Fréquence de Commutation", b[97] >> 1},
        {"Commutation JOUR/NUIT", b[98]},
    };
    for (int i = 0; i < 5; ++i) {
        if (i < 4)
            s[QStringLiteral("Plage %1: limite").arg(i + 1)] = word(b, 64 + 2 * i) & 0x3FFF;
        const int flags = b[64 + 2 * i] & 0xC0;
        s[QStringLiteral("Plage %1: couleur").arg(i + 1)] = flags & 0x80 ? 2 : flags; // red wins
    }
    for (const auto &[relay, at] : {std::pair{1, 92}, {2, 74}}) {
        const QString name = QStringLiteral("Relais %1 : ").arg(relay);
        s[QStringLiteral("Relais %1:").arg(relay)] = b[at] & 0x80;
        s[name + "contact"] = b[at] & 0x40;
        s[name + "Seuil d'ACTIVATION."] = word(b, at) & 0x3FFF;
        s[name + "Seuil de DESACTIVATION."] = word(b, at + 2) & 0x3FFF;
    }
    return s;
}

Block programmed(QRandomGenerator &random)
{
    Block b{};
    for (int a = 64; a < 128; ++a)
        b[a] = int(random.bounded(256));
    b[79] = 0x4F;
    return b;
}

// Every setting away from the editor's start-up values.
EditorSettings edited()
{
    EditorSettings s;
    JEU_PARAMETRES &p = s.parameters;
    p.ranges = {{{100, RangeColour::Red}, {305, RangeColour::Orange}, {500, RangeColour::Green},
                 {9999, RangeColour::Green}, {0, RangeColour::Orange}}};
    p.relay1 = {true, true, 250, 1};
    p.relay2 = {true, false, 9999, 0};
    p.zeroPulseSeconds = 10;
    p.luminosity = 0;
    p.averaging = 4;
    p.refresh = 20;
    p.coefficient = 266640;
    p.pulseCount = 8;
    p.digits = 3;
    p.displayMode = 3;
    p.resetMode = 2;
    p.integerOnly = true;
    p.suppressZeros = false;
    p.measuringPeriod = 128;
    p.switchingThreshold = 0;
    s.dimpulse = QStringLiteral("0,6666");
    s.etalon = QStringLiteral("400000");
    s.coefficient = QStringLiteral("266640");
    return s;
}

// The same settings as a person reads them in the editor.
const QByteArray EditedText = "KVL_PWS paramètres 1\n"
                              "NB_DIGIT = 4.\n"
                              "DECI_ENT = Seulement en entier.\n"
                              "SUPRESS = NON.\n"
                              "RAZ_TYPE = 36H sans dépassement.\n"
                              "AFF_TYPE = Sélection par entrée OPTO\n"
                              "etalon = 400000\n"
                              "Text4 = 266640\n"
                              "Dimpulse = 0,6666\n"
                              "Slider_Nbr_IMPULS = 8\n"
                              "Slider_MOY = 16\n"
                              "Slider_ZEROPULSE = 10\n"
                              "DURE_LDR = 128\n"
                              "COMP_LDR = 0\n"
                              "Option1 = Capteur LDR\n"
                              "COULE_1 = rouge\n"
                              "COULE_2 = orange\n"
                              "COULE_3 = vert\n"
                              "COULE_4 = vert\n"
                              "COULE_5 = orange\n"
                              "HScroll1_1 = 10\n"
                              "HScroll1_2 = 30,5\n"
                              "HScroll1_3 = 50\n"
                              "HScroll1_4 = 999,9\n"
                              "HScroll1_5 = 0\n"
                              "Check1 = Oui\n"
                              "Option3 = Normalement FERMÉ.\n"
                              "HScroll6 = 25\n"
                              "HScroll7 = 0,1\n"
                              "Check2 = Oui\n"
                              "Option4 = Normalement OUVERT.\n"
                              "HScroll8 = 999,9\n"
                              "HScroll5 = 0\n"
                              "HScroll3 = 20\n";

QByteArray withLine(const QByteArray &line, const QByteArray &first = "KVL_PWS paramètres 1")
{
    return first + "\n" + line + "\n";
}

struct RemarkRow
{
    QByteArray file;
    QStringList outOfRange, unreadable, unknown;
    int relay1Activation;
};

struct DecodingRow
{
    int address;
    QStringList texts;
    JEU_PARAMETRES expected;
    QList<OutOfRangeValue> outOfRange;
    bool blank;
};
struct CalibrationRow
{
    QString dimpulse, shown, coefficient;
    int column;
    QStringList texts; // m/s, Hz, period
    QString etalon;
};
struct FailureRow
{
    QString dimpulse, etalon, shown, message;
};
} // namespace

// The parameter block's codec, its changes in words, the parameter file and
// the pulse calibration, all pure.
class TestParameterCodec : public QObject
{
    Q_OBJECT

private slots:
    // Texts that only a read meets; the rest is the encoding table (and the
    // window's read-then-write property over generated cards).
    void decoding_data()
    {
        QTest::addColumn<DecodingRow>("row");
        using C = RangeColour;
        auto row = [](const char *name, int address, const QStringList &texts, const Change &change,
                      const QList<OutOfRangeValue> &outOfRange = {}, bool blank = false) {
            QTest::newRow(name) << DecodingRow{address, texts, with(change), outOfRange, blank};
        };
        row("first marker letter is enough", 79, {"4F", "FF", "00"}, {});
        row("second marker letter is enough", 79, {"00", "4D", "00"}, {});
        row("erased, third letter ignored", 79, {"FF", "FF", "52"}, {}, {}, true);
        row("both flags read red", 64, {"C0", "C8"}, [](auto &p) { p.ranges[0] = {200, C::Red}; });
        row("zero limit reads 2", 72, {"00", "00"}, [](auto &p) { p.ranges[4] = {2, C::Orange}; });
        row("one-digit box shifts", 64, {"A", "C8"}, [](auto &p) { p.ranges[0] = {0xAC8, C::Orange}; });
        row("range above 9999", 68, {"67", "10"}, [](auto &p) { p.ranges[2] = {9999, C::Green}; },
            {{"Plage 3", 10000, 9999}});
        row("relay flags apart from threshold", 92, {"FF", "FF", "00", "BE"},
            [](auto &p) { p.relay1 = {true, true, 9999, 190}; }, {{"Seuil d'activation du relais 1", 16383, 9999}});
        row("relay 2 deactivation", 76, {"F0", "00"}, [](auto &p) { p.relay2.deactivation = 9999; },
            {{"Seuil de désactivation du relais 2", 0x3000, 9999}});
        row("no zero-pulse time", 78, {"0"}, [](auto &p) { p.zeroPulseSeconds = 1; }, {{"Durée sans impulsion", 0, 1}});
        row("light sensor wins", 82, {"03"}, [](auto &p) { p.luminosity = 0; });
        row("last bit wins", 82, {"7E"}, [](auto &p) { p.luminosity = 6; });
        row("no luminosity", 82, {"80"}, [](auto &p) { p.luminosity.reset(); });
        row("averaging unknown", 85, {"03"}, [](auto &p) { p.averaging.reset(); });
        row("refresh 21", 86, {"15"}, [](auto &p) { p.refresh = 20; }, {{"Rafraîchissement", 21, 20}});
        row("9 pulses", 91, {"09"}, [](auto &p) { p.pulseCount = 8; }, {{"Nombre d'impulsions", 9, 8}});
        row("options 3C", 96, {"3C"}, [](auto &p) {
            p.digits.reset(); p.displayMode = 2; p.resetMode = 3; p.integerOnly = false; p.suppressZeros = false;
        });
        row("even period byte", 97, {"A"}, [](auto &p) { p.measuringPeriod = 6; });
        row("period beyond a byte", 97, {"1FF"}, [](auto &p) { p.measuringPeriod = 128; },
            {{"Fréquence de Commutation", 256, 128}});
        row("switching 16", 98, {"10"}, [](auto &p) { p.switchingThreshold = 15; },
            {{"Commutation JOUR/NUIT", 16, 15}});
    }
    void decoding()
    {
        QFETCH(DecodingRow, row);
        const auto &[address, texts, expected, outOfRange, blank] = row;
        MemoryImage image;
        CODE_PARAMETRES(with(), image);
        setTexts(image, address, texts);
        QCOMPARE(TEST_VIERGE(image), blank);
        const DecodedParameters decoded = DECODE_PARAMETRES(image);
        QCOMPARE(decoded.outOfRange, outOfRange);
        QVERIFY(decoded.parameters == expected);
    }

    void coefficient_data()
    {
        QTest::addColumn<QStringList>("texts"); // boxes 87 to 90
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("decimal");
        QTest::newRow("little-endian") << QStringList{"B2", "09", "0B", "00"} << "000B09B2" << "723378";
        QTest::newRow("bit 31 negative") << QStringList{"00", "00", "00", "80"} << "80000000" << "-2147483648";
        QTest::newRow("one-digit box shifts") << QStringList{"A", "09", "0B", "00"} << "000B09A" << "45210";
        QTest::newRow("failure marks") << QStringList{"Er", "Er", "Er", "Er"} << "ErErErEr" << "14";
    }
    void coefficient()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, hex);
        QFETCH(QString, decimal);
        MemoryImage image;
        setTexts(image, 87, texts);
        const DecodedParameters decoded = DECODE_PARAMETRES(image);
        QCOMPARE(decoded.coefficientHex, hex);
        QCOMPARE(decoded.coefficientDecimal, decimal);
        QVERIFY(coefficientFromText(decimal) == decoded.parameters.coefficient);
    }

    void encoding_data()
    {
        QTest::addColumn<JEU_PARAMETRES>("parameters");
        QTest::addColumn<int>("address");
        QTest::addColumn<QStringList>("texts");
        auto row = [](const char *name, const Change &change, int address, const QStringList &texts) {
            QTest::newRow(name) << with(change) << address << texts;
        };
        row("ranges 1 to 5", {}, 64, {"40", "C7", "41", "8F", "03", "1F", "83", "E7", "80", "01"});
        row("relay 2 off, open; zero-pulse; marker; 100%; reserved", {}, 74,
            {"01", "2C", "01", "22", "3", "4F", "4D", "52", "02", "00", "00", "04", "2"});
        row("relay 2 in use, closed", [](auto &p) { p.relay2 = {true, true, 300, 290}; }, 74, {"C1", "2C"});
        row("coefficient, pulses, relay 1, options, period, switching", {}, 87,
            {"B2", "09", "0B", "00", "1", "00", "C8", "00", "BE", "61", "9", "5"});
        row("relay 1 in use, closed", [](auto &p) { p.relay1 = {true, true, 200, 190}; }, 92, {"C0", "C8"});
        // Every code of the choices: two values on one code would read back as one.
        const QStringList light{"03", "02", "04", "08", "10", "20", "40"}; // light sensor, then 100 % to 20 %
        for (int i = 0; i < light.size(); ++i)
            row(qPrintable("luminosity " + light[i]), [i](auto &p) { p.luminosity = i; }, 82, {light[i]});
        const QStringList measures{"01", "02", "04", "08", "10"}; // 1 to 16 measures
        for (int e = 0; e < measures.size(); ++e)
            row(qPrintable("averaging " + measures[e]), [e](auto &p) { p.averaging = e; }, 85, {measures[e]});
        row("no choice keeps boxes", [](auto &p) { p.luminosity.reset(); p.averaging.reset(); }, 82,
            {"Z", "00", "00", "Z"});
        row("options AB", [](auto &p) { p.digits = 1; p.resetMode = 1; p.integerOnly = true; }, 96, {"AB"});
        row("options D5", [](auto &p) { p.digits = 3; p.displayMode = 1; p.resetMode = 2; }, 96, {"D5"});
        row("no digit choice", [](auto &p) { p.digits.reset(); p.displayMode = 3; p.suppressZeros = false; }, 96,
            {"0"});
        row("period 128, night", [](auto &p) { p.measuringPeriod = 128; p.switchingThreshold = 15; }, 97,
            {"FF", "F", "Z"});
        row("limit held to 9999", [](auto &p) { p.ranges[0].threshold = 20000; }, 64, {"67", "0F"});
        row("bytes held to their range", [](auto &p) { p.refresh = 0; p.pulseCount = 50; }, 86,
            {"1", "B2", "09", "0B", "00", "8"});
    }
    void encoding()
    {
        QFETCH(JEU_PARAMETRES, parameters);
        QFETCH(int, address);
        QFETCH(QStringList, texts);
        MemoryImage image;
        for (int a = 0; a < MemoryImage::Size; ++a)
            image.setText(a, QStringLiteral("Z"));
        QCOMPARE(CODE_PARAMETRES(parameters, image), QStringLiteral("000B09B2"));
        QCOMPARE(image.text(63), QStringLiteral("Z"));
        for (int k = 0; k < texts.size(); ++k)
            QCOMPARE(image.text(address + k), texts[k]);
    }

    void coefficientTyped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value"); // -1: refused
        QTest::newRow("blanks and sign") << "  +444444 " << qint64(444444);
        QTest::newRow("largest") << "4294967295" << qint64(0xFFFFFFFF);
        QTest::newRow("too large") << "4294967296" << qint64(-1);
        QTest::newRow("far too large") << "123456789012345678901234567890" << qint64(-1);
        QTest::newRow("most negative") << "-2147483648" << qint64(0x80000000);
        QTest::newRow("below most negative") << "-2147483649" << qint64(-1);
        QTest::newRow("empty") << "" << qint64(-1);
        QTest::newRow("fraction") << "12,5" << qint64(-1);
        QTest::newRow("inner blank") << "12 34" << qint64(-1);
    }
    void coefficientTyped()
    {
        QFETCH(QString, text);
        QFETCH(qint64, value);
        const std::optional<quint32> read = coefficientFromText(text);
        QCOMPARE(read ? qint64(*read) : -1, value);
    }

    void calibration_data()
    {
        QTest::addColumn<CalibrationRow>("row");
        auto row = [](const char *name, const char *dimpulse, const char *shown, const char *coefficient, int column,
                      const QStringList &texts, const char *etalon = "400000") {
            QTest::newRow(name) << CalibrationRow{dimpulse, shown, coefficient, column, texts, etalon};
        };
        row("defaults, 2 km/h", "1,11111", "1,11111", "444444", 0, {"0,5556", "0,5000", "2,0000"});
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
        QFETCH(CalibrationRow, row);
        const auto &[dimpulse, shown, coefficient, column, texts, etalon] = row;
        const PulseCalibration result = calibratePulses(dimpulse, etalon);
        QVERIFY(result.succeeded());
        QCOMPARE(result.dimpulse, shown);
        QCOMPARE(result.coefficient, coefficient);
        QCOMPARE(result.columns.size(), 15);
        QCOMPARE(result.columns.at(column), (CalibrationColumn{texts[0], texts[1], texts[2]}));
    }

    void failure_data()
    {
        QTest::addColumn<FailureRow>("row");
        const QString distance = QStringLiteral("Distance par impulsion invalide : entrez un nombre positif (ex : 1,1111).");
        const QString constant = QStringLiteral("Constante d'étalonnage invalide : entrez un nombre.");
        const QString range = QStringLiteral("Coefficient hors limites : la distance par impulsion et la constante "
                                             "doivent donner un coefficient entre 1 et 2147483647.");
        QTest::newRow("negative") << FailureRow{"-1.5", "400000", "-1,5", distance};
        QTest::newRow("zero in single precision") << FailureRow{"1e-50", "400000", "1e-50", distance};
        QTest::newRow("beyond single precision") << FailureRow{"1e39", "400000", "1e39", distance};
        QTest::newRow("text, distance checked first") << FailureRow{"x", "y", "x", distance};
        QTest::newRow("constant with point") << FailureRow{"1.1111", "400.5", "1,1111", constant};
        QTest::newRow("constant with group separator") << FailureRow{"1,1111", "400 000", "1,1111", constant};
        QTest::newRow("constant infinite") << FailureRow{"1,1111", "inf", "1,1111", constant};
        QTest::newRow("coefficient infinite") << FailureRow{"3e38", "1e300", "3e38", constant};
        QTest::newRow("just above the limit") << FailureRow{"5368,71", "400000", "5368,71", range};
        QTest::newRow("negative constant") << FailureRow{"1,11111", "-400000", "1,11111", range};
        QTest::newRow("zero constant gives 1") << FailureRow{"1,11111", "0", "1,11111", QString()};
    }
    void failure()
    {
        QFETCH(FailureRow, row);
        const auto &[dimpulse, etalon, shown, message] = row;
        const PulseCalibration result = calibratePulses(dimpulse, etalon);
        QCOMPARE(result.dimpulse, shown);
        QCOMPARE(result.failure, message);
        if (message.isEmpty())
            return;
        QVERIFY(result.coefficient.isEmpty() && result.columns.isEmpty());
    }

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

    // Over generated pairs of cards, a few bytes apart: one row for each
    // setting that differs, none for equal cards, the coefficient's four
    // bytes one row.
    void generatedPairs()
    {
        QRandomGenerator random(20261207);
        for (int n = 0; n < 3000; ++n) {
            const Block a = programmed(random);
            Block b = a;
            for (int k = int(random.bounded(4)); k > 0; --k)
                b[64 + random.bounded(64)] ^= 1 << random.bounded(8);
            b[79] = 0x4F;
            QStringList expected;
            const std::map<QString, int> before = settingsOf(a), after = settingsOf(b);
            for (const auto &[caption, value] : before) {
                if (after.at(caption) != value)
                    expected << caption;
            }
            QStringList rows;
            for (const SettingChange &c : parameterChanges(bytesOf(a), bytesOf(b)))
                rows << c.caption;
            QCOMPARE(rows.size(), QSet<QString>(rows.begin(), rows.end()).size());
            rows.sort();
            expected.sort();
            QCOMPARE(rows, expected);
            QVERIFY(parameterChanges(bytesOf(a), bytesOf(a)).isEmpty());
        }
    }

    void texts_data()
    {
        QTest::addColumn<Edit>("edit"); // address, byte, from the sample card
        QTest::addColumn<QList<SettingChange>>("rows");
        QTest::addColumn<int>("settings"); // rows of settings in all
        const auto row = [](const char *caption, const char *from, const char *to) {
            return SettingChange{-1, QString::fromUtf8(caption), QString::fromUtf8(from), QString::fromUtf8(to)};
        };
        QTest::newRow("range colour") << Edit{{64, 0x80}}
                                      << QList{row("Plage 1: couleur", "vert", "rouge")} << 1;
        QTest::newRow("relay contact and limit")
            << Edit{{92, 0x40}, {93, 0xC7}}
            << QList{row("Relais 1 : contact", "Normalement OUVERT.", "Normalement FERMÉ."),
                     row("Relais 1 : Seuil d'ACTIVATION.", "20 Km/h", "19,9 Km/h")}
            << 2;
        QTest::newRow("digits, zero time") << Edit{{96, 0xE1}, {78, 0}}
                                           << QList{row("Nombre de digits d'affichage:", "3.", "4."),
                                                    row("3- Durée sans impulsion pour le 0Km/h:", "3 Secondes",
                                                        "0 Secondes")}
                                           << 2;
        QTest::newRow("no marker") << Edit{{79, 0}, {80, 0}}
                                   << QList{row("Nombre de digits d'affichage:", "3.", "non programmé")} << 31;
        QTest::newRow("unknown byte") << Edit{{91, -1}}
                                      << QList{row("Nombre d'impulsion utilisée pour le calcul instantané:", "1",
                                                   "inconnu")}
                                      << 1;
        QTest::newRow("card's own bytes") << Edit{{99, 0}, {100, 0}, {102, 1}}
                                          << QList{row("Octets 63h à 64h", "AA AA", "00 00"), row("Octet 66h", "AA", "01")}
                                          << 0;
    }
    // The values in the editor's words; a card without its marker holds no
    // setting, an unknown byte no value, bytes past the block go by address.
    void texts()
    {
        QFETCH(Edit, edit);
        QFETCH(QList<SettingChange>, rows);
        QFETCH(int, settings);
        // Range 1 green at 19,9; relay 1 off, open, 20; 3 digits, instantaneous,
        // zeros suppressed; 3 s; 1 pulse.
        Block card{};
        for (const auto &[address, value] : {std::pair{64, 0x40}, {65, 0xC7}, {78, 3}, {79, 0x4F}, {80, 0x4D},
                                             {91, 1}, {92, 0x00}, {93, 0xC8}, {96, 0x61}})
            card[address] = value;
        for (int a = 99; a < 128; ++a)
            card[a] = 0xAA;
        MemoryBytes from = bytesOf(card), to = from;
        for (const auto &[address, value] : edit)
            to[address] = value < 0 ? std::nullopt : std::optional<quint8>(quint8(value));
        QList<SettingChange> shown = parameterChanges(from, to);
        QCOMPARE(shown.size(), settings);
        // Of all the rows a card without its marker gives, the first tells how.
        const auto listed = std::count_if(rows.begin(), rows.end(), [](auto &r) { return !r.caption.startsWith("Octet"); });
        shown = shown.mid(0, listed) + memoryChanges(from, to);
        for (SettingChange &c : shown)
            c.setting = -1;
        QCOMPARE(shown, rows);
    }

    // Every setting written as the editor shows it, and read back over
    // settings that differ in every field.
    void roundTrip()
    {
        QCOMPARE(parameterFileText(edited()), EditedText);
        const std::optional<LoadedParameters> loaded = readParameterFile(EditedText, EditorSettings{});
        QVERIFY(loaded);
        QVERIFY(loaded->settings == edited());
        QVERIFY(loaded->outOfRange.isEmpty() && loaded->unreadable.isEmpty());
        QVERIFY(loaded->unknownNames.isEmpty() && loaded->missing.isEmpty());

        // No choice in a group is written empty and read back as no choice.
        EditorSettings none = edited();
        none.parameters.luminosity.reset();
        none.parameters.digits.reset();
        const QByteArray text = parameterFileText(none);
        QVERIFY(text.contains("\nOption1 =\n") && text.contains("\nNB_DIGIT =\n"));
        QVERIFY(readParameterFile(text, edited())->settings == none);
    }

    void notAParameterFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("other format") << withLine("COULE_1 = vert", "KVL_PWS sauvegarde 24C01");
        QTest::newRow("no version") << withLine("COULE_1 = vert", "KVL_PWS paramètres");
        QTest::newRow("version 0") << withLine("COULE_1 = vert", "KVL_PWS paramètres 0");
        QTest::newRow("not name = value") << withLine("COULE_1 vert");
        QTest::newRow("binary") << withLine(QByteArray("COULE_1 = vert\0", 15));
        QTest::newRow("not UTF-8") << withLine("COULE_1 = vert\xff");
        QByteArray large = withLine("# padding");
        large += QByteArray(ParameterFileLimit - large.size() + 1, '#');
        QTest::newRow("over 64 KiB") << large;
    }
    void notAParameterFile()
    {
        QFETCH(QByteArray, file);
        QVERIFY(!readParameterFile(file, EditorSettings{}));
    }

    void remarks_data()
    {
        QTest::addColumn<RemarkRow>("row");
        QTest::newRow("out of range")
            << RemarkRow{withLine("HScroll1_1 = 1200\nSlider_ZEROPULSE = 0\nSlider_MOY = 32\nHScroll6 = -3"),
                         {"Plage 1 : 1200 → 999,9", "Durée sans impulsion : 0 → 1", "Moyenne : 32 → 16",
                          "Seuil d'activation du relais 1 : -3 → 0"}, {}, {}, 0};
        QTest::newRow("unreadable")
            << RemarkRow{withLine("HScroll6 = 2,55\nSlider_MOY = 3\nCOULE_1 = bleu\nText4 = 1,5\nDimpulse = 0"), {},
                         {"HScroll6 = 2,55", "Slider_MOY = 3", "COULE_1 = bleu", "Text4 = 1,5", "Dimpulse = 0"}, {}, 200};
        QTest::newRow("unknown names") << RemarkRow{withLine("# note\nCOULEUR = vert\n\nHScroll6 = 12,5\nText1_99 = FF"),
                                                    {}, {}, {"COULEUR", "Text1_99"}, 125};
    }
    // Held or kept values are reported; the rest of the file applies.
    void remarks()
    {
        QFETCH(RemarkRow, row);
        const auto &[file, outOfRange, unreadable, unknown, relay1Activation] = row;
        const std::optional<LoadedParameters> loaded = readParameterFile(file, EditorSettings{});
        QVERIFY(loaded);
        QCOMPARE(loaded->outOfRange, outOfRange);
        QCOMPARE(loaded->unreadable, unreadable);
        QCOMPARE(loaded->unknownNames, unknown);
        QCOMPARE(loaded->settings.parameters.relay1.activation, relay1Activation);
        QCOMPARE(loaded->settings.dimpulse, EditorSettings{}.dimpulse);
        QCOMPARE(loaded->settings.parameters.ranges[0].colour, RangeColour::Green);
    }

    // A file of another version of the format is read by name: what it lacks
    // keeps the editor's values and is listed, its version is kept.
    void otherVersion()
    {
        const std::optional<LoadedParameters> loaded = readParameterFile(
            "\xEF\xBB\xBFKVL_PWS paramètres 2\r\nCOULE_1 = rouge\r\nHScroll1_1 = 12,3\r\nPlage_6 = vert\r\n",
            edited());
        QVERIFY(loaded);
        QCOMPARE(loaded->version, 2);
        EditorSettings expected = edited();
        expected.parameters.ranges[0] = {123, RangeColour::Red};
        QVERIFY(loaded->settings == expected);
        QCOMPARE(loaded->unknownNames, QStringList{"Plage_6"});
        QCOMPARE(loaded->missing.size(), 31);
        QVERIFY(loaded->missing.contains("Dimpulse") && !loaded->missing.contains("COULE_1"));
    }
};

QTEST_GUILESS_MAIN(TestParameterCodec)
#include "tst_parameter_codec.moc"
