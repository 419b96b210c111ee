#include "luminosity/luminosity_window.h"
#include "panel/backup.h"
#include "panel/memory_grid.h"
#include "params/parameter_window.h"
#include "support/window_rig.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace {
enum class Way { ExtensionAfterRead, ExtensionAfterFailedRead, Lin, Edit, Load, LuminosityRead };

const QColor Green(0, 255, 0);
const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);

int distance(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
}

// What the screen shows of a cell: the colour just inside its left edge, and
// whether anything is drawn in its middle (its text) in another colour.
std::pair<QColor, bool> seen(const QImage &shot, const QLineEdit *cell)
{
    const QRect r(cell->mapTo(cell->window(), QPoint(0, 0)), cell->size());
    const QColor background = shot.pixelColor(r.left() + 3, r.center().y());
    for (int y = r.top() + 4; y <= r.bottom() - 4; ++y) {
        for (int x = r.left() + 6; x <= r.right() - 6; ++x) {
            if (distance(shot.pixelColor(x, y), background) > 120)
                return {background, true};
        }
    }
    return {background, false};
}
} // namespace
Q_DECLARE_METATYPE(Way)

// The grid as the user sees it: the main window's own pixels, as painted on
// the screen (a fresh rendering of the widget would hide a missed repaint).
class GridPaintTest : public QObject
{
    Q_OBJECT

private slots:
    void cellsArePainted_data()
    {
        QTest::addColumn<Way>("way");
        // Cells from `first` on show a text on `colour`; those before it are
        // blank on white (the editor's read clears the half it does not read).
        QTest::addColumn<int>("first");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("extension opened after a read") << Way::ExtensionAfterRead << 64 << Green;
        QTest::newRow("extension opened after a failed read") << Way::ExtensionAfterFailedRead << 0 << Red;
        QTest::newRow("Lin") << Way::Lin << 0 << White;
        QTest::newRow("EDIT") << Way::Edit << 0 << White;
        QTest::newRow("Charger…") << Way::Load << 0 << White;
        QTest::newRow("luminosity read") << Way::LuminosityRead << 0 << Green;
    }
    void cellsArePainted()
    {
        QFETCH(Way, way);
        QFETCH(int, first);
        QFETCH(QColor, colour);
        const bool lum = way == Way::LuminosityRead;
        WindowRig<QWidget> rig(lum ? WindowId::Luminosity : WindowId::Parameters, QStringLiteral("NON"), FastClock);
        QWidget &principal = rig.bench.principal;
        principal.resize(1100, 700);
        principal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principal));
        rig.bench.registry.show(lum ? WindowId::Luminosity : WindowId::Parameters);
        QTest::qWait(50);

        auto click = [&rig](const char *name) { rig.window.findChild<QPushButton *>(name)->click(); };
        if (way == Way::ExtensionAfterFailedRead)
            rig.panel.setFault(sim::Fault::Silent);
        if (way == Way::ExtensionAfterRead || way == Way::ExtensionAfterFailedRead) {
            click("but_lit_para");
            QTest::qWait(50);
        }
        if (!lum)
            click("Command2");
        if (way == Way::Lin) {
            click("but_lin");
        } else if (way == Way::Edit) {
            rig.window.findChild<QLineEdit *>("Text1_128")->setText("55");
            click("but_edit");
        } else if (way == Way::Load) {
            MemoryBackup backup{"dump_24c01", 3, QDateTime::currentDateTime(), {}};
            for (int k = 0; k < MemoryImage::Size; ++k)
                backup.bytes[k] = quint8(k);
            QString error;
            rig.bench.files.answers << saveBackup(backup, rig.bench.backups.path(), &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            click("but_load");
        } else if (lum) {
            click("but_LIT_LUM");
        }

        QString wrong;
        int inView = 0;
        auto check = [&] {
            const QImage shot = principal.screen()->grabWindow(principal.winId()).toImage();
            wrong.clear();
            inView = 0;
            for (int k = 0; k < MemoryImage::Size; ++k) {
                const QLineEdit *cell = rig.window.findChild<QLineEdit *>(QStringLiteral("Text1_%1").arg(k));
                if (!rig.window.rect().contains(cell->geometry()))
                    continue;
                ++inView;
                const auto [background, text] = seen(shot, cell);
                const bool holds = k >= first;
                if (distance(background, holds ? colour : White) >= 30 || text != holds)
                    wrong += QStringLiteral(" %1:%2%3").arg(k).arg(background.name(), text ? "+text" : "");
            }
            return wrong.isEmpty();
        };
        QTRY_VERIFY2_WITH_TIMEOUT(check(), qPrintable(wrong), 1000);
        // Columns E and F of the luminosity grid lie beyond its window.
        QCOMPARE(inView, lum ? 13 * 8 : 128);
    }
};

QTEST_MAIN(GridPaintTest)
#include "tst_grid_paint.moc"
