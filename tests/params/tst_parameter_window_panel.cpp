#include "panel/memory_grid.h"
#include "params/parameter_window.h"
#include "support/window_rig.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace std::chrono;
using Icon = Messages::Icon;
using Shown = RecordingMessages::Shown;

namespace {
const Shown ReadDone = readDoneShown;
constexpr int ReadFrames = 1 + 4 + 64 + 2;
constexpr int LiveFrames = 2 * 4; // the live speed, twice
constexpr int WriteFrames = 5 + 4 * 20;

// The documented sample, with the fields that match the editor's defaults
// changed so that a read has to move every control.
sim::Memory sampleCard(std::initializer_list<std::pair<int, int>> changes = {})
{
    sim::Memory memory = sim::PanelState::programmed().memory;
    for (const auto &[address, value] : {std::pair{85, 0x10}, {86, 0x07}, {87, 0x15}, {88, 0x16}, {89, 0x05},
                                         {90, 0x00}, {93, 0xFA}, {97, 0x0F}, {98, 0x09}})
        memory[address] = std::uint8_t(value);
    for (const auto &[address, value] : changes)
        memory[address] = std::uint8_t(value);
    return memory;
}

// "name=value" per control, then the checked option buttons in creation
// order, so that a comparison shows what differs.
QStringList shownState(dump_24c01 &w, const QStringList &names)
{
    QStringList state;
    for (const QString &name : names) {
        QObject *c = w.findChild<QObject *>(name);
        QString value = c->property(qobject_cast<QGroupBox *>(c) ? "title" : "text").toString();
        if (auto *bar = qobject_cast<QAbstractSlider *>(c))
            value = QString::number(bar->value());
        else if (auto *check = qobject_cast<QCheckBox *>(c))
            value.prepend(QString::number(check->checkState()) + '/');
        else if (name.startsWith("COULE"))
            value += '/' + boxColour(qobject_cast<QLineEdit *>(c)).name();
        state << name + '=' + value;
    }
    for (QRadioButton *b : w.findChildren<QRadioButton *>()) {
        if (b->isChecked())
            state << b->objectName();
    }
    return state;
}

// Every field of the parameter block, then captions that follow them.
const QStringList Fields{"COULE_1", "COULE_2", "COULE_3", "COULE_4", "COULE_5", "HScroll1_1", "HScroll1_2",
                         "HScroll1_3", "HScroll1_4", "HScroll1_5", "Check2", "HScroll8", "HScroll5", "Slider_ZEROPULSE",
                         "Slider_MOY", "HScroll3", "Text5", "Text4", "Dimpulse", "Slider_Nbr_IMPULS", "Check1",
                         "HScroll6", "HScroll7", "DURE_LDR", "COMP_LDR", "PLAG_1", "PLAG_5", "Label60", "Frame4",
                         "MOYENNE", "Text7_4", "RAFR_AFF", "VITESSE_VENT", "VITESSE_VENT_MAX"};
} // namespace

