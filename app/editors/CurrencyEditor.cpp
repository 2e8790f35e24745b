#include "editors/CurrencyEditor.h"

#include "data/RegisterText.h"
#include "shell/AppGlobals.h"
#include "shell/Prompter.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace kalvo {

namespace {

std::string trim(const std::string &s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

const QString kTitle = QString::fromLatin1(kAppTitle);

bool inUse(const CurrencyRecord &c) { return !trim(c.name).empty() || !trim(c.rate).empty(); }

} // namespace

QString FilterRateInput(const QString &typed)
{
    QString out;
    bool point = false;
    for (QChar c : typed) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            out += c;
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !point) {
            out += QLatin1Char('.');
            point = true;
        }
    }
    return out;
}

std::optional<std::string> StoredRate(const std::string &typed)
{
    const std::string t = trim(typed);
    int digits = 0;
    int points = 0;
    for (unsigned char c : t) {
        if (std::isdigit(c))
            ++digits;
        else if (c == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1 || digits > 15)
        return std::nullopt;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", std::strtod(t.c_str(), nullptr));
    return std::string(buffer);
}

CurrencyEditor::CurrencyEditor(ProgrammingData &data, Prompter &prompter)
    : m_data(data), m_prompter(prompter), m_copy(data.Currencies)
{
}

std::vector<std::string> CurrencyEditor::fillList()
{
    std::vector<std::string> rows;
    m_rows.clear();
    for (int n = 1; n <= kCount; ++n) {
        const CurrencyRecord &c = m_data.Currencies[std::size_t(n)];
        if (!inUse(c))
            continue;
        rows.push_back(std::to_string(n) + "-" + c.rate + "    " + ConvertRegisterText(c.name, !m_data.CyrillicMode));
        m_rows.push_back(n);
    }
    return rows;
}

int CurrencyEditor::numberOfRow(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[std::size_t(row)] : 0;
}

CurrencyPanel CurrencyEditor::panelOf(int number) const
{
    const CurrencyRecord &c = m_data.Currencies[std::size_t(number)];
    return {trim(c.rate), HasNoLatinLetters(c.name) ? From8859(c.name) : c.name};
}

bool CurrencyEditor::validate(const CurrencyPanel &panel)
{
    QString message;
    if (trim(panel.name).empty())
        message = QStringLiteral("Unesite naziv !");
    else if (trim(panel.rate).empty())
        message = QStringLiteral("Unesite kurs !");
    else if (!StoredRate(panel.rate))
        message = QStringLiteral(" Vrednost konverzije nije numericka !");
    if (message.isEmpty())
        return true;
    m_prompter.tell(message, kTitle, Icon::Exclamation);
    return false;
}

void CurrencyEditor::store(int number, const CurrencyPanel &panel)
{
    CurrencyRecord &c = m_data.Currencies[std::size_t(number)];
    c.rate = *StoredRate(panel.rate);
    c.name = panel.name;
    sync();
}

int CurrencyEditor::inserisci(const CurrencyPanel &panel)
{
    if (!validate(panel))
        return 0;
    for (int n = 1; n <= kCount; ++n) {
        if (!inUse(m_data.Currencies[std::size_t(n)])) {
            store(n, panel);
            return n;
        }
    }
    m_prompter.tell(QStringLiteral("Maksimalni broj"), kTitle, Icon::Exclamation);
    return 0;
}

bool CurrencyEditor::aggiorna(int number, const CurrencyPanel &panel)
{
    if (!validate(panel) || number < 1 || number > kCount)
        return false;
    store(number, panel);
    return true;
}

bool CurrencyEditor::elimina(int number)
{
    if (number < 1 || number > kCount) {
        m_prompter.tell(QStringLiteral("Izaberite valutu za brisanje !"), kTitle, Icon::Exclamation);
        return false;
    }
    if (m_prompter.ask(QStringLiteral("Da li ste sigurni?"), kTitle, Icon::Exclamation, Buttons::YesNo) != Answer::Yes)
        return false;
    m_data.Currencies[std::size_t(number)] = CurrencyRecord{};
    sync();
    return true;
}

bool CurrencyEditor::svuota()
{
    if (m_prompter.ask(QStringLiteral("Da li ste sigurni?"), kTitle, Icon::Exclamation, Buttons::YesNo) != Answer::Yes)
        return false;
    for (std::size_t n = 0; n < m_data.Currencies.size(); ++n) {
        m_data.Currencies[n].rate = "0.000000";
        // the number in its sign-padded form: a blank stands where a minus sign would
        m_data.Currencies[n].name = To8859("VALUTA " + std::to_string(n));
    }
    sync();
    return true;
}

void CurrencyEditor::setCyrillicFont(bool on)
{
    m_data.CyrillicFormFlags.currencies = on;
}

} // namespace kalvo
