#include "link/configuration_window.h"
#include "monitor/monitor_window.h"
#include "monitor/speed_chart.h"
#include "params/parameter_window.h"
#include "support/window_rig.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Rig = WindowRig<SURVEILLANCE>;

const QStringList OneReading{"31 AAA", "31 BBB", "31 CCC", "31 DDD"};

QString text(QWidget &w, const char *name)
{
    return w.findChild<QLabel *>(QLatin1String(name))->text();
}

QList<QPointF> points(const QList<QLineSeries *> &stretches, int i)
{
    return stretches.value(i) ? stretches[i]->points() : QList<QPointF>{};
}

bool verySame(const QList<QPointF> &a, const QList<double> &ys)
{
    if (a.size() != ys.size())
        return false;
    for (int i = 0; i < ys.size(); ++i)
        if (!qFuzzyCompare(a[i].y() + 1, ys[i] + 1))
            return false;
    return true;
}
} // namespace

class MonitorTest : public QObject
{
    Q_OBJECT

private slots:
    // Speeds that change from one reading to the next, one reading silent.
    void readingsOnTheLine()
    {
        Rig rig(WindowId::SpeedMonitor, QStringLiteral("OUI"));
        rig.panel.setLineRate(true);
        struct Step
        {
            quint16 maximum, speed;
            bool silent;
            QString shown, shownMax;
        };
        const QList<Step> steps{
            {0x007B, 0x0064, false, " Vitesse instantanée : 10 Km/h.", " Maximum enregistré: 12,3 Km/h."},
            {0x00C8, 0x0096, false, " Vitesse instantanée : 15 Km/h.", " Maximum enregistré: 20 Km/h."},
            {0x00C8, 0x0096, true, " Vitesse instantanée : 15 Km/h.", " Maximum enregistré: 20 Km/h."},
            {0xFFFF, 0x0000, false, " Vitesse instantanée : 0 Km/h.", " Maximum enregistré: 1638,3 Km/h."},
        };
        auto prepare = [&](int i) {
            rig.panel.setSpeeds(steps[i].maximum, steps[i].speed);
            rig.panel.setFault(steps[i].silent ? sim::Fault::Silent : sim::Fault::None);
        };
        SURVEILLANCE &w = rig.window;
        QStringList shown;
        connect(&w, &SURVEILLANCE::readingShown, this, [&] {
            shown << text(w, "VITESSE_VENT") + "|" + text(w, "VITESSE_VENT_MAX");
            if (shown.size() < steps.size())
                prepare(int(shown.size()));
            else
                w.stopButton_Click();
        });
        prepare(0);
        w.startButton_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!w.isRunning(), 5000);

        QStringList expected;
        for (const Step &s : steps)
            expected << s.shown + "|" + s.shownMax;
        QCOMPARE(shown, expected);
        QStringList frames;
        for (int i = 0; i < steps.size(); ++i)
            frames << OneReading;
        QCOMPARE(rig.frames(int(frames.size())), frames);
        QVERIFY(rig.bench.messages.shown.isEmpty());
        QCOMPARE(text(w, "unansweredLabel"), QStringLiteral("Lectures sans réponse : 1"));
        QCOMPARE(text(w, "highestLabel"), QStringLiteral(" Vitesse la plus haute : 15 Km/h."));
        QCOMPARE(text(w, "meanLabel"), QStringLiteral(" Vitesse moyenne : 8,3 Km/h."));

