#pragma once

#include "panel/memory_image.h"
#include "panel/transfer.h"
#include "params/editor_settings.h"
#include "params/parameter_changes.h"
#include "params/parameter_codec.h"
#include "ui/widget_kit.h"

#include <QWidget>

#include <array>
#include <optional>
#include <utility>

class Exchange;
class MemoryGrid;
class Messages;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;
class WindowRegistry;

// The parameter editor: every speed-display setting on five tab pages, the
// window's own memory image with its raw view, the pulse calibration table and
// the live speed. Compact view: the pages only; wide view: everything.
class dump_24c01 : public QWidget
{
    Q_OBJECT
public:
    explicit dump_24c01(WindowRegistry &registry, QWidget *parent = nullptr);

    MemoryImage &image() { return m_image; }
    MemoryGrid &grid() { return *m_grid; }
    bool isWide() const { return m_wide; }

    // The memory transfers of this window (addresses 64 to 127); no guard,
    // no message. The read returns the time-out flag.
    bool LIT_24C01();
    WriteOutcome ECRIT_24C01();

    // The live speed: four requests, both speeds shown when the answer is whole.
    void Command1_Click();
    // The speed coefficient and the test table from Dimpulse and etalon.
    void CALCUL_Click();

    // The read's decoding: the image's parameter block into the controls.
    DecodedParameters showImage();
    // The write's coefficient: kept while Dimpulse and etalon still hold what
    // it was derived from, calculated otherwise. False when it cannot be.
    bool prepareCoefficient();
    // The write's encoding of the controls into boxes 64 to 98 and Text5.
    void encodeIntoImage(quint32 coefficient);

    // Memory another flow has just read from the panel on the open port (a
    // restore's check), shown as the editor's own read shows it: addresses 64
    // to 127, the settings decoded, and known as the panel's. Nothing is sent.
    void showReadMemory(const MemoryImage &read);

    void but_lit_para_Click();
    void but_ecrit_para_Click();
    void but_RD_Click();
    void but_WR_Click();

    void BP_ONGLET_Click(int index);
    void HScroll1_Change(int index);
    void HScroll3_Change();
    void HScroll5_Change();
    void HScroll6_Change();
    void HScroll7_Change();
    void HScroll8_Change();
    void Slider_MOY_Change();
    void Slider_Nbr_IMPULS_Change();
    void Slider_ZEROPULSE_Change();
    void Check1_Click();
    void Check2_Click();
    void Option3_Click();
    void Option4_Click();
    void COULE_Click(int index);
    void COULE_Change(int index);
    void Frame8_Click();
    void Command2_Click();
    void Extension_Click();

    // For the parameter files and the commissioning sheet.
    EditorSettings currentSettings() const;
    void applySettings(const EditorSettings &settings); // shown only: nothing is sent
    QString liveSpeedText() const;
    QString liveMaximumText() const;

    // What a parameter write would program, as the editor stands.
    EditorState state() const;
    // The panel's bytes the tool knows in this port opening, when they hold
    // the whole parameter block.
    std::optional<MemoryBytes> knownPanel();
    // The settings that differ from what the tool knows the panel holds or,
    // knowing nothing of it, from the start-up values: edits not programmed.
    QList<SettingChange> unsentChanges();
    // "&Comparer avec le panneau…": the editor against the panel, read first
    // (into a separate image) when the tool does not know its settings.
    void compareWithPanel();
    // A parameter file's settings: onto a panel the tool knows, through the
    // list of what differs, row by row; otherwise as they stand. Nothing is
    // sent either way. False when the user left the file aside.
    bool loadSettings(const EditorSettings &file, const QString &name);
    // True when nothing would be lost, or the user lets it go.
    bool mayDiscardEdits();

signals:
    // Any setting edited, read or programmed.
    void settingsChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Client area in twips
    static constexpr int CompactWidth = 5760;
    static constexpr int CompactHeight = 4860;
    static constexpr int WideWidth = 13860;
    static constexpr int WideHeight = 6025;

    // Layout
    void buildTabStrip();
    void buildDisplayPage(QWidget *page);
    void buildCalibrationPage(QWidget *page);
    void buildColourPage(QWidget *page);
    void buildRelayPage(QWidget *page);
    void buildSpeedPage(QWidget *page);
    struct RelayControls
    {
        QCheckBox *&check;
        QGroupBox *&frame;
        OptionGroup &contact;
        QScrollBar *&activation;
        QLabel *&activationLabel;
        QScrollBar *&deactivation;
        QLabel *&deactivationLabel;
    };
    void buildRelayGroup(QWidget *page, int top, int relay, const RelayControls &controls);
    void buildWideView();
    void buildCalibrationTable();
    void Form_Load();
    void setClientTwips(int width, int height);

