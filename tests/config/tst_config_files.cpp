#include "config/config_files.h"
#include "link/configuration_window.h"
#include "support/pty_pair.h"
#include "support/workbench.h"

#include <QComboBox>
#include <QMdiSubWindow>
#include <QtTest>

using Icon = Messages::Icon;
using Answer = Messages::Answer;
using Shown = RecordingMessages::Shown;

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList request(const FileDialogs::Request &r)
{
    return {r.title, r.filter, r.proposedName};
}
} // namespace

class ConfigFilesTest : public QObject
{
    Q_OBJECT

private slots:
    // The defaults byte for byte (but the date and time); then "COM12:" and
    // "NON" saved, and loaded back into new link settings, which open COM12.
    void savingAndLoadingBack()
    {
        QTemporaryDir dir;
        PtyPair com12;
        Workbench bench;
        bench.mapPort(12, com12.path());
        ENREGISTRER_CONFIGURATION(bench.registry); // cancelled
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{});
        bench.files.answers << dir.filePath("Configuration_LDQ");
        ENREGISTRER_CONFIGURATION(bench.registry);
        QCOMPARE(request(bench.files.requests.value(1)),
                 (QStringList{"Enregistrer un fichier de configuration LDQ",
                              "Fichiers configuration(*.OMR);;Tous les fichiers(*.*)", "Configuration_LDQ"}));
        const QByteArray blanks(33, ' ');
        const QByteArray dashes(33, '-');
        const QList<QByteArray> expected{
            "2", "0", "2", "1", "0", "0", "0", "1", "             O M R               ", dashes,
            "DEBUT DU FICHIER DE CONFIGURATION", "CARTE KVL             OMR 04-2009",
            "Chronom\xe8tre au centi\xe8me          ", dashes, "Connect\xe9 sur Port COM3:", "INTERFACE Filaire ",
            "DIGIT 4 Digits 99 sec 99 cen", "Couleur Tri couleur ", "DCF77 NON", "Relais 1 NON", "Relais 2 NON",
            "R\xe9ponse OUI", blanks, dashes, blanks, "FIN DU FICHIER DE CONFIGURATION  ", blanks, dashes, blanks};
        QList<QByteArray> lines = readAll(dir.filePath("Configuration_LDQ")).split('\n');
        QCOMPARE(lines.size(), 32); // 31 lines, each ended by CR LF
        QVERIFY(lines.takeAt(27).startsWith("cr\xe9" "e le: "));
        QVERIFY(lines.takeAt(27).startsWith("\xe0 "));
        QCOMPARE(lines.join('\n'), expected.join("\r\n") + "\r\n");

