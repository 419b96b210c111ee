#include "params/parameter_window.h"
#include "params/editor_settings.h"
#include "records/parameter_file.h"
#include "records/record_commands.h"
#include "support/window_rig.h"

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace std::chrono;
using Icon = Messages::Icon;
using Shown = RecordingMessages::Shown;

namespace {
const Shown ReadDone = readDoneShown;
const Shown ReadFirst{Icon::Information,
                      QStringLiteral("Lisez d'abord les paramètres du panneau (« Lire les paramètres ») : la fiche "
                                     "décrit un panneau lu ou programmé.")};
constexpr int ReadFrames = 1 + 4 + 64 + 2 + 2 * 4;

// Panel A: the documented sample with the coefficient of the default
// distance per pulse (444444 = 0x06C81C), so its test table is the known one.
sim::Memory panelA()
{
    sim::Memory m = sim::PanelState::programmed().memory;
    for (const auto &[address, value] : {std::pair{87, 0x1C}, {88, 0xC8}, {89, 0x06}, {90, 0x00}})
        m[address] = std::uint8_t(value);
    return m;
}

// Panel B: another card, every field and its own bytes 99-127 different.
sim::Memory panelB()
{
    sim::Memory m = sim::PanelState::programmed().memory;
    for (const auto &[address, value] :
         {std::pair{64, 0x00}, {65, 0x20}, {74, 0x01}, {75, 0x2C}, {78, 0x02}, {82, 0x10}, {85, 0x01}, {86, 0x05},
          {87, 0x00}, {88, 0x10}, {89, 0x00}, {90, 0x00}, {91, 0x01}, {92, 0x00}, {93, 0x10}, {96, 0xAB},
          {97, 0x01}, {98, 0x0F}})
        m[address] = std::uint8_t(value);
    for (int k = 99; k < 128; ++k)
        m[k] = std::uint8_t(0xA0 + k - 99);
    return m;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}
} // namespace

