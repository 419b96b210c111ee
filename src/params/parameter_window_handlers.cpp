#include "params/parameter_window.h"

#include "params/number_text.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>

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

// Red, green and orange follow one another; any other colour starts at orange.
QColor nextRangeColour(const QColor &colour)
{
    if (colour == EditorColour::Red)
        return EditorColour::Green;
    if (colour == EditorColour::Green)
        return EditorColour::Orange;
    if (colour == EditorColour::Orange)
        return EditorColour::Red;
    return EditorColour::Orange;
}

} // namespace

void dump_24c01::BP_ONGLET_Click(int index)
{
    for (int i = 0; i < 5; ++i) {
        setLabelColour(BP_ONGLET_[i], EditorColour::White);
        ONGLET[i]->hide();
    }
    setLabelColour(BP_ONGLET_[index], EditorColour::Green);
    ONGLET[index]->show();
}

void dump_24c01::HScroll1_Change(int index)
{
    PLAG[index]->setText(rangeLimitCaption(HScroll1[index]->value()));
}

void dump_24c01::HScroll3_Change()
{
    RAFR_AFF->setText(refreshCaption(HScroll3->value()));
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

void dump_24c01::Slider_MOY_Change()
{
    MOYENNE->setText(averagingCaption(Slider_MOY->value()));
}

void dump_24c01::Slider_Nbr_IMPULS_Change()
{
    Text7[4]->setText(pulseCountCaption(Slider_Nbr_IMPULS->value()));
}

void dump_24c01::Slider_ZEROPULSE_Change()
{
    Text8->setText(zeroPulseCaption(Slider_ZEROPULSE->value()));
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

void dump_24c01::COULE_Click(int index)
{
    COULE_Change(index);
}

void dump_24c01::COULE_Change(int index)
{
    setBoxColour(COULE[index], nextRangeColour(boxColour(COULE[index])));
    emit settingsChanged();
}

// The factory constant is locked unless the user unlocks it here.
void dump_24c01::Frame8_Click()
{
    etalon->setEnabled(!etalon->isEnabled());
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
