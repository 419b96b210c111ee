#pragma once

#include <QColor>
#include <QObject>

#include <functional>
#include <map>
#include <optional>

class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

// The controls every window is built of, named as the system names them and
// placed in twips.

// The colours the windows paint their boxes and labels with.
namespace EditorColour {
inline const QColor White{255, 255, 255};
inline const QColor Green{0, 255, 0};
inline const QColor Red{255, 0, 0};
inline const QColor Orange{255, 192, 128};
inline const QColor Blue{0, 0, 255};
inline const QColor LightGreen{192, 255, 192};
} // namespace EditorColour

// A box's background is the state it stands for: it is set and read back here.
void setBoxColour(QLineEdit *box, const QColor &colour);
QColor boxColour(const QLineEdit *box);
void setLabelColour(QLabel *label, const QColor &colour);
QColor labelColour(const QLabel *label);

// Runs the action on every left click of the widget; the widget still sees
// the click itself.
void onClick(QWidget *widget, std::function<void()> action);

// One group of option buttons, indexed as the window indexes them. At most
// one is selected; unlike a plain radio group it can also have none.
class OptionGroup
{
public:
    void add(int index, QRadioButton *button);
    QRadioButton *button(int index) const;

    // An index outside the group selects nothing.
    void select(int index);
    void clear();
    // The first selected button in index order.
    std::optional<int> selected() const;
    bool isSelected(int index) const;

private:
    std::map<int, QRadioButton *> m_buttons;
};

class QCheckBox;
class QGroupBox;
class QPushButton;
class QScrollBar;
class QSlider;
class QString;

// A control's place inside its parent, in twips; no width: placed by a layout.
struct TwipsRect
{
    int left = 0, top = 0, width = 0, height = 0;
};

// Controls named and placed.
QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption, TwipsRect at);
QLineEdit *makeTextBox(QWidget *parent, const QString &name, const QString &text, TwipsRect at, bool readOnly = true);
// A read-only text that never takes the focus: a caption beside a control.
QLineEdit *makeCaptionBox(QWidget *parent, const QString &name, const QString &text, TwipsRect at,
                          const QString &tip = {});
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, TwipsRect at = {});
QScrollBar *makeScrollBar(QWidget *parent, const QString &name, int minimum, int maximum, int value, TwipsRect at);
// Its tooltip shows while it is dragged.
QSlider *makeSlider(QWidget *parent, const char *name, int minimum, int maximum, int value, TwipsRect at);
QRadioButton *makeOption(QWidget *parent, const QString &name, const QString &caption, TwipsRect at);
QCheckBox *makeCheckBox(QWidget *parent, const char *name, const QString &caption, TwipsRect at);
QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, TwipsRect at = {},
                        const QString &tip = {});

// "Name_index", as control-array members are named (Text1_64, COULE_3).
QString memberName(const char *array, int index);
