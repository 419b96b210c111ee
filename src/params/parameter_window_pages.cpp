#include "params/parameter_window.h"

#include "params/number_text.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

namespace {

constexpr int OptionHeight = 255;
constexpr int OptionPitch = 270;

struct OptionText
{
    int index;
    const char *caption;
    const char *tip;
};

// The buttons of one group, one under the other (or side by side), in the
// order given.
void addOptions(QGroupBox *frame, const char *array, OptionGroup &group, std::initializer_list<OptionText> options,
                bool sideBySide = false)
{
    const int width = frame->width() * 15 - 120;
    const int count = int(options.size());
    int k = 0;
    for (const OptionText &o : options) {
        const TwipsRect at = sideBySide ? TwipsRect{60 + k * (width / count), 270, width / count, OptionHeight}
                                        : TwipsRect{60, 270 + k * OptionPitch, width, OptionHeight};
        QRadioButton *button = makeOption(frame, memberName(array, o.index), QString::fromUtf8(o.caption), at);
        if (o.tip)
            button->setToolTip(QString::fromUtf8(o.tip));
        group.add(o.index, button);
        ++k;
    }
}

const QString SliderTip = QStringLiteral("Utiliser la glissière horizontale pour le réglage..");
const QString ColourTip = QStringLiteral("Un clic pour changer de couleur.");

} // namespace

void dump_24c01::buildDisplayPage(QWidget *page)
{
    QGroupBox *frame = makeFrame(page, "Frame1", QStringLiteral("Nombre de digits d'affichage:"), {60, 240, 2640, 600});
    addOptions(frame, "NB_DIGIT", NB_DIGIT, {{1, "2.", nullptr}, {2, "3.", nullptr}, {3, "4.", nullptr}}, true);
    NB_DIGIT.select(2);

    frame = makeFrame(page, "Frame2", QStringLiteral("Affichage :"), {60, 960, 2640, 870});
    frame->setToolTip(QStringLiteral("Affichage en entier ou avec décimal si possible."));
    addOptions(frame, "DECI_ENT", DECI_ENT,
               {{2, "Une décimale si possible.", "On peut affiché 0.1 à 9.9 puis en entier 10.."},
                {1, "Seulement en entier.", "Seul la partie entière est affichée."}});
    DECI_ENT.select(2);

    frame = makeFrame(page, "Frame3", QStringLiteral("Suppression des zéros de têtes:"), {60, 1950, 2640, 600});
    frame->setToolTip(QStringLiteral("Suppression des zéros de têtes."));
    addOptions(frame, "SUPRESS", SUPRESS, {{1, "OUI.", nullptr}, {2, "NON.", nullptr}}, true);
    SUPRESS.select(1);

    frame = makeFrame(page, "Frame10", QStringLiteral("Remise à zéro du maximum :"), {2760, 240, 2775, 1410});
    frame->setToolTip(QStringLiteral("Mode de Remise à zéro du maximum."));
    addOptions(frame, "RAZ_TYPE", RAZ_TYPE,
               {{0, "RAZ par entrée OPTO ", "Par fermeture de l'entrée OPTO."},
                {1, "1H sans dépassement.", "1H sans dépassement provoque le RAZ automatique."},
                {2, "36H sans dépassement.", "36H sans dépassement provoque le RAZ automatique."},
                {3, "72H sans dépassement.", "72H sans dépassement provoque le RAZ automatique."}});
    RAZ_TYPE.select(0);

    frame = makeFrame(page, "Frame11", QStringLiteral("Mode d'affichage:"), {2760, 1740, 2775, 1410});
    frame->setToolTip(QStringLiteral("Type d'affichage."));
    addOptions(
        frame, "AFF_TYPE", AFF_TYPE,
        {{0, "Instantané.", "Affiche seulement l'instantané."},
         {1, "Maximum.", "Affiche seulement la Maximum."},
         {2, "Instantané et Maximum.", "Par alternance."},
         {3, "Sélection par entrée OPTO", "Affiche l'instantané et le maximum suivant l'état de l'entrée OPTO."}});
    AFF_TYPE.select(0);
}

