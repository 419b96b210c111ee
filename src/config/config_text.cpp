#include "config/config_text.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr qsizetype MaximumFileSize = 64 * 1024;

const QString Dashes(33, QLatin1Char('-'));
const QString Blanks(33, QLatin1Char(' '));

// U+20AC and the others that Windows-1252 puts at 0x80..0x9F; 0 where the code
// page has no character.
constexpr char16_t HighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char windows1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int k = 0; k < 32; ++k) {
        if (HighControls[k] != 0 && HighControls[k] == c)
            return char(0x80 + k);
    }
    return '?';
}

QString itemText(LinkSetting setting, int position)
{
    return linkSettingList(setting).items.value(position);
}

QStringList configurationLines(const LinkPositions &positions, const QDateTime &savedAt, const QLocale &locale)
{
    QStringList lines;
    for (int position : positions)
        lines.append(QString::number(position));
    auto item = [&](LinkSetting setting) { return itemText(setting, positions[int(setting)]); };
    lines << QStringLiteral("             O M R               ") << Dashes
          << QStringLiteral("DEBUT DU FICHIER DE CONFIGURATION") << QStringLiteral("CARTE KVL             OMR 04-2009")
          << QStringLiteral("Chronomètre au centième          ") << Dashes
          << QStringLiteral("Connecté sur Port ") + item(LinkSetting::SEL_COM)
          << QStringLiteral("INTERFACE ") + item(LinkSetting::SEL_INTER)
          << QStringLiteral("DIGIT ") + item(LinkSetting::SEL_NBR_DIGI)
          << QStringLiteral("Couleur ") + item(LinkSetting::SEL_COUL)
          << QStringLiteral("DCF77 ") + item(LinkSetting::SEL_DCF77)
          << QStringLiteral("Relais 1 ") + item(LinkSetting::SEL_REL1)
          << QStringLiteral("Relais 2 ") + item(LinkSetting::SEL_REL2)
          << QStringLiteral("Réponse ") + item(LinkSetting::SEL_REP) << Blanks << Dashes << Blanks
          << QStringLiteral("FIN DU FICHIER DE CONFIGURATION  ") << Blanks
          << QStringLiteral("crée le: ") + locale.toString(savedAt.date(), QLocale::ShortFormat)
          << QStringLiteral("à ") + locale.toString(savedAt.time(), QLocale::ShortFormat) << Dashes << Blanks;
    return lines;
}

std::optional<int> positionFrom(QByteArray line, int listSize)
{
    if (line.endsWith('\r'))
        line.chop(1);
    line = line.trimmed();
    if (line.isEmpty() || !std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool ok = false;
    const int position = line.toInt(&ok);
    if (!ok || position >= listSize)
        return std::nullopt;
    return position;
}

} // namespace

QByteArray toWindows1252(const QString &text)
{
    QByteArray bytes;
    for (char32_t c : text.toUcs4())
        bytes.append(windows1252(c));
    return bytes;
}

QByteArray TEXTE_CONFIGURATION(const LinkPositions &positions, const QDateTime &savedAt, const QLocale &locale)
{
    QByteArray text;
    for (const QString &line : configurationLines(positions, savedAt, locale))
        text += toWindows1252(line) + "\r\n";
    return text;
}

std::optional<QList<int>> readConfigurationPositions(const QByteArray &file)
{
    if (file.size() > MaximumFileSize || file.contains('\0'))
        return std::nullopt;
    const QList<QByteArray> lines = file.split('\n');
    QList<int> positions;
    for (const LinkSettingList &list : linkSettingLists()) {
        const int index = int(positions.size());
        const std::optional<int> position =
            index < lines.size() ? positionFrom(lines[index], int(list.items.size())) : std::nullopt;
        if (!position)
            break;
        positions.append(*position);
    }
    return positions;
}
