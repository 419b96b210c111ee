#pragma once

#include "app/main_window.h"
#include "link/configuration_window.h"
#include "panel/backup.h"
#include "port/port_map.h"
#include "support/test.h"
#include "ui/changes_dialog.h"
#include "ui/document_opener.h"
#include "ui/file_dialogs.h"
#include "ui/services.h"
#include "ui/window_registry.h"

#include <QPointer>
#include <QTemporaryDir>

// Dialogs answered from a queue; the requests are kept for checking.
class ScriptedFileDialogs : public FileDialogs
{
public:
    QString openFileName(const Request &request) override
    {
        requests.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString saveFileName(const Request &request) override { return openFileName(request); }
    void next(const QString &path) { answers.append(path); }

    QList<Request> requests;
    QStringList answers; // empty once used up: the user cancels
};

class RecordingDocumentOpener : public DocumentOpener
{
public:
    bool open(const QString &path) override
    {
        opened.append(path);
        return opens;
    }
    QStringList opened;
    bool opens = false; // false: no application takes the document
};

// Lists of changes answered from a queue through the real dialog (not
// shown): rows left by caption, then its accept or reject button. With the
// queue empty the changes are taken, as older steps expect.
class ScriptedChangeViews : public ChangeViews
{
public:
    struct Answer
    {
        bool accept = true;
        QStringList leave; // captions of the rows unchecked first
    };
    std::optional<QList<bool>> show(const ChangesRequest &request) override
    {
        requests.append(request);
        const Answer answer = answers.isEmpty() ? Answer{} : answers.takeFirst();
        ChangesDialog dialog(request);
        for (const QString &caption : answer.leave)
            dialog.setChecked(caption, false);
        QPushButton *button = answer.accept && dialog.acceptButton() ? dialog.acceptButton() : dialog.rejectButton();
        button->click();
        return dialog.answer();
    }
    QList<ChangesRequest> requests;
    QList<Answer> answers;
};

// The whole tool with every seam answered by the test, and the verbs a test
// reads as the user's steps. No COM number reaches a real device unless the
// test maps it.
class Workbench
{
public:
    Workbench()
    {
        for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n)
            ports.setDevice(n, QStringLiteral("/nonexistent/kvl-com%1").arg(n));
    }

    void mapPort(int port, const QString &device) { ports.setDevice(port, device); }
    // Selects "COMn:" and confirms the link settings, as the user does.
    void confirmPort(int port)
    {
        registry.configuration().list(LinkSetting::SEL_COM)->setCurrentText(QStringLiteral("COM%1:").arg(port));
        registry.configuration().BOUTON_VALIDE->click();
    }
    // A device plugged in behind "COMn:" and the link settings confirmed on it.
    void plug(int port, const QString &device)
    {
        mapPort(port, device);
        confirmPort(port);
    }

    // The control named so, in the window the test works in first; a test
    // that names a control the tool lacks stops there.
    template <class T = QWidget> T &find(const QString &name) const
    {
        T *c = scope ? scope->findChild<T *>(name) : nullptr;
        if (!c)
            c = principal.findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return *c;
    }
    void click(const QString &button) const { find<QAbstractButton>(button).click(); }
    void trigger(const QString &item) const { find<QAction>(item).trigger(); }
    QString text(const QString &name) const { return find<QObject>(name).property("text").toString(); }
    // A backup of `bytes` written where the tool keeps its own, its path
    // the next answer of the file dialog.
    void writeBackup(const QString &window, const MemoryBytes &bytes)
    {
        QString error;
        files.next(saveBackup({window, 3, QDateTime::currentDateTime(), bytes}, backups.path(), &error));
        if (!error.isEmpty())
            qFatal("%s", qPrintable(error));
    }

    RecordingMessages messages;
    ScriptedFileDialogs files;
    RecordingDocumentOpener documents;
    ScriptedChangeViews changes;
    PortMap ports;
    QTemporaryDir backups;
    Services services{messages, files, documents, changes, ports, backups.filePath(QStringLiteral("sauvegardes"))};
    PRINCIPAL principal{services};
    WindowRegistry &registry = principal.registry();
    QPointer<QObject> scope; // the window the verbs look in first; gone once it closes
};
