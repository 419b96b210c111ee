#include "params/parameter_window.h"

#include "params/calibration.h"
#include "params/number_text.h"
#include "ui/messages.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QSlider>

// Page 1, "Étalonnage : ", and the pulse calibration table of the wide view.

namespace {

const QString SliderTip = QStringLiteral("Utiliser la glissière horizontale pour le réglage..");

// The calibration table: headings on the left, one column per reference speed.
constexpr int TableTop = 4860;
constexpr int TableRowPitch = 240;
constexpr int TableLeft = 2820;
constexpr int TableColumnPitch = 720;

} // namespace

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

void dump_24c01::buildCalibrationTable()
{
    static const char *const headings[] = {"Vitesse en Km/heure", "Distance en mètre par seconde",
                                           "Fréquence du signal en entrée", "Période du signal en entrée"};
    QFont small = font();
    small.setPointSize(7);
    for (int r = 0; r < 4; ++r) {
        Text7[r] = makeTextBox(this, memberName("Text7", r), QString::fromUtf8(headings[r]),
                               {60, TableTop + r * TableRowPitch, TableLeft - 120, TableRowPitch});
        Text7[r]->setFont(small);
    }
    const std::array<std::array<QLineEdit *, 15> *, 4> rows{&KMH, &msec, &NB_impul, &PERCLAV};
    const char *const names[] = {"KMH", "msec", "NB_impul", "PERCLAV"};
    const QStringList &speeds = referenceSpeedTexts();
    for (int r = 0; r < 4; ++r) {
        for (int i = 0; i < 15; ++i) {
            QLineEdit *box = makeTextBox(
                this, memberName(names[r], i), r == 0 ? speeds.at(i) : QString(),
                {TableLeft + i * TableColumnPitch, TableTop + r * TableRowPitch, TableColumnPitch - 15, TableRowPitch});
            box->setFont(small);
            box->setAlignment(Qt::AlignCenter);
            // Read-only rather than disabled: the figures stay legible.
            box->setFocusPolicy(Qt::NoFocus);
            (*rows[r])[i] = box;
        }
    }
    for (QLineEdit *box : PERCLAV)
        box->setToolTip(
            QStringLiteral("Période du signal en entrée du calculateur pour le TEST avec un générateur d'impulsion."));
}

void dump_24c01::Slider_MOY_Change()
{
    MOYENNE->setText(averagingCaption(Slider_MOY->value()));
}

void dump_24c01::Slider_Nbr_IMPULS_Change()
{
    Text7[4]->setText(pulseCountCaption(Slider_Nbr_IMPULS->value()));
}

void dump_24c01::Slider_ZEROPULSE_Change()
{
    Text8->setText(zeroPulseCaption(Slider_ZEROPULSE->value()));
}

// The factory constant is locked unless the user unlocks it here.
void dump_24c01::Frame8_Click()
{
    etalon->setEnabled(!etalon->isEnabled());
}

void dump_24c01::CALCUL_Click()
{
    runCalibration();
}

// Tells the user why, and writes nothing after the failing step.
bool dump_24c01::runCalibration()
{
    const PulseCalibration result = calibratePulses(Dimpulse->text(), etalon->text());
    Dimpulse->setText(result.dimpulse);
    if (!result.succeeded()) {
        messages().show(Messages::Icon::Exclamation, result.failure);
        return false;
    }
    texcoef->setText(result.coefficient);
    Text4->setText(texcoef->text());
    m_coefficientSource = {Dimpulse->text(), etalon->text()};
    emit settingsChanged();
    for (int i = 0; i < result.columns.size() && i < int(msec.size()); ++i) {
        msec[i]->setText(result.columns[i].msec);
        NB_impul[i]->setText(result.columns[i].NB_impul);
        PERCLAV[i]->setText(result.columns[i].PERCLAV);
    }
    return true;
}

// Dimpulse = coefficient / factory constant; without a usable constant the
// distance shown stays as it was.
void dump_24c01::showDistancePerPulse()
{
    if (const std::optional<QString> distance = distancePerPulseText(Text4->text(), etalon->text()))
        Dimpulse->setText(*distance);
}

void dump_24c01::showCalibration(const DecodedParameters &decoded)
{
    const JEU_PARAMETRES &p = decoded.parameters;
    Slider_ZEROPULSE->setValue(p.zeroPulseSeconds);
    if (p.averaging)
        Slider_MOY->setValue(*p.averaging);
    Text5->setText(decoded.coefficientHex);
    Text4->setText(decoded.coefficientDecimal);
    showDistancePerPulse();
    m_coefficientSource = {Dimpulse->text(), etalon->text()};
    Slider_Nbr_IMPULS->setValue(p.pulseCount);
}

void dump_24c01::enterCalibration(JEU_PARAMETRES &p, quint32 coefficient) const
{
    p.zeroPulseSeconds = Slider_ZEROPULSE->value();
    p.averaging = Slider_MOY->value();
    p.coefficient = coefficient;
    p.pulseCount = Slider_Nbr_IMPULS->value();
}
