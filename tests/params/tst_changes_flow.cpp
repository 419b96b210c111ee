#include "app/status_line.h"
#include "faults/fault_rig.h"
#include "params/parameter_window.h"
#include "records/parameter_file.h"

#include <QMdiSubWindow>

using namespace faults;

namespace {
const Shown discardQuestion{Icon::Exclamation,
                            "Les réglages modifiés n'ont pas été programmés. Fermer quand même ?"};
const Shown unsentSheet{Icon::Exclamation, "La fiche décrit le panneau : programmez les réglages modifiés, ou relisez "
                                           "le panneau, avant de l'imprimer."};
// The editor's start-up values in the card's format: ranges 19,9 and 39,9
// green, 79,9 orange, 99,9 and 0 red; relay 2 off, open, 30 and 29; 3 s;
// marker; 100 %; 4 measures; refresh 2; coefficient 444444 (1,11111 m at
// 400000) least significant first; 1 pulse; relay 1 off, open, 20 and 19;
// 3 digits, instantaneous, reset by OPTO, one decimal, zeros suppressed;
// 5 s; threshold 5.
const std::vector<std::uint8_t> startUpBlock{0x40, 0xC7, 0x41, 0x8F, 0x03, 0x1F, 0x83, 0xE7, 0x80, 0x00, 0x01, 0x2C,
                                             0x01, 0x22, 0x03, 0x4F, 0x4D, 0x52, 0x02, 0x00, 0x00, 0x04, 0x02, 0x1C,
                                             0xC8, 0x06, 0x00, 0x01, 0x00, 0xC8, 0x00, 0xBE, 0x61, 0x09, 0x05};
const QRegularExpression readAt(QStringLiteral("^COM3 : réglages lus sur le panneau à \\d\\d:\\d\\d\\.$"));
const QRegularExpression writtenAt(QStringLiteral("^COM3 : panneau programmé à \\d\\d:\\d\\d\\.$"));
} // namespace

class ChangesFlowTest : public QObject
{
    Q_OBJECT

private slots:
    void startUpValues_data()
    {
        QTest::addColumn<bool>("programme");
        QTest::newRow("Annuler") << false;
        QTest::newRow("Programmer") << true;
    }
    // Settings never read from this panel: the list of what changes comes
    // after the backup read and before anything is written.
    void startUpValues()
    {
        QFETCH(bool, programme);
        FaultRig<dump_24c01> rig(WindowId::Parameters, sim::Fault::None, QStringLiteral("NON"));
        rig.panel.setLineRate(true);
        QCOMPARE(status(rig), QStringLiteral("COM3 : panneau non lu."));
        rig.changes.answers << ScriptedChangeViews::Answer{programme, {}};
        rig.click("but_ecrit_para");
        QCOMPARE(rig.changes.requests.size(), 1);
        const ChangesRequest &asked = rig.changes.requests[0];
        QCOMPARE(asked.lead, QStringLiteral("Le panneau sur COM3 va changer :"));
        QVERIFY(asked.rows.contains(ChangeRow{"Plage 1: limite", "10 Km/h", "19,9 Km/h"}));
        const QStringList sent = wire::frames(programme ? editorRead + "; " + writeFrames(0x40, 4) + "31 OOO; 31 RRR"
                                                        : editorRead);
        QCOMPARE(wire::masked(rig.frames(int(sent.size())), sent), sent);
        QVERIFY(rig.messages.shown.isEmpty());
        sim::Memory expected = rig.before;
        if (programme)
            std::copy(startUpBlock.begin(), startUpBlock.end(), expected.begin() + 64);
        QCOMPARE(rig.panel.memory(), expected);
        rig.backupsHold(programme ? QList{rig.before} : QList<sim::Memory>{}, 64);
        if (programme)
            QVERIFY2(writtenAt.match(status(rig)).hasMatch(), qPrintable(status(rig)));
        else
            QCOMPARE(status(rig), QStringLiteral("COM3 : %1 réglages modifiés, non programmés.").arg(asked.rows.size()));
    }

