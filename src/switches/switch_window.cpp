#include "switches/switch_window.h"

#include "link/configuration_window.h"
#include "link/pwsbase.h"
#include "panel/memory_grid.h"
#include "panel/request_bracket.h"
#include "panel/transfer.h"
#include "switches/switch_codec.h"
#include "ui/messages.h"
#include "ui/twips.h"
#include "ui/widget_kit.h"
#include "ui/window_registry.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace {
const QColor on(0, 255, 0);
const QColor off(255, 255, 255);
const QColor onMark(255, 192, 192);

// A lever drawn as the switch it stands for: no arrows, a thumb half the slot.
const QString leverStyle = QStringLiteral(
    "QScrollBar:vertical { background: white; border: 1px solid #404040; width: 12px; margin: 0; }"
    "QScrollBar::handle:vertical { background: #404040; min-height: 6px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; border: none; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }");

const QString noVariant = QStringLiteral("   --   ");
const QString readTip = QStringLiteral("Programmation des informations heure, jour, durée du relais 1 au panneau.");

// The grid is never in view: it lies beyond the right edge. No "Charger…":
// this window never sends its grid, and its next read would replace a backup
// put into it, so restoring from here could only mislead.
const GridPlacement gridPlacement{
    6480, 480, 600, {6480, 8880, 9840, 11280, 13200}, 3600,
    "24C01  (128octets)    -24C01  (128octets)    -24C01  (128octets)    "
    "-24C01  (128octets)    -24C01  (128octets)  "};

const char *const sw3Captions[SW::Switches] = {
    "DIP1 Nbr digit  (Voir doc.)", "DIP2 Nbr digit  (Voir doc.)", "DIP3 Nbr digit  (Voir doc.)",
    "DIP4 Valeur négative",        "DIP5 RAZ automatique",        "DIP6 Zéro de tête",
    "DIP7 Report de visu",         "DIP8 Test de l'affichage"};
const char *const sw2Captions[SW::Switches] = {
    "DIP1 Anti-rebond",           "DIP2 Signal actif",          "DIP3 Luminosité (voir Doc)",
    "DIP4 Luminosité (voir Doc)", "DIP5 Point décimal (voir Doc)", "DIP6 Point décimal (voir Doc)",
    "DIP7 Point décimal (voir Doc)", "DIP8 Point décimal (voir Doc)"};

// Frame and caption column of a bank (twips); the levers sit inside the frame.
constexpr int FrameTop = 0;
constexpr int FrameWidth = 2250;
constexpr int FrameHeight = 1365;
constexpr int LeverLeft = 150;
constexpr int LeverPitch = 240;
constexpr int CaptionTop = 1425;
constexpr int CaptionPitch = 240;

} // namespace

struct SW::BankLayout
{
    const char *frameName;
    const char *caption;
    int left;
    const char *leverName;
    const char *captionName;
    const char *const *captions;
    const char *onLabel;
    const char *numberLabel;
};

SW::SW(WindowRegistry &registry, QWidget *parent)
    : QWidget(parent)
    , m_registry(registry)
{
    setObjectName(QStringLiteral("SW"));
    setWindowTitle(QStringLiteral(" Lecture de la configuration des microswitches."));
    setFont(comicSans());
    fixClientTwips(this, 4800, 4425);

    buildBank(m_sw2, {"Frame2", "SW2", 120, "SW2", "Text2", sw2Captions, "Label3", "Label4"});
    buildBank(m_sw3, {"Frame1", "SW3", 2430, "SW1", "Text3", sw3Captions, "Label2", "Label1"});

    Label30 = makeLabel(this, QStringLiteral("Label30"), QString(), {120, 3405, 4560, 270});
    Label30->setAlignment(Qt::AlignCenter);

    LIT_SW = makeButton(this, "LIT_SW", QStringLiteral("Lire la position des microswitches"), {120, 3750, 4560, 495},
                        readTip);
    connect(LIT_SW, &QPushButton::clicked, this, &SW::LIT_SW_Click);

    m_grid = new MemoryGrid(this, m_image, gridPlacement, registry.services());
    connect(m_grid->but_RD, &QPushButton::clicked, this, &SW::but_RD_Click);

    ENVOI_SW = makeButton(this, "ENVOI_SW", QStringLiteral("Envoi"), {6480, 4080, 1215, 375}, readTip);
}

