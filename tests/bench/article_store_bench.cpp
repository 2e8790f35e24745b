// Cost of storing a read-back article list one statement per row, as the receiving routine
// issues them: through ReadBackWriter (one connection for the list) and, for comparison,
// through ArticleStore::insertReadBack (a connection per row). SQLite on disk (a folder
// beside this program), and PostgreSQL too when KALVO_TEST_PG is set.
//
// Usage: article_store_bench [rows]    (default 20000; the connection-per-row pass uses at
//                                       most 2000 rows on SQLite and 200 on PostgreSQL)
#include "data/ArticleStore.h"
#include "shell/AppError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kalvo;

namespace {

ReadBackArticle row(int i)
{
    ReadBackArticle r;
    r.barCode = QByteArray::number(i + 1).rightJustified(12, '0');
    r.description = QByteArray("Artikal ") + QByteArray::number(i);
    r.description = r.description.leftJustified(28, ' ');
    r.price = (i % 10000) / 100.0 + 0.5;
    r.vatCode = i % 9;
    r.mesType = i % 6;
    r.artType = i % 8;
    r.oneItem = i % 2;
    r.department = i % 10;
    r.total = i * 1.25;
    r.qty = i * 0.001;
    r.inventary = i % 1000;
    return r;
}

struct Result {
    double medianUs = 0;
    double p99Us = 0;
    double totalMs = 0;
};

template <class F>
Result measure(int rows, F &&insertOne)
{
    std::vector<double> us;
    us.reserve(rows);
    QElapsedTimer all;
    all.start();
    for (int i = 0; i < rows; ++i) {
        QElapsedTimer t;
        t.start();
        insertOne(row(i));
        us.push_back(t.nsecsElapsed() / 1000.0);
    }
    Result r;
    r.totalMs = all.nsecsElapsed() / 1e6;
    std::sort(us.begin(), us.end());
    r.medianUs = us[us.size() / 2];
    r.p99Us = us[std::min(us.size() - 1, us.size() * 99 / 100)];
    return r;
}

void report(const char *engine, const char *how, int rows, const Result &r)
{
    std::printf("%-10s %-28s %6d rows  median %8.1f us/row  p99 %8.1f us  total %9.1f ms\n",
                engine, how, rows, r.medianUs, r.p99Us, r.totalMs);
    std::fflush(stdout);
}

void run(const char *engine, const QString &connection, int rows, int perRowConnectionRows)
{
    const ArticleStore store(connection);
    {
        ReadBackWriter writer(store, ReadBackList::Articles);
        writer.clear();
        report(engine, "ReadBackWriter", rows, measure(rows, [&](const ReadBackArticle &a) { writer.add(a); }));
    }
    if (store.readBackList(ReadBackList::Articles, ArticleStore::Rows::All).size() != rows)
        std::printf("%-10s row count does not match!\n", engine);

    store.clearReadBack(ReadBackList::SoldArticles);
    const int n = std::min(rows, perRowConnectionRows);
    report(engine, "insertReadBack (conn/row)", n,
           measure(n, [&](const ReadBackArticle &a) { store.insertReadBack(ReadBackList::SoldArticles, a); }));
    store.clearReadBackLists();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 20000;
    try {
        QTemporaryDir dir(QCoreApplication::applicationDirPath() + QStringLiteral("/bench-db-XXXXXX"));
        if (!dir.isValid()) {
            std::fprintf(stderr, "cannot create a folder beside the program\n");
            return 1;
        }
        run("SQLite", QStringLiteral("Driver=QSQLITE;Database=%1/bench.db").arg(dir.path()), rows, 2000);
        const QString pg = qEnvironmentVariable("KALVO_TEST_PG");
        if (!pg.isEmpty()) {
            run("PostgreSQL", pg, rows, 200);
        } else {
            std::printf("PostgreSQL skipped (KALVO_TEST_PG not set)\n");
        }
    } catch (const AppError &e) {
        std::fprintf(stderr, "database error %d: %s\n", e.code, qPrintable(e.description));
        return 1;
    }
    return 0;
}
