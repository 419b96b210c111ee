#include "panel/memory_grid.h"

#include "panel/backup.h"
#include "panel/memory_image.h"
#include "ui/file_dialogs.h"
#include "ui/messages.h"
#include "ui/services.h"
#include "ui/twips.h"
#include "ui/widget_kit.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int RowPitch = 360;

QColor background(CellState state, const QWidget *window)
{
    switch (state) {
    case CellState::White:
        return Qt::white;
    case CellState::Green:
        return QColor(0, 255, 0);
    case CellState::Red:
        return QColor(255, 0, 0);
    case CellState::Window:
        break;
    }
    return window->palette().color(QPalette::Window);
}

// The box's own panel paints its state colour. Not opaque on purpose: Qt
// does not repaint opaque children lying beyond a window's edge when the
// window grows over them (the editor's extension), so they stayed blank.
QLineEdit *makeCell(QWidget *window, const QString &name, const QFont &font, TwipsRect at)
{
    QLineEdit *box = makeTextBox(window, name, QString(), at, false);
    box->setAlignment(Qt::AlignCenter);
    box->setMaxLength(2);
    box->setFont(font);
    box->setTextMargins(0, 0, 0, 0);
    return box;
}

QPushButton *greenButton(QWidget *window, const char *name, const QString &caption, TwipsRect at,
                         const QString &tip = {})
{
    QPushButton *button = makeButton(window, name, caption, at, tip);
    button->setStyleSheet(QStringLiteral("background-color: #00ff00;"));
    return button;
}
} // namespace

MemoryGrid::MemoryGrid(QWidget *window, MemoryImage &image, const GridPlacement &p, const Services &services)
    : QObject(window)
    , m_image(image)
    , m_services(services)
{
    QFont small = window->font();
    small.setPointSize(7);

    makeLabel(window, QStringLiteral("gridTitle"), QString::fromUtf8(p.title), {p.left, p.top - 480, 16 * p.columnPitch, 240});
    for (int c = 0; c < 16; ++c) {
        QLabel *label =
            makeLabel(window, memberName("columnLabel", c), hexText(quint32(c)), {p.left + c * p.columnPitch, p.top - 240, 375, 240});
        label->setAlignment(Qt::AlignCenter);
    }
    for (int r = 0; r < 8; ++r) {
        makeLabel(window, memberName("rowLabel", r), QStringLiteral("%1xh").arg(r), {p.left - 480, p.top + r * RowPitch, 450, 285});
    }

    for (int k = 0; k < MemoryImage::Size; ++k) {
        QLineEdit *cell = makeCell(window, memberName("Text1", k), small,
                                   {p.left + (k % 16) * p.columnPitch, p.top + (k / 16) * RowPitch, 375, 285});
        connect(cell, &QLineEdit::textEdited, this, [this, k](const QString &text) { typed(k, text); });
        m_cells[k] = cell;
        showCell(k);
    }
    QLineEdit *fill = makeCell(window, memberName("Text1", FillBox), small, {p.buttonLefts[2], p.buttonTop, 375, 350});
    fill->setText(QStringLiteral("0"));
    m_cells[FillBox] = fill;
    connect(fill, &QLineEdit::textEdited, this, [fill](const QString &text) {
        if (text != text.toUpper())
            fill->setText(text.toUpper());
    });
    connect(&m_image, &MemoryImage::cellChanged, this, &MemoryGrid::showCell);

    but_RD = greenButton(window, "but_RD", QStringLiteral("Lire "), {}, QStringLiteral("Lecture EEPROM du panneau."));
    but_edit = greenButton(window, "but_edit", QStringLiteral("EDIT"), {});
    but_lin = greenButton(window, "but_lin", QStringLiteral("Lin"), {});
    but_WR = greenButton(window, "but_WR", QStringLiteral("Envoi"), {},
                         QStringLiteral("Envoi des paramètres couleur au panneau."));
    const std::array<QPushButton *, 5> row{but_RD, but_edit, nullptr, but_lin, but_WR};
    constexpr int LastWidth = 1000;
    for (int i = 0; i < 5; ++i) {
        if (!row[i])
            continue;
        const int next = i + 1 < 5 ? p.buttonLefts[i + 1] : p.buttonLefts[i] + LastWidth + 60;
        placeTwips(row[i], p.buttonLefts[i], p.buttonTop, next - p.buttonLefts[i] - 60, 375);
    }
    if (p.load) {
        but_load = greenButton(window, "but_load", QStringLiteral("Charger…"), {p.load->left, p.load->top, LastWidth, 375},
                               QStringLiteral("Charger dans la grille une sauvegarde de la mémoire d'un panneau ; "
                                              "« Envoi » la renvoie au panneau."));
        connect(but_load, &QPushButton::clicked, this, &MemoryGrid::but_load_Click);
    }
    if (p.send) {
        but_send = greenButton(window, "but_send", QStringLiteral("Envoi de la grille"), {p.send->left, p.send->top, 2040, 375},
                               QStringLiteral("Envoi des 128 octets de la grille au panneau."));
        connect(but_send, &QPushButton::clicked, but_WR, &QPushButton::click);
    }
}

void MemoryGrid::showCell(int address)
{
    QLineEdit *cell = m_cells[address];
    const QString text = m_image.text(address);
    if (cell->text() != text)
        cell->setText(text);
    QPalette pal = cell->palette();
    pal.setColor(QPalette::Base, background(m_image.state(address), cell->parentWidget()));
    cell->setPalette(pal);
}

// Hexadecimal is kept in upper case, as the panel sends it.
void MemoryGrid::typed(int address, const QString &text)
{
    const QString upper = text.toUpper();
    if (upper != text) {
        const int cursor = m_cells[address]->cursorPosition();
        m_cells[address]->setText(upper);
        m_cells[address]->setCursorPosition(cursor);
    }
    m_image.setText(address, upper);
}

void MemoryGrid::but_edit_Click()
{
    const QString fill = m_cells[FillBox]->text();
    for (int k = 0; k < MemoryImage::Size; ++k)
        m_image.setText(k, fill);
    for (int k = 0; k < MemoryImage::Size; ++k)
        m_image.setState(k, CellState::White);
}

void MemoryGrid::but_lin_Click()
{
    for (int k = 0; k < MemoryImage::Size; ++k)
        m_image.setText(k, hexText(quint32(k)));
    for (int k = 0; k < MemoryImage::Size; ++k)
        m_image.setState(k, CellState::White);
}

void MemoryGrid::but_load_Click()
{
    Messages &messages = m_services.messages;
    const QString name = m_services.files.openFileName(
        {FileDialogs::Kind::Backups, QStringLiteral("Charger une sauvegarde de la mémoire"),
         QStringLiteral("Sauvegardes de la mémoire(*.kvlmem);;Tous les fichiers(*.*)"), m_services.backupFolder});
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        messages.show(Messages::Icon::Exclamation, QStringLiteral("Lecture impossible de %1.").arg(name));
        return;
    }
    QString error;
    const std::optional<MemoryBackup> backup = readBackup(file.read(64 * 1024 + 1), &error);
    if (!backup) {
        messages.show(Messages::Icon::Exclamation, QStringLiteral("%1 : %2").arg(name, error));
        return;
    }
    loadBackupInto(*backup, m_image);
}
