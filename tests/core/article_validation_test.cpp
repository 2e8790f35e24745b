// The article validation's field checks and the decimal rounding they use.
#include "data/Article.h"

#include <QTest>

using namespace kalvo;

Q_DECLARE_METATYPE(ArticleForm)

class ArticleValidationTest : public QObject {
    Q_OBJECT

    static ArticleForm form(const QString &code, const QByteArray &name, const QString &price,
                            const QString &stock, int unit = 1)
    {
        ArticleForm f;
        f.code = code;
        f.name = name;
        f.price = price;
        f.stock = stock;
        f.mesType = unit;
        return f;
    }

private slots:
    void refusals_data()
    {
        QTest::addColumn<ArticleForm>("input");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("field");
        const int code = int(ArticleCheck::Field::Code), name = int(ArticleCheck::Field::Name),
                  price = int(ArticleCheck::Field::Price), stock = int(ArticleCheck::Field::Stock);
        QTest::newRow("everything wrong: the code first") << form("", "", "x", "-1") << "Unesite barkod ! " << code;
        QTest::newRow("blank code") << form("   ", "A", "1", "1") << "Unesite barkod ! " << code;
        QTest::newRow("letter in code") << form("12a", "A", "1", "1") << "Ne pravilan barkod !" << code;
        QTest::newRow("decimal code") << form("1.5", "A", "1", "1") << "Ne pravilan barkod !" << code;
        QTest::newRow("signed code") << form("-5", "A", "1", "1") << "Ne pravilan barkod !" << code;
        QTest::newRow("13 digits") << form("1234567890123", "A", "1", "1") << "Ne pravilan bar kod!" << code;
        QTest::newRow("blank name") << form("1", "   ", "1", "1") << "Unesite naziv !" << name;
        QTest::newRow("name of 29") << form("1", QByteArray(29, 'n'), "1", "1") << "Naziv je max 28 karaktera !" << name;
        QTest::newRow("empty price") << form("1", "A", "", "1") << "Cena nije validna !" << price;
        QTest::newRow("price with letters") << form("1", "A", "12din", "1") << "Cena nije validna !" << price;
        QTest::newRow("two points") << form("1", "A", "1.2.3", "1") << "Cena nije validna !" << price;
        QTest::newRow("zero price") << form("1", "A", "0", "1") << "Cena nije validna!" << price;
        QTest::newRow("negative price") << form("1", "A", "-3", "1") << "Cena nije validna!" << price;
        QTest::newRow("price rounds to 0") << form("1", "A", "0.004", "1") << "Cena nije validna!" << price;
        QTest::newRow("price above limit") << form("1", "A", "1000.01", "1") << "Cena nije validna!" << price;
        QTest::newRow("empty stock") << form("1", "A", "1", "") << "Lager nije validan !" << stock;
        QTest::newRow("stock with letters") << form("1", "A", "1", "5kg") << "Lager nije validan !" << stock;
        QTest::newRow("negative stock") << form("1", "A", "1", "-0.5") << "Lager nije validan !" << stock;
        QTest::newRow("stock above range") << form("1", "A", "1", "1000000") << "Lager nije validan !" << stock;
        QTest::newRow("stock rounds above range") << form("1", "A", "1", "999999.9995") << "Lager nije validan !" << stock;
        QTest::newRow("7 whole digits") << form("1", "A", "1", "0000012") << "Lager je max 6 karaktera !" << stock;
    }

    void refusals()
    {
        QFETCH(ArticleForm, input);
        QFETCH(QString, message);
        QFETCH(int, field);
        const ArticleCheck check = CheckArticleFields(input, 1000);
        QVERIFY(!check.ok);
        QCOMPARE(check.message, message);
        QCOMPARE(int(check.field), field);
    }

