#include "records/parameter_file.h"

#include <QTest>

namespace {

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
} // namespace

class TestParameterFile : public QObject
{
    Q_OBJECT
private slots:
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

QTEST_APPLESS_MAIN(TestParameterFile)
#include "tst_parameter_file.moc"
