#include "params/parameter_window.h"

#include "params/number_text.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QLineEdit>

// Page 0, "Affichage : ", and the display refresh setting.

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

void dump_24c01::HScroll3_Change()
{
    RAFR_AFF->setText(refreshCaption(HScroll3->value()));
}

void dump_24c01::showDisplay(const JEU_PARAMETRES &p)
{
    HScroll3->setValue(p.refresh);
    if (p.digits)
        NB_DIGIT.select(*p.digits);
    AFF_TYPE.select(p.displayMode);
    RAZ_TYPE.select(p.resetMode);
    DECI_ENT.select(p.integerOnly ? 1 : 2);
    SUPRESS.select(p.suppressZeros ? 1 : 2);
}

void dump_24c01::enterDisplay(JEU_PARAMETRES &p) const
{
    p.refresh = HScroll3->value();
    p.digits = NB_DIGIT.selected();
    // With no choice, the mode and reset whose code is 0 are what the card gets.
    p.displayMode = AFF_TYPE.selected().value_or(3);
    p.resetMode = RAZ_TYPE.selected().value_or(0);
    p.integerOnly = DECI_ENT.isSelected(1);
    p.suppressZeros = SUPRESS.isSelected(1);
}
