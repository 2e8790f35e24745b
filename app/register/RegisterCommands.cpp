#include "register/RegisterCommands.h"

#include <QLocale>

#include <cctype>
#include <cmath>
#include <limits>
#include <string>

namespace kalvo {

namespace {

// An exact decimal number: sign, integer digits, fraction digits.
struct Decimal {
    bool negative = false;
    std::string whole;    // digits, may be empty or carry leading zeros
    std::string fraction; // digits, may be empty or carry trailing zeros
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

QByteArray trimmedBlanks(QByteArrayView text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    return text.sliced(b, e - b).toByteArray();
}

bool allDigits(QByteArrayView text)
{
    for (char c : text)
        if (!isDigit(c))
            return false;
    return true;
}

bool digitsOrBlanks(QByteArrayView text)
{
    for (char c : text)
        if (!isDigit(c) && c != ' ')
            return false;
    return true;
}

// Strict: optional blanks, an optional sign, digits with at most one decimal point,
// optional blanks. An empty or blank text is zero.
std::optional<Decimal> parseStrict(QByteArrayView text)
{
    qsizetype i = 0, n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    while (n > i && isBlank(text[n - 1]))
        --n;
    Decimal d;
    if (i == n)
        return d;
    if (text[i] == '-' || text[i] == '+') {
        d.negative = text[i] == '-';
        ++i;
    }
    bool point = false, digit = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            (point ? d.fraction : d.whole).push_back(c);
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit)
        return std::nullopt;
    return d;
}

// Lenient: the number at the start of the text (after blanks); anything else is zero.
Decimal parseLeading(QByteArrayView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    Decimal d;
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        d.negative = text[i] == '-';
        ++i;
    }
    bool point = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (isDigit(c))
            (point ? d.fraction : d.whole).push_back(c);
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    return d;
}

Decimal fromDouble(double value)
{
    if (!std::isfinite(value))
        return {};
    // The shortest text that reads back as the same double: 89.9, not 89.900000000000006.
    return parseLeading(QByteArray::number(value, 'f', QLocale::FloatingPointShortest));
}

// The value times 10^-shift (a negative shift multiplies).
Decimal shifted(Decimal d, int shift)
{
    if (shift > 0) {
        const std::size_t s = std::size_t(shift);
        if (d.whole.size() < s)
            d.whole.insert(0, s - d.whole.size(), '0');
        d.fraction.insert(0, d.whole, d.whole.size() - s, s);
        d.whole.resize(d.whole.size() - s);
    } else if (shift < 0) {
        const std::size_t s = std::size_t(-shift);
        if (d.fraction.size() < s)
            d.fraction.append(s - d.fraction.size(), '0');
        d.whole.append(d.fraction, 0, s);
        d.fraction.erase(0, s);
    }
    return d;
}

bool isZero(const Decimal &d)
{
    return d.whole.find_first_not_of('0') == std::string::npos
        && d.fraction.find_first_not_of('0') == std::string::npos;
}

QByteArray plainText(const Decimal &d)
{
    std::string whole = d.whole;
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.empty())
        whole = "0";
    std::string fraction = d.fraction;
    const auto last = fraction.find_last_not_of('0');
    fraction.resize(last == std::string::npos ? 0 : last + 1);
    std::string out = (d.negative && !isZero(d)) ? "-" : "";
    out += whole;
    if (!fraction.empty())
        out += "." + fraction;
    return QByteArray::fromStdString(out);
}

// The whole number nearest to d, halves to the even neighbour, as plain decimal text.
QByteArray roundedWhole(Decimal d)
{
    bool up = false;
    if (!d.fraction.empty()) {
        const char first = d.fraction[0];
        const bool restZero = d.fraction.find_first_not_of('0', 1) == std::string::npos;
        if (first > '5' || (first == '5' && !restZero))
            up = true;
        else if (first == '5')
            up = !d.whole.empty() && ((d.whole.back() - '0') % 2 == 1);
    }
    d.fraction.clear();
    if (up) {
        std::string &w = d.whole;
        int i = int(w.size()) - 1;
        for (; i >= 0 && w[std::size_t(i)] == '9'; --i)
            w[std::size_t(i)] = '0';
        if (i < 0)
            w.insert(0, 1, '1');
        else
            ++w[std::size_t(i)];
    }
    return plainText(d);
}

// The characters of positions pos..pos+len-1 (1-based) that exist in the answer.
QByteArrayView field(QByteArrayView reply, int pos, int len)
{
    const qsizetype start = pos - 1;
    if (start >= reply.size())
        return {};
    return reply.sliced(start, std::min<qsizetype>(len, reply.size() - start));
}

