#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;
class WindowRegistry;

// Finds the serial ports that exist and those on which a panel answers. A row
// where a panel answered offers to use that port: the link settings then
// select it and are confirmed, as the user would do by hand.
class DETECT : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Rows = 14;

    explicit DETECT(WindowRegistry &registry, QWidget *parent = nullptr);

    // Label1(1..42): row k is Label1(k) port, Label1(k + 14) state, Label1(k + 28) device.
    QLabel *Label1(int index) const { return m_labels.at(index); }
    // UTILISER(k): "Utiliser ce port" on row k, shown where a panel answered.
    QPushButton *UTILISER(int k) const { return m_use.at(k); }
    QPushButton *Command1;

    // The scan of COM1 to COM14.
    void Command1_Click();
    // Selects COMk: in the link settings and confirms them.
    void UTILISER_Click(int k);

private:
    enum class Row { Cleared, Probing, Absent, Free, Found, Silent };
    void paintRow(int k, Row state);
    bool probe();
    void describePorts();

    WindowRegistry &m_registry;
    std::array<QLabel *, 3 * Rows + 1> m_labels{};
    std::array<QPushButton *, Rows + 1> m_use{};
};
