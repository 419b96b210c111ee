#include "params/parameter_window.h"

#include "link/pwsbase.h"
#include "panel/exchange.h"
#include "params/live_speed.h"
#include "params/live_speed_exchange.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

// Page 4, "Lire Vitesse instannée et maximum : ", and the live speed.

namespace {

const QString ColourTip = QStringLiteral("Un clic pour changer de couleur.");

} // namespace

void dump_24c01::buildSpeedPage(QWidget *page)
{
    QGroupBox *frame = makeFrame(page, "Frame7", QString(), {120, 240, 5355, 1155});
    COULE[6] = makeTextBox(frame, memberName("COULE", 6), QStringLiteral("  Programmer un Maximum :"),
                           {120, 300, 2880, 285}, false);
    setBoxColour(COULE[6], EditorColour::Blue);
    PLAG[5] = makeLabel(frame, memberName("PLAG", 5), QStringLiteral("à 0 Km/h"), {3120, 300, 2115, 285});
    HScroll1[5] = makeScrollBar(frame, memberName("HScroll1", 5), 0, 9999, 0, {120, 720, 5115, 255});

    QFont large = font();
    large.setPointSize(11);
    large.setBold(true);
    VITESSE_VENT = makeTextBox(page, QStringLiteral("VITESSE_VENT"), QStringLiteral(" Vitesse instantanée :"),
                               {120, 1560, 5355, 525});
    VITESSE_VENT_MAX = makeTextBox(page, QStringLiteral("VITESSE_VENT_MAX"), QStringLiteral(" Maximum enregistré:"),
                                   {120, 2220, 5355, 525});
    for (QLineEdit *box : {VITESSE_VENT, VITESSE_VENT_MAX}) {
        box->setFont(large);
        setBoxColour(box, EditorColour::Blue);
    }

    COULE[6]->setToolTip(ColourTip);
    VITESSE_VENT->setToolTip(ColourTip);
    VITESSE_VENT_MAX->setToolTip(ColourTip);
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

QString dump_24c01::liveSpeedText() const
{
    return VITESSE_VENT->text();
}

QString dump_24c01::liveMaximumText() const
{
    return VITESSE_VENT_MAX->text();
}
