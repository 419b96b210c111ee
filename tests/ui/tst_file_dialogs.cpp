#include "app/help_window.h"
#include "records/commissioning_sheet.h"
#include "support/workbench.h"
#include "ui/french_locale.h"
#include "ui/qt_file_dialogs.h"

#include <QFileSystemModel>
#include <QLineEdit>
#include <QSettings>
#include <QtTest>

namespace {
// What a file dialog showed, before the test answered it.
struct Seen
{
    QString folder;
    QString name; // the file name field
    QStringList columns;
    QString size; // the list's cells for the file watched, once listed
    QString date;
};

// Answers the next file dialog: notes what it shows (waiting for `watched`
// to be listed, when given), then chooses `choice`, or cancels when it is empty.
void answerNextDialog(Seen &seen, const QString &watched, const QString &choice)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, watched, choice] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->deleteLater();
        seen.folder = dialog->directory().absolutePath();
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        seen.name = name->text();
        QAbstractProxyModel *list = dialog->proxyModel();
        for (int column = 0; column < list->columnCount(); ++column)
            seen.columns.append(list->headerData(column, Qt::Horizontal).toString());
        auto *files = qobject_cast<QFileSystemModel *>(list->sourceModel());
        QDeadlineTimer listing(5000);
        while (!watched.isEmpty() && seen.date.isEmpty() && !listing.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            const QModelIndex file = files->index(watched);
            if (file.isValid() && files->lastModified(file).isValid()) {
                seen.size = list->mapFromSource(file.siblingAtColumn(1)).data().toString();
                seen.date = list->mapFromSource(file.siblingAtColumn(3)).data().toString();
            }
        }
        if (choice.isEmpty()) {
            dialog->reject();
        } else {
            // Typed, as a user does, and confirmed through the dialog's own checks.
            name->setText(choice);
            static_cast<QDialog *>(dialog)->accept();
        }
    });
    poll->start(10);
}

FileDialogs::Request request(FileDialogs::Kind kind, const QString &name)
{
    return {kind, QStringLiteral("Titre"), QStringLiteral("Tous les fichiers(*.*)"), name};
}
} // namespace

class FileDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The dialog keeps its own state in Qt's settings: not the user's.
        QStandardPaths::setTestModeEnabled(true);
        useFrenchEverywhere();
    }

    // Under LC_ALL=C: after the help, a first save starts in the documents, in
    // French; each kind then starts where the user last chose one of its kind,
    // after a restart too; backups keep their own folder.
    void startWhereTheUserWorks()
    {
        QTemporaryDir home;
        QDir(home.path()).mkpath("Documents");
        QDir(home.path()).mkpath("ailleurs");
        QDir(home.path()).mkpath("sauvegardes");
        const QString documents = home.filePath("Documents");
        const QString elsewhere = home.filePath("ailleurs");
        const QString listed = documents + "/ancien.kvlpar";
        QFile old(listed);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(1500, 'x')) == 1500);
        old.close();
        QVERIFY(old.open(QIODevice::ReadOnly));
        QVERIFY(old.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(14, 5)), QFileDevice::FileModificationTime));

        QSettings settings(home.filePath("dossiers.conf"), QSettings::IniFormat);
        RecordingMessages messages;
        QtFileDialogs files(settings, documents);
        RecordingDocumentOpener viewer;
        PortMap ports;
        const Services services{messages, files, viewer, ports, home.filePath("sauvegardes")};
        PRINCIPAL principal(services);
        principal.show();
        principal.findChild<QAction *>("MENU_Aide")->trigger();
        QVERIFY(qobject_cast<HelpWindow *>(principal.registry().loaded(WindowId::Help)));

        Seen first;
        answerNextDialog(first, listed, elsewhere + "/serie.kvlpar");
        principal.findChild<QAction *>("MENU_ENREGISTRER_PARAMETRES")->trigger();
        QCOMPARE(first.folder, documents);
        QCOMPARE(first.name, "parametres.kvlpar");
        QCOMPARE(first.columns, (QStringList{"Nom", "Taille", "Type", "Dernière modification"}));
        QCOMPARE(first.size, "1,46 Kio");
        QCOMPARE(first.date, "05/03/2024 14:05");
        QVERIFY(QFile::exists(elsewhere + "/serie.kvlpar"));

        Seen sheet;
        answerNextDialog(sheet, {}, {});
        files.saveFileName(request(FileDialogs::Kind::Sheets, sheetFileName(3, QDateTime(QDate(2024, 3, 5), QTime(14, 5)))));
        QCOMPARE(sheet.folder, documents);
        QCOMPARE(sheet.name, "fiche_COM3_2024-03-05_14-05.pdf");

        QtFileDialogs restarted(settings, documents);
        Seen again;
        answerNextDialog(again, {}, {});
        restarted.openFileName(request(FileDialogs::Kind::ParameterFiles, {}));
        QCOMPARE(again.folder, elsewhere);

        Seen backup;
        answerNextDialog(backup, {}, documents + "/ancien.kvlpar");
        restarted.openFileName(request(FileDialogs::Kind::Backups, home.filePath("sauvegardes")));
        QCOMPARE(backup.folder, home.filePath("sauvegardes"));
        Seen after;
        answerNextDialog(after, {}, {});
        restarted.openFileName(request(FileDialogs::Kind::ParameterFiles, {}));
        QCOMPARE(after.folder, elsewhere);
    }
};

QTEST_MAIN(FileDialogsTest)
#include "tst_file_dialogs.moc"
