#include "config/config_text.h"

#include <QTest>

class TestConfigText : public QObject
{
    Q_OBJECT
private slots:
    // The last item of every list, saved on a fixed French date.
    void write()
    {
        const LinkPositions chosen{11, 1, 0, 0, 1, 1, 1, 0};
        const QByteArray text = TEXTE_CONFIGURATION(chosen, QDateTime(QDate(2024, 3, 5), QTime(14, 5)),
                                                    QLocale(QLocale::French, QLocale::France));
        const QByteArray dashes(33, '-');
        const QByteArray blanks(33, ' ');
        const QList<QByteArray> lines{
            "11", "1", "0", "0", "1", "1", "1", "0", "             O M R               ", dashes,
            "DEBUT DU FICHIER DE CONFIGURATION", "CARTE KVL             OMR 04-2009",
            "Chronom\xe8tre au centi\xe8me          ", dashes, "Connect\xe9 sur Port COM12:", "INTERFACE Sans fil",
            "DIGIT 8 Digits 99 heu 59 min 59 sec 99 cen", "Couleur Mono couleur", "DCF77 OUI", "Relais 1 OUI",
            "Relais 2 OUI", "R\xe9ponse NON", blanks, dashes, blanks, "FIN DU FICHIER DE CONFIGURATION  ", blanks,
            "cr\xe9" "e le: 05/03/2024", "\xe0 14:05", dashes, blanks};
        QCOMPARE(text, lines.join("\r\n") + "\r\n");
        QCOMPARE(readConfigurationPositions(text), std::optional<QList<int>>(QList<int>(chosen.begin(), chosen.end())));
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
        QTest::newRow("stops at a bad line") << QByteArray("3\r\n2\r\n0\r\n") << std::optional(QList<int>{3});
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
};

QTEST_GUILESS_MAIN(TestConfigText)
#include "tst_config_text.moc"
