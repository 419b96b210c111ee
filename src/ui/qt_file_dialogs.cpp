#include "ui/qt_file_dialogs.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

namespace {
// The file list's sizes and dates follow the machine's locale in Qt's model;
// the tool's own locale gives "1,5 Kio" and "05/03/2024 14:05" everywhere.
class FrenchFileColumns : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == SizeColumn && !files->isDir(source))
            return QLocale().formattedDataSize(files->size(source));
        if (index.column() == DateColumn)
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int SizeColumn = 1;
    static constexpr int DateColumn = 3;
};
} // namespace

QtFileDialogs::QtFileDialogs(QSettings &settings, const QString &documents)
    : m_folders(settings, documents)
{
}

QString QtFileDialogs::openFileName(const Request &request)
{
    return choose(request, QFileDialog::AcceptOpen);
}

QString QtFileDialogs::saveFileName(const Request &request)
{
    return choose(request, QFileDialog::AcceptSave);
}

QString QtFileDialogs::choose(const Request &request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, QString(), request.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new FrenchFileColumns(&dialog));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // No extension is added to the chosen name, and replacing a file asks nothing.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Whole sizes, types and dates, the names taking the rest of the width.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(860, 520)));
    if (auto *list = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }

    const QFileInfo proposal(m_folders.proposal(request));
    if (proposal.isDir()) {
        dialog.setDirectory(proposal.absoluteFilePath());
    } else {
        dialog.setDirectory(proposal.absolutePath());
        dialog.selectFile(proposal.fileName());
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QString chosen = dialog.selectedFiles().value(0);
    m_folders.remember(request.kind, chosen);
    return chosen;
}
