#include "luminosity/luminosity_window.h"

#include "link/configuration_window.h"
#include "link/pwsbase.h"
#include "luminosity/luminosity_codec.h"
#include "panel/memory_grid.h"
#include "panel/report.h"
#include "panel/request_bracket.h"
#include "ui/messages.h"
#include "ui/twips.h"
#include "ui/widget_kit.h"
#include "ui/window_registry.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {
const QByteArray prefix = QByteArrayLiteral("_31");

constexpr int ModeAddress = 60;
constexpr int PeriodAddress = 61;
constexpr int ThresholdAddress = 62;

// Columns E and F and but_WR lie beyond the right edge: "Charger…" and a
// second "Envoi" take the free row under the grid's buttons, so that a backup
// (the only one holding bytes 0 to 63) can be put back from this window.
const GridPlacement gridPlacement{2760,
                                  480,
                                  600,
                                  {2760, 5160, 6120, 7560, 9480},
                                  3600,
                                  "24C01  (128octets)  ",
                                  GridPlacement::Spot{2760, 4080},
                                  GridPlacement::Spot{3840, 4080}};

// Top to bottom: the fixed levels, then the sensor.
constexpr int OptionOrder[LUM::Modes] = {1, 2, 3, 4, 5, 6, 0};
const char *const OptionCaptions[LUM::Modes] = {"Capteur", "100%", "80%", "60%", "50%", "40%", "20%"};

constexpr int ColumnLeft = 120;
constexpr int ColumnWidth = 2040;

QLineEdit *captionBox(QWidget *parent, const char *name, const QString &text, const QString &tip, int top)
{
    QLineEdit *box = makeCaptionBox(parent, QString::fromLatin1(name), text, {ColumnLeft, top, ColumnWidth, 285}, tip);
    box->setAlignment(Qt::AlignCenter);
    QFont small = parent->font();
    small.setPointSize(7);
    box->setFont(small);
    return box;
}

QSlider *slider(QWidget *parent, const char *name, int minimum, int maximum, int value, const QString &tip, int top)
{
    QSlider *s = makeSlider(parent, name, minimum, maximum, value, {ColumnLeft, top, ColumnWidth, 285});
    s->setTickPosition(QSlider::NoTicks);
    s->setPageStep(10);
    s->setToolTip(tip);
    return s;
}
} // namespace

LUM::LUM(WindowRegistry &registry, QWidget *parent)
    : QWidget(parent)
    , m_registry(registry)
{
    setObjectName(QStringLiteral("LUM"));
    setWindowTitle(QStringLiteral(" Luminosité."));
    setFont(comicSans());
    fixClientTwips(this, 9315, 5760);

    buildSettings();

    m_grid = new MemoryGrid(this, m_image, gridPlacement, registry.services());
    connect(m_grid->but_RD, &QPushButton::clicked, this, &LUM::but_RD_Click);
    connect(m_grid->but_WR, &QPushButton::clicked, this, &LUM::but_WR_Click);
    connect(m_grid->but_edit, &QPushButton::clicked, m_grid, &MemoryGrid::but_edit_Click);
    connect(m_grid->but_lin, &QPushButton::clicked, m_grid, &MemoryGrid::but_lin_Click);

    Extension = makeButton(this, "Extension", QStringLiteral("Férmer l'extension."), {ColumnLeft, 5100, 9075, 495},
                           QStringLiteral("Voir le flux de la centrale et ajuster la fréquence de lecture de celui-ci."));
}

void LUM::buildSettings()
{
    m_group = new QButtonGroup(this);
    for (int row = 0; row < Modes; ++row) {
        const int index = OptionOrder[row];
        QRadioButton *option = makeOption(this, memberName("Option1", index), QString::fromLatin1(OptionCaptions[index]),
                                          {ColumnLeft + 120, 120 + row * 300, ColumnWidth - 120, 285});
        m_group->addButton(option, index);
        m_options[index] = option;
    }
    m_options[1]->setChecked(true);

    Text4 = captionBox(this, "Text4", QStringLiteral("Commutation JOUR/NUIT"),
                       QStringLiteral("Seuil de commutation jour/nuit avec 0=Jour. 15=Nuit(4 par défaut)"), 2250);
    COMP_LDR = slider(this, "COMP_LDR", 0, MaxThreshold, 4, QStringLiteral("0=Jour. 15=Nuit(4 par défaut)"), 2565);
    m_text5 = captionBox(this, "Text5_1", QStringLiteral("Fréquence de Commutation"),
                         QStringLiteral("Fréquence de Commutation sur les 4 mesures de luminosité précédentes."), 2925);
    DURE_LDR = slider(this, "DURE_LDR", 1, 128, 5, QStringLiteral("de 1 à 128 secondes (5sec par défaut)"), 3240);

    but_LIT_LUM = makeButton(this, "but_LIT_LUM", QStringLiteral("Lit"), {ColumnLeft, 3630, ColumnWidth / 2 - 30, 375},
                             QStringLiteral("Lecture des paramètres de luminosité."));
    connect(but_LIT_LUM, &QPushButton::clicked, this, &LUM::but_LIT_LUM_Click);
    but_ECRIT_LUM = makeButton(this, "but_ECRIT_LUM", QStringLiteral("Envoi"),
                               {ColumnLeft + ColumnWidth / 2 + 30, 3630, ColumnWidth / 2 - 30, 375},
                               QStringLiteral("Programmation des paramètres de luminosité."));
    connect(but_ECRIT_LUM, &QPushButton::clicked, this, &LUM::but_ECRIT_LUM_Click);
}

