#include "editors/PluEditor.h"

#include "data/Codec.h"
#include "data/ProgrammingData.h"
#include "data/RegisterText.h"

#include <cmath>

namespace kalvo {

namespace {

// The numeric value of the leading digits of a text (at most 12, so no overflow).
qint64 leadingValue(QStringView text)
{
    const QStringView t = text.left(kPluCodeColumn).trimmed();
    qint64 value = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString shown(const std::string &registerText, bool cyrillicMode)
{
    return ansiToUnicode(QByteArray::fromStdString(ConvertRegisterText(registerText, !cyrillicMode)));
}

// Plain decimal text with exactly `decimals` places.
QString fixedDecimals(const QString &plain, int decimals)
{
    if (decimals == 0)
        return plain;
    QString out = plain;
    qsizetype point = out.indexOf(QLatin1Char('.'));
    if (point < 0) {
        out += QLatin1Char('.');
        point = out.size() - 1;
    }
    while (out.size() - point - 1 < decimals)
        out += QLatin1Char('0');
    return out;
}

QString formatNumberField(const QString &text, int decimals)
{
    const auto rounded = RoundDecimalText(text, decimals);
    return rounded ? fixedDecimals(*rounded, decimals) : text;
}

QString trimmedName(const std::string &name)
{
    return QString::fromStdString(name).trimmed();
}

} // namespace

QList<PluListRow> PluListRows(const QList<Article> &articles, bool cyrillicMode)
{
    QList<PluListRow> rows;
    rows.reserve(articles.size());
    for (const Article &a : articles) {
        if (!IsListedCode(a.barCode))
            continue;
        const QByteArray text = a.barCode.rightJustified(kPluCodeColumn, '0') + "   " +
                                a.description.leftJustified(kMaxDescriptionLength, ' ');
        PluListRow row;
        row.plu = shown(text.toStdString(), cyrillicMode);
        row.price = QLatin1Char(' ') + QString::number(a.price, 'f', 2);
        row.stock = RoundDecimalText(QString::number(a.inventary, 'f', 3), 3).value_or(QString());
        rows.append(row);
    }
    return rows;
}

QByteArray PluRowCode(const QString &rowText)
{
    return rowText.left(kPluCodeColumn).trimmed().toLatin1();
}

std::optional<QString> CheckPluSearchCode(const QString &typed)
{
    const QString code = typed.trimmed();
    if (code.isEmpty())
        return QString::fromLatin1(articlemsg::kEnterCode);
    for (QChar c : code)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QString::fromLatin1(articlemsg::kCodeNotNumeric);
    if (code.size() > kMaxBarCodeLength)
        return QString::fromLatin1(articlemsg::kCodeTooLong);
    return std::nullopt;
}

int FindPluRow(const QStringList &rows, const QString &typed)
{
    const qint64 wanted = leadingValue(typed.trimmed());
    // halving search over the code order
    qsizetype low = 0;
    qsizetype high = rows.size() - 1;
    while (low <= high) {
        const qsizetype probe = low + (high - low) / 2;
        const qint64 value = leadingValue(rows[probe]);
        if (value == wanted)
            return int(probe);
        if (value < wanted)
            low = probe + 1;
        else
            high = probe - 1;
    }
    // codes stored without their padding sort out of numeric order: look at every row
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (leadingValue(rows[i]) == wanted)
            return int(i);
    return -1;
}

QString FormatPriceField(const QString &text)
{
    return formatNumberField(text, 2);
}

QString FormatStockField(const QString &text, int mesType)
{
    return formatNumberField(text, mesType == 0 ? 0 : 3);
}

int PriceFieldLength(double maxcena)
{
    if (!std::isfinite(maxcena) || maxcena < 1)
        return 4;  // "0.00"
    const QString whole = QString::number(std::floor(maxcena), 'f', 0);
    return int(whole.size()) + 3;
}

int NameFieldLength(int lineWidth)
{
    return lineWidth == 22 ? 18 : kMaxDescriptionLength;
}

QStringList PluVatItems()
{
    return {QStringLiteral("0 - A"), QStringLiteral("1 - G"), QStringLiteral("2 - D"),
            QStringLiteral("3 - \\"), QStringLiteral("4 - E"), QStringLiteral("5 - @"),
            QStringLiteral("6 - I"), QStringLiteral("7 - J"), QStringLiteral("8 - K")};
}

QStringList PluDepartmentItems(const ProgrammingData &data)
{
    QStringList items;
    for (int i = 1; i <= ProgrammingData::kDepartmentCount; ++i)
        items << shown(trimmedName(data.Departments[i].name).toStdString(), data.CyrillicMode);
    return items;
}

QStringList PluUnitItems(const ProgrammingData &data)
{
    QStringList items = {QStringLiteral("kom"), QStringLiteral("kg"), QStringLiteral("m"),
                         QStringLiteral("l"), QStringLiteral("g"), QStringLiteral(" ")};
    for (int i = 1; i <= ProgrammingData::kUnitCount; ++i)
        items << shown(data.Units[i].name, data.CyrillicMode);
    return items;
}

QStringList PluArticleTypeItems(const ProgrammingData &data)
{
    QStringList items;
    for (int i = 1; i <= ProgrammingData::kArticleTypeCount; ++i)
        items << shown(data.ArticleTypes[i].name, data.CyrillicMode);
    return items;
}

QString PluNameForEdit(const QByteArray &description)
{
    const std::string name = description.toStdString();
    return ansiToUnicode(QByteArray::fromStdString(HasNoLatinLetters(name) ? From8859(name) : name));
}

QString ConvertShownText(const QString &text, bool toRegister)
{
    return ansiToUnicode(
        QByteArray::fromStdString(ConvertRegisterText(unicodeToAnsi(text).toStdString(), !toRegister)));
}

QString PluFontFamily(const ProgrammingData &data)
{
    // the display setting would choose first, but the article table's flag always decides
    // again, so the flag alone gives the font
    return QString::fromLatin1(data.CyrillicFormFlags.articles ? kCyrillicFont : kLatinFont);
}

} // namespace kalvo
