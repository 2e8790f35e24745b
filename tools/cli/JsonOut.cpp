#include "JsonOut.h"

#include "data/Codec.h"

#include <QJsonDocument>

#include <cstdio>
#include <string>

namespace kalvo::cli {

namespace {

QJsonValue text(const std::string &bytes)
{
    return ansiToUnicode(QByteArray::fromStdString(bytes));
}

QJsonValue text(const QByteArray &bytes)
{
    return ansiToUnicode(bytes);
}

template <typename Table, typename Row>
QJsonArray rows(const Table &table, int first, int last, Row row)
{
    QJsonArray out;
    for (int k = first; k <= last; ++k) {
        QJsonObject o{{QStringLiteral("number"), k}};
        row(o, table[std::size_t(k)]);
        out.append(o);
    }
    return out;
}

template <std::size_t N>
QJsonArray lines(const std::array<std::string, N> &table)
{
    QJsonArray out;
    for (int r = 0; r < ProgrammingData::kLinesUsed; ++r)
        out.append(text(table[std::size_t(r)]));
    return out;
}

void print(const QJsonDocument &document)
{
    const QByteArray bytes = document.toJson(QJsonDocument::Indented);
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

QJsonArray headerLinesJson(const ProgrammingData &data) { return lines(data.HeaderLines); }
QJsonArray advertLinesJson(const ProgrammingData &data) { return lines(data.AdvertLines); }

QJsonArray departmentsJson(const ProgrammingData &data)
{
    return rows(data.Departments, 1, ProgrammingData::kDepartmentCount, [](QJsonObject &o, const DepartmentRecord &d) {
        o.insert(QStringLiteral("name"), text(d.name));
        o.insert(QStringLiteral("maxPrice"), text(d.maxPrice));
        o.insert(QStringLiteral("vatGroup"), text(d.vatGroup));
        o.insert(QStringLiteral("singleItem"), text(d.singleItem));
        o.insert(QStringLiteral("salesAmount"), text(d.salesAmount));
        o.insert(QStringLiteral("salesQuantity"), text(d.salesQuantity));
    });
}

QJsonArray operatorsJson(const ProgrammingData &data)
{
    return rows(data.Operators, 1, ProgrammingData::kOperatorCount, [](QJsonObject &o, const OperatorRecord &op) {
        o.insert(QStringLiteral("code"), text(op.code));
        o.insert(QStringLiteral("name"), text(op.name));
        o.insert(QStringLiteral("salesAmount"), text(op.salesAmount));
        o.insert(QStringLiteral("receiptCount"), text(op.receiptCount));
    });
}

QJsonArray vatRatesJson(const ProgrammingData &data)
{
    return rows(data.VatRates, 0, ProgrammingData::kVatRateCount - 1, [](QJsonObject &o, const VatRateRecord &v) {
        o.insert(QStringLiteral("rate"), text(v.rate));
        o.insert(QStringLiteral("salesAmount"), text(v.salesAmount));
    });
}

QJsonArray currenciesJson(const ProgrammingData &data)
{
    return rows(data.Currencies, 1, ProgrammingData::kCurrencyCount, [](QJsonObject &o, const CurrencyRecord &c) {
        o.insert(QStringLiteral("name"), text(c.name));
        o.insert(QStringLiteral("rate"), text(c.rate));
    });
}

QJsonArray unitsJson(const ProgrammingData &data)
{
    return rows(data.Units, 1, ProgrammingData::kUnitCount, [](QJsonObject &o, const UnitRecord &u) {
        o.insert(QStringLiteral("name"), text(u.name));
        o.insert(QStringLiteral("shortName"), text(u.shortName));
    });
}

QJsonArray articleTypesJson(const ProgrammingData &data)
{
    return rows(data.ArticleTypes, 1, ProgrammingData::kArticleTypeCount, [](QJsonObject &o, const ArticleTypeRecord &t) {
        o.insert(QStringLiteral("name"), text(t.name));
        o.insert(QStringLiteral("shortName"), text(t.shortName));
    });
}

QJsonObject registerSettingsJson(const RegisterSettings &s)
{
    return {
        {QStringLiteral("registerNumber"), text(s.registerNumber.str())},
        {QStringLiteral("printIntensity"), text(s.printIntensity.str())},
        {QStringLiteral("speedIndex"), text(s.speedIndex.str())},
        {QStringLiteral("logo1Enabled"), text(s.logo1Enabled.str())},
        {QStringLiteral("logo1Number"), text(s.logo1Number.str())},
        {QStringLiteral("logo2Enabled"), text(s.logo2Enabled.str())},
        {QStringLiteral("logo2Number"), text(s.logo2Number.str())},
        {QStringLiteral("cashierLoginRequired"), text(s.cashierLoginRequired.str())},
        {QStringLiteral("toneSignal"), text(s.toneSignal.str())},
        {QStringLiteral("testMenu"), text(s.testMenu.str())},
    };
}

QJsonObject linkSettingsJson(const LinkSettings &s)
{
    return {
        {QStringLiteral("port"), s.port},
        {QStringLiteral("baudRate"), s.baudRate},
        {QStringLiteral("DisplayCyrillic"), s.DisplayCyrillic},
        {QStringLiteral("lineWidth"), s.lineWidth},
        {QStringLiteral("phoneNumber"), text(s.phoneNumber)},
        {QStringLiteral("dialMode"), text(s.dialMode)},
        {QStringLiteral("phonePassword"), text(s.phonePassword)},
    };
}

QJsonObject programmingDataJson(const ProgrammingData &data)
{
    return {
        {QStringLiteral("FileVersion"), text(data.FileVersion)},
        {QStringLiteral("HeaderLines"), headerLinesJson(data)},
        {QStringLiteral("AdvertLines"), advertLinesJson(data)},
        {QStringLiteral("Departments"), departmentsJson(data)},
        {QStringLiteral("Operators"), operatorsJson(data)},
        {QStringLiteral("VatRates"), vatRatesJson(data)},
        {QStringLiteral("RegisterSettings"), registerSettingsJson(data.RegisterSettings)},
        {QStringLiteral("Currencies"), currenciesJson(data)},
        {QStringLiteral("Units"), unitsJson(data)},
        {QStringLiteral("ArticleTypes"), articleTypesJson(data)},
        {QStringLiteral("LinkSettings"), linkSettingsJson(data.LinkSettings)},
    };
}

QJsonObject articleJson(const Article &a)
{
    return {
        {QStringLiteral("BAR_CODE"), text(a.barCode)},
        {QStringLiteral("DESCRIPTION"), text(a.description)},
        {QStringLiteral("PRICE"), a.price},
        {QStringLiteral("VAT_CODE"), a.vatCode},
        {QStringLiteral("MES_TYPE"), a.mesType},
        {QStringLiteral("ART_TYPE"), a.artType},
        {QStringLiteral("ONE_ITEM"), a.oneItem},
        {QStringLiteral("DEPARTMENT"), a.department},
        {QStringLiteral("INVENTARY"), a.inventary},
        {QStringLiteral("MAX_VALUE"), a.maxValue},
    };
}

QJsonObject readBackJson(const ReadBackArticle &a)
{
    QJsonObject o = articleJson(a);
    o.insert(QStringLiteral("TOTAL"), a.total);
    o.insert(QStringLiteral("QTY"), a.qty);
    return o;
}

QJsonArray articlesJson(const QList<Article> &articles)
{
    QJsonArray out;
    for (const Article &a : articles)
        out.append(articleJson(a));
    return out;
}

QJsonArray readBackJson(const QList<ReadBackArticle> &articles)
{
    QJsonArray out;
    for (const ReadBackArticle &a : articles)
        out.append(readBackJson(a));
    return out;
}

void printJson(const QJsonObject &object) { print(QJsonDocument(object)); }
void printJson(const QJsonArray &array) { print(QJsonDocument(array)); }

} // namespace kalvo::cli
