#pragma once
// The article database: the articles the workstation edits and sends (ZIB_PLU), the two
// lists read back from the register (ZIB_PLU_RCV, ZIB_PLU_RCV_SOLD) and the saved line
// settings (PORT). ArticleStore owns every statement issued against it.
//
// The connection string (Kalvo.ini [database] connectionstring) names a Qt SQL driver:
//   Driver=QSQLITE;Database=/path/kalvo.db
//   Driver=QPSQL;Host=...;Port=...;Database=...;User=...;Password=...[;Options=...]
// Keys match without regard to case; a value may be enclosed in braces ({a;b}, with "}}"
// for a closing brace) to hold ';'. The SQLite file and the four tables are created on first
// use (on PostgreSQL the tables, in an existing database).
//
// Every operation opens its own connection and closes it before it returns. A database
// that cannot be reached (missing or unparsable connection string, unknown driver, server
// down, a file that is not a database, a folder that cannot be written) throws
// AppError(kErrGenericFailure); a statement that the database refuses, or a value that
// cannot be stored or read, throws AppError(kErrDatabaseStatement) with the reason.
// An operation of several statements runs in one transaction: it happens whole or not at
// all. Texts are register bytes here and Windows-1250 decoded to UTF-8 in the database.
#include "data/Article.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kalvo {

// Error code of a statement the database refused ("errors in the command").
constexpr qint32 kErrDatabaseStatement = qint32(0x80040E14u);

// The two lists read back from the register.
enum class ReadBackList {
    Articles,       // ZIB_PLU_RCV: the register's article list
    SoldArticles,   // ZIB_PLU_RCV_SOLD: the articles sold
};

// The parts of a connection string. parse() throws AppError(kErrGenericFailure) when the
// text is empty, has no Driver, names a driver other than QSQLITE or QPSQL, lacks the
// database, or is not made of key=value pairs.
struct ConnectionParams {
    QString driver;      // "QSQLITE" or "QPSQL"
    QString database;    // file (SQLite) or database name (PostgreSQL)
    QString host;
    int port = -1;       // -1: the driver's default
    QString user;
    QString password;
    QString options;     // driver connect options, e.g. "sslmode=require"

    static ConnectionParams parse(const QString &connectionString);
};

class ArticleStore {
public:
    explicit ArticleStore(QString connectionString);

    const QString &connectionString() const { return connectionString_; }

    // The table of a read-back list.
    static QString tableName(ReadBackList list);

    // ---- ZIB_PLU (article editor, sending) ----

    // The editor's list: every article whose code has a numeric value other than 0, in
    // BAR_CODE order.
    QList<Article> listArticles() const;
    // Every article, in BAR_CODE order, as the send routines read them.
    QList<Article> sendList() const;
    // The article stored under exactly this code.
    std::optional<Article> fetchArticle(const QByteArray &barCode) const;
    bool articleExists(const QByteArray &barCode) const;
    // Stores a new article (MAX_VALUE 0). False, with nothing stored, when an article with
    // its code exists already.
    bool insertArticle(const Article &article) const;
    // Replaces the article stored under oldCode (its code may change; MAX_VALUE becomes 0).
    // False when no article has oldCode. Moving onto another article's code is refused by
    // the database (AppError).
    bool updateArticle(const QByteArray &oldCode, const Article &article) const;
    // False when no article has the code.
    bool deleteArticle(const QByteArray &barCode) const;

    // The article validation: the field checks of CheckArticleFields, then the existence
    // test: "Bar kod vec postoji ! " when the padded code belongs to a stored article —
    // for a new article (originalCode empty) whenever it exists, for a change only when it
    // is another article's code than originalCode (the code the article was loaded with).
    ArticleCheck validateArticle(const ArticleForm &form, double maxPrice,
                                 const std::optional<QByteArray> &originalCode) const;

    // ---- read-back lists (receiving, sales views) ----

    // Empties one list, or both (start of the program).
    void clearReadBack(ReadBackList list) const;
    void clearReadBackLists() const;
    // Adds one row (MAX_VALUE 0). For a whole list use ReadBackWriter, which keeps one
    // connection open.
    void insertReadBack(ReadBackList list, const ReadBackArticle &article) const;

    enum class Rows { Listed, All };
    // The list in BAR_CODE order: Listed leaves out codes whose numeric value is 0.
    QList<ReadBackArticle> readBackList(ReadBackList list, Rows rows = Rows::Listed) const;
    std::optional<ReadBackArticle> fetchReadBack(ReadBackList list, const QByteArray &barCode) const;

    // Replaces the whole article table by the rows of a read-back list (MAX_VALUE left to
    // its default 0). Returns the number of articles copied. When the copy fails (two rows
    // with one code, say) the article table is left as it was.
    int transferToArticles(ReadBackList list) const;

    // ---- PORT ----

    // The saved line settings, when a row exists.
    std::optional<PortSettings> loadPort() const;
    // Replaces the saved row: afterwards the table holds exactly this one row.
    void savePort(const PortSettings &settings) const;

private:
    QString connectionString_;
};

// Writes one read-back list over one connection, one statement per row, as the receiving
// routine gets the rows from the register. Each row is stored when add() returns: when
// the transfer breaks off, the rows before stay. The connection closes with the writer.
class ReadBackWriter {
public:
    ReadBackWriter(const ArticleStore &store, ReadBackList list);
    ~ReadBackWriter();
    ReadBackWriter(const ReadBackWriter &) = delete;
    ReadBackWriter &operator=(const ReadBackWriter &) = delete;

    // Empties the list's table.
    void clear();
    // Adds one row (MAX_VALUE 0).
    void add(const ReadBackArticle &article);
    // Rows added through this writer.
    int added() const { return added_; }

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    int added_ = 0;
};

} // namespace kalvo