void dump_24c01::buildCalibrationPage(QWidget *page)
{
    Frame8 = makeFrame(page, "Frame8", QStringLiteral("Étalonnage usine."), {120, 240, 5355, 645});
    onClick(Frame8, [this] { Frame8_Click(); });
    Text4 = makeTextBox(Frame8, QStringLiteral("Text4"), QStringLiteral("723378"), {120, 270, 2520, 285}, false);
    Text4->setEnabled(false);
    etalon = makeTextBox(Frame8, QStringLiteral("etalon"), QStringLiteral("400000"), {2760, 270, 2475, 285}, false);
    etalon->setEnabled(false);

    Text7[4] = makeTextBox(page, memberName("Text7", 4), QStringLiteral("1-Distance parcourue pour 1 impulsion:"),
                           {120, 1020, 3840, 285});
    Text7[4]->setToolTip(QStringLiteral(
        "Utiliser la glissière horizontale pour définir le nombre d'impulsion et entrer dans le cadre sur fond vert "
        "la distance parcourue en mètre(ex: 0.58 ou 0,721)"));
    Dimpulse = makeTextBox(page, QStringLiteral("Dimpulse"), QStringLiteral("1,11111"), {4080, 1020, 1395, 285}, false);
    setBoxColour(Dimpulse, EditorColour::LightGreen);
    Dimpulse->setToolTip(QStringLiteral(
        "Entrer dans le cadre sur fond vert la distance parcourue en mètre pour x impulsion (ex: 1.1111 VORTEX "
        "1Hz=4Km/h ou 0,6666 1Hz=2,4Km/h)."));
    Slider_Nbr_IMPULS = makeSlider(page, "Slider_Nbr_IMPULS", 1, 8, 1, {120, 1335, 5355, 330});
    Slider_Nbr_IMPULS->setToolTip(QStringLiteral("Nombre d'impulsion utilisée pour le calcul instantané:"));
    connect(Slider_Nbr_IMPULS, &QSlider::valueChanged, this, &dump_24c01::Slider_Nbr_IMPULS_Change);

    MOYENNE = makeTextBox(page, QStringLiteral("MOYENNE"),
                          QStringLiteral("2-Moyenne réalisée sur 4 mesures de vitesse:"), {120, 1770, 5355, 285});
    MOYENNE->setToolTip(SliderTip);
    Slider_MOY = makeSlider(page, "Slider_MOY", 0, 4, 2, {120, 2085, 5355, 330});
    Slider_MOY->setToolTip(QStringLiteral("Nombre de mesure utilisé pour réaliser la moyenne."));
    connect(Slider_MOY, &QSlider::valueChanged, this, &dump_24c01::Slider_MOY_Change);

    Text8 = makeTextBox(page, QStringLiteral("Text8"),
                        QStringLiteral("3- Durée sans impulsion pour le 0Km/h: 3 Secondes."), {120, 2520, 5355, 285});
    Text8->setToolTip(SliderTip);
    Slider_ZEROPULSE = makeSlider(page, "Slider_ZEROPULSE", 1, 10, 3, {120, 2835, 5355, 330});
    Slider_ZEROPULSE->setToolTip(
        QStringLiteral("Utiliser la glissière horizontale pour la durée sans impulsion pour le 0Km/h"));
    connect(Slider_ZEROPULSE, &QSlider::valueChanged, this, &dump_24c01::Slider_ZEROPULSE_Change);
}

