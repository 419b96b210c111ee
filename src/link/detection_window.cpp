#include "link/detection_window.h"

#include "link/configuration_window.h"
#include "port/port_description.h"
#include "port/port_map.h"
#include "ui/twips.h"
#include "ui/window_registry.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {
// The acknowledgement: an address of two characters, which differs from panel
// to panel and is not compared, then STX, ACK, ETX.
constexpr int AnswerSize = 5;
const QByteArray AcknowledgementPayload("\x02\x06\x03", 3);
// A sixth character arriving right behind the fifth makes the answer no
// acknowledgement; two character times at 4800 baud tell.
constexpr std::chrono::microseconds SixthCharacterWait{4167};

// The rows' three columns, then a column for "Utiliser ce port".
constexpr int UseLeft = 3240;
constexpr int UseWidth = 1560;
constexpr int ClientWidth = UseLeft + UseWidth + 120;
const QString NotListedText =
    QStringLiteral("La liste « Port » de la configuration s'arrête à COM12: : attribuez ce périphérique à un numéro de "
                   "1 à 12 dans ports.conf.");

void setLabel(QLabel *label, const QString &text, bool green)
{
    label->setText(text);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, green ? QColor(0, 255, 0) : QColor(255, 255, 255));
    label->setPalette(pal);
}
} // namespace

