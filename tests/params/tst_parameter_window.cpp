#include "panel/memory_grid.h"
#include "params/parameter_window.h"
#include "support/workbench.h"


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

    // Each tab label shows its page alone and turns green.
    void tabs()
    {
        for (int index = 0; index < 5; ++index) {
            QTest::mouseClick(control<QLabel>(memberName("BP_ONGLET_", (index + 1) % 5)), Qt::LeftButton);
            QTest::mouseClick(control<QLabel>(memberName("BP_ONGLET_", index)), Qt::LeftButton);
            for (int k = 0; k < 5; ++k) {
                QCOMPARE(labelColour(control<QLabel>(memberName("BP_ONGLET_", k))),
                         k == index ? EditorColour::Green : EditorColour::White);
                QCOMPARE(control<QGroupBox>(memberName("ONGLET", k))->isHidden(), k != index);
            }
        }
    }

    void captions_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        auto row = [](const char *bar, int value, const char *caption, const char *text) {
            QTest::addRow("%s %d", bar, value) << bar << value << caption << QString::fromUtf8(text);
        };
        row("HScroll1_1", 1, "PLAG_1", "0,1 Km/h.");
        row("HScroll1_1", 9999, "PLAG_1", "999,9 Km/h.");
        row("HScroll1_4", 200, "PLAG_4", "20 Km/h.");
        row("HScroll1_5", 0, "PLAG_5", "0 Km/h.");
        row("HScroll3", 1, "RAFR_AFF", " Affichage rafraîchi 11,3 fois par secondes.");
        row("Slider_MOY", 4, "MOYENNE", "2-Moyenne réalisée sur 16 mesures de vitesse:");
        row("Slider_Nbr_IMPULS", 1, "Text7_4", "1-Distance parcourue pour 1 impulsions:");
        row("Slider_ZEROPULSE", 10, "Text8", "3- Durée sans impulsion pour le 0Km/h: 10 Secondes.");
        row("HScroll6", 195, "Label60", "19,5");
        row("HScroll7", 0, "Label70", "0");
        row("HScroll8", 9999, "Label27", "999,9");
        row("HScroll5", 290, "Label21", "29");
    }
    void captions()
    {
        QFETCH(QString, bar);
        QFETCH(int, value);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        auto *slider = control<QAbstractSlider>(bar);
        slider->setValue(value == slider->minimum() ? slider->maximum() : slider->minimum()); // so that it changes
        slider->setValue(value);
        QCOMPARE(slider->value(), value);
        QCOMPARE(textOf(caption), text);
    }

    void relayFrames_data()
    {
        QTest::addColumn<int>("relay");
        QTest::newRow("relay 1") << 1;
        QTest::newRow("relay 2") << 2;
    }
    // The contact chosen before the check shows with the frame; the grey
    // state changes nothing.
    void relayFrames()
    {
        QFETCH(int, relay);
        auto *check = control<QCheckBox>(QStringLiteral("Check%1").arg(relay));
        auto *frame = control<QGroupBox>(relay == 1 ? "Frame4" : "Frame5");
        const auto shown = [&] { return check->text() + ' ' + (frame->isHidden() ? "hidden" : frame->title()); };
        const auto choose = [&](bool closed) {
            control<QRadioButton>(memberName(relay == 1 ? "Option3" : "Option4", closed))->click();
        };
        choose(true);
        QCOMPARE(shown(), QStringLiteral("Non hidden"));
        check->click();
        QCOMPARE(shown(), QStringLiteral("Oui Contact NF"));
        choose(false);
        QCOMPARE(shown(), QStringLiteral("Oui Contact NO"));
        check->setCheckState(Qt::PartiallyChecked);
        QCOMPARE(shown(), QStringLiteral("Oui Contact NO"));
        check->setCheckState(Qt::Unchecked);
        QCOMPARE(shown(), QStringLiteral("Non hidden"));
    }

    void clickHandlers()
    {
        auto *maximum = control<QLineEdit>("COULE_6");
        QList<QColor> seen;
        for (int k = 0; k < 4; ++k) {
            QTest::mouseClick(maximum, Qt::LeftButton);
            seen << boxColour(maximum);
        }
        QCOMPARE(seen, (QList<QColor>{EditorColour::Orange, EditorColour::Red, EditorColour::Green, EditorColour::Orange}));

        auto *range = control<QLineEdit>("COULE_1"); // green; typed or set, every change of text advances it
        QTest::keyClick(range, Qt::Key_X);
        QCOMPARE(boxColour(range), EditorColour::Orange);
        range->setText(QStringLiteral("Plage 1:"));
        QCOMPARE(boxColour(range), EditorColour::Red);

        // The factory constant is unlocked and locked again by its frame only.
        auto *etalon = control<QLineEdit>("etalon");
        QTest::mouseClick(control<QGroupBox>("Frame8"), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(etalon->isEnabled());
        QTest::mouseClick(control<QGroupBox>("Frame8"), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(!etalon->isEnabled());
        QVERIFY(!control<QLineEdit>("Text4")->isEnabled());
    }

    // The figures are the calibration's own; here they must reach their boxes,
    // and a failure must leave the last results alone.
    void calculation()
    {
        const auto calculate = [this](const char *distance) {
            control<QLineEdit>("Dimpulse")->setText(QString::fromLatin1(distance));
            control<QPushButton>("CALCUL")->click();
            QStringList shown;
            for (const char *box : {"Dimpulse", "texcoef", "Text4", "msec_0", "NB_impul_0", "PERCLAV_0"})
                shown << textOf(box);
            return shown;
        };
        QCOMPARE(calculate("0.6666"), (QStringList{"0,6666", "266640", "266640", "0,5556", "0,8335", "1,1998"}));
        QVERIFY(bench->messages.shown.isEmpty());
        QCOMPARE(calculate("1.1x"), (QStringList{"1,1x", "266640", "266640", "0,5556", "0,8335", "1,1998"}));
        QCOMPARE(bench->messages.shown,
                 (QList<Shown>{{Icon::Exclamation, "Distance par impulsion invalide : entrez un nombre positif (ex : 1,1111)."}}));
    }

    // Only the guard speaks; nothing in the window moves but the coefficient,
    // which the parameter write calculates first.
    void noPortOpen()
    {
        for (const char *button : {"but_lit_para", "but_RD", "but_WR", "Command1"})
            control<QPushButton>(QString::fromLatin1(button))->click();
        QCOMPARE(textOf("Text4"), QStringLiteral("723378"));
        control<QPushButton>("but_ecrit_para")->click();
        QCOMPARE(textOf("Text4"), QStringLiteral("444444"));
        QCOMPARE(bench->messages.shown, QList<Shown>(5, noPortShown));
        QCOMPARE(boxColour(control<QLineEdit>("COULE_1")), EditorColour::Green);
        QVERIFY(control<QRadioButton>("NB_DIGIT_2")->isChecked());
        for (int k = 0; k < MemoryImage::Size; ++k)
            QVERIFY(w->image().text(k).isEmpty() && w->image().state(k) == CellState::Window);
    }

private:
    template<class T> T *control(const QString &name)
    {
        T *c = w->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    QString textOf(const QString &name) { return control<QWidget>(name)->property("text").toString(); }

    std::unique_ptr<Workbench> bench;
    dump_24c01 *w = nullptr;
};

QTEST_MAIN(ParameterWindowTest)
#include "tst_parameter_window.moc"
