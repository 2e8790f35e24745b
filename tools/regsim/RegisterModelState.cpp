// The register's state file: reading records on top of the current state and writing the
// whole state back (format: RegisterModel.h).
#include "Framing.h"
#include "RegisterModel.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace regsim {

namespace {

struct Record {
    std::string keyword;
    std::string word; // a bare word or number after the keyword, when there is one
    std::vector<std::pair<std::string, std::string>> fields;
};

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A quoted text starting at line[i] == '"'; i ends after the closing quote.
bool parseQuoted(const std::string &line, std::size_t &i, std::string &out, std::string &error)
{
    ++i;
    while (i < line.size()) {
        const char c = line[i++];
        if (c == '"')
            return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i >= line.size())
            break;
        const char e = line[i++];
        switch (e) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '0': out += '\0'; break;
        case 'x': {
            const int hi = i < line.size() ? hexValue(line[i]) : -1;
            const int lo = i + 1 < line.size() ? hexValue(line[i + 1]) : -1;
            if (hi < 0 || lo < 0) {
                error = "\\x needs two hex digits";
                return false;
            }
            out += char(hi * 16 + lo);
            i += 2;
            break;
        }
        default:
            error = std::string("unknown escape \\") + e;
            return false;
        }
    }
    error = "unterminated quoted text";
    return false;
}

bool tokenize(const std::string &line, Record &rec, std::string &error)
{
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
    };
    auto bareWord = [&] {
        const std::size_t b = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '=' && line[i] != '"')
            ++i;
        return line.substr(b, i - b);
    };
    skipBlanks();
    rec.keyword = bareWord();
    skipBlanks();
    while (i < line.size()) {
        const std::string key = bareWord();
        if (i < line.size() && line[i] == '=') {
            ++i;
            std::string value;
            if (i < line.size() && line[i] == '"') {
                if (!parseQuoted(line, i, value, error))
                    return false;
            } else {
                value = bareWord();
                if (i < line.size() && (line[i] == '"' || line[i] == '=')) {
                    error = "unexpected character after " + key + "=";
                    return false;
                }
            }
            rec.fields.emplace_back(key, value);
        } else if (!key.empty() && rec.word.empty() && rec.fields.empty()) {
            rec.word = key;
        } else {
            error = "expected key=value, found \"" + (key.empty() ? line.substr(i, 1) : key) + "\"";
            return false;
        }
        skipBlanks();
    }
    return true;
}

bool isDigits(const std::string &s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string quoted(const std::string &s) { return "\"" + escapeBytes(s) + "\""; }

} // namespace

