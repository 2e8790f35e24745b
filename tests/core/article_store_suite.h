#pragma once
// The article database suite, run against SQLite (article_store_test) and against the
// PostgreSQL server named by KALVO_TEST_PG (article_store_pg_test).
#include "data/ArticleStore.h"
#include "data/Codec.h"
#include "shell/AppError.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <optional>

Q_DECLARE_METATYPE(std::optional<QByteArray>)
Q_DECLARE_METATYPE(kalvo::ReadBackList)

namespace kalvo {

inline char *toString(const Article &a)
{
    return QTest::toString(QStringLiteral("Article(%1 '%2' price=%3 vat=%4 mes=%5 art=%6 one=%7 dep=%8 inv=%9 max=%10)")
                               .arg(QString::fromLatin1(a.barCode), ansiToUnicode(a.description))
                               .arg(a.price, 0, 'g', 17).arg(a.vatCode).arg(a.mesType).arg(a.artType)
                               .arg(a.oneItem).arg(a.department).arg(a.inventary, 0, 'g', 17)
                               .arg(a.maxValue));
}

inline char *toString(const ReadBackArticle &a)
{
    return QTest::toString(QStringLiteral("%1 total=%2 qty=%3")
                               .arg(QString::fromUtf8(QScopedArrayPointer<char>(toString(static_cast<const Article &>(a))).data()))
                               .arg(a.total, 0, 'g', 17).arg(a.qty, 0, 'g', 17));
}

inline char *toString(const PortSettings &p)
{
    return QTest::toString(QStringLiteral("Port(%1 %2 '%3' '%4')")
                               .arg(p.port).arg(p.baudRate)
                               .arg(QString::fromLatin1(p.dialMode), QString::fromLatin1(p.phoneNumber)));
}

} // namespace kalvo

namespace storetest {

using namespace kalvo;

template <class F>
std::optional<AppError> errorOf(F &&f)
{
    try {
        f();
    } catch (const AppError &e) {
        return e;
    }
    return std::nullopt;
}

inline Article makeArticle(const char *code, const QByteArray &name, double price = 1.5)
{
    Article a;
    a.barCode = code;
    a.description = name;
    a.price = price;
    a.vatCode = 2;
    a.mesType = 1;
    a.artType = 3;
    a.oneItem = true;
    a.department = 4;
    a.inventary = 1234.567;
    return a;
}

inline ReadBackArticle makeReadBack(const char *code, const QByteArray &name, double total, double qty)
{
    ReadBackArticle r;
    static_cast<Article &>(r) = makeArticle(code, name, 99.99);
    r.total = total;
    r.qty = qty;
    return r;
}

inline QList<QByteArray> codesOf(const auto &rows)
{
    QList<QByteArray> codes;
    for (const auto &r : rows)
        codes.append(r.barCode);
    return codes;
}

// Connections the store opened and did not remove.
inline QStringList storeConnections()
{
    QStringList names = QSqlDatabase::connectionNames();
    names.removeIf([](const QString &n) { return !n.startsWith(QLatin1String("kalvo-articles-")); });
    return names;
}

class ArticleStoreSuite : public QObject {
    Q_OBJECT
public:
    enum class Backend { Sqlite, Postgres };
    explicit ArticleStoreSuite(Backend backend) : backend_(backend) {}

private:
    Backend backend_;
    QTemporaryDir dir_;
    QString connection_;

    ArticleStore store() const { return ArticleStore(connection_); }

    // A separate connection of the test's own, to look at what the store wrote.
    template <class F>
    void withRaw(F &&f) const
    {
        const ConnectionParams params = ConnectionParams::parse(connection_);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(params.driver, QStringLiteral("test-raw"));
            db.setDatabaseName(params.database);
            db.setHostName(params.host);
            db.setPort(params.port);
            db.setUserName(params.user);
            db.setPassword(params.password);
            QVERIFY2(db.open(), qPrintable(db.lastError().text()));
            f(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("test-raw"));
    }

    QVariant rawValue(const QString &sql) const
    {
        QVariant v;
        withRaw([&](QSqlDatabase &db) {
            QSqlQuery q(db);
            if (q.exec(sql) && q.next())
                v = q.value(0);
        });
        return v;
    }

    int rawCount(const QString &table) const
    {
        return rawValue(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
    }

private slots:
    void initTestCase()
    {
        if (backend_ == Backend::Postgres) {
            connection_ = qEnvironmentVariable("KALVO_TEST_PG");
            if (connection_.isEmpty())
                QSKIP("KALVO_TEST_PG is not set (scripts/start-test-postgres.sh starts a server)");
        }
        QVERIFY(dir_.isValid());
    }

    void init()
    {
        if (backend_ == Backend::Sqlite) {
            static int n = 0;
            connection_ = QStringLiteral("Driver=QSQLITE;Database=%1/case%2.db").arg(dir_.path()).arg(++n);
            return;
        }
        // PostgreSQL: one database for every case; empty the tables (creating them first).
        store().clearReadBackLists();
        withRaw([](QSqlDatabase &db) {
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("DELETE FROM ZIB_PLU")));
            QVERIFY(q.exec(QStringLiteral("DELETE FROM PORT")));
        });
    }

