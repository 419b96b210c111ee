#pragma once

#include "ui/change_views.h"

#include <QDialog>

class QPushButton;
class QStandardItemModel;
class QTreeView;

// The rows of a list of changes into a list view, in the columns and texts of
// the dialog below; the view is hidden when there is no row.
void fillChangeRows(QStandardItemModel *model, QTreeView *list, const ChangesRequest &request);

// The list of changes: a row per setting, its value on each side; rows that
// can be left carry a check box of the list itself, which the keyboard (the
// space bar) and screen readers reach.
class ChangesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ChangesDialog(const ChangesRequest &request, QWidget *parent = nullptr);

    // The button that takes the changes, and the one that declines or closes.
    QPushButton *acceptButton() const { return m_accept; }
    QPushButton *rejectButton() const { return m_reject; }
    QTreeView *list() const { return m_list; }
    // Checks or unchecks the rows of that caption.
    void setChecked(const QString &caption, bool checked);
    // Once accepted: row by row, whether it is taken.
    std::optional<QList<bool>> answer() const;

private:
    QStandardItemModel *m_model;
    QTreeView *m_list;
    QPushButton *m_accept = nullptr;
    QPushButton *m_reject = nullptr;
    bool m_checkable;
};

// Production: the dialog, modal, over the active window.
class DialogChangeViews : public ChangeViews
{
public:
    std::optional<QList<bool>> show(const ChangesRequest &request) override;
};
