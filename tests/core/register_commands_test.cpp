#include "register/RegisterCommands.h"

#include <QTest>

using namespace kalvo;

namespace {
QByteArray nul(int n = 1) { return QByteArray(n, '\0'); }
QByteArray sp(int n) { return QByteArray(n, ' '); }
} // namespace

class RegisterCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void writePayloads_data();
    void writePayloads();
    void articlePayload_data();
    void articlePayload();
    void stockPayload_data();
    void stockPayload();
    void registerSettingsPayload_data();
    void registerSettingsPayload();
    void keyCommand();
    void requests();

    void departmentAnswer_data();
    void departmentAnswer();
    void operatorAndVatAnswers();
    void currencyUnitTypeAnswers_data();
    void currencyUnitTypeAnswers();
    void registerSettingsAnswer();
    void articleAnswer();
    void articleAnswerRefused_data();
    void articleAnswerRefused();
    void statusAnswer_data();
    void statusAnswer();
    void garbageNeverReadsBeyondTheAnswer();
};

void RegisterCommandsTest::writePayloads_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("department 1 Voce 1500")
        << departmentPayload(0, "Voce", "1500") << QByteArray("R00Voce        00001500");
    QTest::newRow("department 10, blank price counts as 0")
        << departmentPayload(9, "Hleb", "        ") << QByteArray("R09Hleb        00000000");
    QTest::newRow("department price with blanks and decimals")
        << departmentPayload(2, "Mix", " 12.50 ") << QByteArray("R02Mix         000012.5");
    QTest::newRow("department long name sent whole")
        << departmentPayload(1, "Trinaestslova", "7") << QByteArray("R01Trinaestslova00000007");
    QTest::newRow("operator 31 code 7")
        << operatorPayload(30, "Kasir 31", "7") << QByteArray("O30Kasir 31        7");
    QTest::newRow("operator code 42 stored right-padded")
        << operatorPayload(0, "Ana", "42   ") << QByteArray("O00Ana            42");
    QTest::newRow("currency rate 1.000000")
        << currencyPayload(0, "EUR", "1.000000") << QByteArray("U0EUR         01.000000");
    QTest::newRow("rate of 100 or more keeps the field at 9")
        << currencyPayload(3, "JPY", "117.500000") << QByteArray("U3JPY         117.50000");
    QTest::newRow("header line padded to 32 and NUL")
        << headerLinePayload(0, "PRODAVNICA") << QByteArray("S0PRODAVNICA" + sp(22) + nul());
    QTest::newRow("empty trailing advert line")
        << advertLinePayload(5, QByteArray(1, '\0'))
        << QByteArray("A5" + nul() + sp(31) + nul());
    QTest::newRow("bold image longer than 32 sent whole")
        << headerLinePayload(1, QByteArray("\x1b" "A").repeated(17))
        << QByteArray("S1" + QByteArray("\x1b" "A").repeated(17) + nul());
    QTest::newRow("unit padded to 3") << unitPayload(1, "kg") << QByteArray("QR1kg ");
    QTest::newRow("unit longer name whole") << unitPayload(5, "JM10") << QByteArray("QR5JM10");
    QTest::newRow("type Voce: NUL then blanks to 12")
        << articleTypePayload(1, "  Voce ") << QByteArray("ZR1Voce" + nul() + sp(7));
    QTest::newRow("type of 12 characters, no NUL")
        << articleTypePayload(8, "Dvanaestslov") << QByteArray("ZR8Dvanaestslov");
    QTest::newRow("message three rows")
        << messagePayload("Dobar dan", "", "Hvala")
        << QByteArray("kDobar dan" + sp(23) + sp(32) + "Hvala" + sp(27));
    QTest::newRow("delete article from an answer")
        << deleteArticlePayload("000000000123" "03Mleko") << QByteArray("PD000000000123");
    QTest::newRow("delete article from a short answer")
        << deleteArticlePayload("123") << QByteArray("PD123");
    QTest::newRow("erase sales") << eraseArticleSalesPayload() << QByteArray("PE");
    QTest::newRow("logo 1 slot") << logoSlotPayload(LogoSlot::ReceiptStart) << QByteArray("N0");
    QTest::newRow("logo 2 slot") << logoSlotPayload(LogoSlot::ReceiptEnd) << QByteArray("N1");
}

void RegisterCommandsTest::writePayloads()
{
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, expected);
    QCOMPARE(payload, expected);
}

