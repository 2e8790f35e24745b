#pragma once
// The article table as CSV: UTF-8, a header row with the columns of ZIB_PLU, one article a
// row, fields quoted as RFC 4180 does when they hold a comma, a quote or a line break.
#include "data/Article.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kalvo {
class ArticleStore;
}

namespace kalvo::cli {

// Columns in the order they are written. MAX_VALUE is written (always 0) and ignored on
// import; every other column is required.
const QStringList &articleCsvColumns();

// The CSV text of the articles (header row first, LF line ends).
QByteArray articlesToCsv(const QList<Article> &articles);

// One record of a CSV text.
struct CsvRecord {
    int line = 0;          // line of the text where the record starts (1 = the first)
    QStringList fields;
};

// Splits CSV text into records. Quoted fields may hold commas, doubled quotes and line
// breaks; CRLF and LF both end a record; a UTF-8 byte-order mark is skipped; empty lines
// are skipped. False with `error` (naming the line) for text that is not UTF-8 or an
// unterminated quote.
bool parseCsv(const QByteArray &text, QList<CsvRecord> &records, QString &error);

// A row that the import refused.
struct RefusedRow {
    int line = 0;
    QString column;   // the column at fault (empty for a fault of the whole row)
    QString message;  // the validation's own text, or a description of the fault
};

// The outcome of checking a CSV text against the article rules.
struct ArticleImport {
    QString error;               // a fault of the file as a whole (not CSV, bad header)
    QList<RefusedRow> refused;   // every refused row, in file order
    QList<Article> articles;     // the rows to store when nothing was refused, file order
    QList<bool> replaces;        // per article: true when it replaces a stored article
    bool ok() const { return error.isEmpty() && refused.isEmpty(); }
};

// Checks every row with the article editor's validation (ArticleStore::validateArticle
// with `maxPrice`): a row whose code is already stored is checked as a change of that
// article, any other as a new article; a code that an earlier row of the file already took
// is refused with the validation's "code exists" text. List positions must be whole
// numbers within the editor's lists (VAT_CODE 0..8, MES_TYPE 0..10, ART_TYPE 0..7,
// DEPARTMENT 0..9); ONE_ITEM is 0/1 or true/false. Nothing is stored here.
ArticleImport checkArticleCsv(const QByteArray &text, const ArticleStore &store, double maxPrice);

} // namespace kalvo::cli
