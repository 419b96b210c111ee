#include "params/parameter_window.h"

#include <QLineEdit>

EditorSettings dump_24c01::currentSettings() const
{
    EditorSettings settings;
    settings.parameters = enteredParameters(coefficientFromText(Text4->text()).value_or(0));
    settings.dimpulse = Dimpulse->text();
    settings.etalon = etalon->text();
    settings.coefficient = Text4->text();
    return settings;
}

// As a read shows a card, then the texts the write computes the coefficient
// from; a group the settings leave without a choice is left without one.
void dump_24c01::applySettings(const EditorSettings &settings)
{
    const JEU_PARAMETRES &p = settings.parameters;
    etalon->setText(settings.etalon);
    showParameters({p, (QStringLiteral("0000000") + hexText(p.coefficient)).right(8), settings.coefficient, {}});
    Dimpulse->setText(settings.dimpulse);
    m_coefficientSource = coefficientSourceOf(settings);
    emit settingsChanged();
    if (!p.luminosity)
        Option1.clear();
    if (!p.digits)
        NB_DIGIT.clear();
}

EditorState dump_24c01::state() const
{
    return {currentSettings(), m_coefficientSource, m_zeroLimit};
}

QString dump_24c01::liveSpeedText() const
{
    return VITESSE_VENT->text();
}

QString dump_24c01::liveMaximumText() const
{
    return VITESSE_VENT_MAX->text();
}
