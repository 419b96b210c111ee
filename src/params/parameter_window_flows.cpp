#include "params/parameter_window.h"

#include "link/configuration_window.h"
#include "link/pwsbase.h"
#include "link/serial_port.h"
#include "panel/exchange.h"
#include "panel/report.h"
#include "params/calibration.h"
#include "params/live_speed.h"
#include "params/live_speed_exchange.h"
#include "ui/messages.h"
#include "ui/window_registry.h"

#include <QLineEdit>
#include <QStringList>

namespace {

const QByteArray ShortPrefix = QByteArrayLiteral("31");

// Addresses past the parameter block: the card's own bytes, which only a read
// brings into the image.
constexpr int FirstUnownedAddress = 99;
// The acknowledgements of "X6X" and "RRR", and how long they may take.
constexpr int TrailingAnswers = 2 * 5;
constexpr std::chrono::milliseconds TrailingWait{100};

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

DecodedParameters dump_24c01::showImage()
{
    // Whatever the controls show that the card's bytes leave without a choice
    // must not reach the next write.
    resetBeforeRead();
    const DecodedParameters decoded = DECODE_PARAMETRES(m_image);
    showParameters(decoded);
    return decoded;
}

void dump_24c01::but_lit_para_Click()
{
    if (!PORT_OUVERT(m_registry))
        return;
    const Choices before = currentChoices();
    resetBeforeRead();
    bool timedOut = false;
    bool blank = false;
    QList<OutOfRangeValue> outOfRange;
    {
        Exchange::Scope busy(exchange());
        timedOut = LIT_24C01();
        // A failed transfer leaves its failure marks, not a blank card's bytes,
        // and the controls as they were: a write must not send "no choice".
        if (timedOut) {
            restoreChoices(before);
        } else {
            blank = TEST_VIERGE(m_image);
            if (blank) {
                showBlankCard();
            } else {
                outOfRange = showImage().outOfRange;
                takeTrailingAnswers();
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

// At the line's rate the answers to "X6X" and "RRR" are still arriving when the
// read has its bytes; taken now, they do not spoil the first live speed.
void dump_24c01::takeTrailingAnswers()
{
    Exchange &x = exchange();
    x.awaitAnswer({AnswerCondition::AtLeast, TrailingAnswers}, Exchange::Clock::now() + TrailingWait);
    x.takeAnswer();
}

bool dump_24c01::prepareCoefficient()
{
    if (m_coefficientSource && m_coefficientSource->first == Dimpulse->text()
        && m_coefficientSource->second == etalon->text())
        return true;
    return runCalibration();
}

void dump_24c01::encodeIntoImage(quint32 coefficient)
{
    JEU_PARAMETRES p = enteredParameters(coefficient);
    // A limit the card stores as 0, left as the slider showed it, stays 0.
    for (std::size_t i = 0; i < p.ranges.size(); ++i) {
        if (m_zeroLimit[i] && p.ranges[i].threshold == 2)
            p.ranges[i].threshold = 0;
    }
    Text5->setText(CODE_PARAMETRES(p, m_image));
}

// The card's own bytes past the parameter block go back as the panel holds
// them when the write had to read it (a panel never receives another panel's
// bytes), and wherever a cell holds no byte.
void dump_24c01::copyCardBytes(const MemoryBytes &panel, bool freshRead)
{
    for (int a = FirstUnownedAddress; a < MemoryImage::Size; ++a) {
        if (panel[a] && (freshRead || !holdsValidByte(m_image.text(a))))
            m_image.set(a, hexText(*panel[a]).rightJustified(2, QLatin1Char('0')), CellState::White);
    }
}

void dump_24c01::but_ecrit_para_Click()
{
    // Recalculating a coefficient read from the card would change it.
    if (!prepareCoefficient())
        return;
    if (!PORT_OUVERT(m_registry))
        return;
    const std::optional<quint32> coefficient = coefficientFromText(Text4->text());
    if (!coefficient) {
        messages().show(Messages::Icon::Exclamation, InvalidCoefficientText);
        return;
    }
    WriteOutcome outcome;
    {
        Exchange::Scope busy(exchange());
        outcome = writeBackedUp(m_registry, m_image, EditorTransfer, objectName(),
                                [&](const MemoryBytes &panel, bool freshRead) {
                                    copyCardBytes(panel, freshRead);
                                    encodeIntoImage(*coefficient);
                                });
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
    if (const std::optional<LiveSpeed> speed = requestLiveSpeed(exchange())) {
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
    m_coefficientSource = {Dimpulse->text(), etalon->text()};
    for (int i = 0; i < result.columns.size() && i < int(msec.size()); ++i) {
        msec[i]->setText(result.columns[i].msec);
        NB_impul[i]->setText(result.columns[i].NB_impul);
        PERCLAV[i]->setText(result.columns[i].PERCLAV);
    }
    return true;
}
