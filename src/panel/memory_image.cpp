#include "panel/memory_image.h"

namespace {
int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}
} // namespace

quint32 hexPrefixValue(const QString &text)
{
    quint32 value = 0;
    int digits = 0;
    for (QChar c : text) {
        const int d = hexDigit(c);
        if (d < 0 || digits == 8)
            break;
        value = (value << 4) | quint32(d);
        ++digits;
    }
    return value;
}

bool holdsValidByte(const QString &text)
{
    if (text.isEmpty() || text.size() > 2)
        return false;
    for (QChar c : text) {
        if (hexDigit(c) < 0)
            return false;
    }
    return true;
}

QString hexText(quint32 value)
{
    return QString::number(value, 16).toUpper();
}

QString cellName(int address)
{
    return hexText(quint32(address) / 16) + hexText(quint32(address) % 16) + QLatin1Char('h');
}

MemoryImage::MemoryImage(QObject *parent)
    : QObject(parent)
{
}

void MemoryImage::setText(int address, const QString &text)
{
    Cell &cell = m_cells.at(address);
    if (cell.text == text)
        return;
    cell.text = text;
    emit cellChanged(address);
}

void MemoryImage::setState(int address, CellState state)
{
    Cell &cell = m_cells.at(address);
    if (cell.state == state)
        return;
    cell.state = state;
    emit cellChanged(address);
}

void MemoryImage::set(int address, const QString &text, CellState state)
{
    Cell &cell = m_cells.at(address);
    if (cell.text == text && cell.state == state)
        return;
    cell.text = text;
    cell.state = state;
    emit cellChanged(address);
}

MemoryBytes MemoryImage::bytes() const
{
    MemoryBytes result;
    for (int k = 0; k < Size; ++k) {
        if (holdsValidByte(text(k)))
            result[k] = quint8(value(k));
    }
    return result;
}
