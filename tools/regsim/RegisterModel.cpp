#include "RegisterModel.h"

#include <algorithm>
#include <cctype>

namespace regsim {

namespace {

const Reply kAckReply{Reply::Ack, {}};
const Reply kNakReply{Reply::Nak, {}};

Reply frame(std::string payload) { return Reply{Reply::Frame, std::move(payload)}; }

bool isDigits(const std::string &s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits with at most one decimal point.
bool isDecimal(const std::string &s)
{
    std::string d = s;
    const auto point = d.find('.');
    if (point != std::string::npos)
        d.erase(point, 1);
    return isDigits(d);
}

int number(const std::string &digits)
{
    int n = 0;
    for (char c : digits)
        n = n * 10 + (c - '0');
    return n;
}

// A figure in a fixed-width field: zero-filled on the left, the lowest digits when longer.
std::string figure(const std::string &digits, std::size_t width)
{
    if (digits.size() >= width)
        return digits.substr(digits.size() - width);
    return std::string(width - digits.size(), '0') + digits;
}

// A name in a fixed-width answer field: cut to the width, or followed by a NUL and blanks.
std::string nameField(const std::string &name, std::size_t width)
{
    if (name.size() >= width)
        return name.substr(0, width);
    std::string f = name;
    f += '\0';
    f.resize(width, ' ');
    return f;
}

std::string twoDigits(int n) { return figure(std::to_string(n), 2); }

bool isZeroFigure(const std::string &digits)
{
    return digits.find_first_not_of('0') == std::string::npos;
}

std::string upper(std::string s)
{
    for (char &c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string trimmed(const std::string &s)
{
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

} // namespace

RegisterModel::RegisterModel()
{
    for (int i = 0; i < 10; ++i)
        departments[i] = {"Odeljenje " + std::to_string(i + 1), "00000000", "0", "0"};
    const char *rates[] = {"2000", "1000", "0800", "0000"};
    for (int i = 0; i < 10; ++i)
        vatRates[i] = {i < 4 ? rates[i] : "0000", "0"};
    for (int i = 0; i < 31; ++i) {
        const std::string code = std::to_string(i + 1);
        operators[i] = {"Kasir " + code, std::string(5 - code.size(), ' ') + code, "0", "0"};
    }
    currencies = {{{"EUR", "117.20000"}, {"USD", "108.40000"}, {"CHF", "122.00000"}, {"", "00.000000"}}};
    units = {"kom", "kg", "l", "m", "pak"};
    for (int i = 0; i < 8; ++i)
        types[i] = "Tip " + std::to_string(i + 1);
    settings = "01000000000000";
    dialResults = {"CONNECT 9600"};
}

Reply RegisterModel::onFrame(const std::string &p)
{
    const auto fixed = fixedReplies.find(p);
    if (fixed != fixedReplies.end())
        return Reply{fixed->second.kind, fixed->second.payload};
    if (p.empty())
        return kNakReply;
    static const char *reads[] = {"B", "D", "E", "L", "M", "QT", "ZT", "PTFIRST", "PTNEXT", "PTSOLD", "n"};
    for (const char *r : reads) {
        const std::string prefix = r;
        const bool listRequest = prefix.size() > 2; // the article requests are whole words
        if (listRequest ? p == prefix : p.compare(0, prefix.size(), prefix) == 0)
            return read(p);
    }
    return write(p);
}

Reply RegisterModel::write(const std::string &p)
{
    const std::size_t n = p.size();
    const char c = p[0];
    const std::string two = p.substr(0, 2);

    if (p == "T")
        return kAckReply;

    if (two == "PR") {
        // PR, code 12, department 2, name 28, price 8, single, VAT, unit, type
        if (n != 56)
            return kNakReply;
        const std::string code = p.substr(2, 12), dept = p.substr(14, 2), price = p.substr(44, 8);
        const std::string flags = p.substr(52, 4);
        if (!isDigits(code) || !isDigits(dept) || !isDigits(price) || !isDigits(flags) || flags[0] > '1')
            return kNakReply;
        Article &a = articles[code];
        if (a.total.empty()) // a new article starts without sales or stock
            a.total = a.quantity = a.stock = "0";
        a.department = dept;
        a.name = p.substr(16, 28);
        a.price = price;
        a.single = flags.substr(0, 1);
        a.vat = flags.substr(1, 1);
        a.unit = flags.substr(2, 1);
        a.type = flags.substr(3, 1);
        return kAckReply;
    }
    if (two == "PQ") {
        // PQ, the code as stored, the stock in thousandths (9 digits)
        if (n < 12)
            return kNakReply;
        const std::string code = p.substr(2, n - 11), stock = p.substr(n - 9);
        if (!isDigits(code) || code.size() > 12 || !isDigits(stock))
            return kNakReply;
        const auto it = articles.find(figure(code, 12));
        if (it == articles.end())
            return kNakReply;
        it->second.stock = stock;
        return kAckReply;
    }
    if (two == "PD") {
        if (n != 14)
            return kNakReply;
        const auto it = articles.find(p.substr(2));
        if (it == articles.end() || !isZeroFigure(it->second.total) || !isZeroFigure(it->second.quantity))
            return kNakReply;
        articles.erase(it);
        return kAckReply;
    }
    if (p == "PE") {
        for (auto &entry : articles)
            entry.second.total = entry.second.quantity = "0";
        return kAckReply;
    }
    if (two == "QR") {
        // QR, unit 1..5, the name (3 or more characters)
        if (n < 6 || p[2] < '1' || p[2] > '5')
            return kNakReply;
        units[std::size_t(p[2] - '1')] = p.substr(3);
        return kAckReply;
    }
    if (two == "ZR") {
        // ZR, type 1..8, the name up to a NUL (12 characters or more in all)
        if (n < 15 || p[2] < '1' || p[2] > '8')
            return kNakReply;
        const std::string name = p.substr(3);
        types[std::size_t(p[2] - '1')] = name.substr(0, name.find('\0'));
        return kAckReply;
    }
    if (p == "N0" || p == "N1") {
        lastLogoSlot = p;
        return kAckReply;
    }
    if (n == 5 && p.compare(0, 3, "m01") == 0) {
        if (!std::isxdigit(static_cast<unsigned char>(p[3])) || !std::isxdigit(static_cast<unsigned char>(p[4]))
            || std::islower(static_cast<unsigned char>(p[3])) || std::islower(static_cast<unsigned char>(p[4])))
            return kNakReply;
        lastKey = p.substr(3);
        return kAckReply;
    }

    switch (c) {
    case 'R': {
        // R, department 00..09, the name (12 or more), the highest price (8)
        if (n < 23)
            return kNakReply;
        const std::string num = p.substr(1, 2), maxPrice = p.substr(n - 8);
        if (!isDigits(num) || number(num) > 9 || !isDecimal(maxPrice))
            return kNakReply;
        Department &d = departments[std::size_t(number(num))];
        d.name = p.substr(3, n - 11);
        d.maxPrice = maxPrice;
        return kAckReply;
    }
    case 'O': {
        // O, operator 00..30, the name (12 or more), the code right-aligned in 5
        if (n < 20)
            return kNakReply;
        const std::string num = p.substr(1, 2), code = p.substr(n - 5);
        const std::string digits = code.substr(code.find_first_not_of(' ') == std::string::npos
                                                   ? code.size() : code.find_first_not_of(' '));
        if (!isDigits(num) || number(num) > 30 || !isDigits(digits))
            return kNakReply;
        Operator &o = operators[std::size_t(number(num))];
        o.name = p.substr(3, n - 8);
        o.code = code;
        return kAckReply;
    }
    case 'U': {
        // U, currency 0..3, the name (12 or more), the rate (9)
        if (n < 23 || p[1] < '0' || p[1] > '3')
            return kNakReply;
        const std::string rate = p.substr(n - 9);
        if (!isDecimal(rate))
            return kNakReply;
        Currency &cur = currencies[std::size_t(p[1] - '0')];
        cur.name = p.substr(2, n - 11);
        cur.rate = rate;
        return kAckReply;
    }
    case 'X': {
        // X and 14 digits: number 2, intensity, 0000, logo 1, logo 2, 0, four flags
        if (n != 15 || !isDigits(p.substr(1)))
            return kNakReply;
        settings = p.substr(1);
        return kAckReply;
    }
    case 'S':
    case 'A': {
        // S/A, line 0..5, the print image (32 or more), NUL
        if (n < 35 || p[1] < '0' || p[1] > '5' || p[n - 1] != '\0')
            return kNakReply;
        (c == 'S' ? headerLines : advertLines)[std::size_t(p[1] - '0')] = p.substr(2, n - 3);
        return kAckReply;
    }
    case 'k':
        if (n != 97)
            return kNakReply;
        for (std::size_t r = 0; r < 3; ++r)
            messageRows[r] = p.substr(1 + 32 * r, 32);
        return kAckReply;
    default:
        return kAckReply; // a command of another kind: taken as done
    }
}

Reply RegisterModel::read(const std::string &p)
{
    if (p == "n") {
        const int count = status.count >= 0 ? status.count : int(std::min<std::size_t>(articles.size(), 99999));
        std::string s = "00";
        s += char('0' + std::clamp(status.menu, 0, 9));
        s += '0';
        s += twoDigits(std::clamp(status.error, 0, 99));
        s += char('0' + std::clamp(status.state, 0, 9));
        s += "000";
        s += figure(std::to_string(count), 5);
        return frame(s);
    }
    if (p == "L")
        return frame(settings);
    if (p == "PTFIRST") {
        listStarted_ = true;
        return articleAnswer(articles.begin());
    }
    if (p == "PTNEXT" || p == "PTSOLD") {
        auto it = listStarted_ ? articles.upper_bound(cursor_) : articles.begin();
        listStarted_ = true;
        if (p == "PTSOLD")
            while (it != articles.end() && isZeroFigure(it->second.quantity))
                ++it;
        return articleAnswer(it);
    }

    // The numbered records: a bare ACK for a number the register does not have.
    const bool twoLetters = p[0] == 'Q' || p[0] == 'Z';
    const std::string num = p.substr(twoLetters ? 2 : 1);
    const std::size_t width = (p[0] == 'B' || p[0] == 'D' || p[0] == 'E') ? 2 : 1;
    if (num.size() != width || !isDigits(num))
        return kNakReply;
    const int i = number(num);
    switch (p[0]) {
    case 'B': {
        if (i > 9)
            return kAckReply;
        const Department &d = departments[std::size_t(i)];
        return frame(num + nameField(d.name, 12) + nameField(d.maxPrice, 8).substr(0, 8)
                     + figure(d.amount, 11) + figure(d.quantity, 9));
    }
    case 'D':
        if (i > 9)
            return kAckReply;
        return frame(num + figure(vatRates[std::size_t(i)].rate, 4) + figure(vatRates[std::size_t(i)].amount, 11));
    case 'E': {
        if (i > 30)
            return kAckReply;
        const Operator &o = operators[std::size_t(i)];
        std::string code = o.code.substr(0, 5);
        code.insert(0, 5 - code.size(), ' ');
        return frame(num + nameField(o.name, 12) + code + figure(o.amount, 11) + figure(o.receipts, 6));
    }
    case 'M': {
        if (i > 3)
            return kAckReply;
        const Currency &cur = currencies[std::size_t(i)];
        return frame(num + nameField(cur.name, 12) + figure(cur.rate, 9));
    }
    case 'Q':
        if (i < 1 || i > 5)
            return kAckReply;
        return frame(num + nameField(units[std::size_t(i - 1)], 3));
    case 'Z':
        if (i < 1 || i > 8)
            return kAckReply;
        return frame(num + nameField(types[std::size_t(i - 1)], 12));
    default:
        return kNakReply;
    }
}

Reply RegisterModel::articleAnswer(std::map<std::string, Article>::const_iterator it)
{
    if (it == articles.end())
        return kAckReply; // no further article
    cursor_ = it->first;
    const Article &a = it->second;
    std::string s = it->first;
    s += figure(a.department, 2);
    s += nameField(a.name, 28);
    s += figure(a.price, 8);
    s += a.single.substr(0, 1) + a.vat.substr(0, 1) + a.unit.substr(0, 1) + a.type.substr(0, 1);
    s += figure(a.total, 11);
    s += figure(a.quantity, 9);
    s += figure(a.stock, 9);
    return frame(s);
}

// ---- the modem -------------------------------------------------------------------------

std::string RegisterModel::dialAnswer()
{
    if (dialResults.empty())
        return "NO CARRIER";
    const std::string &r = dialResults[std::min(dialsAnswered_, dialResults.size() - 1)];
    ++dialsAnswered_;
    return r;
}

std::string RegisterModel::onTextLine(const std::string &line)
{
    std::string command = trimmed(line);
    const bool escape = command.compare(0, 3, "+++") == 0;
    if (escape)
        command = trimmed(command.substr(3));
    const std::string cmd = upper(command);
    const bool isAt = cmd.compare(0, 2, "AT") == 0;

    if (awaitingPassword_ && !escape && !isAt) {
        password = line; // the text the workstation sends right after CONNECT
        awaitingPassword_ = false;
        return {};
    }
    if (!isAt) {
        if (escape && modemConnected) { // "+++" alone: back to command mode
            awaitingPassword_ = false;
            return "\r\nOK\r\n";
        }
        return {}; // data for the far side of a connection nobody listens to
    }

    std::string out = modemEcho ? command + "\r" : std::string();
    const std::string body = cmd.substr(2);
    if (body.compare(0, 1, "D") == 0) {
        const std::string result = dialAnswer();
        if (result == "none")
            return out;
        if (result.compare(0, 7, "CONNECT") == 0) {
            modemConnected = true;
            awaitingPassword_ = true;
        }
        return out + "\r\n" + result + "\r\n";
    }
    if (body.find('H') != std::string::npos || escape) {
        modemConnected = false;
        awaitingPassword_ = false;
    }
    return out + "\r\nOK\r\n";
}

} // namespace regsim
