#pragma once
// The in-memory programming tables of one register, its link settings and the Cyrillic
// flags. The running program holds exactly one copy (AppContext::data).
//
// Tables are fixed-size arrays indexed from 0 whose capacity is one larger than the highest
// index in use: element 0 of the 1-based tables and element 6 of the line tables exist but
// are never filled from the file, sent or shown. Register-facing text is bytes (std::string,
// one char per register byte); numbers are held as their decimal text unless a field says
// otherwise.
#include <QString>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvo {

// A text field of fixed width: a longer value keeps only its first characters, a shorter
// one is padded with spaces on the right.
template <std::size_t Width>
class FixedText {
public:
    FixedText() : m_text(Width, ' ') {}
    explicit FixedText(std::string_view value) { assign(value); }
    explicit FixedText(const char *value) { assign(value ? std::string_view(value) : std::string_view()); }
    FixedText &operator=(std::string_view value) { assign(value); return *this; }
    FixedText &operator=(const std::string &value) { assign(value); return *this; }
    FixedText &operator=(const char *value) { assign(value ? std::string_view(value) : std::string_view()); return *this; }

    const std::string &str() const { return m_text; }
    operator const std::string &() const { return m_text; }
    static constexpr std::size_t width() { return Width; }

    friend bool operator==(const FixedText &a, std::string_view b) { return a.m_text == b; }
    bool operator==(const FixedText &) const = default;

private:
    void assign(std::string_view value)
    {
        m_text.assign(value.substr(0, std::min(value.size(), Width)));
        m_text.resize(Width, ' ');
    }
    std::string m_text;
};

// A header or advertising line in editing form.
struct LineLayout {
    std::string text;       // the visible text, at most lineWidth characters
    bool bold = false;      // prints double width: every non-space character takes two positions
    bool centered = false;  // false = left-aligned
    bool operator==(const LineLayout &) const = default;
};

struct DepartmentRecord {
    std::string name;           // padded on the right with spaces to at least 12 characters
    std::string maxPrice;       // 8 characters: whole number zero-padded to 8 digits, 8 spaces = no limit
    std::string vatGroup;       // tax group "0".."4"
    std::string singleItem;     // "1" = the receipt closes after one item
    std::string salesAmount;    // received: hundredths of the currency unit
    std::string salesQuantity;  // received: thousandths
    bool operator==(const DepartmentRecord &) const = default;
};

struct OperatorRecord {
    std::string code;          // access code 0..99999, as typed (the editor stores it padded to 5)
    std::string name;
    std::string salesAmount;   // received: currency units, plain decimal text
    std::string receiptCount;  // received: plain decimal text
    bool operator==(const OperatorRecord &) const = default;
};

struct VatRateRecord {
    std::string rate;         // hundredths of a percent ("2000" = 20.00 %)
    std::string salesAmount;  // received: currency units, plain decimal text
    bool operator==(const VatRateRecord &) const = default;
};

struct CurrencyRecord {  // the rate comes first
    std::string rate;  // decimal text with six decimals
    std::string name;
    bool operator==(const CurrencyRecord &) const = default;
};

struct UnitRecord {
    std::string name;
    std::string shortName;
    bool operator==(const UnitRecord &) const = default;
};

struct ArticleTypeRecord {
    std::string name;
    std::string shortName;
    bool operator==(const ArticleTypeRecord &) const = default;
};

// Register-wide parameters: fixed-width fields, 11 characters in all, in this order.
struct RegisterSettings {
    FixedText<2> registerNumber{"01"};       // CASH
    FixedText<1> printIntensity{"0"};        // PRINT
    FixedText<1> speedIndex{"0"};            // SPEED: "1".."4" = 9600..57600 bps, "0" = not chosen
    FixedText<1> logo1Enabled{"0"};          // GRAFICA1
    FixedText<1> logo1Number{"0"};           // GRAFICA1_IMG
    FixedText<1> logo2Enabled{"0"};          // GRAFICA2
    FixedText<1> logo2Number{"0"};           // GRAFICA2_IMG
    FixedText<1> cashierLoginRequired{"0"};  // OBLIGATE
    FixedText<1> toneSignal{"0"};            // SINGLE
    FixedText<1> testMenu{"0"};              // TEST_MENY

    // The eleven characters of the fields one after the other.
    std::string text() const;
    bool operator==(const RegisterSettings &) const = default;
};