void dump_24c01::buildColourPage(QWidget *page)
{
    QGroupBox *ranges = makeFrame(page, "Frame6", QStringLiteral("Plages de couleurs :"), {120, 240, 5355, 1905});
    PLAG[0] = makeLabel(ranges, memberName("PLAG", 0), QStringLiteral("De 0 Km/h"), {1080, 225, 1500, 240});
    static const QColor *const defaults[] = {&EditorColour::Green, &EditorColour::Green, &EditorColour::Orange,
                                             &EditorColour::Red, &EditorColour::Red};
    static constexpr int limits[] = {199, 399, 799, 999};
    for (int i = 1; i <= 5; ++i) {
        const int top = 480 + 270 * (i - 1);
        COULE[i] = makeTextBox(ranges, memberName("COULE", i), QStringLiteral("Plage %1:").arg(i), {120, top, 900, 255},
                               false);
        if (i == 5)
            break;
        HScroll1[i] = makeScrollBar(ranges, memberName("HScroll1", i), 1, 9999, limits[i - 1], {1080, top, 2760, 255});
        PLAG[i] = makeLabel(ranges, memberName("PLAG", i), QString(), {3900, top, 1395, 255});
        if (i >= 2)
            PLAG[i]->setToolTip(
                QStringLiteral("Ajuster la glissière horizontale pour déterminer la fin et le début d'une plage."));
    }
    PLAG[8] = makeLabel(ranges, memberName("PLAG", 8), QStringLiteral("à 999,9 Km/h"), {3900, 1560, 1395, 255});
    for (int i = 1; i <= 5; ++i) {
        setBoxColour(COULE[i], *defaults[i - 1]);
        COULE[i]->setToolTip(ColourTip);
    }

    QGroupBox *light = makeFrame(page, "Luminosité", QStringLiteral("Luminosité"), {120, 2220, 5355, 1395});
    QLineEdit *caption =
        makeTextBox(light, memberName("Text10", 1), QStringLiteral("Fréquence de Commutation"), {120, 240, 2640, 255});
    caption->setToolTip(QStringLiteral("Fréquence de Commutation sur les 4 mesures de luminosité précédentes."));
    DURE_LDR = makeSlider(light, "DURE_LDR", 1, 128, 5, {120, 510, 2640, 300});
    DURE_LDR->setToolTip(QStringLiteral("de 1 à 128 secondes (5sec par défaut)"));
    caption =
        makeTextBox(light, QStringLiteral("Text6"), QStringLiteral("Commutation JOUR/NUIT"), {120, 840, 2640, 255});
    caption->setToolTip(QStringLiteral("Seuil de commutation jour/nuit avec 0=Jour. 15=Nuit(4 par défaut)"));
    COMP_LDR = makeSlider(light, "COMP_LDR", 0, 15, 5, {120, 1095, 2640, 270});
    COMP_LDR->setToolTip(QStringLiteral("0=Jour. 15=Nuit(4 par défaut)"));

    static const char *const levels[] = {"Capteur LDR", "100%", "80%", "60%", "50%", "40%", "20%"};
    for (int i = 0; i <= 6; ++i) {
        const TwipsRect at = i == 0
            ? TwipsRect{2880, 240, 2400, OptionHeight}
            : TwipsRect{2880 + 1200 * ((i - 1) / 3), 510 + OptionPitch * ((i - 1) % 3), 1140, OptionHeight};
        QRadioButton *button = makeOption(light, memberName("Option1", i), QString::fromUtf8(levels[i]), at);
        if (i > 0)
            button->setToolTip(QStringLiteral("Luminosié."));
        Option1.add(i, button);
    }
    Option1.select(1);
}

void dump_24c01::buildRelayPage(QWidget *page)
{
    buildRelayGroup(page, 240, 1, {Check1, Frame4, Option3, HScroll6, Label60, HScroll7, Label70});
    buildRelayGroup(page, 1860, 2, {Check2, Frame5, Option4, HScroll8, Label27, HScroll5, Label21});
    connect(Check1, &QCheckBox::stateChanged, this, &dump_24c01::Check1_Click);
    connect(Check2, &QCheckBox::stateChanged, this, &dump_24c01::Check2_Click);
    for (int i = 0; i < 2; ++i) {
        connect(Option3.button(i), &QRadioButton::toggled, this, &dump_24c01::Option3_Click);
        connect(Option4.button(i), &QRadioButton::toggled, this, &dump_24c01::Option4_Click);
    }
    connect(HScroll5, &QScrollBar::valueChanged, this, &dump_24c01::HScroll5_Change);
    connect(HScroll6, &QScrollBar::valueChanged, this, &dump_24c01::HScroll6_Change);
    connect(HScroll7, &QScrollBar::valueChanged, this, &dump_24c01::HScroll7_Change);
    connect(HScroll8, &QScrollBar::valueChanged, this, &dump_24c01::HScroll8_Change);
}