        CONFIGURATION &config = bench.registry.configuration();
        config.list(LinkSetting::SEL_COM)->setCurrentText(QStringLiteral("COM12:"));
        config.list(LinkSetting::SEL_REP)->setCurrentText(QStringLiteral("NON"));
        bench.files.answers << dir.filePath("a.omr");
        ENREGISTRER_CONFIGURATION(bench.registry);
        QVERIFY(readAll(dir.filePath("a.omr")).startsWith("11\r\n0\r\n2\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
        QVERIFY(bench.messages.shown.isEmpty());

        bench.principal.MENU_NOUVELLE_Click();
        bench.files.answers << dir.filePath("a.omr");
        OUVRIR_CONFIGURATION(bench.registry);
        QCOMPARE(request(bench.files.requests.last()),
                 (QStringList{"Ouvrir un fichier de configuration LDQ",
                              "Fichiers configuration(*.omr);;Tous les fichiers(*.*)", "Configuration_LDQ"}));
        CONFIGURATION &fresh = bench.registry.configuration();
        QCOMPARE(fresh.list(LinkSetting::SEL_COM)->currentText(), QStringLiteral("COM12:"));
        QCOMPARE(fresh.answerCheck(), QStringLiteral("NON"));
        QVERIFY(fresh.portOpenFlag());
        QCOMPARE(fresh.MSComm1().device(), com12.path());
        QCOMPARE(bench.messages.texts(), QStringList{"Ouverture du port COM12: effectuée avec succès."});
    }

    void loading_data()
    {
        QTest::addColumn<QString>("name"); // the dialog's answer; none: cancelled
        QTest::addColumn<QByteArray>("file"); // null: no such file
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QList<Shown>>("messages"); // %1: the file's path
        const QList<int> defaults{2, 0, 2, 1, 0, 0, 0, 1};
        const QByteArray eight("3\r\n1\r\n0\r\n0\r\n1\r\n1\r\n1\r\n0\r\n");
        const Shown opened{Icon::Information, "Ouverture du port COM4: effectuée avec succès."};
        const Shown notConfiguration{Icon::None, "%1 n'est pas un fichier de configuration."};
        const Shown unreadable{Icon::None, "Erreur d'ouverture de %1"};
        QTest::newRow("the eight numbers alone") << "c.omr" << eight << QList<int>{3, 1, 0, 0, 1, 1, 1, 0} << true
                                                 << QList<Shown>{opened};
        QTest::newRow("third line bad") << "c.omr" << QByteArray(eight).replace(6, 1, "9")
                                        << QList<int>{3, 1, 2, 1, 0, 0, 0, 1} << false << QList<Shown>{};
        QTest::newRow("holding a NUL") << "c.omr" << eight + '\0' << defaults << false << QList<Shown>{notConfiguration};
        QTest::newRow("over 64 KiB") << "c.omr" << eight + QByteArray(65536, ' ') << defaults << false
                                     << QList<Shown>{notConfiguration};
        QTest::newRow("cancelled") << "" << QByteArray() << defaults << false << QList<Shown>{};
        QTest::newRow("unreadable: retried, then given up") << "missing.omr" << QByteArray() << defaults << false
                                                            << QList<Shown>{unreadable, unreadable};
    }
    void loading()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, positions);
        QFETCH(bool, opened);
        QFETCH(QList<Shown>, messages);
        QTemporaryDir dir;
        PtyPair com4;
        Workbench bench;
        bench.mapPort(4, com4.path());
        const QString path = dir.filePath(name);
        if (!file.isNull())
            QVERIFY(writeFile(path, file));
        if (!name.isEmpty())
            bench.files.answers << path;
        bench.messages.retryAnswers << Answer::Retry << Answer::Cancel;
        OUVRIR_CONFIGURATION(bench.registry);

        CONFIGURATION &config = bench.registry.configuration();
        const LinkPositions selected = config.positions();
        QCOMPARE(QList<int>(selected.begin(), selected.end()), positions);
        QCOMPARE(config.portOpenFlag(), opened);
        QCOMPARE(config.MSComm1().isOpen(), opened);
        for (Shown &m : messages)
            m.text = m.text.arg(path);
        QCOMPARE(bench.messages.shown, messages);
    }

    void persistentWriteErrorLeavesNoFile()
    {
        QTemporaryDir dir;
        Workbench bench;
        const QString path = dir.filePath("no-such-folder/c.omr");
        bench.files.answers << path;
        bench.messages.retryAnswers << Answer::Retry << Answer::Retry << Answer::Cancel;
        bench.registry.show(WindowId::Configuration);
        bench.registry.minimize(WindowId::Configuration);
        ENREGISTRER_CONFIGURATION(bench.registry);
        // The file comes first: without it the link settings are not shown.
        QVERIFY(bench.registry.frame(WindowId::Configuration)->isMinimized());
        const Shown failure{Icon::None, "Erreur lors de la création de " + path + ". Essayer à nouveau"};
        QCOMPARE(bench.messages.shown, (QList<Shown>{failure, failure, failure}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{});

        // A folder that refuses new files: the file already there stays whole.
        const QString kept = dir.filePath("kept.omr");
        QVERIFY(writeFile(kept, "old settings\r\n"));
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dir.path()}) != 0)
            QSKIP("this file system cannot lock a folder");
        bench.messages.clear();
        bench.files.answers << kept;
        ENREGISTRER_CONFIGURATION(bench.registry);
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir.path()});
        QCOMPARE(bench.messages.texts(), QStringList{"Erreur lors de la création de " + kept + ". Essayer à nouveau"});
        QCOMPARE(readAll(kept), QByteArray("old settings\r\n"));
    }
};

QTEST_MAIN(ConfigFilesTest)
#include "tst_config_files.moc"