// A name field: the characters before the first NUL; the field's positions up to that
// NUL (all of them when there is none) must exist.
std::optional<QByteArray> textUpToNul(QByteArrayView reply, int pos, int len)
{
    const QByteArrayView f = field(reply, pos, len);
    const qsizetype nul = f.indexOf('\0');
    if (nul >= 0)
        return f.first(nul).toByteArray();
    if (f.size() < len)
        return std::nullopt;
    return f.toByteArray();
}

// A record number: one or more digits, nothing else.
std::optional<int> recordNumber(QByteArrayView f)
{
    if (f.isEmpty() || !allDigits(f))
        return std::nullopt;
    int n = 0;
    for (char c : f)
        n = n * 10 + (c - '0');
    return n;
}

// A one-character field that must be a digit or blank (or absent).
bool digitOrBlank(QByteArrayView f) { return digitsOrBlanks(f); }

QByteArray number(int n) { return QByteArray::number(n); }

// The integer part of a numeric field, within the 16-bit signed range.
std::optional<std::int16_t> int16Field(QByteArrayView f)
{
    const auto d = parseStrict(f);
    if (!d)
        return std::nullopt;
    std::string whole = d->whole;
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > 5)
        return std::nullopt;
    long v = whole.empty() ? 0 : std::stol(whole);
    if (d->negative)
        v = -v;
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return std::int16_t(v);
}

QByteArray linePayload(char letter, int index, QByteArrayView image)
{
    QByteArray p(1, letter);
    p += number(index);
    p += spacePadded(image, 32);
    p += '\0';
    return p;
}

QByteArray orZero(QByteArrayView text)
{
    QByteArray t = trimmedBlanks(text);
    return t.isEmpty() ? QByteArray("0") : t;
}

} // namespace

// ---- field helpers ---------------------------------------------------------------------

QByteArray spacePadded(QByteArrayView text, int n)
{
    QByteArray t = text.toByteArray();
    if (t.size() < n)
        t.append(n - t.size(), ' ');
    return t;
}

QByteArray zeroPadded(QByteArrayView text, int n)
{
    QByteArray t = text.toByteArray();
    if (t.size() < n)
        t.prepend(QByteArray(n - t.size(), '0'));
    return t;
}

QByteArray spacePaddedLeft(QByteArrayView text, int n)
{
    QByteArray t = text.toByteArray();
    if (t.size() < n)
        t.prepend(QByteArray(n - t.size(), ' '));
    return t;
}

QByteArray fitted(QByteArrayView text, int n)
{
    return spacePadded(text.first(std::min<qsizetype>(n, text.size())), n);
}

QByteArray withDecimalPoints(QByteArray text)
{
    return text.replace(',', '.');
}

std::optional<QByteArray> decimalFieldValue(QByteArrayView text, int shift)
{
    const auto d = parseStrict(text);
    if (!d)
        return std::nullopt;
    return plainText(shifted(*d, shift));
}

// ---- write payloads ------------------------------------------------------------------

QByteArray departmentPayload(int num, QByteArrayView name, QByteArrayView maxPrice)
{
    return "R" + zeroPadded(number(num), 2) + spacePadded(name, 12)
        + zeroPadded(plainText(parseLeading(maxPrice)), 8);
}

QByteArray articlePayload(const ArticleFields &a)
{
    QByteArray p = "PR";
    p += zeroPadded(a.barCode, 12).left(12);
    p += zeroPadded(number(a.department), 2);
    p += fitted(a.description, 28);
    p += zeroPadded(roundedWhole(shifted(fromDouble(a.price), -2)), 8);
    p += a.oneItem ? '1' : '0';
    p += number(a.vatCode);
    p += number(a.mesType);
    p += number(a.artType);
    return p;
}

QByteArray articleStockPayload(QByteArrayView barCode, double inventary)
{
    const QByteArray stock = roundedWhole(shifted(fromDouble(inventary), -3)).left(9);
    return "PQ" + barCode.toByteArray() + zeroPadded(stock, 9);
}

QByteArray operatorPayload(int num, QByteArrayView name, QByteArrayView code)
{
    return "O" + zeroPadded(number(num), 2) + spacePadded(name, 12)
        + spacePaddedLeft(trimmedBlanks(code), 5);
}

QByteArray currencyPayload(int num, QByteArrayView name, QByteArrayView rate)
{
    // The rate field is 9 characters: a rate of 100 or more keeps its whole part and as
    // many decimals as fit, instead of pushing the frame's layout out of place.
    QByteArray r = rate.toByteArray().trimmed();
    const qsizetype point = r.indexOf('.');
    if (r.size() > 9 && point >= 0 && point < 9)
        r.truncate(point == 8 ? 8 : 9);
    return "U" + number(num) + spacePadded(name, 12) + zeroPadded(r, 9);
}

