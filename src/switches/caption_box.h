#pragma once

#include <QLineEdit>

// A read-only text box that reports a click and shows a background colour
// kept in its palette (the base colour).
class CaptionBox : public QLineEdit
{
    Q_OBJECT
public:
    CaptionBox(const QString &text, QWidget *parent);

    QColor colour() const;
    void setColour(const QColor &colour);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