    void cleanup()
    {
        // Every operation closes and removes its connection, also when it failed.
        QCOMPARE(storeConnections(), QStringList());
    }

    void articleLifecycle()
    {
        const ArticleStore s = store();
        const Article a = makeArticle("000000000123", "Hleb", 12.34);
        const Article b = makeArticle("000000000005", "Mleko", 0.5);
        QVERIFY(s.insertArticle(a));
        QVERIFY(s.insertArticle(b));
        QVERIFY(s.articleExists("000000000123"));
        QVERIFY(!s.articleExists("123"));

        // a second article under a taken code is not stored and changes nothing
        QVERIFY(!s.insertArticle(makeArticle("000000000123", "Drugi", 7)));
        QCOMPARE(s.fetchArticle("000000000123"), a);
        QCOMPARE(codesOf(s.listArticles()), (QList<QByteArray>{"000000000005", "000000000123"}));

        // update moves the article to a new code and rewrites every field
        Article changed = makeArticle("000000000124", "Hleb beli", 45.6);
        changed.vatCode = 8;
        changed.mesType = 0;
        changed.artType = 7;
        changed.oneItem = false;
        changed.department = 9;
        changed.inventary = 999999.999;
        QVERIFY(s.updateArticle("000000000123", changed));
        QCOMPARE(s.fetchArticle("000000000123"), std::nullopt);
        QCOMPARE(s.fetchArticle("000000000124"), changed);
        QCOMPARE(s.fetchArticle("000000000005"), b);
        QVERIFY(!s.updateArticle("000000000777", changed));

        // moving onto another article's code is refused by the database, nothing changes
        const auto clash = errorOf([&] { s.updateArticle("000000000124", makeArticle("000000000005", "X")); });
        QVERIFY(clash);
        QCOMPARE(clash->code, kErrDatabaseStatement);
        QCOMPARE(s.fetchArticle("000000000124"), changed);

        QVERIFY(s.deleteArticle("000000000005"));
        QVERIFY(!s.deleteArticle("000000000005"));
        QCOMPARE(s.sendList(), QList<Article>{changed});
    }

    void listsOrderAndSkipZeroCodes()
    {
        const ArticleStore s = store();
        for (const char *code : {"000000000010", "000000000000", "abc", "000000000002", "00000000001x"})
            QVERIFY(s.insertArticle(makeArticle(code, "A")));
        // byte order of the codes on every engine; the editor's list leaves out codes of value 0
        QCOMPARE(codesOf(s.sendList()),
                 (QList<QByteArray>{"000000000000", "000000000002", "000000000010", "00000000001x", "abc"}));
        QCOMPARE(codesOf(s.listArticles()),
                 (QList<QByteArray>{"000000000002", "000000000010", "00000000001x"}));
    }

