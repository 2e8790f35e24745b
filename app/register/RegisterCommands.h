#pragma once
// The register's command set: the payloads the workstation sends and the answers it reads
// back, byte for byte. Everything here works on plain values (bytes and numbers); the
// send and receive routines map the programming tables and article rows onto them.
//
// Conventions
// - Payloads and answers are bytes (QByteArray); positions in the comments count from 1.
// - Record numbers are passed as they travel on the line: departments, operators and
//   currencies as element - 1, units and article types as their element number, header
//   and advertising lines as their index 0..5.
// - "zero-padded to n" fills on the left with '0'; "space-padded to n" fills on the right
//   with blanks; a value that is already n characters or longer is sent unchanged unless
//   the field says it is cut.
// - Builders never fail. Parsers read only their listed positions and never beyond the
//   end of the answer: a fixed field past the end is read as the characters that exist
//   there (possibly none, which counts as 0 for a numeric field); a name ("text up to
//   NUL") stops before the first NUL and needs its positions up to that NUL, so an answer
//   that ends inside a name without a NUL is refused. Non-digits where a number is due
//   (blanks around it are allowed) and a record number that selects an element beyond
//   its table are refused. A refused answer yields std::nullopt.
// - Numbers handed back as "plain decimal text" are exact: leading zeros and trailing
//   fraction zeros dropped, decimal point, no blanks ("00123450" in hundredths -> "1234.5").
#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace kalvo {

// Table capacities (elements 0..capacity-1); an answer selecting an element at or above
// its capacity is refused.
constexpr int kDepartmentCapacity = 11;
constexpr int kOperatorCapacity = 33;
constexpr int kVatRateCapacity = 10;
constexpr int kCurrencyCapacity = 5;

// ---- field helpers ---------------------------------------------------------------------

// Text filled on the right with blanks to n characters (longer text unchanged).
QByteArray spacePadded(QByteArrayView text, int n);
// Text filled on the left with '0' to n characters (longer text unchanged).
QByteArray zeroPadded(QByteArrayView text, int n);
// Text filled on the left with blanks to n characters (longer text unchanged).
QByteArray spacePaddedLeft(QByteArrayView text, int n);
// Text space-padded and cut to exactly n characters.
QByteArray fitted(QByteArrayView text, int n);
// Every ',' replaced by '.' (how the article lists build their answer text).
QByteArray withDecimalPoints(QByteArray text);

// ---- write payloads ------------------------------------------------------------------

// "R": department number 00..09 (element - 1), name space-padded to 12, the numeric value
// of maxPrice (blank or empty counts as 0) as plain decimal text zero-padded to 8.
QByteArray departmentPayload(int number, QByteArrayView name, QByteArrayView maxPrice);

// One ZIB_PLU row as the "PR" payload needs it.
struct ArticleFields {
    QByteArray barCode;     // zero-padded to 12, cut to its first 12 characters
    int department = 0;     // zero-padded to 2
    QByteArray description; // space-padded and cut to 28
    double price = 0;       // x 100, halves to even, zero-padded to 8
    bool oneItem = false;   // "1" / "0"
    int vatCode = 0;        // one digit each, as stored
    int mesType = 0;
    int artType = 0;
};
// "PR": 56 characters for well-formed values.
QByteArray articlePayload(const ArticleFields &article);

// "PQ": the code exactly as given, then the stock x 1000 rounded (halves to even), cut to
// its first 9 characters and zero-padded to 9.
QByteArray articleStockPayload(QByteArrayView barCode, double inventary);

// "O": operator number 00..30 (element - 1), name space-padded to 12, code right-aligned
// in 5 characters (blanks on the left; surrounding blanks of the stored code are dropped).
QByteArray operatorPayload(int number, QByteArrayView name, QByteArrayView code);

// "U": currency number 0..3 (element - 1), name space-padded to 12, rate as stored
// zero-padded to 9 ("1.000000" -> "01.000000").
QByteArray currencyPayload(int number, QByteArrayView name, QByteArrayView rate);

