#pragma once
// The department editor's work on ProgrammingData::Departments: the names shown in its list,
// the panel's values, their checks and the toolbar actions. No widgets here; the window
// (editors/ui/frmreparti) only moves texts between its controls and these routines.
// Texts are register bytes (one char per byte).
#include "data/ProgrammingData.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kalvo {

class Prompter;

// The values of the edit panel.
struct DepartmentPanel {
    std::string name;
    std::string maxPrice;       // as typed; a valid one is normalised to 8 zero-padded digits
    std::string vatGroup = "0";
    bool singleItem = false;
    bool operator==(const DepartmentPanel &) const = default;
};

// Name of department `number` as its list shows and stores it: an empty name becomes
// "Odeqewe"/"Odeljenje" + the sign-padded number; otherwise the name is brought into the
// form of the Cyrillic mode (register code when on, Latin when off).
std::string DepartmentListName(const std::string &name, int number, bool cyrillicMode);

// A double space collapsed to one, repeatedly.
std::string CollapseSpaces(std::string text);

// A maximum price as stored: empty stays empty; a non-negative decimal number becomes its
// whole-number part zero-padded to 8 digits. Nothing when it is not such a number or its
// whole part needs more than 8 digits.
std::optional<std::string> NormaliseMaxPrice(const std::string &typed);

// True when the tax group is a whole number 0..4 (blanks around it allowed; empty means 0).
bool IsValidVatGroup(const std::string &typed);

class DepartmentEditor {
public:
    static constexpr int kCount = ProgrammingData::kDepartmentCount;

    DepartmentEditor(ProgrammingData &data, Prompter &prompter);

    // Names every department 1..10 for the list, stores the names back and returns the rows
    // ("3 - Odeljenje 3").
    std::vector<std::string> fillList();
    // The same for one department.
    std::string listRow(int number);

    // The panel filled from department `number` (1..10).
    DepartmentPanel panelOf(int number) const;

    // Tells "Poreska stopa ne postoji!" when the tax group is out of range; false then.
    bool checkVatGroup(const std::string &typed);

    // Checks the panel (price, then tax group) and returns it with the price normalised, or
    // nothing after telling the operator why.
    std::optional<DepartmentPanel> validate(const DepartmentPanel &panel);

    // Stores the panel into department `selected` (0 = none selected: "Niste odabrali
    // odeljenje."). Returns the stored panel (price normalised) when something was stored.
    std::optional<DepartmentPanel> aggiorna(int selected, const DepartmentPanel &panel);
    // Stores the panel into department rowCount + 1 ("Maksimalan broj" past 10) and returns
    // that number, or 0 when nothing was stored.
    int inserisci(int rowCount, const DepartmentPanel &panel);
    // Asks "Dali ste sigurni?" and empties department `selected`; true when it did.
    bool elimina(int selected);
    // Asks "Da li ste sigurni?" and empties departments 0..10; true when it did.
    bool svuota();
    // "Cirilica" ticked: every name in its 8-bit Cyrillic form, the table's flag set.
    void toCyrillic();
    // "Cirilica" unticked: the table's flag cleared.
    void toLatinFont();

    // The editor's working copy of the ten departments; it mirrors every change.
    const std::array<DepartmentRecord, 11> &workingCopy() const { return m_copy; }

private:
    void store(int number, const DepartmentPanel &panel);
    void sync() { m_copy = m_data.Departments; }

    ProgrammingData &m_data;
    Prompter &m_prompter;
    std::array<DepartmentRecord, 11> m_copy;
};

} // namespace kalvo
