#pragma once
// The article editor's logic apart from its window: the rows of its three lists, the
// items of its combos, its field limits and formats, and the code search over the list.
// Validation and storage are ArticleStore's (data/ArticleStore.h).
#include "data/Article.h"
#include "shell/ScreenFonts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kalvo {

struct ProgrammingData;

// Message box titles of the article editor: the toolbar's own messages and its question
// use the first, validation, search and insert messages the second.
inline constexpr char kPluToolbarTitle[] = "Orvel Cash Register";
inline constexpr char kPluTitle[] = "Orvel Cash Registers";

namespace plumsg {
inline const char kChooseNew[] = "Morate prvo izabrati stavku 'Novi' !";
inline const char kDoubleClickFirst[] = "Morate prvo duplim klikom izabrati artikal za azuriranje !";
inline const char kSelectFirst[] = "Morate prvo izabrati artikal !";
inline const char kSure[] = "Da li ste sigurni?";
inline const char kNotFound[] = "Trazeni artikal ne postoji !";
} // namespace plumsg

constexpr int kPluCodeColumn = 12;   // the code takes the first 12 characters of a row

// One row of the editor's three parallel lists.
struct PluListRow {
    QString plu;     // lstplu: code padded with '0' to 12, three blanks, name padded to 28
    QString price;   // ListCene: a blank and the price
    QString stock;   // ListL: the stock
};

// The list rows of the stored articles (rows whose code has value 0 are not listed), the
// texts converted for display: register code when cyrillicMode, plain Latin otherwise.
QList<PluListRow> PluListRows(const QList<Article> &articles, bool cyrillicMode);

// The code of a list row: its first 12 characters, trimmed.
QByteArray PluRowCode(const QString &rowText);

// The search field's check: the refusal text, or nothing when the code may be searched.
std::optional<QString> CheckPluSearchCode(const QString &typed);

// The row of lstplu whose code has the numeric value of `typed` (already checked), or -1.
// The rows are in code order; a halving search finds the row, and an out-of-order list
// (codes stored without their padding) is still searched whole.
int FindPluRow(const QStringList &rows, const QString &typed);

// Field texts as the field shows them after the operator leaves it: the price with two
// decimals; the stock with three, or as a whole number for unit position 0. A text that
// is not a number stays as typed (validation refuses it when storing).
QString FormatPriceField(const QString &text);
QString FormatStockField(const QString &text, int mesType);

// Characters the price field accepts: the whole digits of maxcena's decimal text, then
// room for the point and two decimals (so every valid price can be typed).
int PriceFieldLength(double maxcena);
// Characters the name field accepts for the header line width.
int NameFieldLength(int lineWidth);

// Combo items (the list position is what the database stores).
QStringList PluVatItems();
QStringList PluDepartmentItems(const ProgrammingData &data);
QStringList PluUnitItems(const ProgrammingData &data);
QStringList PluArticleTypeItems(const ProgrammingData &data);

// The name as the edit box shows it: 8-bit Cyrillic (no Latin letters) becomes the
// register code, anything else stays.
QString PluNameForEdit(const QByteArray &description);

// Converts a shown text between Latin typing form and register code (toRegister = true).
QString ConvertShownText(const QString &text, bool toRegister);

// The screen font of the list and the code, name and choice fields.
QString PluFontFamily(const ProgrammingData &data);

} // namespace kalvo
