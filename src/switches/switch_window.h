#pragma once

#include "panel/memory_image.h"

#include <QWidget>

#include <array>

class MemoryGrid;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class WindowRegistry;
struct SwitchReading;

// Shows the card's two banks of microswitches and its colour variant, as the
// panel reports them in its memory image after "PPP". Changing a lever or a
// caption is display only: nothing is sent.
class SW : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Switches = 8;

    explicit SW(WindowRegistry &registry, QWidget *parent = nullptr);

    // The window's own memory read into its image; the time-out flag.
    bool LIT_24C01();

    MemoryImage &image() { return m_image; }
    MemoryGrid &grid() const { return *m_grid; }

    // Levers and captions: SW1 / Text3 are bank "SW3", SW2 / Text2 bank "SW2".
    QScrollBar *SW1(int index) const { return m_sw3.levers.at(index); }
    QScrollBar *SW2(int index) const { return m_sw2.levers.at(index); }
    QLineEdit *Text3(int index) const;
    QLineEdit *Text2(int index) const;
    QLabel *Label30 = nullptr;
    QPushButton *LIT_SW = nullptr;
    QPushButton *ENVOI_SW = nullptr;

    void LIT_SW_Click();
    void SW1_Change(int index);
    void SW2_Change(int index);
    void Text3_Click(int index);
    void Text2_Click(int index);
    // The raw read: no request bracket, no message.
    void but_RD_Click();

private:
    struct Bank
    {
        QGroupBox *frame = nullptr;
        std::array<QScrollBar *, Switches> levers{};
        std::array<QLineEdit *, Switches> captions{};
    };
    struct BankLayout;

    void buildBank(Bank &bank, const BankLayout &layout);
    void leverChanged(Bank &bank, int index);
    void captionClicked(Bank &bank, int index);
    void showAllOff();
    void showReading(const SwitchReading &reading);

    WindowRegistry &m_registry;
    MemoryImage m_image;
    MemoryGrid *m_grid = nullptr;
    Bank m_sw3; // Frame1, right
    Bank m_sw2; // Frame2, left
};
