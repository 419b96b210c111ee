#include "app/splash_window.h"

#include <QLabel>
#include <QTextEdit>
#include <QtTest>

class SplashTest : public QObject
{
    Q_OBJECT

private slots:
    void showsTheProjectVersion()
    {
        OMR_ND_SPLASH splash;
        QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 1.0.34"));
        QCOMPARE(splash.Label1->text(), QStringLiteral("Tachymetre spécial anémomètre sur KVL."));
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
};

QTEST_MAIN(SplashTest)
#include "tst_splash.moc"
