// The article database suite against PostgreSQL: the server named by KALVO_TEST_PG
// (scripts/start-test-postgres.sh prints it); skipped when the variable is not set.
#include "article_store_suite.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    storetest::ArticleStoreSuite suite(storetest::ArticleStoreSuite::Backend::Postgres);
    return QTest::qExec(&suite, argc, argv);
}

#include "moc_article_store_suite.cpp"