class ParameterWindowPanelTest : public QObject
{
    Q_OBJECT

private slots:
    // A read fills every control and runs the live speed twice; a write after
    // editing every field leaves the panel holding exactly the encoding; a
    // fresh window shows the defaults and a read brings every edit back.
    void readEditWriteReadBack()
    {
        open(sampleCard(), QStringLiteral("OUI"), 1);
        click("but_lit_para");
        QCOMPARE(shown(), QList<Shown>{ReadDone});
        QCOMPARE(shownState(window(), Fields),
                 (QStringList{"COULE_1=Plage 1:/#00ff00", "COULE_2=Plage 2:/#00ff00", "COULE_3=Plage 3:/#ffc080",
                              "COULE_4=Plage 4:/#ff0000", "COULE_5=Plage 5:/#ff0000", "HScroll1_1=100", "HScroll1_2=300",
                              "HScroll1_3=500", "HScroll1_4=700", "HScroll1_5=999", "Check2=2/Oui", "HScroll8=500",
                              "HScroll5=450", "Slider_ZEROPULSE=5", "Slider_MOY=4", "HScroll3=7", "Text5=00051615",
                              "Text4=333333", "Dimpulse=0,8333325", "Slider_Nbr_IMPULS=4", "Check1=2/Oui", "HScroll6=250",
                              "HScroll7=150", "DURE_LDR=8", "COMP_LDR=9", "PLAG_1=10 Km/h.", "PLAG_5=99,9 Km/h.",
                              "Label60=25", "Frame4=Contact NF", "MOYENNE=2-Moyenne réalisée sur 16 mesures de vitesse:",
                              "Text7_4=1-Distance parcourue pour 4 impulsions:",
                              "RAFR_AFF= Affichage rafraîchi 1,62 fois par secondes.",
                              "VITESSE_VENT= Vitesse instantanée : 56,7 Km/h.",
                              "VITESSE_VENT_MAX= Maximum enregistré: 123,4 Km/h.", "NB_DIGIT_2", "DECI_ENT_2", "SUPRESS_1",
                              "RAZ_TYPE_2", "AFF_TYPE_2", "Option1_0", "Option3_1", "Option4_0"}));
        rig->restart(ReadFrames + LiveFrames);

        // Green, green, orange, red, red become orange, red, green, green, orange.
        for (const auto &[index, clicks] : {std::pair{1, 1}, {2, 2}, {3, 2}, {4, 1}, {5, 2}})
            for (int k = 0; k < clicks; ++k)
                QTest::mouseClick(control<QLineEdit>(memberName("COULE", index)), Qt::LeftButton);
        const std::map<QString, int> values{
            {"HScroll1_1", 111}, {"HScroll1_2", 222}, {"HScroll1_3", 333}, {"HScroll1_4", 444}, {"HScroll1_5", 5555},
            {"HScroll8", 1234}, {"HScroll5", 1200}, {"Slider_ZEROPULSE", 9}, {"Slider_MOY", 1}, {"HScroll3", 13},
            {"Slider_Nbr_IMPULS", 7}, {"HScroll6", 9999}, {"HScroll7", 0}, {"DURE_LDR", 128}, {"COMP_LDR", 0}};
        for (const auto &[name, value] : values)
            control<QAbstractSlider>(name)->setValue(value);
        control<QCheckBox>("Check1")->click();
        control<QCheckBox>("Check2")->click();
        for (const char *option : {"Option4_1", "Option1_6", "Option3_0", "NB_DIGIT_3", "AFF_TYPE_3", "RAZ_TYPE_3",
                                   "DECI_ENT_1", "SUPRESS_2"})
            control<QRadioButton>(QString::fromLatin1(option))->click();
        control<QLineEdit>("Dimpulse")->setText(QStringLiteral("0.6666"));
        // The card's format, byte by byte: ranges 111 orange, 222 red (8000),
        // 333 and 444 green (4000), 5555 orange; relay 2 off, normally closed,
        // 1234 and 1200; 9 s; marker; 20 % (40); 00 00; 2 measures (02); 13;
        // coefficient 266640 (00041190) least significant first; 7 pulses;
        // relay 1 off, open, 9999 and 0; 4 digits (C0) | reset after 72 h (0C)
        // | integer only (02); 128 s (FF); threshold 0.
        const std::vector<std::uint8_t> block{
            0x00, 0x6F, 0x80, 0xDE, 0x41, 0x4D, 0x41, 0xBC, 0x15, 0xB3, 0x44, 0xD2, 0x04, 0xB0, 0x09, 0x4F, 0x4D, 0x52,
            0x40, 0x00, 0x00, 0x02, 0x0D, 0x90, 0x11, 0x04, 0x00, 0x07, 0x27, 0x0F, 0x00, 0x00, 0xCE, 0xFF, 0x00};
        sim::Memory expected = sampleCard();
        std::copy(block.begin(), block.end(), expected.begin() + 64);

        click("but_ecrit_para");
        QCOMPARE(shown(), QList<Shown>{writtenShown});
        QCOMPARE(control<QLineEdit>("Text5")->text(), QStringLiteral("00041190"));
        const sim::Memory memory = rig->panel.memory();
        for (int k = 0; k < MemoryImage::Size; ++k) {
            QCOMPARE(memory[k], expected[k]);
            QCOMPARE(window().image().state(k), CellState::Green);
        }
        const QStringList log = rig->frames(WriteFrames + 2);
        QCOMPARE(log.size(), WriteFrames + 2);
        QCOMPARE(log.mid(WriteFrames), (QStringList{"31 OOO", "31 RRR"}));
        const std::vector<sim::LoggedFrame> logged = rig->panel.frames();
        // Arrivals are noted by the panel's reader, which a busy machine may
        // delay by a few milliseconds.
        const auto gap = logged.back().arrival - logged[logged.size() - 2].arrival;
        QVERIFY2(gap >= milliseconds(490) && gap < milliseconds(800), qPrintable(QString::number(gap.count())));

        const QStringList edits = shownState(window(), Fields);
        rig->bench.registry.unload(WindowId::Parameters);
        rig->restart(0);
        QCOMPARE(shownState(window(), Fields),
                 (QStringList{"COULE_1=Plage 1:/#00ff00", "COULE_2=Plage 2:/#00ff00", "COULE_3=Plage 3:/#ffc080",
                              "COULE_4=Plage 4:/#ff0000", "COULE_5=Plage 5:/#ff0000", "HScroll1_1=199", "HScroll1_2=399",
                              "HScroll1_3=799", "HScroll1_4=999", "HScroll1_5=0", "Check2=0/Non", "HScroll8=300",
                              "HScroll5=290", "Slider_ZEROPULSE=3", "Slider_MOY=2", "HScroll3=2", "Text5=", "Text4=723378",
                              "Dimpulse=1,11111", "Slider_Nbr_IMPULS=1", "Check1=0/Non", "HScroll6=200", "HScroll7=190",
                              "DURE_LDR=5", "COMP_LDR=5", "PLAG_1=19,9 Km/h.", "PLAG_5=à 0 Km/h", "Label60=20",
                              "Frame4=Contact NO", "MOYENNE=2-Moyenne réalisée sur 4 mesures de vitesse:",
                              "Text7_4=1-Distance parcourue pour 1 impulsion:",
                              "RAFR_AFF=3- Affichage rafraîchi 5,69 fois par secondes.",
                              "VITESSE_VENT= Vitesse instantanée :", "VITESSE_VENT_MAX= Maximum enregistré:",
                              "NB_DIGIT_2", "DECI_ENT_2", "SUPRESS_1", "RAZ_TYPE_0", "AFF_TYPE_0", "Option1_1",
                              "Option3_0", "Option4_0"}));
        click("but_lit_para");
        QCOMPARE(shown(), QList<Shown>{ReadDone});
        QCOMPARE(shownState(window(), Fields), edits);
    }