void SW::buildBank(Bank &bank, const BankLayout &layout)
{
    bank.frame = makeFrame(this, layout.frameName, QString::fromLatin1(layout.caption),
                           {layout.left, FrameTop, FrameWidth, FrameHeight});

    QLabel *onLabel =
        makeLabel(bank.frame, QString::fromLatin1(layout.onLabel), QStringLiteral("ON"), {LeverLeft - 30, 330, 375, 210});
    onLabel->setAlignment(Qt::AlignCenter);
    setLabelColour(onLabel, onMark);

    QFont small = font();
    small.setPointSize(7);
    for (int i = 0; i < Switches; ++i) {
        auto *lever = new QScrollBar(Qt::Vertical, bank.frame);
        lever->setObjectName(memberName(layout.leverName, i));
        lever->setRange(0, 1);
        lever->setPageStep(1);
        lever->setValue(1);
        lever->setStyleSheet(leverStyle);
        placeTwips(lever, LeverLeft + i * LeverPitch, 555, 195, 510);
        connect(lever, &QScrollBar::valueChanged, this, [this, &bank, i] { leverChanged(bank, i); });
        bank.levers[i] = lever;

        QLineEdit *caption = makeCaptionBox(this, memberName(layout.captionName, i),
                                            QString::fromUtf8(layout.captions[i]) + QStringLiteral("\r\n"),
                                            {layout.left, CaptionTop + i * CaptionPitch, FrameWidth, CaptionPitch});
        caption->setFont(small);
        caption->setCursor(Qt::ArrowCursor);
        setBoxColour(caption, off);
        onClick(caption, [this, &bank, i] { captionClicked(bank, i); });
        bank.captions[i] = caption;
    }

    makeLabel(bank.frame, QString::fromLatin1(layout.numberLabel), QStringLiteral("1   2  3  4  5  6  7  8"),
              {LeverLeft + 15, 1080, FrameWidth - LeverLeft, 255});
}

QLineEdit *SW::Text3(int index) const
{
    return m_sw3.captions.at(index);
}

QLineEdit *SW::Text2(int index) const
{
    return m_sw2.captions.at(index);
}

bool SW::LIT_24C01()
{
    return ::LIT_24C01(m_registry.configuration().exchange(), m_image, SwitchesTransfer);
}

void SW::SW1_Change(int index)
{
    leverChanged(m_sw3, index);
}

void SW::SW2_Change(int index)
{
    leverChanged(m_sw2, index);
}

void SW::Text3_Click(int index)
{
    captionClicked(m_sw3, index);
}

void SW::Text2_Click(int index)
{
    captionClicked(m_sw2, index);
}

void SW::leverChanged(Bank &bank, int index)
{
    setBoxColour(bank.captions.at(index), bank.levers.at(index)->value() == 0 ? on : off);
}

void SW::captionClicked(Bank &bank, int index)
{
    QLineEdit *caption = bank.captions.at(index);
    const QColor colour = boxColour(caption);
    if (colour != on && colour != off)
        return;
    const bool nowOn = colour == off;
    setBoxColour(caption, nowOn ? on : off);
    bank.levers.at(index)->setValue(nowOn ? 0 : 1);
}

void SW::showAllOff()
{
    Label30->setText(noVariant);
    Label30->repaint();
    for (int i = 0; i < Switches; ++i) {
        for (Bank *bank : {&m_sw2, &m_sw3}) {
            bank->levers[i]->setValue(1);
            leverChanged(*bank, i);
            setBoxColour(bank->captions[i], off);
            bank->captions[i]->repaint();
        }
    }
}

void SW::showReading(const SwitchReading &reading)
{
    for (int i = 0; i < Switches; ++i)
        m_sw3.levers[i]->setValue(reading.sw3[i] ? 0 : 1);
    for (int i = 0; i < Switches; ++i)
        m_sw2.levers[i]->setValue(reading.sw2[i] ? 0 : 1);
    if (reading.variant == CardVariant::ThreeColour)
        Label30->setText(QStringLiteral("KVL trois couleurs."));
    else if (reading.variant == CardVariant::OneColour)
        Label30->setText(QStringLiteral("KVL une couleur.   "));
}

void SW::LIT_SW_Click()
{
    if (!PORT_OUVERT(m_registry))
        return;
    showAllOff();

    CONFIGURATION &config = m_registry.configuration();
    readUnderRequest(config.exchange(), m_image, SwitchesTransfer, config.answerCheck(),
                     m_registry.services().messages,
                     [this] { showReading(DECODE_SW(m_image.value(74), m_image.value(75), m_image.value(76))); });
}

void SW::but_RD_Click()
{
    rawRead(m_registry, m_image, SwitchesTransfer);
}
