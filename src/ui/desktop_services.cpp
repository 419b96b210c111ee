#include "ui/desktop_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
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

QString QtFileDialogs::openFileName(const Request &request)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title, request.proposedName,
                                        request.filter);
}

QString QtFileDialogs::saveFileName(const Request &request)
{
    // No extension is added to the chosen name, and replacing a file asks nothing.
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), request.title, request.proposedName,
                                        request.filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

bool DesktopDocumentOpener::open(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
