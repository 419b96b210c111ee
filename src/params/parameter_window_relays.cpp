#include "params/parameter_window.h"

#include "params/number_text.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

// Page 3, "Relais : ".

namespace {

// The grey third state leaves the relay as it was.
void showRelayInUse(QCheckBox *check, QGroupBox *frame)
{
    switch (check->checkState()) {
    case Qt::Checked:
        check->setText(QStringLiteral("Oui"));
        frame->show();
        break;
    case Qt::Unchecked:
        check->setText(QStringLiteral("Non"));
        frame->hide();
        break;
    case Qt::PartiallyChecked:
        break;
    }
}

void showContactType(const OptionGroup &contact, QGroupBox *frame)
{
    frame->setTitle(contact.isSelected(0) ? QStringLiteral("Contact NO") : QStringLiteral("Contact NF"));
}

void showRelay(const RelaySettings &relay, QCheckBox *check, OptionGroup &contact, QScrollBar *on, QScrollBar *off)
{
    check->setCheckState(relay.inUse ? Qt::Checked : Qt::Unchecked);
    contact.select(relay.normallyClosed ? 1 : 0);
    on->setValue(relay.activation);
    off->setValue(relay.deactivation);
}

RelaySettings enteredRelay(const QCheckBox *check, const OptionGroup &contact, const QScrollBar *on,
                           const QScrollBar *off)
{
    return {check->checkState() == Qt::Checked, contact.isSelected(1), on->value(), off->value()};
}

} // namespace

void dump_24c01::buildRelayPage(QWidget *page)
{
    buildRelayGroup(page, 240, 1, {Check1, Frame4, Option3, HScroll6, Label60, HScroll7, Label70});
    buildRelayGroup(page, 1860, 2, {Check2, Frame5, Option4, HScroll8, Label27, HScroll5, Label21});
    connect(Check1, &QCheckBox::stateChanged, this, &dump_24c01::Check1_Click);
    connect(Check2, &QCheckBox::stateChanged, this, &dump_24c01::Check2_Click);
    for (int i = 0; i < 2; ++i) {
        connect(Option3.button(i), &QRadioButton::toggled, this, &dump_24c01::Option3_Click);
        connect(Option4.button(i), &QRadioButton::toggled, this, &dump_24c01::Option4_Click);
    }
    connect(HScroll5, &QScrollBar::valueChanged, this, &dump_24c01::HScroll5_Change);
    connect(HScroll6, &QScrollBar::valueChanged, this, &dump_24c01::HScroll6_Change);
    connect(HScroll7, &QScrollBar::valueChanged, this, &dump_24c01::HScroll7_Change);
    connect(HScroll8, &QScrollBar::valueChanged, this, &dump_24c01::HScroll8_Change);
}

// Relay 1: intitu(2), Check1, Frame4, Option3, HScroll6 / HScroll7; relay 2:
// intitu(0), Check2, Frame5, Option4, HScroll8 / HScroll5.
void dump_24c01::buildRelayGroup(QWidget *page, int top, int relay, const RelayControls &c)
{
    const QString relayTip = QStringLiteral("Active ou Désactive la fonction.");
    QLineEdit *title = makeTextBox(page, memberName("intitu", relay == 1 ? 2 : 0),
                                   QStringLiteral("Relais %1:").arg(relay), {120, top, 1440, 285});
    title->setToolTip(relayTip);
    const QByteArray checkName = QStringLiteral("Check%1").arg(relay).toLatin1();
    c.check = makeCheckBox(page, checkName.constData(), QStringLiteral("Non"), {1680, top, 1200, 285});
    c.check->setToolTip(relayTip);

    const char *frameName = relay == 1 ? "Frame4" : "Frame5";
    c.frame = makeFrame(page, frameName, QStringLiteral("Contact NO"), {120, top + 360, 5355, 1155});
    c.frame->setToolTip(QStringLiteral("Caractéristique de commutation."));
    c.frame->hide();
    const char *optionName = relay == 1 ? "Option3" : "Option4";
    static const char *const contactTips[] = {"Normalement OUVERT.", "Normalement FERMÉ."};
    for (int i = 0; i < 2; ++i) {
        QRadioButton *button =
            makeOption(c.frame, memberName(optionName, i), QString(), {120, 360 + 360 * i, 255, 255});
        button->setToolTip(QString::fromUtf8(contactTips[i]));
        c.contact.add(i, button);
    }
    c.contact.select(0);

    const int on = relay == 1 ? 200 : 300;
    const auto threshold = [&c](const char *label, const char *bar, int left, int value, const QString &tip,
                                QScrollBar *&scroll, QLabel *&caption) {
        caption = makeLabel(c.frame, QString::fromLatin1(label), tenthsText(value), {left, 300, 1095, 255});
        caption->setToolTip(tip);
        scroll = makeScrollBar(c.frame, QString::fromLatin1(bar), 0, 9999, value, {left, 600, 1095, 255});
    };
    threshold(relay == 1 ? "Label60" : "Label27", relay == 1 ? "HScroll6" : "HScroll8", 1200, on,
              QStringLiteral("Utiliser la glissière horizontale pour le réglage en Km/h. Seuil d'ACTIVATION."),
              c.activation, c.activationLabel);
    threshold(relay == 1 ? "Label70" : "Label21", relay == 1 ? "HScroll7" : "HScroll5", 2400, on - 10,
              QStringLiteral("Utiliser la glissière horizontale pour le réglage en Km/h. Seuil de DESACTIVATION."),
              c.deactivation, c.deactivationLabel);
}

void dump_24c01::HScroll5_Change()
{
    Label21->setText(tenthsText(HScroll5->value()));
}

void dump_24c01::HScroll6_Change()
{
    Label60->setText(tenthsText(HScroll6->value()));
}

void dump_24c01::HScroll7_Change()
{
    Label70->setText(tenthsText(HScroll7->value()));
}

void dump_24c01::HScroll8_Change()
{
    Label27->setText(tenthsText(HScroll8->value()));
}

void dump_24c01::Check1_Click()
{
    showRelayInUse(Check1, Frame4);
}

void dump_24c01::Check2_Click()
{
    showRelayInUse(Check2, Frame5);
}

void dump_24c01::Option3_Click()
{
    showContactType(Option3, Frame4);
}

void dump_24c01::Option4_Click()
{
    showContactType(Option4, Frame5);
}

void dump_24c01::showRelays(const JEU_PARAMETRES &p)
{
    showRelay(p.relay2, Check2, Option4, HScroll8, HScroll5);
    showRelay(p.relay1, Check1, Option3, HScroll6, HScroll7);
}

void dump_24c01::enterRelays(JEU_PARAMETRES &p) const
{
    p.relay2 = enteredRelay(Check2, Option4, HScroll8, HScroll5);
    p.relay1 = enteredRelay(Check1, Option3, HScroll6, HScroll7);
}
