#include "support/wire.h"

namespace wire {
namespace {
bool isFrame(const QString &item)
{
    static const QStringList words{"pause", "discard", "DTR", "wait"};
    return !words.contains(item.section(' ', 0, 0));
}

// "31 SSS*11" as its frame and count.
std::pair<QString, int> write(const QString &item)
{
    const qsizetype star = item.lastIndexOf('*');
    if (star < 0)
        return {item, 1};
    return {item.left(star).trimmed(), item.mid(star + 1).toInt()};
}
} // namespace

QStringList parse(const QString &script)
{
    QStringList items;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= script.size(); ++i) {
        const QChar c = i < script.size() ? script[i] : QChar(';');
        if (c == '{')
            ++depth;
        else if (c == '}')
            --depth;
        if (c != ';' || depth > 0)
            continue;
        const QString item = script.mid(start, i - start).simplified();
        start = i + 1;
        if (item.startsWith('{')) {
            const qsizetype close = item.lastIndexOf('}');
            const QString times = item.mid(close + 1).remove('*').trimmed();
            const QStringList inner = parse(item.mid(1, close - 1));
            for (int k = times.isEmpty() ? 1 : times.toInt(); k > 0; --k)
                items += inner;
        } else if (!item.isEmpty()) {
            items << item;
        }
    }
    return items;
}

QStringList frames(const QString &script)
{
    QStringList list;
    for (const QString &item : parse(script)) {
        if (isFrame(item)) {
            const auto [frame, count] = write(item);
            list += QStringList(count, frame == QLatin1String("ack") ? QStringLiteral("01 \x06") : frame);
        }
    }
    return list;
}

QByteArray bytes(const QString &script)
{
    QByteArray line;
    for (const QString &f : frames(script))
        line += f.section(' ', 0, 0).toLatin1() + '\x02' + f.section(' ', 1).toLatin1() + '\x03';
    return line;
}

QStringList masked(QStringList seen, const QStringList &expected)
{
    for (qsizetype i = 0; i < std::min(seen.size(), expected.size()); ++i) {
        const qsizetype at = expected[i].indexOf(QLatin1String("??"));
        if (at >= 0 && seen[i].size() == expected[i].size() && seen[i].left(at) == expected[i].left(at)
            && seen[i].mid(at + 2) == expected[i].mid(at + 2) && hex(seen[i].mid(at, 2).toInt(nullptr, 16)) == seen[i].mid(at, 2))
            seen[i] = expected[i];
    }
    return seen;
}

QString hex(int byte)
{
    return QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}
} // namespace wire
