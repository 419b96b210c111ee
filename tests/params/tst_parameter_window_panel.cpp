#include "link/configuration_window.h"
#include "panel/memory_grid.h"
#include "params/parameter_window.h"
#include "support/panel_link.h"
#include "support/workbench.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace std::chrono;
using Icon = Messages::Icon;
using Shown = RecordingMessages::Shown;

namespace {
const QString ReadDone = QStringLiteral("Lecture effectuée avec succés.");
const QString WriteDone = QStringLiteral("Programmation effectuée avec succés.");
const QString Failed =
    QStringLiteral("Une erreur est survenue. Veuillez recommencer ou  vérifier directement sur l'afficheur.");
const QString Blank = QStringLiteral("Paramètre vièrge. Veuillez envoyer une premères fois les paramètres.");

// The documented sample, with the fields that match the editor's defaults
// changed so that a read has to move every control.
sim::PanelState sampleCard()
{
    sim::PanelState state = sim::PanelState::programmed();
    for (const auto &[address, value] : std::initializer_list<std::pair<int, int>>{{85, 0x10},
                                                                                   {86, 0x07},
                                                                                   {87, 0x15},
                                                                                   {88, 0x16},
                                                                                   {89, 0x05},
                                                                                   {90, 0x00},
                                                                                   {93, 0xFA},
                                                                                   {97, 0x0F},
                                                                                   {98, 0x09}})
        state.memory[address] = std::uint8_t(value);
    return state;
}

void copyInto(MemoryImage &image, const sim::Memory &memory)
{
    for (int k = 0; k < MemoryImage::Size; ++k)
        image.setText(k, QStringLiteral("%1").arg(memory[k], 2, 16, QLatin1Char('0')).toUpper());
}

// One line per control: "name=value" for bars and boxes, the checked names for
// the option buttons, so that a comparison shows what differs.
QStringList shownState(dump_24c01 &w, const QStringList &names)
{
    QStringList state;
    for (const QString &name : names) {
        QObject *c = w.findChild<QObject *>(name);
        if (auto *bar = qobject_cast<QAbstractSlider *>(c))
            state << name + '=' + QString::number(bar->value());
        else if (auto *check = qobject_cast<QCheckBox *>(c))
            state << name + '=' + QString::number(check->checkState());
        else if (auto *box = qobject_cast<QLineEdit *>(c))
            state << name + '=' + box->text() + (name.startsWith("COULE") ? '/' + boxColour(box).name() : QString());
        else
            state << name + "=?";
    }
    for (QRadioButton *b : w.findChildren<QRadioButton *>()) {
        if (b->isChecked())
            state << b->objectName();
    }
    return state;
}

const QStringList Fields{"COULE_1",    "COULE_2",    "COULE_3",    "COULE_4",          "COULE_5",
                         "HScroll1_1", "HScroll1_2", "HScroll1_3", "HScroll1_4",       "HScroll1_5",
                         "Check2",     "HScroll8",   "HScroll5",   "Slider_ZEROPULSE", "Slider_MOY",
                         "HScroll3",   "Text5",      "Text4",      "Dimpulse",         "Slider_Nbr_IMPULS",
                         "Check1",     "HScroll6",   "HScroll7",   "DURE_LDR",         "COMP_LDR"};
} // namespace

class ParameterWindowPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void readProgrammedCard_data()
    {
        QTest::addColumn<QString>("answerCheck");
        QTest::addColumn<QList<Shown>>("messages");
        QTest::newRow("reported") << "OUI" << QList<Shown>{{Icon::Information, ReadDone}};
        QTest::newRow("silenced") << "NON" << QList<Shown>{};
    }

    void readProgrammedCard()
    {
        QFETCH(QString, answerCheck);
        QFETCH(QList<Shown>, messages);
        dump_24c01 &w = open(sampleCard(), answerCheck);
        control<QPushButton>("but_lit_para")->click();
        QCOMPARE(bench->messages.shown, messages);

        const QStringList expected{
            "COULE_1=Plage 1:/#00ff00", "COULE_2=Plage 2:/#00ff00", "COULE_3=Plage 3:/#ffc080",
            "COULE_4=Plage 4:/#ff0000", "COULE_5=Plage 5:/#ff0000", "HScroll1_1=100", "HScroll1_2=300",
            "HScroll1_3=500", "HScroll1_4=700", "HScroll1_5=999", "Check2=2", "HScroll8=500", "HScroll5=450",
            "Slider_ZEROPULSE=5", "Slider_MOY=4", "HScroll3=7", "Text5=00051615", "Text4=333333", "Dimpulse=0,8333325",
            "Slider_Nbr_IMPULS=4", "Check1=2", "HScroll6=250", "HScroll7=150", "DURE_LDR=8", "COMP_LDR=9",
            // option buttons, in creation order
            "NB_DIGIT_2", "DECI_ENT_2", "SUPRESS_1", "RAZ_TYPE_2", "AFF_TYPE_2", "Option1_0", "Option3_1", "Option4_0"};
        QCOMPARE(shownState(w, Fields), expected);
        QCOMPARE(control<QLabel>("PLAG_1")->text(), QStringLiteral("10 Km/h."));
        QCOMPARE(control<QCheckBox>("Check2")->text(), QStringLiteral("Oui"));
        QCOMPARE(control<QGroupBox>("Frame4")->title(), QStringLiteral("Contact NF"));
        QCOMPARE(control<QLabel>("Label60")->text(), QStringLiteral("25"));
        QCOMPARE(control<QLineEdit>("MOYENNE")->text(),
                 QStringLiteral("2-Moyenne réalisée sur 16 mesures de vitesse:"));
        QCOMPARE(control<QLineEdit>("VITESSE_VENT")->text(), QStringLiteral(" Vitesse instantanée : 56,7 Km/h."));
        QCOMPARE(control<QLineEdit>("VITESSE_VENT_MAX")->text(), QStringLiteral(" Maximum enregistré: 123,4 Km/h."));

        // The live speed runs twice, after the read and nothing else.
        const QStringList live{"31 AAA", "31 BBB", "31 CCC", "31 DDD"};
        const QStringList log = frames(1 + 4 + 64 + 2 + 8);
        QCOMPARE(log.size(), 1 + 4 + 64 + 2 + 8);
        QCOMPARE(log.mid(1 + 4 + 64, 2), (QStringList{"31 X6X", "31 RRR"}));
        QCOMPARE(log.mid(1 + 4 + 64 + 2), live + live);
    }

    void readOutOfRange_data()
    {
        QTest::addColumn<QString>("answerCheck");
        QTest::addColumn<QList<Shown>>("messages");
        QTest::newRow("reported") << "OUI"
                                  << QList<Shown>{
                                         {Icon::Information, ReadDone},
                                         {Icon::Exclamation,
                                          "Valeurs hors limites ramenées dans la plage : Plage 1 : 16383 → 9999, "
                                          "Durée sans impulsion : 0 → 1, Nombre d'impulsions : 9 → 8, "
                                          "Commutation JOUR/NUIT : 31 → 15."}};
        QTest::newRow("silenced") << "NON" << QList<Shown>{};
    }

    void readOutOfRange()
    {
        QFETCH(QString, answerCheck);
        QFETCH(QList<Shown>, messages);
        sim::PanelState card = sampleCard();
        for (const auto &[address, value] :
             std::initializer_list<std::pair<int, int>>{{64, 0x3F}, {65, 0xFF}, {78, 0x00}, {91, 0x09}, {98, 0x1F}})
            card.memory[address] = std::uint8_t(value);
        dump_24c01 &w = open(card, answerCheck);
        control<QPushButton>("but_lit_para")->click();
        QCOMPARE(bench->messages.shown, messages);
        const QStringList shown = shownState(w, {"HScroll1_1", "Slider_ZEROPULSE", "Slider_Nbr_IMPULS", "COMP_LDR"});
        QCOMPARE(shown.mid(0, 4),
                 (QStringList{"HScroll1_1=9999", "Slider_ZEROPULSE=1", "Slider_Nbr_IMPULS=8", "COMP_LDR=15"}));
    }

    void readBlankCard()
    {
        dump_24c01 &w = open(sim::PanelState::blank());
        control<QPushButton>("but_lit_para")->click();
        QCOMPARE(bench->messages.shown, (QList<Shown>{{Icon::Exclamation, Blank}, {Icon::Information, ReadDone}}));
        for (int i = 1; i <= 5; ++i) {
            QCOMPARE(control<QScrollBar>(memberName("HScroll1", i))->value(), 1);
            QCOMPARE(boxColour(control<QLineEdit>(memberName("COULE", i))), EditorColour::Orange);
        }
        // Only the relay contacts keep a selection.
        QCOMPARE(shownState(w, {}), (QStringList{"Option3_0", "Option4_0"}));
        QVERIFY(!frames(72).contains("31 AAA"));
    }

    void writeEveryFieldAndReadBack()
    {
        dump_24c01 &w = open(sampleCard());
        control<QPushButton>("but_lit_para")->click();
        bench->messages.clear();
        panel->clearLog();

        // Green, green, orange, red, red become orange, red, green, green, orange.
        for (const auto &[index, clicks] :
             std::initializer_list<std::pair<int, int>>{{1, 1}, {2, 2}, {3, 2}, {4, 1}, {5, 2}})
            for (int k = 0; k < clicks; ++k)
                QTest::mouseClick(control<QLineEdit>(memberName("COULE", index)), Qt::LeftButton);
        const std::map<QString, int> values{{"HScroll1_1", 111}, {"HScroll1_2", 222},      {"HScroll1_3", 333},
                                            {"HScroll1_4", 444}, {"HScroll1_5", 5555},     {"HScroll8", 1234},
                                            {"HScroll5", 1200},  {"Slider_ZEROPULSE", 9},  {"Slider_MOY", 1},
                                            {"HScroll3", 13},    {"Slider_Nbr_IMPULS", 7}, {"HScroll6", 9999},
                                            {"HScroll7", 0},     {"DURE_LDR", 128},        {"COMP_LDR", 0}};
        for (const auto &[name, value] : values)
            control<QAbstractSlider>(name)->setValue(value);
        control<QCheckBox>("Check1")->click();
        control<QCheckBox>("Check2")->click();
        for (const char *option : {"Option4_1", "Option1_6", "Option3_0", "NB_DIGIT_3", "AFF_TYPE_3", "RAZ_TYPE_3",
                                   "DECI_ENT_1", "SUPRESS_2"})
            control<QRadioButton>(QString::fromLatin1(option))->click();
        control<QLineEdit>("Dimpulse")->setText(QStringLiteral("0,6666"));

        const JEU_PARAMETRES edited{.ranges = {{{111, RangeColour::Orange},
                                                {222, RangeColour::Red},
                                                {333, RangeColour::Green},
                                                {444, RangeColour::Green},
                                                {5555, RangeColour::Orange}}},
                                    .relay1 = {false, false, 9999, 0},
                                    .relay2 = {false, true, 1234, 1200},
                                    .zeroPulseSeconds = 9,
                                    .luminosity = 6,
                                    .averaging = 1,
                                    .refresh = 13,
                                    .coefficient = 266640,
                                    .pulseCount = 7,
                                    .digits = 3,
                                    .displayMode = 3,
                                    .resetMode = 3,
                                    .integerOnly = true,
                                    .suppressZeros = false,
                                    .measuringPeriod = 128,
                                    .switchingThreshold = 0};
        MemoryImage expected;
        copyInto(expected, sampleCard().memory);
        QCOMPARE(CODE_PARAMETRES(edited, expected), QStringLiteral("00041190"));

        control<QPushButton>("but_ecrit_para")->click();
        QCOMPARE(bench->messages.shown, (QList<Shown>{{Icon::Information, WriteDone}}));
        QCOMPARE(control<QLineEdit>("Text5")->text(), QStringLiteral("00041190"));
        const sim::Memory memory = panel->memory();
        for (int k = 0; k < MemoryImage::Size; ++k) {
            QCOMPARE(memory[k], k < 64 ? sampleCard().memory[k] : std::uint8_t(expected.value(k)));
            QCOMPARE(w.image().state(k), CellState::Green);
        }
        const QStringList log = frames(5 + 4 * 20 + 2);
        QCOMPARE(log.size(), 5 + 4 * 20 + 2);
        QCOMPARE(log.mid(5 + 4 * 20), (QStringList{"31 OOO", "31 RRR"}));
        const std::vector<sim::LoggedFrame> logged = panel->frames();
        const auto gap = logged.back().arrival - logged[logged.size() - 2].arrival;
        QVERIFY2(gap >= milliseconds(500) && gap < milliseconds(800), qPrintable(QString::number(gap.count())));

        // A fresh window shows the defaults; the read brings back every edit.
        const QStringList edits = shownState(w, Fields);
        bench->registry.unload(WindowId::Parameters);
        bench->messages.clear();
        dump_24c01 &fresh = bench->registry.window<dump_24c01>(WindowId::Parameters);
        QVERIFY(shownState(fresh, Fields) != edits);
        control<QPushButton>("but_lit_para")->click();
        QCOMPARE(bench->messages.shown, (QList<Shown>{{Icon::Information, ReadDone}}));
        QCOMPARE(shownState(fresh, Fields), edits);
    }

    void silentPanel_data()
    {
        QTest::addColumn<QString>("answerCheck");
        QTest::addColumn<QList<Shown>>("messages");
        QTest::newRow("reported") << "OUI" << QList<Shown>{{Icon::Exclamation, Failed}};
        QTest::newRow("silenced") << "NON" << QList<Shown>{};
    }

    // A timed-out read is a failure, not a blank card: only the error is told.
    void silentPanel()
    {
        QFETCH(QString, answerCheck);
        QFETCH(QList<Shown>, messages);
        dump_24c01 &w = open(sampleCard(), answerCheck);
        control<QPushButton>("but_RD")->click(); // a write first saves what was read
        panel->waitForFrames(1 + 4 + 64 + 2, std::chrono::seconds(1));
        panel->setFault(sim::Fault::Silent);
        panel->clearLog();
        w.grid().but_lin_Click();

        control<QPushButton>("but_ecrit_para")->click();
        QCOMPARE(bench->messages.shown, messages);
        QCOMPARE(frames(5 + 4 * 20 + 2).mid(5 + 4 * 20), (QStringList{"31 OOO", "31 RRR"}));

        bench->messages.clear();
        control<QPushButton>("but_lit_para")->click();
        QCOMPARE(bench->messages.shown, messages);
        QCOMPARE(control<QScrollBar>("HScroll1_1")->value(), 199);
        QCOMPARE(control<QScrollBar>("HScroll1_5")->value(), 0);
        for (int k = 0; k < MemoryImage::Size; ++k) {
            QCOMPARE(w.image().text(k), QStringLiteral("Er"));
            QCOMPARE(w.image().state(k), CellState::Red);
        }
        QVERIFY(!frames().contains("31 AAA"));
    }

    // Nothing is sent, whatever the answer check says.
    void refusedWrites()
    {
        dump_24c01 &w = open(sampleCard(), QStringLiteral("NON"));
        const auto refused = [](const char *cell) {
            return Shown{Icon::Exclamation,
                         QStringLiteral("Envoi annulé : la case %1 ne contient pas d'octet valide. "
                                        "Lisez d'abord la mémoire du panneau.")
                             .arg(QLatin1String(cell))};
        };
        control<QPushButton>("but_ecrit_para")->click();
        control<QPushButton>("but_WR")->click();
        w.grid().but_lin_Click();
        control<QLineEdit>("Dimpulse")->setText(QStringLiteral("99999999"));
        control<QPushButton>("but_ecrit_para")->click();
        QCOMPARE(bench->messages.shown,
                 (QList<Shown>{refused("63h"),
                               refused("40h"),
                               {Icon::Exclamation,
                                QStringLiteral("Coefficient invalide : il doit être un nombre entier sur 32 bits.")}}));
        QVERIFY(!panel->waitForFrames(1, milliseconds(300)));
        QCOMPARE(w.image().text(83), QStringLiteral("53")); // the address pattern, not the encoded "00"
    }

    void rawGrid()
    {
        open(sampleCard());
        control<QPushButton>("but_RD")->click();
        panel->waitForFrames(1 + 4 + 64 + 2, std::chrono::seconds(1));
        panel->clearLog();
        control<QPushButton>("but_lin")->click();
        QLineEdit *cell = control<QLineEdit>("Text1_70");
        cell->selectAll();
        QTest::keyClicks(cell, QStringLiteral("ab"));
        control<QPushButton>("but_WR")->click();
        sim::Memory expected = sampleCard().memory;
        for (int k = 64; k < MemoryImage::Size; ++k)
            expected[k] = std::uint8_t(k == 70 ? 0xAB : k);
        QVERIFY(panel->memory() == expected);
        QVERIFY(!frames(5 + 80).contains("31 OOO"));

        panel->setFault(sim::Fault::Silent);
        control<QPushButton>("but_RD")->click();
        for (int k = 0; k < MemoryImage::Size; ++k)
            QCOMPARE(control<QLineEdit>(memberName("Text1", k))->text(), QStringLiteral("Er"));
        QVERIFY(bench->messages.shown.isEmpty());
    }

private:
    // The tool with its port confirmed on the virtual panel (COM3).
    dump_24c01 &open(const sim::PanelState &state, const QString &answerCheck = QStringLiteral("OUI"))
    {
        panel = std::make_unique<sim::VirtualPanel>(state);
        bench = std::make_unique<Workbench>();
        if (!panel->start())
            qFatal("no virtual panel");
        bench->mapPort(3, QString::fromStdString(panel->devicePath()));
        bench->registry.configuration().list(LinkSetting::SEL_REP)->setCurrentText(answerCheck);
        bench->confirmPort(3);
        bench->messages.clear();
        return bench->registry.window<dump_24c01>(WindowId::Parameters);
    }
    template<class T> T *control(const QString &name)
    {
        return bench->registry.window<dump_24c01>(WindowId::Parameters).findChild<T *>(name);
    }
    QStringList frames(std::size_t expected = 0)
    {
        panel->waitForFrames(expected, seconds(1));
        return frameTexts(panel->frames());
    }

    std::unique_ptr<sim::VirtualPanel> panel;
    std::unique_ptr<Workbench> bench;
};

QTEST_MAIN(ParameterWindowPanelTest)
#include "tst_parameter_window_panel.moc"
