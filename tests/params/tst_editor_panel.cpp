#include "panel/memory_grid.h"
#include "params/editor_settings.h"
#include "params/parameter_window.h"
#include "records/parameter_file.h"
#include "records/record_commands.h"
#include "support/window_rig.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>

using namespace std::chrono;

namespace {
const Shown ReadDone = readDoneShown;
constexpr int ReadFrames = 1 + 4 + 64 + 2;
constexpr int LiveFrames = 2 * 4; // the live speed, twice
constexpr int WriteFrames = 5 + 4 * 20;

// The documented sample with `changes`.
sim::Memory card(std::initializer_list<std::pair<int, int>> changes)
{
    sim::Memory memory = sim::PanelState::programmed().memory;
    for (const auto &[address, value] : changes)
        memory[address] = std::uint8_t(value);
    return memory;
}

// The sample with the fields that match the editor's defaults changed, so
// that a read has to move every control.
sim::Memory sampleCard(std::initializer_list<std::pair<int, int>> changes = {})
{
    sim::Memory memory = card({{85, 0x10}, {86, 0x07}, {87, 0x15}, {88, 0x16}, {89, 0x05}, {90, 0x00}, {93, 0xFA},
                               {97, 0x0F}, {98, 0x09}});
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

// A parameter block the editor could have written, built from the card's
// format field by field (every control at any value of its range), with any
// bytes of the card's own past it.
sim::Memory writableCard(QRandomGenerator &random)
{
    const auto pick = [&random](std::initializer_list<int> values) {
        return *(values.begin() + random.bounded(int(values.size())));
    };
    // The ends of a range one time in four: that is where values go astray.
    const auto between = [&random](int low, int high) {
        const int draw = int(random.bounded(8));
        return draw == 0 ? low : draw == 1 ? high : int(random.bounded(low, high + 1));
    };
    sim::Memory m{};
    const auto word = [&m](int address, int value) {
        m[address] = std::uint8_t(value >> 8);
        m[address + 1] = std::uint8_t(value);
    };
    for (int i = 0; i < 5; ++i) // four limits from 1, the programmed maximum from 0
        word(64 + 2 * i, pick({0, 0x4000, 0x8000}) | between(i < 4 ? 1 : 0, 9999));
    for (int relay : {74, 92}) {
        word(relay, pick({0, 0x4000, 0x8000, 0xC000}) | between(0, 9999));
        word(relay + 2, between(0, 9999));
    }
    m[78] = std::uint8_t(between(1, 10));
    m[79] = 0x4F;
    m[80] = 0x4D;
    m[81] = 0x52;
    m[82] = std::uint8_t(pick({0x03, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x00, 0x80})); // the last two: no choice
    m[85] = std::uint8_t(pick({0x01, 0x02, 0x04, 0x08, 0x10}));
    m[86] = std::uint8_t(between(1, 20));
    const quint32 coefficient = random.bounded(1u, 2147483647u) + (random.bounded(2) ? 0u : 1u);
    for (int k = 0; k < 4; ++k)
        m[87 + k] = std::uint8_t(coefficient >> (8 * k));
    m[91] = std::uint8_t(between(1, 8));
    m[96] = std::uint8_t(pick({0x80, 0x40, 0xC0, 0x00}) | pick({0x20, 0x10, 0x30, 0x00})
                         | pick({0x00, 0x08, 0x04, 0x0C}) | between(0, 3));
    m[97] = std::uint8_t(2 * between(1, 128) - 1);
    m[98] = std::uint8_t(between(0, 15));
    for (int k = 99; k < sim::MemorySize; ++k)
        m[k] = std::uint8_t(between(0, 255));
    return m;
}

const Shown ReadFirst{Icon::Information,
                      QStringLiteral("Lisez d'abord les paramètres du panneau (« Lire les paramètres ») : la fiche "
                                     "décrit un panneau lu ou programmé.")};
constexpr int ReadAndLiveFrames = ReadFrames + LiveFrames;

// Panel A: the documented sample with the coefficient of the default
// distance per pulse (444444 = 0x06C81C), so its test table is the known one.
sim::Memory panelA()
{
    return card({{87, 0x1C}, {88, 0xC8}, {89, 0x06}, {90, 0x00}});
}

// Panel B: another card, every field and its own bytes 99-127 different.
sim::Memory panelB()
{
    sim::Memory m = card({{64, 0x00}, {65, 0x20}, {74, 0x01}, {75, 0x2C}, {78, 0x02}, {82, 0x10}, {85, 0x01},
                          {86, 0x05}, {87, 0x00}, {88, 0x10}, {89, 0x00}, {90, 0x00}, {91, 0x01}, {92, 0x00},
                          {93, 0x10}, {96, 0xAB}, {97, 0x01}, {98, 0x0F}});
    for (int k = 99; k < 128; ++k)
        m[k] = std::uint8_t(0xA0 + k - 99);
    return m;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}
} // namespace

// The editor on a panel: its flows, the write-back guarantee, its records.
class EditorPanelTest : public QObject
{
    Q_OBJECT

private slots:
    // A read fills every control and runs the live speed twice; a write after
    // editing every field leaves the panel holding exactly the encoding; a
    // fresh window, which does not show the edits, gets them all back by a read.
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
        rig->registry.unload(WindowId::Parameters);
        rig->restart(0);
        QVERIFY(shownState(window(), Fields) != edits);
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

