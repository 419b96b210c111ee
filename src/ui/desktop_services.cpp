#include "ui/desktop_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace {
QMessageBox::Icon boxIcon(Messages::Icon icon)
{
    switch (icon) {
    case Messages::Icon::Information:
        return QMessageBox::Information;
    case Messages::Icon::Exclamation:
        return QMessageBox::Warning;
    case Messages::Icon::Critical:
        return QMessageBox::Critical;
    case Messages::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

const QString title = QStringLiteral("KVL_PWS");
} // namespace

void MessageBoxes::show(Icon icon, const QString &text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

Messages::Answer MessageBoxes::askRetry(Icon icon, const QString &text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton *retry = box.addButton(QStringLiteral("Réessayer"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.exec();
    return box.clickedButton() == retry ? Answer::Retry : Answer::Cancel;
}

Messages::Answer MessageBoxes::askYesNo(Icon icon, const QString &text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton *yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
    // Enter keeps what would be lost.
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
namespace {
// The first line a command prints, or empty when it fails or takes too long.
QString firstLine(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(3000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(500);
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
}
} // namespace

// xdg-open reports success as soon as it has started, even when no
// application takes the document: ask the desktop first which one would.
bool DesktopDocumentOpener::open(const QString &path)
{
    const QString type = firstLine(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("filetype"), path});
    if (type.isEmpty()
        || firstLine(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type}).isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
#else
bool DesktopDocumentOpener::open(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
#endif