bool RegisterModel::applyLine(const std::string &line, std::string &error)
{
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#')
        return true;
    Record rec;
    if (!tokenize(line, rec, error))
        return false;
    const std::string &kw = rec.keyword;

    // The record number, within [lo, hi].
    int index = -1;
    auto needIndex = [&](int lo, int hi) {
        if (!isDigits(rec.word) || rec.word.size() > 3 || std::stoi(rec.word) < lo || std::stoi(rec.word) > hi) {
            error = kw + " needs a number " + std::to_string(lo) + ".." + std::to_string(hi);
            return false;
        }
        index = std::stoi(rec.word);
        return true;
    };
    auto noWord = [&] {
        if (!rec.word.empty()) {
            error = kw + " takes no number";
            return false;
        }
        return true;
    };
    // Applies every field through the table of key -> target; digits-only keys checked.
    struct Target { const char *key; std::string *value; bool digits; };
    auto assign = [&](std::initializer_list<Target> targets) {
        for (const auto &[key, value] : rec.fields) {
            const auto t = std::find_if(targets.begin(), targets.end(),
                                        [&](const Target &x) { return key == x.key; });
            if (t == targets.end()) {
                error = kw + " has no field " + key;
                return false;
            }
            if (t->digits && !isDigits(value)) {
                error = kw + " " + key + " must be digits";
                return false;
            }
            *t->value = value;
        }
        return true;
    };

    if (kw == "department") {
        if (!needIndex(0, 9))
            return false;
        Department &d = departments[std::size_t(index)];
        return assign({{"name", &d.name, false}, {"maxprice", &d.maxPrice, false},
                       {"amount", &d.amount, true}, {"quantity", &d.quantity, true}});
    }
    if (kw == "vat") {
        if (!needIndex(0, 9))
            return false;
        VatRate &v = vatRates[std::size_t(index)];
        return assign({{"rate", &v.rate, true}, {"amount", &v.amount, true}});
    }
    if (kw == "operator") {
        if (!needIndex(0, 30))
            return false;
        Operator &o = operators[std::size_t(index)];
        return assign({{"name", &o.name, false}, {"code", &o.code, false},
                       {"amount", &o.amount, true}, {"receipts", &o.receipts, true}});
    }
    if (kw == "currency") {
        if (!needIndex(0, 3))
            return false;
        Currency &c = currencies[std::size_t(index)];
        return assign({{"name", &c.name, false}, {"rate", &c.rate, false}});
    }
    if (kw == "unit" || kw == "type") {
        const bool unit = kw == "unit";
        if (!needIndex(1, unit ? 5 : 8))
            return false;
        return assign({{"name", &(unit ? units[std::size_t(index - 1)] : types[std::size_t(index - 1)]), false}});
    }
    if (kw == "header" || kw == "advert") {
        if (!needIndex(0, 5))
            return false;
        return assign({{"image", &(kw == "header" ? headerLines : advertLines)[std::size_t(index)], false}});
    }
    if (kw == "message") {
        return noWord() && assign({{"row1", &messageRows[0], false}, {"row2", &messageRows[1], false},
                                   {"row3", &messageRows[2], false}});
    }
    if (kw == "settings") {
        std::string value = settings;
        if (!noWord() || !assign({{"value", &value, true}}))
            return false;
        if (value.size() != 14) {
            error = "settings value must be 14 digits";
            return false;
        }
        settings = value;
        return true;
    }
    if (kw == "article") {
        std::string code;
        for (const auto &f : rec.fields)
            if (f.first == "code")
                code = f.second;
        if (!noWord() || !isDigits(code) || code.size() > 12) {
            error = "article needs code= of 1 to 12 digits";
            return false;
        }
        code.insert(0, 12 - code.size(), '0');
        Article a = articles.count(code) ? articles[code]
                                         : Article{"00", "", "0", "0", "0", "0", "0", "0", "0", "0"};
        std::string ignored;
        if (!assign({{"code", &ignored, true}, {"department", &a.department, true}, {"name", &a.name, false},
                     {"price", &a.price, true}, {"single", &a.single, true}, {"vat", &a.vat, true},
                     {"unit", &a.unit, true}, {"type", &a.type, true}, {"total", &a.total, true},
                     {"quantity", &a.quantity, true}, {"stock", &a.stock, true}}))
            return false;
        for (const std::string *one : {&a.single, &a.vat, &a.unit, &a.type})
            if (one->size() != 1) {
                error = "article single, vat, unit and type are one digit each";
                return false;
            }
        articles[code] = a;
        return true;
    }
    if (kw == "status") {
        std::string menu = std::to_string(status.menu), err = std::to_string(status.error),
                    state = std::to_string(status.state), count = std::to_string(status.count);
        if (!noWord() || !assign({{"menu", &menu, true}, {"error", &err, true}, {"state", &state, true},
                                  {"count", &count, false}}))
            return false;
        if (menu.size() > 1 || err.size() > 2 || state.size() > 1
            || !(count == "auto" || count == "-1" || (isDigits(count) && count.size() <= 5))) {
            error = "status: menu and state one digit, error up to two, count up to five digits or auto";
            return false;
        }
        status.menu = std::stoi(menu);
        status.error = std::stoi(err);
        status.state = std::stoi(state);
        status.count = (count == "auto" || count == "-1") ? -1 : std::stoi(count);
        return true;
    }
    if (kw == "modem") {
        if (!noWord())
            return false;
        std::vector<std::string> dials;
        for (const auto &[key, value] : rec.fields) {
            if (key == "dial") {
                dials.push_back(value);
            } else if (key == "echo" && (value == "0" || value == "1")) {
                modemEcho = value == "1";
            } else if (key == "password") {
                password = value;
            } else {
                error = "modem takes dial=, echo=0|1 and password=";
                return false;
            }
        }
        if (!dials.empty()) {
            dialResults = dials;
            dialsAnswered_ = 0;
        }
        return true;
    }
    if (kw == "reply") {
        std::string request, answer = "frame", payload;
        bool hasRequest = false;
        for (const auto &f : rec.fields)
            hasRequest = hasRequest || f.first == "request";
        if (!noWord() || !assign({{"request", &request, false}, {"answer", &answer, false},
                                  {"payload", &payload, false}}))
            return false;
        FixedReply r;
        if (answer == "ack")
            r.kind = Reply::Ack;
        else if (answer == "nak")
            r.kind = Reply::Nak;
        else if (answer == "silent")
            r.kind = Reply::Silence;
        else if (answer == "frame" && !payload.empty())
            r = {Reply::Frame, payload};
        else {
            error = "reply answer= is ack, nak, silent or frame with a payload=";
            return false;
        }
        if (!hasRequest || request.empty()) {
            error = "reply needs request=";
            return false;
        }
        fixedReplies[request] = r;
        return true;
    }
    if (kw == "clear") {
        if (!rec.fields.empty() || (rec.word != "articles" && rec.word != "replies" && rec.word != "modem")) {
            error = "clear takes articles, replies or modem";
            return false;
        }
        if (rec.word == "articles")
            articles.clear();
        else if (rec.word == "replies")
            fixedReplies.clear();
        else {
            dialResults.clear();
            dialsAnswered_ = 0;
        }
        return true;
    }
    if (kw == "log") {
        return noWord() && assign({{"logo", &lastLogoSlot, false}, {"key", &lastKey, false}});
    }
    error = "unknown record \"" + kw + "\"";
    return false;
}