void RegisterCommandsTest::articlePayload_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<double>("price");
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray tail = "0102";
    QTest::newRow("code 123 Mleko 89.90")
        << QByteArray("123") << 89.90 << QByteArray("Mleko")
        << QByteArray("PR000000000123" "03" "Mleko" + sp(23) + "00008990" + tail);
    QTest::newRow("13-digit code cut to 12")
        << QByteArray("1234567890123") << 1.0 << QByteArray("X")
        << QByteArray("PR123456789012" "03" "X" + sp(27) + "00000100" + tail);
    QTest::newRow("description cut to 28")
        << QByteArray("000000000001") << 0.5 << QByteArray("Dugacak naziv artikla od tridesetak")
        << QByteArray("PR000000000001" "03" "Dugacak naziv artikla od tri" "00000050" + tail);
    QTest::newRow("half hundredth to even, down") << QByteArray("1") << 0.125 << QByteArray("A")
        << QByteArray("PR000000000001" "03" "A" + sp(27) + "00000012" + tail);
    QTest::newRow("half hundredth to even, up") << QByteArray("1") << 0.135 << QByteArray("A")
        << QByteArray("PR000000000001" "03" "A" + sp(27) + "00000014" + tail);
    QTest::newRow("double noise does not round up") << QByteArray("1") << 1.005 << QByteArray("A")
        << QByteArray("PR000000000001" "03" "A" + sp(27) + "00000100" + tail);
}

void RegisterCommandsTest::articlePayload()
{
    QFETCH(QByteArray, code);
    QFETCH(double, price);
    QFETCH(QByteArray, description);
    QFETCH(QByteArray, expected);
    ArticleFields a;
    a.barCode = code;
    a.department = 3;
    a.description = description;
    a.price = price;
    a.oneItem = false;
    a.vatCode = 1;
    a.mesType = 0;
    a.artType = 2;
    const QByteArray p = kalvo::articlePayload(a);
    QCOMPARE(p, expected);
    QCOMPARE(p.size(), 56);

    a.oneItem = true;
    QCOMPARE(kalvo::articlePayload(a).at(52), '1');
}

void RegisterCommandsTest::stockPayload_data()
{
    QTest::addColumn<double>("stock");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("12.5") << 12.5 << QByteArray("PQ000000000123000012500");
    QTest::newRow("0") << 0.0 << QByteArray("PQ000000000123000000000");
    QTest::newRow("half thousandth to even") << 0.0025 << QByteArray("PQ000000000123000000002");
    QTest::newRow("999999.999") << 999999.999 << QByteArray("PQ000000000123999999999");
    QTest::newRow("ten digits cut to the first 9") << 1234567.891 << QByteArray("PQ000000000123123456789");
}

void RegisterCommandsTest::stockPayload()
{
    QFETCH(double, stock);
    QFETCH(QByteArray, expected);
    QCOMPARE(articleStockPayload("000000000123", stock), expected);
}

void RegisterCommandsTest::registerSettingsPayload_data()
{
    QTest::addColumn<QByteArrayList>("fields");
    QTest::addColumn<QByteArray>("expected");
    // number, intensity, logo1, logo2, login, tone, speed, test
    QTest::newRow("all set") << QByteArrayList{"01", "3", "1", "2", "1", "0", "2", "1"}
                             << QByteArray("X01" "3" "0000" "1" "2" "0" "1021");
    QTest::newRow("trimmed and padded number") << QByteArrayList{"7 ", "0", "0", "0", "0", "1", "4", "0"}
                                               << QByteArray("X07" "0" "0000" "0" "0" "0" "0140");
    QTest::newRow("blanks become 0") << QByteArrayList{" 2", " ", "", " ", " ", "", " ", ""}
                                     << QByteArray("X02" "0" "0000" "0" "0" "0" "0000");
}

void RegisterCommandsTest::registerSettingsPayload()
{
    QFETCH(QByteArrayList, fields);
    QFETCH(QByteArray, expected);
    const RegisterSettingsFields s{fields[0], fields[1], fields[2], fields[3],
                                   fields[4], fields[5], fields[6], fields[7]};
    const QByteArray p = kalvo::registerSettingsPayload(s);
    QCOMPARE(p, expected);
    QCOMPARE(p.size(), 15);
}

void RegisterCommandsTest::keyCommand()
{
    QCOMPARE(KeyCommand{0x88}.payload(), QByteArray("m0188"));
    QCOMPARE(KeyCommand{0x0a}.payload(), QByteArray("m010A"));
    QCOMPARE(KeyCommand::fromText("8d")->payload(), QByteArray("m018D"));
    QCOMPARE(KeyCommand::fromText("30")->code, std::uint8_t(0x30));
    QVERIFY(!KeyCommand::fromText("8"));
    QVERIFY(!KeyCommand::fromText("G1"));
    QVERIFY(!KeyCommand::fromText(" 8"));
    QVERIFY(!KeyCommand::fromText("123"));
}