// How the workstation reaches the register and how it shows text.
struct LinkSettings {
    std::int16_t port = 1;          // 1..8 = COM1..COM8
    std::int32_t baudRate = 9600;   // bit/s
    bool DisplayCyrillic = true;    // the register works in Cyrillic; lists use its font
    std::int16_t lineWidth = 22;    // characters per header/advertising line
    std::string phoneNumber;
    std::string dialMode;           // AT dial prefix (tone or pulse)
    std::string phonePassword;
    bool operator==(const LinkSettings &) const = default;
};

// One flag per table: true when its texts were last seen in 8-bit Cyrillic form.
struct CyrillicFormFlags {
    bool headerLines = true;
    bool operators = true;
    bool departments = true;
    bool articles = true;
    bool currencies = true;
    bool advertLines = true;
    bool units = true;
    bool articleTypes = true;

    void setAll(bool value);
    bool operator==(const CyrillicFormFlags &) const = default;
};

// Width of the text field of a stored header/advertising line; the bold flag follows at
// character 33 and the centring flag at character 34.
constexpr std::size_t kStoredLineTextWidth = 32;

// Stored line from the editing form: text without trailing blanks, padded (or cut) to 32,
// then the bold flag and the centring flag ("1"/"0").
std::string StoredLine(const LineLayout &layout);
// Editing form from a stored line: the first lineWidth characters without trailing blanks
// (the padding is no part of the text); bold when the numeric
// value of character 33 is non-zero; centred unless character 34 is "0".
LineLayout LayoutFromStoredLine(const std::string &stored, int lineWidth);
// Print positions the line takes: each non-space character of a bold line counts twice.
int PrintWidth(const LineLayout &layout);

struct ProgrammingData {
    static constexpr int kLineCapacity = 7;
    static constexpr int kLinesUsed = 6;        // 0..5
    static constexpr int kDepartmentCount = 10; // 1..10
    static constexpr int kOperatorCount = 31;   // 1..31
    static constexpr int kVatRateCount = 9;     // 0..8 (TAX_1..TAX_9)
    static constexpr int kCurrencyCount = 4;    // 1..4
    static constexpr int kUnitCount = 5;        // 1..5
    static constexpr int kArticleTypeCount = 8; // 1..8

    std::array<std::string, kLineCapacity> HeaderLines;
    std::array<std::string, kLineCapacity> AdvertLines;
    std::array<LineLayout, kLineCapacity> HeaderLayouts;
    std::array<LineLayout, kLineCapacity> AdvertLayouts;
    std::array<DepartmentRecord, 11> Departments;
    std::array<OperatorRecord, 33> Operators;
    // Rates are kept in elements 0..8: TAX_n of the file is element n - 1, the register's
    // rate with answer number r is element r, and the VAT sales view shows 0..8.
    std::array<VatRateRecord, 10> VatRates;
    std::array<CurrencyRecord, 5> Currencies;
    std::array<UnitRecord, 6> Units;
    std::array<ArticleTypeRecord, 9> ArticleTypes;

    kalvo::RegisterSettings RegisterSettings;
    kalvo::LinkSettings LinkSettings;

    QString ProgrammingFilePath;  // the programming file that is open
    std::string FileVersion;      // VERSION value last read from a programming file
    bool CyrillicMode = true;     // the main window's Cyrillic toggle
    kalvo::CyrillicFormFlags CyrillicFormFlags;

    // Start-up values, one routine per step so that the main window's load sequence calls
    // them in its own order.
    void ResetLines();               // 1: header and advertising lines 0..5 and their layouts
    void ResetRegisterSettings();    // 2: "01" and "0"s
    void ResetDepartments();         // 3: departments 0..10, "Odeqewe " + index
    void ResetOperators();           // 4: operators 1..31, code = index, "Kasir " + index
    void ResetLinkSettings(const std::string &pulseDialPrefix);  // 5: before the PORT table
    void ResetUnitNames();           // 6: units 1..5 "JM6".."JM10"
    void ResetArticleTypeNames();    // 7: article types 1..8 "Tip " + index
    void ResetDepartmentNames();     // 8: departments 1..10 "Odeqewe " + " " + index
    // Steps 1 to 4 in order (the tables reset of the load sequence).
    void ResetTables();

    // Editing forms of the 6 used lines from the stored lines, cut to LinkSettings.lineWidth,
    // and back.
    void LayoutsFromLines();
    void LinesFromLayouts();
};

} // namespace kalvo
