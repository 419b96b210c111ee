#include "params/parameter_changes.h"

#include <QRandomGenerator>
#include <QtTest>

#include <map>

namespace {

using Block = std::array<int, 128>;
using Edit = QList<std::pair<int, int>>; // address, byte (-1: unknown)

MemoryBytes bytesOf(const Block &b)
{
    MemoryBytes bytes;
    for (int a = 64; a < 128; ++a)
        bytes[a] = quint8(b[a]);
    return bytes;
}

int word(const Block &b, int a)
{
    return b[a] << 8 | b[a + 1];
}

int highestBit(int byte, int from, int to)
{
    int found = -1;
    for (int bit = from; bit <= to; ++bit) {
        if (byte & (1 << bit))
            found = bit;
    }
    return found;
}

// What each setting is on the card, from its format alone: two cards differ
// in a setting exactly when these values differ.
std::map<QString, int> settingsOf(const Block &b)
{
    std::map<QString, int> s{
        {"Nombre de digits d'affichage:", b[96] & 0xC0},
        {"Affichage :", b[96] & 0x02},
        {"Suppression des zéros de têtes:", b[96] & 0x01},
        {"Remise à zéro du maximum :", b[96] & 0x0C},
        {"Mode d'affichage:", b[96] & 0x30},
        {"Coefficient de vitesse (Étalonnage usine.)", b[87] | b[88] << 8 | b[89] << 16 | b[90] << 24},
        {"Nombre d'impulsion utilisée pour le calcul instantané:", b[91]},
        {"2-Moyenne réalisée sur :", (b[85] && (b[85] & (b[85] - 1)) == 0 && b[85] <= 16) ? b[85] : -1},
        {"3- Durée sans impulsion pour le 0Km/h:", b[78]},
        {"Affichage rafraîchi", b[86]},
        {"Programmer un Maximum :", word(b, 72) & 0x3FFF},
        // The light sensor's bit first; else the highest level bit.
        {"Luminosité", b[82] & 1 ? 0 : highestBit(b[82], 1, 6)},
        {"Fréquence de Commutation", b[97] >> 1},
        {"Commutation JOUR/NUIT", b[98]},
    };
    for (int i = 0; i < 5; ++i) {
        if (i < 4)
            s[QStringLiteral("Plage %1: limite").arg(i + 1)] = word(b, 64 + 2 * i) & 0x3FFF;
        const int flags = b[64 + 2 * i] & 0xC0;
        s[QStringLiteral("Plage %1: couleur").arg(i + 1)] = flags & 0x80 ? 2 : flags; // red wins
    }
    for (const auto &[relay, at] : {std::pair{1, 92}, {2, 74}}) {
        const QString name = QStringLiteral("Relais %1 : ").arg(relay);
        s[QStringLiteral("Relais %1:").arg(relay)] = b[at] & 0x80;
        s[name + "contact"] = b[at] & 0x40;
        s[name + "Seuil d'ACTIVATION."] = word(b, at) & 0x3FFF;
        s[name + "Seuil de DESACTIVATION."] = word(b, at + 2) & 0x3FFF;
    }
    return s;
}

Block programmed(QRandomGenerator &random)
{
    Block b{};
    for (int a = 64; a < 128; ++a)
        b[a] = int(random.bounded(256));
    b[79] = 0x4F;
    return b;
}

} // namespace

class ParameterChangesTest : public QObject
{
    Q_OBJECT

private slots:
    // Over generated pairs of cards, a few bytes apart: one row for each
    // setting that differs, none for equal cards, the coefficient's four
    // bytes one row.
    void generatedPairs()
    {
        QRandomGenerator random(20261207);
        for (int n = 0; n < 3000; ++n) {
            const Block a = programmed(random);
            Block b = a;
            for (int k = int(random.bounded(4)); k > 0; --k)
                b[64 + random.bounded(64)] ^= 1 << random.bounded(8);
            b[79] = 0x4F;
            QStringList expected;
            const std::map<QString, int> before = settingsOf(a), after = settingsOf(b);
            for (const auto &[caption, value] : before) {
                if (after.at(caption) != value)
                    expected << caption;
            }
            QStringList rows;
            for (const SettingChange &c : parameterChanges(bytesOf(a), bytesOf(b)))
                rows << c.caption;
            QCOMPARE(rows.size(), QSet<QString>(rows.begin(), rows.end()).size());
            rows.sort();
            expected.sort();
            QCOMPARE(rows, expected);
            QVERIFY(parameterChanges(bytesOf(a), bytesOf(a)).isEmpty());
        }
    }