bool RegisterModel::applyText(const std::string &text, std::string &error)
{
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::string why;
        if (!applyLine(line, why)) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
    }
    return true;
}

std::string RegisterModel::stateText() const
{
    std::ostringstream out;
    out << "# kalvo-regsim register state (see kalvo-regsim --help)\n";
    for (std::size_t i = 0; i < departments.size(); ++i) {
        const Department &d = departments[i];
        out << "department " << i << " name=" << quoted(d.name) << " maxprice=" << quoted(d.maxPrice)
            << " amount=" << d.amount << " quantity=" << d.quantity << "\n";
    }
    for (std::size_t i = 0; i < vatRates.size(); ++i)
        out << "vat " << i << " rate=" << vatRates[i].rate << " amount=" << vatRates[i].amount << "\n";
    for (std::size_t i = 0; i < operators.size(); ++i) {
        const Operator &o = operators[i];
        out << "operator " << i << " name=" << quoted(o.name) << " code=" << quoted(o.code)
            << " amount=" << o.amount << " receipts=" << o.receipts << "\n";
    }
    for (std::size_t i = 0; i < currencies.size(); ++i)
        out << "currency " << i << " name=" << quoted(currencies[i].name) << " rate=" << quoted(currencies[i].rate) << "\n";
    for (std::size_t i = 0; i < units.size(); ++i)
        out << "unit " << i + 1 << " name=" << quoted(units[i]) << "\n";
    for (std::size_t i = 0; i < types.size(); ++i)
        out << "type " << i + 1 << " name=" << quoted(types[i]) << "\n";
    for (std::size_t i = 0; i < headerLines.size(); ++i)
        out << "header " << i << " image=" << quoted(headerLines[i]) << "\n";
    for (std::size_t i = 0; i < advertLines.size(); ++i)
        out << "advert " << i << " image=" << quoted(advertLines[i]) << "\n";
    out << "message row1=" << quoted(messageRows[0]) << " row2=" << quoted(messageRows[1])
        << " row3=" << quoted(messageRows[2]) << "\n";
    out << "settings value=" << settings << "\n";
    out << "clear articles\n";
    for (const auto &[code, a] : articles) {
        out << "article code=" << code << " department=" << a.department << " name=" << quoted(a.name)
            << " price=" << a.price << " single=" << a.single << " vat=" << a.vat << " unit=" << a.unit
            << " type=" << a.type << " total=" << a.total << " quantity=" << a.quantity << " stock=" << a.stock
            << "\n";
    }
    out << "status menu=" << status.menu << " error=" << status.error << " state=" << status.state
        << " count=" << (status.count < 0 ? std::string("auto") : std::to_string(status.count)) << "\n";
    out << "clear modem\n";
    out << "modem echo=" << (modemEcho ? 1 : 0) << " password=" << quoted(password);
    for (const std::string &d : dialResults)
        out << " dial=" << quoted(d);
    out << "\n";
    out << "clear replies\n";
    for (const auto &[request, r] : fixedReplies) {
        static const char *kinds[] = {"ack", "nak", "frame", "silent"};
        out << "reply request=" << quoted(request) << " answer=" << kinds[r.kind];
        if (r.kind == Reply::Frame)
            out << " payload=" << quoted(r.payload);
        out << "\n";
    }
    out << "log logo=" << quoted(lastLogoSlot) << " key=" << quoted(lastKey) << "\n";
    return out.str();
}