    // Read, two edits, write: no question; the status bar and the sheet
    // follow what the panel holds.
    void readEditWrite()
    {
        FaultRig<dump_24c01> rig(WindowId::Parameters, sim::Fault::None, QStringLiteral("OUI"));
        rig.click("but_lit_para");
        QVERIFY(readAt.match(status(rig)).hasMatch());
        rig.find<QAbstractSlider>("HScroll1_1").setValue(111);
        QCOMPARE(status(rig), QStringLiteral("COM3 : 1 réglage modifié, non programmé."));
        rig.find<QAbstractSlider>("Slider_ZEROPULSE").setValue(9);
        QCOMPARE(status(rig), QStringLiteral("COM3 : 2 réglages modifiés, non programmés."));
        rig.restart(count(editorRead) + 8);
        rig.trigger("MENU_FICHE");
        QCOMPARE(rig.messages.shown, ShownList{unsentSheet});
        rig.messages.clear();

        rig.click("but_ecrit_para");
        QVERIFY(rig.changes.requests.isEmpty());
        QCOMPARE(rig.messages.shown, ShownList{writtenShown});
        QCOMPARE(rig.panel.memory()[65], std::uint8_t(111));
        QCOMPARE(rig.panel.memory()[78], std::uint8_t(9));
        QVERIFY(writtenAt.match(status(rig)).hasMatch());
        rig.messages.clear();
        QTemporaryDir dir;
        rig.files.answers << dir.filePath("fiche.pdf");
        rig.trigger("MENU_FICHE");
        QVERIFY(rig.messages.shown.isEmpty());
        QVERIFY(QFile::exists(dir.filePath("fiche.pdf")));
    }

    // A file onto a read panel: what differs, row by row; a row left keeps
    // the editor's value; nothing is sent. Then closing and quitting with
    // unsent edits ask, and "Non" keeps all.
    void fileRowsAndQuestions()
    {
        FaultRig<dump_24c01> rig(WindowId::Parameters, sim::Fault::None, QStringLiteral("NON"));
        rig.click("but_lit_para");
        EditorSettings file = rig.window.currentSettings();
        file.parameters.ranges[0].threshold = 150;
        file.parameters.zeroPulseSeconds = 8;
        file.parameters.digits = 3;
        QTemporaryDir dir;
        QFile saved(dir.filePath("p.kvlpar"));
        QVERIFY(saved.open(QIODevice::WriteOnly) && saved.write(parameterFileText(file)) > 0);
        saved.close();
        rig.restart(count(editorRead) + 8);
        rig.files.answers << saved.fileName();
        rig.changes.answers << ScriptedChangeViews::Answer{true, {"Plage 1: limite"}};
        rig.trigger("MENU_CHARGER_PARAMETRES");
        const ChangesRequest &asked = rig.changes.requests.value(0);
        QVERIFY(asked.checkable);
        QCOMPARE(asked.rows, (QList<ChangeRow>{{"Nombre de digits d'affichage:", "3.", "4."},
                              {"3- Durée sans impulsion pour le 0Km/h:", "5 Secondes", "8 Secondes"},
                              {"Plage 1: limite", "10 Km/h", "15 Km/h"}}));
        QCOMPARE(rig.find<QAbstractSlider>("HScroll1_1").value(), 100);
        QCOMPARE(rig.find<QAbstractSlider>("Slider_ZEROPULSE").value(), 8);
        QVERIFY(rig.find<QRadioButton>("NB_DIGIT_3").isChecked());
        QCOMPARE(rig.frames(0), QStringList());

        QMdiSubWindow *frame = rig.registry.frame(WindowId::Parameters);
        rig.messages.yesNoAnswers << Messages::Answer::No << Messages::Answer::No << Messages::Answer::No;
        QVERIFY(!frame->close());
        rig.trigger("MENU_QUITTER");
        QVERIFY(!rig.principal.close());
        QCOMPARE(rig.messages.shown, ShownList(3, discardQuestion));
        QCOMPARE(rig.registry.loaded(WindowId::Parameters), &rig.window);
        QCOMPARE(rig.find<QAbstractSlider>("Slider_ZEROPULSE").value(), 8);
        rig.messages.clear();
        QVERIFY(frame->close()); // answered "Oui"
        QCOMPARE(rig.messages.shown, ShownList{discardQuestion});
    }

private:
    template <class Rig> static QString status(Rig &rig)
    {
        QCoreApplication::processEvents();
        return rig.principal.template findChild<QLabel *>("STATUS_PANNEAU")->text();
    }
};

QTEST_MAIN(ChangesFlowTest)
#include "tst_changes_flow.moc"