    void outOfRange_data()
    {
        QTest::addColumn<QString>("answerCheck");
        QTest::addColumn<QList<Shown>>("shown");
        QTest::newRow("reported") << "OUI"
                                  << QList<Shown>{ReadDone,
                                                  {Icon::Exclamation,
                                                   "Valeurs hors limites ramenées dans la plage : Plage 1 : 16383 → "
                                                   "9999, Durée sans impulsion : 0 → 1, Nombre d'impulsions : 9 → 8, "
                                                   "Commutation JOUR/NUIT : 31 → 15."}};
        QTest::newRow("silenced") << "NON" << QList<Shown>{};
    }
    // A card with values its controls cannot show: each is held to its range
    // and, unless answers go unchecked, named.
    void outOfRange()
    {
        QFETCH(QString, answerCheck);
        open(sampleCard({{64, 0x3F}, {65, 0xFF}, {78, 0x00}, {91, 0x09}, {98, 0x1F}}), answerCheck);
        click("but_lit_para");
        QTEST(shown(), "shown");
        QCOMPARE(shownState(window(), {"HScroll1_1", "Slider_ZEROPULSE", "Slider_Nbr_IMPULS", "COMP_LDR"}).mid(0, 4),
                 (QStringList{"HScroll1_1=9999", "Slider_ZEROPULSE=1", "Slider_Nbr_IMPULS=8", "COMP_LDR=15"}));
    }

