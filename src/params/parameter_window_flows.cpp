#include "params/parameter_window.h"

#include "link/configuration_window.h"
#include "link/pwsbase.h"
#include "link/serial_port.h"
#include "panel/exchange.h"
#include "panel/report.h"
#include "params/calibration.h"
#include "params/live_speed.h"
#include "ui/messages.h"
#include "ui/window_registry.h"

#include <QLineEdit>
#include <QStringList>

namespace {

const QByteArray ShortPrefix = QByteArrayLiteral("31");

// Addresses past the parameter block: the card's own bytes, which only a read
// brings into the image.
constexpr int FirstUnownedAddress = 99;
constexpr int UnownedCount = 128 - FirstUnownedAddress;

const QString BlankCardText = QStringLiteral("Paramètre vièrge. Veuillez envoyer une premères fois les paramètres.");
const QString InvalidCoefficientText =
    QStringLiteral("Coefficient invalide : il doit être un nombre entier sur 32 bits.");

QString outOfRangeText(const QList<OutOfRangeValue> &values)
{
    QStringList entries;
    for (const OutOfRangeValue &v : values)
        entries.append(QStringLiteral("%1 : %2 → %3").arg(v.field).arg(v.read).arg(v.shown));
    return QStringLiteral("Valeurs hors limites ramenées dans la plage : ") + entries.join(QStringLiteral(", "))
        + QLatin1Char('.');
}

} // namespace

Exchange &dump_24c01::exchange()
{
    return m_registry.configuration().exchange();
}

Messages &dump_24c01::messages()
{
    return m_registry.services().messages;
}

QString dump_24c01::answerCheck()
{
    return m_registry.configuration().answerCheck();
}

bool dump_24c01::LIT_24C01()
{
    return ::LIT_24C01(exchange(), m_image, EditorTransfer);
}

WriteOutcome dump_24c01::ECRIT_24C01()
{
    return writeBackedUp(m_registry, m_image, EditorTransfer, objectName());
}

void dump_24c01::but_lit_para_Click()
{
    if (!PORT_OUVERT(m_registry))
        return;
    resetBeforeRead();
    bool timedOut = false;
    bool blank = false;
    QList<OutOfRangeValue> outOfRange;
    {
        Exchange::Scope busy(exchange());
        timedOut = LIT_24C01();
        // A failed transfer leaves its failure marks, not a blank card's bytes.
        if (!timedOut) {
            blank = TEST_VIERGE(m_image);
            if (blank) {
                showBlankCard();
            } else {
                const DecodedParameters decoded = DECODE_PARAMETRES(m_image);
                showParameters(decoded);
                outOfRange = decoded.outOfRange;
                readLiveSpeed();
                readLiveSpeed();
            }
        }
    }
    m_transferSucceeded = !timedOut && !blank;
    if (blank)
        messages().show(Messages::Icon::Exclamation, BlankCardText);
    const QString check = answerCheck();
    COMPTE_RENDU(messages(), check, TransferKind::Read, timedOut, exchange().port().lost());
    // The controls show the nearest value they can; the user must know that
    // the next write will store that value instead of the card's.
    if (!outOfRange.isEmpty() && check != QLatin1String("NON"))
        messages().show(Messages::Icon::Exclamation, outOfRangeText(outOfRange));
}

void dump_24c01::but_ecrit_para_Click()
{
    if (!runCalibration())
        return;
    if (!PORT_OUVERT(m_registry))
        return;
    const std::optional<quint32> coefficient = coefficientFromText(Text4->text());
    if (!coefficient) {
        messages().show(Messages::Icon::Exclamation, InvalidCoefficientText);
        return;
    }
    // Sending an image that was never read, or whose last transfer failed,
    // would overwrite the card's other bytes with whatever the cells hold.
    const int unread = firstInvalidCell(m_image, FirstUnownedAddress, UnownedCount);
    if (unread >= 0) {
        reportRefusedWrite(messages(), WriteOutcome{false, unread, {}});
        return;
    }
    Text5->setText(CODE_PARAMETRES(enteredParameters(*coefficient), m_image));

    WriteOutcome outcome;
    {
        Exchange::Scope busy(exchange());
        outcome = ECRIT_24C01();
        if (!outcome.refused()) {
            exchange().ENVOI_TRAME(ShortPrefix, QByteArrayLiteral("OOO"));
            exchange().PAUSE(0.5);
            exchange().ENVOI_TRAME(ShortPrefix, QByteArrayLiteral("RRR"));
        }
    }
    m_transferSucceeded = !outcome.refused() && !outcome.timedOut;
    if (outcome.refused())
        reportRefusedWrite(messages(), outcome);
    else
        COMPTE_RENDU(messages(), answerCheck(), TransferKind::Write, outcome.timedOut, exchange().port().lost());
}

void dump_24c01::but_RD_Click()
{
    rawRead(m_registry, m_image, EditorTransfer);
}

void dump_24c01::but_WR_Click()
{
    rawWrite(m_registry, m_image, EditorTransfer, objectName());
}

void dump_24c01::Command1_Click()
{
    if (!rawExchangeAllowed(m_registry))
        return;
    Exchange::Scope busy(exchange());
    readLiveSpeed();
}

void dump_24c01::readLiveSpeed()
{
    Exchange &x = exchange();
    x.takeAnswer();
    for (const QByteArray &command :
         {QByteArrayLiteral("AAA"), QByteArrayLiteral("BBB"), QByteArrayLiteral("CCC"), QByteArrayLiteral("DDD")})
        x.ENVOI_TRAME(ShortPrefix, command);
    x.PAUSE(0.5);
    if (const std::optional<LiveSpeed> speed = decodeLiveSpeed(x.takeAnswer())) {
        VITESSE_VENT_MAX->setText(maximumSpeedCaption(speed->maximum));
        VITESSE_VENT->setText(instantaneousSpeedCaption(speed->instantaneous));
    }
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
    for (int i = 0; i < result.columns.size() && i < int(msec.size()); ++i) {
        msec[i]->setText(result.columns[i].msec);
        NB_impul[i]->setText(result.columns[i].NB_impul);
        PERCLAV[i]->setText(result.columns[i].PERCLAV);
    }
    return true;
}
