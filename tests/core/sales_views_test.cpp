// The content of the sales views without windows: list lines, number texts, the code search
// of the article lists, the first free code and the department, cashier and VAT totals.
#include "data/RegisterText.h"
#include "sales/SalesViews.h"
#include "shell/AppError.h"

#include <QTest>

using namespace kalvo;

namespace {

QList<QByteArray> codes(std::initializer_list<int> values)
{
    QList<QByteArray> out;
    for (int v : values)
        out.append(QByteArray::number(v).rightJustified(12, '0'));
    return out;
}

} // namespace

class SalesViewsTest : public QObject {
    Q_OBJECT

private slots:
    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("half") << 12.5 << "12.5";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("hundredths") << 12345 / 100.0 << "123.45";
        QTest::newRow("thousandths") << 1500 / 1000.0 << "1.5";
        QTest::newRow("binary sum") << 0.1 + 0.2 << "0.3";
        QTest::newRow("large") << 1234567890123.0 << "1234567890123";
        QTest::newRow("negative") << -7.25 << "-7.25";
    }
    void numberText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(SalesNumberText(value), text);
    }

    void articleLine()
    {
        QCOMPARE(ArticleSalesLine("000000000123", "MLEKO"), QByteArray("000000000123  MLEKO       "));
        QCOMPARE(ArticleSalesLine("77", "A"), QByteArray("          77  A           "));
        // a longer name stays whole
        QCOMPARE(ArticleSalesLine("1", "DUGACKO IME ARTIKLA"), QByteArray("           1  DUGACKO IME ARTIKLA"));
    }

    void entryLine()
    {
        QCOMPARE(SalesEntryLine(1, "Hleb"), std::string(" 1  Hleb        "));
        QCOMPARE(SalesEntryLine(10, "Odeqewe 10"), std::string("10  Odeqewe 10  "));
        QCOMPARE(SalesEntryLine(31, "Kasir sa dugim imenom"), std::string("31  Kasir sa dugim imenom"));
    }

    void searchCode_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "123" << "" << 123.0;
        QTest::newRow("padded") << " 000000000123 " << "" << 123.0;
        QTest::newRow("twelve digits") << "999999999999" << "" << 999999999999.0;
        QTest::newRow("empty") << "" << "Unesite barkod ! " << 0.0;
        QTest::newRow("blanks") << "   " << "Unesite barkod ! " << 0.0;
        QTest::newRow("letter") << "12a" << "Ne pravilan barkod !" << 0.0;
        QTest::newRow("sign") << "-5" << "Ne pravilan barkod !" << 0.0;
        QTest::newRow("exponent") << "1e5" << "Ne pravilan barkod !" << 0.0;
        QTest::newRow("thirteen digits") << "1234567890123" << "Ne pravilan bar kod!" << 0.0;
    }
    void searchCode()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(double, value);
        const SearchCode c = CheckSearchCode(typed);
        QCOMPARE(c.message, message);
        if (c.ok())
            QCOMPARE(c.value, value);
    }

    void search_data()
    {
        QTest::addColumn<QList<QByteArray>>("list");
        QTest::addColumn<double>("target");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("selected");
        const QList<QByteArray> five = codes({1, 2, 3, 4, 5});
        QTest::newRow("middle") << five << 3.0 << true << 2;
        QTest::newRow("first") << five << 1.0 << true << 0;
        QTest::newRow("last") << five << 5.0 << true << 4;
        QTest::newRow("second") << five << 2.0 << true << 1;
        QTest::newRow("fourth") << five << 4.0 << true << 3;
        // the halving stalls between two lines and settles on hi after 1000 steps
        QTest::newRow("last of four") << codes({1, 2, 3, 4}) << 4.0 << true << 3;
        QTest::newRow("below all") << five << 0.0 << false << 0;
        QTest::newRow("above all") << five << 9.0 << false << 4;
        QTest::newRow("gap") << codes({1, 3, 5, 7, 9}) << 4.0 << false << 2;
        QTest::newRow("one line hit") << codes({7}) << 7.0 << true << 0;
        QTest::newRow("one line miss") << codes({7}) << 8.0 << false << 0;
        QTest::newRow("empty") << QList<QByteArray>() << 1.0 << false << -1;
        QTest::newRow("blank padded") << QList<QByteArray>{"  12", "  40", "900"} << 40.0 << true << 1;
    }
    void search()
    {
        QFETCH(QList<QByteArray>, list);
        QFETCH(double, target);
        QFETCH(bool, found);
        QFETCH(int, selected);
        const SearchResult r = FindArticleCode(list, target);
        QCOMPARE(r.found, found);
        QCOMPARE(r.selected, selected);
        QVERIFY(r.steps <= 1000);
    }

    void searchOverNonNumericCode()
    {
        bool thrown = false;
        try {
            FindArticleCode({"000000000001", "00000000002X", "000000000003"}, 2);
        } catch (const AppError &e) {
            thrown = true;
            QCOMPARE(e.code, kErrTypeMismatch);
        }
        QVERIFY(thrown);
    }

    void firstFreeCode()
    {
        QCOMPARE(FirstFreeCode(codes({1, 2, 3, 5})), 4);
        QCOMPARE(FirstFreeCode(codes({2, 3})), 1);
        QCOMPARE(FirstFreeCode(codes({0, 1, 2})), 3);
        QCOMPARE(FirstFreeCode({}), 1);
    }

    void departments()
    {
        ProgrammingData data;
        data.ResetDepartments();
        data.LinkSettings.DisplayCyrillic = false;
        data.Departments[1].name = "Hleb";
        data.Departments[1].salesQuantity = "1500";
        data.Departments[1].salesAmount = "12345";
        const QList<DepartmentSalesRow> rows = DepartmentSales(data);
        QCOMPARE(rows.size(), 10);
        QCOMPARE(rows[0].line, std::string(" 1  Hleb        "));
        QCOMPARE(rows[0].quantity, QString("1.5"));
        QCOMPARE(rows[0].amount, QString("123.45"));
        QCOMPARE(rows[9].line.substr(0, 4), std::string("10  "));
        // entries never read show zero values
        QCOMPARE(rows[9].quantity, QString("0"));
        QCOMPARE(rows[9].amount, QString("0"));

        // with the register in Cyrillic the 8-bit names are taken back to register code
        data.LinkSettings.DisplayCyrillic = true;
        data.Departments[2].name = To8859("Mleko");
        QCOMPARE(DepartmentSales(data)[1].line, std::string(" 2  Mleko       "));
    }

    void operators()
    {
        ProgrammingData data;
        data.ResetOperators();
        data.Operators[5].code = "  042 ";
        data.Operators[5].receiptCount = "17";
        data.Operators[5].salesAmount = "1234.5";
        const QList<OperatorSalesRow> rows = OperatorSales(data);
        QCOMPARE(rows.size(), 31);
        QCOMPARE(rows[4].code, QString("042"));
        QCOMPARE(rows[4].receipts, QString("17"));
        QCOMPARE(rows[4].amount, QString("1234.5"));  // not scaled
        QCOMPARE(rows[30].line.substr(0, 4), std::string("31  "));
        QCOMPARE(rows[0].receipts, QString("0"));
    }

    void vatRates()
    {
        ProgrammingData data;
        data.VatRates[0].rate = "0";
        data.VatRates[1].rate = "2000";
        data.VatRates[2].rate = "850";
        const char *amounts[] = {"10", "20.5", "0.1", "0.2", "", "x", "1000000", "3", "4"};
        for (int r = 0; r < 9; ++r)
            data.VatRates[std::size_t(r)].salesAmount = amounts[r];
        const VatSales s = VatRateSales(data);
        QCOMPARE(s.rows[0].percent, QString("0%"));
        QCOMPARE(s.rows[1].percent, QString("20%"));
        QCOMPARE(s.rows[2].percent, QString("8.5%"));
        QCOMPARE(s.rows[8].number, QString("8"));
        QCOMPARE(s.rows[1].amount, QString("20.5"));
        QCOMPARE(s.rows[5].amount, QString("0"));
        QCOMPARE(s.totalText, QString("1000037.8"));
        QCOMPARE(s.rows[6].value, 1000000.0);
    }
};

QTEST_GUILESS_MAIN(SalesViewsTest)
#include "sales_views_test.moc"
