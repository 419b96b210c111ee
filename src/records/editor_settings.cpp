#include "records/editor_settings.h"

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