bool LUM::LIT_24C01()
{
    return ::LIT_24C01(m_registry.configuration().exchange(), m_image, LuminosityTransfer);
}

WriteOutcome LUM::ECRIT_24C01()
{
    return writeBackedUp(m_registry.configuration().exchange(), m_image, LuminosityTransfer,
                         backupTarget(m_registry, objectName()));
}

std::optional<int> LUM::selectedMode() const
{
    const int id = m_group->checkedId();
    return id >= 0 ? std::optional<int>(id) : std::nullopt;
}

// An exclusive group keeps its checked button; it lets go only while not exclusive.
void LUM::selectMode(std::optional<int> mode)
{
    m_group->setExclusive(false);
    for (QRadioButton *option : m_options)
        option->setChecked(false);
    m_group->setExclusive(true);
    if (mode && *mode >= 0 && *mode < Modes)
        m_options[*mode]->setChecked(true);
}

std::optional<quint32> LUM::showImageSettings()
{
    const LuminositySettings settings =
        DECODE_LUM(m_image.value(ModeAddress), m_image.value(PeriodAddress), m_image.value(ThresholdAddress));
    DURE_LDR->setValue(int(qMin(settings.period, quint32(DURE_LDR->maximum()))));
    COMP_LDR->setValue(int(qMin(settings.threshold, quint32(MaxThreshold))));
    selectMode(settings.mode);
    if (settings.threshold > MaxThreshold)
        return settings.threshold;
    return std::nullopt;
}

void LUM::encodeIntoImage()
{
    const LuminosityCells cells = ENCODE_LUM(selectedMode(), DURE_LDR->value(), COMP_LDR->value());
    if (cells.cell60)
        m_image.setText(ModeAddress, *cells.cell60);
    m_image.setText(PeriodAddress, cells.cell61);
    m_image.setText(ThresholdAddress, cells.cell62);
}

void LUM::but_LIT_LUM_Click()
{
    if (!PORT_OUVERT(m_registry))
        return;
    selectMode(std::nullopt);
    DURE_LDR->setValue(1);
    COMP_LDR->setValue(1);

    CONFIGURATION &config = m_registry.configuration();
    const QString answerCheck = config.answerCheck();
    Messages &messages = m_registry.services().messages;
    std::optional<quint32> thresholdRead;
    const bool read = readUnderRequest(config.exchange(), m_image, LuminosityTransfer, answerCheck, messages,
                                       [&] { thresholdRead = showImageSettings(); });
    if (read && thresholdRead && answerCheck != QLatin1String("NON"))
        messages.show(Messages::Icon::Exclamation,
                      outOfRangeText({outOfRangeEntry(QStringLiteral("Commutation JOUR/NUIT"),
                                                      QString::number(*thresholdRead), QString::number(MaxThreshold))}));
}

// The whole image is read first so that the bytes this window does not set go
// back unchanged. Without that read, or with a byte the panel cannot be sent,
// nothing is written; the panel is still let out of the transaction.
void LUM::but_ECRIT_LUM_Click()
{
    if (!PORT_OUVERT(m_registry))
        return;
    CONFIGURATION &config = m_registry.configuration();
    Exchange &exchange = config.exchange();
    const QString answerCheck = config.answerCheck();
    bool readTimedOut = false;
    WriteOutcome written;
    {
        Exchange::Scope busy(exchange);
        openRequest(exchange);
        exchange.PAUSE(0.5);
        readTimedOut = LIT_24C01();
        if (!readTimedOut) {
            encodeIntoImage();
            exchange.PAUSE(0.5);
            written = ECRIT_24C01();
        }
        if (!readTimedOut && !written.refused()) {
            exchange.ENVOI_TRAME(prefix, QByteArrayLiteral("OOO"));
            exchange.PAUSE(0.5);
            exchange.ENVOI_TRAME(prefix, QByteArrayLiteral("LLL"));
        }
        closeRequest(exchange);
    }
    // A read that failed is told as a failed write: nothing was sent.
    written.timedOut = written.timedOut || readTimedOut;
    reportWriteEnd(exchange, m_registry.services().messages, answerCheck, written);
}

void LUM::but_RD_Click()
{
    rawRead(m_registry, m_image, LuminosityTransfer);
}

void LUM::but_WR_Click()
{
    rawWrite(m_registry, m_image, LuminosityTransfer, objectName());
}
