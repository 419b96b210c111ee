#include "config/config_files.h"
#include "link/configuration_window.h"
#include "support/pty_pair.h"
#include "support/workbench.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QtTest>

using Icon = Messages::Icon;

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class ConfigFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void savingTheDefaults();
    void savedPortComesBackAndOpens();
    void loading_data();
    void loading();
    void cancelledDialogsChangeNothing();
    void persistentWriteErrorLeavesNoFile();
};

void ConfigFilesTest::savingTheDefaults()
{
    QTemporaryDir dir;
    Workbench bench;
    const QString path = dir.filePath("Configuration_LDQ");
    bench.files.answers << path;
    ENREGISTRER_CONFIGURATION(bench.registry);

    QCOMPARE(bench.files.requests.size(), 1);
    QCOMPARE(bench.files.requests[0].title, QStringLiteral("Enregistrer un fichier de configuration LDQ"));
    QCOMPARE(bench.files.requests[0].filter, QStringLiteral("Fichiers configuration(*.OMR);;Tous les fichiers(*.*)"));
    QCOMPARE(bench.files.requests[0].proposedName, QStringLiteral("Configuration_LDQ"));
    const QList<QByteArray> lines = readAll(path).split('\n');
    QCOMPARE(lines.size(), 32); // 31 lines, each ended by CR LF
    const QByteArray blanks(33, ' ');
    const QByteArray dashes(33, '-');
    const QList<QByteArray> expected{
        "2", "0", "2", "1", "0", "0", "0", "1", "             O M R               ", dashes,
        "DEBUT DU FICHIER DE CONFIGURATION", "CARTE KVL             OMR 04-2009",
        "Chronom\xe8tre au centi\xe8me          ", dashes, "Connect\xe9 sur Port COM3:", "INTERFACE Filaire ",
        "DIGIT 4 Digits 99 sec 99 cen", "Couleur Tri couleur ", "DCF77 NON", "Relais 1 NON", "Relais 2 NON",
        "R\xe9ponse OUI", blanks, dashes, blanks, "FIN DU FICHIER DE CONFIGURATION  ", blanks};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(lines[i], expected[i] + '\r');
    QVERIFY(lines[27].startsWith("cr\xe9" "e le: "));
    QVERIFY(lines[28].startsWith("\xe0 "));
    QCOMPARE(lines[29], dashes + '\r');
    QCOMPARE(lines[30], blanks + '\r');
    QVERIFY(bench.messages.shown.isEmpty());
}

