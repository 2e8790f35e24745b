#include "sales/SalesViews.h"

#include "data/RegisterText.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"

#include <cmath>

namespace kalvo {

namespace {

constexpr int kCodeWidth = 12;
constexpr int kNameWidth = 12;
constexpr int kMaxSearchSteps = 1000;

// Half of a non-negative sum of two indexes, rounded to the nearest whole index with
// halves going to the even one.
int halfToEven(int sum)
{
    const int down = sum / 2;
    if (sum % 2 == 0)
        return down;
    return down % 2 == 0 ? down : down + 1;
}

double numberOf(const std::string &text)
{
    return LeadingNumber(QByteArray::fromStdString(text));
}

std::string padRight(const std::string &text, std::size_t width)
{
    std::string out = text;
    if (out.size() < width)
        out.append(width - out.size(), ' ');
    return out;
}

} // namespace

QString SalesNumberText(double value)
{
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    return QString::number(value, 'g', 15);
}

QByteArray ArticleSalesLine(const QByteArray &barCode, const QByteArray &description)
{
    QByteArray line = barCode.rightJustified(kCodeWidth, ' ');
    line += "  ";
    line += description.leftJustified(kNameWidth, ' ');
    return line;
}

SearchCode CheckSearchCode(const QString &typed)
{
    SearchCode result;
    const QString code = typed.trimmed();
    if (code.isEmpty()) {
        result.message = QString::fromLatin1(articlemsg::kEnterCode);
        return result;
    }
    for (QChar c : code) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            result.message = QString::fromLatin1(articlemsg::kCodeNotNumeric);
            return result;
        }
    }
    if (code.size() > kMaxBarCodeLength) {
        result.message = QString::fromLatin1(articlemsg::kCodeTooLong);
        return result;
    }
    result.value = code.toDouble();
    return result;
}

double ListCodeValue(const QByteArray &barCode)
{
    const QByteArray text = barCode.rightJustified(kCodeWidth, ' ').left(kCodeWidth).trimmed();
    qsizetype i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    bool digits = i < text.size();
    for (qsizetype j = i; j < text.size(); ++j)
        digits = digits && text[j] >= '0' && text[j] <= '9';
    if (!digits)
        throw AppError(kErrTypeMismatch, QStringLiteral("Type mismatch: article code \"%1\" is not a number")
                                             .arg(QString::fromLatin1(text)));
    return text.toDouble();
}

SearchResult FindArticleCode(const QList<QByteArray> &codes, double target)
{
    SearchResult r;
    if (codes.isEmpty())
        return r;
    int lo = 0;
    int hi = int(codes.size()) - 1;
    int mid = halfToEven(hi);
    for (;;) {
        ++r.steps;
        r.selected = mid;
        const double v = ListCodeValue(codes[mid]);
        if (v == target) {
            r.found = true;
            return r;
        }
        if (v < target) {
            lo = mid;
            mid = halfToEven(mid + hi);
        } else {
            hi = mid;
            mid = halfToEven(mid + lo);
        }
        if (lo == hi)
            return r;
        if (r.steps >= kMaxSearchSteps) {
            r.selected = hi;
            r.found = ListCodeValue(codes[hi]) == target;
            return r;
        }
    }
}

qint64 FirstFreeCode(const QList<QByteArray> &codesInOrder)
{
    qint64 n = 1;
    for (const QByteArray &code : codesInOrder) {
        if (LeadingNumber(code) == double(n))
            ++n;
    }
    return n;
}

std::string SalesEntryLine(int number, const std::string &name)
{
    std::string line = std::to_string(number);
    if (line.size() < 2)
        line.insert(0, 2 - line.size(), ' ');
    line += "  ";
    line += padRight(name, kNameWidth);
    return line;
}

QList<DepartmentSalesRow> DepartmentSales(const ProgrammingData &data)
{
    QList<DepartmentSalesRow> rows;
    for (int d = 1; d <= ProgrammingData::kDepartmentCount; ++d) {
        const DepartmentRecord &dep = data.Departments[std::size_t(d)];
        const std::string name = data.LinkSettings.DisplayCyrillic ? From8859(dep.name) : dep.name;
        rows.append({SalesEntryLine(d, name), SalesNumberText(numberOf(dep.salesQuantity) / 1000),
                     SalesNumberText(numberOf(dep.salesAmount) / 100)});
    }
    return rows;
}

QList<OperatorSalesRow> OperatorSales(const ProgrammingData &data)
{
    QList<OperatorSalesRow> rows;
    for (int o = 1; o <= ProgrammingData::kOperatorCount; ++o) {
        const OperatorRecord &op = data.Operators[std::size_t(o)];
        rows.append({SalesEntryLine(o, op.name), QString::fromLatin1(QByteArray::fromStdString(op.code).trimmed()),
                     SalesNumberText(numberOf(op.receiptCount)), SalesNumberText(numberOf(op.salesAmount))});
    }
    return rows;
}

VatSales VatRateSales(const ProgrammingData &data)
{
    VatSales sales;
    for (int r = 0; r < ProgrammingData::kVatRateCount; ++r) {
        const VatRateRecord &rate = data.VatRates[std::size_t(r)];
        VatSalesRow &row = sales.rows[std::size_t(r)];
        row.number = QString::number(r);
        row.percent = SalesNumberText(numberOf(rate.rate) / 100) + QLatin1Char('%');
        row.value = numberOf(rate.salesAmount);
        row.amount = SalesNumberText(row.value);
        sales.total += row.value;
    }
    sales.totalText = SalesNumberText(sales.total);
    return sales;
}

} // namespace kalvo
