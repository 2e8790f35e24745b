// Reads a long article list back from the simulator and reports the time per article, to
// show that the read-back is bound by the line rather than by the database.
// Usage: receive_articles_bench [articles]   (default 5000)
#include "../core/routine_rig.h"

#include "register/ReceiveRoutines.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 5000;
    kalvo::test::RoutineRig rig;
    QByteArray state = "clear articles\n";
    for (int i = 1; i <= count; ++i)
        state += "article code=" + QByteArray::number(i).rightJustified(12, '0') + " name=\"Artikal "
                 + QByteArray::number(i) + "\" department=1 price=12345 single=0 vat=1 unit=0 type=1"
                 " total=0 quantity=0 stock=1000\n";
    if (!rig.writeState(state) || !rig.open({"--state", rig.statePath()})) {
        std::fprintf(stderr, "simulator did not start\n");
        return 1;
    }
    kalvo::ReceiveRoutines receive(rig.ctx);
    QElapsedTimer timer;
    timer.start();
    const bool ok = receive.ricevi_plu();
    const double ms = double(timer.elapsed());
    const auto rows = rig.store().readBackList(kalvo::ReadBackList::Articles, kalvo::ArticleStore::Rows::All).size();
    std::printf("%s: %lld rows in %.0f ms (%.3f ms per article)\n", ok ? "ok" : "FAILED", static_cast<long long>(rows), ms,
                ms / count);
    return ok && rows == count ? 0 : 1;
}
