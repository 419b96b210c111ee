#pragma once

#include "support/panel_link.h"
#include "support/workbench.h"

// Pauses and answer limits at a fifth of their length, for tests of what a
// flow sends and shows rather than of how long it takes.
constexpr double FastClock = 0.2;

// The tool with a virtual panel plugged in at COM3, the answer check set, and
// one of its windows, which the verbs look in first.
template <class Window>
struct WindowRig : Workbench
{
    WindowRig(WindowId id, const QString &answerCheck, double timeScale = 1)
        : window(registry.window<Window>(id))
    {
        scope = &window;
        panel.start();
        plug(3, QString::fromStdString(panel.devicePath()));
        exchange().setTimeScale(timeScale);
        registry.configuration().list(LinkSetting::SEL_REP)->setCurrentText(answerCheck);
        restart(0);
    }
    Exchange &exchange() { return registry.configuration().exchange(); }
    // Starts afresh once the frames of the last flow are in.
    void restart(int expected)
    {
        panel.waitForFrames(std::size_t(expected), std::chrono::seconds(1));
        panel.clearLog();
        messages.clear();
    }
    // The frames, once `expected` are in and no other follows within a moment.
    QStringList frames(int expected)
    {
        panel.waitForFrames(std::size_t(expected), std::chrono::seconds(1));
        panel.waitForFrames(std::size_t(expected) + 1, std::chrono::milliseconds(200));
        return frameTexts(panel.frames());
    }

    sim::VirtualPanel panel;
    Window &window;
};
