#include "data/ProgrammingFile.h"

#include "data/Codec.h"
#include "shell/IniFile.h"
#include "shell/Prompter.h"

#include <QByteArray>

#include <cmath>
#include <limits>

namespace kalvo {

namespace {

const QString kTitle = QStringLiteral("Orvel Cash Registers");

std::string trimmedBlanks(const std::string &text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && blank(text[b]))
        ++b;
    while (e > b && blank(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

QByteArray bytes(const std::string &s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

QByteArray numbered(const char *key, int n)
{
    return QByteArray(key) + '_' + QByteArray::number(n);
}

// Strict decimal number: [+-] digits [. digits] | [+-] . digits
bool isDecimalNumber(const std::string &t)
{
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    return digits > 0 && i == t.size();
}

class Reader {
public:
    Reader(ProgrammingData &data, Prompter &prompter)
        : m_data(data), m_prompter(prompter), m_ini(data.ProgrammingFilePath) {}

    bool run();

private:
    std::string raw(const char *section, const QByteArray &key) const
    {
        const QByteArray v = m_ini.GetSetting(section, key);
        return std::string(v.constData(), std::size_t(v.size()));
    }
    std::string text(const char *section, const QByteArray &key) const { return trimmedBlanks(raw(section, key)); }

    bool wholeNumber(const char *section, const char *key, long long minimum, long long maximum, long long &value);
    void conversionError(const char *section, const char *key, const std::string &value, ConversionResult why,
                         const char *expected);

    ProgrammingData &m_data;
    Prompter &m_prompter;
    cIniFile m_ini;
};

void Reader::conversionError(const char *section, const char *key, const std::string &value,
                             ConversionResult why, const char *expected)
{
    const QString shown = ansiToUnicode(bytes(value));
    QString msg = QStringLiteral("Vrednost \"%1\" kljuca %2 u sekciji [%3] ").arg(shown, QLatin1String(key),
                                                                                 QLatin1String(section));
    if (why == ConversionResult::OutOfRange)
        msg += QStringLiteral("je van dozvoljenog opsega (%1).").arg(QLatin1String(expected));
    else
        msg += QStringLiteral("nije %1.").arg(QLatin1String(expected));
    m_prompter.ask(msg, kTitle, Icon::Critical, Buttons::Ok);
}

bool Reader::wholeNumber(const char *section, const char *key, long long minimum, long long maximum,
                         long long &value)
{
    const std::string v = text(section, key);
    const ConversionResult r = ConvertWholeNumber(v, minimum, maximum, value);
    if (r == ConversionResult::Ok)
        return true;
    const std::string range = std::to_string(minimum) + ".." + std::to_string(maximum);
    conversionError(section, key, v, r, r == ConversionResult::OutOfRange ? range.c_str() : "ceo broj");
    return false;
}

bool Reader::run()
{
    ProgrammingData &d = m_data;

    d.FileVersion = text("KALVO", "VERSION");
    if (d.FileVersion != kProgrammingFileMarker) {
        m_prompter.ask(QStringLiteral("Fajl nije validan"), kTitle, Icon::Critical, Buttons::Ok);
        return false;
    }

    for (int n = 0; n < ProgrammingData::kLinesUsed; ++n)
        d.HeaderLines[n] = raw("HEADER", numbered("ROW", n));
    for (int n = 0; n < ProgrammingData::kLinesUsed; ++n)
        d.AdvertLines[n] = raw("ADVERTIZE", numbered("ROW", n));

    for (int n = 1; n <= ProgrammingData::kDepartmentCount; ++n) {
        std::string name = raw("DEPARTMENTS", numbered("DESCRIPTION", n));
        if (name.size() < 12)
            name.resize(12, ' ');
        d.Departments[n].name = name;
    }

    for (int n = 1; n <= ProgrammingData::kOperatorCount; ++n) {
        d.Operators[n].code = text("OPERATORS", numbered("CODE", n));
        d.Operators[n].name = text("OPERATORS", numbered("NAME", n));
    }

    for (int n = 1; n <= ProgrammingData::kVatRateCount; ++n)
        d.VatRates[n - 1].rate = text("VAT", numbered("TAX", n));

    RegisterSettings &s = d.RegisterSettings;
    s.registerNumber = text("SISTEM", "CASH");
    s.printIntensity = text("SISTEM", "PRINT");
    s.logo1Enabled = text("SISTEM", "GRAFICA1");
    s.logo1Number = text("SISTEM", "GRAFICA1_IMG");
    s.logo2Enabled = text("SISTEM", "GRAFICA2");
    s.logo2Number = text("SISTEM", "GRAFICA2_IMG");
    s.cashierLoginRequired = text("SISTEM", "OBLIGATE");
    s.testMenu = text("SISTEM", "TEST_MENY");
    s.toneSignal = text("SISTEM", "SINGLE");
    s.speedIndex = text("SISTEM", "SPEED");

    for (int n = 1; n <= ProgrammingData::kCurrencyCount; ++n) {
        d.Currencies[n].name = text("VALUTE", numbered("DESCRIPTION", n));
        d.Currencies[n].rate = text("VALUTE", numbered("CONVERSION", n));
    }

    for (int n = 1; n <= ProgrammingData::kUnitCount; ++n)
        d.Units[n].name = text("UNITS", numbered("DESCR", n));
    for (int n = 1; n <= ProgrammingData::kUnitCount; ++n)
        d.Units[n].shortName = text("UNITS", numbered("SHORT", n));

    for (int n = 1; n <= ProgrammingData::kArticleTypeCount; ++n)
        d.ArticleTypes[n].name = text("PLUTYPE", numbered("DESCR", n));

    LinkSettings &l = d.LinkSettings;
    long long number = 0;
    if (!wholeNumber("SETPORT", "PORT", std::numeric_limits<std::int16_t>::min(),
                     std::numeric_limits<std::int16_t>::max(), number))
        return false;
    l.port = static_cast<std::int16_t>(number);
    if (!wholeNumber("SETPORT", "SPEED", std::numeric_limits<std::int32_t>::min(),
                     std::numeric_limits<std::int32_t>::max(), number))
        return false;
    l.baudRate = static_cast<std::int32_t>(number);

    const std::string lng = text("SETLNG", "LNG");
    bool display = false;
    const ConversionResult r = ConvertBoolean(lng, display);
    if (r != ConversionResult::Ok) {
        conversionError("SETLNG", "LNG", lng, r, "True ili False");
        return false;
    }
    l.DisplayCyrillic = display;

    if (!wholeNumber("SETWDTH", "WDTH", std::numeric_limits<std::int16_t>::min(),
                     std::numeric_limits<std::int16_t>::max(), number))
        return false;
    l.lineWidth = static_cast<std::int16_t>(number);

    l.phoneNumber = text("SETPHONE", "PHONENM");
    l.dialMode = text("SETPHONE", "PHONEPT");
    l.phonePassword = text("SETPHONE", "PHONEPSS");
    return true;
}

class Writer {
public:
    // The file is written once at the end: one save is one rewrite of the file, and a
    // failed write leaves the old file as it was.
    Writer(const ProgrammingData &data, Prompter &prompter)
        : m_prompter(prompter), m_ini(data.ProgrammingFilePath)
    {
        m_ini.BeginUpdate();
    }

    // Sets one key; after the first failure it reports once and sets nothing more.
    void put(const char *section, const QByteArray &key, const std::string &value)
    {
        if (m_failed)
            return;
        // A line break or NUL cannot stand inside an ini value: it would end the line.
        QByteArray v = bytes(value);
        for (char &c : v)
            if (c == '\r' || c == '\n' || c == '\0')
                c = ' ';
        if (!m_ini.SaveSetting(section, key, v))
            fail(QStringLiteral(" (sekcija [%1], kljuc %2)").arg(QLatin1String(section), QString::fromLatin1(key)));
    }

    // Writes the file; keys set before a failure are written all the same.
    bool finish()
    {
        if (!m_ini.EndUpdate())
            fail(QString());
        return !m_failed;
    }

private:
    void fail(const QString &where)
    {
        if (m_failed)
            return;
        m_failed = true;
        m_prompter.ask(QStringLiteral("Upis u fajl \"%1\" nije uspeo%2.").arg(m_ini.FileName, where), kTitle,
                       Icon::Critical, Buttons::Ok);
    }

    Prompter &m_prompter;
    cIniFile m_ini;
    bool m_failed = false;
};

} // namespace

ConversionResult ConvertWholeNumber(const std::string &text, long long minimum, long long maximum,
                                    long long &value)
{
    const std::string t = trimmedBlanks(text);
    if (!isDecimalNumber(t))
        return ConversionResult::NotANumber;
    bool ok = false;
    const double d = QByteArray(t.data(), qsizetype(t.size())).toDouble(&ok);
    if (!ok)  // the syntax is sound, so only the size can have failed
        return ConversionResult::OutOfRange;
    const double rounded = std::nearbyint(d);  // default rounding: halves to the even neighbour
    if (!std::isfinite(rounded) || rounded < double(minimum) || rounded > double(maximum))
        return ConversionResult::OutOfRange;
    value = static_cast<long long>(rounded);
    return ConversionResult::Ok;
}

ConversionResult ConvertBoolean(const std::string &text, bool &value)
{
    const QByteArray t = bytes(trimmedBlanks(text)).toLower();
    if (t == "true") {
        value = true;
        return ConversionResult::Ok;
    }
    if (t == "false") {
        value = false;
        return ConversionResult::Ok;
    }
    if (!isDecimalNumber(t.toStdString()))
        return ConversionResult::NotANumber;
    value = t.toDouble() != 0.0;
    return ConversionResult::Ok;
}

bool ReadProgrammingFile(ProgrammingData &data, Prompter &prompter)
{
    return Reader(data, prompter).run();
}

bool WriteProgrammingFile(const ProgrammingData &data, Prompter &prompter)
{
    Writer w(data, prompter);
    const ProgrammingData &d = data;

    w.put("KALVO", "VERSION", kProgrammingFileMarker);
    for (int n = 0; n < ProgrammingData::kLinesUsed; ++n)
        w.put("HEADER", numbered("ROW", n), d.HeaderLines[n]);
    for (int n = 0; n < ProgrammingData::kLinesUsed; ++n)
        w.put("ADVERTIZE", numbered("ROW", n), d.AdvertLines[n]);

    for (int n = 1; n <= ProgrammingData::kDepartmentCount; ++n)
        w.put("DEPARTMENTS", numbered("DESCRIPTION", n), d.Departments[n].name);

    for (int n = 1; n <= ProgrammingData::kOperatorCount; ++n) {
        w.put("OPERATORS", numbered("CODE", n), d.Operators[n].code);
        w.put("OPERATORS", numbered("NAME", n), d.Operators[n].name);
    }

    for (int n = 1; n <= ProgrammingData::kVatRateCount; ++n)
        w.put("VAT", numbered("TAX", n), d.VatRates[n - 1].rate);

    const RegisterSettings &s = d.RegisterSettings;
    w.put("SISTEM", "CASH", s.registerNumber);
    w.put("SISTEM", "PRINT", s.printIntensity);
    w.put("SISTEM", "GRAFICA1", s.logo1Enabled);
    w.put("SISTEM", "GRAFICA1_IMG", s.logo1Number);
    w.put("SISTEM", "GRAFICA2", s.logo2Enabled);
    w.put("SISTEM", "GRAFICA2_IMG", s.logo2Number);
    w.put("SISTEM", "OBLIGATE", s.cashierLoginRequired);
    w.put("SISTEM", "TEST_MENY", s.testMenu);
    w.put("SISTEM", "SINGLE", s.toneSignal);
    w.put("SISTEM", "SPEED", s.speedIndex);

    for (int n = 1; n <= ProgrammingData::kCurrencyCount; ++n) {
        w.put("VALUTE", numbered("DESCRIPTION", n), d.Currencies[n].name);
        w.put("VALUTE", numbered("CONVERSION", n), d.Currencies[n].rate);
    }

    for (int n = 1; n <= ProgrammingData::kUnitCount; ++n)
        w.put("UNITS", numbered("DESCR", n), d.Units[n].name);
    for (int n = 1; n <= ProgrammingData::kUnitCount; ++n)
        w.put("UNITS", numbered("SHORT", n), d.Units[n].shortName);
    for (int n = 1; n <= ProgrammingData::kArticleTypeCount; ++n)
        w.put("PLUTYPE", numbered("DESCR", n), d.ArticleTypes[n].name);

    const LinkSettings &l = d.LinkSettings;
    w.put("SETPORT", "PORT", std::to_string(l.port));
    w.put("SETPORT", "SPEED", std::to_string(l.baudRate));
    w.put("SETLNG", "LNG", l.DisplayCyrillic ? "True" : "False");
    w.put("SETWDTH", "WDTH", std::to_string(l.lineWidth));
    w.put("SETPHONE", "PHONENM", l.phoneNumber);
    w.put("SETPHONE", "PHONEPT", l.dialMode);
    w.put("SETPHONE", "PHONEPSS", l.phonePassword);
    return w.finish();
}

} // namespace kalvo
