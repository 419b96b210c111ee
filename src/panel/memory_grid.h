#pragma once

#include <QObject>

#include <array>
#include <optional>

class MemoryImage;
struct Services;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Where a window puts its raw memory view (twips).
struct GridPlacement
{
    int left;                         // column 0
    int columnPitch;
    int top;                          // row 0; rows are 360 apart
    std::array<int, 5> buttonLefts;   // but_RD, but_edit, fill box, but_lin, but_WR
    int buttonTop;
    const char *title;
    struct Spot
    {
        int left, top;
    };
    // "Charger…", where the window can send its grid back to the panel.
    std::optional<Spot> load = std::nullopt;
    // A second, visible "Envoi" where but_WR lies out of view.
    std::optional<Spot> send = std::nullopt;
};

// The raw view of a window's memory image: 128 cells bound to the image, the
// labels around them, the fill box (Text1 element 128) and the buttons. The
// controls are children of the window itself, placed where the window says,
// even beyond its edges. Reading and sending are the window's; filling is here.
class MemoryGrid : public QObject
{
    Q_OBJECT
public:
    static constexpr int FillBox = 128;

    MemoryGrid(QWidget *window, MemoryImage &image, const GridPlacement &placement, const Services &services);

    // Text1(0..127) are the cells, Text1(128) the fill box.
    QLineEdit *Text1(int index) const { return m_cells.at(index); }
    QPushButton *but_RD;
    QPushButton *but_edit;
    QPushButton *but_lin;
    QPushButton *but_WR;
    QPushButton *but_load = nullptr; // only in windows that send their grid
    QPushButton *but_send = nullptr; // clicks but_WR

    // Every cell takes the fill box's text as it stands, then turns white.
    void but_edit_Click();
    // Every cell takes its own address in hexadecimal, then turns white.
    void but_lin_Click();
    // Puts a saved copy of a panel's memory into the cells, ready for "Envoi".
    void but_load_Click();

private:
    void showCell(int address);
    void typed(int address, const QString &text);

    MemoryImage &m_image;
    const Services &m_services;
    std::array<QLineEdit *, 129> m_cells{};
};
