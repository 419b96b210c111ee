#include "params/parameter_window.h"

#include "params/number_text.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>

namespace {

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

void showRelay(const RelaySettings &relay, QCheckBox *check, OptionGroup &contact, QScrollBar *on, QScrollBar *off)
{
    check->setCheckState(relay.inUse ? Qt::Checked : Qt::Unchecked);
    contact.select(relay.normallyClosed ? 1 : 0);
    on->setValue(relay.activation);
    off->setValue(relay.deactivation);
}

RelaySettings enteredRelay(const QCheckBox *check, const OptionGroup &contact, const QScrollBar *on,
                           const QScrollBar *off)
{
    return {check->checkState() == Qt::Checked, contact.isSelected(1), on->value(), off->value()};
}

} // namespace

// What a read resets before its transfer, so that a failed one can put it back.
dump_24c01::Choices dump_24c01::currentChoices() const
{
    Choices choices;
    for (int i = 1; i <= 5; ++i)
        choices.colours[i - 1] = boxColour(COULE[i]);
    const OptionGroup *groups[] = {&Option1, &NB_DIGIT, &DECI_ENT, &AFF_TYPE, &RAZ_TYPE, &SUPRESS};
    for (std::size_t g = 0; g < choices.groups.size(); ++g)
        choices.groups[g] = groups[g]->selected();
    return choices;
}

void dump_24c01::restoreChoices(const Choices &choices)
{
    for (int i = 1; i <= 5; ++i)
        setBoxColour(COULE[i], choices.colours[i - 1]);
    OptionGroup *groups[] = {&Option1, &NB_DIGIT, &DECI_ENT, &AFF_TYPE, &RAZ_TYPE, &SUPRESS};
    for (std::size_t g = 0; g < choices.groups.size(); ++g) {
        if (choices.groups[g])
            groups[g]->select(*choices.groups[g]);
        else
            groups[g]->clear();
    }
}

// Before a read: the range colours back to the third colour, and no choice
// left in the groups the card's bytes decide.
void dump_24c01::resetBeforeRead()
{
    for (int i = 1; i <= 5; ++i)
        setBoxColour(COULE[i], EditorColour::Orange);
    for (OptionGroup *group : {&Option1, &NB_DIGIT, &DECI_ENT, &AFF_TYPE, &RAZ_TYPE, &SUPRESS})
        group->clear();
}

void dump_24c01::showBlankCard()
{
    m_zeroLimit = {};
    for (int i = 1; i <= 5; ++i) {
        HScroll1[i]->setValue(1);
        setBoxColour(COULE[i], EditorColour::Orange);
    }
}

// In the order the card's fields are laid out; a field without a recognised
// value leaves its control as it is.
void dump_24c01::showParameters(const DecodedParameters &decoded)
{
    const JEU_PARAMETRES &p = decoded.parameters;
    m_zeroLimit = decoded.zeroLimits;
    for (int i = 1; i <= 5; ++i) {
        setBoxColour(COULE[i], colourOf(p.ranges[i - 1].colour));
        HScroll1[i]->setValue(p.ranges[i - 1].threshold);
    }
    showRelay(p.relay2, Check2, Option4, HScroll8, HScroll5);
    Slider_ZEROPULSE->setValue(p.zeroPulseSeconds);
    if (p.luminosity)
        Option1.select(*p.luminosity);
    if (p.averaging)
        Slider_MOY->setValue(*p.averaging);
    HScroll3->setValue(p.refresh);
    Text5->setText(decoded.coefficientHex);
    Text4->setText(decoded.coefficientDecimal);
    showDistancePerPulse();
    m_coefficientSource = {Dimpulse->text(), etalon->text()};
    Slider_Nbr_IMPULS->setValue(p.pulseCount);
    showRelay(p.relay1, Check1, Option3, HScroll6, HScroll7);
    if (p.digits)
        NB_DIGIT.select(*p.digits);
    AFF_TYPE.select(p.displayMode);
    RAZ_TYPE.select(p.resetMode);
    DECI_ENT.select(p.integerOnly ? 1 : 2);
    SUPRESS.select(p.suppressZeros ? 1 : 2);
    DURE_LDR->setValue(p.measuringPeriod);
    COMP_LDR->setValue(p.switchingThreshold);
}

// Dimpulse = coefficient / factory constant; without a usable constant the
// distance shown stays as it was.
void dump_24c01::showDistancePerPulse()
{
    if (const std::optional<QString> distance = distancePerPulseText(Text4->text(), etalon->text()))
        Dimpulse->setText(*distance);
}

JEU_PARAMETRES dump_24c01::enteredParameters(quint32 coefficient) const
{
    JEU_PARAMETRES p;
    for (int i = 1; i <= 5; ++i)
        p.ranges[i - 1] = {HScroll1[i]->value(), rangeColourOf(boxColour(COULE[i]))};
    p.relay2 = enteredRelay(Check2, Option4, HScroll8, HScroll5);
    p.zeroPulseSeconds = Slider_ZEROPULSE->value();
    // The percentages are examined first; the light sensor has the last word.
    p.luminosity.reset();
    for (int i = 1; i <= 6; ++i) {
        if (Option1.isSelected(i))
            p.luminosity = i;
    }
    if (Option1.isSelected(0))
        p.luminosity = 0;
    p.averaging = Slider_MOY->value();
    p.refresh = HScroll3->value();
    p.coefficient = coefficient;
    p.pulseCount = Slider_Nbr_IMPULS->value();
    p.relay1 = enteredRelay(Check1, Option3, HScroll6, HScroll7);
    p.digits = NB_DIGIT.selected();
    // With no choice, the mode and reset whose code is 0 are what the card gets.
    p.displayMode = AFF_TYPE.selected().value_or(3);
    p.resetMode = RAZ_TYPE.selected().value_or(0);
    p.integerOnly = DECI_ENT.isSelected(1);
    p.suppressZeros = SUPRESS.isSelected(1);
    p.measuringPeriod = DURE_LDR->value();
    p.switchingThreshold = COMP_LDR->value();
    return p;
}
