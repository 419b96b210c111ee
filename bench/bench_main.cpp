// Times every exchange of the tool against the virtual panel at 4800-baud
// timing, and compares each with the least time it can take on such a line.
#include "bench_rig.h"
#include "floor_model.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {
struct Flow
{
    const char *name;
    std::function<void(Rig &)> prepare;
    std::function<void(Rig &)> run;
};

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

// True when the flow ended well, within 10 % of its floor, on under 10 % of CPU.
bool measure(const Flow &flow)
{
    Rig rig;
    if (!rig.open()) {
        std::printf("| %s | port: échec |\n", padded(flow.name, 40).constData());
        return false;
    }
    if (flow.prepare)
        flow.prepare(rig);
    rig.user.shown.clear();
    FloorModel floor;
    rig.registry.configuration().exchange().setObserver(&floor);
    const double cpu0 = threadCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    flow.run(rig);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = threadCpuSeconds() - cpu0;
    rig.registry.configuration().exchange().setObserver(nullptr);
    const bool ok = rig.user.shown.isEmpty();
    std::printf("| %s | %8.3f | %8.3f | %6.3f | %8.3f | %5.1f %% | %-5s |\n", padded(flow.name, 40).constData(),
                wall, floor.floor(), wall / floor.floor(), cpu, 100.0 * cpu / wall, ok ? "ok" : "ÉCHEC");
    for (const QString &message : rig.user.shown)
        std::printf("    %s\n", qPrintable(message));
    return ok && wall <= 1.10 * floor.floor() && cpu < 0.10 * wall;
}

bool cellsGreen(const MemoryImage &image, int first, int count)
{
    for (int k = first; k < first + count; ++k) {
        if (image.state(k) != CellState::Green)
            return false;
    }
    return true;
}

// A transfer's failure marks its cells; the bench tells it like a message.
void expectGreen(Rig &rig, const MemoryImage &image, int first, int count)
{
    if (!cellsGreen(image, first, count))
        rig.user.shown.append(QStringLiteral("transfert en échec"));
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const auto readEditor = [](Rig &r) { r.editor().LIT_24C01(); };
    const Flow flows[] = {
        {"Éditeur : lecture mémoire", nullptr,
         [](Rig &r) {
             r.editor().LIT_24C01();
             expectGreen(r, r.editor().image(), 64, 64);
         }},
        {"Éditeur : écriture mémoire", readEditor,
         [](Rig &r) {
             r.editor().ECRIT_24C01();
             expectGreen(r, r.editor().image(), 64, 64);
         }},
        {"Microswitches : lecture mémoire", nullptr,
         [](Rig &r) {
             r.switches().LIT_24C01();
             expectGreen(r, r.switches().image(), 0, 128);
         }},
        {"Luminosité : lecture mémoire", nullptr,
         [](Rig &r) {
             r.luminosity().LIT_24C01();
             expectGreen(r, r.luminosity().image(), 0, 128);
         }},
        {"Luminosité : écriture mémoire", [](Rig &r) { r.luminosity().LIT_24C01(); },
         [](Rig &r) {
             r.luminosity().ECRIT_24C01();
             expectGreen(r, r.luminosity().image(), 0, 128);
         }},
        {"Lire les paramètres (et 2 vitesses)", nullptr, [](Rig &r) { r.editor().but_lit_para_Click(); }},
        {"Programme les paramètres", readEditor, [](Rig &r) { r.editor().but_ecrit_para_Click(); }},
        {"Vitesse instantanée et maximum", nullptr, [](Rig &r) { r.editor().Command1_Click(); }},
        {"Lire la position des microswitches", nullptr, [](Rig &r) { r.switches().LIT_SW_Click(); }},
        {"Luminosité : Lit", nullptr, [](Rig &r) { r.luminosity().but_LIT_LUM_Click(); }},
        {"Luminosité : Envoi", nullptr, [](Rig &r) { r.luminosity().but_ECRIT_LUM_Click(); }},
    };
    std::printf("| %s | %s | %s | %s | %s | %s | %s |\n", padded("Échange", 40).constData(),
                padded("durée s", 8).constData(), padded("plancher", 8).constData(), padded("ratio", 6).constData(),
                padded("CPU s", 8).constData(), padded("CPU", 7).constData(), padded("état", 5).constData());
    std::printf("|------------------------------------------|----------|----------|--------|----------|---------|"
                "-------|\n");
    bool allWithin = true;
    for (const Flow &flow : flows)
        allWithin = measure(flow) && allWithin;
    return allWithin ? 0 : 1;
}
