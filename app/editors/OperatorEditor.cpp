#include "editors/OperatorEditor.h"

#include "data/RegisterText.h"
#include "shell/AppGlobals.h"
#include "shell/Prompter.h"

#include <QString>

#include <cctype>

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

bool isWholeNumber(const std::string &s)
{
    if (s.empty())
        return false;
    for (unsigned char c : s)
        if (!std::isdigit(c))
            return false;
    return true;
}

const QString kTitle = QString::fromLatin1(kAppTitle);

void resetCashier(OperatorRecord &o, int number)
{
    o.code = std::to_string(number);
    o.name = "Kasir " + std::to_string(number);
}

} // namespace

bool IsValidOperatorCode(const std::string &typed)
{
    const std::string t = trim(typed);
    if (!isWholeNumber(t))
        return false;
    const auto significant = t.find_first_not_of('0');
    return significant == std::string::npos || t.size() - significant <= 5;
}

OperatorEditor::OperatorEditor(ProgrammingData &data, Prompter &prompter)
    : m_data(data), m_prompter(prompter), m_copy(data.Operators)
{
}

std::vector<std::string> OperatorEditor::fillList()
{
    std::vector<std::string> rows;
    m_rows.clear();
    for (int n = 1; n <= kCount; ++n) {
        OperatorRecord &o = m_data.Operators[std::size_t(n)];
        if (trim(o.code).empty())
            resetCashier(o, n);
        const std::string gap(n < 10 ? 4 : 3, ' ');
        rows.push_back("Op." + std::to_string(n) + gap + o.code + gap + ConvertRegisterText(o.name, !m_data.CyrillicMode));
        m_rows.push_back(n);
    }
    sync();
    return rows;
}

int OperatorEditor::numberOfRow(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[std::size_t(row)] : 0;
}

OperatorPanel OperatorEditor::panelOf(int number) const
{
    const OperatorRecord &o = m_data.Operators[std::size_t(number)];
    OperatorPanel p;
    const std::string code = trim(o.code);
    p.code = isWholeNumber(code) ? code : "00001";
    if (p.code.size() < 5)
        p.code.insert(0, 5 - p.code.size(), '0');
    p.name = HasNoLatinLetters(o.name) ? From8859(o.name) : o.name;
    return p;
}

bool OperatorEditor::validate(const OperatorPanel &panel)
{
    if (IsValidOperatorCode(panel.code))
        return true;
    m_prompter.tell(QStringLiteral("Kod je broj maksimalno do 99999."), kTitle, Icon::Information);
    return false;
}

bool OperatorEditor::aggiorna(int number, const OperatorPanel &panel)
{
    if (!validate(panel) || number < 1 || number > kCount)
        return false;
    OperatorRecord &o = m_data.Operators[std::size_t(number)];
    o.code = trim(panel.code);
    // a valid code of more than 5 characters has surplus leading zeros: the line carries 5
    while (o.code.size() > 5 && o.code.front() == '0')
        o.code.erase(0, 1);
    if (o.code.size() < 5)
        o.code.append(5 - o.code.size(), ' ');
    o.name = panel.name;
    sync();
    return true;
}

bool OperatorEditor::elimina(int number, const OperatorPanel &panel)
{
    if (number < 1 || number > kCount)
        return false;
    if (m_prompter.ask(QStringLiteral("Da li ste sigurni?"), kTitle, Icon::Exclamation, Buttons::YesNo) != Answer::Yes)
        return false;
    if (!validate(panel))
        return false;
    resetCashier(m_data.Operators[std::size_t(number)], number);
    sync();
    return true;
}

void OperatorEditor::toCyrillic()
{
    for (int n = 1; n <= kCount; ++n)
        m_data.Operators[std::size_t(n)].name = To8859(m_data.Operators[std::size_t(n)].name);
    m_data.CyrillicFormFlags.operators = true;
    sync();
}

void OperatorEditor::toLatinFont()
{
    m_data.CyrillicFormFlags.operators = false;
}

} // namespace kalvo
