#include "app/help_window.h"
#include "records/commissioning_sheet.h"
#include "support/workbench.h"
#include "ui/french_locale.h"
#include "ui/qt_file_dialogs.h"

#include <QFileSystemModel>
#include <QSettings>

namespace {
// What a file dialog showed before the test answered it: its folder, its
// file name field, its list's headings, and the size and date cells of the
// file watched once it is listed.
struct Seen
{
    QString folder, name;
    QStringList columns;
    QString size, date;
};

// The next file dialog is noted, then answered `choice` as typed by a user
// (cancelled when empty).
void answerNextDialog(Seen &seen, const QString &watched = {}, const QString &choice = {})
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, watched, choice] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->deleteLater();
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QAbstractProxyModel *list = dialog->proxyModel();
        seen = {dialog->directory().absolutePath(), name->text(), {}, {}, {}};
        for (int column = 0; column < list->columnCount(); ++column)
            seen.columns.append(list->headerData(column, Qt::Horizontal).toString());
        auto *files = qobject_cast<QFileSystemModel *>(list->sourceModel());
        for (QDeadlineTimer listing(5000); !watched.isEmpty() && seen.date.isEmpty() && !listing.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            const QModelIndex file = files->index(watched);
            if (file.isValid() && files->lastModified(file).isValid()) {
                seen.size = list->mapFromSource(file.siblingAtColumn(1)).data().toString();
                seen.date = list->mapFromSource(file.siblingAtColumn(3)).data().toString();
            }
        }
        name->setText(choice);
        choice.isEmpty() ? dialog->reject() : static_cast<QDialog *>(dialog)->accept();
    });
    poll->start(10);
}

Seen opened(FileDialogs &files, FileDialogs::Kind kind, const QString &name = {})
{
    Seen seen;
    answerNextDialog(seen);
    files.openFileName({kind, QStringLiteral("Titre"), QStringLiteral("Tous les fichiers(*.*)"), name});
    return seen;
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
        for (const char *folder : {"Documents", "ailleurs", "sauvegardes"})
            QDir(home.path()).mkpath(folder);
        const QString documents = home.filePath("Documents"), elsewhere = home.filePath("ailleurs");
        QFile old(documents + "/ancien.kvlpar");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(1500, 'x')) == 1500);
        old.close();
        QVERIFY(old.open(QIODevice::ReadOnly));
        QVERIFY(old.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(14, 5)), QFileDevice::FileModificationTime));

        QSettings settings(home.filePath("dossiers.conf"), QSettings::IniFormat);
        RecordingMessages messages;
        QtFileDialogs files(settings, documents);
        RecordingDocumentOpener viewer;
        ScriptedChangeViews changes;
        PortMap ports;
        PRINCIPAL principal(Services{messages, files, viewer, changes, ports, home.filePath("sauvegardes")});
        principal.show();
        principal.findChild<QAction *>("MENU_Aide")->trigger();
        QVERIFY(qobject_cast<HelpWindow *>(principal.registry().loaded(WindowId::Help)));

        Seen first;
        answerNextDialog(first, old.fileName(), elsewhere + "/serie.kvlpar");
        principal.findChild<QAction *>("MENU_ENREGISTRER_PARAMETRES")->trigger();
        QCOMPARE(first.folder, documents);
        QCOMPARE(first.name, "parametres.kvlpar");
        QCOMPARE(first.columns, (QStringList{"Nom", "Taille", "Type", "Dernière modification"}));
        QCOMPARE(first.size, "1,46 Kio");
        QCOMPARE(first.date, "05/03/2024 14:05");
        QVERIFY(QFile::exists(elsewhere + "/serie.kvlpar"));

        const Seen sheet = opened(files, FileDialogs::Kind::Sheets,
                                  sheetFileName(3, QDateTime(QDate(2024, 3, 5), QTime(14, 5))));
        QCOMPARE(sheet.folder, documents);
        QCOMPARE(sheet.name, "fiche_COM3_2024-03-05_14-05.pdf");
        QtFileDialogs restarted(settings, documents);
        QCOMPARE(opened(restarted, FileDialogs::Kind::ParameterFiles).folder, elsewhere);
        QCOMPARE(opened(restarted, FileDialogs::Kind::SpeedExports).folder, documents);
        QVERIFY(QDir(elsewhere).removeRecursively()); // a folder gone: the documents again
        QCOMPARE(opened(restarted, FileDialogs::Kind::ParameterFiles).folder, documents);
        QCOMPARE(opened(restarted, FileDialogs::Kind::Backups, home.filePath("sauvegardes")).folder,
                 home.filePath("sauvegardes"));
    }
};

QTEST_MAIN(FileDialogsTest)
#include "tst_file_dialogs.moc"
