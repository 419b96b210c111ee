#include "link/configuration_window.h"
#include "monitor/monitor_window.h"
#include "monitor/speed_chart.h"
#include "params/parameter_window.h"
#include "support/window_rig.h"

#include <QFile>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>

namespace {
using Rig = WindowRig<SURVEILLANCE>;

const QStringList OneReading = wire::frames("31 AAA; 31 BBB; 31 CCC; 31 DDD");
const QByteArray CsvHeader = "Temps (s);Vitesse instantan\xc3\xa9"
                             "e (km/h);Maximum enregistr\xc3\xa9 (km/h)\n";

// Each unbroken stretch of a line, as its speeds in tenths of km/h.
QList<QList<int>> tenths(const QList<QLineSeries *> &stretches)
{
    QList<QList<int>> all;
    for (const QLineSeries *stretch : stretches) {
        all.append(QList<int>());
        for (const QPointF &point : stretch->points())
            all.last().append(qRound(point.y() * 10));
    }
    return all;
}
} // namespace

class MonitorTest : public QObject
{
    Q_OBJECT

private slots:
    // Speeds that change from one reading to the next, one reading silent:
    // what is shown, the figures, the chart, the pace and the export.
    void readingsOnTheLine()
    {
        Rig rig(WindowId::SpeedMonitor, QStringLiteral("OUI"));
        rig.panel.setLineRate(true);
        // Maximum and instantaneous speed of each reading; the third gets no answer.
        const QList<std::pair<quint16, quint16>> speeds{{0x007B, 0x0064}, {0x00C8, 0x0096}, {0, 0}, {0xFFFF, 1}};
        const auto prepare = [&](int i) {
            rig.panel.setSpeeds(speeds[i].first, speeds[i].second);
            rig.panel.setFault(i == 2 ? sim::Fault::Silent : sim::Fault::None);
        };
        SURVEILLANCE &w = rig.window;
        QStringList shown;
        connect(&w, &SURVEILLANCE::readingShown, this, [&] {
            shown << rig.text("VITESSE_VENT") + "|" + rig.text("VITESSE_VENT_MAX");
            if (shown.size() < speeds.size())
                prepare(int(shown.size()));
            else
                w.stopButton_Click();
        });
        prepare(0);
        w.startButton_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!w.isRunning(), 5000);

        QCOMPARE(shown, (QStringList{" Vitesse instantanée : 10 Km/h.| Maximum enregistré: 12,3 Km/h.",
                                     " Vitesse instantanée : 15 Km/h.| Maximum enregistré: 20 Km/h.",
                                     " Vitesse instantanée : 15 Km/h.| Maximum enregistré: 20 Km/h.",
                                     " Vitesse instantanée : 0,1 Km/h.| Maximum enregistré: 1638,3 Km/h."}));
        QCOMPARE(rig.frames(16), wire::frames("{31 AAA; 31 BBB; 31 CCC; 31 DDD}*4"));
        QVERIFY(rig.messages.shown.isEmpty());
        QCOMPARE(rig.text("unansweredLabel"), QStringLiteral("Lectures sans réponse : 1"));
        QCOMPARE(rig.text("highestLabel"), QStringLiteral(" Vitesse la plus haute : 15 Km/h."));
        QCOMPARE(rig.text("meanLabel"), QStringLiteral(" Vitesse moyenne : 8,4 Km/h."));
        // The silent reading breaks both lines in two.
        QCOMPARE(tenths(w.speedChart().instantaneousStretches()), (QList<QList<int>>{{100, 150}, {1}}));
        QCOMPARE(tenths(w.speedChart().maximumStretches()), (QList<QList<int>>{{123, 200}, {16383}}));

        // One reading right after the other: the half-second pause and little more.
        const QList<SpeedReading> &readings = w.log().readings();
        QCOMPARE(readings.size(), speeds.size());
        for (int i = 1; i < readings.size(); ++i) {
            const double gap = readings[i].seconds - readings[i - 1].seconds;
            QVERIFY2(gap >= 0.5 && gap < 0.6, QByteArray::number(gap));
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lectures.csv"));
        rig.files.next(path);
        rig.click("exportButton");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), w.log().csv());
    }

    // The bytes a spreadsheet gets: UTF-8, ";" between fields, decimal comma,
    // no group separator, empty speeds for a reading without answer.
    void csvBytes_data()
    {
        QTest::addColumn<SpeedReading>("reading");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("tenths") << SpeedReading{1.5, LiveSpeed{123, 100}} << QByteArray("1,500;10;12,3\n");
        QTest::newRow("no answer") << SpeedReading{2.0626, std::nullopt} << QByteArray("2,063;;\n");
        QTest::newRow("thousands") << SpeedReading{1234.25, LiveSpeed{16383, 65535}}
                                   << QByteArray("1234,250;6553,5;1638,3\n");
    }
    void csvBytes()
    {
        QFETCH(SpeedReading, reading);
        QFETCH(QByteArray, line);
        SpeedLog log;
        log.add(reading);
        QCOMPARE(log.csv(), CsvHeader + line);
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
        int readings = 0;
        bool busyWhenAsked = false;
        connect(w, &SURVEILLANCE::readingShown, this, [&] { ++readings; });
        w->startButton_Click();
        QTimer::singleShot(250, [&] {
            busyWhenAsked = rig.registry.configuration().exchange().busy();
            if (close)
                rig.registry.frame(WindowId::SpeedMonitor)->close();
            else
                rig.click("stopButton");
        });
        QTRY_COMPARE_WITH_TIMEOUT(readings, 1, 3000);
        QVERIFY(busyWhenAsked);
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
        dump_24c01 &editor = rig.registry.window<dump_24c01>(WindowId::Parameters);
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
            bench.trigger("MENU_SURVEILLANCE");
            bench.trigger("MENU_SURVEILLANCE");
            QCOMPARE(bench.principal.mdiArea()->subWindowList().size(), 1);
            auto &w = bench.registry.window<SURVEILLANCE>(WindowId::SpeedMonitor);
            bench.click("startButton");
            QVERIFY(!w.isRunning());
            QCOMPARE(bench.messages.shown, ShownList{noPortShown});
        }
        Rig rig(WindowId::SpeedMonitor, QStringLiteral("OUI"));
        rig.panel.setFault(sim::Fault::HangUp, 2);
        rig.window.startButton_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.window.isRunning(), 3000);
        QCOMPARE(rig.messages.texts(),
                 QStringList{"Le port COM3 ne répond plus. Vérifiez le câble puis validez à nouveau la configuration."});
        QVERIFY(rig.window.log().readings().isEmpty());
    }
};

QTEST_MAIN(MonitorTest)
#include "tst_monitor.moc"
