// Times every flow against the virtual panel at 4800-baud timing and compares
// it with the least time the flow can take on such a line.
#include "floor_model.h"
#include "link/port_map.h"
#include "link/serial_port.h"
#include "panel/memory_image.h"
#include "panel/transfer.h"
#include "virtual_panel.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {
// printf counts bytes, not letters.
QByteArray padded(const char *text, int width)
{
    return QString::fromUtf8(text).leftJustified(width).toUtf8();
}

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

struct Link
{
    sim::VirtualPanel panel{sim::PanelState::programmed()};
    PortMap ports;
    SerialPort port{ports};
    Exchange exchange{port};
    MemoryImage image;

    bool open()
    {
        if (!panel.start())
            return false;
        panel.setLineRate(true);
        ports.setDevice(3, QString::fromStdString(panel.devicePath()));
        port.setCommPort(3);
        return port.open();
    }
};

struct Flow
{
    const char *name;
    std::function<bool(Link &)> run; // true when the flow succeeded
};

bool measure(const Flow &flow)
{
    Link link;
    if (!link.open()) {
        std::printf("| %s | port: échec |\n", padded(flow.name, 24).constData());
        return false;
    }
    // A read first, so that writes send a real image.
    LIT_24C01(link.exchange, link.image, LuminosityTransfer);
    FloorModel floor;
    link.exchange.setObserver(&floor);
    const double cpu0 = threadCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    const bool ok = flow.run(link);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = threadCpuSeconds() - cpu0;
    std::printf("| %s | %8.3f | %8.3f | %6.3f | %8.3f | %5.1f %% | %-5s |\n", padded(flow.name, 24).constData(),
                wall, floor.floor(),
                wall / floor.floor(), cpu, 100.0 * cpu / wall, ok ? "ok" : "ÉCHEC");
    return ok && wall <= 1.10 * floor.floor() && cpu < 0.10 * wall;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Flow flows[] = {
        {"Éditeur : lecture",
         [](Link &l) { return !LIT_24C01(l.exchange, l.image, EditorTransfer); }},
        {"Éditeur : écriture",
         [](Link &l) { return !ECRIT_24C01(l.exchange, l.image, EditorTransfer).failed(); }},
        {"Microswitches : lecture",
         [](Link &l) { return !LIT_24C01(l.exchange, l.image, SwitchesTransfer); }},
        {"Luminosité : lecture",
         [](Link &l) { return !LIT_24C01(l.exchange, l.image, LuminosityTransfer); }},
        {"Luminosité : écriture",
         [](Link &l) { return !ECRIT_24C01(l.exchange, l.image, LuminosityTransfer).failed(); }},
    };
    std::printf("| %s | %s | %s | %s | %s | %s | %s |\n", padded("Échange", 24).constData(),
                padded("durée s", 8).constData(), padded("plancher", 8).constData(), padded("ratio", 6).constData(),
                padded("CPU s", 8).constData(), padded("CPU", 7).constData(), padded("état", 5).constData());
    std::printf("|--------------------------|----------|----------|--------|----------|---------|-------|\n");
    bool allWithin = true;
    for (const Flow &flow : flows)
        allWithin = measure(flow) && allWithin;
    return allWithin ? 0 : 1;
}
