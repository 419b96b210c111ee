#include "ui/slider_text.h"

#include <QAbstractSlider>
#include <QToolTip>

void showTextWhileDragged(QAbstractSlider *slider)
{
    QObject::connect(slider, &QAbstractSlider::sliderMoved, slider, [slider] {
        // Above the slider, so that the hand dragging it does not hide it.
        const QPoint above = slider->mapToGlobal(QPoint(0, -slider->height()));
        QToolTip::showText(above, slider->toolTip(), slider);
    });
}
