#pragma once
// The content of the sales views, apart from their windows: the list lines of the article
// lists read back from the register and of the department, cashier and VAT totals, the
// number texts they show, the code search of the article lists and the first free code.
// Texts of register names stay bytes here; the windows convert them for display.
#include "data/Article.h"
#include "data/ProgrammingData.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <string>

namespace kalvo {

// Error code of a list line whose code is not a number (the search cannot compare it).
constexpr qint32 kErrTypeMismatch = 13;

// ---- number texts ----

// The decimal text of a number as the views show it: no leading blank, no trailing zeros,
// up to 15 significant digits (12.5, 0, 123.45, 1e+15).
QString SalesNumberText(double value);

// ---- article lists (received and sold) ----

// lstplu line: the code padded on the left with blanks to 12, two blanks, the name padded
// on the right with blanks to 12 (a longer name stays whole).
QByteArray ArticleSalesLine(const QByteArray &barCode, const QByteArray &description);

// The typed search code. Refusals, in this order: empty after trimming (kEnterCode), not
// made of digits only (kCodeNotNumeric), longer than 12 characters (kCodeTooLong).
struct SearchCode {
    QString message;          // the refusal, empty when the code is usable
    double value = 0;         // numeric value of the code when usable
    bool ok() const { return message.isEmpty(); }
};
SearchCode CheckSearchCode(const QString &typed);

// Numeric value of a list line's code (its first 12 characters, trimmed). Throws
// AppError(kErrTypeMismatch) when it is not a number.
double ListCodeValue(const QByteArray &barCode);

// The halving search over codes in ascending order. lo = 0, hi = last index, mid = hi / 2
// rounded to the nearest index (halves to even); each step examines mid: below the target
// moves lo to mid and mid to (mid + hi) / 2, above moves hi to mid and mid to (mid + lo) / 2;
// equal is a hit. The search gives up when lo meets hi, and after 1000 steps settles on hi.
// `selected` is the line examined last (hi after 1000 steps), -1 for an empty list.
struct SearchResult {
    int selected = -1;
    bool found = false;
    int steps = 0;
};
SearchResult FindArticleCode(const QList<QByteArray> &codes, double target);

// The first free code: walking the codes in ascending order with n from 1, each code whose
// numeric value is n moves n on by one (codes 1, 2, 3, 5 give 4).
qint64 FirstFreeCode(const QList<QByteArray> &codesInOrder);

// ---- department, cashier and VAT totals ----

// Line of an entry: its number padded on the left with a blank to 2, two blanks, the name
// padded on the right with blanks to 12 (a longer name stays whole).
std::string SalesEntryLine(int number, const std::string &name);

struct DepartmentSalesRow {
    std::string line;   // number and name (register bytes)
    QString quantity;   // salesQuantity / 1000
    QString amount;     // salesAmount / 100
};
// Departments 1..10. With the register in Cyrillic the names are taken back from their
// 8-bit Cyrillic form first.
QList<DepartmentSalesRow> DepartmentSales(const ProgrammingData &data);

struct OperatorSalesRow {
    std::string line;   // number and name (register bytes)
    QString code;       // access code, trimmed
    QString receipts;   // receiptCount
    QString amount;     // salesAmount, as held
};
// Cashiers 1..31.
QList<OperatorSalesRow> OperatorSales(const ProgrammingData &data);

struct VatSalesRow {
    QString number;     // the rate number
    QString percent;    // rate / 100 followed by "%"
    QString amount;     // salesAmount, as held
    double value = 0;   // its numeric value (the chart's bar)
};
struct VatSales {
    std::array<VatSalesRow, ProgrammingData::kVatRateCount> rows;  // rates 0..8
    double total = 0;
    QString totalText;
};
VatSales VatRateSales(const ProgrammingData &data);

} // namespace kalvo