    // Read, then write with no edit: every byte of the block goes back as the
    // card held it, the coefficient included (recalculating it from the
    // distance shown would add 1 to about half of them).
    void readThenWriteChangesNoByte()
    {
        Workbench bench;
        dump_24c01 &w = bench.registry.window<dump_24c01>(WindowId::Parameters);
        QLineEdit *text4 = w.findChild<QLineEdit *>(QStringLiteral("Text4"));
        QRandomGenerator random(20261206);
        constexpr int Cases = 3000;
        QElapsedTimer clock;
        clock.start();
        for (int n = 0; n < Cases; ++n) {
            const sim::Memory card = writableCard(random);
            for (int k = 64; k < sim::MemorySize; ++k)
                w.image().set(k, wire::hex(card[k]), CellState::Green);
            w.showImage();
            QVERIFY(w.prepareCoefficient());
            const std::optional<quint32> coefficient = coefficientFromText(text4->text());
            QVERIFY(coefficient);
            w.encodeIntoImage(*coefficient);
            for (int k = 64; k < sim::MemorySize; ++k) {
                if (w.image().value(k) != card[k] || !holdsValidByte(w.image().text(k)))
                    QFAIL(qPrintable(QStringLiteral("case %1: byte %2 was %3, written %4")
                                         .arg(n)
                                         .arg(k)
                                         .arg(wire::hex(card[k]), w.image().text(k))));
            }
        }
        qInfo("%d cases in %lld ms", Cases, clock.elapsed());
        QVERIFY(bench.messages.shown.isEmpty());
    }

    // The same on a panel at 4800 baud, all 128 bytes compared; the live
    // speed read after the parameters counts from its first reading on (the
    // second is silenced here to tell).
    void onTheLine()
    {
        constexpr quint32 coefficient = 1000000;
        WindowRig<dump_24c01> rig(WindowId::Parameters, QStringLiteral("OUI"));
        QRandomGenerator random(coefficient);
        sim::Memory card = writableCard(random);
        for (int k = 0; k < 64; ++k)
            card[k] = std::uint8_t(3 * k + 1);
        for (int k = 0; k < 4; ++k)
            card[87 + k] = std::uint8_t(coefficient >> (8 * k));
        rig.panel.setMemory(card);
        rig.panel.setLineRate(true);
        rig.panel.setSpeeds(1234, 567);
        QTimer silencer;
        silencer.callOnTimeout([&] {
            if (rig.panel.frames().size() >= ReadFrames + 4) {
                rig.panel.setFault(sim::Fault::Silent);
                silencer.stop();
            }
        });
        silencer.start(1);

        rig.click("but_lit_para");
        QCOMPARE(rig.text("VITESSE_VENT"),
                 QStringLiteral(" Vitesse instantanée : 56,7 Km/h."));
        QCOMPARE(rig.text("Text4"), QString::number(coefficient));
        const QList<Shown> read{readDoneShown};
        QCOMPARE(rig.messages.shown, read);
        rig.restart(ReadFrames + 8);
        rig.panel.setFault(sim::Fault::None);
        rig.click("but_ecrit_para");
        const QList<Shown> written{writtenShown};
        QCOMPARE(rig.messages.shown, written);
        QCOMPARE(rig.frames(5 + 80 + 2).size(), 5 + 80 + 2);
        QVERIFY(rig.panel.memory() == card);
    }

