#include "records/commissioning_sheet.h"

#include "params/calibration.h"
#include "params/number_text.h"

namespace {

const QString NoChoice = QStringLiteral("aucun choix");
const QString Unit = QStringLiteral(" Km/h");
// What the live speed boxes show until a reading fills them.
const QString SpeedCaption = QStringLiteral(" Vitesse instantanée :");
const QString MaximumCaption = QStringLiteral(" Maximum enregistré:");

QString captionOf(const QStringList &captions, std::optional<int> index)
{
    const QString caption = index ? captions.value(*index).trimmed() : QString();
    return caption.isEmpty() ? NoChoice : caption;
}

SheetSection displaySection(const JEU_PARAMETRES &p)
{
    using namespace EditorCaptions;
    return {QStringLiteral("Affichage"),
            {{QStringLiteral("Nombre de digits d'affichage:"), captionOf(digits(), p.digits)},
             {QStringLiteral("Affichage :"), captionOf(decimals(), p.integerOnly ? 1 : 2)},
             {QStringLiteral("Suppression des zéros de têtes:"), captionOf(suppression(), p.suppressZeros ? 1 : 2)},
             {QStringLiteral("Remise à zéro du maximum :"), captionOf(resetModes(), p.resetMode)},
             {QStringLiteral("Mode d'affichage:"), captionOf(displayModes(), p.displayMode)}}};
}

SheetSection calibrationSection(const EditorSettings &s)
{
    const JEU_PARAMETRES &p = s.parameters;
    SheetSection section{QStringLiteral("Étalonnage"),
                         {{pulseCountCaption(p.pulseCount), s.dimpulse + QStringLiteral(" m")},
                          {QStringLiteral("Coefficient de vitesse (Étalonnage usine.)"), s.coefficient},
                          {QStringLiteral("Constante d'étalonnage (Étalonnage usine.)"), s.etalon}}};
    section.rows.append(p.averaging ? SheetRow{averagingCaption(*p.averaging), QString()}
                                    : SheetRow{QStringLiteral("2-Moyenne réalisée sur :"), NoChoice});
    section.rows.append({zeroPulseCaption(p.zeroPulseSeconds), QString()});
    section.rows.append({refreshCaption(p.refresh).trimmed(), QString()});
    return section;
}

SheetSection colourSection(const JEU_PARAMETRES &p)
{
    SheetSection section{QStringLiteral("Plage couleur et luminosité"), {}};
    QString from = QStringLiteral("0");
    for (int i = 0; i < 5; ++i) {
        const QString to = i < 4 ? tenthsText(p.ranges[i].threshold) : QStringLiteral("999,9");
        section.rows.append({QStringLiteral("Plage %1:").arg(i + 1),
                             QStringLiteral("de %1 à %2").arg(from, to) + Unit + QStringLiteral(" : ")
                                 + EditorCaptions::colours().value(int(p.ranges[i].colour))});
        from = to;
    }
    section.rows.append({QStringLiteral("Programmer un Maximum :"), tenthsText(p.ranges[4].threshold) + Unit});
    section.rows.append({QStringLiteral("Luminosité"), captionOf(EditorCaptions::luminosity(), p.luminosity)});
    section.rows.append(
        {QStringLiteral("Fréquence de Commutation"), QStringLiteral("%1 secondes").arg(p.measuringPeriod)});
    section.rows.append({QStringLiteral("Commutation JOUR/NUIT"),
                         QStringLiteral("%1 (0=Jour. 15=Nuit)").arg(p.switchingThreshold)});
    return section;
}

void addRelay(SheetSection &section, int number, const RelaySettings &relay)
{
    const QString name = QStringLiteral("Relais %1 : ").arg(number);
    section.rows.append({QStringLiteral("Relais %1:").arg(number), EditorCaptions::relayStates().value(relay.inUse)});
    section.rows.append({name + QStringLiteral("contact"),
                         (relay.normallyClosed ? QStringLiteral("Contact NF (") : QStringLiteral("Contact NO ("))
                             + EditorCaptions::contacts().value(relay.normallyClosed) + QLatin1Char(')')});
    section.rows.append({name + QStringLiteral("Seuil d'ACTIVATION."), tenthsText(relay.activation) + Unit});
    section.rows.append({name + QStringLiteral("Seuil de DESACTIVATION."), tenthsText(relay.deactivation) + Unit});
}

SheetSection speedSection(const SheetInput &input)
{
    const auto reading = [](const QString &text, const QString &caption) {
        const QString rest = text.startsWith(caption) ? text.mid(caption.size()).trimmed() : QString();
        return rest.isEmpty() ? QStringLiteral("non lue") : rest;
    };
    return {QStringLiteral("Lire Vitesse instannée et maximum"),
            {{SpeedCaption.trimmed(), reading(input.speedText, SpeedCaption)},
             {MaximumCaption.trimmed(), reading(input.maximumText, MaximumCaption)}}};
}

QString byteText(const std::optional<quint8> &byte)
{
    return byte ? hexText(*byte).rightJustified(2, QLatin1Char('0')) : QStringLiteral("--");
}

} // namespace

CommissioningSheet commissioningSheet(const SheetInput &input)
{
    const EditorSettings &s = input.settings;
    CommissioningSheet sheet;
    sheet.title = QStringLiteral("Fiche de mise en service du panneau");
    sheet.header = {QStringLiteral("Date : ") + input.printedAt.toString(QStringLiteral("dd/MM/yyyy")),
                    QStringLiteral("Heure : ") + input.printedAt.toString(QStringLiteral("HH:mm")),
                    QStringLiteral("Port : COM%1").arg(input.port)};
    sheet.sections = {displaySection(s.parameters), calibrationSection(s), colourSection(s.parameters),
                      SheetSection{QStringLiteral("Relais"), {}}, speedSection(input)};
    addRelay(sheet.sections[3], 1, s.parameters.relay1);
    addRelay(sheet.sections[3], 2, s.parameters.relay2);

    sheet.tableTitle = QStringLiteral("Table d'étalonnage (test avec un générateur d'impulsion)");
    sheet.tableHeadings = {QStringLiteral("Vitesse en Km/heure"), QStringLiteral("Distance en mètre par seconde"),
                           QStringLiteral("Fréquence du signal en entrée"), QStringLiteral("Période du signal en entrée")};
    const PulseCalibration calibration = calibratePulses(s.dimpulse, s.etalon);
    sheet.tableFailure = calibration.failure;
    for (int i = 0; i < calibration.columns.size(); ++i) {
        const CalibrationColumn &c = calibration.columns[i];
        sheet.tableRows.append({referenceSpeedTexts().value(i), c.msec, c.NB_impul, c.PERCLAV});
    }

    sheet.memoryTitle = QStringLiteral("Mémoire du panneau, octets 64 à 127 (hexadécimal)");
    for (int row = 4; row < 8; ++row) {
        QStringList values;
        for (int column = 0; column < 16; ++column)
            values.append(byteText(input.bytes[16 * row + column]));
        sheet.memoryRows.append(cellName(16 * row) + QStringLiteral("  ") + values.join(QLatin1Char(' ')));
    }
    return sheet;
}

QString sheetFileName(int port, const QDateTime &at)
{
    return QStringLiteral("fiche_COM%1_%2.pdf").arg(port).arg(at.toString(QStringLiteral("yyyy-MM-dd_HH-mm")));
}