QByteArray registerSettingsPayload(const RegisterSettingsFields &s)
{
    QByteArray p = "X";
    p += zeroPadded(trimmedBlanks(s.registerNumber), 2);
    p += orZero(s.printIntensity);
    p += "0000";
    p += orZero(s.logo1Number);
    p += orZero(s.logo2Number);
    p += "0";
    p += orZero(s.cashierLoginRequired);
    p += orZero(s.toneSignal);
    p += orZero(s.speedIndex);
    p += orZero(s.testMenu);
    return p;
}

QByteArray headerLinePayload(int index, QByteArrayView image) { return linePayload('S', index, image); }
QByteArray advertLinePayload(int index, QByteArrayView image) { return linePayload('A', index, image); }

QByteArray unitPayload(int num, QByteArrayView name)
{
    return "QR" + number(num) + spacePadded(name, 3);
}

QByteArray articleTypePayload(int num, QByteArrayView name)
{
    QByteArray t = trimmedBlanks(name);
    if (t.size() < 12) {
        t += '\0';
        t = spacePadded(t, 12);
    }
    return "ZR" + number(num) + t;
}

QByteArray messagePayload(QByteArrayView row1, QByteArrayView row2, QByteArrayView row3)
{
    return "k" + spacePadded(row1, 32) + spacePadded(row2, 32) + spacePadded(row3, 32);
}

QByteArray deleteArticlePayload(QByteArrayView articleAnswer)
{
    return "PD" + articleAnswer.first(std::min<qsizetype>(12, articleAnswer.size())).toByteArray();
}

QByteArray eraseArticleSalesPayload() { return "PE"; }

QByteArray logoSlotPayload(LogoSlot slot)
{
    return slot == LogoSlot::ReceiptStart ? "N0" : "N1";
}

QByteArray KeyCommand::payload() const
{
    return "m01" + QByteArray::number(code, 16).rightJustified(2, '0').toUpper();
}

std::optional<KeyCommand> KeyCommand::fromText(QByteArrayView hex)
{
    if (hex.size() != 2)
        return std::nullopt;
    bool ok = false;
    const uint v = hex.toByteArray().toUInt(&ok, 16);
    if (!ok || !std::isxdigit(uchar(hex[0])) || !std::isxdigit(uchar(hex[1])))
        return std::nullopt;
    return KeyCommand{std::uint8_t(v)};
}

// ---- read requests -------------------------------------------------------------------

QByteArray departmentRequest(int n) { return "B" + zeroPadded(number(n), 2); }
QByteArray vatRateRequest(int n) { return "D" + zeroPadded(number(n), 2); }
QByteArray operatorRequest(int n) { return "E" + zeroPadded(number(n), 2); }
QByteArray registerSettingsRequest() { return "L"; }
QByteArray currencyRequest(int n) { return "M" + number(n); }
QByteArray unitRequest(int n) { return "QT" + number(n); }
QByteArray articleTypeRequest(int n) { return "ZT" + number(n); }

// ---- answers -------------------------------------------------------------------------

std::optional<DepartmentAnswer> parseDepartmentAnswer(QByteArrayView reply)
{
    const auto num = recordNumber(field(reply, 1, 2));
    if (!num || *num + 1 >= kDepartmentCapacity)
        return std::nullopt;
    const auto name = textUpToNul(reply, 3, 12);
    const QByteArrayView maxPrice = field(reply, 15, 8), amount = field(reply, 23, 11),
                         quantity = field(reply, 34, 9);
    if (!name || !parseStrict(maxPrice) || !parseStrict(amount) || !parseStrict(quantity))
        return std::nullopt;
    return DepartmentAnswer{*num + 1, spacePadded(*name, 12), maxPrice.toByteArray(),
                            amount.toByteArray(), quantity.toByteArray()};
}

std::optional<VatRateAnswer> parseVatRateAnswer(QByteArrayView reply)
{
    const auto num = recordNumber(field(reply, 1, 2));
    if (!num || *num >= kVatRateCapacity)
        return std::nullopt;
    const QByteArrayView rate = field(reply, 3, 4);
    const auto amount = decimalFieldValue(field(reply, 7, 11), 2);
    if (!parseStrict(rate) || !amount)
        return std::nullopt;
    return VatRateAnswer{*num, rate.toByteArray(), *amount};
}