void RegisterCommandsTest::requests()
{
    QCOMPARE(departmentRequest(9), QByteArray("B09"));
    QCOMPARE(vatRateRequest(3), QByteArray("D03"));
    QCOMPARE(operatorRequest(30), QByteArray("E30"));
    QCOMPARE(registerSettingsRequest(), QByteArray("L"));
    QCOMPARE(currencyRequest(3), QByteArray("M3"));
    QCOMPARE(unitRequest(5), QByteArray("QT5"));
    QCOMPARE(articleTypeRequest(8), QByteArray("ZT8"));
}

void RegisterCommandsTest::departmentAnswer_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("element");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("maxPrice");
    QTest::addColumn<QByteArray>("amount");

    const QByteArray figures = "00001500" "00000123450" "000002500";
    QTest::newRow("full answer") << QByteArray("00Voce        " + figures) << true << 1
                                 << QByteArray("Voce        ") << QByteArray("00001500")
                                 << QByteArray("00000123450");
    QTest::newRow("03 fills element 4") << QByteArray("03Mleko       " + figures) << true << 4
                                        << QByteArray("Mleko       ") << QByteArray("00001500")
                                        << QByteArray("00000123450");
    QTest::newRow("NUL at position 8") << QByteArray("05Hleb " + nul() + "XXXXXX" + figures) << true << 6
                                       << QByteArray("Hleb        ") << QByteArray("00001500")
                                       << QByteArray("00000123450");
    QTest::newRow("blank max price") << QByteArray("01Voce        " + sp(8) + "00000000000") << true
                                     << 2 << QByteArray("Voce        ") << sp(8) << QByteArray("00000000000");
    QTest::newRow("ends after a NUL-ended name") << QByteArray("09Voce" + nul()) << true << 10
                                                 << QByteArray("Voce        ") << QByteArray()
                                                 << QByteArray();
    QTest::newRow("ends inside the amount") << QByteArray("02Voce        0000150000012") << true << 3
                                            << QByteArray("Voce        ") << QByteArray("00001500")
                                            << QByteArray("00012");
    QTest::newRow("ends inside the name") << QByteArray("00Voce") << false << 0 << QByteArray()
                                          << QByteArray() << QByteArray();
    QTest::newRow("number 10 is beyond the table") << QByteArray("10Voce        " + figures) << false
                                                   << 0 << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("non-digit number") << QByteArray("0AVoce        " + figures) << false << 0
                                      << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("garbage in the amount") << QByteArray("00Voce        00001500000001x3450") << false
                                           << 0 << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("empty") << QByteArray() << false << 0 << QByteArray() << QByteArray() << QByteArray();
}

void RegisterCommandsTest::departmentAnswer()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, ok);
    const auto a = parseDepartmentAnswer(reply);
    QCOMPARE(a.has_value(), ok);
    if (!ok)
        return;
    QFETCH(int, element);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, maxPrice);
    QFETCH(QByteArray, amount);
    QCOMPARE(a->element, element);
    QCOMPARE(a->name, name);
    QCOMPARE(a->maxPrice, maxPrice);
    QCOMPARE(a->salesAmount, amount);
}

void RegisterCommandsTest::operatorAndVatAnswers()
{
    // VAT 03 goes into element 3 itself; 09 is the last element, 10 is beyond.
    auto vat = parseVatRateAnswer("03" "2000" "00000123450");
    QVERIFY(vat);
    QCOMPARE(vat->element, 3);
    QCOMPARE(vat->rate, QByteArray("2000"));
    QCOMPARE(vat->salesAmount, QByteArray("1234.5"));
    QCOMPARE(parseVatRateAnswer("09" "0000")->salesAmount, QByteArray("0"));
    QVERIFY(!parseVatRateAnswer("10" "2000" "00000000000"));
    QVERIFY(!parseVatRateAnswer("03" "20%0" "00000000000"));

    auto op = parseOperatorAnswer("30" "Kasir 31" + nul() + "abc" "    7" "00000005000" "000042");
    QVERIFY(op);
    QCOMPARE(op->element, 31);
    QCOMPARE(op->name, QByteArray("Kasir 31    "));
    QCOMPARE(op->code, QByteArray("    7"));
    QCOMPARE(op->salesAmount, QByteArray("50"));
    QCOMPARE(op->receiptCount, QByteArray("42"));
    QVERIFY(!parseOperatorAnswer("32" "Kasir" + nul()));
    QVERIFY(!parseOperatorAnswer("00" "Kasir" + nul() + sp(6) + "    7" "000000050x0"));
}