    void texts_data()
    {
        QTest::addColumn<Edit>("edit"); // address, byte, from the sample card
        QTest::addColumn<QList<SettingChange>>("rows");
        QTest::addColumn<int>("settings"); // rows of settings in all
        const auto row = [](const char *caption, const char *from, const char *to) {
            return SettingChange{-1, QString::fromUtf8(caption), QString::fromUtf8(from), QString::fromUtf8(to)};
        };
        QTest::newRow("range colour") << Edit{{64, 0x80}}
                                      << QList{row("Plage 1: couleur", "vert", "rouge")} << 1;
        QTest::newRow("relay contact and limit")
            << Edit{{92, 0x40}, {93, 0xC7}}
            << QList{row("Relais 1 : contact", "Normalement OUVERT.", "Normalement FERMÉ."),
                     row("Relais 1 : Seuil d'ACTIVATION.", "20 Km/h", "19,9 Km/h")}
            << 2;
        QTest::newRow("digits, zero time") << Edit{{96, 0xE1}, {78, 0}}
                                           << QList{row("Nombre de digits d'affichage:", "3.", "4."),
                                                    row("3- Durée sans impulsion pour le 0Km/h:", "3 Secondes",
                                                        "0 Secondes")}
                                           << 2;
        QTest::newRow("no marker") << Edit{{79, 0}, {80, 0}}
                                   << QList{row("Nombre de digits d'affichage:", "3.", "non programmé")} << 31;
        QTest::newRow("unknown byte") << Edit{{91, -1}}
                                      << QList{row("Nombre d'impulsion utilisée pour le calcul instantané:", "1",
                                                   "inconnu")}
                                      << 1;
        QTest::newRow("card's own bytes") << Edit{{99, 0}, {100, 0}, {102, 1}}
                                          << QList{row("Octets 63h à 64h", "AA AA", "00 00"), row("Octet 66h", "AA", "01")}
                                          << 0;
    }
    // The values in the editor's words; a card without its marker holds no
    // setting, an unknown byte no value, bytes past the block go by address.
    void texts()
    {
        QFETCH(Edit, edit);
        QFETCH(QList<SettingChange>, rows);
        QFETCH(int, settings);
        // Range 1 green at 19,9; relay 1 off, open, 20; 3 digits, instantaneous,
        // zeros suppressed; 3 s; 1 pulse.
        Block card{};
        for (const auto &[address, value] : {std::pair{64, 0x40}, {65, 0xC7}, {78, 3}, {79, 0x4F}, {80, 0x4D},
                                             {91, 1}, {92, 0x00}, {93, 0xC8}, {96, 0x61}})
            card[address] = value;
        for (int a = 99; a < 128; ++a)
            card[a] = 0xAA;
        MemoryBytes from = bytesOf(card), to = from;
        for (const auto &[address, value] : edit)
            to[address] = value < 0 ? std::nullopt : std::optional<quint8>(quint8(value));
        QList<SettingChange> shown = parameterChanges(from, to);
        QCOMPARE(shown.size(), settings);
        // Of all the rows a card without its marker gives, the first tells how.
        const auto listed = std::count_if(rows.begin(), rows.end(), [](auto &r) { return !r.caption.startsWith("Octet"); });
        shown = shown.mid(0, listed) + memoryChanges(from, to);
        for (SettingChange &c : shown)
            c.setting = -1;
        QCOMPARE(shown, rows);
    }
};

QTEST_MAIN(ParameterChangesTest)
#include "tst_parameter_changes.moc"
