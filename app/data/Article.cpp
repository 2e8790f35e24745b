#include "data/Article.h"

namespace kalvo {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool allDigits(const QString &text)
{
    for (QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

// A decimal text split into its parts; see RoundDecimalText for what is accepted.
struct DecimalParts {
    bool negative = false;
    QString intDigits;
    QString fracDigits;
};

std::optional<DecimalParts> splitDecimal(const QString &text)
{
    const QString t = text.trimmed();
    DecimalParts parts;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        parts.negative = t[i] == QLatin1Char('-');
        ++i;
    }
    while (i < t.size() && isDigit(t[i]))
        parts.intDigits.append(t[i++]);
    if (i < t.size() && (t[i] == QLatin1Char('.') || t[i] == QLatin1Char(','))) {
        ++i;
        while (i < t.size() && isDigit(t[i]))
            parts.fracDigits.append(t[i++]);
    }
    if (i != t.size() || (parts.intDigits.isEmpty() && parts.fracDigits.isEmpty()))
        return std::nullopt;
    return parts;
}

} // namespace

bool IsListedCode(const QByteArray &code)
{
    const QByteArray t = code.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        ++i;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        if (t[i] != '0')
            return true;
    }
    return false;
}

QByteArray PadBarCode(const QByteArray &typedCode)
{
    return typedCode.trimmed().rightJustified(kMaxBarCodeLength, '0');
}

std::optional<QString> RoundDecimalText(const QString &text, int decimals)
{
    if (decimals < 0)
        return std::nullopt;
    const auto parts = splitDecimal(text);
    if (!parts)
        return std::nullopt;

    QString digits = parts->intDigits.isEmpty() ? QStringLiteral("0") : parts->intDigits;
    QString frac = parts->fracDigits;
    if (frac.size() > decimals) {
        const QString kept = frac.left(decimals);
        const char next = frac[decimals].toLatin1();
        bool restNonZero = false;
        for (qsizetype k = decimals + 1; k < frac.size(); ++k)
            restNonZero = restNonZero || frac[k] != QLatin1Char('0');
        digits += kept;
        const int lastKept = digits.back().toLatin1() - '0';
        const bool up = next > '5' || (next == '5' && (restNonZero || lastKept % 2 == 1));
        if (up) {
            qsizetype k = digits.size() - 1;
            while (k >= 0 && digits[k] == QLatin1Char('9')) {
                digits[k] = QLatin1Char('0');
                --k;
            }
            if (k >= 0) {
                digits[k] = QChar(digits[k].toLatin1() + 1);
            } else {
                digits.prepend(QLatin1Char('1'));
            }
        }
        frac = digits.mid(digits.size() - decimals);
        digits.chop(decimals);
    }

    // plain text: no leading zeros before the point, no trailing zeros after it
    qsizetype lead = 0;
    while (lead < digits.size() - 1 && digits[lead] == QLatin1Char('0'))
        ++lead;
    digits = digits.mid(lead);
    while (!frac.isEmpty() && frac.back() == QLatin1Char('0'))
        frac.chop(1);

    const bool zero = digits == QLatin1String("0") && frac.isEmpty();
    QString out;
    if (parts->negative && !zero)
        out += QLatin1Char('-');
    out += digits;
    if (!frac.isEmpty())
        out += QLatin1Char('.') + frac;
    return out;
}

ArticleCheck CheckArticleFields(const ArticleForm &form, double maxPrice)
{
    using namespace articlemsg;
    using Field = ArticleCheck::Field;
    ArticleCheck check;
    auto refuse = [&check](const char *message, Field field) {
        check.ok = false;
        check.message = QString::fromLatin1(message);
        check.field = field;
        return check;
    };

    // 1-3: the code
    const QString code = form.code.trimmed();
    if (code.isEmpty())
        return refuse(kEnterCode, Field::Code);
    if (!allDigits(code))
        return refuse(kCodeNotNumeric, Field::Code);
    if (code.size() > kMaxBarCodeLength)
        return refuse(kCodeTooLong, Field::Code);

    // 4: the name
    const QByteArray name = form.name.trimmed();
    if (name.isEmpty())
        return refuse(kEnterName, Field::Name);
    if (name.size() > kMaxDescriptionLength)
        return refuse(kNameTooLong, Field::Name);

    // 5: the price, rounded to 2 places before its range is checked (0.004 is no price)
    const auto priceText = RoundDecimalText(form.price, 2);
    if (!priceText)
        return refuse(kPriceNotNumeric, Field::Price);
    const double price = priceText->toDouble();
    if (!(price > 0) || price > maxPrice)
        return refuse(kPriceOutOfRange, Field::Price);

    // 6: the stock, rounded to 3 places (to a whole number for pieces)
    const auto stockParts = splitDecimal(form.stock);
    const auto stockText = RoundDecimalText(form.stock, form.mesType == 0 ? 0 : 3);
    if (!stockParts || !stockText)
        return refuse(kStockInvalid, Field::Stock);
    const double stock = stockText->toDouble();
    if (stock < 0 || stock > kMaxInventary)
        return refuse(kStockInvalid, Field::Stock);
    // Six characters for the whole part: the register keeps 999999.999 at most, and the
    // field's own three-decimal format ("100.000") must stay acceptable.
    if (stockParts->intDigits.size() > 6)
        return refuse(kStockTooLong, Field::Stock);

    check.ok = true;
    check.priceText = *priceText;
    check.stockText = *stockText;
    Article &a = check.article;
    a.barCode = PadBarCode(code.toLatin1());
    a.description = name;
    a.price = price;
    a.vatCode = form.vatCode;
    a.mesType = form.mesType;
    a.artType = form.artType;
    a.oneItem = form.oneItem;
    a.department = form.department;
    a.inventary = stock;
    a.maxValue = 0;
    return check;
}

} // namespace kalvo