void RegisterCommandsTest::currencyUnitTypeAnswers_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("name");

    QTest::newRow("currency") << QByteArray("M") << QByteArray("2EUR" + nul() + sp(8) + "01.000000") << true
                              << QByteArray("EUR         ");
    QTest::newRow("currency 4 beyond") << QByteArray("M") << QByteArray("4EUR" + nul()) << false << QByteArray();
    QTest::newRow("currency bad rate") << QByteArray("M") << QByteArray("0EUR" + nul() + sp(8) + "01,000000")
                                       << false << QByteArray();
    QTest::newRow("unit full") << QByteArray("QT") << QByteArray("1kom") << true << QByteArray("kom");
    QTest::newRow("unit with NUL") << QByteArray("QT") << QByteArray("2l" + nul() + "x") << true << QByteArray("l  ");
    QTest::newRow("unit short, no NUL") << QByteArray("QT") << QByteArray("3kg") << false << QByteArray();
    QTest::newRow("type") << QByteArray("ZT") << QByteArray("1Voce" + nul() + sp(7)) << true
                          << QByteArray("Voce        ");
    QTest::newRow("type of 12") << QByteArray("ZT") << QByteArray("8Dvanaestslov") << true
                                << QByteArray("Dvanaestslov");
    QTest::newRow("type short") << QByteArray("ZT") << QByteArray("8Voce") << false << QByteArray();
    QTest::newRow("type only a number") << QByteArray("ZT") << QByteArray("8") << false << QByteArray();
}

void RegisterCommandsTest::currencyUnitTypeAnswers()
{
    QFETCH(QByteArray, kind);
    QFETCH(QByteArray, reply);
    QFETCH(bool, ok);
    QFETCH(QByteArray, name);
    std::optional<QByteArray> got;
    if (kind == "M") {
        const auto c = parseCurrencyAnswer(reply);
        if (c) {
            QCOMPARE(c->element, reply.at(0) - '0' + 1);
            QCOMPARE(c->rate, QByteArray("01.000000"));
            got = c->name;
        }
    } else {
        got = kind == "QT" ? parseUnitAnswer(reply) : parseArticleTypeAnswer(reply);
    }
    QCOMPARE(got.has_value(), ok);
    if (ok)
        QCOMPARE(*got, name);
}

void RegisterCommandsTest::registerSettingsAnswer()
{
    auto s = parseRegisterSettingsAnswer("7 3xxxx12x1021");
    QVERIFY(s);
    QCOMPARE(s->registerNumber, QByteArray("07"));
    QCOMPARE(s->printIntensity, QByteArray("3"));
    QCOMPARE(s->logo1Number, QByteArray("1"));
    QCOMPARE(s->logo2Number, QByteArray("2"));
    QVERIFY(s->logo1On && s->logo2On);
    QCOMPARE(s->cashierLoginRequired + s->toneSignal + s->speedIndex + s->testMenu, QByteArray("1021"));

    // Logo 0 leaves the flag alone; a short answer reads what exists.
    s = parseRegisterSettingsAnswer("010000000");
    QVERIFY(s);
    QVERIFY(!s->logo1On && !s->logo2On);
    QCOMPARE(s->testMenu, QByteArray());

    QVERIFY(!parseRegisterSettingsAnswer("0A0000000000000"));
    QVERIFY(!parseRegisterSettingsAnswer("01000000000X00"));
}

void RegisterCommandsTest::articleAnswer()
{
    const QByteArray reply = "000000000123" "03" "Mleko" + nul() + sp(22) + "00008990" "1" "1" "0" "2"
                             "00000017980" "000002000" "000012500";
    QCOMPARE(reply.size(), 83);
    auto a = parseArticleAnswer(reply + "trailing bytes are not read");
    QVERIFY(a);
    QCOMPARE(a->codeField, QByteArray("000000000123"));
    QCOMPARE(a->barCode, QByteArray("000000000123"));
    QCOMPARE(a->department, QByteArray("03"));
    QCOMPARE(a->description, QByteArray("Mleko" + sp(23)));
    QCOMPARE(a->price, QByteArray("89.9"));
    QCOMPARE(a->oneItem + a->vatCode + a->mesType + a->artType, QByteArray("1102"));
    QCOMPARE(a->total, QByteArray("179.8"));
    QCOMPARE(a->qty, QByteArray("2"));
    QCOMPARE(a->inventary, QByteArray("12.5"));
    QVERIFY(a->sold());

    // A decimal comma in a numeric field; commas in the name stay as they came.
    const QByteArray comma = "000000000124" "01" "Mleko 2,8%" + sp(18) + "00012,50" "0" "0" "0" "0"
                             "00000000000" "000000000" "000000000";
    a = parseArticleAnswer(comma);
    QVERIFY(a);
    QCOMPARE(a->price, QByteArray("0.125"));
    QCOMPARE(a->description, QByteArray("Mleko 2,8%" + sp(18)));
    QVERIFY(!a->sold());
    QCOMPARE(parseArticleAnswer(withDecimalPoints(comma))->description, QByteArray("Mleko 2.8%" + sp(18)));

    // Fields past the end of a short answer count as 0.
    a = parseArticleAnswer("000000000125" "02" "Sir" + nul() + "0000");
    QVERIFY(a);
    QCOMPARE(a->price, QByteArray("0"));
    QCOMPARE(a->inventary, QByteArray("0"));
}

