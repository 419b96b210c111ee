#include "link/configuration_window.h"
#include "link/serial_port.h"
#include "support/pty_pair.h"
#include "support/workbench.h"

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void menuTree_data();
    void menuTree();
    void startShowsTheLinkSettingsOnly();
    void menuItemsBringBackMinimisedWindows_data();
    void menuItemsBringBackMinimisedWindows();
    void eachWindowExistsOnce();
    void newConfigurationStartsAfreshAndClosesThePort();
    void helpOpensTheDocumentBesideTheProgram();
};

void MainWindowTest::menuTree_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("MENU_FICHIER") << "" << "&Fichier" << true;
    QTest::newRow("MENU_NOUVELLE") << "MENU_FICHIER" << "&Nouvelle configuration" << false;
    QTest::newRow("MENU_OUVRIR") << "MENU_FICHIER" << "&Ouvrir une configuration" << false;
    QTest::newRow("MENU_ENREGISTRER") << "MENU_FICHIER" << "&Enregistrer une configuration" << false;
    QTest::newRow("MENU_QUITTER") << "MENU_FICHIER" << "&Quitter" << true;
    QTest::newRow("MENU_CONFIGURER2") << "" << "&Configuration" << true;
    QTest::newRow("MENU_CONFIGURER") << "MENU_CONFIGURER2" << "Configuration" << true;
    QTest::newRow("MENU_DETECT") << "MENU_CONFIGURER2" << "Détection port COM" << true;
    QTest::newRow("MENU_FENETRE") << "" << "&Fenêtre" << true;
    QTest::newRow("MENU_PARA") << "MENU_FENETRE" << "&Paramètres du tachymètre." << true;
    QTest::newRow("MENU_AFF") << "MENU_FENETRE" << "&Luminosité" << false;
    QTest::newRow("MENU_MISEALH") << "MENU_FENETRE" << "&Lire les microswitches" << false;
    QTest::newRow("MENU_Aide_generale") << "" << "&?" << true;
    QTest::newRow("MENU_Aide") << "MENU_Aide_generale" << "Aide" << true;
}

void MainWindowTest::menuTree()
{
    QFETCH(QString, parent);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    Workbench bench;
    const QString name = QString::fromLatin1(QTest::currentDataTag());

    QMenu *owner = parent.isEmpty() ? nullptr : bench.principal.findChild<QMenu *>(parent);
    const QList<QAction *> actions = owner ? owner->actions() : bench.principal.menuBar()->actions();
    QAction *item = nullptr;
    for (QAction *a : actions) {
        if (a->objectName() == name)
            item = a;
    }
    QVERIFY2(item, "item not found under its parent");
    QCOMPARE(item->text(), caption);
    QVERIFY(item->isVisible());
    QCOMPARE(item->isEnabled(), enabled);
}

void MainWindowTest::startShowsTheLinkSettingsOnly()
{
    Workbench bench;
    bench.principal.Form_Load();
    QMdiSubWindow *config = bench.registry.frame(WindowId::Configuration);
    QVERIFY(config && config->isVisible());
    QCOMPARE(bench.principal.windowTitle(), QStringLiteral("Tachymetre spécial anémomètre sur KVL."));
    QCOMPARE(bench.principal.mdiArea()->subWindowList().size(), 1);
    QVERIFY(!bench.registry.configuration().MSComm1().isOpen());
}

void MainWindowTest::menuItemsBringBackMinimisedWindows_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("window");
    QTest::newRow("configuration") << "MENU_CONFIGURER" << int(WindowId::Configuration);
    QTest::newRow("detection") << "MENU_DETECT" << int(WindowId::Detection);
}

void MainWindowTest::menuItemsBringBackMinimisedWindows()
{
    QFETCH(QString, item);
    QFETCH(int, window);
    const auto id = WindowId(window);
    Workbench bench;
    bench.principal.Form_Load();
    bench.registry.show(id);
    bench.registry.minimize(id);
    QVERIFY(bench.registry.frame(id)->isMinimized());

    bench.principal.findChild<QAction *>(item)->trigger();
    QMdiSubWindow *frame = bench.registry.frame(id);
    QVERIFY(!frame->isMinimized());
    QVERIFY(!frame->isMaximized());
    QCOMPARE(bench.principal.mdiArea()->activeSubWindow(), frame);
}

void MainWindowTest::eachWindowExistsOnce()
{
    Workbench bench;
    bench.principal.Form_Load();
    for (const char *item : {"MENU_PARA", "MENU_DETECT", "MENU_PARA", "MENU_CONFIGURER", "MENU_DETECT"})
        bench.principal.findChild<QAction *>(QString::fromLatin1(item))->trigger();
    QCOMPARE(bench.principal.mdiArea()->subWindowList().size(), 3);

    // A window the user closes comes back with its start-up values.
    bench.registry.configuration().list(LinkSetting::SEL_REP)->setCurrentText(QStringLiteral("NON"));
    bench.registry.frame(WindowId::Configuration)->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!bench.registry.loaded(WindowId::Configuration));
    QCOMPARE(bench.registry.configuration().answerCheck(), QStringLiteral("OUI"));
}

void MainWindowTest::newConfigurationStartsAfreshAndClosesThePort()
{
    PtyPair device;
    QVERIFY(device.isValid());
    Workbench bench;
    bench.principal.Form_Load();
    bench.mapPort(3, device.path());
    bench.confirmPort(3);
    QVERIFY(bench.registry.configuration().portOpenFlag());

    bench.principal.MENU_NOUVELLE_Click();
    CONFIGURATION &fresh = bench.registry.configuration();
    QVERIFY(!fresh.portOpenFlag());
    QVERIFY(!fresh.MSComm1().isOpen());
    QVERIFY(!bench.registry.frame(WindowId::Configuration)->isMinimized());
    // The old port object let the device go.
    SerialPort other(bench.ports);
    other.setCommPort(3);
    QVERIFY(other.open());
}

void MainWindowTest::helpOpensTheDocumentBesideTheProgram()
{
    Workbench bench;
    bench.principal.findChild<QAction *>(QStringLiteral("MENU_Aide"))->trigger();
    QCOMPARE(bench.documents.opened,
             QStringList{QApplication::applicationDirPath() + QStringLiteral("/KVL_PWS.doc")});
    QVERIFY(bench.messages.shown.isEmpty());
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
