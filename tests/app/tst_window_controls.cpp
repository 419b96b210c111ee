#include "luminosity/luminosity_window.h"
#include "support/workbench.h"
#include "switches/switch_window.h"

#include <QtTest>

Q_DECLARE_METATYPE(WindowId)

// The microswitch and luminosity windows as they open: each control's text,
// tooltip, range, the levers' start value (the luminosity window's own test
// holds its settings' start values), and the places of the grid and its
// buttons, in twips at 15 twips per pixel. "place" is the control's top-left
// corner in the window; "window" stands for the window itself.
class WindowControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void controls_data()
    {
        QTest::addColumn<WindowId>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](WindowId id, const char *control, const char *property, const QVariant &expected) {
            QTest::addRow("%s %s %s", id == WindowId::Switches ? "SW" : "LUM", control, property)
                << id << QString::fromLatin1(control) << QByteArray(property) << expected;
        };
        const auto twips = [](int left, int top) { return QVariant(QPoint(left / 15, top / 15)); };
        const QString sideSw = QStringLiteral("Programmation des informations heure, jour, durée du relais 1 au panneau.");

        const WindowId sw = WindowId::Switches;
        row(sw, "window", "windowTitle", QStringLiteral(" Lecture de la configuration des microswitches."));
        row(sw, "Frame1", "title", QStringLiteral("SW3"));
        row(sw, "Frame2", "title", QStringLiteral("SW2"));
        for (const char *on : {"Label2", "Label3"})
            row(sw, on, "text", QStringLiteral("ON"));
        for (const char *numbers : {"Label1", "Label4"})
            row(sw, numbers, "text", QStringLiteral("1   2  3  4  5  6  7  8"));
        row(sw, "Text3_0", "text", QStringLiteral("DIP1 Nbr digit  (Voir doc.)\r\n"));
        row(sw, "Text3_3", "text", QStringLiteral("DIP4 Valeur négative\r\n"));
        row(sw, "Text3_7", "text", QStringLiteral("DIP8 Test de l'affichage\r\n"));
        row(sw, "Text2_0", "text", QStringLiteral("DIP1 Anti-rebond\r\n"));
        row(sw, "Text2_2", "text", QStringLiteral("DIP3 Luminosité (voir Doc)\r\n"));
        row(sw, "Text2_7", "text", QStringLiteral("DIP8 Point décimal (voir Doc)\r\n"));
        for (const char *lever : {"SW1_0", "SW1_7", "SW2_0", "SW2_7"}) {
            row(sw, lever, "minimum", 0);
            row(sw, lever, "maximum", 1);
            row(sw, lever, "value", 1);
        }
        row(sw, "Label30", "text", QString());
        row(sw, "LIT_SW", "text", QStringLiteral("Lire la position des microswitches"));
        row(sw, "LIT_SW", "toolTip", sideSw);
        row(sw, "ENVOI_SW", "text", QStringLiteral("Envoi"));
        row(sw, "ENVOI_SW", "toolTip", sideSw);

        const WindowId lum = WindowId::Luminosity;
        row(lum, "window", "windowTitle", QStringLiteral(" Luminosité."));
        const char *modes[] = {"Capteur", "100%", "80%", "60%", "50%", "40%", "20%"};
        for (int i = 0; i < 7; ++i)
            row(lum, ("Option1_" + QByteArray::number(i)).constData(), "text", QString::fromUtf8(modes[i]));
        row(lum, "Text4", "text", QStringLiteral("Commutation JOUR/NUIT"));
        row(lum, "Text4", "toolTip", QStringLiteral("Seuil de commutation jour/nuit avec 0=Jour. 15=Nuit(4 par défaut)"));
        row(lum, "COMP_LDR", "minimum", 0);
        row(lum, "COMP_LDR", "maximum", 15);
        row(lum, "COMP_LDR", "toolTip", QStringLiteral("0=Jour. 15=Nuit(4 par défaut)"));
        row(lum, "Text5_1", "text", QStringLiteral("Fréquence de Commutation"));
        row(lum, "Text5_1", "toolTip",
            QStringLiteral("Fréquence de Commutation sur les 4 mesures de luminosité précédentes."));
        row(lum, "DURE_LDR", "minimum", 1);
        row(lum, "DURE_LDR", "maximum", 128);
        row(lum, "DURE_LDR", "toolTip", QStringLiteral("de 1 à 128 secondes (5sec par défaut)"));
        row(lum, "but_LIT_LUM", "text", QStringLiteral("Lit"));
        row(lum, "but_LIT_LUM", "toolTip", QStringLiteral("Lecture des paramètres de luminosité."));
        row(lum, "but_ECRIT_LUM", "text", QStringLiteral("Envoi"));
        row(lum, "but_ECRIT_LUM", "toolTip", QStringLiteral("Programmation des paramètres de luminosité."));
        row(lum, "Extension", "text", QStringLiteral("Férmer l'extension."));
        row(lum, "Extension", "toolTip",
            QStringLiteral("Voir le flux de la centrale et ajuster la fréquence de lecture de celui-ci."));

        // The grid and its button row, from the grid's left edge.
        for (const auto &[id, left] : {std::pair{sw, 6480}, std::pair{lum, 2760}}) {
            row(id, "Text1_0", "place", twips(left, 600));
            row(id, "Text1_17", "place", twips(left + 480, 600 + 360));
            row(id, "but_RD", "place", twips(left, 3600));
            row(id, "but_edit", "place", twips(left + 2400, 3600));
            row(id, "Text1_128", "place", twips(left + 3360, 3600));
            row(id, "but_lin", "place", twips(left + 4800, 3600));
            row(id, "but_WR", "place", twips(left + 6720, 3600));
        }
    }
    void controls()
    {
        QFETCH(WindowId, window);
        QFETCH(QString, control);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, expected);
        Workbench bench;
        QWidget *w = bench.registry.load(window);
        QWidget *c = control == QLatin1String("window") ? w : w->findChild<QWidget *>(control);
        QVERIFY2(c, qPrintable(control));
        const QVariant shown = property == "place" ? QVariant(c->mapTo(w, QPoint(0, 0))) : c->property(property);
        QCOMPARE(shown, expected);
    }
};

QTEST_MAIN(WindowControlsTest)
#include "tst_window_controls.moc"
