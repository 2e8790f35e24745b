#include "editors/UnitAndTypeNames.h"

#include "data/RegisterText.h"

namespace kalvo {

void NameTableCopy::reload()
{
    m_entries.clear();
    if (m_table == NameTable::Units) {
        for (int n = 1; n <= ProgrammingData::kUnitCount; ++n)
            m_entries.push_back({m_data.Units[std::size_t(n)].name, m_data.Units[std::size_t(n)].shortName});
    } else {
        for (int n = 1; n <= ProgrammingData::kArticleTypeCount; ++n)
            m_entries.push_back({m_data.ArticleTypes[std::size_t(n)].name, m_data.ArticleTypes[std::size_t(n)].shortName});
    }
}

std::vector<std::string> NameTableCopy::rows() const
{
    const bool from8859 = m_table == NameTable::ArticleTypes && m_data.CyrillicFormFlags.articleTypes;
    std::vector<std::string> out;
    for (int n = 1; n <= count(); ++n) {
        const std::string &name = entry(n).name;
        out.push_back(std::to_string(n) + "   - " + (from8859 ? From8859(name) : name));
    }
    return out;
}

bool NameTableCopy::update(int n, const std::string &name, const std::string &shortName)
{
    if (n < 1 || n > count())
        return false;
    if (m_table == NameTable::Units)
        m_data.Units[std::size_t(n)] = {name, shortName};
    else
        m_data.ArticleTypes[std::size_t(n)] = {name, shortName};
    m_entries[std::size_t(n - 1)] = {name, shortName};
    return true;
}

} // namespace kalvo
