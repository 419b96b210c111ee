#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;
class WindowRegistry;

// Finds the serial ports that exist and those on which a panel answers. It
// only informs: the user still picks and confirms the port in the link settings.
class DETECT : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Rows = 14;

    explicit DETECT(WindowRegistry &registry, QWidget *parent = nullptr);

    // Label1(1..42): row k is Label1(k) port, Label1(k + 14) state, Label1(k + 28) device.
    QLabel *Label1(int index) const { return m_labels.at(index); }
    QPushButton *Command1;

    // The scan of COM1 to COM14.
    void Command1_Click();

private:
    enum class Row { Cleared, Probing, Absent, Free, Found, Silent };
    void paintRow(int k, Row state);
    bool probe();

    WindowRegistry &m_registry;
    std::array<QLabel *, 3 * Rows + 1> m_labels{};
};
