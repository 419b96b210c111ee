#include "params/parameter_window.h"

#include "link/configuration_window.h"
#include "link/pwsbase.h"
#include "panel/exchange.h"
#include "panel/report.h"
#include "port/serial_port.h"
#include "ui/messages.h"
#include "ui/window_registry.h"

#include <QLineEdit>
#include <QStringList>

// The editor's exchanges with the panel: read, write, the raw grid's.

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
        entries.append(outOfRangeEntry(v.field, QString::number(v.read), QString::number(v.shown)));
    return outOfRangeText(entries);
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
    return writeBackedUp(exchange(), m_image, EditorTransfer, backupTarget(m_registry, objectName()));
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
    if (!timedOut) {
        m_imageSession = exchange().session();
        if (blank)
            m_origin = {};
        else
            programmedOrRead();
    }
    emit settingsChanged();
    if (blank)
        messages().show(Messages::Icon::Exclamation, BlankCardText);
    const QString check = answerCheck();
    COMPTE_RENDU(messages(), check, TransferKind::Read, timedOut, exchange().port().lost());
    // The controls show the nearest value they can; the user must know that
    // the next write will store that value instead of the card's.
    if (!outOfRange.isEmpty() && check != QLatin1String("NON"))
        messages().show(Messages::Icon::Exclamation, outOfRangeText(outOfRange));
}

void dump_24c01::showReadMemory(const MemoryImage &read)
{
    resetBeforeRead();
    for (int a = 0; a < MemoryImage::Size; ++a) {
        if (a < EditorTransfer.readFirst)
            m_image.set(a, QStringLiteral(" "), CellState::White);
        else
            m_image.set(a, read.text(a), read.state(a));
    }
    if (TEST_VIERGE(m_image)) {
        showBlankCard();
        m_origin = {};
    } else {
        showImage();
        programmedOrRead();
    }
    m_imageSession = exchange().session();
    emit settingsChanged();
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
    Text5->setText(CODE_PARAMETRES(parametersToSend(state(), coefficient), m_image));
}

// What the panel holds in this opening is now what the editor shows.
void dump_24c01::programmedOrRead()
{
    m_origin = {Origin::Panel, exchange().session(), exchange().record().known(exchange().session())};
}

// The card's own bytes past the parameter block go back as the panel holds
// them when the write had to read it (a panel never receives another panel's
// bytes), and wherever a cell holds no byte.
void dump_24c01::copyCardBytes(const MemoryBytes &panel, bool freshRead)
{
    const MemoryBytes card = cardAfterWrite(panel, 0, freshRead);
    for (int a = FirstUnownedAddress; a < MemoryImage::Size; ++a) {
        if (card[a] && card[a] == panel[a])
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
        outcome = writeBackedUp(exchange(), m_image, EditorTransfer, backupTarget(m_registry, objectName()),
                                [&](const MemoryBytes &panel, bool freshRead) {
                                    if (!confirmWrite(panel, *coefficient, freshRead))
                                        return false;
                                    copyCardBytes(panel, freshRead);
                                    encodeIntoImage(*coefficient);
                                    return true;
                                });
        if (outcome.cancelled)
            return;
        if (!outcome.refused()) {
            exchange().ENVOI_TRAME(ShortPrefix, QByteArrayLiteral("OOO"));
            exchange().PAUSE(0.5);
            exchange().ENVOI_TRAME(ShortPrefix, QByteArrayLiteral("RRR"));
        }
    }
    if (!outcome.failed()) {
        m_imageSession = exchange().session();
        programmedOrRead();
    }
    emit settingsChanged();
    reportWriteEnd(exchange(), messages(), answerCheck(), outcome);
}

void dump_24c01::but_RD_Click()
{
    if (!rawRead(m_registry, m_image, EditorTransfer))
        m_imageSession = exchange().session();
    emit settingsChanged();
}

void dump_24c01::but_WR_Click()
{
    if (!rawWrite(m_registry, m_image, EditorTransfer, objectName()).failed())
        m_imageSession = exchange().session();
    emit settingsChanged();
}