    // A blank card, the raw grid's fills and its write of edited cells, and
    // writes refused before sending.
    void blankCardRawGridAndRefusals()
    {
        const sim::Memory blank = sim::PanelState::blank().memory;
        open(blank);
        click("but_lit_para");
        QCOMPARE(shown(), (QList<Shown>{{Icon::Exclamation, "Paramètre vièrge. Veuillez envoyer une premères fois les "
                                                            "paramètres."},
                                        ReadDone}));
        for (int i = 1; i <= 5; ++i) {
            QCOMPARE(control<QScrollBar>(memberName("HScroll1", i))->value(), 1);
            QCOMPARE(boxColour(control<QLineEdit>(memberName("COULE", i))), EditorColour::Orange);
        }
        QCOMPARE(shownState(window(), {}), (QStringList{"Option3_0", "Option4_0"}));
        QCOMPARE(rig->frames(ReadFrames).mid(ReadFrames - 2), (QStringList{"31 X6X", "31 RRR"})); // no live speed
        rig->restart(ReadFrames);

        for (const QString &fill : {QStringLiteral("55"), QString()}) {
            control<QLineEdit>("Text1_128")->setText(fill);
            click("but_edit");
            for (int k = 0; k < MemoryImage::Size; ++k) {
                QCOMPARE(control<QLineEdit>(memberName("Text1", k))->text(), fill);
                QCOMPARE(window().image().state(k), CellState::White);
            }
        }
        click("but_lin");
        QLineEdit *cell = control<QLineEdit>("Text1_70");
        cell->selectAll();
        QTest::keyClicks(cell, QStringLiteral("ab"));
        click("but_WR");
        sim::Memory expected = blank;
        for (int k = 64; k < MemoryImage::Size; ++k)
            expected[k] = std::uint8_t(k == 70 ? 0xAB : k);
        QVERIFY(rig->panel.memory() == expected);
        QVERIFY(shown().isEmpty());
        rig->restart(WriteFrames);

        for (const char *distance : {"abc", "99999999"}) {
            control<QLineEdit>("Dimpulse")->setText(QString::fromLatin1(distance));
            click("but_ecrit_para");
        }
        QCOMPARE(shown(),
                 (QList<Shown>{
                     {Icon::Exclamation, "Distance par impulsion invalide : entrez un nombre positif (ex : 1,1111)."},
                     {Icon::Exclamation, "Coefficient hors limites : la distance par impulsion et la constante "
                                         "doivent donner un coefficient entre 1 et 2147483647."}}));
        QVERIFY(!rig->panel.waitForFrames(1, milliseconds(300)));
        QCOMPARE(window().image().text(83), QStringLiteral("53")); // the raw pattern, not the encoded "00"
    }

private:
    // Only the first test measures a pause; the others run the fast clock.
    void open(const sim::Memory &memory, const QString &answerCheck = QStringLiteral("OUI"), double timeScale = FastClock)
    {
        rig = std::make_unique<WindowRig<dump_24c01>>(WindowId::Parameters, answerCheck, timeScale);
        rig->panel.setMemory(memory);
    }
    dump_24c01 &window() { return rig->bench.registry.window<dump_24c01>(WindowId::Parameters); }
    template<class T> T *control(const QString &name) { return window().findChild<T *>(name); }
    void click(const char *button) { control<QPushButton>(QString::fromLatin1(button))->click(); }
    QList<Shown> &shown() { return rig->bench.messages.shown; }

    std::unique_ptr<WindowRig<dump_24c01>> rig;
};

QTEST_MAIN(ParameterWindowPanelTest)
#include "tst_parameter_window_panel.moc"