    // Each page shows its part of the parameters and gives it back.
    void showDisplay(const JEU_PARAMETRES &p);
    void enterDisplay(JEU_PARAMETRES &p) const;
    void showCalibration(const DecodedParameters &decoded);
    void enterCalibration(JEU_PARAMETRES &p, quint32 coefficient) const;
    void showColours(const JEU_PARAMETRES &p);
    void enterColours(JEU_PARAMETRES &p) const;
    void showRelays(const JEU_PARAMETRES &p);
    void enterRelays(JEU_PARAMETRES &p) const;

    // Fields
    struct Choices
    {
        std::array<QColor, 5> colours;
        std::array<std::optional<int>, 6> groups;
    };
    Choices currentChoices() const;
    void restoreChoices(const Choices &choices);
    void resetBeforeRead();
    void showBlankCard();
    void showParameters(const DecodedParameters &decoded);
    JEU_PARAMETRES enteredParameters(quint32 coefficient) const;
    void showDistancePerPulse();

    // Changes
    struct Origin
    {
        enum Kind { StartUp, Panel, File } kind = StartUp;
        int session = -1;     // the port opening it was read or written in
        MemoryBytes bytes{};  // what the panel held then
    };
    void takeFromFile(const EditorSettings &file, const QList<int> &settings);
    MemoryBytes cardAfterWrite(const MemoryBytes &panel, quint32 coefficient, bool freshRead);
    bool confirmWrite(const MemoryBytes &panel, quint32 coefficient, bool freshRead);
    bool readFromThisPanel(const MemoryBytes &panel);
    void watchEdits();

    // Flows
    bool runCalibration();
    void readLiveSpeed();
    void takeTrailingAnswers();
    void copyCardBytes(const MemoryBytes &panel, bool freshRead);
    void programmedOrRead();
    Exchange &exchange();
    Messages &messages();
    QString answerCheck();

    WindowRegistry &m_registry;
    MemoryImage m_image;
    MemoryGrid *m_grid = nullptr;
    bool m_wide = false;
    // The Dimpulse and etalon texts that Text4's coefficient stands for, after
    // a read or a calculation.
    std::optional<CoefficientSource> m_coefficientSource;
    // Range limits the card stores as 0, which the sliders show as 2.
    std::array<bool, 5> m_zeroLimit{};
    // Where the settings shown come from.
    Origin m_origin;
    // The port opening whose panel the image's cells were read from or
    // written to; another opening may have another panel behind it.
    int m_imageSession = -1;

    std::array<QLabel *, 5> BP_ONGLET_{};
    std::array<QGroupBox *, 5> ONGLET{};

    // Page 0
    OptionGroup NB_DIGIT, DECI_ENT, RAZ_TYPE, AFF_TYPE, SUPRESS;
    // Page 1
    QGroupBox *Frame8 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *etalon = nullptr;
    QLineEdit *Dimpulse = nullptr;
    std::array<QLineEdit *, 5> Text7{}; // 0..3 table headings, 4 pulse count
    QSlider *Slider_Nbr_IMPULS = nullptr;
    QLineEdit *MOYENNE = nullptr;
    QSlider *Slider_MOY = nullptr;
    QLineEdit *Text8 = nullptr;
    QSlider *Slider_ZEROPULSE = nullptr;
    // Page 2
    QSlider *DURE_LDR = nullptr;
    QSlider *COMP_LDR = nullptr;
    OptionGroup Option1;
    std::array<QLineEdit *, 7> COULE{}; // 1..6
    std::array<QScrollBar *, 6> HScroll1{}; // 1..5
    std::array<QLabel *, 9> PLAG{}; // 0..5 and 8
    // Page 3
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QGroupBox *Frame4 = nullptr;
    QGroupBox *Frame5 = nullptr;
    OptionGroup Option3, Option4;
    QScrollBar *HScroll5 = nullptr;
    QScrollBar *HScroll6 = nullptr;
    QScrollBar *HScroll7 = nullptr;
    QScrollBar *HScroll8 = nullptr;
    QLabel *Label21 = nullptr;
    QLabel *Label27 = nullptr;
    QLabel *Label60 = nullptr;
    QLabel *Label70 = nullptr;
    // Page 4
    QLineEdit *VITESSE_VENT = nullptr;
    QLineEdit *VITESSE_VENT_MAX = nullptr;
    // Wide view
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Extension = nullptr;
    QPushButton *CALCUL = nullptr;
    std::array<QLineEdit *, 15> KMH{};
    std::array<QLineEdit *, 15> msec{};
    std::array<QLineEdit *, 15> NB_impul{};
    std::array<QLineEdit *, 15> PERCLAV{};
    QLineEdit *texcoef = nullptr;
    QLineEdit *Text5 = nullptr;
    QScrollBar *HScroll3 = nullptr;
    QLineEdit *RAFR_AFF = nullptr;
};
