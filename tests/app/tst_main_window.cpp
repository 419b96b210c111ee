#include "app/help_window.h"
#include "app/splash_window.h"
#include "link/configuration_window.h"
#include "port/serial_port.h"
#include "support/raw_line.h"
#include "support/workbench.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>

// The splash, the main window, its child windows and the help.
class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void showsTheProjectVersion()
    {
        OMR_ND_SPLASH splash;
        QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 1.0.34"));
    }

    // Every trigger hands over once and the timer never adds a second main
    // window; the splashes run side by side so the test waits five seconds once.
    void handsOverExactlyOnce()
    {
        const QStringList triggers{"timer", "key", "Tab", "key in Text1", "Label1", "lblVersion", "Picture1"};
        QList<int> handovers(triggers.size(), 0);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < triggers.size(); ++i) {
            auto *splash = new OMR_ND_SPLASH;
            splash->show();
            connect(splash, &OMR_ND_SPLASH::finished, [&handovers, i] { ++handovers[i]; });
            if (triggers[i] == QLatin1String("key"))
                QTest::keyClick(splash, Qt::Key_Space);
            else if (triggers[i] == QLatin1String("Tab"))
                QTest::keyClick(splash, Qt::Key_Tab);
            else if (triggers[i] == QLatin1String("key in Text1"))
                QTest::keyClick(splash->Text1, Qt::Key_A);
            else if (i > 0)
                QTest::mouseClick(splash->findChild<QWidget *>(triggers[i]), Qt::LeftButton);
            if (i > 0)
                QCOMPARE(handovers[i], 1);
        }
        QTest::qWait(4700 - int(clock.elapsed()));
        QCOMPARE(handovers[0], 0);
        QTRY_COMPARE_WITH_TIMEOUT(handovers[0], 1, 1000);
        QVERIFY(clock.elapsed() >= 5000);
        QTest::qWait(400);
        QCOMPARE(handovers, QList<int>(triggers.size(), 1));
    }

    void fixedBorders_data()
    {
        QTest::addColumn<WindowId>("window");
        QTest::newRow("dump_24c01") << WindowId::Parameters;
        QTest::newRow("SW") << WindowId::Switches;
        QTest::newRow("LUM") << WindowId::Luminosity;
    }
    // The system menu's "Size" with the arrow keys does not change the frame.
    void fixedBorders()
    {
        QFETCH(WindowId, window);
        Workbench bench;
        bench.principal.resize(1200, 800);
        bench.principal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bench.principal));
        bench.registry.show(window);
        QMdiSubWindow *frame = bench.registry.frame(window);
        const QSize size = frame->size();
        const QList<QAction *> menu = frame->systemMenu()->actions();
        const auto resize = std::find_if(menu.begin(), menu.end(), [](QAction *a) { return a->text() == "&Size"; });
        QVERIFY(resize != menu.end());
        (*resize)->trigger();
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(frame, Qt::Key_Right);
            QTest::keyClick(frame, Qt::Key_Down);
        }
        QTest::keyClick(frame, Qt::Key_Return);
        QCOMPARE(frame->size(), size);
    }

    // Unusable lines of the port map are told once, with the file and the lines.
    void portMapProblems()
    {
        Workbench bench;
        bench.principal.Form_Load();
        bench.principal.reportPortMapProblems("/home/u/.config/KVL_PWS/ports.conf", {});
        QVERIFY(bench.messages.shown.isEmpty());
        const QStringList problems = bench.ports.applyOverrides("COM15=/dev/x\nCOM4=/dev/ok\nnonsense\n");
        bench.principal.reportPortMapProblems("/home/u/.config/KVL_PWS/ports.conf", problems);
        QCOMPARE(bench.messages.shown.size(), 1);
        QCOMPARE(bench.messages.shown[0].icon, Messages::Icon::Exclamation);
        const QString text = bench.messages.shown[0].text;
        for (const char *part : {"/home/u/.config/KVL_PWS/ports.conf", "ligne 1 ignorée : « COM15=/dev/x »",
                                 "ligne 3 ignorée : « nonsense »"})
            QVERIFY2(text.contains(QString::fromUtf8(part)), qPrintable(text));
        QVERIFY(!text.contains("ligne 2"));
    }

    void windowsAndCommands()
    {
        Workbench bench;
        bench.principal.Form_Load();
        QCOMPARE(bench.principal.mdiArea()->subWindowList().size(), 1);
        QVERIFY(bench.registry.frame(WindowId::Configuration)->isVisible());
        QVERIFY(!bench.registry.configuration().MSComm1().isOpen());
        for (const char *item : {"MENU_PARA", "MENU_DETECT", "MENU_PARA", "MENU_CONFIGURER", "MENU_DETECT"})
            bench.trigger(item);
        QCOMPARE(bench.principal.mdiArea()->subWindowList().size(), 3);

        // The two link items bring back a minimised window at normal size.
        for (const auto &[item, id] : {std::pair{"MENU_CONFIGURER", WindowId::Configuration},
                                       std::pair{"MENU_DETECT", WindowId::Detection}}) {
            bench.registry.minimize(id);
            QVERIFY(bench.registry.frame(id)->isMinimized());
            bench.trigger(item);
            QMdiSubWindow *frame = bench.registry.frame(id);
            QVERIFY(!frame->isMinimized() && !frame->isMaximized());
            QCOMPARE(bench.principal.mdiArea()->activeSubWindow(), frame);
        }

        // A window the user closes comes back with its start-up values; the
        // link settings only hide, keeping their selections and the port.
        bench.registry.frame(WindowId::Detection)->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!bench.registry.loaded(WindowId::Detection));
        RawLine device;
        bench.plug(3, device.path());
        bench.registry.configuration().list(LinkSetting::SEL_REP)->setCurrentText(QStringLiteral("NON"));
        bench.registry.frame(WindowId::Configuration)->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(bench.registry.loaded(WindowId::Configuration));
        QVERIFY(!bench.registry.frame(WindowId::Configuration)->isVisible());
        QCOMPARE(bench.registry.configuration().answerCheck(), QStringLiteral("NON"));
        QVERIFY(bench.registry.configuration().portOpenFlag() && bench.registry.configuration().MSComm1().isOpen());
        bench.trigger("MENU_CONFIGURER");
        QVERIFY(bench.registry.frame(WindowId::Configuration)->isVisible());

        // A new configuration starts afresh and lets the device go.
        bench.principal.MENU_NOUVELLE_Click(); // its item is disabled
        CONFIGURATION &fresh = bench.registry.configuration();
        QVERIFY(!fresh.portOpenFlag() && !fresh.MSComm1().isOpen());
        QVERIFY(!bench.registry.frame(WindowId::Configuration)->isMinimized());
        SerialPort other(bench.ports);
        other.setCommPort(3);
        QVERIFY2(other.open(), "the old port object still holds the device");
    }

    void help_data()
    {
        QTest::addColumn<bool>("viewerOpens");
        QTest::newRow("the desktop opens the document") << true;
        QTest::newRow("nothing opens it") << false;
    }
    // The guide shows in any case, and the current folder (which dialogs once
    // started from) stays where it was.
    void help()
    {
        QFETCH(bool, viewerOpens);
        Workbench bench;
        bench.documents.opens = viewerOpens;
        bench.principal.resize(1000, 800);
        bench.principal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bench.principal));
        // Anywhere but the program's folder, where the help used to move it.
        QTemporaryDir folder;
        QVERIFY(QDir::setCurrent(folder.path()));
        bench.trigger("MENU_Aide");
        QCOMPARE(bench.documents.opened, QStringList{QApplication::applicationDirPath() + "/KVL_PWS.doc"});
        QCOMPARE(QDir::currentPath(), folder.path());
        QVERIFY(bench.messages.shown.isEmpty());
        auto *help = qobject_cast<HelpWindow *>(bench.registry.loaded(WindowId::Help));
        QCOMPARE(help != nullptr, !viewerOpens);
        if (viewerOpens)
            return;
        QVERIFY(bench.registry.frame(WindowId::Help)->isVisible());

        // Every chapter listed at the top, each entry a link to its heading.
        QTextBrowser *browser = help->browser();
        QStringList chapters;
        QMap<QString, QString> links; // target → text
        QMap<QString, QTextBlock> headings; // anchor → its block
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().headingLevel() == 1)
                chapters.append(block.text());
            for (auto part = block.begin(); !part.atEnd(); ++part) {
                const QTextCharFormat format = part.fragment().charFormat();
                if (format.anchorHref().startsWith('#'))
                    links.insert(format.anchorHref().mid(1), part.fragment().text());
                for (const QString &name : format.anchorNames())
                    headings.insert(name, block);
            }
        }
        QVERIFY2(chapters.size() >= 12, qPrintable(chapters.join(" | ")));
        for (const QString &chapter : chapters)
            QVERIFY2(headings.value(links.key(chapter)).text() == chapter, qPrintable(chapter));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
