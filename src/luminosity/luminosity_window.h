#pragma once

#include "panel/memory_image.h"
#include "panel/transfer.h"

#include <QWidget>

#include <array>
#include <optional>

class MemoryGrid;
class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class WindowRegistry;

// Reads and programs the luminosity mode, the day/night threshold and the
// light-sensor period, held in bytes 60 to 62 of the window's own image.
class LUM : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Modes = 7;
    static constexpr int MaxThreshold = 15;

    explicit LUM(WindowRegistry &registry, QWidget *parent = nullptr);

    // The window's own memory transfers over its image.
    bool LIT_24C01();
    WriteOutcome ECRIT_24C01();

    MemoryImage &image() { return m_image; }
    MemoryGrid &grid() const { return *m_grid; }

    // Option1(0) is the light sensor, Option1(1..6) the levels 100% to 20%.
    QRadioButton *Option1(int index) const { return m_options.at(index); }
    // The Option1 index selected, if any.
    std::optional<int> selectedMode() const;
    void selectMode(std::optional<int> mode);

    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5(int index) const { return index == 1 ? m_text5 : nullptr; }
    QSlider *COMP_LDR = nullptr;
    QSlider *DURE_LDR = nullptr;
    QPushButton *but_LIT_LUM = nullptr;
    QPushButton *but_ECRIT_LUM = nullptr;
    QPushButton *Extension = nullptr;

    void but_LIT_LUM_Click();
    void but_ECRIT_LUM_Click();
    // The raw grid's read and write: no request bracket, no report.
    void but_RD_Click();
    void but_WR_Click();

private:
    void buildSettings();
    // Shows the settings of the image; the threshold read when it had to be
    // brought down to the slider's range.
    std::optional<quint32> showImageSettings();
    void encodeIntoImage();

    WindowRegistry &m_registry;
    MemoryImage m_image;
    MemoryGrid *m_grid = nullptr;
    QButtonGroup *m_group = nullptr;
    std::array<QRadioButton *, Modes> m_options{};
    QLineEdit *m_text5 = nullptr;
};