bool RegisterModel::load(const std::string &path, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!applyText(text.str(), error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool RegisterModel::dump(const std::string &path, std::string &error) const
{
    // Written beside the target and renamed over it, so a failed write leaves the old file.
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << stateText();
        out.flush();
        if (!out) {
            error = temp + ": " + std::strerror(errno);
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

const char *RegisterModel::helpText()
{
    return "Register state (--state FILE, --set RECORD): one record per line, '#' starts a\n"
           "  comment. A record is a keyword, the record number as it travels on the line,\n"
           "  then key=value fields; a value is a bare word or a \"quoted text\" with \\\\ \\\"\n"
           "  \\n \\r \\t \\0 \\xHH escapes. A file is applied on top of the defaults and need\n"
           "  hold only what it changes; at exit the whole state is written back.\n"
           "    department 0..9 name= maxprice= amount= quantity=\n"
           "    vat 0..9 rate= amount=            operator 0..30 name= code= amount= receipts=\n"
           "    currency 0..3 name= rate=         unit 1..5 name=      type 1..8 name=\n"
           "    header 0..5 image=                advert 0..5 image=\n"
           "    message row1= row2= row3=         settings value=(14 digits, what \"L\" returns)\n"
           "    article code= department= name= price= single= vat= unit= type= total=\n"
           "            quantity= stock=          (amounts in hundredths, quantities in\n"
           "                                       thousandths; \"PTSOLD\" gives articles\n"
           "                                       whose quantity is not 0)\n"
           "    status menu= error= state= count=(digits or auto: the number of articles)\n"
           "    modem dial= echo=0|1 password=    (dial= results are answered in turn, the\n"
           "                                       last repeating: \"CONNECT 9600\", BUSY,\n"
           "                                       \"NO CARRIER\", \"NO ANSWER\", \"NO DIALTONE\",\n"
           "                                       RING, any text, or none for silence)\n"
           "    reply request= answer=ack|nak|silent|frame payload=\n"
           "                                      (a fixed answer to one exact payload)\n"
           "    clear articles|replies|modem\n"
           "  Example: --set 'article code=123 name=\"Mleko\" price=8990 quantity=2000'\n"
           "\n"
           "Modem: AT commands are echoed and answered OK; ATD (ATDT/ATDP) answers with the\n"
           "  next dial result (--dial TEXT, repeatable, or modem dial=); after CONNECT the\n"
           "  next text line is taken as the password; ATH or +++ hangs up with OK.\n";
}

} // namespace regsim
