// Sending programming data: the payloads a simulated register receives, the refusal and
// silence paths, and what the routines store back.
#include "routine_rig.h"

#include "register/PrintImage.h"
#include "register/SendRoutines.h"

#include <QElapsedTimer>

using namespace kalvo;
using kalvo::test::RoutineRig;
using kalvo::test::bytes;

namespace {

const QByteArray kNul(1, '\0');
QByteArray sp(int n) { return QByteArray(n, ' '); }
std::string padded(const std::string &s, std::size_t n) { return printimage::padRight(s, n); }

// Plain Latin on both sides unless a test says otherwise.
void latin(AppContext &ctx)
{
    ctx.data.CyrillicMode = false;
    ctx.data.LinkSettings.DisplayCyrillic = false;
}

void blankTables(ProgrammingData &d)
{
    for (auto &dep : d.Departments)
        dep.name.clear();
    for (auto &op : d.Operators)
        op.code.clear();
    for (auto &cur : d.Currencies)
        cur = {};
    for (auto &unit : d.Units)
        unit = {};
    for (auto &type : d.ArticleTypes)
        type = {};
}

} // namespace

class SendRoutinesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { qputenv("ZIB_TIMEOUT_SCALE", "0.05"); }

    void departmentsSkipBlankNames();
    void departmentNamesCyrillic();
    void operatorsNeedACode();
    void headerWithEmptyTrailingLines();
    void advertShortStoredLineIsBoldAndCentred();
    void smallerKinds_data();
    void smallerKinds();
    void articlesAndStock();
    void refusalTexts_data();
    void refusalTexts();
    void cancelKeepsEarlierRecords();
    void retryResendsSamePayload();
    void silenceEndsKind();
    void databaseUnreachableFailsQuietly();
    void modemLinkUsesModemVariant();
};

void SendRoutinesTest::departmentsSkipBlankNames()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    latin(rig.ctx);
    auto &deps = rig.ctx.data.Departments;
    blankTables(rig.ctx.data);
    deps[1].name = "Voce";
    deps[1].maxPrice = "1500";
    deps[3].name = "   ";
    deps[4].name = "Mleko";
    deps[4].maxPrice = "        ";
    deps[10].name = "Odeqewe 9"; // register code unfolds to Latin when CyrillicMode is off

    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(send.invia_rep());
    QVERIFY(rig.payloadsAre({"R00Voce        00001500", "R03Mleko       00000000",
                             "R09Odeljenje 9 00000000"}));
    QCOMPARE(rig.records, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    QCOMPARE(deps[1].name, std::string("Voce        "));
    QCOMPARE(deps[10].name, std::string("Odeljenje 9 "));
    QCOMPARE(deps[2].name, std::string());
    QVERIFY(rig.prompter.prompts.empty());
}

void SendRoutinesTest::departmentNamesCyrillic()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    rig.ctx.data.CyrillicMode = true;
    rig.ctx.data.LinkSettings.DisplayCyrillic = true;
    blankTables(rig.ctx.data);
    rig.ctx.data.Departments[1].name = "Konj"; // typed Latin: the digraph folds into "w"

    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(send.invia_rep());
    // K o w in ISO 8859-5, stored back in register code (never the 8-bit form)
    QVERIFY(rig.payloadsAre({"R00\xBA\xDE\xFA" + sp(9) + "00000000"}));
    QCOMPARE(rig.ctx.data.Departments[1].name, std::string("Kow") + std::string(9, ' '));
}

void SendRoutinesTest::operatorsNeedACode()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    latin(rig.ctx);
    auto &ops = rig.ctx.data.Operators;
    blankTables(rig.ctx.data);
    ops[1].name = "Pera";  // no code: not sent
    ops[2].code = "42";
    ops[2].name = "Mika";
    ops[31].code = "7";
    ops[31].name = "Zika";

    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(send.invia_op());
    QVERIFY(rig.payloadsAre({"O01Mika        " + sp(3) + "42", "O30Zika        " + sp(4) + "7"}));
    QCOMPARE(int(rig.records.size()), 31);
    QCOMPARE(rig.records.back(), 31);
    QCOMPARE(ops[2].code, std::string("   42"));
    QCOMPARE(ops[2].name, std::string("Mika        "));
    QCOMPARE(ops[1].name, std::string("Pera"));
}

