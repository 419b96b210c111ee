#include "ui/widget_kit.h"

#include "ui/slider_text.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

namespace {

class ClickFilter : public QObject
{
public:
    ClickFilter(QWidget *widget, std::function<void()> action)
        : QObject(widget)
        , m_action(std::move(action))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_action();
        return false;
    }

private:
    std::function<void()> m_action;
};

void place(QWidget *widget, TwipsRect at)
{
    if (at.width > 0)
        placeTwips(widget, at.left, at.top, at.width, at.height);
}

} // namespace

// The text turns white on a dark background (the blue), so that it stays legible.
void setBoxColour(QLineEdit *box, const QColor &colour)
{
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, colour);
    const int luminance = (299 * colour.red() + 587 * colour.green() + 114 * colour.blue()) / 1000;
    pal.setColor(QPalette::Text, luminance < 64 ? Qt::white : Qt::black);
    box->setPalette(pal);
}

QColor boxColour(const QLineEdit *box)
{
    return box->palette().color(QPalette::Base);
}

void setLabelColour(QLabel *label, const QColor &colour)
{
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, colour);
    label->setPalette(pal);
}

QColor labelColour(const QLabel *label)
{
    return label->palette().color(QPalette::Window);
}

void onClick(QWidget *widget, std::function<void()> action)
{
    widget->installEventFilter(new ClickFilter(widget, std::move(action)));
}

void OptionGroup::add(int index, QRadioButton *button)
{
    m_buttons[index] = button;
}

QRadioButton *OptionGroup::button(int index) const
{
    const auto it = m_buttons.find(index);
    return it == m_buttons.end() ? nullptr : it->second;
}

void OptionGroup::select(int index)
{
    if (QRadioButton *b = button(index))
        b->setChecked(true);
}

// A checked auto-exclusive button refuses to be unchecked on its own.
void OptionGroup::clear()
{
    for (const auto &[index, b] : m_buttons) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
}

std::optional<int> OptionGroup::selected() const
{
    for (const auto &[index, b] : m_buttons) {
        if (b->isChecked())
            return index;
    }
    return std::nullopt;
}

bool OptionGroup::isSelected(int index) const
{
    const QRadioButton *b = button(index);
    return b && b->isChecked();
}

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption, TwipsRect at)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromUtf8(name));
    place(frame, at);
    return frame;
}

QLineEdit *makeTextBox(QWidget *parent, const QString &name, const QString &text, TwipsRect at, bool readOnly)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setReadOnly(readOnly);
    box->setCursorPosition(0);
    place(box, at);
    return box;
}

QLineEdit *makeCaptionBox(QWidget *parent, const QString &name, const QString &text, TwipsRect at, const QString &tip)
{
    QLineEdit *box = makeTextBox(parent, name, text, at, true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setTextMargins(0, 0, 0, 0);
    box->setToolTip(tip);
    return box;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, TwipsRect at)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    place(label, at);
    return label;
}

QScrollBar *makeScrollBar(QWidget *parent, const QString &name, int minimum, int maximum, int value, TwipsRect at)
{
    auto *bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(minimum, maximum);
    bar->setValue(value);
    place(bar, at);
    return bar;
}

QSlider *makeSlider(QWidget *parent, const char *name, int minimum, int maximum, int value, TwipsRect at)
{
    auto *slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(minimum, maximum);
    slider->setValue(value);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(maximum - minimum > 20 ? 16 : 1);
    showTextWhileDragged(slider);
    place(slider, at);
    return slider;
}

QRadioButton *makeOption(QWidget *parent, const QString &name, const QString &caption, TwipsRect at)
{
    auto *option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    place(option, at);
    return option;
}

QCheckBox *makeCheckBox(QWidget *parent, const char *name, const QString &caption, TwipsRect at)
{
    auto *check = new QCheckBox(caption, parent);
    check->setObjectName(QString::fromLatin1(name));
    place(check, at);
    return check;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, TwipsRect at, const QString &tip)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    place(button, at);
    return button;
}

QString memberName(const char *array, int index)
{
    return QStringLiteral("%1_%2").arg(QString::fromLatin1(array)).arg(index);
}
