#include "params/parameter_window.h"

#include "link/configuration_window.h"
#include "link/pwsbase.h"
#include "panel/exchange.h"
#include "ui/change_views.h"
#include "ui/messages.h"
#include "ui/window_registry.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QRadioButton>

namespace {

constexpr int FirstOwnAddress = 99;
const QString DiscardQuestion =
    QStringLiteral("Les réglages modifiés n'ont pas été programmés. Fermer quand même ?");

// What a fresh editor would program: the reference while nothing is known of
// the panel.
const MemoryBytes &startUpCard()
{
    static const MemoryBytes card = withEditorState({}, EditorState{}).value_or(MemoryBytes{});
    return card;
}

} // namespace

std::optional<MemoryBytes> dump_24c01::knownPanel()
{
    auto *config = qobject_cast<CONFIGURATION *>(m_registry.loaded(WindowId::Configuration));
    if (!config)
        return std::nullopt;
    const Exchange &x = config->exchange();
    if (!x.record().covers(x.session(), ParameterBlockFirst, ParameterBlockSize))
        return std::nullopt;
    return x.record().known(x.session());
}

// The card as the parameter write would leave it: the block encoded over the
// panel's, and its own bytes past the block as the write sends them (the
// panel's own, unless the cells were read from this very panel).
MemoryBytes dump_24c01::cardAfterWrite(const MemoryBytes &panel, quint32 coefficient, bool freshRead)
{
    MemoryBytes card = withParameters(panel, parametersToSend(state(), coefficient));
    const bool panelsOwn = freshRead || m_imageSession != exchange().session();
    for (int a = FirstOwnAddress; a < MemoryImage::Size; ++a) {
        const QString cell = m_image.text(a);
        card[a] = !panelsOwn && holdsValidByte(cell) ? std::optional<quint8>(quint8(hexPrefixValue(cell))) : panel[a];
    }
    return card;
}

QList<SettingChange> dump_24c01::unsentChanges()
{
    const std::optional<MemoryBytes> panel = knownPanel();
    const MemoryBytes &reference = panel ? *panel : startUpCard();
    const EditorState now = state();
    const std::optional<MemoryBytes> card = withEditorState(reference, now);
    // A distance that gives no coefficient: the one Text4 holds is compared.
    return parameterChanges(reference, card ? *card
                                            : withParameters(reference, parametersToSend(now, coefficientFromText(
                                                                                                Text4->text())
                                                                                                .value_or(0))));
}

// Settings read from this panel in this opening, or read before the port was
// confirmed again from a card that still holds the same bytes.
bool dump_24c01::readFromThisPanel(const MemoryBytes &panel)
{
    if (m_origin.kind != Origin::Panel)
        return false;
    if (m_origin.session == exchange().session())
        return true;
    for (int a = ParameterBlockFirst; a < MemoryImage::Size; ++a) {
        if (m_origin.bytes[a] != panel[a])
            return false;
    }
    return true;
}

// A write of settings not read from this panel shows first what it changes.
bool dump_24c01::confirmWrite(const MemoryBytes &panel, quint32 coefficient, bool freshRead)
{
    if (readFromThisPanel(panel))
        return true;
    const MemoryBytes after = cardAfterWrite(panel, coefficient, freshRead);
    const QList<SettingChange> changes = cardChanges(panel, after);
    if (changes.isEmpty())
        return true;
    ChangesRequest request;
    request.title = QStringLiteral("Modifications à programmer");
    request.lead = QStringLiteral("Le panneau sur COM%1 va changer :").arg(exchange().port().commPort());
    request.rows = changeRows(changes);
    request.accept = QStringLiteral("Programmer");
    return m_registry.services().changes.show(request).has_value();
}

