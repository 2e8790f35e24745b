// Timed exchanges against kalvo-regsim over a pty: exchanges per second and CPU time per
// exchange for the link test (send "T", ACK back) and for a request with an answer frame.
// Not part of pass/fail. Usage: link_bench [count]   (default 500)
#include "RegSim.h"
#include "TestSupport.h"
#include "register/Link.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include <sys/resource.h>

namespace {

double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

bool measure(const char *name, int count, const std::function<bool()> &exchange)
{
    QElapsedTimer wall;
    const double cpu0 = cpuMs();
    wall.start();
    for (int i = 0; i < count; ++i) {
        if (!exchange()) {
            std::fprintf(stderr, "%s: exchange %d failed\n", name, i + 1);
            return false;
        }
    }
    const double ms = double(wall.nsecsElapsed()) / 1e6;
    const double cpu = cpuMs() - cpu0;
    std::printf("%-28s %6d exchanges  %9.0f /s  %8.1f us wall  %8.1f us CPU per exchange\n", name, count,
                count / (ms / 1e3), ms * 1e3 / count, cpu * 1e3 / count);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 500;

    kalvo::test::RegSim sim;
    if (!sim.start({"--basic"})) {
        std::fprintf(stderr, "%s\n", qPrintable(sim.errorString()));
        return 1;
    }
    sim.usePort(1);
    kalvo::Link link;
    link.setLibraryPath(kalvo::test::binDir() + "libZibDll.so");
    try {
        if (link.Init_RS232(1) != 0) {
            std::fprintf(stderr, "cannot open the simulator's line\n");
            return 1;
        }
        bool ok = measure("Testconnessione", count, [&] { return link.Testconnessione() == 0; });

        for (int i = 0; ok && i < count; ++i)
            ok = sim.command("reply 6E30303130303030303132333435"); // a 14-byte answer
        link.FrameText = "n";
        ok = ok && measure("get_frame (14-byte answer)", count, [&] { return link.getFrame() == 15; });
        link.Close_RS232();
        return ok ? 0 : 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
