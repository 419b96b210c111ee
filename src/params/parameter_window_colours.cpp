#include "params/parameter_window.h"

#include "params/number_text.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

// Page 2, "Plage couleur et luminosité".

namespace {

constexpr int OptionHeight = 255;
constexpr int OptionPitch = 270;
const QString ColourTip = QStringLiteral("Un clic pour changer de couleur.");

QColor colourOf(RangeColour colour)
{
    switch (colour) {
    case RangeColour::Green:
        return EditorColour::Green;
    case RangeColour::Red:
        return EditorColour::Red;
    case RangeColour::Orange:
        break;
    }
    return EditorColour::Orange;
}

// Only pure green and pure red carry a flag; every other colour is the third.
RangeColour rangeColourOf(const QColor &colour)
{
    if (colour == EditorColour::Green)
        return RangeColour::Green;
    if (colour == EditorColour::Red)
        return RangeColour::Red;
    return RangeColour::Orange;
}

// Red, green and orange follow one another; any other colour starts at orange.
QColor nextRangeColour(const QColor &colour)
{
    if (colour == EditorColour::Red)
        return EditorColour::Green;
    if (colour == EditorColour::Green)
        return EditorColour::Orange;
    if (colour == EditorColour::Orange)
        return EditorColour::Red;
    return EditorColour::Orange;
}

} // namespace

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

void dump_24c01::HScroll1_Change(int index)
{
    PLAG[index]->setText(rangeLimitCaption(HScroll1[index]->value()));
}

void dump_24c01::COULE_Click(int index)
{
    COULE_Change(index);
}

void dump_24c01::COULE_Change(int index)
{
    setBoxColour(COULE[index], nextRangeColour(boxColour(COULE[index])));
    emit settingsChanged();
}

void dump_24c01::showColours(const JEU_PARAMETRES &p)
{
    for (int i = 1; i <= 5; ++i) {
        setBoxColour(COULE[i], colourOf(p.ranges[i - 1].colour));
        HScroll1[i]->setValue(p.ranges[i - 1].threshold);
    }
    if (p.luminosity)
        Option1.select(*p.luminosity);
    DURE_LDR->setValue(p.measuringPeriod);
    COMP_LDR->setValue(p.switchingThreshold);
}

void dump_24c01::enterColours(JEU_PARAMETRES &p) const
{
    for (int i = 1; i <= 5; ++i)
        p.ranges[i - 1] = {HScroll1[i]->value(), rangeColourOf(boxColour(COULE[i]))};
    // The percentages are examined first; the light sensor has the last word.
    p.luminosity.reset();
    for (int i = 1; i <= 6; ++i) {
        if (Option1.isSelected(i))
            p.luminosity = i;
    }
    if (Option1.isSelected(0))
        p.luminosity = 0;
    p.measuringPeriod = DURE_LDR->value();
    p.switchingThreshold = COMP_LDR->value();
}