void dump_24c01::compareWithPanel()
{
    std::optional<MemoryBytes> panel = knownPanel();
    if (!panel) {
        if (!PORT_OUVERT(m_registry))
            return;
        {
            Exchange::Scope busy(exchange());
            MemoryImage separate; // the editor's cells and controls stay as they are
            ::LIT_24C01(exchange(), separate, EditorTransfer);
        }
        panel = knownPanel();
        if (!panel) {
            if (!exchange().port().lost())
                messages().show(Messages::Icon::Exclamation,
                                QStringLiteral("La mémoire du panneau sur COM%1 n'a pas pu être lue. Vérifiez la "
                                               "liaison puis recommencez.")
                                    .arg(exchange().port().commPort()));
            return;
        }
    }
    const quint32 coefficient =
        coefficientToSend(state()).value_or(coefficientFromText(Text4->text()).value_or(0));
    const MemoryBytes after = cardAfterWrite(*panel, coefficient, false);
    ChangesRequest request;
    request.title = QStringLiteral("Comparer avec le panneau");
    request.lead = QStringLiteral("Ce que « Programme les paramètres » changerait sur le panneau sur COM%1 :")
                       .arg(exchange().port().commPort());
    request.rows = changeRows(cardChanges(*panel, after));
    m_registry.services().changes.show(request);
}

bool dump_24c01::loadSettings(const EditorSettings &file, const QString &name)
{
    const std::optional<MemoryBytes> panel = knownPanel();
    if (!panel) {
        applySettings(file);
        m_origin = {Origin::File, -1, {}};
        return true;
    }
    const EditorState fileState{file, coefficientSourceOf(file), {}};
    const MemoryBytes after = withEditorState(*panel, fileState)
                                  .value_or(withParameters(*panel, parametersToSend(fileState, file.parameters.coefficient)));
    const QList<SettingChange> changes = parameterChanges(*panel, after);
    ChangesRequest request;
    request.title = QStringLiteral("Charger des paramètres");
    request.lead = QStringLiteral("Réglages du fichier %1 qui diffèrent du panneau sur COM%2. Les réglages cochés "
                                  "sont mis dans l'éditeur ; rien n'est envoyé au panneau.")
                       .arg(name)
                       .arg(exchange().port().commPort());
    request.toHeading = QStringLiteral("Fichier");
    request.rows = changeRows(changes);
    request.checkable = true;
    request.accept = QStringLiteral("Appliquer");
    const std::optional<QList<bool>> taken = m_registry.services().changes.show(request);
    if (!taken)
        return false;
    QList<int> settings;
    for (qsizetype i = 0; i < changes.size() && i < taken->size(); ++i) {
        if (taken->at(i))
            settings.append(changes[i].setting);
    }
    takeFromFile(file, settings);
    return true;
}

// The editor keeps its own value wherever a row was left, down to what it
// keeps beside the value: the coefficient's source, a limit stored as 0.
void dump_24c01::takeFromFile(const EditorSettings &file, const QList<int> &settings)
{
    EditorSettings merged = currentSettings();
    takeSettings(merged, file, settings);
    const std::optional<CoefficientSource> source = m_coefficientSource;
    const std::array<bool, 5> zeroLimits = m_zeroLimit;
    applySettings(merged);
    if (!settings.contains(coefficientSetting()))
        m_coefficientSource = source;
    for (int i = 0; i < 5; ++i)
        m_zeroLimit[i] = zeroLimits[i] && !settings.contains(rangeLimitSetting(i));
    emit settingsChanged();
}

bool dump_24c01::mayDiscardEdits()
{
    return unsentChanges().isEmpty()
        || messages().askYesNo(Messages::Icon::Exclamation, DiscardQuestion) == Messages::Answer::Yes;
}

void dump_24c01::closeEvent(QCloseEvent *event)
{
    if (mayDiscardEdits())
        event->accept();
    else
        event->ignore();
}

// Every control a setting is shown in tells when it changes.
void dump_24c01::watchEdits()
{
    for (QAbstractSlider *slider : findChildren<QAbstractSlider *>())
        connect(slider, &QAbstractSlider::valueChanged, this, &dump_24c01::settingsChanged);
    for (QRadioButton *option : findChildren<QRadioButton *>())
        connect(option, &QRadioButton::toggled, this, &dump_24c01::settingsChanged);
    for (QCheckBox *check : {Check1, Check2})
        connect(check, &QCheckBox::stateChanged, this, &dump_24c01::settingsChanged);
    for (QLineEdit *text : {Dimpulse, etalon, Text4})
        connect(text, &QLineEdit::textChanged, this, &dump_24c01::settingsChanged);
}
