#include "params/calibration.h"

#include "params/number_text.h"

#include <QtGlobal>

#include <cmath>
#include <limits>

namespace {

// Each value is read back from the text just written: the four-decimal
// rounding carries into the next row, and the table's figures depend on it.
CalibrationColumn calibrationColumn(double kmh, float distance)
{
    CalibrationColumn column;
    column.msec = fourDecimalsText(kmh * 1000 / 3600);
    column.NB_impul = fourDecimalsText(readFrenchNumber(column.msec).value_or(0) / distance);
    const double frequency = readFrenchNumber(column.NB_impul).value_or(0);
    if (frequency != 0)
        column.PERCLAV = fourDecimalsText(float(1 / frequency));
    return column;
}

} // namespace

const QStringList &referenceSpeedTexts()
{
    static const QStringList texts{"2",  "5",  "7",  "10",  "15",  "20",  "25", "25,5",
                                   "50", "75", "90", "100", "125", "150", "200"};
    return texts;
}

PulseCalibration calibratePulses(const QString &dimpulse, const QString &etalon)
{
    PulseCalibration result;
    result.dimpulse = QString(dimpulse).replace(QLatin1Char('.'), QLatin1Char(','));

    // The distance is taken in single precision, as the coefficient has always
    // been computed; a value beyond that range is refused, not converted.
    const double typed = readFrenchNumber(result.dimpulse).value_or(0);
    const float distance = typed <= std::numeric_limits<float>::max() ? float(typed) : 0;
    if (!(distance > 0)) {
        result.failure = QStringLiteral("Distance par impulsion invalide : entrez un nombre positif (ex : 1,1111).");
        return result;
    }
    const std::optional<double> constant = readFrenchNumber(etalon);
    const double coefficient = constant ? std::floor(*constant / (1 / double(distance))) + 1 : NAN;
    if (!std::isfinite(coefficient)) {
        result.failure = QStringLiteral("Constante d'étalonnage invalide : entrez un nombre.");
        return result;
    }
    // The card takes a positive word, and a read shows it as a signed number:
    // anything else could not be programmed again after reading it back.
    if (coefficient < 1 || coefficient > std::numeric_limits<qint32>::max()) {
        result.failure = QStringLiteral("Coefficient hors limites : la distance par impulsion et la constante "
                                        "doivent donner un coefficient entre 1 et 2147483647.");
        return result;
    }
    result.coefficient = QString::number(coefficient, 'f', 0);
    for (const QString &speed : referenceSpeedTexts())
        result.columns.append(calibrationColumn(readFrenchNumber(speed).value_or(0), distance));
    return result;
}
