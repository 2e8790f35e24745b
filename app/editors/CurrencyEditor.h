#pragma once
// The currency editor's work on ProgrammingData::Currencies: list rows, the panel's checks,
// the toolbar actions and the rate field's typing rule. No widgets here (the window is
// editors/ui/frmValuta). Texts are register bytes (one char per byte).
#include "data/ProgrammingData.h"

#include <QString>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kalvo {

class Prompter;

struct CurrencyPanel {
    std::string rate;
    std::string name;
    bool operator==(const CurrencyPanel &) const = default;
};

// The rate as typed, kept to digits and one decimal point (a comma counts as the point;
// a second separator and any other character are dropped).
QString FilterRateInput(const QString &typed);

// A rate as stored: the numeric value with six decimals ("1.5" -> "1.500000"); nothing
// when the text is not a non-negative decimal number.
std::optional<std::string> StoredRate(const std::string &typed);

class CurrencyEditor {
public:
    static constexpr int kCount = ProgrammingData::kCurrencyCount;

    CurrencyEditor(ProgrammingData &data, Prompter &prompter);

    // One row per currency in use (a name or a rate), "2-117.500000    EUR";
    // numberOfRow() tells the currency of each row (0 for none).
    std::vector<std::string> fillList();
    int numberOfRow(int row) const;

    CurrencyPanel panelOf(int number) const;

    // "Unesite naziv !", "Unesite kurs !" or " Vrednost konverzije nije numericka !"; false then.
    bool validate(const CurrencyPanel &panel);
    // Stores the panel into the first currency not in use ("Maksimalni broj" when all four
    // are) and returns its number, or 0 when nothing was stored.
    int inserisci(const CurrencyPanel &panel);
    // Stores the panel into currency `number`; false when refused or none is selected.
    bool aggiorna(int number, const CurrencyPanel &panel);
    // "Izaberite valutu za brisanje !" without a selection; otherwise asks "Da li ste
    // sigurni?" and clears the currency. True when it did.
    bool elimina(int number);
    // Asks "Da li ste sigurni?"; every currency gets the rate "0.000000" and the Cyrillic
    // word for currency with its number. True when it did.
    bool svuota();
    // "Cirilica": the table's flag (the names are not converted).
    void setCyrillicFont(bool on);

    const std::array<CurrencyRecord, 5> &workingCopy() const { return m_copy; }

private:
    void store(int number, const CurrencyPanel &panel);
    void sync() { m_copy = m_data.Currencies; }

    ProgrammingData &m_data;
    Prompter &m_prompter;
    std::array<CurrencyRecord, 5> m_copy;
    std::vector<int> m_rows;
};

} // namespace kalvo
