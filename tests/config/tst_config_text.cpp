#include "config/config_text.h"

#include <QTest>

namespace {

const QDateTime SavedAt(QDate(2024, 3, 5), QTime(14, 5));

QByteArray file(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += toWindows1252(line) + "\r\n";
    return bytes;
}

QStringList reportLines(const QStringList &items)
{
    const QString dashes(33, QLatin1Char('-'));
    const QString blanks(33, QLatin1Char(' '));
    return {"             O M R               ", dashes, "DEBUT DU FICHIER DE CONFIGURATION",
            "CARTE KVL             OMR 04-2009", "Chronomètre au centième          ", dashes,
            "Connecté sur Port " + items[0], "INTERFACE " + items[1], "DIGIT " + items[2], "Couleur " + items[3],
            "DCF77 " + items[4], "Relais 1 " + items[5], "Relais 2 " + items[6], "Réponse " + items[7], blanks,
            dashes, blanks, "FIN DU FICHIER DE CONFIGURATION  ", blanks, "crée le: 05/03/2024", "à 14:05", dashes,
            blanks};
}

} // namespace

class TestConfigText : public QObject
{
    Q_OBJECT
private slots:
    void write_data()
    {
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("defaults") << QList<int>{2, 0, 2, 1, 0, 0, 0, 1}
                                  << QStringList{"COM3:", "Filaire ", "4 Digits 99 sec 99 cen", "Tri couleur ", "NON",
                                                 "NON", "NON", "OUI"};
        QTest::newRow("last items") << QList<int>{11, 1, 0, 0, 1, 1, 1, 0}
                                    << QStringList{"COM12:", "Sans fil", "8 Digits 99 heu 59 min 59 sec 99 cen",
                                                   "Mono couleur", "OUI", "OUI", "OUI", "NON"};
    }
    void write()
    {
        QFETCH(QList<int>, positions);
        QFETCH(QStringList, items);
        LinkPositions chosen{};
        std::copy(positions.begin(), positions.end(), chosen.begin());
        const QByteArray text = TEXTE_CONFIGURATION(chosen, SavedAt, QLocale(QLocale::French, QLocale::France));

        QStringList lines;
        for (int p : positions)
            lines.append(QString::number(p));
        QCOMPARE(text, file(lines + reportLines(items)));
        QCOMPARE(text.count("\r\n"), 31);
        QVERIFY(text.contains("\r\nChronom\xE8tre au centi\xE8me          \r\n"));
        QCOMPARE(readConfigurationPositions(text), std::optional<QList<int>>(positions));
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
        QFETCH(QByteArray, bytes);
        QCOMPARE(toWindows1252(text), bytes);
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("configuration");
        QTest::addColumn<QList<int>>("positions");
        const QList<int> all{2, 0, 2, 1, 0, 0, 0, 1};
        const QByteArray eight("2\r\n0\r\n2\r\n1\r\n0\r\n0\r\n0\r\n1\r\n");
        QTest::newRow("eight lines alone") << eight << true << all;
        QTest::newRow("LF only, no final end") << QByteArray("2\n0\n2\n1\n0\n0\n0\n1") << true << all;
        QTest::newRow("blanks around") << QByteArray(" 11 \r\n\t1\r\n") << true << QList<int>{11, 1};
        QTest::newRow("port beyond the list") << QByteArray("12\r\n0\r\n") << true << QList<int>{};
        QTest::newRow("stops at a bad line") << QByteArray("3\r\n2\r\n0\r\n") << true << QList<int>{3};
        QTest::newRow("digits then text") << QByteArray("1a\r\n") << true << QList<int>{};
        QTest::newRow("empty line") << QByteArray("1\r\n\r\n0\r\n") << true << QList<int>{1};
        QTest::newRow("huge number") << QByteArray("99999999999999999999\r\n") << true << QList<int>{};
        QTest::newRow("empty file") << QByteArray() << true << QList<int>{};
        QTest::newRow("64 KiB") << eight + QByteArray(65536 - eight.size(), ' ') << true << all;
        QTest::newRow("beyond 64 KiB") << eight + QByteArray(65537 - eight.size(), ' ') << false << QList<int>{};
        QTest::newRow("NUL byte") << eight + QByteArray(1, '\0') << false << QList<int>{};
    }
    void read()
    {
        QFETCH(bool, configuration);
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, positions);
        const std::optional<QList<int>> read = readConfigurationPositions(bytes);
        QCOMPARE(read.has_value(), configuration);
        if (configuration)
            QCOMPARE(*read, positions);
    }
};

QTEST_GUILESS_MAIN(TestConfigText)
#include "tst_config_text.moc"