// The register parameters as they are stored (each field is trimmed before it is placed).
struct RegisterSettingsFields {
    QByteArray registerNumber; // zero-padded to 2
    QByteArray printIntensity; // blank -> "0"
    QByteArray logo1Number;    // blank -> "0"
    QByteArray logo2Number;    // blank -> "0"
    QByteArray cashierLoginRequired; // the four flags: blank -> "0" (switched off)
    QByteArray toneSignal;
    QByteArray speedIndex;
    QByteArray testMenu;
};
// "X": 15 characters: X, number, intensity, "0000", logo 1, logo 2, "0", the four flags.
QByteArray registerSettingsPayload(const RegisterSettingsFields &settings);

// "S" / "A": line index 0..5, the print image space-padded to 32, a closing NUL.
QByteArray headerLinePayload(int index, QByteArrayView printImage);
QByteArray advertLinePayload(int index, QByteArrayView printImage);

// "QR": unit number 1..5, name space-padded to 3 (a longer name is sent whole).
QByteArray unitPayload(int number, QByteArrayView name);

// "ZR": type number 1..8, the trimmed name; shorter than 12 it is followed by one NUL and
// blanks up to 12 characters in all.
QByteArray articleTypePayload(int number, QByteArrayView name);

// "k": three message rows, each space-padded to 32.
QByteArray messagePayload(QByteArrayView row1, QByteArrayView row2, QByteArrayView row3);

// "PD": positions 1..12 of an article answer (the code as the register gave it); a
// shorter answer gives what it holds.
QByteArray deleteArticlePayload(QByteArrayView articleAnswer);

// "PE": erase the register's article sales.
QByteArray eraseArticleSalesPayload();

// "N0" chooses the logo printed at the start of a receipt, "N1" the one at its end.
enum class LogoSlot { ReceiptStart, ReceiptEnd };
QByteArray logoSlotPayload(LogoSlot slot);

// One key press: "m", "01", the key code as two upper-case hex digits (SUBTOTAL 0x88
// travels as "m0188").
struct KeyCommand {
    std::uint8_t code = 0;
    QByteArray payload() const;
    // From the two-character code text of the key tables ("8D", "8d", "30");
    // nullopt unless it is exactly two hex digits.
    static std::optional<KeyCommand> fromText(QByteArrayView hex);
};

// ---- read requests -------------------------------------------------------------------

QByteArray departmentRequest(int number);  // "B" + 00..09
QByteArray vatRateRequest(int number);     // "D" + 00..08
QByteArray operatorRequest(int number);    // "E" + 00..30
QByteArray registerSettingsRequest();      // "L"
QByteArray currencyRequest(int number);    // "M" + 0..3
QByteArray unitRequest(int number);        // "QT" + 1..5
QByteArray articleTypeRequest(int number); // "ZT" + 1..8
inline constexpr char kFirstArticleRequest[] = "PTFIRST";
inline constexpr char kNextArticleRequest[] = "PTNEXT";
inline constexpr char kNextSoldArticleRequest[] = "PTSOLD";
inline constexpr char kStatusRequest[] = "n";

// ---- answers -------------------------------------------------------------------------

// Answer to "B": element = number + 1; the figures as received.
struct DepartmentAnswer {
    int element = 0;
    QByteArray name;          // text up to NUL, space-padded to 12
    QByteArray maxPrice;      // positions 15..22 as received
    QByteArray salesAmount;   // positions 23..33 as received (hundredths)
    QByteArray salesQuantity; // positions 34..42 as received (thousandths)
};
std::optional<DepartmentAnswer> parseDepartmentAnswer(QByteArrayView reply);

