#pragma once

#include "history/backup_listing.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTreeView;
class QTreeWidget;
class WindowRegistry;

// The backup history: every backup of the backup folder, newest first; the
// one selected shown in words with what differs from the backup of the same
// port before it and from the editor; a name for it; its restore.
class HistoryWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HistoryWindow(WindowRegistry &registry, QWidget *parent = nullptr);

    // Reads the folder again. The selection stays, unless a write failed
    // since half way: then its backup is selected.
    void refresh();
    bool select(const QString &path);
    QString selectedPath() const;
    // Room for the list and both panes of differences on a 1366 by 768 screen.
    QSize sizeHint() const override { return {1320, 640}; }

    void but_nommer_Click();
    void but_restaurer_Click();

    // Asks the name, the current one proposed; nothing when the user cancels.
    std::function<std::optional<QString>(const QString &current)> askName;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showSelected();
    const BackupEntry *selected() const;

    WindowRegistry &m_registry;
    BackupListing m_listing;
    QTreeWidget *LISTE_SAUVEGARDES = nullptr;
    QLabel *ILLISIBLES = nullptr;
    QTreeWidget *REGLAGES = nullptr;
    QLabel *LEAD_PRECEDENTE = nullptr;
    QTreeView *ECARTS_PRECEDENTE = nullptr;
    QStandardItemModel *m_previousRows = nullptr;
    QLabel *LEAD_EDITEUR = nullptr;
    QTreeView *ECARTS_EDITEUR = nullptr;
    QStandardItemModel *m_editorRows = nullptr;
    QPushButton *but_nommer = nullptr;
    QPushButton *but_restaurer = nullptr;
};