void SendRoutinesTest::headerWithEmptyTrailingLines()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    latin(rig.ctx);
    auto &d = rig.ctx.data;
    d.LinkSettings.lineWidth = 22;
    d.HeaderLines[0] = padded("ABC", 32) + "11";

    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(send.invia_int());
    const QByteArray abc = sp(7) + "\x1B" "A\x1B" "B\x1B" "C" + sp(9);
    QList<QByteArray> expected{"S0" + abc + sp(10) + kNul};
    for (char r = '1'; r <= '5'; ++r)
        expected << QByteArray("S") + r + kNul + sp(31) + kNul;
    QVERIFY(rig.payloadsAre(expected));
    QCOMPARE(rig.records, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    // the layout holds the print image after sending
    QCOMPARE(bytes(d.HeaderLayouts[0].text), abc);
    QCOMPARE(d.HeaderLayouts[5].text, std::string(1, '\0'));
}

void SendRoutinesTest::advertShortStoredLineIsBoldAndCentred()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    latin(rig.ctx);
    auto &d = rig.ctx.data;
    d.LinkSettings.lineWidth = 22;
    d.AdvertLines[0] = "HVALA";                      // no flag characters
    d.AdvertLines[1] = padded("Tel 123", 32) + "00"; // plain, left-aligned
    d.AdvertLines[2] = " 1";                          // counts as empty

    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(send.invia_adv());
    const QByteArray bold = "\x1B" "H\x1B" "V\x1B" "A\x1B" "L\x1B" "A";
    QList<QByteArray> expected{"A0" + sp(5) + bold + sp(7) + sp(10) + kNul, "A1Tel 123" + sp(25) + kNul};
    for (char r = '2'; r <= '5'; ++r)
        expected << QByteArray("A") + r + kNul + sp(31) + kNul;
    QVERIFY(rig.payloadsAre(expected));
}

void SendRoutinesTest::smallerKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<QByteArray>>("expected");
    QTest::newRow("currencies") << int(SendRoutines::Currencies)
                                << QList<QByteArray>{"U2EUR         01.000000"};
    QTest::newRow("units") << int(SendRoutines::Units) << QList<QByteArray>{"QR1kg ", "QR4litar"};
    QTest::newRow("article types")
        << int(SendRoutines::ArticleTypes) << QList<QByteArray>{"ZR3Voce" + kNul + sp(7)};
    QTest::newRow("register settings") << int(SendRoutines::System)
                                       << QList<QByteArray>{"X05000001001030"};
    QTest::newRow("message") << int(SendRoutines::Message)
                             << QList<QByteArray>{"k" + QByteArray("Dobar dan") + sp(23) + sp(32) + "Kow" + sp(29)};
}

void SendRoutinesTest::smallerKinds()
{
    QFETCH(int, kind);
    RoutineRig rig;
    QVERIFY(rig.open());
    auto &d = rig.ctx.data;
    latin(rig.ctx);
    d.CyrillicMode = true; // "nj" folds into the register's "w"
    blankTables(d);
    d.Currencies[3] = {"1.000000", "EUR"};
    d.Units[1].name = "kg";
    d.Units[4].name = "litar";
    d.ArticleTypes[3].name = "  Voce ";
    d.RegisterSettings.registerNumber = " 5";
    d.RegisterSettings.printIntensity = " ";
    d.RegisterSettings.logo1Number = "1";
    d.RegisterSettings.cashierLoginRequired = "1";
    d.RegisterSettings.speedIndex = "3";
    SendRoutines send(rig.ctx, rig.callbacks);
    send.messageRows = {"Dobar dan", "", "Konj"};

    QVERIFY(send.run(SendRoutines::Kind(kind)));
    QFETCH(QList<QByteArray>, expected);
    QVERIFY(rig.payloadsAre(expected));
    // what the routines store back
    switch (kind) {
    case SendRoutines::Currencies:
        QCOMPARE(d.Currencies[3].rate, std::string("01.000000"));
        QCOMPARE(d.Currencies[3].name, std::string("EUR         "));
        QCOMPARE(rig.records, (std::vector<int>{1, 2, 3, 4}));
        break;
    case SendRoutines::System:
        QCOMPARE(d.RegisterSettings.registerNumber.str(), std::string("05"));
        QCOMPARE(d.RegisterSettings.printIntensity.str(), std::string("0"));
        QCOMPARE(rig.records, (std::vector<int>{0}));
        break;
    case SendRoutines::Message:
        QCOMPARE(send.messageRows[2], std::string("Kow"));
        break;
    default:
        break;
    }
}