    void textsStoredExactly_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("unicode");
        QTest::newRow("apostrophe") << QByteArray("D'Arcy") << QStringLiteral("D'Arcy");
        QTest::newRow("statement") << QByteArray("x'); DELETE FROM ZIB_PLU; --")
                                   << QStringLiteral("x'); DELETE FROM ZIB_PLU; --");
        QTest::newRow("diacritics") << QByteArray("\x8A\x9A\xC8\xE8\xE6\x9E\xF0 ")
                                    << QString::fromUtf8("ŠšČčćžđ ");
        QTest::newRow("padded") << QByteArray("Hleb").leftJustified(28, ' ')
                                << QStringLiteral("Hleb").leftJustified(28, QLatin1Char(' '));
    }

    void textsStoredExactly()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, unicode);
        const ArticleStore s = store();
        const Article other = makeArticle("000000000001", "Drugi");
        QVERIFY(s.insertArticle(other));

        Article a = makeArticle("000000000002", text);
        QVERIFY(s.insertArticle(a));
        QCOMPARE(s.fetchArticle(a.barCode), a);
        // the database holds the text as Unicode (UTF-8), not as the register's bytes
        QCOMPARE(rawValue(QStringLiteral("SELECT DESCRIPTION FROM ZIB_PLU WHERE BAR_CODE = '000000000002'")).toString(),
                 unicode);
        a.description = "Novo";
        QVERIFY(s.updateArticle(a.barCode, a));
        a.description = text;
        QVERIFY(s.updateArticle(a.barCode, a));
        QCOMPARE(s.sendList(), (QList<Article>{other, a}));

        // a code made of such a text finds nothing and removes nothing
        QCOMPARE(s.fetchArticle("x' OR '1'='1"), std::nullopt);
        QVERIFY(!s.deleteArticle("' OR ''='"));
        QCOMPARE(rawCount(QStringLiteral("ZIB_PLU")), 2);

        const ReadBackArticle r = makeReadBack("000000000003", text, 1, 2);
        s.insertReadBack(ReadBackList::SoldArticles, r);
        QCOMPARE(s.fetchReadBack(ReadBackList::SoldArticles, r.barCode), r);

        const PortSettings p{2, 9600, text.left(20), text};
        s.savePort(p);
        QCOMPARE(s.loadPort(), p);
        QCOMPARE(rawCount(QStringLiteral("ZIB_PLU")), 2);
        QCOMPARE(rawCount(QStringLiteral("ZIB_PLU_RCV_SOLD")), 1);
    }

    void unstorableValuesRefused_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<double>("price");
        QTest::newRow("NUL in name") << QByteArray("000000000001") << QByteArray("ab\0cd", 5) << 1.0;
        QTest::newRow("name of 29") << QByteArray("000000000001") << QByteArray(29, 'x') << 1.0;
        QTest::newRow("code of 13") << QByteArray("0000000000001") << QByteArray("ok") << 1.0;
        QTest::newRow("price not finite") << QByteArray("000000000001") << QByteArray("ok")
                                          << std::numeric_limits<double>::quiet_NaN();
    }

    void unstorableValuesRefused()
    {
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, name);
        QFETCH(double, price);
        const ArticleStore s = store();
        Article a = makeArticle("", name, price);
        a.barCode = code;
        const auto e1 = errorOf([&] { s.insertArticle(a); });
        QVERIFY(e1);
        QCOMPARE(e1->code, kErrDatabaseStatement);
        ReadBackArticle r;
        static_cast<Article &>(r) = a;
        const auto e2 = errorOf([&] { s.insertReadBack(ReadBackList::Articles, r); });
        QVERIFY(e2);
        QCOMPARE(e2->code, kErrDatabaseStatement);
        QCOMPARE(rawCount(QStringLiteral("ZIB_PLU")), 0);
        QCOMPARE(rawCount(QStringLiteral("ZIB_PLU_RCV")), 0);
    }

    void validationExistence_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<std::optional<QByteArray>>("original");
        QTest::addColumn<QString>("message");
        const std::optional<QByteArray> insert;
        QTest::newRow("new, code taken") << "123" << QByteArray("Hleb") << insert << "Bar kod vec postoji ! ";
        QTest::newRow("new, code free") << "  125 " << QByteArray("Hleb") << insert << "";
        QTest::newRow("own code kept") << "000000000123" << QByteArray("Hleb") << std::optional<QByteArray>("000000000123") << "";
        QTest::newRow("onto another's code") << "124" << QByteArray("Hleb") << std::optional<QByteArray>("000000000123")
                                             << "Bar kod vec postoji ! ";
        QTest::newRow("to a free code") << "126" << QByteArray("Hleb") << std::optional<QByteArray>("000000000123") << "";
        QTest::newRow("field checks first") << "123" << QByteArray("  ") << insert << "Unesite naziv !";
    }

    void validationExistence()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, name);
        QFETCH(std::optional<QByteArray>, original);
        QFETCH(QString, message);
        const ArticleStore s = store();
        QVERIFY(s.insertArticle(makeArticle("000000000123", "A")));
        QVERIFY(s.insertArticle(makeArticle("000000000124", "B")));
        ArticleForm form;
        form.code = typed;
        form.name = name;
        form.price = QStringLiteral("10");
        form.stock = QStringLiteral("1");
        const ArticleCheck check = s.validateArticle(form, 1000, original);
        QCOMPARE(check.message, message);
        QCOMPARE(check.ok, message.isEmpty());
        if (check.ok)
            QCOMPARE(check.article.barCode, PadBarCode(typed.toLatin1()));
    }

    void readBackLists()
    {
        const ArticleStore s = store();
        const ReadBackArticle old = makeReadBack("000000000099", "Staro", 1, 1);
        s.insertReadBack(ReadBackList::Articles, old);
        const ReadBackArticle sold = makeReadBack("000000000007", "Prodato", 12345678.9, 0.125);
        s.insertReadBack(ReadBackList::SoldArticles, sold);
        QVERIFY(s.insertArticle(makeArticle("000000000001", "Artikal")));
        s.savePort(PortSettings{3, 19200, "ATDT", "011"});

        const ReadBackArticle r1 = makeReadBack("000000000020", "Dvadeset", 999999999.99, 123456.789);
        const ReadBackArticle r2 = makeReadBack("000000000003", "Tri", 0.01, 0.001);
        const ReadBackArticle zero = makeReadBack("000000000000", "Nula", 0, 0);
        {
            ReadBackWriter writer(s, ReadBackList::Articles);
            writer.clear();
            for (const auto &r : {r1, zero, r2})
                writer.add(r);
            QCOMPARE(writer.added(), 3);
            // each row is there as soon as it was added
            QCOMPARE(rawCount(QStringLiteral("ZIB_PLU_RCV")), 3);
        }
        QCOMPARE(s.readBackList(ReadBackList::Articles), (QList<ReadBackArticle>{r2, r1}));
        QCOMPARE(s.readBackList(ReadBackList::Articles, ArticleStore::Rows::All),
                 (QList<ReadBackArticle>{zero, r2, r1}));
        QCOMPARE(s.fetchReadBack(ReadBackList::Articles, "000000000020"), r1);
        QCOMPARE(s.fetchReadBack(ReadBackList::Articles, "000000000099"), std::nullopt);
        // the other list was not touched
        QCOMPARE(s.readBackList(ReadBackList::SoldArticles), QList<ReadBackArticle>{sold});

        s.clearReadBack(ReadBackList::SoldArticles);
        QCOMPARE(rawCount(QStringLiteral("ZIB_PLU_RCV_SOLD")), 0);
        QCOMPARE(rawCount(QStringLiteral("ZIB_PLU_RCV")), 3);

        // start of the program: both lists go, the articles and the line settings stay
        s.insertReadBack(ReadBackList::SoldArticles, sold);
        s.clearReadBackLists();
        QCOMPARE(rawCount(QStringLiteral("ZIB_PLU_RCV")), 0);
        QCOMPARE(rawCount(QStringLiteral("ZIB_PLU_RCV_SOLD")), 0);
        QCOMPARE(rawCount(QStringLiteral("ZIB_PLU")), 1);
        QVERIFY(s.loadPort());
    }

    void transfer_data()
    {
        QTest::addColumn<ReadBackList>("from");
        QTest::addColumn<ReadBackList>("other");
        QTest::newRow("received articles") << ReadBackList::Articles << ReadBackList::SoldArticles;
        QTest::newRow("sold articles") << ReadBackList::SoldArticles << ReadBackList::Articles;
    }

    void transfer()
    {
        QFETCH(ReadBackList, from);
        QFETCH(ReadBackList, other);
        const ArticleStore s = store();
        QVERIFY(s.insertArticle(makeArticle("000000000555", "Nije u listi")));
        const ReadBackArticle r1 = makeReadBack("000000000002", "Dva", 10, 2);
        ReadBackArticle r2 = makeReadBack("000000000001", "Jedan", 20, 3);
        r2.oneItem = false;
        s.insertReadBack(from, r1);
        s.insertReadBack(from, r2);
        s.insertReadBack(other, makeReadBack("000000000777", "Druga lista", 1, 1));

        QCOMPARE(s.transferToArticles(from), 2);
        // exactly the list's rows, MAX_VALUE 0, nothing of the other list
        QCOMPARE(s.sendList(), (QList<Article>{r2, r1}));
        QCOMPARE(rawCount(s.tableName(from)), 2);
    }

    void failedTransferKeepsArticles()
    {
        const ArticleStore s = store();
        const Article kept = makeArticle("000000000555", "Ostaje");
        QVERIFY(s.insertArticle(kept));
        s.insertReadBack(ReadBackList::Articles, makeReadBack("000000000001", "Jedan", 1, 1));
        s.insertReadBack(ReadBackList::Articles, makeReadBack("000000000001", "Opet jedan", 1, 1));
        const auto e = errorOf([&] { s.transferToArticles(ReadBackList::Articles); });
        QVERIFY(e);
        QCOMPARE(e->code, kErrDatabaseStatement);
        QVERIFY(!e->description.isEmpty());
        QCOMPARE(s.sendList(), QList<Article>{kept});
    }

    void portRow()
    {
        const ArticleStore s = store();
        QCOMPARE(s.loadPort(), std::nullopt);
        s.savePort(PortSettings{1, 9600, "ATDP", ""});
        const PortSettings second{4, 57600, "ATDT", "0113334444"};
        s.savePort(second);
        QCOMPARE(s.loadPort(), second);
        QCOMPARE(rawCount(QStringLiteral("PORT")), 1);
        QCOMPARE(rawValue(QStringLiteral("SELECT Zib FROM PORT")).toString(), QStringLiteral("57600"));
    }
};

} // namespace storetest
