#include "ui/changes_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

void fillChangeRows(QStandardItemModel *model, QTreeView *list, const ChangesRequest &request)
{
    model->clear();
    model->setHorizontalHeaderLabels({QStringLiteral("Réglage"), request.fromHeading, request.toHeading});
    for (const ChangeRow &row : request.rows) {
        QList<QStandardItem *> items{new QStandardItem(row.caption), new QStandardItem(row.from),
                                     new QStandardItem(row.to)};
        for (QStandardItem *item : items)
            item->setEditable(false);
        if (request.checkable) {
            items[0]->setCheckable(true);
            items[0]->setCheckState(Qt::Checked);
        }
        model->appendRow(items);
    }
    list->setModel(model);
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->setAccessibleName(request.title);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setStretchLastSection(false);
    list->setVisible(!request.rows.isEmpty());
}

ChangesDialog::ChangesDialog(const ChangesRequest &request, QWidget *parent)
    : QDialog(parent)
    , m_model(new QStandardItemModel(this))
    , m_list(new QTreeView(this))
    , m_checkable(request.checkable)
{
    setObjectName(QStringLiteral("ChangesView"));
    setWindowTitle(request.title);
    auto *layout = new QVBoxLayout(this);
    if (!request.lead.isEmpty()) {
        auto *lead = new QLabel(request.lead, this);
        lead->setObjectName(QStringLiteral("changesLead"));
        lead->setWordWrap(true);
        layout->addWidget(lead);
    }

    m_list->setObjectName(QStringLiteral("changesList"));
    fillChangeRows(m_model, m_list, request);
    layout->addWidget(m_list, 1);

    auto *empty = new QLabel(request.empty, this);
    empty->setObjectName(QStringLiteral("changesEmpty"));
    empty->setVisible(request.rows.isEmpty());
    layout->addWidget(empty);
    if (!request.note.isEmpty()) {
        auto *note = new QLabel(request.note, this);
        note->setObjectName(QStringLiteral("changesNote"));
        note->setWordWrap(true);
        layout->addWidget(note);
    }

    auto *buttons = new QDialogButtonBox(this);
    if (request.accept.isEmpty()) {
        m_reject = buttons->addButton(QStringLiteral("Fermer"), QDialogButtonBox::RejectRole);
    } else {
        m_accept = buttons->addButton(request.accept, QDialogButtonBox::AcceptRole);
        m_reject = buttons->addButton(request.reject, QDialogButtonBox::RejectRole);
        // A slip of the Enter key must not program a panel.
        m_reject->setDefault(true);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Wide enough for the texts, never taller than a laptop's screen.
    int width = m_list->header()->length() + 40;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
    width = qBound(420, width, room.width() - 80);
    const int rows = qMin(int(request.rows.size()), 16);
    resize(width, qMin(room.height() - 120, 160 + rows * m_list->fontMetrics().height() * 3 / 2));
}

void ChangesDialog::setChecked(const QString &caption, bool checked)
{
    for (int r = 0; r < m_model->rowCount(); ++r) {
        QStandardItem *item = m_model->item(r, 0);
        if (item->text() == caption && item->isCheckable())
            item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

std::optional<QList<bool>> ChangesDialog::answer() const
{
    if (result() != QDialog::Accepted)
        return std::nullopt;
    QList<bool> taken;
    for (int r = 0; r < m_model->rowCount(); ++r)
        taken.append(!m_checkable || m_model->item(r, 0)->checkState() == Qt::Checked);
    return taken;
}

std::optional<QList<bool>> DialogChangeViews::show(const ChangesRequest &request)
{
    ChangesDialog dialog(request, QApplication::activeWindow());
    // Asked in the middle of a write, while the busy cursor is up.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    dialog.exec();
    QGuiApplication::restoreOverrideCursor();
    return dialog.answer();
}
