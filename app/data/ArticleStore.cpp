#include "data/ArticleStore.h"

#include "data/Codec.h"
#include "shell/AppError.h"

#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <cmath>
#include <limits>
#include <utility>

namespace kalvo {

namespace {

[[noreturn]] void unavailable(const QString &why)
{
    throw AppError(kErrGenericFailure, why);
}

[[noreturn]] void refused(const QString &why)
{
    throw AppError(kErrDatabaseStatement, why);
}

QString errorText(const QSqlError &error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

// Tables whose schema this process has already made sure of, by connection.
QMutex schemaMutex;
QSet<QString> schemaReady;

// ---- the schema ----

QStringList schemaStatements(const QString &driver)
{
    // Codes sort byte by byte on every engine, so that both agree on BAR_CODE order.
    const QString codeType = driver == QLatin1String("QPSQL")
        ? QStringLiteral("VARCHAR(12) COLLATE \"C\"")
        : QStringLiteral("VARCHAR(12) COLLATE BINARY");
    const QString articleColumns = QStringLiteral(
        "DESCRIPTION VARCHAR(28) NOT NULL DEFAULT '', "
        "PRICE DOUBLE PRECISION NOT NULL DEFAULT 0, "
        "VAT_CODE INTEGER NOT NULL DEFAULT 0, "
        "MES_TYPE INTEGER NOT NULL DEFAULT 0, "
        "ART_TYPE INTEGER NOT NULL DEFAULT 0, "
        "ONE_ITEM INTEGER NOT NULL DEFAULT 0, "
        "DEPARTMENT INTEGER NOT NULL DEFAULT 0, "
        "INVENTARY DOUBLE PRECISION NOT NULL DEFAULT 0, "
        "MAX_VALUE DOUBLE PRECISION NOT NULL DEFAULT 0");
    const QString readBackColumns = articleColumns
        + QStringLiteral(", TOTAL DOUBLE PRECISION NOT NULL DEFAULT 0, "
                         "QTY DOUBLE PRECISION NOT NULL DEFAULT 0");
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS ZIB_PLU (BAR_CODE %1 NOT NULL PRIMARY KEY, %2)")
            .arg(codeType, articleColumns),
        QStringLiteral("CREATE TABLE IF NOT EXISTS ZIB_PLU_RCV (BAR_CODE %1 NOT NULL, %2)")
            .arg(codeType, readBackColumns),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ZIB_PLU_RCV_CODE ON ZIB_PLU_RCV (BAR_CODE)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS ZIB_PLU_RCV_SOLD (BAR_CODE %1 NOT NULL, %2)")
            .arg(codeType, readBackColumns),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ZIB_PLU_RCV_SOLD_CODE ON ZIB_PLU_RCV_SOLD (BAR_CODE)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS PORT (Port INTEGER NOT NULL, Zib VARCHAR(255), "
                       "tone VARCHAR(255), phonenm VARCHAR(255))"),
    };
}

// ---- values in and out ----

// Register bytes as database text. Refused: NUL, the byte values the code page leaves
// undefined (they would not come back), and texts longer than the column.
QString textIn(const QByteArray &bytes, qsizetype maxLength, const char *column)
{
    if (bytes.size() > maxLength)
        refused(QStringLiteral("%1 is longer than %2 characters: '%3'")
                    .arg(QLatin1String(column)).arg(maxLength).arg(ansiToUnicode(bytes)));
    if (bytes.contains('\0'))
        refused(QStringLiteral("%1 holds a NUL character").arg(QLatin1String(column)));
    const QString text = ansiToUnicode(bytes);
    bool ok = false;
    if (unicodeToAnsi(text, &ok) != bytes || !ok)
        refused(QStringLiteral("%1 holds a character that cannot be stored: '%2'")
                    .arg(QLatin1String(column), text));
    return text;
}

QVariant numberIn(double value, const char *column)
{
    if (!std::isfinite(value))
        refused(QStringLiteral("%1 is not a number").arg(QLatin1String(column)));
    return value;
}

QByteArray textOut(const QVariant &value)
{
    // A character outside the code page (written by another program) reads as '?'.
    return value.isNull() ? QByteArray() : unicodeToAnsi(value.toString());
}

double numberOut(const QVariant &value, const char *column, const QByteArray &code)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        refused(QStringLiteral("%1 of article '%2' is not a number: '%3'")
                    .arg(QLatin1String(column), ansiToUnicode(code), value.toString()));
    return d;
}

int integerOut(const QVariant &value, const char *column, const QByteArray &code)
{
    const double d = numberOut(value, column, code);
    const double r = std::nearbyint(d);
    if (r < double(std::numeric_limits<int>::min()) || r > double(std::numeric_limits<int>::max()))
        refused(QStringLiteral("%1 of article '%2' is out of range: '%3'")
                    .arg(QLatin1String(column), ansiToUnicode(code), value.toString()));
    return int(r);
}

// Column lists: the article columns in the order the readers below expect.
const char kArticleSelect[] = "BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, "
                              "ONE_ITEM, DEPARTMENT, INVENTARY, MAX_VALUE";
const char kReadBackSelect[] = "BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, "
                               "ONE_ITEM, DEPARTMENT, INVENTARY, MAX_VALUE, TOTAL, QTY";

void readArticle(const QSqlQuery &q, Article &a)
{
    a.barCode = textOut(q.value(0));
    a.description = textOut(q.value(1));
    a.price = numberOut(q.value(2), "PRICE", a.barCode);
    a.vatCode = integerOut(q.value(3), "VAT_CODE", a.barCode);
    a.mesType = integerOut(q.value(4), "MES_TYPE", a.barCode);
    a.artType = integerOut(q.value(5), "ART_TYPE", a.barCode);
    a.oneItem = numberOut(q.value(6), "ONE_ITEM", a.barCode) != 0;
    a.department = integerOut(q.value(7), "DEPARTMENT", a.barCode);
    a.inventary = numberOut(q.value(8), "INVENTARY", a.barCode);
    a.maxValue = numberOut(q.value(9), "MAX_VALUE", a.barCode);
}

Article articleFrom(const QSqlQuery &q)
{
    Article a;
    readArticle(q, a);
    return a;
}

ReadBackArticle readBackFrom(const QSqlQuery &q)
{
    ReadBackArticle a;
    readArticle(q, a);
    a.total = numberOut(q.value(10), "TOTAL", a.barCode);
    a.qty = numberOut(q.value(11), "QTY", a.barCode);
    return a;
}

QString readBackInsertText(ReadBackList list)
{
    return QStringLiteral("INSERT INTO %1 (DESCRIPTION, MES_TYPE, ART_TYPE, PRICE, MAX_VALUE, "
                          "VAT_CODE, ONE_ITEM, DEPARTMENT, BAR_CODE, TOTAL, QTY, INVENTARY) "
                          "VALUES (?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?, ?)")
        .arg(ArticleStore::tableName(list));
}

QVariantList readBackValues(const ReadBackArticle &a)
{
    return {textIn(a.description, kMaxDescriptionLength, "DESCRIPTION"),
            a.mesType,
            a.artType,
            numberIn(a.price, "PRICE"),
            a.vatCode,
            a.oneItem ? 1 : 0,
            a.department,
            textIn(a.barCode, kMaxBarCodeLength, "BAR_CODE"),
            numberIn(a.total, "TOTAL"),
            numberIn(a.qty, "QTY"),
            numberIn(a.inventary, "INVENTARY")};
}

} // namespace