void SendRoutinesTest::articlesAndStock()
{
    RoutineRig rig;
    // the register knows the two articles that "Artikli" does not send
    QVERIFY(rig.writeState("article code=000000000000 name=Nula\n"
                           "article code=000000000124 name=Bez\n"));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    latin(rig.ctx);
    const ArticleStore store = rig.store();
    Article milk;
    milk.barCode = "000000000123";
    milk.description = "Mleko";
    milk.price = 89.90;
    milk.department = 3;
    milk.vatCode = 1;
    milk.artType = 2;
    milk.inventary = 12.5;
    Article unnamed = milk;
    unnamed.barCode = "000000000124";
    unnamed.description = "";
    unnamed.inventary = 3;
    Article zero = milk;
    zero.barCode = "000000000000";
    zero.description = "Nula";
    zero.inventary = 1;
    QVERIFY(store.insertArticle(milk));
    QVERIFY(store.insertArticle(unnamed));
    QVERIFY(store.insertArticle(zero));

    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(send.invia_plu());
    QVERIFY(rig.payloadsAre({"PR00000000012303Mleko" + sp(23) + "000089900102"}));
    QCOMPARE(rig.records, (std::vector<int>{0, 1, 2, 3})); // rows read, skipped ones included

    rig.records.clear();
    QVERIFY(send.invia_plu_inv());
    QCOMPARE(rig.sim.payloads().mid(1),
             (QList<QByteArray>{"PQ000000000000000001000", "PQ000000000123000012500", "PQ000000000124000003000"}));
    QCOMPARE(rig.records, (std::vector<int>{0, 1, 2, 3}));
}

void SendRoutinesTest::refusalTexts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("departments") << int(SendRoutines::Departments) << "Odeljenje 00 nije primljeno u kasu!\r\n";
    QTest::newRow("articles") << int(SendRoutines::Articles) << "Artikal 000000000123 nije primljen u kasu!\r\n";
    QTest::newRow("stock") << int(SendRoutines::ArticleStock) << " Za artikal 000000000123 nije azuriran lager!\r\n";
    QTest::newRow("operators") << int(SendRoutines::Operators) << " Operater 00 nije primjen u kasu!\r\n";
    QTest::newRow("currencies") << int(SendRoutines::Currencies) << " Valuta 1 nije primljen u kasu!\r\n";
    QTest::newRow("system") << int(SendRoutines::System) << " Podaci nisu primljeni u kasu!\r\n";
    QTest::newRow("header") << int(SendRoutines::Header) << " Red zaglavlja 0 nije primljen u kasu!\r\n";
    QTest::newRow("advert") << int(SendRoutines::Advert) << " Red reklame 0 nije primljen u kasu!\r\n";
    QTest::newRow("units") << int(SendRoutines::Units) << " Jedinica 1 nije primljena u kasu!\r\n";
    QTest::newRow("types") << int(SendRoutines::ArticleTypes) << " Tip 1 nije primljen u kasu!\r\n";
    QTest::newRow("message") << int(SendRoutines::Message) << " Poruka nije primljena u kasu!\r\n";
}

void SendRoutinesTest::refusalTexts()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    RoutineRig rig;
    QVERIFY(rig.open({"--fault", "nak"}));
    latin(rig.ctx);
    rig.ctx.data.Currencies[2] = {"117.500000", "USD"};
    Article a;
    a.barCode = "000000000123";
    a.description = "Hleb";
    a.price = 1;
    QVERIFY(rig.store().insertArticle(a));

    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(!send.run(SendRoutines::Kind(kind))); // Cancel is the scripted answer
    QCOMPARE(rig.prompter.prompts.size(), std::size_t(1));
    QCOMPARE(rig.prompter.last().text, text);
    QCOMPARE(rig.prompter.last().title, QString("Orvel Cash Registers"));
    QCOMPARE(rig.prompter.last().icon, Icon::None);
    QCOMPARE(rig.prompter.last().buttons, Buttons::RetryCancel);
    QCOMPARE(rig.sim.payloads().size(), 1); // nothing after the cancelled record
}

