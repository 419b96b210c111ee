#include "app/twips.h"
#include "panel/memory_grid.h"
#include "params/parameter_window.h"
#include "support/workbench.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using Icon = Messages::Icon;
using Shown = RecordingMessages::Shown;

namespace {
const QString GuardText =
    QStringLiteral("Pas de port COM ouvert. Veuillez valider la Configuration dans le menu Configuration.");

template<class T> T *control(QWidget &window, const QString &name)
{
    T *c = window.findChild<T *>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

QString textOf(QWidget &window, const QString &name)
{
    return control<QWidget>(window, name)->property("text").toString();
}

// Moves the control away from the value first, so that the change is seen.
void setValue(QWidget &window, const QString &name, int value)
{
    auto *c = control<QAbstractSlider>(window, name);
    c->setValue(value == c->minimum() ? c->maximum() : c->minimum());
    c->setValue(value);
}
} // namespace

class ParameterWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        bench = std::make_unique<Workbench>();
        w = &bench->registry.window<dump_24c01>(WindowId::Parameters);
    }
    void cleanup() { bench.reset(); }

    void openingState()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral(" Paramètres."));
        const QMap<QString, QString> texts{
            {"PLAG_0", "De 0 Km/h"},
            {"PLAG_1", "19,9 Km/h."},
            {"PLAG_5", "à 0 Km/h"},
            {"PLAG_8", "à 999,9 Km/h"},
            {"Text7_4", "1-Distance parcourue pour 1 impulsion:"},
            {"RAFR_AFF", "3- Affichage rafraîchi 5,69 fois par secondes."},
            {"Label60", "20"},
            {"VITESSE_VENT_MAX", " Maximum enregistré:"},
        };
        for (auto it = texts.begin(); it != texts.end(); ++it)
            QCOMPARE(textOf(*w, it.key()), it.value());
        QStringList selected;
        for (QRadioButton *b : w->findChildren<QRadioButton *>()) {
            if (b->isChecked())
                selected << b->objectName();
        }
        selected.sort();
        QCOMPARE(selected,
                 (QStringList{"AFF_TYPE_0", "DECI_ENT_2", "NB_DIGIT_2", "Option1_1", "Option3_0", "Option4_0",
                              "RAZ_TYPE_0", "SUPRESS_1"}));
        const QList<QColor> colours{EditorColour::Green, EditorColour::Green, EditorColour::Orange,
                                    EditorColour::Red,   EditorColour::Red,   EditorColour::Blue};
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(boxColour(control<QLineEdit>(*w, memberName("COULE", i))), colours[i - 1]);
    }

    void tabs_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::newRow("0") << 0 << "Affichage : ";
        QTest::newRow("1") << 1 << "Étalonnage : ";
        QTest::newRow("2") << 2 << "Plage couleur et luminosité";
        QTest::newRow("3") << 3 << "Relais : ";
        QTest::newRow("4") << 4 << "Lire Vitesse instannée et maximum : ";
    }

    void tabs()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        QTest::mouseClick(control<QLabel>(*w, memberName("BP_ONGLET_", (index + 1) % 5)), Qt::LeftButton);
        QTest::mouseClick(control<QLabel>(*w, memberName("BP_ONGLET_", index)), Qt::LeftButton);
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(labelColour(control<QLabel>(*w, memberName("BP_ONGLET_", k))),
                     k == index ? EditorColour::Green : EditorColour::White);
            QCOMPARE(control<QGroupBox>(*w, memberName("ONGLET", k))->isHidden(), k != index);
        }
        QCOMPARE(control<QGroupBox>(*w, memberName("ONGLET", index))->title(), caption);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::newRow("range at minimum") << "HScroll1_1" << 1 << "PLAG_1"
                                          << "0,1 Km/h.";
        QTest::newRow("range at maximum") << "HScroll1_1" << 9999 << "PLAG_1"
                                          << "999,9 Km/h.";
        QTest::newRow("whole range limit") << "HScroll1_4" << 200 << "PLAG_4"
                                           << "20 Km/h.";
        QTest::newRow("maximum to program") << "HScroll1_5" << 0 << "PLAG_5"
                                            << "0 Km/h.";
        QTest::newRow("fastest refresh") << "HScroll3" << 1 << "RAFR_AFF"
                                         << " Affichage rafraîchi 11,3 fois par secondes.";
        QTest::newRow("slowest refresh") << "HScroll3" << 20 << "RAFR_AFF"
                                         << " Affichage rafraîchi 0,56 fois par secondes.";
        QTest::newRow("one measure") << "Slider_MOY" << 0 << "MOYENNE"
                                     << "2-Moyenne réalisée sur 1 mesures de vitesse:";
        QTest::newRow("sixteen") << "Slider_MOY" << 4 << "MOYENNE"
                                 << "2-Moyenne réalisée sur 16 mesures de vitesse:";
        QTest::newRow("one pulse") << "Slider_Nbr_IMPULS" << 1 << "Text7_4"
                                   << "1-Distance parcourue pour 1 impulsions:";
        QTest::newRow("8 pulses") << "Slider_Nbr_IMPULS" << 8 << "Text7_4"
                                  << "1-Distance parcourue pour 8 impulsions:";
        QTest::newRow("zero after 10 s") << "Slider_ZEROPULSE" << 10 << "Text8"
                                         << "3- Durée sans impulsion pour le 0Km/h: 10 Secondes.";
        QTest::newRow("relay 1 on") << "HScroll6" << 195 << "Label60"
                                    << "19,5";
        QTest::newRow("relay 1 off") << "HScroll7" << 0 << "Label70"
                                     << "0";
        QTest::newRow("relay 2 on") << "HScroll8" << 9999 << "Label27"
                                    << "999,9";
        QTest::newRow("relay 2 off") << "HScroll5" << 290 << "Label21"
                                     << "29";
    }

    void captions()
    {
        QFETCH(QString, bar);
        QFETCH(int, value);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        setValue(*w, bar, value);
        QCOMPARE(control<QAbstractSlider>(*w, bar)->value(), value);
        QCOMPARE(textOf(*w, caption), text);
    }

    void relayFrames_data()
    {
        QTest::addColumn<int>("relay");
        QTest::addColumn<bool>("closedFirst");
        QTest::newRow("relay 1 open") << 1 << false;
        QTest::newRow("relay 1 closed") << 1 << true;
        QTest::newRow("relay 2 open") << 2 << false;
        QTest::newRow("relay 2 closed") << 2 << true;
    }

    void relayFrames()
    {
        QFETCH(int, relay);
        QFETCH(bool, closedFirst);
        auto *check = control<QCheckBox>(*w, QStringLiteral("Check%1").arg(relay));
        auto *frame = control<QGroupBox>(*w, relay == 1 ? "Frame4" : "Frame5");
        const char *contact = relay == 1 ? "Option3" : "Option4";
        control<QRadioButton>(*w, memberName(contact, closedFirst ? 1 : 0))->click();
        QVERIFY(frame->isHidden());

        check->click();
        QCOMPARE(check->text(), QStringLiteral("Oui"));
        QVERIFY(!frame->isHidden());
        QCOMPARE(frame->title(), closedFirst ? QStringLiteral("Contact NF") : QStringLiteral("Contact NO"));
        control<QRadioButton>(*w, memberName(contact, closedFirst ? 0 : 1))->click();
        QCOMPARE(frame->title(), closedFirst ? QStringLiteral("Contact NO") : QStringLiteral("Contact NF"));

        check->setCheckState(Qt::PartiallyChecked);
        QCOMPARE(check->text(), QStringLiteral("Oui"));
        QVERIFY(!frame->isHidden());
        check->setCheckState(Qt::Unchecked);
        QCOMPARE(check->text(), QStringLiteral("Non"));
        QVERIFY(frame->isHidden());
    }

    void clickHandlers()
    {
        auto *maximum = control<QLineEdit>(*w, "COULE_6");
        QList<QColor> seen;
        for (int k = 0; k < 4; ++k) {
            QTest::mouseClick(maximum, Qt::LeftButton);
            seen << boxColour(maximum);
        }
        QCOMPARE(seen,
                 (QList<QColor>{EditorColour::Orange, EditorColour::Red, EditorColour::Green, EditorColour::Orange}));

        auto *range = control<QLineEdit>(*w, "COULE_1"); // green
        range->setFocus();
        range->end(false);
        QTest::keyClick(range, Qt::Key_X);
        QCOMPARE(boxColour(range), EditorColour::Orange);
        range->setText(QStringLiteral("Plage 1:"));
        QCOMPARE(boxColour(range), EditorColour::Red);

        // The factory constant is unlocked and locked again by its frame only.
        auto *frame = control<QGroupBox>(*w, "Frame8");
        auto *etalon = control<QLineEdit>(*w, "etalon");
        QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(etalon->isEnabled());
        QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(!etalon->isEnabled());
        QVERIFY(!control<QLineEdit>(*w, "Text4")->isEnabled());
    }

    void viewSizes()
    {
        bench->registry.show(WindowId::Parameters);
        QMdiSubWindow *frame = bench->registry.frame(WindowId::Parameters);
        const QSize compact(twips(5760), twips(4860));
        const QSize wide(twips(13860), twips(6025));
        QCOMPARE(w->size(), compact);
        const QSize border = frame->size() - compact;
        QVERIFY(border.width() >= 0 && border.height() > 0);

        control<QPushButton>(*w, "Command2")->click();
        QVERIFY(w->isWide());
        QCOMPARE(w->size(), wide);
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QCOMPARE(frame->size(), wide + border);

        control<QPushButton>(*w, "Extension")->click();
        QVERIFY(!w->isWide());
        QCOMPARE(w->size(), compact);
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QCOMPARE(frame->size(), compact + border);
    }

    // The figures are the calibration's own; here they must reach their boxes,
    // and a failure must leave the last results alone.
    void calculation()
    {
        const auto shown = [this] {
            return QStringList{textOf(*w, "Dimpulse"), textOf(*w, "texcoef"),    textOf(*w, "Text4"),
                               textOf(*w, "msec_0"),   textOf(*w, "NB_impul_0"), textOf(*w, "PERCLAV_0")};
        };
        control<QLineEdit>(*w, "Dimpulse")->setText(QStringLiteral("0.6666"));
        control<QPushButton>(*w, "CALCUL")->click();
        QCOMPARE(shown(), (QStringList{"0,6666", "266640", "266640", "0,5556", "0,8335", "1,1998"}));
        QVERIFY(bench->messages.shown.isEmpty());
        control<QLineEdit>(*w, "Dimpulse")->setText(QStringLiteral("1.1x"));
        control<QPushButton>(*w, "CALCUL")->click();
        QCOMPARE(shown(), (QStringList{"1,1x", "266640", "266640", "0,5556", "0,8335", "1,1998"}));
        QCOMPARE(bench->messages.shown.size(), 1);
        QCOMPARE(bench->messages.shown.first().icon, Icon::Exclamation);
    }

    void noPortOpen_data()
    {
        QTest::addColumn<QString>("coefficient"); // Text4 afterwards
        QTest::newRow("but_lit_para") << "723378";
        QTest::newRow("but_ecrit_para") << "444444"; // the calibration comes first
        QTest::newRow("but_RD") << "723378";
        QTest::newRow("but_WR") << "723378";
        QTest::newRow("Command1") << "723378";
    }

    void noPortOpen()
    {
        QFETCH(QString, coefficient);
        control<QPushButton>(*w, QString::fromLatin1(QTest::currentDataTag()))->click();
        QCOMPARE(bench->messages.shown, (QList<Shown>{{Icon::Exclamation, GuardText}}));
        QCOMPARE(textOf(*w, "Text4"), coefficient);
        QCOMPARE(boxColour(control<QLineEdit>(*w, "COULE_1")), EditorColour::Green);
        QVERIFY(control<QRadioButton>(*w, "NB_DIGIT_2")->isChecked());
        for (int k = 0; k < MemoryImage::Size; ++k) {
            QCOMPARE(w->image().text(k), QString());
            QCOMPARE(w->image().state(k), CellState::Window);
        }
    }

    void rawGridFills()
    {
        auto *fill = control<QLineEdit>(*w, "Text1_128");
        control<QPushButton>(*w, "but_lin")->click();
        const QMap<int, QString> pattern{{0, "0"}, {10, "A"}, {16, "10"}, {127, "7F"}};
        for (auto it = pattern.begin(); it != pattern.end(); ++it)
            QCOMPARE(textOf(*w, memberName("Text1", it.key())), it.value());
        for (const QString &value : {QStringLiteral("55"), QString()}) {
            fill->setText(value);
            control<QPushButton>(*w, "but_edit")->click();
            for (int k = 0; k < MemoryImage::Size; ++k) {
                QCOMPARE(w->image().text(k), value);
                QCOMPARE(w->image().state(k), CellState::White);
                QCOMPARE(textOf(*w, memberName("Text1", k)), value);
            }
        }
        QVERIFY(bench->messages.shown.isEmpty());
    }

private:
    std::unique_ptr<Workbench> bench;
    dump_24c01 *w = nullptr;
};

QTEST_MAIN(ParameterWindowTest)
#include "tst_parameter_window.moc"