// ---- connection string ----

ConnectionParams ConnectionParams::parse(const QString &connectionString)
{
    ConnectionParams params;
    const QString text = connectionString;
    if (text.trimmed().isEmpty())
        unavailable(QStringLiteral("The database connection string is empty."));

    auto bad = [&]() {
        unavailable(QStringLiteral("The database connection string cannot be read: '%1'")
                        .arg(text));
    };
    bool sawDriver = false;
    qsizetype i = 0;
    while (i < text.size()) {
        // key up to '='
        const qsizetype eq = text.indexOf(QLatin1Char('='), i);
        const qsizetype semi = text.indexOf(QLatin1Char(';'), i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            // an empty piece between separators is allowed, anything else is not
            const QString piece = text.mid(i, (semi < 0 ? text.size() : semi) - i);
            if (!piece.trimmed().isEmpty())
                bad();
            i = semi < 0 ? text.size() : semi + 1;
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        if (key.isEmpty())
            bad();
        qsizetype j = eq + 1;
        while (j < text.size() && text[j] == QLatin1Char(' '))
            ++j;
        QString value;
        if (j < text.size() && text[j] == QLatin1Char('{')) {
            ++j;
            bool closed = false;
            while (j < text.size()) {
                if (text[j] == QLatin1Char('}')) {
                    if (j + 1 < text.size() && text[j + 1] == QLatin1Char('}')) {
                        value += QLatin1Char('}');
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                value += text[j++];
            }
            if (!closed)
                bad();
            while (j < text.size() && text[j] == QLatin1Char(' '))
                ++j;
            if (j < text.size() && text[j] != QLatin1Char(';'))
                bad();
        } else {
            const qsizetype end = text.indexOf(QLatin1Char(';'), j);
            value = text.mid(j, (end < 0 ? text.size() : end) - j).trimmed();
            j = end < 0 ? text.size() : end;
        }
        i = j + 1;

        if (key == QLatin1String("driver")) {
            params.driver = value.trimmed().toUpper();
            sawDriver = true;
        } else if (key == QLatin1String("database") || key == QLatin1String("dbname")
                   || key == QLatin1String("data source")) {
            params.database = value;
        } else if (key == QLatin1String("host") || key == QLatin1String("server")) {
            params.host = value;
        } else if (key == QLatin1String("port")) {
            bool ok = false;
            params.port = value.toInt(&ok);
            if (!ok || params.port < 1 || params.port > 65535)
                bad();
        } else if (key == QLatin1String("user") || key == QLatin1String("uid")
                   || key == QLatin1String("user id")) {
            params.user = value;
        } else if (key == QLatin1String("password") || key == QLatin1String("pwd")) {
            params.password = value;
        } else if (key == QLatin1String("options")) {
            params.options = value;
        }
        // other keys (left over from another engine's string) are ignored
    }
    if (!sawDriver || params.driver.isEmpty())
        unavailable(QStringLiteral("The database connection string names no driver: '%1'").arg(text));
    if (params.driver != QLatin1String("QSQLITE") && params.driver != QLatin1String("QPSQL"))
        unavailable(QStringLiteral("Database driver %1 is not supported (QSQLITE or QPSQL).")
                        .arg(params.driver));
    if (params.database.trimmed().isEmpty())
        unavailable(QStringLiteral("The database connection string names no database: '%1'").arg(text));
    return params;
}

// ---- one connection ----

class StoreSession {
public:
    explicit StoreSession(const QString &connectionString)
    {
        static std::atomic<quint64> counter{0};
        name_ = QStringLiteral("kalvo-articles-%1").arg(++counter);
        try {
            open(ConnectionParams::parse(connectionString));
        } catch (...) {
            release();
            throw;
        }
    }

    ~StoreSession()
    {
        if (inTransaction_)
            db_.rollback();
        release();
    }

    StoreSession(const StoreSession &) = delete;
    StoreSession &operator=(const StoreSession &) = delete;

    QSqlQuery prepare(const QString &sql)
    {
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            refused(errorText(q.lastError()));
        return q;
    }

    static void execute(QSqlQuery &q, const QVariantList &values)
    {
        for (qsizetype k = 0; k < values.size(); ++k)
            q.bindValue(int(k), values[k]);
        if (!q.exec())
            refused(errorText(q.lastError()));
    }

    QSqlQuery run(const QString &sql, const QVariantList &values = {})
    {
        if (!values.isEmpty()) {
            QSqlQuery q = prepare(sql);
            execute(q, values);
            return q;
        }
        // without values, directly: some engines cannot prepare every statement (DDL)
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.exec(sql))
            refused(errorText(q.lastError()));
        return q;
    }

    void begin()
    {
        if (!db_.transaction())
            refused(errorText(db_.lastError()));
        inTransaction_ = true;
    }

    void commit()
    {
        if (!db_.commit())
            refused(errorText(db_.lastError()));
        inTransaction_ = false;
    }

private:
    void open(const ConnectionParams &params)
    {
        if (!QSqlDatabase::isDriverAvailable(params.driver))
            unavailable(QStringLiteral("Database driver %1 is not installed.").arg(params.driver));
        db_ = QSqlDatabase::addDatabase(params.driver, name_);
        added_ = true;
        db_.setDatabaseName(params.database);
        QString key;
        bool fresh = false;
        if (params.driver == QLatin1String("QSQLITE")) {
            const QFileInfo file(params.database);
            fresh = !file.exists();
            key = QStringLiteral("QSQLITE:") + file.absoluteFilePath();
            db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        } else {
            if (!params.host.isEmpty())
                db_.setHostName(params.host);
            if (params.port > 0)
                db_.setPort(params.port);
            db_.setUserName(params.user);
            db_.setPassword(params.password);
            QString options = params.options;
            if (!options.contains(QLatin1String("connect_timeout"), Qt::CaseInsensitive))
                options += (options.isEmpty() ? QString() : QStringLiteral(";"))
                    + QStringLiteral("connect_timeout=5");
            db_.setConnectOptions(options);
            key = QStringLiteral("QPSQL:%1:%2:%3:%4")
                      .arg(params.host).arg(params.port).arg(params.database, params.user);
        }
        if (!db_.open())
            unavailable(errorText(db_.lastError()));

        // Until the tables are known to exist, every failure means "no usable database".
        try {
            if (params.driver == QLatin1String("QSQLITE")) {
                // The first statement reads the file: a file that is not a database fails here.
                run(QStringLiteral("PRAGMA journal_mode=WAL"));
                run(QStringLiteral("PRAGMA synchronous=NORMAL"));
            }
            QMutexLocker lock(&schemaMutex);
            if (fresh || !schemaReady.contains(key)) {
                for (const QString &sql : schemaStatements(params.driver))
                    run(sql);
                schemaReady.insert(key);
            }
        } catch (const AppError &e) {
            unavailable(e.description);
        }
    }

    void release()
    {
        if (db_.isOpen())
            db_.close();
        db_ = QSqlDatabase();
        if (added_)
            QSqlDatabase::removeDatabase(name_);
        added_ = false;
    }

    QString name_;
    QSqlDatabase db_;
    bool added_ = false;
    bool inTransaction_ = false;
};

// ---- the store ----

ArticleStore::ArticleStore(QString connectionString)
    : connectionString_(std::move(connectionString))
{
}

QString ArticleStore::tableName(ReadBackList list)
{
    return list == ReadBackList::Articles ? QStringLiteral("ZIB_PLU_RCV")
                                          : QStringLiteral("ZIB_PLU_RCV_SOLD");
}

QList<Article> ArticleStore::sendList() const
{
    StoreSession s(connectionString_);
    QSqlQuery q = s.run(QStringLiteral("SELECT %1 FROM ZIB_PLU ORDER BY BAR_CODE")
                            .arg(QLatin1String(kArticleSelect)));
    QList<Article> rows;
    while (q.next())
        rows.append(articleFrom(q));
    return rows;
}

QList<Article> ArticleStore::listArticles() const
{
    QList<Article> rows = sendList();
    rows.removeIf([](const Article &a) { return !IsListedCode(a.barCode); });
    return rows;
}

std::optional<Article> ArticleStore::fetchArticle(const QByteArray &barCode) const
{
    StoreSession s(connectionString_);
    QSqlQuery q = s.run(QStringLiteral("SELECT %1 FROM ZIB_PLU WHERE BAR_CODE = ?")
                            .arg(QLatin1String(kArticleSelect)),
                        {ansiToUnicode(barCode)});
    if (!q.next())
        return std::nullopt;
    return articleFrom(q);
}

bool ArticleStore::articleExists(const QByteArray &barCode) const
{
    StoreSession s(connectionString_);
    QSqlQuery q = s.run(QStringLiteral("SELECT BAR_CODE FROM ZIB_PLU WHERE BAR_CODE = ?"),
                        {ansiToUnicode(barCode)});
    return q.next();
}

bool ArticleStore::insertArticle(const Article &a) const
{
    const QVariantList values{textIn(a.description, kMaxDescriptionLength, "DESCRIPTION"),
                              numberIn(a.price, "PRICE"),
                              a.vatCode,
                              a.mesType,
                              a.artType,
                              a.oneItem ? 1 : 0,
                              a.department,
                              numberIn(a.inventary, "INVENTARY"),
                              textIn(a.barCode, kMaxBarCodeLength, "BAR_CODE")};
    StoreSession s(connectionString_);
    // The existence test and the insert in one statement.
    QSqlQuery q = s.run(QStringLiteral(
                            "INSERT INTO ZIB_PLU (DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, "
                            "ONE_ITEM, DEPARTMENT, INVENTARY, BAR_CODE, MAX_VALUE) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 0) ON CONFLICT (BAR_CODE) DO NOTHING"),
                        values);
    return q.numRowsAffected() > 0;
}

bool ArticleStore::updateArticle(const QByteArray &oldCode, const Article &a) const
{
    const QVariantList values{textIn(a.description, kMaxDescriptionLength, "DESCRIPTION"),
                              numberIn(a.price, "PRICE"),
                              numberIn(a.inventary, "INVENTARY"),
                              a.vatCode,
                              a.oneItem ? 1 : 0,
                              a.department,
                              a.mesType,
                              a.artType,
                              textIn(a.barCode, kMaxBarCodeLength, "BAR_CODE"),
                              ansiToUnicode(oldCode)};
    StoreSession s(connectionString_);
    QSqlQuery q = s.run(QStringLiteral(
                            "UPDATE ZIB_PLU SET DESCRIPTION = ?, PRICE = ?, INVENTARY = ?, MAX_VALUE = 0, "
                            "VAT_CODE = ?, ONE_ITEM = ?, DEPARTMENT = ?, MES_TYPE = ?, ART_TYPE = ?, "
                            "BAR_CODE = ? WHERE BAR_CODE = ?"),
                        values);
    return q.numRowsAffected() > 0;
}

bool ArticleStore::deleteArticle(const QByteArray &barCode) const
{
    StoreSession s(connectionString_);
    QSqlQuery q = s.run(QStringLiteral("DELETE FROM ZIB_PLU WHERE BAR_CODE = ?"),
                        {ansiToUnicode(barCode)});
    return q.numRowsAffected() > 0;
}

ArticleCheck ArticleStore::validateArticle(const ArticleForm &form, double maxPrice,
                                           const std::optional<QByteArray> &originalCode) const
{
    ArticleCheck check = CheckArticleFields(form, maxPrice);
    if (!check.ok)
        return check;
    const QByteArray &code = check.article.barCode;
    const bool ownCode = originalCode && *originalCode == code;
    if (!ownCode && articleExists(code)) {
        ArticleCheck taken;
        taken.message = QString::fromLatin1(articlemsg::kCodeExists);
        taken.field = ArticleCheck::Field::Code;
        return taken;
    }
    return check;
}

void ArticleStore::clearReadBack(ReadBackList list) const
{
    StoreSession s(connectionString_);
    s.run(QStringLiteral("DELETE FROM %1").arg(tableName(list)));
}

void ArticleStore::clearReadBackLists() const
{
    StoreSession s(connectionString_);
    s.begin();
    s.run(QStringLiteral("DELETE FROM ZIB_PLU_RCV"));
    s.run(QStringLiteral("DELETE FROM ZIB_PLU_RCV_SOLD"));
    s.commit();
}

void ArticleStore::insertReadBack(ReadBackList list, const ReadBackArticle &article) const
{
    const QVariantList values = readBackValues(article);
    StoreSession s(connectionString_);
    s.run(readBackInsertText(list), values);
}

QList<ReadBackArticle> ArticleStore::readBackList(ReadBackList list, Rows rows) const
{
    StoreSession s(connectionString_);
    QSqlQuery q = s.run(QStringLiteral("SELECT %1 FROM %2 ORDER BY BAR_CODE")
                            .arg(QLatin1String(kReadBackSelect), tableName(list)));
    QList<ReadBackArticle> out;
    while (q.next()) {
        ReadBackArticle a = readBackFrom(q);
        if (rows == Rows::All || IsListedCode(a.barCode))
            out.append(std::move(a));
    }
    return out;
}

std::optional<ReadBackArticle> ArticleStore::fetchReadBack(ReadBackList list,
                                                          const QByteArray &barCode) const
{
    StoreSession s(connectionString_);
    QSqlQuery q = s.run(QStringLiteral("SELECT %1 FROM %2 WHERE BAR_CODE = ?")
                            .arg(QLatin1String(kReadBackSelect), tableName(list)),
                        {ansiToUnicode(barCode)});
    if (!q.next())
        return std::nullopt;
    return readBackFrom(q);
}

int ArticleStore::transferToArticles(ReadBackList list) const
{
    StoreSession s(connectionString_);
    s.begin();
    s.run(QStringLiteral("DELETE FROM ZIB_PLU"));
    QSqlQuery q = s.run(QStringLiteral(
                            "INSERT INTO ZIB_PLU (DESCRIPTION, PRICE, VAT_CODE, ONE_ITEM, DEPARTMENT, "
                            "MES_TYPE, ART_TYPE, BAR_CODE, INVENTARY) "
                            "SELECT DESCRIPTION, PRICE, VAT_CODE, ONE_ITEM, DEPARTMENT, MES_TYPE, "
                            "ART_TYPE, BAR_CODE, INVENTARY FROM %1")
                            .arg(tableName(list)));
    const int copied = q.numRowsAffected();
    q.finish();
    s.commit();
    return copied;
}

std::optional<PortSettings> ArticleStore::loadPort() const
{
    StoreSession s(connectionString_);
    QSqlQuery q = s.run(QStringLiteral("SELECT Port, Zib, tone, phonenm FROM PORT"));
    if (!q.next())
        return std::nullopt;
    PortSettings p;
    bool ok = false;
    const QVariant port = q.value(0);
    p.port = port.toInt(&ok);
    if (!ok)
        refused(QStringLiteral("PORT holds no port number: '%1'").arg(port.toString()));
    const QString zib = q.value(1).toString().trimmed();
    p.baudRate = zib.toInt(&ok);
    if (!ok)
        refused(QStringLiteral("PORT holds no line speed: '%1'").arg(zib));
    p.dialMode = textOut(q.value(2));
    p.phoneNumber = textOut(q.value(3));
    return p;
}

void ArticleStore::savePort(const PortSettings &p) const
{
    const QVariantList values{p.port, QString::number(p.baudRate),
                              textIn(p.dialMode, 255, "tone"),
                              textIn(p.phoneNumber, 255, "phonenm")};
    StoreSession s(connectionString_);
    s.begin();
    s.run(QStringLiteral("DELETE FROM PORT"));
    s.run(QStringLiteral("INSERT INTO PORT (Port, Zib, tone, phonenm) VALUES (?, ?, ?, ?)"), values);
    s.commit();
}

// ---- the writer of a read-back list ----

struct ReadBackWriter::Impl {
    // declared in this order so that the statement goes before its connection
    StoreSession session;
    ReadBackList list;
    QSqlQuery insert;

    Impl(const QString &connectionString, ReadBackList l)
        : session(connectionString), list(l), insert(session.prepare(readBackInsertText(l)))
    {
    }
};

ReadBackWriter::ReadBackWriter(const ArticleStore &store, ReadBackList list)
    : d_(std::make_unique<Impl>(store.connectionString(), list))
{
}

ReadBackWriter::~ReadBackWriter() = default;

void ReadBackWriter::clear()
{
    d_->session.run(QStringLiteral("DELETE FROM %1").arg(ArticleStore::tableName(d_->list)));
}

void ReadBackWriter::add(const ReadBackArticle &article)
{
    StoreSession::execute(d_->insert, readBackValues(article));
    ++added_;
}

} // namespace kalvo
