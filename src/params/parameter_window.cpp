#include "params/parameter_window.h"

#include "panel/memory_grid.h"
#include "params/editor_settings.h"
#include "ui/twips.h"
#include "ui/window_registry.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

// The editor's window: its tab strip and views, and what it shows as a whole.

namespace {

struct TabPlace
{
    int left, top, width;
    const char *label;
    const char *caption;
};

// Indexed as the pages: the labels stand in two rows, not in index order.
constexpr TabPlace Tabs[] = {
    {60, 60, 1515, "Affichage ", "Affichage : "},
    {1620, 60, 1875, "Étalonnage", "Étalonnage : "},
    {1620, 360, 3975, "Plage couleur et luminosité", "Plage couleur et luminosité"},
    {60, 360, 1515, "Relais", "Relais : "},
    {3540, 60, 2055, "Lire vitesse", "Lire Vitesse instannée et maximum : "},
};

// "Charger…" goes under "Envoi", the wide view having no room beside it.
const GridPlacement EditorGrid{
    7800, 360, 480, {7800, 9600, 10680, 11400, 12720}, 3360, "24C01  (128octets)  ", GridPlacement::Spot{12720, 3840}};

} // namespace

dump_24c01::dump_24c01(WindowRegistry &registry, QWidget *parent)
    : QWidget(parent)
    , m_registry(registry)
{
    setObjectName(QStringLiteral("dump_24c01"));
    setWindowTitle(QStringLiteral(" Paramètres."));
    QFont font = comicSans();
    font.setPointSize(8);
    setFont(font);

    buildTabStrip();

    auto *read = makeButton(this, "but_lit_para", QStringLiteral("Lire les paramètres"), {60, 4380, 2775, 375});
    read->setToolTip(QStringLiteral("Lecture des paramètres du calculateur."));
    connect(read, &QPushButton::clicked, this, &dump_24c01::but_lit_para_Click);
    auto *write =
        makeButton(this, "but_ecrit_para", QStringLiteral("Programme les paramètres"), {2820, 4380, 2835, 375});
    write->setToolTip(QStringLiteral("Programme les paramètres du calculateur."));
    connect(write, &QPushButton::clicked, this, &dump_24c01::but_ecrit_para_Click);

    Command2 = makeButton(this, "Command2", QString(), {5640, 0, 255, 4755});
    Command2->setToolTip(QStringLiteral("Section non documentée."));
    Command2->setStyleSheet(QStringLiteral("background-color: white;"));
    connect(Command2, &QPushButton::clicked, this, &dump_24c01::Command2_Click);

    buildWideView();
    Form_Load();
    setClientTwips(CompactWidth, CompactHeight);
    watchEdits();
}

void dump_24c01::buildTabStrip()
{
    for (int i = 0; i < 5; ++i) {
        const TabPlace &tab = Tabs[i];
        QLabel *label = makeLabel(this, memberName("BP_ONGLET_", i), QString::fromUtf8(tab.label),
                                  {tab.left, tab.top, tab.width, 285});
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Box);
        setLabelColour(label, EditorColour::White);
        onClick(label, [this, i] { BP_ONGLET_Click(i); });
        BP_ONGLET_[i] = label;

        const QByteArray name = memberName("ONGLET", i).toLatin1();
        ONGLET[i] = makeFrame(this, name.constData(), QString::fromUtf8(tab.caption), {60, 660, 5595, 3675});
    }
    buildDisplayPage(ONGLET[0]);
    buildCalibrationPage(ONGLET[1]);
    buildColourPage(ONGLET[2]);
    buildRelayPage(ONGLET[3]);
    buildSpeedPage(ONGLET[4]);
    for (int i = 1; i <= 6; ++i) {
        onClick(COULE[i], [this, i] { COULE_Click(i); });
        connect(COULE[i], &QLineEdit::textChanged, this, [this, i] { COULE_Change(i); });
    }
    for (int i = 1; i <= 5; ++i)
        connect(HScroll1[i], &QScrollBar::valueChanged, this, [this, i] { HScroll1_Change(i); });
}

void dump_24c01::BP_ONGLET_Click(int index)
{
    for (int i = 0; i < 5; ++i) {
        setLabelColour(BP_ONGLET_[i], EditorColour::White);
        ONGLET[i]->hide();
    }
    setLabelColour(BP_ONGLET_[index], EditorColour::Green);
    ONGLET[index]->show();
}

