#include "config/config_files.h"
#include "config/config_text.h"
#include "link/configuration_window.h"
#include "support/raw_line.h"
#include "support/workbench.h"
#include "ui/french_locale.h"

#include <QMdiSubWindow>

using Answer = Messages::Answer;

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

// A configuration file: these positions, the texts of the items they select
// and the date and time of saving.
QByteArray configurationFile(const LinkPositions &positions, const QList<QByteArray> &items, const QByteArray &date,
                             const QByteArray &time)
{
    const QByteArray dashes(33, '-');
    const QByteArray blanks(33, ' ');
    QList<QByteArray> lines;
    for (int p : positions)
        lines << QByteArray::number(p);
    lines << "             O M R               " << dashes << "DEBUT DU FICHIER DE CONFIGURATION"
          << "CARTE KVL             OMR 04-2009" << "Chronom\xe8tre au centi\xe8me          " << dashes;
    const char *headings[] = {"Connect\xe9 sur Port ", "INTERFACE ", "DIGIT ", "Couleur ",
                              "DCF77 ", "Relais 1 ", "Relais 2 ", "R\xe9ponse "};
    for (int i = 0; i < 8; ++i)
        lines << headings[i] + items.value(i);
    lines << blanks << dashes << blanks << "FIN DU FICHIER DE CONFIGURATION  " << blanks << "cr\xe9" "e le: " + date
          << "\xe0 " + time << dashes << blanks;
    return lines.join("\r\n") + "\r\n";
}
struct LoadRow
{
    QString name;       // the dialog's answer; none: cancelled
    QByteArray file;    // null: no such file
    QList<int> positions;
    bool opened;
    ShownList messages; // %1: the file's path
};
} // namespace

class ConfigFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useFrenchEverywhere(); }

    // The last item of every list, saved on a fixed French date, and read back.
    void write()
    {
        const LinkPositions chosen{11, 1, 0, 0, 1, 1, 1, 0};
        const QByteArray text = TEXTE_CONFIGURATION(chosen, QDateTime(QDate(2024, 3, 5), QTime(14, 5)),
                                                    QLocale(QLocale::French, QLocale::France));
        QCOMPARE(text, configurationFile(chosen,
                                         {"COM12:", "Sans fil", "8 Digits 99 heu 59 min 59 sec 99 cen", "Mono couleur",
                                          "OUI", "OUI", "OUI", "NON"},
                                         "05/03/2024", "14:05"));
        QCOMPARE(readConfigurationPositions(text), std::optional(QList<int>(chosen.begin(), chosen.end())));
    }

    void windows1252_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Latin-1") << "créé à ÿ" << QByteArray("cr\xE9\xE9 \xE0 \xFF");
        QTest::newRow("euro, oe, Y diaeresis") << "€œŸ" << QByteArray("\x80\x9C\x9F");
        QTest::newRow("C1 controls") << QString(QChar(0x81)) + QChar(0x9D) << QByteArray("??");
        QTest::newRow("outside the code page") << "ą→" << QByteArray("??");
        QTest::newRow("beyond 16 bits, one mark") << "a😀b" << QByteArray("a?b");
    }
    void windows1252()
    {
        QFETCH(QString, text);
        QTEST(toWindows1252(text), "bytes");
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::optional<QList<int>>>("positions"); // none: not a configuration file
        const QList<int> all{2, 0, 2, 1, 0, 0, 0, 1};
        const QByteArray eight("2\r\n0\r\n2\r\n1\r\n0\r\n0\r\n0\r\n1\r\n");
        const std::optional<QList<int>> none;
        QTest::newRow("LF only, no final end") << QByteArray("2\n0\n2\n1\n0\n0\n0\n1") << std::optional(all);
        QTest::newRow("blanks around") << QByteArray(" 11 \r\n\t1\r\n") << std::optional(QList<int>{11, 1});
        QTest::newRow("port beyond the list") << QByteArray("12\r\n0\r\n") << std::optional(QList<int>{});
        QTest::newRow("digits then text") << QByteArray("1a\r\n") << std::optional(QList<int>{});
        QTest::newRow("empty line") << QByteArray("1\r\n\r\n0\r\n") << std::optional(QList<int>{1});
        QTest::newRow("huge number") << QByteArray("99999999999999999999\r\n") << std::optional(QList<int>{});
        QTest::newRow("empty file") << QByteArray() << std::optional(QList<int>{});
        QTest::newRow("64 KiB") << eight + QByteArray(65536 - eight.size(), ' ') << std::optional(all);
        QTest::newRow("beyond 64 KiB") << eight + QByteArray(65537 - eight.size(), ' ') << none;
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        QTEST(readConfigurationPositions(bytes), "positions");
    }

    // The defaults byte for byte (but the date and time, which must be there),
    // then the window's own positions.
    void saving()
    {
        QTemporaryDir dir;
        Workbench bench;
        ENREGISTRER_CONFIGURATION(bench.registry); // cancelled
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{});
        bench.files.next(dir.filePath("Configuration_LDQ"));
        ENREGISTRER_CONFIGURATION(bench.registry);
        QCOMPARE(bench.files.requests.value(1).proposedName, QStringLiteral("Configuration_LDQ"));
        const QByteArray saved = readAll(dir.filePath("Configuration_LDQ"));
        const QList<QByteArray> lines = saved.split('\n');
        const QByteArray date = lines.value(27).mid(9).chopped(1);
        const QByteArray time = lines.value(28).mid(2).chopped(1);
        // French whatever the machine's locale (the tests run under C).
        QVERIFY2(QRegularExpression("^\\d\\d/\\d\\d/\\d{4}$").match(date).hasMatch(), date.constData());
        QVERIFY2(QRegularExpression("^\\d\\d:\\d\\d$").match(time).hasMatch(), time.constData());
        QCOMPARE(saved, configurationFile({2, 0, 2, 1, 0, 0, 0, 1},
                                          {"COM3:", "Filaire ", "4 Digits 99 sec 99 cen", "Tri couleur ", "NON",
                                           "NON", "NON", "OUI"},
                                          date, time));

        CONFIGURATION &config = bench.registry.configuration();
        config.list(LinkSetting::SEL_COM)->setCurrentText(QStringLiteral("COM12:"));
        config.list(LinkSetting::SEL_REP)->setCurrentText(QStringLiteral("NON"));
        bench.files.next(dir.filePath("a.omr"));
        ENREGISTRER_CONFIGURATION(bench.registry);
        QVERIFY(readAll(dir.filePath("a.omr")).startsWith("11\r\n0\r\n2\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
        QVERIFY(bench.messages.shown.isEmpty());
    }

    void loading_data()
    {
        QTest::addColumn<LoadRow>("row");
        const QList<int> defaults{2, 0, 2, 1, 0, 0, 0, 1};
        const QByteArray eight("3\r\n1\r\n0\r\n0\r\n1\r\n1\r\n1\r\n0\r\n");
        const Shown opened{Icon::Information, "Ouverture du port COM4: effectuée avec succès."};
        const Shown notConfiguration{Icon::None, "%1 n'est pas un fichier de configuration."};
        const Shown unreadable{Icon::None, "Erreur d'ouverture de %1"};
        QTest::newRow("the eight numbers alone") << LoadRow{"c.omr", eight, {3, 1, 0, 0, 1, 1, 1, 0}, true, {opened}};
        QTest::newRow("third line bad")
            << LoadRow{"c.omr", QByteArray(eight).replace(6, 1, "9"), {3, 1, 2, 1, 0, 0, 0, 1}, false, {}};
        QTest::newRow("holding a NUL") << LoadRow{"c.omr", eight + '\0', defaults, false, {notConfiguration}};
        QTest::newRow("over 64 KiB")
            << LoadRow{"c.omr", eight + QByteArray(65536, ' '), defaults, false, {notConfiguration}};
        QTest::newRow("cancelled") << LoadRow{"", QByteArray(), defaults, false, {}};
        QTest::newRow("unreadable: retried, then given up")
            << LoadRow{"missing.omr", QByteArray(), defaults, false, {unreadable, unreadable}};
    }
    void loading()
    {
        QFETCH(LoadRow, row);
        auto [name, file, positions, opened, messages] = row;
        QTemporaryDir dir;
        RawLine com4;
        Workbench bench;
        bench.mapPort(4, com4.path());
        const QString path = dir.filePath(name);
        if (!file.isNull())
            QVERIFY(writeFile(path, file));
        if (!name.isEmpty())
            bench.files.next(path);
        bench.messages.retryAnswers << Answer::Retry << Answer::Cancel;
        OUVRIR_CONFIGURATION(bench.registry);
        QCOMPARE(bench.files.requests.value(0).proposedName, QStringLiteral("Configuration_LDQ"));

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
        bench.files.next(path);
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
        bench.files.next(kept);
        ENREGISTRER_CONFIGURATION(bench.registry);
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir.path()});
        QCOMPARE(bench.messages.texts(), QStringList{"Erreur lors de la création de " + kept + ". Essayer à nouveau"});
        QCOMPARE(readAll(kept), QByteArray("old settings\r\n"));
    }
};

QTEST_MAIN(ConfigFilesTest)
#include "tst_config_files.moc"
