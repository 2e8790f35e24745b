// The article editor's logic without its window: list rows, the code search, the field
// formats and limits, and the combo items.
#include "data/ProgrammingData.h"
#include "editors/PluEditor.h"

#include <QTest>

using namespace kalvo;

namespace {

Article article(const char *code, const char *name, double price, double stock)
{
    Article a;
    a.barCode = code;
    a.description = name;
    a.price = price;
    a.inventary = stock;
    return a;
}

// List rows as lstplu holds them, for the given codes in the given order.
QStringList rowsOf(const QList<QByteArray> &codes)
{
    QStringList rows;
    for (const QByteArray &code : codes)
        rows << QString::fromLatin1(code.rightJustified(12, '0') + "   Artikal");
    return rows;
}

} // namespace

class PluEditorTest : public QObject {
    Q_OBJECT
private slots:
    void listRows()
    {
        const QList<Article> stored = {
            article("000000000000", "Nula", 1, 1),        // value 0: not listed
            article("000000000123", "Hleb", 12.5, 5),
            article("77", "Mleko", 0.1, 1.25),            // a code stored without padding
        };
        const QList<PluListRow> rows = PluListRows(stored, false);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].plu, QStringLiteral("000000000123   Hleb") + QString(24, QLatin1Char(' ')));
        QCOMPARE(rows[0].price, QStringLiteral(" 12.50"));
        QCOMPARE(rows[0].stock, QStringLiteral("5"));
        QVERIFY(rows[1].plu.startsWith(QStringLiteral("000000000077   Mleko")));
        QCOMPARE(rows[1].price, QStringLiteral(" 0.10"));
        QCOMPARE(rows[1].stock, QStringLiteral("1.25"));
        QCOMPARE(PluRowCode(rows[1].plu), QByteArray("000000000077"));
    }

    void listRowsConvertNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("cyrillicMode");
        QTest::addColumn<QString>("shown");
        QTest::newRow("latin typing to register code") << QByteArray("Njegos") << true << "Wegos";
        QTest::newRow("register code to latin") << QByteArray("Odeqewe") << false << "Odeljenje";
        QTest::newRow("digits unchanged") << QByteArray("12345") << true << "12345";
    }
    void listRowsConvertNames()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, cyrillicMode);
        QFETCH(QString, shown);
        const QList<PluListRow> rows = PluListRows({article("5", name.constData(), 1, 0)}, cyrillicMode);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].plu.mid(15).trimmed(), shown);
        QVERIFY(rows[0].plu.startsWith(QStringLiteral("000000000005   ")));
    }

    void findRow_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row");
        const QStringList sorted = rowsOf({"1", "5", "123", "999", "4000", "123456789012"});
        QTest::newRow("first row") << sorted << "1" << 0;
        QTest::newRow("last row") << sorted << "123456789012" << 5;
        QTest::newRow("123 finds 000000000123") << sorted << "123" << 2;
        QTest::newRow("leading zeros typed") << sorted << "000000000999" << 3;
        QTest::newRow("missing between rows") << sorted << "124" << -1;
        QTest::newRow("missing below all") << sorted << "0" << -1;
        QTest::newRow("missing above all") << sorted << "999999999999" << -1;
        QTest::newRow("one row") << rowsOf({"42"}) << "42" << 0;
        QTest::newRow("two rows, second") << rowsOf({"42", "43"}) << "43" << 1;
        QTest::newRow("empty list") << QStringList() << "1" << -1;
        QTest::newRow("out of order") << QStringList{"000000000009   A", "000000000010   B", "000000000011   C", "5   D"}
                                        << "5" << 3;
    }
    void findRow()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, typed);
        QFETCH(int, row);
        QCOMPARE(FindPluRow(rows, typed), row);
    }

    void searchCodeCheck_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("empty") << "" << "Unesite barkod ! ";
        QTest::newRow("blank") << "   " << "Unesite barkod ! ";
        QTest::newRow("letters") << "12a" << "Ne pravilan barkod !";
        QTest::newRow("sign") << "-12" << "Ne pravilan barkod !";
        QTest::newRow("13 digits") << "1234567890123" << "Ne pravilan bar kod!";
        QTest::newRow("12 digits") << "123456789012" << "";
        QTest::newRow("blanks around") << " 123 " << "";
    }
    void searchCodeCheck()
    {
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QCOMPARE(CheckPluSearchCode(typed).value_or(QString()), refusal);
    }

    void fieldFormats_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("stock");
        QTest::newRow("whole number") << "12" << 1 << "12.00" << "12.000";
        QTest::newRow("halves to even") << "2.675" << 1 << "2.68" << "2.675";
        QTest::newRow("comma") << "1,5" << 1 << "1.50" << "1.500";
        QTest::newRow("pieces round to whole") << "2.5" << 0 << "2.50" << "2";
        QTest::newRow("pieces round up") << "3.5" << 0 << "3.50" << "4";
        QTest::newRow("stock three places") << "1.2345" << 2 << "1.23" << "1.234";
        QTest::newRow("not a number stays") << "12x" << 1 << "12x" << "12x";
        QTest::newRow("empty stays") << "" << 0 << "" << "";
    }
    void fieldFormats()
    {
        QFETCH(QString, text);
        QFETCH(int, unit);
        QFETCH(QString, price);
        QFETCH(QString, stock);
        QCOMPARE(FormatPriceField(text), price);
        QCOMPARE(FormatStockField(text, unit), stock);
    }

    void fieldLengths()
    {
        // the whole digits of the limit, the point and two decimals
        QCOMPARE(PriceFieldLength(1000), 7);
        QCOMPARE(PriceFieldLength(999999.99), 9);
        QCOMPARE(PriceFieldLength(0), 4);
        QCOMPARE(NameFieldLength(22), 18);
        QCOMPARE(NameFieldLength(32), 28);
    }

    void comboItems()
    {
        ProgrammingData data;
        data.ResetDepartments();
        data.ResetUnitNames();
        data.ResetArticleTypeNames();
        data.Departments[1].name = "Hrana       ";
        data.CyrillicMode = false;

        const QStringList departments = PluDepartmentItems(data);
        QCOMPARE(departments.size(), 10);
        QCOMPARE(departments[0], QStringLiteral("Hrana"));

        const QStringList units = PluUnitItems(data);
        QCOMPARE(units.size(), 11);
        QCOMPARE(units.mid(0, 6), (QStringList{"kom", "kg", "m", "l", "g", " "}));
        QCOMPARE(units[6], QStringLiteral("JM6"));
        QCOMPARE(units[10], QStringLiteral("JM10"));

        const QStringList types = PluArticleTypeItems(data);
        QCOMPARE(types.size(), 8);
        QCOMPARE(types[7], QStringLiteral("Tip 8"));

        const QStringList vat = PluVatItems();
        QCOMPARE(vat.size(), 9);
        QCOMPARE(vat[3], QStringLiteral("3 - \\"));
    }

    void nameForEdit()
    {
        // 8-bit Cyrillic comes into the box as register code; Latin text as it is
        QCOMPARE(PluNameForEdit(QByteArray("\xB0\xB1\xAA", 3)), QStringLiteral("ABW"));
        QCOMPARE(PluNameForEdit("Hleb 1"), QStringLiteral("Hleb 1"));
    }

    void fontFollowsArticleFlag()
    {
        ProgrammingData data;
        data.LinkSettings.DisplayCyrillic = true;
        data.CyrillicFormFlags.articles = false;
        QCOMPARE(PluFontFamily(data), QStringLiteral("Courier New"));
        data.LinkSettings.DisplayCyrillic = false;
        data.CyrillicFormFlags.articles = true;
        QCOMPARE(PluFontFamily(data), QStringLiteral("Helvetica Ciril"));
    }
};

QTEST_GUILESS_MAIN(PluEditorTest)
#include "plu_editor_test.moc"