void ConfigFilesTest::savedPortComesBackAndOpens()
{
    QTemporaryDir dir;
    PtyPair com12;
    Workbench bench;
    bench.mapPort(12, com12.path());
    CONFIGURATION &config = bench.registry.configuration();
    config.list(LinkSetting::SEL_COM)->setCurrentText(QStringLiteral("COM12:"));
    config.list(LinkSetting::SEL_REP)->setCurrentText(QStringLiteral("NON"));
    bench.files.answers << dir.filePath("a.omr");
    ENREGISTRER_CONFIGURATION(bench.registry);
    QVERIFY(readAll(dir.filePath("a.omr")).startsWith("11\r\n0\r\n2\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));

    bench.principal.MENU_NOUVELLE_Click();
    bench.files.answers << dir.filePath("a.omr");
    OUVRIR_CONFIGURATION(bench.registry);
    CONFIGURATION &fresh = bench.registry.configuration();
    QCOMPARE(bench.files.requests.last().title, QStringLiteral("Ouvrir un fichier de configuration LDQ"));
    QCOMPARE(bench.files.requests.last().filter, QStringLiteral("Fichiers configuration(*.omr);;Tous les fichiers(*.*)"));
    QCOMPARE(fresh.list(LinkSetting::SEL_COM)->currentText(), QStringLiteral("COM12:"));
    QCOMPARE(fresh.answerCheck(), QStringLiteral("NON"));
    QVERIFY(fresh.portOpenFlag());
    QCOMPARE(fresh.MSComm1().device(), com12.path());
    QCOMPARE(bench.messages.texts(), QStringList{"Ouverture du port COM12: effectuée avec succès."});
}

void ConfigFilesTest::loading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QStringList>("messages");
    const QList<int> defaults{2, 0, 2, 1, 0, 0, 0, 1};
    QTest::newRow("the eight numbers alone") << QByteArray("3\r\n1\r\n0\r\n0\r\n1\r\n1\r\n1\r\n0\r\n")
                                             << QList<int>{3, 1, 0, 0, 1, 1, 1, 0} << true
                                             << QStringList{};
    QTest::newRow("third line bad") << QByteArray("3\r\n1\r\n9\r\n0\r\n1\r\n1\r\n1\r\n0\r\n")
                                    << QList<int>{3, 1, 2, 1, 0, 0, 0, 1} << false << QStringList{};
    QTest::newRow("holding a NUL") << QByteArray("3\r\n1\r\n0\r\n0\r\n1\r\n1\r\n1\r\n0\r\n\0", 25) << defaults
                                   << false << QStringList{"%1 n'est pas un fichier de configuration."};
    QTest::newRow("over 64 KiB") << QByteArray("3\r\n1\r\n0\r\n0\r\n1\r\n1\r\n1\r\n0\r\n") + QByteArray(65536, ' ')
                                 << defaults << false << QStringList{"%1 n'est pas un fichier de configuration."};
}

void ConfigFilesTest::loading()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, positions);
    QFETCH(bool, opened);
    QFETCH(QStringList, messages);
    QTemporaryDir dir;
    PtyPair com4;
    Workbench bench;
    bench.mapPort(4, com4.path());
    const QString path = dir.filePath("c.omr");
    writeFile(path, file);
    bench.files.answers << path;
    bench.messages.retryAnswers.clear();
    OUVRIR_CONFIGURATION(bench.registry);

    CONFIGURATION &config = bench.registry.configuration();
    const LinkPositions selected = config.positions();
    QCOMPARE(QList<int>(selected.begin(), selected.end()), positions);
    QCOMPARE(config.portOpenFlag(), opened);
    QCOMPARE(config.MSComm1().isOpen(), opened);
    if (opened)
        messages << "Ouverture du port COM4: effectuée avec succès.";
    for (QString &m : messages)
        m = m.arg(path);
    QCOMPARE(bench.messages.texts(), messages);
}

void ConfigFilesTest::cancelledDialogsChangeNothing()
{
    QTemporaryDir dir;
    Workbench bench;
    ENREGISTRER_CONFIGURATION(bench.registry);
    OUVRIR_CONFIGURATION(bench.registry);
    QCOMPARE(bench.files.requests.size(), 2);
    QVERIFY(bench.messages.shown.isEmpty());
    QVERIFY(!bench.registry.configuration().MSComm1().isOpen());

    // A file that cannot be read: retry once, then give up.
    bench.files.answers << dir.filePath("missing.omr");
    bench.messages.retryAnswers << Messages::Answer::Retry << Messages::Answer::Cancel;
    OUVRIR_CONFIGURATION(bench.registry);
    const RecordingMessages::Shown failure{Icon::None, "Erreur d'ouverture de " + dir.filePath("missing.omr")};
    QCOMPARE(bench.messages.shown, (QList<RecordingMessages::Shown>{failure, failure}));
}

void ConfigFilesTest::persistentWriteErrorLeavesNoFile()
{
    QTemporaryDir dir;
    Workbench bench;
    const QString path = dir.filePath("no-such-folder/c.omr");
    bench.files.answers << path;
    bench.messages.retryAnswers << Messages::Answer::Retry << Messages::Answer::Retry << Messages::Answer::Cancel;
    ENREGISTRER_CONFIGURATION(bench.registry);
    const QString failure = "Erreur lors de la création de " + path + ". Essayer à nouveau";
    QCOMPARE(bench.messages.texts(), (QStringList{failure, failure, failure}));
    QCOMPARE(bench.messages.shown.first().icon, Icon::None);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{});

    // A folder that refuses new files: the file already there stays whole.
    const QString kept = dir.filePath("kept.omr");
    writeFile(kept, "old settings\r\n");
    if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dir.path()}) != 0)
        QSKIP("this file system cannot lock a folder");
    bench.messages.clear();
    bench.files.answers << kept;
    ENREGISTRER_CONFIGURATION(bench.registry);
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir.path()});
    QCOMPARE(bench.messages.texts(), QStringList{"Erreur lors de la création de " + kept + ". Essayer à nouveau"});
    QCOMPARE(readAll(kept), QByteArray("old settings\r\n"));
}

QTEST_MAIN(ConfigFilesTest)
#include "tst_config_files.moc"