void dump_24c01::buildWideView()
{
    Command1 = makeButton(this, "Command1", QStringLiteral("Command1"), {5940, 3360, 1260, 375});
    connect(Command1, &QPushButton::clicked, this, &dump_24c01::Command1_Click);

    m_grid = new MemoryGrid(this, m_image, EditorGrid, m_registry.services());
    connect(m_grid->but_RD, &QPushButton::clicked, this, &dump_24c01::but_RD_Click);
    connect(m_grid->but_edit, &QPushButton::clicked, m_grid, &MemoryGrid::but_edit_Click);
    connect(m_grid->but_lin, &QPushButton::clicked, m_grid, &MemoryGrid::but_lin_Click);
    connect(m_grid->but_WR, &QPushButton::clicked, this, &dump_24c01::but_WR_Click);

    Extension = makeButton(this, "Extension", QStringLiteral("Férmer l'extension."), {5940, 3840, 6720, 375});
    Extension->setToolTip(
        QStringLiteral("Voir le flux de la centrale et ajuster la fréquence de lecture de celui-ci."));
    connect(Extension, &QPushButton::clicked, this, &dump_24c01::Extension_Click);
    CALCUL = makeButton(this, "CALCUL", QStringLiteral("CALCUL"), {5940, 4320, 7755, 375});
    connect(CALCUL, &QPushButton::clicked, this, &dump_24c01::CALCUL_Click);

    buildCalibrationTable();

    // Below the wide view's height: the window never shows them (a little
    // lower than 6000, so that not even their top edge peeps out).
    texcoef = makeTextBox(this, QStringLiteral("texcoef"), QString(), {60, 6060, 1335, 285});
    Text5 = makeTextBox(this, QStringLiteral("Text5"), QString(), {1440, 6060, 1335, 285});
    HScroll3 = makeScrollBar(this, QStringLiteral("HScroll3"), 1, 20, 2, {8220, 7500, 2415, 255});
    connect(HScroll3, &QScrollBar::valueChanged, this, &dump_24c01::HScroll3_Change);
    RAFR_AFF = makeTextBox(this, QStringLiteral("RAFR_AFF"),
                           QStringLiteral("3- Affichage rafraîchi 5,69 fois par secondes."), {6960, 8100, 4935, 285});
    RAFR_AFF->setToolTip(QStringLiteral("Utiliser la glissière horizontale pour le réglage.."));
}

void dump_24c01::Form_Load()
{
    for (int i = 1; i <= 4; ++i)
        HScroll1_Change(i);
    BP_ONGLET_Click(0);
}

// The user cannot resize the window; its frame follows the client area.
void dump_24c01::setClientTwips(int width, int height)
{
    fixClientTwips(this, width, height);
    fitFrameToClient(this);
}

void dump_24c01::Command2_Click()
{
    m_wide = true;
    setClientTwips(WideWidth, WideHeight);
}

void dump_24c01::Extension_Click()
{
    m_wide = false;
    setClientTwips(CompactWidth, CompactHeight);
}

// What a read resets before its transfer, so that a failed one can put it back.
dump_24c01::Choices dump_24c01::currentChoices() const
{
    Choices choices;
    for (int i = 1; i <= 5; ++i)
        choices.colours[i - 1] = boxColour(COULE[i]);
    const OptionGroup *groups[] = {&Option1, &NB_DIGIT, &DECI_ENT, &AFF_TYPE, &RAZ_TYPE, &SUPRESS};
    for (std::size_t g = 0; g < choices.groups.size(); ++g)
        choices.groups[g] = groups[g]->selected();
    return choices;
}

void dump_24c01::restoreChoices(const Choices &choices)
{
    for (int i = 1; i <= 5; ++i)
        setBoxColour(COULE[i], choices.colours[i - 1]);
    OptionGroup *groups[] = {&Option1, &NB_DIGIT, &DECI_ENT, &AFF_TYPE, &RAZ_TYPE, &SUPRESS};
    for (std::size_t g = 0; g < choices.groups.size(); ++g) {
        if (choices.groups[g])
            groups[g]->select(*choices.groups[g]);
        else
            groups[g]->clear();
    }
}

// Before a read: the range colours back to the third colour, and no choice
// left in the groups the card's bytes decide.
void dump_24c01::resetBeforeRead()
{
    for (int i = 1; i <= 5; ++i)
        setBoxColour(COULE[i], EditorColour::Orange);
    for (OptionGroup *group : {&Option1, &NB_DIGIT, &DECI_ENT, &AFF_TYPE, &RAZ_TYPE, &SUPRESS})
        group->clear();
}

void dump_24c01::showBlankCard()
{
    m_zeroLimit = {};
    for (int i = 1; i <= 5; ++i) {
        HScroll1[i]->setValue(1);
        setBoxColour(COULE[i], EditorColour::Orange);
    }
}

// A field without a recognised value leaves its control as it is.
void dump_24c01::showParameters(const DecodedParameters &decoded)
{
    m_zeroLimit = decoded.zeroLimits;
    showColours(decoded.parameters);
    showRelays(decoded.parameters);
    showCalibration(decoded);
    showDisplay(decoded.parameters);
}

JEU_PARAMETRES dump_24c01::enteredParameters(quint32 coefficient) const
{
    JEU_PARAMETRES p;
    enterColours(p);
    enterRelays(p);
    enterCalibration(p, coefficient);
    enterDisplay(p);
    return p;
}

EditorSettings dump_24c01::currentSettings() const
{
    EditorSettings settings;
    settings.parameters = enteredParameters(coefficientFromText(Text4->text()).value_or(0));
    settings.dimpulse = Dimpulse->text();
    settings.etalon = etalon->text();
    settings.coefficient = Text4->text();
    return settings;
}

// As a read shows a card, then the texts the write computes the coefficient
// from; a group the settings leave without a choice is left without one.
void dump_24c01::applySettings(const EditorSettings &settings)
{
    const JEU_PARAMETRES &p = settings.parameters;
    etalon->setText(settings.etalon);
    showParameters({p, (QStringLiteral("0000000") + hexText(p.coefficient)).right(8), settings.coefficient, {}});
    Dimpulse->setText(settings.dimpulse);
    m_coefficientSource = coefficientSourceOf(settings);
    emit settingsChanged();
    if (!p.luminosity)
        Option1.clear();
    if (!p.digits)
        NB_DIGIT.clear();
}

EditorState dump_24c01::state() const
{
    return {currentSettings(), m_coefficientSource, m_zeroLimit};
}