void SendRoutinesTest::cancelKeepsEarlierRecords()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    latin(rig.ctx);
    blankTables(rig.ctx.data);
    for (int k = 1; k <= 3; ++k)
        rig.ctx.data.Departments[std::size_t(k)].name = "Dep " + std::to_string(k);
    // the register refuses the second department
    rig.callbacks.recordNumber = [&](int n) {
        rig.records.push_back(n);
        if (n == 1)
            QVERIFY(rig.queue("nak"));
    };
    rig.prompter.answer(Answer::Cancel);
    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(!send.invia_rep());
    QCOMPARE(rig.prompter.last().text, QString("Odeljenje 01 nije primljeno u kasu!\r\n"));
    QCOMPARE(rig.sim.payloads().size(), 2);
    QCOMPARE(rig.records, (std::vector<int>{1}));

    // the next kind still goes out
    QVERIFY(send.invia_sist());
    QCOMPARE(rig.sim.payloads().size(), 3);
}

void SendRoutinesTest::retryResendsSamePayload()
{
    RoutineRig rig;
    QVERIFY(rig.open({"--fault", "nak:2"}));
    latin(rig.ctx);
    rig.prompter.answer(Answer::Retry);
    rig.prompter.answer(Answer::Retry);
    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(send.invia_sist());
    QCOMPARE(rig.sim.payloads(), (QList<QByteArray>(3, "X01000000000000")));
    QCOMPARE(rig.prompter.prompts.size(), std::size_t(2));
}

void SendRoutinesTest::silenceEndsKind()
{
    RoutineRig rig;
    QVERIFY(rig.open({"--fault", "silent:3"}));
    latin(rig.ctx);
    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(!send.invia_rep());
    QCOMPARE(rig.prompter.prompts.size(), std::size_t(1));
    QCOMPARE(rig.prompter.last().text, QString("Komunikacija je prekinuta!"));
    QCOMPARE(rig.prompter.last().title, QString("Orvel CAsh Registers"));
    QCOMPARE(rig.prompter.last().icon, Icon::Exclamation);
    QCOMPARE(rig.sim.payloads().size(), 3); // three tries of the first department
    QVERIFY(rig.records.empty());
}

void SendRoutinesTest::databaseUnreachableFailsQuietly()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    rig.ctx.settings.connectionString = "Driver=QSQLITE;Database=/nonexistent/folder/kalvo.db";
    SendRoutines send(rig.ctx, rig.callbacks);
    QVERIFY(!send.invia_plu());
    QVERIFY(!send.invia_plu_inv());
    QVERIFY(rig.prompter.prompts.empty());
    QVERIFY(rig.sim.payloads().isEmpty());
}

void SendRoutinesTest::modemLinkUsesModemVariant()
{
    // The variants differ in their time-out: 3 x 8 s direct, 3 x 20 s on the modem line.
    qputenv("ZIB_TIMEOUT_SCALE", "0.01");
    RoutineRig rig;
    QVERIFY(rig.open({"--fault", "silent:4"}));
    rig.ctx.link.ModemLink = true;
    SendRoutines send(rig.ctx, rig.callbacks);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!send.testLink());
    QVERIFY(timer.elapsed() >= 550); // 3 x 200 ms, where the direct test takes 3 x 80 ms
    QCOMPARE(rig.prompter.last().text, QString("Veza nije u redu!"));
    QCOMPARE(rig.prompter.last().icon, Icon::Critical);

    timer.restart();
    QVERIFY(send.invia_sist()); // one more silent frame, then the register answers
    QVERIFY(timer.elapsed() >= 180); // one silent modem try: 200 ms (direct: 80 ms)
    QCOMPARE(rig.sim.payloads().mid(3), (QList<QByteArray>{"X01000000000000", "X01000000000000"}));
}

QTEST_GUILESS_MAIN(SendRoutinesTest)
#include "send_routines_test.moc"
