#pragma once
// The measurement units (1..5) and article types (1..8) as their two rename editors see
// them: a working copy of the table, the list rows and the one change they make.
#include "data/ProgrammingData.h"

#include <string>
#include <vector>

namespace kalvo {

enum class NameTable { Units, ArticleTypes };

struct NameEntry {
    std::string name;
    std::string shortName;
    bool operator==(const NameEntry &) const = default;
};

class NameTableCopy {
public:
    NameTableCopy(ProgrammingData &data, NameTable table) : m_data(data), m_table(table) { reload(); }

    // Number of entries: 5 units or 8 article types.
    int count() const { return int(m_entries.size()); }
    // Takes the table into the working copy again.
    void reload();
    // Entry n (1..count()) of the working copy.
    const NameEntry &entry(int n) const { return m_entries.at(std::size_t(n - 1)); }
    // One row per entry: n, "   - ", the name; article-type names are shown in their
    // From8859 form while the article-type flag of CyrillicFormFlags is set.
    std::vector<std::string> rows() const;
    // Renames entry n in the table and the working copy; false (nothing changed) when n is
    // not an entry.
    bool update(int n, const std::string &name, const std::string &shortName);

private:
    ProgrammingData &m_data;
    NameTable m_table;
    std::vector<NameEntry> m_entries;
};

} // namespace kalvo
