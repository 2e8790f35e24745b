// The article database on SQLite: the shared suite (article_store_suite.h) and what only a
// file database shows: connection strings, creation on first use, an unusable database,
// rows written by another program.
#include "article_store_suite.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlError>

using namespace kalvo;
using storetest::errorOf;
using storetest::storeConnections;

class ArticleStoreConnectionTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString path(const QString &name) const { return dir_.filePath(name); }

    static void rawExec(const QString &file, const QStringList &statements)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-raw"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const QString &sql : statements)
                QVERIFY2(q.exec(sql), qPrintable(sql + QStringLiteral(": ") + q.lastError().text()));
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("test-raw"));
    }

    static QStringList rawColumn(const QString &file, const QString &sql)
    {
        QStringList out;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-raw"));
            db.setDatabaseName(file);
            if (db.open()) {
                QSqlQuery q(db);
                if (q.exec(sql)) {
                    while (q.next())
                        out << q.value(0).toString();
                }
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("test-raw"));
        return out;
    }

private slots:
    void cleanup() { QCOMPARE(storeConnections(), QStringList()); }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected"); // driver, database, host, port, user, password, options
        QTest::newRow("sqlite") << "Driver=QSQLITE;Database=/var/lib/kalvo.db"
                                << QStringList{"QSQLITE", "/var/lib/kalvo.db", "", "-1", "", "", ""};
        QTest::newRow("postgres") << "Driver=QPSQL;Host=db.local;Port=5433;Database=kasa;User=tehn;Password=tajna"
                                  << QStringList{"QPSQL", "kasa", "db.local", "5433", "tehn", "tajna", ""};
        QTest::newRow("keys in any case, blanks, trailing ;")
            << " driver = qsqlite ; DATABASE= /tmp/a b.db ;" << QStringList{"QSQLITE", "/tmp/a b.db", "", "-1", "", "", ""};
        QTest::newRow("braced values") << "Driver=QPSQL;Database=k;Password={a;b}}c};Options={sslmode=require}"
                                       << QStringList{"QPSQL", "k", "", "-1", "", "a;b}c", "sslmode=require"};
        QTest::newRow("unknown keys ignored") << "Driver=QSQLITE;Persist Security Info=False;Database=x.db"
                                              << QStringList{"QSQLITE", "x.db", "", "-1", "", "", ""};
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        const ConnectionParams s = ConnectionParams::parse(text);
        QCOMPARE((QStringList{s.driver, s.database, s.host, QString::number(s.port), s.user, s.password, s.options}),
                 expected);
    }

    void unavailable_data()
    {
        QTest::addColumn<QString>("connection");
        QVERIFY(dir_.isValid());
        QFile notDb(path(QStringLiteral("notes.db")));
        QVERIFY(notDb.open(QIODevice::WriteOnly));
        notDb.write(QByteArray("These are notes, not a database.\n").repeated(200));
        notDb.close();
        QFile plain(path(QStringLiteral("plain.txt")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();

        QTest::newRow("empty") << "";
        QTest::newRow("blank") << "   ";
        QTest::newRow("no key=value") << "kalvo.db";
        QTest::newRow("no driver") << "Database=/tmp/kalvo.db";
        QTest::newRow("driver not supported") << "Driver=QODBC;Database=kalvo";
        QTest::newRow("another engine's string") << "Provider=Some.Provider.4.0;Data Source=C:\\Kalvo\\kalvo.mdb";
        QTest::newRow("no database") << "Driver=QSQLITE";
        QTest::newRow("unclosed brace") << "Driver=QSQLITE;Database={/tmp/kalvo.db";
        QTest::newRow("bad port") << "Driver=QPSQL;Host=x;Port=http;Database=k";
        QTest::newRow("folder not writable") << "Driver=QSQLITE;Database=/proc/kalvo.db";
        QTest::newRow("folder is a file") << "Driver=QSQLITE;Database=" + path("plain.txt") + "/kalvo.db";
        QTest::newRow("file is not a database") << "Driver=QSQLITE;Database=" + path("notes.db");
        QTest::newRow("server down") << "Driver=QPSQL;Host=127.0.0.1;Port=1;Database=k;User=u;Password=p";
    }

    void unavailable()
    {
        QFETCH(QString, connection);
        const QByteArray notesBefore = [&] {
            QFile f(path(QStringLiteral("notes.db")));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        const ArticleStore s(connection);
        const auto e1 = errorOf([&] { s.listArticles(); });
        const auto e2 = errorOf([&] { s.savePort(PortSettings{}); });
        const auto e3 = errorOf([&] { ReadBackWriter w(s, ReadBackList::Articles); });
        for (const auto &e : {e1, e2, e3}) {
            QVERIFY(e);
            QCOMPARE(e->code, kErrGenericFailure);
            QVERIFY(!e->description.isEmpty());
        }
        QFile f(path(QStringLiteral("notes.db")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), notesBefore);
    }

    void createdOnFirstUse()
    {
        const QString file = path(QStringLiteral("first.db"));
        QVERIFY(!QFile::exists(file));
        const QString connection = QStringLiteral("Driver=QSQLITE;Database=") + file;
        QCOMPARE(ArticleStore(connection).listArticles(), QList<Article>());
        QVERIFY(QFile::exists(file));
        QCOMPARE(rawColumn(file, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")),
                 (QStringList{"PORT", "ZIB_PLU", "ZIB_PLU_RCV", "ZIB_PLU_RCV_SOLD"}));
        QCOMPARE(rawColumn(file, QStringLiteral("PRAGMA journal_mode")), QStringList{"wal"});

        // a deleted file is created again while the program runs
        QVERIFY(ArticleStore(connection).insertArticle(storetest::makeArticle("000000000001", "A")));
        QVERIFY(QFile::remove(file));
        QFile::remove(file + QStringLiteral("-wal"));
        QFile::remove(file + QStringLiteral("-shm"));
        QCOMPARE(ArticleStore(connection).sendList(), QList<Article>());
    }

    void rowsWrittenElsewhere_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("operation"); // 0 article list, 1 read-back list, 2 PORT
        QTest::newRow("price is text") << "INSERT INTO ZIB_PLU (BAR_CODE, PRICE) VALUES ('000000000001', 'abc')" << 0;
        QTest::newRow("index out of range") << "INSERT INTO ZIB_PLU (BAR_CODE, VAT_CODE) VALUES ('000000000001', 1e12)" << 0;
        QTest::newRow("quantity is text") << "INSERT INTO ZIB_PLU_RCV (BAR_CODE, QTY) VALUES ('000000000001', 'x')" << 1;
        QTest::newRow("speed is text") << "INSERT INTO PORT (Port, Zib) VALUES (1, 'fast')" << 2;
        QTest::newRow("port is text") << "INSERT INTO PORT (Port, Zib) VALUES ('COM1', '9600')" << 2;
    }

    void rowsWrittenElsewhere()
    {
        QFETCH(QString, statement);
        QFETCH(int, operation);
        static int n = 0;
        const QString file = path(QStringLiteral("else%1.db").arg(++n));
        const ArticleStore s(QStringLiteral("Driver=QSQLITE;Database=") + file);
        s.clearReadBackLists(); // creates the tables
        rawExec(file, {statement});
        const auto e = errorOf([&] {
            if (operation == 0)
                s.listArticles();
            else if (operation == 1)
                s.readBackList(ReadBackList::Articles);
            else
                s.loadPort();
        });
        QVERIFY(e);
        QCOMPARE(e->code, kErrDatabaseStatement);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    {
        storetest::ArticleStoreSuite suite(storetest::ArticleStoreSuite::Backend::Sqlite);
        failed += QTest::qExec(&suite, argc, argv);
    }
    {
        ArticleStoreConnectionTest connection;
        failed += QTest::qExec(&connection, argc, argv);
    }
    return failed;
}

#include "moc_article_store_suite.cpp"
#include "article_store_test.moc"
