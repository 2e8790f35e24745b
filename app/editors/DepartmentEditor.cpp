#include "editors/DepartmentEditor.h"

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

std::string padRight(std::string s, std::size_t width, char fill = ' ')
{
    if (s.size() < width)
        s.append(width - s.size(), fill);
    return s;
}

std::string padLeft(const std::string &s, std::size_t width, char fill)
{
    return s.size() < width ? std::string(width - s.size(), fill) + s : s;
}

bool startsWith(const std::string &s, const std::string &prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

bool allDigits(const std::string &s)
{
    for (unsigned char c : s)
        if (!std::isdigit(c))
            return false;
    return true;
}

const QString kTitle = QString::fromLatin1(kAppTitle);

} // namespace

std::string CollapseSpaces(std::string text)
{
    for (auto pos = text.find("  "); pos != std::string::npos; pos = text.find("  ", pos))
        text.erase(pos, 1);
    return text;
}

std::string DepartmentListName(const std::string &name, int number, bool cyrillicMode)
{
    static const std::string latin = "Odeljenje";
    static const std::string code = "Odeqewe";
    if (trim(name).empty())
        return (cyrillicMode ? code : latin) + "  " + std::to_string(number);
    if (cyrillicMode)
        return startsWith(name, latin) ? code + name.substr(latin.size()) : ConvertRegisterText(name, false);
    return startsWith(name, code) ? latin + name.substr(code.size()) : ConvertRegisterText(name, true);
}

std::optional<std::string> NormaliseMaxPrice(const std::string &typed)
{
    const std::string t = trim(typed);
    if (t.empty())
        return std::string();
    const auto point = t.find('.');
    std::string whole = t.substr(0, point);
    const std::string fraction = point == std::string::npos ? std::string() : t.substr(point + 1);
    if ((whole.empty() && fraction.empty()) || !allDigits(whole) || !allDigits(fraction))
        return std::nullopt;
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > 8)
        return std::nullopt;
    return padLeft(whole, 8, '0');
}

bool IsValidVatGroup(const std::string &typed)
{
    const std::string t = trim(typed);
    return t.empty() || (t.size() == 1 && t[0] >= '0' && t[0] <= '4');
}

DepartmentEditor::DepartmentEditor(ProgrammingData &data, Prompter &prompter)
    : m_data(data), m_prompter(prompter), m_copy(data.Departments)
{
}

std::string DepartmentEditor::listRow(int number)
{
    DepartmentRecord &d = m_data.Departments[std::size_t(number)];
    d.name = DepartmentListName(d.name, number, m_data.CyrillicMode);
    sync();
    std::string shown = d.name;
    shown.erase(shown.find_last_not_of(' ') + 1);  // the padding is not shown
    return std::to_string(number) + " - " + CollapseSpaces(shown);
}

std::vector<std::string> DepartmentEditor::fillList()
{
    std::vector<std::string> rows;
    for (int n = 1; n <= kCount; ++n)
        rows.push_back(listRow(n));
    return rows;
}

DepartmentPanel DepartmentEditor::panelOf(int number) const
{
    const DepartmentRecord &d = m_data.Departments[std::size_t(number)];
    DepartmentPanel p;
    p.name = CollapseSpaces(trim(d.name));
    if (HasNoLatinLetters(p.name))
        p.name = From8859(p.name);
    p.maxPrice = trim(d.maxPrice);
    p.vatGroup = trim(d.vatGroup);
    p.singleItem = trim(d.singleItem) == "1";
    return p;
}

bool DepartmentEditor::checkVatGroup(const std::string &typed)
{
    if (IsValidVatGroup(typed))
        return true;
    m_prompter.tell(QStringLiteral("Poreska stopa ne postoji!"), kTitle, Icon::Exclamation);
    return false;
}

std::optional<DepartmentPanel> DepartmentEditor::validate(const DepartmentPanel &panel)
{
    DepartmentPanel p = panel;
    const auto price = NormaliseMaxPrice(p.maxPrice);
    if (!price) {
        m_prompter.tell(QStringLiteral("Vrednosti nisu korektne"), kTitle, Icon::None);
        return std::nullopt;
    }
    p.maxPrice = *price;
    // a tax group the register does not have is never stored
    if (!checkVatGroup(p.vatGroup))
        return std::nullopt;
    p.vatGroup = trim(p.vatGroup).empty() ? "0" : trim(p.vatGroup);
    return p;
}

void DepartmentEditor::store(int number, const DepartmentPanel &p)
{
    DepartmentRecord &d = m_data.Departments[std::size_t(number)];
    d.name = padRight(p.name, 12);
    d.maxPrice = padLeft(trim(p.maxPrice), 8, ' ');
    d.vatGroup = trim(p.vatGroup);
    d.singleItem = p.singleItem ? "1" : "0";
    sync();
}

std::optional<DepartmentPanel> DepartmentEditor::aggiorna(int selected, const DepartmentPanel &panel)
{
    const auto p = validate(panel);
    if (!p)
        return std::nullopt;
    if (selected < 1 || selected > kCount) {
        m_prompter.tell(QStringLiteral("Niste odabrali odeljenje."), kTitle, Icon::Exclamation);
        return std::nullopt;
    }
    store(selected, *p);
    return p;
}

int DepartmentEditor::inserisci(int rowCount, const DepartmentPanel &panel)
{
    const auto p = validate(panel);
    if (!p)
        return 0;
    const int number = rowCount + 1;
    if (number > kCount) {
        m_prompter.tell(QStringLiteral("Maksimalan broj"), kTitle, Icon::Exclamation);
        return 0;
    }
    store(number, *p);
    return number;
}

bool DepartmentEditor::elimina(int selected)
{
    if (selected < 1 || selected > kCount) {
        m_prompter.tell(QStringLiteral("Niste odabrali odeljenje."), kTitle, Icon::Exclamation);
        return false;
    }
    if (m_prompter.ask(QStringLiteral("Dali ste sigurni?"), kTitle, Icon::Exclamation, Buttons::YesNo) != Answer::Yes)
        return false;
    DepartmentRecord &d = m_data.Departments[std::size_t(selected)];
    d.name.clear();
    d.maxPrice.clear();
    d.vatGroup = "0";
    d.singleItem = "0";
    sync();
    return true;
}

bool DepartmentEditor::svuota()
{
    if (m_prompter.ask(QStringLiteral("Da li ste sigurni?"), kTitle, Icon::Exclamation, Buttons::YesNo) != Answer::Yes)
        return false;
    for (DepartmentRecord &d : m_data.Departments) {
        d.name.clear();
        d.maxPrice.clear();
        d.vatGroup = "0";
        d.singleItem = "0";
    }
    sync();
    return true;
}

void DepartmentEditor::toCyrillic()
{
    for (int n = 1; n <= kCount; ++n)
        m_data.Departments[std::size_t(n)].name = To8859(m_data.Departments[std::size_t(n)].name);
    m_data.CyrillicFormFlags.departments = true;
    sync();
}

void DepartmentEditor::toLatinFont()
{
    m_data.CyrillicFormFlags.departments = false;
}

} // namespace kalvo
