#include "history/history_window.h"

#include "history/backup_view.h"
#include "history/restore_flow.h"
#include "link/configuration_window.h"
#include "panel/exchange.h"
#include "params/parameter_window.h"
#include "ui/changes_dialog.h"
#include "ui/messages.h"
#include "ui/window_registry.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int PathRole = Qt::UserRole;

QTreeWidget *makeList(QWidget *parent, const char *name, const QStringList &headings)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setHeaderLabels(headings);
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

QLabel *makeLead(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

// A pane of differences: the changes view's rows, or its line when none.
void showPane(QLabel *lead, QTreeView *list, QStandardItemModel *model, const ChangesRequest &request)
{
    fillChangeRows(model, list, request);
    lead->setText(request.rows.isEmpty() && !request.empty.isEmpty() ? request.lead + QLatin1Char(' ') + request.empty
                                                                      : request.lead);
}

QGroupBox *pane(QWidget *parent, const QString &title, QLabel *lead, QWidget *list)
{
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(lead);
    layout->addWidget(list, 1);
    return box;
}
} // namespace

HistoryWindow::HistoryWindow(WindowRegistry &registry, QWidget *parent)
    : QWidget(parent)
    , m_registry(registry)
{
    setObjectName(QStringLiteral("HISTORIQUE"));
    setWindowTitle(QStringLiteral("Historique des sauvegardes"));
    askName = [this](const QString &current) -> std::optional<QString> {
        bool ok = false;
        const QString name = QInputDialog::getText(this, QStringLiteral("Nommer"),
                                                   QStringLiteral("Nom du panneau (« Parking nord, mât 2 ») :"),
                                                   QLineEdit::Normal, current, &ok);
        return ok ? std::optional<QString>(name) : std::nullopt;
    };

    LISTE_SAUVEGARDES = makeList(this, "LISTE_SAUVEGARDES",
                                 {QStringLiteral("Date"), QStringLiteral("Port"), QStringLiteral("Écrite par"),
                                  QStringLiteral("Octets connus"), QStringLiteral("Nom")});
    connect(LISTE_SAUVEGARDES, &QTreeWidget::currentItemChanged, this, &HistoryWindow::showSelected);
    ILLISIBLES = makeLead(this, "ILLISIBLES");
    REGLAGES = makeList(this, "REGLAGES", {QStringLiteral("Réglage"), QStringLiteral("Valeur")});
    LEAD_PRECEDENTE = makeLead(this, "LEAD_PRECEDENTE");
    ECARTS_PRECEDENTE = new QTreeView(this);
    ECARTS_PRECEDENTE->setObjectName(QStringLiteral("ECARTS_PRECEDENTE"));
    m_previousRows = new QStandardItemModel(this);
    LEAD_EDITEUR = makeLead(this, "LEAD_EDITEUR");
    ECARTS_EDITEUR = new QTreeView(this);
    ECARTS_EDITEUR->setObjectName(QStringLiteral("ECARTS_EDITEUR"));
    m_editorRows = new QStandardItemModel(this);

    but_nommer = new QPushButton(QStringLiteral("Nommer…"), this);
    but_nommer->setObjectName(QStringLiteral("but_nommer"));
    but_nommer->setToolTip(QStringLiteral("Donner un nom au panneau de cette sauvegarde."));
    connect(but_nommer, &QPushButton::clicked, this, &HistoryWindow::but_nommer_Click);
    but_restaurer = new QPushButton(QStringLiteral("Restaurer"), this);
    but_restaurer->setObjectName(QStringLiteral("but_restaurer"));
    but_restaurer->setToolTip(QStringLiteral("Remettre cette sauvegarde sur le panneau du port ouvert, puis la vérifier."));
    connect(but_restaurer, &QPushButton::clicked, this, &HistoryWindow::but_restaurer_Click);

    auto *layout = new QVBoxLayout(this);
    LISTE_SAUVEGARDES->setMinimumHeight(110);
    layout->addWidget(LISTE_SAUVEGARDES, 2);
    layout->addWidget(ILLISIBLES);
    auto *details = new QHBoxLayout;
    details->addWidget(pane(this, QStringLiteral("Réglages de la sauvegarde"), makeLead(this, "LEAD_REGLAGES"), REGLAGES), 1);
    auto *differences = new QVBoxLayout;
    differences->addWidget(pane(this, QStringLiteral("Écarts avec la sauvegarde précédente du même port"),
                                LEAD_PRECEDENTE, ECARTS_PRECEDENTE), 1);
    differences->addWidget(pane(this, QStringLiteral("Écarts avec l'éditeur"), LEAD_EDITEUR, ECARTS_EDITEUR), 1);
    details->addLayout(differences, 1);
    layout->addLayout(details, 6);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(but_nommer);
    buttons->addWidget(but_restaurer);
    layout->addLayout(buttons);
    refresh();
}

void HistoryWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void HistoryWindow::refresh()
{
    QString keep = selectedPath();
    if (auto *config = qobject_cast<CONFIGURATION *>(m_registry.loaded(WindowId::Configuration))) {
        PanelMemoryRecord &record = config->exchange().record();
        if (!record.interruptedWrite().isEmpty()) {
            keep = record.interruptedWrite();
            record.clearInterruptedWrite();
        }
    }
    m_listing = listBackups(m_registry.services().backupFolder);
    const QSignalBlocker quiet(LISTE_SAUVEGARDES);
    LISTE_SAUVEGARDES->clear();
    for (const BackupEntry &entry : m_listing.entries) {
        const MemoryBackup &b = entry.backup;
        auto *item = new QTreeWidgetItem(
            LISTE_SAUVEGARDES, {b.takenAt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")), QStringLiteral("COM%1").arg(b.port),
                                sourceInWords(b.window), QStringLiteral("%1 / 128").arg(knownByteCount(b.bytes)), b.name});
        item->setData(0, PathRole, entry.path);
        item->setToolTip(0, entry.path);
    }
    ILLISIBLES->setText(unreadableText(m_listing.unreadable));
    ILLISIBLES->setVisible(m_listing.unreadable > 0);
    if (!select(keep) && LISTE_SAUVEGARDES->topLevelItemCount() > 0)
        LISTE_SAUVEGARDES->setCurrentItem(LISTE_SAUVEGARDES->topLevelItem(0));
    showSelected();
}

bool HistoryWindow::select(const QString &path)
{
    for (int i = 0; i < LISTE_SAUVEGARDES->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = LISTE_SAUVEGARDES->topLevelItem(i);
        if (!path.isEmpty() && item->data(0, PathRole).toString() == path) {
            LISTE_SAUVEGARDES->setCurrentItem(item);
            return true;
        }
    }
    return false;
}

QString HistoryWindow::selectedPath() const
{
    const QTreeWidgetItem *item = LISTE_SAUVEGARDES->currentItem();
    return item ? item->data(0, PathRole).toString() : QString();
}

const BackupEntry *HistoryWindow::selected() const
{
    const int index = LISTE_SAUVEGARDES->indexOfTopLevelItem(LISTE_SAUVEGARDES->currentItem());
    return index >= 0 && index < m_listing.entries.size() ? &m_listing.entries[index] : nullptr;
}

void HistoryWindow::showSelected()
{
    const BackupEntry *entry = selected();
    but_nommer->setEnabled(entry);
    but_restaurer->setEnabled(entry);
    REGLAGES->clear();
    auto *settingsLead = findChild<QLabel *>(QStringLiteral("LEAD_REGLAGES"));
    if (!entry) {
        settingsLead->setText(m_listing.entries.isEmpty() ? QStringLiteral("Aucune sauvegarde dans %1.")
                                                                .arg(m_registry.services().backupFolder)
                                                          : QString());
        settingsLead->setVisible(!settingsLead->text().isEmpty());
        for (QStandardItemModel *rows : {m_previousRows, m_editorRows})
            rows->clear();
        LEAD_PRECEDENTE->clear();
        LEAD_EDITEUR->clear();
        return;
    }
    const QList<SettingValue> settings = backupSettings(entry->backup.bytes);
    settingsLead->setText(settings.isEmpty() ? QStringLiteral("Les octets des paramètres (64 à 98) ne sont pas tous "
                                                              "dans cette sauvegarde.")
                                             : QString());
    settingsLead->setVisible(!settingsLead->text().isEmpty());
    for (const SettingValue &v : settings)
        new QTreeWidgetItem(REGLAGES, {v.caption, v.value});
    showPane(LEAD_PRECEDENTE, ECARTS_PRECEDENTE, m_previousRows,
             previousDifferences(m_listing, int(entry - m_listing.entries.data())));
    auto *editor = qobject_cast<dump_24c01 *>(m_registry.loaded(WindowId::Parameters));
    showPane(LEAD_EDITEUR, ECARTS_EDITEUR, m_editorRows,
             editorDifferences(entry->backup, editor ? std::optional(editor->state()) : std::nullopt));
}

void HistoryWindow::but_nommer_Click()
{
    const BackupEntry *entry = selected();
    if (!entry)
        return;
    const QString path = entry->path;
    const std::optional<QString> name = askName(entry->backup.name);
    if (!name)
        return;
    QString error;
    if (!nameBackup(path, *name, &error))
        m_registry.services().messages.show(Messages::Icon::Exclamation,
                                            QStringLiteral("Le nom n'a pas pu être enregistré : %1").arg(error));
    refresh();
    select(path);
}

void HistoryWindow::but_restaurer_Click()
{
    const BackupEntry *entry = selected();
    if (!entry)
        return;
    const QString path = entry->path;
    const MemoryBackup backup = entry->backup;
    restoreBackup(m_registry, backup);
    // The restore's own backup joins the list; the one restored stays selected.
    refresh();
    select(path);
}
