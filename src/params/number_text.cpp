#include "params/number_text.h"

#include <QLocale>

#include <cmath>

namespace {
QString withComma(QString text)
{
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}
} // namespace

QString frenchNumberText(double value)
{
    return withComma(QString::number(value, 'g', 15));
}

QString tenthsText(qint64 tenths)
{
    return frenchNumberText(double(tenths) / 10);
}

QString fourDecimalsText(double value)
{
    return withComma(QString::number(value, 'f', 4));
}

std::optional<double> readFrenchNumber(const QString &text)
{
    QLocale french(QLocale::French, QLocale::France);
    french.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = french.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString rangeLimitCaption(int tenths)
{
    return tenthsText(tenths) + QStringLiteral(" Km/h.");
}

QString refreshRateText(int setting)
{
    const double rate = 1 / (setting * 0.00325 * 27);
    return frenchNumberText(rate).left(4);
}

QString refreshCaption(int setting)
{
    return QStringLiteral(" Affichage rafraîchi ") + refreshRateText(setting) + QStringLiteral(" fois par secondes.");
}

QString averagingCaption(int exponent)
{
    const int measures = 1 << qBound(0, exponent, 4);
    return QStringLiteral("2-Moyenne réalisée sur %1 mesures de vitesse:").arg(measures);
}

QString pulseCountCaption(int count)
{
    return QStringLiteral("1-Distance parcourue pour %1 impulsions:").arg(count);
}

QString zeroPulseCaption(int seconds)
{
    return QStringLiteral("3- Durée sans impulsion pour le 0Km/h: %1 Secondes.").arg(seconds);
}
