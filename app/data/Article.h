#pragma once
// Article records as the article database holds them, the saved line settings, and the
// article validation that the article editor runs before it stores an article.
// Register-facing text (codes, names, dial prefix, phone number) is bytes; numbers are
// plain values. No database access here (see ArticleStore for the existence test).
#include <QByteArray>
#include <QString>

#include <optional>

namespace kalvo {

// One row of ZIB_PLU.
struct Article {
    QByteArray barCode;        // BAR_CODE: digits, left-padded with zeros to 12
    QByteArray description;    // DESCRIPTION: register bytes, up to 28
    double price = 0;          // PRICE
    int vatCode = 0;           // VAT_CODE: tax list index (0-based)
    int mesType = 0;           // MES_TYPE: unit list index (0 = pieces)
    int artType = 0;           // ART_TYPE: article type list index
    bool oneItem = false;      // ONE_ITEM: sold as a single item
    int department = 0;        // DEPARTMENT: department list index (0-based)
    double inventary = 0;      // INVENTARY: stock, 0..999999.999
    double maxValue = 0;       // MAX_VALUE: always written as 0

    bool operator==(const Article &) const = default;
};

// One row of ZIB_PLU_RCV or ZIB_PLU_RCV_SOLD: an article as read back from the register.
struct ReadBackArticle : Article {
    double total = 0;          // TOTAL: sales value
    double qty = 0;            // QTY: quantity sold

    bool operator==(const ReadBackArticle &) const = default;
};

// The one row of PORT: the line settings remembered between runs.
struct PortSettings {
    int port = 1;              // Port: serial port number 1..8
    qint32 baudRate = 9600;    // Zib: line speed (stored as decimal text)
    QByteArray dialMode;       // tone: the AT dial prefix
    QByteArray phoneNumber;    // phonenm

    bool operator==(const PortSettings &) const = default;
};

// True when the code has a numeric value other than 0: the leading digits of the trimmed
// code, as the lists read it ("000000000000", "" and "abc" are not listed; "12a" is).
bool IsListedCode(const QByteArray &code);

// The code typed by the operator as BAR_CODE: trimmed and left-padded with '0' to 12.
QByteArray PadBarCode(const QByteArray &typedCode);

// Rounds a decimal number text to `decimals` places, halves to the even neighbour, working
// on the digits themselves (so "2.675" becomes "2.68", which binary arithmetic would miss).
// Accepts blanks around, one sign, digits with at most one decimal point ('.' or ','), at
// least one digit, nothing else. Returns the plain decimal text without trailing zeros
// after the point ("12.50" -> "12.5", "3.000" -> "3", "-0.001" -> "0"), or nothing when
// the text is not such a number.
std::optional<QString> RoundDecimalText(const QString &text, int decimals);

// ---- article validation ----

// Texts of the article validation, exactly as the operator sees them.
namespace articlemsg {
inline const char kEnterCode[] = "Unesite barkod ! ";
inline const char kCodeNotNumeric[] = "Ne pravilan barkod !";
inline const char kCodeTooLong[] = "Ne pravilan bar kod!";
inline const char kEnterName[] = "Unesite naziv !";
inline const char kNameTooLong[] = "Naziv je max 28 karaktera !";
inline const char kPriceNotNumeric[] = "Cena nije validna !";
inline const char kPriceOutOfRange[] = "Cena nije validna!";
inline const char kStockInvalid[] = "Lager nije validan !";
inline const char kStockTooLong[] = "Lager je max 6 karaktera !";
inline const char kCodeExists[] = "Bar kod vec postoji ! ";
// Shown (exclamation icon) when the insert itself finds the code taken.
inline const char kArticleExists[] = " Ovaj artikal vec postoji !";
} // namespace articlemsg

constexpr int kMaxBarCodeLength = 12;
constexpr int kMaxDescriptionLength = 28;
constexpr double kMaxInventary = 999999.999;

// The editor's fields as typed.
struct ArticleForm {
    QString code;              // Barcode
    QByteArray name;           // txtDesc, in register bytes
    QString price;             // txtprezzo
    QString stock;             // TextLager
    int vatCode = 0;           // vatCom position
    int mesType = 0;           // Mestype position (0 = pieces)
    int artType = 0;           // Artype position
    bool oneItem = false;      // chkblocco
    int department = 0;        // cmbreparto position
};

struct ArticleCheck {
    enum class Field { None, Code, Name, Price, Stock };

    bool ok = false;
    QString message;           // the refusal text (empty when ok)
    Field field = Field::None; // the field refused

    // When ok: the texts to write back into the price and stock fields, and the article
    // to store (code padded to 12, name trimmed, price and stock rounded, MAX_VALUE 0).
    QString priceText;
    QString stockText;
    Article article;
};

// The field checks of the article validation, in their order: code, name, price (greater
// than 0 and at most maxPrice after rounding to 2 places), stock (0..999999.999 after
// rounding to 3 places, or to a whole number for unit position 0; at most 6 characters
// before the decimal point). Rounding halves to the even digit. A code is 1 to 12 digits.
// The existence test of the code is ArticleStore::validateArticle's.
ArticleCheck CheckArticleFields(const ArticleForm &form, double maxPrice);

} // namespace kalvo