std::optional<OperatorAnswer> parseOperatorAnswer(QByteArrayView reply)
{
    const auto num = recordNumber(field(reply, 1, 2));
    if (!num || *num + 1 >= kOperatorCapacity)
        return std::nullopt;
    const auto name = textUpToNul(reply, 3, 12);
    const QByteArrayView code = field(reply, 15, 5);
    const auto amount = decimalFieldValue(field(reply, 20, 11), 2);
    const auto receipts = decimalFieldValue(field(reply, 31, 6));
    if (!name || !parseStrict(code) || !amount || !receipts)
        return std::nullopt;
    return OperatorAnswer{*num + 1, spacePadded(*name, 12), code.toByteArray(), *amount, *receipts};
}

std::optional<RegisterSettingsAnswer> parseRegisterSettingsAnswer(QByteArrayView reply)
{
    const QByteArrayView regNo = field(reply, 1, 2);
    if (!digitsOrBlanks(regNo))
        return std::nullopt;
    RegisterSettingsAnswer a;
    a.registerNumber = zeroPadded(trimmedBlanks(regNo), 2);
    const int positions[] = {3, 8, 9, 11, 12, 13, 14};
    QByteArray *targets[] = {&a.printIntensity, &a.logo1Number, &a.logo2Number,
                             &a.cashierLoginRequired, &a.toneSignal, &a.speedIndex, &a.testMenu};
    for (int i = 0; i < 7; ++i) {
        const QByteArrayView f = field(reply, positions[i], 1);
        if (!digitOrBlank(f))
            return std::nullopt;
        *targets[i] = f.toByteArray();
    }
    a.logo1On = !a.logo1Number.isEmpty() && isDigit(a.logo1Number[0]) && a.logo1Number[0] != '0';
    a.logo2On = !a.logo2Number.isEmpty() && isDigit(a.logo2Number[0]) && a.logo2Number[0] != '0';
    return a;
}

std::optional<CurrencyAnswer> parseCurrencyAnswer(QByteArrayView reply)
{
    const auto num = recordNumber(field(reply, 1, 1));
    if (!num || *num + 1 >= kCurrencyCapacity)
        return std::nullopt;
    const auto name = textUpToNul(reply, 2, 12);
    const QByteArrayView rate = field(reply, 14, 9);
    if (!name || !parseStrict(rate))
        return std::nullopt;
    return CurrencyAnswer{*num + 1, spacePadded(*name, 12), rate.toByteArray()};
}

std::optional<QByteArray> parseUnitAnswer(QByteArrayView reply)
{
    const auto name = textUpToNul(reply, 2, 3);
    if (!name)
        return std::nullopt;
    return spacePadded(*name, 3);
}

std::optional<QByteArray> parseArticleTypeAnswer(QByteArrayView reply)
{
    const auto name = textUpToNul(reply, 2, 12);
    if (!name)
        return std::nullopt;
    return spacePadded(*name, 12);
}

std::optional<ArticleAnswer> parseArticleAnswer(QByteArrayView reply)
{
    ArticleAnswer a;
    a.codeField = field(reply, 1, 12).toByteArray();
    a.barCode = trimmedBlanks(a.codeField);
    a.department = trimmedBlanks(field(reply, 13, 2));
    if (a.barCode.isEmpty() || !allDigits(a.barCode) || !allDigits(a.department))
        return std::nullopt;
    if (a.department.isEmpty())
        a.department = "0";
    const auto name = textUpToNul(reply, 15, 28);
    if (!name)
        return std::nullopt;
    a.description = spacePadded(*name, 28);

    struct Num { int pos, len, shift; QByteArray *target; };
    const Num nums[] = {{43, 8, 2, &a.price},  {51, 1, 0, &a.oneItem},  {52, 1, 0, &a.vatCode},
                        {53, 1, 0, &a.mesType}, {54, 1, 0, &a.artType}, {55, 11, 2, &a.total},
                        {66, 9, 3, &a.qty},     {75, 9, 3, &a.inventary}};
    for (const Num &n : nums) {
        const auto v = decimalFieldValue(withDecimalPoints(field(reply, n.pos, n.len).toByteArray()), n.shift);
        if (!v)
            return std::nullopt;
        *n.target = *v;
    }
    return a;
}

std::optional<RegisterStatus> parseRegisterStatus(QByteArrayView reply)
{
    RegisterStatus s;
    const QByteArrayView menu = field(reply, 3, 1);
    if (!menu.isEmpty()) {
        if (!isDigit(menu[0]))
            return std::nullopt;
        s.menuPosition = std::uint8_t(menu[0] - '0');
    }
    const auto error = int16Field(field(reply, 5, 2));
    const auto state = int16Field(field(reply, 7, 1));
    const auto count = int16Field(field(reply, 11, 5));
    if (!error || !state || !count)
        return std::nullopt;
    s.lastError = *error;
    s.operatingState = *state;
    s.articleCount = *count;
    return s;
}

} // namespace kalvo