class RecordsTest : public QObject
{
    Q_OBJECT

private slots:
    // At the line's rate: the sheet of panel A, its settings saved, then
    // loaded onto panel B and programmed: B's parameter block is A's and B
    // keeps its own bytes 99-127.
    void sheetAndSeries()
    {
        QTemporaryDir dir;
        WindowRig<dump_24c01> rig(WindowId::Parameters, QStringLiteral("OUI"));
        rig.panel.setLineRate(true);
        rig.panel.setMemory(panelA());
        QList<Shown> &shown = rig.bench.messages.shown;
        trigger(rig.bench, "MENU_FICHE");
        QCOMPARE(shown, QList<Shown>{ReadFirst});
        QVERIFY(rig.bench.files.requests.isEmpty());
        rig.restart(0);

        click(rig.window, "but_lit_para");
        QCOMPARE(shown, QList<Shown>{ReadDone});
        rig.restart(ReadFrames);

        const QString sheet = dir.filePath(QStringLiteral("fiche.pdf"));
        rig.bench.files.answers << sheet;
        printCommissioningSheet(rig.bench.registry, QDateTime(QDate(2024, 3, 5), QTime(14, 5)));
        QCOMPARE(rig.bench.files.requests.last().proposedName, QStringLiteral("fiche_COM3_2024-03-05_14-05.pdf"));
        QVERIFY(shown.isEmpty());
        const QString info = run(QStringLiteral("pdfinfo"), {sheet});
        QVERIFY2(info.contains(QRegularExpression("Pages: +[12]\n")) && info.contains("(A4)"), qPrintable(info));
        // Blanks made one, so that a row reads whatever the layout's widths.
        const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), sheet, "-"}).simplified();
        for (const char *expected : {
                 "Fiche de mise en service du panneau", "Date : 05/03/2024 Heure : 14:05 Port : COM3",
                 "Nombre de digits d'affichage: 3.", "Affichage : Une décimale si possible.",
                 "Suppression des zéros de têtes: OUI.", "Remise à zéro du maximum : 36H sans dépassement.",
                 "Mode d'affichage: Instantané et Maximum.", "1-Distance parcourue pour 4 impulsions: 1,11111 m",
                 "Coefficient de vitesse (Étalonnage usine.) 444444", "Constante d'étalonnage (Étalonnage usine.) 400000",
                 "2-Moyenne réalisée sur 4 mesures de vitesse:", "3- Durée sans impulsion pour le 0Km/h: 5 Secondes.",
                 "Affichage rafraîchi 5,69 fois par secondes.", "Plage 1: de 0 à 10 Km/h : vert",
                 "Plage 2: de 10 à 30 Km/h : vert", "Plage 3: de 30 à 50 Km/h : orange",
                 "Plage 4: de 50 à 70 Km/h : rouge", "Plage 5: de 70 à 999,9 Km/h : rouge",
                 "Programmer un Maximum : 99,9 Km/h", "Luminosité Capteur LDR", "Fréquence de Commutation 5 secondes",
                 "Commutation JOUR/NUIT 4 (0=Jour. 15=Nuit)", "Relais 1: Oui",
                 "Relais 1 : contact Contact NF (Normalement FERMÉ.)", "Relais 1 : Seuil d'ACTIVATION. 20 Km/h",
                 "Relais 1 : Seuil de DESACTIVATION. 15 Km/h", "Relais 2: Oui",
                 "Relais 2 : contact Contact NO (Normalement OUVERT.)", "Relais 2 : Seuil d'ACTIVATION. 50 Km/h",
                 "Relais 2 : Seuil de DESACTIVATION. 45 Km/h", "Vitesse instantanée : 56,7 Km/h.",
                 "Maximum enregistré: 123,4 Km/h.",
                 "2 0,5556 0,5000 2,0000", "200 55,5556 50,0001 0,0200",
                 "40h 40 64 41 2C 01 F4 82 BC 83 E7 81 F4 01 C2 05 4F",
                 "50h 4D 52 03 00 00 04 02 1C C8 06 00 04 C0 C8 00 96",
                 "60h 75 09 04 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F",
                 "70h 70 71 72 73 74 75 76 77 78 79 7A 7B 7C 7D 7E 7F"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        // The table's headings wrap in their columns: read in drawing order.
        const QString raw = run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), sheet, "-"}).simplified();
        QVERIFY(raw.contains("Vitesse en Km/heure Distance en mètre par seconde Fréquence du signal en entrée "
                             "Période du signal en entrée 2 0,5556"));

        rig.bench.files.answers << dir.filePath(QStringLiteral("serie"));
        trigger(rig.bench, "MENU_ENREGISTRER_PARAMETRES");
        QFile file(dir.filePath(QStringLiteral("serie.kvlpar")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QVERIFY(saved.startsWith("KVL_PWS paramètres 1\n"));
        QVERIFY(saved.contains("\nHScroll1_2 = 30\n") && saved.contains("\nCOULE_3 = orange\n"));

        rig.panel.setMemory(panelB());
        click(rig.window, "but_lit_para");
        QCOMPARE(shown, QList<Shown>{ReadDone});
        QCOMPARE(rig.window.findChild<QScrollBar *>("HScroll1_1")->value(), 32);
        rig.restart(ReadFrames);

        rig.bench.files.answers << dir.filePath(QStringLiteral("serie.kvlpar"));
        trigger(rig.bench, "MENU_CHARGER_PARAMETRES");
        QVERIFY(shown.isEmpty());
        QCOMPARE(rig.window.findChild<QScrollBar *>("HScroll1_1")->value(), 100);
        QVERIFY(!rig.panel.waitForFrames(1, milliseconds(300))); // loading sends nothing

        click(rig.window, "but_ecrit_para");
        QCOMPARE(shown, QList<Shown>{writtenShown});
        const sim::Memory a = panelA(), b = panelB(), written = rig.panel.memory();
        for (int k = 0; k < 128; ++k)
            QVERIFY2(written[k] == (k >= 64 && k <= 98 ? a : b)[k], qPrintable(QString::number(k)));
    }

    // Without a panel: the file errors, a file that is not one, remarks on
    // loading, and the editor's captions as the files and the sheet write them.
    void filesWithoutPanel()
    {
        QTemporaryDir dir;
        Workbench bench;
        QList<Shown> &shown = bench.messages.shown;
        const QString unwritable = dir.filePath(QStringLiteral("absent/p.kvlpar"));
        bench.files.answers << unwritable;
        bench.messages.retryAnswers << Messages::Answer::Retry;
        saveParameterFile(bench.registry);
        const Shown createFailed{Icon::None, "Erreur lors de la création de " + unwritable + ". Essayer à nouveau"};
        QCOMPARE(shown, (QList<Shown>{createFailed, createFailed}));
        shown.clear();

        auto &editor = bench.registry.window<dump_24c01>(WindowId::Parameters);
        const auto load = [&](const QString &name, const QByteArray &bytes) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
            bench.files.answers << file.fileName();
            loadParameterFile(bench.registry);
        };
        QByteArray file = parameterFileText(EditorSettings{});
        load("image.kvlpar", "\x89PNG\r\n\x1a\n" + file);
        QCOMPARE(shown, (QList<Shown>{{Icon::None, dir.filePath("image.kvlpar") + " n'est pas un fichier de paramètres."}}));
        shown.clear();

        file.replace("HScroll1_1 = 19,9", "HScroll1_1 = 1200").replace("COULE_1 = vert", "COULE_1 = bleu");
        load("remarques.kvlpar", file + "Text1_100 = 00\n");
        QCOMPARE(shown, (QList<Shown>{{Icon::Exclamation, "Valeurs hors limites ramenées dans la plage : Plage 1 : "
                                                           "1200 → 999,9."},
                                      {Icon::Exclamation, "Valeurs illisibles, réglages laissés tels quels : COULE_1 = "
                                                           "bleu."},
                                      {Icon::Information, "Réglages inconnus ignorés : Text1_100."}}));
        QCOMPARE(editor.findChild<QScrollBar *>("HScroll1_1")->value(), 9999);

        using namespace EditorCaptions;
        const std::pair<const char *, const QStringList &> groups[] = {
            {"NB_DIGIT", digits()},        {"DECI_ENT", decimals()},   {"SUPRESS", suppression()},
            {"RAZ_TYPE", resetModes()},    {"AFF_TYPE", displayModes()}, {"Option1", luminosity()}};
        for (const auto &[group, captions] : groups) {
            for (int i = 0; i < captions.size(); ++i) {
                if (!captions[i].isEmpty())
                    QCOMPARE(editor.findChild<QRadioButton *>(memberName(group, i))->text(), captions[i]);
            }
        }
        QCOMPARE(editor.findChild<QRadioButton *>("Option3_1")->toolTip(), contacts()[1]);
    }

private:
    static void trigger(Workbench &bench, const char *item)
    {
        bench.principal.findChild<QAction *>(QString::fromLatin1(item))->trigger();
    }
    static void click(dump_24c01 &window, const char *button)
    {
        window.findChild<QPushButton *>(QString::fromLatin1(button))->click();
    }
};

QTEST_MAIN(RecordsTest)
#include "tst_records.moc"