DETECT::DETECT(WindowRegistry &registry, QWidget *parent)
    : QWidget(parent)
    , m_registry(registry)
{
    setObjectName(QStringLiteral("DETECT"));
    setWindowTitle(QStringLiteral(" Détection."));
    setFont(comicSans());
    fixClientTwips(this, ClientWidth, 3825);

    for (int k = 1; k <= Rows; ++k) {
        const int top = 120 + 240 * (k - 1);
        const struct
        {
            int index, left, width;
        } columns[] = {{k, 120, 735}, {k + Rows, 960, 735}, {k + 2 * Rows, 1800, 1400}};
        for (const auto &c : columns) {
            auto *label = new QLabel(this);
            label->setObjectName(QStringLiteral("Label1_%1").arg(c.index));
            label->setAutoFillBackground(true);
            placeTwips(label, c.left, top, c.width, 255);
            setLabel(label, QString(), false);
            m_labels[c.index] = label;
        }
        m_labels[k]->setText(QStringLiteral("COM%1:").arg(k));

        auto *use = new QPushButton(QStringLiteral("Utiliser ce port"), this);
        use->setObjectName(QStringLiteral("UTILISER_%1").arg(k));
        use->setStyleSheet(QStringLiteral("padding: 0px 4px;"));
        placeTwips(use, UseLeft, top, UseWidth, 255);
        use->hide();
        connect(use, &QPushButton::clicked, this, [this, k] { UTILISER_Click(k); });
        m_use[k] = use;
    }
    describePorts();

    Command1 = new QPushButton(QStringLiteral("Détection"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("Recherche des ports COMs disponibles et d'un chronomètre connecté."));
    QFont bold = font();
    bold.setBold(true);
    Command1->setFont(bold);
    Command1->setStyleSheet(QStringLiteral("background-color: #00ff00;"));
    placeTwips(Command1, 0, 3480, ClientWidth + 150, 375);
    connect(Command1, &QPushButton::clicked, this, &DETECT::Command1_Click);
}

// Every column of a row names the device behind its COM number.
void DETECT::describePorts()
{
    const QMap<int, QString> texts = portDescriptions(m_registry.services().ports);
    for (int k = 1; k <= Rows; ++k) {
        for (int column = 0; column < 3; ++column)
            m_labels[k + column * Rows]->setToolTip(texts.value(k));
    }
}

void DETECT::paintRow(int k, Row state)
{
    QLabel *port = m_labels[k];
    QLabel *status = m_labels[k + Rows];
    QLabel *device = m_labels[k + 2 * Rows];
    switch (state) {
    case Row::Cleared:
        setLabel(port, QStringLiteral("COM%1:").arg(k), false);
        setLabel(status, QString(), false);
        setLabel(device, QString(), false);
        m_use[k]->hide();
        return;
    case Row::Probing:
        setLabel(port, port->text(), true);
        setLabel(status, QStringLiteral("Absent."), false);
        setLabel(device, device->text(), false);
        return;
    case Row::Absent:
        setLabel(port, port->text(), false);
        setLabel(status, QStringLiteral("Absent."), false);
        setLabel(device, QStringLiteral("."), false);
        return;
    case Row::Free:
        setLabel(status, QStringLiteral("Libre."), true);
        return;
    case Row::Found: {
        setLabel(device, QStringLiteral(" KVL_TAC."), true);
        setLabel(port, port->text(), true);
        // The port list stops at COM12:.
        const bool listed = m_registry.configuration().list(LinkSetting::SEL_COM)->findText(port->text()) >= 0;
        m_use[k]->setEnabled(listed);
        m_use[k]->setToolTip(listed ? QStringLiteral("Choisit %1 dans la configuration et la valide.").arg(port->text())
                                    : NotListedText);
        m_use[k]->show();
        return;
    }
    case Row::Silent:
        setLabel(device, QStringLiteral("."), false);
        setLabel(port, port->text(), false);
        return;
    }
}

// Sends the probe; a panel answers exactly the five acknowledgement characters
// within the second. Anything else, or nothing, is no panel.
bool DETECT::probe()
{
    Exchange &exchange = m_registry.configuration().exchange();
    exchange.ENVOI_TRAME(QByteArrayLiteral("31"), QByteArrayLiteral("RRR"));
    const Exchange::Clock::time_point deadline = exchange.answerDeadline();
    while (!exchange.awaitAnswer({AnswerCondition::Exactly, AnswerSize}, deadline)) {
        // Characters come one by one: the count passes through five on its way
        // to six or more.
        if (!exchange.awaitAnswer({AnswerCondition::AtLeast, AnswerSize + 1},
                                  Exchange::Clock::now() + SixthCharacterWait))
            continue;
        if (exchange.port().lost())
            break;
        if (exchange.takeAnswer().endsWith(AcknowledgementPayload))
            return true;
    }
    exchange.takeAnswer();
    return false;
}

void DETECT::Command1_Click()
{
    CONFIGURATION &config = m_registry.configuration();
    SerialPort &port = config.MSComm1();
    Exchange::Scope busy(config.exchange());
    port.close();
    for (int k = 1; k <= Rows; ++k)
        paintRow(k, Row::Cleared);
    for (int k = 1; k <= Rows; ++k) {
        paintRow(k, Row::Probing);
        port.close();
        port.setCommPort(k);
        port.setSettings(QStringLiteral("4800,N,8,1"));
        if (!port.open()) {
            paintRow(k, Row::Absent);
        } else {
            paintRow(k, Row::Free);
            paintRow(k, probe() ? Row::Found : Row::Silent);
        }
        for (int column = 0; column < 3; ++column)
            m_labels[k + column * Rows]->repaint();
    }
    // The last port may stay open, but the user confirms the settings again.
    // A port that vanished while probed is told by its row, not by a message.
    config.setPortOpenFlag(false);
    port.clearLoss();
    describePorts();
}

void DETECT::UTILISER_Click(int k)
{
    CONFIGURATION &config = m_registry.configuration();
    QComboBox *com = config.list(LinkSetting::SEL_COM);
    const int item = com->findText(QStringLiteral("COM%1:").arg(k));
    if (item < 0)
        return;
    com->setCurrentIndex(item);
    // The settings in view while they are confirmed, as after loading a
    // configuration file; a success minimises them again.
    m_registry.showNormal(WindowId::Configuration);
    config.BOUTON_VALIDE->click();
}
