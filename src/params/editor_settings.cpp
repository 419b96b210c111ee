#include "params/editor_settings.h"

#include "params/calibration.h"
#include "params/number_text.h"

std::optional<quint32> coefficientToSend(const EditorState &state)
{
    const EditorSettings &s = state.settings;
    if (state.coefficientSource && state.coefficientSource->first == s.dimpulse
        && state.coefficientSource->second == s.etalon)
        return coefficientFromText(s.coefficient);
    const PulseCalibration calibration = calibratePulses(s.dimpulse, s.etalon);
    if (!calibration.succeeded())
        return std::nullopt;
    return coefficientFromText(calibration.coefficient);
}

JEU_PARAMETRES parametersToSend(const EditorState &state, quint32 coefficient)
{
    JEU_PARAMETRES p = state.settings.parameters;
    p.coefficient = coefficient;
    for (std::size_t i = 0; i < p.ranges.size(); ++i) {
        if (state.zeroLimits[i] && p.ranges[i].threshold == 2)
            p.ranges[i].threshold = 0;
    }
    return p;
}

CoefficientSource coefficientSourceOf(const EditorSettings &settings)
{
    return {distancePerPulseText(settings.coefficient, settings.etalon).value_or(QString()), settings.etalon};
}

std::optional<QString> distancePerPulseText(const QString &coefficient, const QString &etalon)
{
    const std::optional<double> c = readFrenchNumber(coefficient);
    const std::optional<double> constant = readFrenchNumber(etalon);
    if (!c || !constant || *constant == 0)
        return std::nullopt;
    return frenchNumberText(*c / *constant);
}

namespace EditorCaptions {

const QStringList &digits()
{
    static const QStringList texts{QString(), "2.", "3.", "4."};
    return texts;
}

const QStringList &decimals()
{
    static const QStringList texts{QString(), "Seulement en entier.", "Une décimale si possible."};
    return texts;
}

const QStringList &suppression()
{
    static const QStringList texts{QString(), "OUI.", "NON."};
    return texts;
}

const QStringList &resetModes()
{
    static const QStringList texts{"RAZ par entrée OPTO ", "1H sans dépassement.", "36H sans dépassement.",
                                   "72H sans dépassement."};
    return texts;
}

const QStringList &displayModes()
{
    static const QStringList texts{"Instantané.", "Maximum.", "Instantané et Maximum.", "Sélection par entrée OPTO"};
    return texts;
}

const QStringList &luminosity()
{
    static const QStringList texts{"Capteur LDR", "100%", "80%", "60%", "50%", "40%", "20%"};
    return texts;
}

const QStringList &contacts()
{
    static const QStringList texts{"Normalement OUVERT.", "Normalement FERMÉ."};
    return texts;
}

const QStringList &relayStates()
{
    static const QStringList texts{"Non", "Oui"};
    return texts;
}

const QStringList &colours()
{
    static const QStringList texts{"vert", "rouge", "orange"};
    return texts;
}

} // namespace EditorCaptions
