#include "switches/caption_box.h"

#include <QMouseEvent>

CaptionBox::CaptionBox(const QString &text, QWidget *parent)
    : QLineEdit(text, parent)
{
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setTextMargins(2, 0, 0, 0);
    setCursorPosition(0);
}

QColor CaptionBox::colour() const
{
    return palette().color(QPalette::Base);
}

void CaptionBox::setColour(const QColor &colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, colour);
    setPalette(pal);
}

void CaptionBox::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
