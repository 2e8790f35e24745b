#pragma once
// JSON forms of the programming tables and article rows. Register text (bytes in the
// Windows-1250 code page) becomes Unicode; numbers held as text stay text, exactly as held.
#include "data/Article.h"
#include "data/ProgrammingData.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>

namespace kalvo::cli {

QJsonArray headerLinesJson(const ProgrammingData &data);
QJsonArray advertLinesJson(const ProgrammingData &data);
QJsonArray departmentsJson(const ProgrammingData &data);  // elements 1..10
QJsonArray operatorsJson(const ProgrammingData &data);    // elements 1..31
QJsonArray vatRatesJson(const ProgrammingData &data);     // elements 0..8
QJsonArray currenciesJson(const ProgrammingData &data);   // elements 1..4
QJsonArray unitsJson(const ProgrammingData &data);        // elements 1..5
QJsonArray articleTypesJson(const ProgrammingData &data); // elements 1..8
QJsonObject registerSettingsJson(const RegisterSettings &settings);
QJsonObject linkSettingsJson(const LinkSettings &settings);

// Every table of the programming file, under the member names of ProgrammingData.
QJsonObject programmingDataJson(const ProgrammingData &data);

// One ZIB_PLU row, keys as the column names.
QJsonObject articleJson(const Article &article);
// One read-back row (ZIB_PLU_RCV / ZIB_PLU_RCV_SOLD), with TOTAL and QTY.
QJsonObject readBackJson(const ReadBackArticle &article);
QJsonArray articlesJson(const QList<Article> &articles);
QJsonArray readBackJson(const QList<ReadBackArticle> &articles);

// Writes the document to stdout, indented, UTF-8.
void printJson(const QJsonObject &object);
void printJson(const QJsonArray &array);

} // namespace kalvo::cli