        // The silent reading breaks both lines in two.
        const SpeedChart &chart = w.speedChart();
        QCOMPARE(chart.instantaneousStretches().size(), 2);
        QVERIFY(verySame(points(chart.instantaneousStretches(), 0), {10, 15}));
        QVERIFY(verySame(points(chart.instantaneousStretches(), 1), {0}));
        QVERIFY(verySame(points(chart.maximumStretches(), 0), {12.3, 20}));
        QVERIFY(verySame(points(chart.maximumStretches(), 1), {1638.3}));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lectures.csv"));
        rig.bench.files.answers << path;
        w.findChild<QPushButton *>(QStringLiteral("exportButton"))->click();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 1 + steps.size() + 1);
        QCOMPARE(lines[0], QByteArray("Temps (s);Vitesse instantan\xc3\xa9"
                                      "e (km/h);Maximum enregistr\xc3\xa9 (km/h)"));
        const QList<QByteArray> speeds{";10;12,3", ";15;20", ";;", ";0;1638,3"};
        const QRegularExpression time(QStringLiteral("^(\\d+),(\\d{3})$"));
        double previous = -1;
        for (int i = 0; i < steps.size(); ++i) {
            const QByteArray &line = lines[i + 1];
            const int cut = int(line.indexOf(';'));
            QCOMPARE(line.mid(cut), speeds[i]);
            const QRegularExpressionMatch m = time.match(QString::fromLatin1(line.left(cut)));
            QVERIFY2(m.hasMatch(), line.constData());
            const double at = (m.captured(1) + "." + m.captured(2)).toDouble();
            // One reading right after the other: the half-second pause and little more.
            if (previous >= 0)
                QVERIFY2(at - previous >= 0.5 && at - previous < 0.6, line.constData());
            previous = at;
        }
        QVERIFY(lines.last().isEmpty());
    }

    // "Arrêter" or closing in the middle of a reading lets that reading end
    // whole, and no other follows.
    void stopWithinOneReading_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("Arrêter") << false;
        QTest::newRow("fermeture") << true;
    }
    void stopWithinOneReading()
    {
        QFETCH(bool, close);
        Rig rig(WindowId::SpeedMonitor, QStringLiteral("OUI"));
        rig.panel.setLineRate(true);
        QPointer<SURVEILLANCE> w = &rig.window;
        Exchange &exchange = rig.bench.registry.configuration().exchange();
        QElapsedTimer clock;
        clock.start();
        qint64 askedAt = -1, endedAt = -1;
        int readings = 0;
        bool busyWhenAsked = false;
        connect(w, &SURVEILLANCE::readingShown, this, [&] {
            ++readings;
            endedAt = clock.elapsed();
        });
        w->startButton_Click();
        QTimer::singleShot(250, [&] {
            busyWhenAsked = exchange.busy();
            askedAt = clock.elapsed();
            if (close)
                rig.bench.registry.frame(WindowId::SpeedMonitor)->close();
            else
                w->findChild<QPushButton *>(QStringLiteral("stopButton"))->click();
        });
        QTRY_VERIFY_WITH_TIMEOUT(endedAt >= 0, 3000);
        QVERIFY(busyWhenAsked);
        QVERIFY2(endedAt - askedAt <= 600, QByteArray::number(endedAt - askedAt));
        if (close)
            QTRY_VERIFY(w.isNull());
        else
            QVERIFY(!w->isRunning());
        QTest::qWait(300);
        QCOMPARE(readings, 1);
        QCOMPARE(rig.frames(4), OneReading);
        QVERIFY(rig.panel.anomalies().empty());
    }

    // While another window's exchange holds the line the monitor waits, then
    // goes on.
    void waitsForAnotherExchange()
    {
        Rig rig(WindowId::SpeedMonitor, QStringLiteral("OUI"));
        dump_24c01 &editor = rig.bench.registry.window<dump_24c01>(WindowId::Parameters);
        SURVEILLANCE &w = rig.window;
        int readings = 0;
        connect(&w, &SURVEILLANCE::readingShown, this, [&] {
            if (++readings == 1)
                QTimer::singleShot(0, &editor, &dump_24c01::but_RD_Click);
            else
                w.stopButton_Click();
        });
        w.startButton_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!w.isRunning(), 8000);
        const QStringList frames = rig.frames(0);
        const qsizetype open = frames.indexOf(QStringLiteral("31 SSS"));
        const qsizetype close = frames.indexOf(QStringLiteral("31 RRR"));
        QVERIFY2(open == 4 && close > open, qPrintable(frames.join(",")));
        // The editor's read whole, then the monitor again.
        QCOMPARE(frames.mid(close + 1), OneReading);
        QVERIFY(!frames.mid(open, close - open).contains(QStringLiteral("31 AAA")));
    }

    void portGuards()
    {
        {
            Workbench bench;
            bench.principal.findChild<QAction *>(QStringLiteral("MENU_SURVEILLANCE"))->trigger();
            bench.principal.findChild<QAction *>(QStringLiteral("MENU_SURVEILLANCE"))->trigger();
            QCOMPARE(bench.principal.mdiArea()->subWindowList().size(), 1);
            auto &w = bench.registry.window<SURVEILLANCE>(WindowId::SpeedMonitor);
            QCOMPARE(w.windowTitle(), QStringLiteral("Surveillance de la vitesse."));
            w.findChild<QPushButton *>(QStringLiteral("startButton"))->click();
            QVERIFY(!w.isRunning());
            QCOMPARE(bench.messages.texts(), QStringList{"Pas de port COM ouvert. Veuillez valider la "
                                                         "Configuration dans le menu Configuration."});
        }
        Rig rig(WindowId::SpeedMonitor, QStringLiteral("OUI"));
        rig.panel.setFault(sim::Fault::HangUp, 2);
        rig.window.startButton_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.window.isRunning(), 3000);
        QCOMPARE(rig.bench.messages.texts(),
                 QStringList{"Le port COM3 ne répond plus. Vérifiez le câble puis validez à nouveau la configuration."});
        QVERIFY(rig.window.log().readings().isEmpty());
    }
};

QTEST_MAIN(MonitorTest)
#include "tst_monitor.moc"
