#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <optional>

// The state a cell's background shows: untouched (window colour), cleared or
// changed but not sent (white), transferred (green), failed transfer (red).
enum class CellState { Window, White, Green, Red };

// Reads a cell's text as a hexadecimal number: digits from the start up to the
// first character that is not one; no digit gives 0 ("3F" 63, "A" 10, " " 0,
// "Er" 14). Every decoder reads the image through this one rule. Digits past
// the eighth are ignored (the value is an unsigned 32-bit word).
quint32 hexPrefixValue(const QString &text);

// True when the text is one or two hexadecimal digits, the only texts that
// stand for a byte the panel can be sent.
bool holdsValidByte(const QString &text);

// Upper-case hexadecimal without leading zeros (0, A, 3F), as cells hold bytes.
QString hexText(quint32 value);

// Row label digit, column digit and "h", as the grid names an address (4Ah).
QString cellName(int address);

// The bytes of 128 cells; nothing where a cell holds no byte.
using MemoryBytes = std::array<std::optional<quint8>, 128>;

// A window's copy of the panel's 128-byte memory, one text and one state per
// address. Views follow it through cellChanged.
class MemoryImage : public QObject
{
    Q_OBJECT
public:
    static constexpr int Size = 128;

    explicit MemoryImage(QObject *parent = nullptr);

    QString text(int address) const { return m_cells.at(address).text; }
    CellState state(int address) const { return m_cells.at(address).state; }
    quint32 value(int address) const { return hexPrefixValue(text(address)); }

    void setText(int address, const QString &text);
    void setState(int address, CellState state);
    void set(int address, const QString &text, CellState state);

    // The cells as bytes; cells without a valid byte count as unknown.
    MemoryBytes bytes() const;


signals:
    void cellChanged(int address);

private:
    struct Cell
    {
        QString text;
        CellState state = CellState::Window;
    };
    std::array<Cell, Size> m_cells;
};