// Relay 1: intitu(2), Check1, Frame4, Option3, HScroll6 / HScroll7; relay 2:
// intitu(0), Check2, Frame5, Option4, HScroll8 / HScroll5.
void dump_24c01::buildRelayGroup(QWidget *page, int top, int relay, const RelayControls &c)
{
    const QString relayTip = QStringLiteral("Active ou Désactive la fonction.");
    QLineEdit *title = makeTextBox(page, memberName("intitu", relay == 1 ? 2 : 0),
                                   QStringLiteral("Relais %1:").arg(relay), {120, top, 1440, 285});
    title->setToolTip(relayTip);
    const QByteArray checkName = QStringLiteral("Check%1").arg(relay).toLatin1();
    c.check = makeCheckBox(page, checkName.constData(), QStringLiteral("Non"), {1680, top, 1200, 285});
    c.check->setToolTip(relayTip);

    const char *frameName = relay == 1 ? "Frame4" : "Frame5";
    c.frame = makeFrame(page, frameName, QStringLiteral("Contact NO"), {120, top + 360, 5355, 1155});
    c.frame->setToolTip(QStringLiteral("Caractéristique de commutation."));
    c.frame->hide();
    const char *optionName = relay == 1 ? "Option3" : "Option4";
    static const char *const contactTips[] = {"Normalement OUVERT.", "Normalement FERMÉ."};
    for (int i = 0; i < 2; ++i) {
        QRadioButton *button =
            makeOption(c.frame, memberName(optionName, i), QString(), {120, 360 + 360 * i, 255, 255});
        button->setToolTip(QString::fromUtf8(contactTips[i]));
        c.contact.add(i, button);
    }
    c.contact.select(0);

    const int on = relay == 1 ? 200 : 300;
    const auto threshold = [&c](const char *label, const char *bar, int left, int value, const QString &tip,
                                QScrollBar *&scroll, QLabel *&caption) {
        caption = makeLabel(c.frame, QString::fromLatin1(label), tenthsText(value), {left, 300, 1095, 255});
        caption->setToolTip(tip);
        scroll = makeScrollBar(c.frame, QString::fromLatin1(bar), 0, 9999, value, {left, 600, 1095, 255});
    };
    threshold(relay == 1 ? "Label60" : "Label27", relay == 1 ? "HScroll6" : "HScroll8", 1200, on,
              QStringLiteral("Utiliser la glissière horizontale pour le réglage en Km/h. Seuil d'ACTIVATION."),
              c.activation, c.activationLabel);
    threshold(relay == 1 ? "Label70" : "Label21", relay == 1 ? "HScroll7" : "HScroll5", 2400, on - 10,
              QStringLiteral("Utiliser la glissière horizontale pour le réglage en Km/h. Seuil de DESACTIVATION."),
              c.deactivation, c.deactivationLabel);
}

void dump_24c01::buildSpeedPage(QWidget *page)
{
    QGroupBox *frame = makeFrame(page, "Frame7", QString(), {120, 240, 5355, 1155});
    COULE[6] = makeTextBox(frame, memberName("COULE", 6), QStringLiteral("  Programmer un Maximum :"),
                           {120, 300, 2880, 285}, false);
    setBoxColour(COULE[6], EditorColour::Blue);
    PLAG[5] = makeLabel(frame, memberName("PLAG", 5), QStringLiteral("à 0 Km/h"), {3120, 300, 2115, 285});
    HScroll1[5] = makeScrollBar(frame, memberName("HScroll1", 5), 0, 9999, 0, {120, 720, 5115, 255});

    QFont large = font();
    large.setPointSize(11);
    large.setBold(true);
    VITESSE_VENT = makeTextBox(page, QStringLiteral("VITESSE_VENT"), QStringLiteral(" Vitesse instantanée :"),
                               {120, 1560, 5355, 525});
    VITESSE_VENT_MAX = makeTextBox(page, QStringLiteral("VITESSE_VENT_MAX"), QStringLiteral(" Maximum enregistré:"),
                                   {120, 2220, 5355, 525});
    for (QLineEdit *box : {VITESSE_VENT, VITESSE_VENT_MAX}) {
        box->setFont(large);
        setBoxColour(box, EditorColour::Blue);
    }

    COULE[6]->setToolTip(ColourTip);
    VITESSE_VENT->setToolTip(ColourTip);
    VITESSE_VENT_MAX->setToolTip(ColourTip);
}