    // At the line's rate: the sheet of panel A, its settings saved, then
    // loaded onto panel B and programmed: B's parameter block is A's and B
    // keeps its own bytes 99-127.
    void sheetAndSeries()
    {
        QTemporaryDir dir;
        WindowRig<dump_24c01> rig(WindowId::Parameters, QStringLiteral("OUI"));
        rig.panel.setLineRate(true);
        rig.panel.setMemory(panelA());
        QList<Shown> &shown = rig.messages.shown;
        rig.trigger("MENU_FICHE");
        QCOMPARE(shown, QList<Shown>{ReadFirst});
        QVERIFY(rig.files.requests.isEmpty());
        rig.restart(0);

        rig.click("but_lit_para");
        QCOMPARE(shown, QList<Shown>{ReadDone});
        rig.restart(ReadAndLiveFrames);

        const QString sheet = dir.filePath(QStringLiteral("fiche.pdf"));
        rig.files.next(sheet);
        printCommissioningSheet(rig.registry, QDateTime(QDate(2024, 3, 5), QTime(14, 5)));
        QCOMPARE(rig.files.requests.last().proposedName, QStringLiteral("fiche_COM3_2024-03-05_14-05.pdf"));
        QVERIFY(shown.isEmpty());
        const QString info = run(QStringLiteral("pdfinfo"), {sheet});
        QVERIFY2(info.contains(QRegularExpression("Pages: +[12]\n")) && info.contains("(A4)"), qPrintable(info));
        // Blanks made one, so that a row reads whatever the layout's widths.
        const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), sheet, "-"}).simplified();
        for (const char *expected : {
                 "Date : 05/03/2024 Heure : 14:05 Port : COM3",
                 "Nombre de digits d'affichage: 3.", "Affichage : Une décimale si possible.",
                 "Suppression des zéros de têtes: OUI.", "Remise à zéro du maximum : 36H sans dépassement.",
                 "Mode d'affichage: Instantané et Maximum.", "1-Distance parcourue pour 4 impulsions: 1,11111 m",
                 "Coefficient de vitesse (Étalonnage usine.) 444444", "Constante d'étalonnage (Étalonnage usine.) 400000",
                 "2-Moyenne réalisée sur 4 mesures de vitesse:", "3- Durée sans impulsion pour le 0Km/h: 5 Secondes.",
                 "Affichage rafraîchi 5,69 fois par secondes.", "Plage 1: de 0 à 10 Km/h : vert",
                 "Plage 2: de 10 à 30 Km/h : vert", "Plage 3: de 30 à 50 Km/h : orange",
                 "Plage 4: de 50 à 70 Km/h : rouge", "Plage 5: de 70 à 999,9 Km/h : rouge",
                 "Programmer un Maximum : 99,9 Km/h", "Luminosité Capteur LDR", "Fréquence de Commutation 5 secondes",
                 "Commutation JOUR/NUIT 4 (0=Jour. 15=Nuit)", "Relais 1: Oui",
                 "Relais 1 : contact Contact NF (Normalement FERMÉ.)", "Relais 1 : Seuil d'ACTIVATION. 20 Km/h",
                 "Relais 1 : Seuil de DESACTIVATION. 15 Km/h", "Relais 2: Oui",
                 "Relais 2 : contact Contact NO (Normalement OUVERT.)", "Relais 2 : Seuil d'ACTIVATION. 50 Km/h",
                 "Relais 2 : Seuil de DESACTIVATION. 45 Km/h", "Vitesse instantanée : 56,7 Km/h.",
                 "Maximum enregistré: 123,4 Km/h.",
                 "2 0,5556 0,5000 2,0000", "200 55,5556 50,0001 0,0200",
                 "40h 40 64 41 2C 01 F4 82 BC 83 E7 81 F4 01 C2 05 4F",
                 "50h 4D 52 03 00 00 04 02 1C C8 06 00 04 C0 C8 00 96",
                 "60h 75 09 04 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F",
                 "70h 70 71 72 73 74 75 76 77 78 79 7A 7B 7C 7D 7E 7F"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);

        rig.files.next(dir.filePath(QStringLiteral("serie")));
        rig.trigger("MENU_ENREGISTRER_PARAMETRES");
        QFile file(dir.filePath(QStringLiteral("serie.kvlpar")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QVERIFY(saved.startsWith("KVL_PWS paramètres 1\n"));
        QVERIFY(saved.contains("\nHScroll1_2 = 30\n") && saved.contains("\nCOULE_3 = orange\n"));

        rig.panel.setMemory(panelB());
        rig.click("but_lit_para");
        QCOMPARE(shown, QList<Shown>{ReadDone});
        QCOMPARE(rig.find<QScrollBar>("HScroll1_1").value(), 32);
        rig.restart(ReadAndLiveFrames);

        rig.files.next(dir.filePath(QStringLiteral("serie.kvlpar")));
        rig.trigger("MENU_CHARGER_PARAMETRES");
        QVERIFY(shown.isEmpty());
        QCOMPARE(rig.find<QScrollBar>("HScroll1_1").value(), 100);
        QVERIFY(!rig.panel.waitForFrames(1, milliseconds(300))); // loading sends nothing

        rig.click("but_ecrit_para");
        QCOMPARE(shown, QList<Shown>{writtenShown});
        const sim::Memory a = panelA(), b = panelB(), written = rig.panel.memory();
        for (int k = 0; k < 128; ++k)
            QVERIFY2(written[k] == (k >= 64 && k <= 98 ? a : b)[k], qPrintable(QString::number(k)));
    }

    // Without a panel: the file errors, a file that is not one, remarks on
    // loading.
    void filesWithoutPanel()
    {
        QTemporaryDir dir;
        Workbench bench;
        QList<Shown> &shown = bench.messages.shown;
        const QString unwritable = dir.filePath(QStringLiteral("absent/p.kvlpar"));
        bench.files.answers << unwritable;
        bench.messages.retryAnswers << Messages::Answer::Retry;
        saveParameterFile(bench.registry);
        const Shown createFailed{Icon::None, "Erreur lors de la création de " + unwritable + ". Essayer à nouveau"};
        QCOMPARE(shown, (QList<Shown>{createFailed, createFailed}));
        shown.clear();

        auto &editor = bench.registry.window<dump_24c01>(WindowId::Parameters);
        const auto load = [&](const QString &name, const QByteArray &bytes) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
            bench.files.answers << file.fileName();
            loadParameterFile(bench.registry);
        };
        QByteArray file = parameterFileText(EditorSettings{});
        load("image.kvlpar", "\x89PNG\r\n\x1a\n" + file);
        QCOMPARE(shown, (QList<Shown>{{Icon::None, dir.filePath("image.kvlpar") + " n'est pas un fichier de paramètres."}}));
        shown.clear();

        file.replace("HScroll1_1 = 19,9", "HScroll1_1 = 1200").replace("COULE_1 = vert", "COULE_1 = bleu");
        load("remarques.kvlpar", file + "Text1_100 = 00\n");
        QCOMPARE(shown, (QList<Shown>{{Icon::Exclamation, "Valeurs hors limites ramenées dans la plage : Plage 1 : "
                                                           "1200 → 999,9."},
                                      {Icon::Exclamation, "Valeurs illisibles, réglages laissés tels quels : COULE_1 = "
                                                           "bleu."},
                                      {Icon::Information, "Réglages inconnus ignorés : Text1_100."}}));
        QCOMPARE(editor.findChild<QScrollBar *>("HScroll1_1")->value(), 9999);
    }

private:
    // Only the first test measures a pause; the others run the fast clock.
    void open(const sim::Memory &memory, const QString &answerCheck = QStringLiteral("OUI"), double timeScale = FastClock)
    {
        rig = std::make_unique<WindowRig<dump_24c01>>(WindowId::Parameters, answerCheck, timeScale);
        rig->panel.setMemory(memory);
    }
    dump_24c01 &window() { return rig->registry.window<dump_24c01>(WindowId::Parameters); }
    template<class T> T *control(const QString &name) { return &rig->find<T>(name); }
    void click(const char *button) { rig->click(button); }
    QList<Shown> &shown() { return rig->messages.shown; }

    std::unique_ptr<WindowRig<dump_24c01>> rig;
};

QTEST_MAIN(EditorPanelTest)
#include "tst_editor_panel.moc"
