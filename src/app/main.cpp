#include "ui/changes_dialog.h"
#include "ui/desktop_services.h"
#include "app/main_window.h"
#include "app/splash_window.h"
#include "port/port_map.h"
#include "panel/backup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVL_PWS"));
    QApplication::setApplicationVersion(OMR_ND_SPLASH::versionText().mid(8));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kvl-pws.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("kvl-pws"));

    // The platform's own dialogs and buttons in French too.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    PortMap ports;
    const QString portsFile = PortMap::overridesFile();
    const QStringList portProblems = ports.loadOverrides(portsFile);
    for (const QString &problem : portProblems)
        std::fprintf(stderr, "%s\n", qPrintable(problem));

    MessageBoxes messages;
    QtFileDialogs files;
    DesktopDocumentOpener documents;
    DialogChangeViews changes;
    const Services services{messages, files, documents, changes, ports, backupFolder()};

    std::unique_ptr<PRINCIPAL> principal;
    auto *splash = new OMR_ND_SPLASH;
    QObject::connect(splash, &OMR_ND_SPLASH::finished, [&] {
        principal = std::make_unique<PRINCIPAL>(services);
        principal->Form_Load();
        principal->reportPortMapProblems(portsFile, portProblems);
    });
    splash->show();
    splash->setFocus();
    return QApplication::exec();
}
