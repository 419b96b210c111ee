#include "sim_options.h"
#include "virtual_panel.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>

int main(int argc, char **argv)
{
    sim::SimOptions options;
    const std::string error = sim::parseOptions({argv + 1, argv + argc}, options);
    if (!error.empty()) {
        std::fprintf(stderr, "kvl-panel-sim : %s (--help pour l'aide)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(sim::usage().c_str(), stdout);
        return 0;
    }

    // Blocked before the panel's thread exists, so only sigwait() sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    sim::VirtualPanel panel(options.state);
    panel.setLineRate(options.lineRate);
    panel.setAnswerAddress(options.answerAddress);
    panel.setFault(options.fault, options.hangUpAfterFrames);
    if (options.log) {
        panel.setListener([](const std::string &line) {
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        });
    }
    std::string failure;
    if (!panel.start(&failure) || (!options.link.empty() && !panel.linkTo(options.link, &failure))) {
        std::fprintf(stderr, "kvl-panel-sim : %s\n", failure.c_str());
        return 1;
    }
    std::printf("%s\n", panel.devicePath().c_str());
    std::fflush(stdout);

    // Nobody reads the log here: empty it now and then so a long run stays small.
    const timespec period{10, 0};
    while (sigtimedwait(&stopSignals, nullptr, &period) < 0)
        panel.clearLog();
    return 0;
}