// Answer to "D": element = the rate number itself.
struct VatRateAnswer {
    int element = 0;
    QByteArray rate;        // positions 3..6 as received (hundredths of a percent)
    QByteArray salesAmount; // positions 7..17 / 100 as plain decimal text
};
std::optional<VatRateAnswer> parseVatRateAnswer(QByteArrayView reply);

// Answer to "E": element = number + 1.
struct OperatorAnswer {
    int element = 0;
    QByteArray name;         // text up to NUL, space-padded to 12
    QByteArray code;         // positions 15..19 as received
    QByteArray salesAmount;  // positions 20..30 / 100 as plain decimal text
    QByteArray receiptCount; // positions 31..36 as plain decimal text
};
std::optional<OperatorAnswer> parseOperatorAnswer(QByteArrayView reply);

// Answer to "L": the 14 characters after the "X" of the write payload.
struct RegisterSettingsAnswer {
    QByteArray registerNumber; // positions 1..2, trimmed and zero-padded to 2
    QByteArray printIntensity; // 3
    QByteArray logo1Number;    // 8
    QByteArray logo2Number;    // 9
    QByteArray cashierLoginRequired; // 11
    QByteArray toneSignal;     // 12
    QByteArray speedIndex;     // 13
    QByteArray testMenu;       // 14
    // A logo number other than 0 switches its logo on ("1"); 0 leaves the flag as it was.
    bool logo1On = false;
    bool logo2On = false;
};
std::optional<RegisterSettingsAnswer> parseRegisterSettingsAnswer(QByteArrayView reply);

// Answer to "M": element = number + 1.
struct CurrencyAnswer {
    int element = 0;
    QByteArray name; // text up to NUL, space-padded to 12
    QByteArray rate; // positions 14..22 as received
};
std::optional<CurrencyAnswer> parseCurrencyAnswer(QByteArrayView reply);

// Answers to "QT" and "ZT": position 1 is not read; the name (text up to NUL from
// position 2) space-padded to 3 or 12. The element is the one requested.
std::optional<QByteArray> parseUnitAnswer(QByteArrayView reply);
std::optional<QByteArray> parseArticleTypeAnswer(QByteArrayView reply);

// Answer to "PTFIRST" / "PTNEXT" / "PTSOLD": positions 1..83. A ',' in a numeric field
// is read as a decimal point (the names are taken as they came, so a caller that hands in
// the answer with its commas intact keeps them in the name). The numbers are plain decimal
// text ready for the read-back tables.
struct ArticleAnswer {
    QByteArray codeField;   // positions 1..12 exactly as received (for "PD")
    QByteArray barCode;     // the code, trimmed
    QByteArray department;  // positions 13..14, trimmed
    QByteArray description; // text up to NUL from position 15, space-padded to 28
    QByteArray price;       // positions 43..50 / 100
    QByteArray oneItem;     // 51
    QByteArray vatCode;     // 52
    QByteArray mesType;     // 53
    QByteArray artType;     // 54
    QByteArray total;       // positions 55..65 / 100
    QByteArray qty;         // positions 66..74 / 1000
    QByteArray inventary;   // positions 75..83 / 1000
    bool sold() const { return qty != "0"; }
};
std::optional<ArticleAnswer> parseArticleAnswer(QByteArrayView reply);

// Answer to "n".
struct RegisterStatus {
    std::uint8_t menuPosition = 0; // position 3, one digit
    std::int16_t lastError = 0;    // positions 5..6
    std::int16_t operatingState = 0; // position 7
    std::int16_t articleCount = 0; // integer part of positions 11..15
};
// nullopt for non-numeric fields or values beyond the widths above.
std::optional<RegisterStatus> parseRegisterStatus(QByteArrayView reply);

// ---- numbers ---------------------------------------------------------------------------

// The value of a numeric field as plain decimal text divided by 10^shift; blanks around the
// number are allowed and an empty or blank field is "0". nullopt for anything else.
std::optional<QByteArray> decimalFieldValue(QByteArrayView field, int shift = 0);

} // namespace kalvo