    void accepted_data()
    {
        QTest::addColumn<ArticleForm>("input");
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("priceText");
        QTest::addColumn<QString>("stockText");
        QTest::newRow("short code padded") << form(" 123 ", "  Hleb  ", "12.50", "3.5", 1)
                                           << QByteArray("000000000123") << QByteArray("Hleb") << "12.5" << "3.5";
        QTest::newRow("12 digits, 28 bytes") << form("999999999999", QByteArray(28, 'z'), "1000", "0")
                                             << QByteArray("999999999999") << QByteArray(28, 'z') << "1000" << "0";
        QTest::newRow("half to even, down") << form("1", "A", "2.345", "1.0005", 1)
                                            << QByteArray("000000000001") << QByteArray("A") << "2.34" << "1";
        QTest::newRow("half to even, up") << form("1", "A", "2.355", "1.0015", 1)
                                          << QByteArray("000000000001") << QByteArray("A") << "2.36" << "1.002";
        QTest::newRow("pieces: whole, half even") << form("1", "A", "0,015", "4.5", 0)
                                                  << QByteArray("000000000001") << QByteArray("A") << "0.02" << "4";
        QTest::newRow("pieces: 5.5 up") << form("1", "A", "1", "5.5", 0)
                                        << QByteArray("000000000001") << QByteArray("A") << "1" << "6";
        QTest::newRow("kg stock as the field formats it") << form("1", "A", "1", "123456.500", 1)
                                                          << QByteArray("000000000001") << QByteArray("A") << "1" << "123456.5";
        QTest::newRow("largest stock") << form("1", "A", "1", "999999.999", 2)
                                       << QByteArray("000000000001") << QByteArray("A") << "1" << "999999.999";
    }

    void accepted()
    {
        QFETCH(ArticleForm, input);
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, name);
        QFETCH(QString, priceText);
        QFETCH(QString, stockText);
        input.vatCode = 3;
        input.artType = 2;
        input.department = 9;
        input.oneItem = true;
        const ArticleCheck check = CheckArticleFields(input, 1000);
        QVERIFY2(check.ok, qPrintable(check.message));
        QCOMPARE(check.priceText, priceText);
        QCOMPARE(check.stockText, stockText);
        Article expected;
        expected.barCode = code;
        expected.description = name;
        expected.price = priceText.toDouble();
        expected.inventary = stockText.toDouble();
        expected.mesType = input.mesType;
        expected.vatCode = 3;
        expected.artType = 2;
        expected.department = 9;
        expected.oneItem = true;
        QVERIFY(check.article == expected);
    }

    void maxPriceMissing()
    {
        // Kalvo.ini without maxcena: the limit is 0 and no price passes
        const ArticleCheck check = CheckArticleFields(form("1", "A", "1", "1"), 0);
        QCOMPARE(check.message, QStringLiteral("Cena nije validna!"));
    }

    void roundDecimalText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected"); // "-" for not a number
        QTest::newRow("binary trap 2.675") << "2.675" << 2 << "2.68";
        QTest::newRow("binary trap 1.005") << "1.005" << 2 << "1";
        QTest::newRow("half even to whole") << "2.5" << 0 << "2";
        QTest::newRow("half odd to whole") << "3.5" << 0 << "4";
        QTest::newRow("above half") << "2.50001" << 0 << "3";
        QTest::newRow("carry through nines") << "99.995" << 2 << "100";
        QTest::newRow("no digits before point") << ".5" << 1 << "0.5";
        QTest::newRow("point without decimals") << "7." << 2 << "7";
        QTest::newRow("comma, blanks, plus") << " +0012,300 " << 3 << "12.3";
        QTest::newRow("negative") << "-1.25" << 1 << "-1.2";
        QTest::newRow("negative to zero") << "-0.001" << 2 << "0";
        QTest::newRow("empty") << "" << 2 << "-";
        QTest::newRow("sign only") << "-" << 2 << "-";
        QTest::newRow("point only") << "." << 2 << "-";
        QTest::newRow("exponent") << "1e3" << 2 << "-";
        QTest::newRow("inner blank") << "1 000" << 2 << "-";
        QTest::newRow("long digits") << "123456789012345678901234567890.125" << 2
                                     << "123456789012345678901234567890.12";
    }

    void roundDecimalText()
    {
        QFETCH(QString, text);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        const std::optional<QString> got = RoundDecimalText(text, decimals);
        QCOMPARE(got.value_or(QStringLiteral("-")), expected);
    }

    void listedCodes_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<bool>("listed");
        QTest::newRow("zeros") << QByteArray("000000000000") << false;
        QTest::newRow("empty") << QByteArray("") << false;
        QTest::newRow("letters") << QByteArray("abc") << false;
        QTest::newRow("one") << QByteArray("000000000001") << true;
        QTest::newRow("blank-padded") << QByteArray("         120") << true;
        QTest::newRow("digits then letters") << QByteArray("12a") << true;
        QTest::newRow("zero then letters") << QByteArray("0a1") << false;
    }

    void listedCodes()
    {
        QFETCH(QByteArray, code);
        QFETCH(bool, listed);
        QCOMPARE(IsListedCode(code), listed);
    }
};

QTEST_GUILESS_MAIN(ArticleValidationTest)
#include "article_validation_test.moc"
