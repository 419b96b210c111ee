// Runs the speed monitor against the virtual panel at 4800-baud timing while
// the wind gusts, and reports its readings per minute against the floor set
// by the exchange and the CPU time of the tool's own thread. Arguments:
// seconds of monitoring (30), then seconds to stay on screen afterwards (0).
#include "bench_rig.h"
#include "monitor/monitor_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QTimer>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>

namespace {
double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Gusts around 15 km/h, the recorded maximum following them; the panel falls
// silent for a moment now and then.
void blow(sim::VirtualPanel &panel, const std::atomic<bool> &stop)
{
    const auto start = std::chrono::steady_clock::now();
    int maximum = 0;
    bool silent = false;
    while (!stop) {
        const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const int speed = std::max(0, int(150 + 70 * std::sin(t * 0.5) + 35 * std::sin(t * 2.1)));
        maximum = std::max(maximum, speed);
        panel.setSpeeds(std::uint16_t(maximum), std::uint16_t(speed));
        const bool quiet = std::fmod(t, 20.0) > 12.0 && std::fmod(t, 20.0) < 13.2;
        if (quiet != silent) {
            silent = quiet;
            panel.setFault(quiet ? sim::Fault::Silent : sim::Fault::None);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const int hold = argc > 2 ? std::atoi(argv[2]) : 0;
    Rig rig;
    if (!rig.open()) {
        std::fprintf(stderr, "virtual panel not reachable\n");
        return 1;
    }
    rig.principal.Form_Load();
    rig.registry.unload(WindowId::Parameters);
    rig.registry.minimize(WindowId::Configuration);
    rig.principal.MENU_SURVEILLANCE_Click();
    rig.registry.frame(WindowId::SpeedMonitor)->move(0, 0);
    auto &monitor = rig.registry.window<SURVEILLANCE>(WindowId::SpeedMonitor);

    std::atomic<bool> stop{false};
    std::thread wind(blow, std::ref(rig.panel), std::cref(stop));

    double cpuAtStart = 0;
    QElapsedTimer wall;
    QTimer::singleShot(200, [&] {
        cpuAtStart = threadCpuSeconds();
        wall.start();
        monitor.startButton_Click();
    });
    QTimer::singleShot(200 + seconds * 1000, [&] {
        monitor.stopButton_Click();
        const double cpu = threadCpuSeconds() - cpuAtStart;
        const double elapsed = wall.nsecsElapsed() / 1e9;
        const QList<SpeedReading> &r = monitor.log().readings();
        const double span = r.size() > 1 ? r.last().seconds - r.first().seconds : 0.0;
        const double interval = r.size() > 1 ? span / double(r.size() - 1) : 0.0;
        const double character = 10.0 / 4800.0;
        const double pauseOnly = 0.5;
        const double withFrames = 0.5 + 4 * 7 * character;
        std::printf("lectures %lld en %.3f s, sans réponse %d\n", qint64(r.size()), elapsed, monitor.log().unanswered());
        std::printf("intervalle moyen %.4f s, %.1f lectures/min\n", interval, 60.0 / interval);
        std::printf("plancher pause seule %.4f s (%.1f/min), ratio %.3f\n", pauseOnly, 60.0 / pauseOnly,
                    interval / pauseOnly);
        std::printf("plancher pause + 4 trames %.4f s (%.1f/min), ratio %.3f\n", withFrames, 60.0 / withFrames,
                    interval / withFrames);
        std::printf("CPU du fil de l'outil %.3f s sur %.3f s : %.2f %%\n", cpu, elapsed, 100.0 * cpu / elapsed);
        std::fflush(stdout);
        QTimer::singleShot(hold * 1000, &app, &QApplication::quit);
    });
    const int result = app.exec();
    stop = true;
    wind.join();
    return result;
}
