#pragma once
// The cashier editor's work on ProgrammingData::Operators: list rows, the panel's values,
// the code check and the toolbar actions. No widgets here (the window is editors/ui/frmoperatori).
// Texts are register bytes (one char per byte).
#include "data/ProgrammingData.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kalvo {

class Prompter;

struct OperatorPanel {
    std::string code;  // shown zero-padded to 5
    std::string name;
    bool operator==(const OperatorPanel &) const = default;
};

// True when the code is a whole number 0..99999 (blanks around it allowed).
bool IsValidOperatorCode(const std::string &typed);

class OperatorEditor {
public:
    static constexpr int kCount = ProgrammingData::kOperatorCount;

    OperatorEditor(ProgrammingData &data, Prompter &prompter);

    // One row per cashier with a code, after every cashier without one is given its start-up
    // code and name: "Op.7    7        Kasir 7". rowNumbers() tells the cashier of each row.
    std::vector<std::string> fillList();
    const std::vector<int> &rowNumbers() const { return m_rows; }
    // Cashier number of a list row, 0 for none.
    int numberOfRow(int row) const;

    // The panel filled from cashier `number`.
    OperatorPanel panelOf(int number) const;

    // Tells "Kod je broj maksimalno do 99999." for a code that is not 0..99999; false then.
    bool validate(const OperatorPanel &panel);
    // Stores the panel into cashier `number` (code padded to 5, name as typed); false when
    // the code is refused or no cashier is selected.
    bool aggiorna(int number, const OperatorPanel &panel);
    // Asks "Da li ste sigurni?"; on Yes checks the panel and returns cashier `number` to its
    // start-up code and name. True when it did.
    bool elimina(int number, const OperatorPanel &panel);
    // "Cirilica" ticked: every name in its 8-bit Cyrillic form, the table's flag set.
    void toCyrillic();
    // "Cirilica" unticked: the table's flag cleared.
    void toLatinFont();

    const std::array<OperatorRecord, 33> &workingCopy() const { return m_copy; }

private:
    void sync() { m_copy = m_data.Operators; }

    ProgrammingData &m_data;
    Prompter &m_prompter;
    std::array<OperatorRecord, 33> m_copy;
    std::vector<int> m_rows;
};

} // namespace kalvo
