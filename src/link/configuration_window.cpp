#include "link/configuration_window.h"

#include "port/port_description.h"
#include "port/port_map.h"
#include "ui/messages.h"
#include "ui/twips.h"
#include "ui/window_registry.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

namespace {
struct ListPlace
{
    LinkSetting setting;
    const char *labelName;
    const char *caption;
    int labelLeft;
    int left;
    int top;
};

// Lists below the 1755-twip client area exist but are never in view.
const ListPlace places[] = {
    {LinkSetting::SEL_COM, "label_Port", " Port", 120, 1800, 120},
    {LinkSetting::SEL_INTER, "label_Interface", " Interface", 960, 2640, 3120},
    {LinkSetting::SEL_NBR_DIGI, "Label2", "Nombre de digits", 240, 1920, 3720},
    {LinkSetting::SEL_COUL, "Label3", "Couleur des digits", 120, 1800, 480},
    {LinkSetting::SEL_DCF77, "Label4", "Option DCF77", 240, 1920, 4440},
    {LinkSetting::SEL_REL1, "Label5", "Option Relais 1 et 2", 240, 1920, 4800},
    {LinkSetting::SEL_REL2, "Label6", "Option SCORE", 240, 1920, 5160},
    {LinkSetting::SEL_REP, "Label7", "Controle réponses", 120, 1800, 840},
};

constexpr int ClientWidth = 4620;
constexpr int ClientHeight = 1755;

const QString successText = QStringLiteral("Ouverture du port COM%1: effectuée avec succès.");
const QString failureText = QStringLiteral("L'ouverture du port COM%1 à échouée !");
} // namespace

// Defined here, beside the window it names, so that the registry stays below
// every window.
CONFIGURATION &WindowRegistry::configuration()
{
    return window<CONFIGURATION>(WindowId::Configuration);
}

CONFIGURATION::CONFIGURATION(WindowRegistry &registry, QWidget *parent)
    : QWidget(parent)
    , m_registry(registry)
    , m_port(registry.services().ports)
{
    setObjectName(QStringLiteral("CONFIGURATION"));
    setWindowTitle(QStringLiteral(" Configuration."));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFont(comicSans());
    fixClientTwips(this, ClientWidth, ClientHeight);

    buildLists();

    BOUTON_VALIDE = new QPushButton(QStringLiteral("Valider la configuration"), this);
    BOUTON_VALIDE->setObjectName(QStringLiteral("BOUTON_VALIDE"));
    placeTwips(BOUTON_VALIDE, 120, 1230, 4335, 375);
    QFont bold = font();
    bold.setBold(true);
    BOUTON_VALIDE->setFont(bold);
    BOUTON_VALIDE->setStyleSheet(QStringLiteral("background-color: #00ff00;"));
    connect(BOUTON_VALIDE, &QPushButton::clicked, this, &CONFIGURATION::OUVERTURE_DU_COM);

    connect(&m_exchange, &Exchange::busyChanged, this, [this](bool busy) {
        if (busy) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            return;
        }
        QGuiApplication::restoreOverrideCursor();
        if (m_port.lost())
            reportLostPort();
    });
}

// The device went away during an exchange (a cable or an adapter pulled
// out): the settings must be confirmed again before the next exchange.
void CONFIGURATION::setPortOpenFlag(bool open)
{
    m_portOpenFlag = open;
    emit portStateChanged();
}

void CONFIGURATION::reportLostPort()
{
    setPortOpenFlag(false);
    if (m_lossReported)
        return;
    m_lossReported = true;
    m_registry.services().messages.show(
        Messages::Icon::Critical,
        QStringLiteral("Le port COM%1 ne répond plus. Vérifiez le câble puis validez à nouveau la configuration.")
            .arg(m_port.commPort()));
}

void CONFIGURATION::buildLists()
{
    for (const ListPlace &place : places) {
        const LinkSettingList &list = linkSettingList(place.setting);
        auto *label = new QLabel(QString::fromUtf8(place.caption), this);
        label->setObjectName(QString::fromLatin1(place.labelName));
        placeTwips(label, place.labelLeft, place.top, place.left - place.labelLeft - 60, 315);

        auto *combo = new QComboBox(this);
        combo->setObjectName(list.name);
        combo->addItems(list.items);
        combo->setCurrentIndex(list.defaultIndex);
        placeTwips(combo, place.left, place.top, 2655, 315);
        // Out of view, only a configuration file may change it: no keys.
        if (place.top >= ClientHeight)
            combo->setFocusPolicy(Qt::NoFocus);
        m_lists[static_cast<int>(place.setting)] = combo;
    }
    describePorts();
    QComboBox *com = list(LinkSetting::SEL_COM);
    connect(com, &QComboBox::currentIndexChanged, this, &CONFIGURATION::describePorts);
    // The list's own tooltip, and its items' when the list opens.
    com->installEventFilter(this);
    com->view()->installEventFilter(this);
}

// The user sees which device stands behind each COM item, as the system
// reports it at the moment he looks: an adapter may have been plugged in since.
void CONFIGURATION::describePorts()
{
    QComboBox *com = list(LinkSetting::SEL_COM);
    const QMap<int, QString> texts = portDescriptions(m_registry.services().ports);
    for (int i = 0; i < com->count(); ++i)
        com->setItemData(i, texts.value(i + 1), Qt::ToolTipRole);
    com->setToolTip(com->currentData(Qt::ToolTipRole).toString());
}

bool CONFIGURATION::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip || event->type() == QEvent::Show)
        describePorts();
    return QWidget::eventFilter(watched, event);
}

QString CONFIGURATION::answerCheck() const
{
    return list(LinkSetting::SEL_REP)->currentText();
}

LinkPositions CONFIGURATION::positions() const
{
    LinkPositions result{};
    for (int i = 0; i < LinkSettingCount; ++i)
        result[i] = m_lists[i]->currentIndex();
    return result;
}

int CONFIGURATION::selectPositions(const QList<int> &positions)
{
    int applied = 0;
    for (; applied < positions.size() && applied < LinkSettingCount; ++applied) {
        QComboBox *combo = m_lists[applied];
        const int position = positions[applied];
        if (position < 0 || position >= combo->count())
            break;
        combo->setCurrentIndex(position);
    }
    return applied;
}

void CONFIGURATION::OUVERTURE_DU_COM()
{
    Messages &messages = m_registry.services().messages;
    int n = 1;
    const QString chosen = list(LinkSetting::SEL_COM)->currentText();
    for (int k = 1; k <= 12; ++k) {
        if (chosen == QStringLiteral("COM%1:").arg(k))
            n = k;
    }
    m_portOpenFlag = false;
    m_lossReported = false;
    m_port.close();
    m_port.setCommPort(n);
    m_port.setSettings(QStringLiteral("4800,N,8,1"));
    emit portStateChanged();
    if (!m_port.open()) {
        messages.show(Messages::Icon::Critical, failureText.arg(n));
        setPortOpenFlag(false);
        return;
    }
    messages.show(Messages::Icon::Information, successText.arg(n));
    setPortOpenFlag(true);
    m_registry.show(WindowId::Parameters);
    m_registry.minimize(WindowId::Configuration);
}