void RegisterCommandsTest::articleAnswerRefused_data()
{
    QTest::addColumn<QByteArray>("reply");
    const QByteArray name = "Sir" + nul() + sp(24);
    QTest::newRow("ends inside the name") << QByteArray("000000000125" "02" "Sir");
    QTest::newRow("letters in the code") << QByteArray("00000000012A" "02" + name);
    QTest::newRow("blank code") << QByteArray(sp(12) + "02" + name);
    QTest::newRow("letters in the price") << QByteArray("000000000125" "02" + name + "0000x990");
    QTest::newRow("two decimal marks") << QByteArray("000000000125" "02" + name + "00,12,50");
    QTest::newRow("letters in the stock")
        << QByteArray("000000000125" "02" + name + "00000100" "0000" "00000000000" "000000000" "00000001Z");
}

void RegisterCommandsTest::articleAnswerRefused()
{
    QFETCH(QByteArray, reply);
    QVERIFY(!parseArticleAnswer(reply));
}

void RegisterCommandsTest::statusAnswer_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("menu");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("count");
    QTest::newRow("all four fields") << QByteArray("xx1x032xxx01234xx") << true << 1 << 3 << 2 << 1234;
    QTest::newRow("count with a fraction") << QByteArray("0050000000012.5") << true << 5 << 0 << 0 << 12;
    QTest::newRow("short: count absent") << QByteArray("00000") << true << 0 << 0 << 0 << 0;
    QTest::newRow("count 32767") << QByteArray("000000000032767") << true << 0 << 0 << 0 << 32767;
    QTest::newRow("count overflows 16 bits") << QByteArray("000000000099999") << false << 0 << 0 << 0 << 0;
    QTest::newRow("letter in the count") << QByteArray("0000000000012a4") << false << 0 << 0 << 0 << 0;
    QTest::newRow("letter in the menu") << QByteArray("00x000000000000") << false << 0 << 0 << 0 << 0;
}

void RegisterCommandsTest::statusAnswer()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, ok);
    const auto s = parseRegisterStatus(reply);
    QCOMPARE(s.has_value(), ok);
    if (!ok)
        return;
    QFETCH(int, menu);
    QFETCH(int, error);
    QFETCH(int, state);
    QFETCH(int, count);
    QCOMPARE(int(s->menuPosition), menu);
    QCOMPARE(int(s->lastError), error);
    QCOMPARE(int(s->operatingState), state);
    QCOMPARE(int(s->articleCount), count);
}

void RegisterCommandsTest::garbageNeverReadsBeyondTheAnswer()
{
    // Every prefix of a long answer, and of pure garbage, is parsed from an exact-size copy
    // (ASan catches any read past its end); none may be accepted with a name cut short.
    const QByteArray article = "000000000123" "03" "Mleko" + sp(23) + "00008990" "1102"
                               "00000017980" "000002000" "000012500";
    QByteArray garbage;
    for (int i = 0; i < 100; ++i)
        garbage += char((i * 37 + 11) & 0xff);
    for (const QByteArray &src : {article, garbage, QByteArray(90, '\0')}) {
        for (int n = 0; n <= src.size(); ++n) {
            const QByteArray r(src.constData(), n);
            const bool nameComplete = n >= 42;
            if (src == article)
                QCOMPARE(parseArticleAnswer(r).has_value(), nameComplete);
            parseDepartmentAnswer(r);
            parseVatRateAnswer(r);
            parseOperatorAnswer(r);
            parseRegisterSettingsAnswer(r);
            parseCurrencyAnswer(r);
            parseUnitAnswer(r);
            parseArticleTypeAnswer(r);
            parseRegisterStatus(r);
            if (src == garbage)
                QVERIFY(!parseArticleAnswer(r));
        }
    }
}

QTEST_GUILESS_MAIN(RegisterCommandsTest)
#include "register_commands_test.moc"
