#pragma once

#include "link/configuration_window.h"
#include "support/panel_link.h"
#include "support/workbench.h"
#include "ui/window_registry.h"

#include <QComboBox>

// Pauses and answer limits at a fifth of their length, for tests of what a
// flow sends and shows rather than of how long it takes.
constexpr double FastClock = 0.2;

// The tool with its link settings confirmed on a virtual panel at COM3, the
// answer check set, and one of its windows.
template <class Window>
struct WindowRig
{
    WindowRig(WindowId id, const QString &answerCheck, double timeScale = 1)
        : window(bench.registry.window<Window>(id))
    {
        panel.start();
        bench.mapPort(3, QString::fromStdString(panel.devicePath()));
        bench.confirmPort(3);
        bench.registry.configuration().exchange().setTimeScale(timeScale);
        bench.registry.configuration().list(LinkSetting::SEL_REP)->setCurrentText(answerCheck);
        restart(0);
    }
    // Starts afresh once the frames of the last flow are in.
    void restart(int expected)
    {
        panel.waitForFrames(std::size_t(expected), std::chrono::seconds(1));
        panel.clearLog();
        bench.messages.clear();
    }
    // The frames, once `expected` are in and no other follows within a moment.
    QStringList frames(int expected)
    {
        panel.waitForFrames(std::size_t(expected), std::chrono::seconds(1));
        panel.waitForFrames(std::size_t(expected) + 1, std::chrono::milliseconds(200));
        return frameTexts(panel.frames());
    }

    sim::VirtualPanel panel;
    Workbench bench;
    Window &window;
};
