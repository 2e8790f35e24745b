// Receiving programming data and sales from a simulated register: element selection, name
// conversion, the article lists and their read-back tables, the failure paths, the two
// operations that change the register, and a full round trip.
#include "routine_rig.h"

#include "data/ProgrammingFile.h"
#include "register/ReceiveRoutines.h"
#include "register/SendRoutines.h"

using namespace kalvo;
using kalvo::test::RoutineRig;
using kalvo::test::bytes;

namespace {

QString title() { return QStringLiteral("Orvel Cash Registers"); }

QList<QByteArray> repeated(const QByteArray &p, int n) { return QList<QByteArray>(n, p); }

// A register article (state-file record) without sales.
QByteArray article(const QByteArray &code, const QByteArray &name, const QByteArray &quantity = "0",
                   const QByteArray &total = "0")
{
    return "article code=" + code + " name=\"" + name + "\" department=2 price=8990 single=1 vat=3 unit=0 type=4"
           " total=" + total + " quantity=" + quantity + " stock=12500\n";
}

QList<ReadBackArticle> readBack(const RoutineRig &rig, ReadBackList list)
{
    return rig.store().readBackList(list, ArticleStore::Rows::All);
}

} // namespace

class ReceiveRoutinesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { qputenv("ZIB_TIMEOUT_SCALE", "0.05"); }

    void articleListBoundByCount_data();
    void articleListBoundByCount();
    void articleFieldsAndNames();
    void soldListSkipsUnsold();
    void damagedArticleAnswer_data();
    void damagedArticleAnswer();
    void elementsByAnswerNumber();
    void failureTexts_data();
    void failureTexts();
    void numberBeyondTableFailsQuietly();
    void lineDropsHalfWay();
    void operatorNamesFrom8859_data();
    void operatorNamesFrom8859();
    void tableFlagsFollowNames();
    void deleteAllArticles();
    void deleteRefused();
    void deleteNeedsConfirmation();
    void eraseSales_data();
    void eraseSales();
    void roundTrip();
};

void ReceiveRoutinesTest::articleListBoundByCount_data()
{
    QTest::addColumn<int>("articles");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("requests"); // article requests after "n"
    QTest::addColumn<int>("rows");
    QTest::newRow("count 3, five articles: four requests") << 5 << 3 << 4 << 4;
    QTest::newRow("count 3, two articles: a bare ACK ends the list") << 2 << 3 << 3 << 2;
    QTest::newRow("count 0: one request") << 2 << 0 << 1 << 1;
    QTest::newRow("empty register") << 0 << 0 << 1 << 0;
}

void ReceiveRoutinesTest::articleListBoundByCount()
{
    QFETCH(int, articles);
    QFETCH(int, count);
    QFETCH(int, requests);
    QFETCH(int, rows);
    RoutineRig rig;
    QByteArray state = "clear articles\nstatus count=" + QByteArray::number(count) + "\n";
    for (int i = 1; i <= articles; ++i)
        state += article(QByteArray::number(i).rightJustified(12, '0'), "Artikal " + QByteArray::number(i));
    QVERIFY(rig.writeState(state));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    // rows of an earlier read are gone afterwards
    ReadBackArticle old;
    old.barCode = "000000000999";
    rig.store().insertReadBack(ReadBackList::Articles, old);

    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    QVERIFY(receive.ricevi_plu());
    QList<QByteArray> expected{"n", "PTFIRST"};
    expected += repeated("PTNEXT", requests - 1);
    QVERIFY(rig.payloadsAre(expected));
    QCOMPARE(readBack(rig, ReadBackList::Articles).size(), rows);
    std::vector<int> shown;
    for (int c = 0; c < requests; ++c)
        shown.push_back(c);
    QCOMPARE(rig.records, shown); // the loop counter, before each request
    QVERIFY(rig.prompter.prompts.empty());
}

void ReceiveRoutinesTest::articleFieldsAndNames()
{
    RoutineRig rig;
    rig.ctx.data.CyrillicFormFlags.articles = false;
    // a Latin name with quotes and a byte above 0x7F, and a name in 8-bit Cyrillic (Mleko)
    QVERIFY(rig.writeState("clear articles\n"
                           "article code=000000000123 name=\"Caj 'Nana' \\\"A\\\" \\xE8\" department=12 price=12345"
                           " single=1 vat=3 unit=2 type=7 total=1234567 quantity=2500 stock=12500\n"
                           "article code=000000000124 name=\"\\xBC\\xDB\\xD5\\xDA\\xDE\" department=0 price=5"
                           " single=0 vat=0 unit=0 type=0 total=0 quantity=0 stock=0\n"));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    QVERIFY(receive.ricevi_plu());

    const auto rows = readBack(rig, ReadBackList::Articles);
    QCOMPARE(rows.size(), 2);
    const ReadBackArticle &tea = rows[0];
    QCOMPARE(tea.barCode, QByteArray("000000000123"));
    QCOMPARE(tea.description, QByteArray("Caj 'Nana' \"A\" \xE8").leftJustified(28, ' '));
    QCOMPARE(tea.department, 12);
    QCOMPARE(tea.price, 123.45);
    QVERIFY(tea.oneItem);
    QCOMPARE(tea.vatCode, 3);
    QCOMPARE(tea.mesType, 2);
    QCOMPARE(tea.artType, 7);
    QCOMPARE(tea.total, 12345.67);
    QCOMPARE(tea.qty, 2.5);
    QCOMPARE(tea.inventary, 12.5);
    QCOMPARE(rows[1].description, QByteArray("Mleko").leftJustified(28, ' '));
    QVERIFY(rig.ctx.data.CyrillicFormFlags.articles);
}

void ReceiveRoutinesTest::soldListSkipsUnsold()
{
    RoutineRig rig;
    QVERIFY(rig.writeState("clear articles\n" + article("000000000001", "Nije prodat") +
                           article("000000000002", "Prodat", "2500", "22475") + article("000000000003", "Ni ovaj") +
                           article("000000000004", "I ovaj", "1000", "8990")));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    rig.ctx.link.ModemLink = true;
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    QVERIFY(receive.ricevi_plu_sold());

    QVERIFY(rig.payloadsAre({"n", "PTFIRST", "PTSOLD", "PTSOLD", "PTSOLD"}));
    const auto rows = readBack(rig, ReadBackList::SoldArticles);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].barCode, QByteArray("000000000002"));
    QCOMPARE(rows[0].qty, 2.5);
    QCOMPARE(rows[1].barCode, QByteArray("000000000004"));
    QCOMPARE(rig.records, (std::vector<int>{1, 2})); // rows stored
    // "n" on the modem line is acknowledged three times; the list's own requests use the
    // 60 s exchange on either line, which acknowledges once
    QCOMPARE(rig.sim.acksReceived(), 3 + 3);
    QVERIFY(readBack(rig, ReadBackList::Articles).isEmpty());
}

void ReceiveRoutinesTest::damagedArticleAnswer_data()
{
    QTest::addColumn<bool>("retry");
    QTest::addColumn<int>("at");   // the request whose answer is damaged (loop counter)
    QTest::addColumn<int>("rows");
    QTest::newRow("cancel keeps the rows before") << false << 2 << 2;
    QTest::newRow("retry reads on") << true << 0 << 3;
}

void ReceiveRoutinesTest::damagedArticleAnswer()
{
    QFETCH(bool, retry);
    QFETCH(int, at);
    QFETCH(int, rows);
    RoutineRig rig;
    QVERIFY(rig.writeState("clear articles\n" + article("000000000001", "Prvi") + article("000000000002", "Drugi")
                           + article("000000000003", "Treci")));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    rig.callbacks.recordNumber = [&](int c) {
        rig.records.push_back(c);
        if (c == at)
            QVERIFY(rig.queue("badsum"));
    };
    if (retry)
        rig.prompter.answer(Answer::Retry);
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    QCOMPARE(receive.ricevi_plu(), retry);
    QCOMPARE(rig.prompter.prompts.size(), std::size_t(1));
    QCOMPARE(rig.prompter.last().text, QString("Greska pri prenosu podataka!\r\n"));
    QCOMPARE(rig.prompter.last().title, title());
    QCOMPARE(rig.prompter.last().buttons, Buttons::RetryCancel);
    QCOMPARE(readBack(rig, ReadBackList::Articles).size(), rows);
}

void ReceiveRoutinesTest::elementsByAnswerNumber()
{
    RoutineRig rig;
    // request B02 is answered with department 05, B03 and B05 with a bare ACK; D02 with
    // rate 05 and D05 with a bare ACK
    QVERIFY(rig.writeState(
        "department 4 name=Hleb maxprice=00000100 amount=100 quantity=1000\n"
        "reply request=B02 answer=frame payload=\"05Voce\\0       0000150000000012345000002500\"\n"
        "reply request=B03 answer=ack\n"
        "reply request=B05 answer=ack\n"
        "reply request=D02 answer=frame payload=\"05200000000123450\"\n"
        "reply request=D05 answer=ack\n"));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    auto &d = rig.ctx.data;
    d.Departments[3] = {"Staro 3     ", "00000300", "1", "3", "30", "300"};
    d.Departments[4] = {"Staro 4     ", "00000400", "2", "0", "40", "400"};
    const DepartmentRecord keep3 = d.Departments[3];
    const DepartmentRecord keep4 = d.Departments[4];

    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    QVERIFY(receive.ricevi_rep());
    QCOMPARE(d.Departments[6].name, std::string("Voce        "));
    QCOMPARE(d.Departments[6].maxPrice, std::string("00001500"));
    QCOMPARE(d.Departments[6].salesAmount, std::string("00000012345"));
    QCOMPARE(d.Departments[6].salesQuantity, std::string("000002500"));
    QCOMPARE(d.Departments[3], keep3); // its request was answered for another department
    QCOMPARE(d.Departments[4], keep4); // no answer: keeps its name and figures
    QCOMPARE(d.Departments[5].name, std::string("Hleb        "));
    QCOMPARE(rig.records, (std::vector<int>{1, 2, 3, 5, 7, 8, 9, 10}));

    rig.records.clear();
    QVERIFY(receive.ricevi_Iva());
    QCOMPARE(d.VatRates[5].rate, std::string("2000"));
    QCOMPARE(d.VatRates[5].salesAmount, std::string("1234.5"));
    QCOMPARE(rig.records, (std::vector<int>{0, 1, 2, 3, 4, 6, 7, 8}));
}

void ReceiveRoutinesTest::failureTexts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("text");
    QTest::newRow("departments") << int(ReceiveRoutines::Departments) << "badsum"
                                 << " Odeljenje 1 nije primljeno iz kase!\r\n";
    QTest::newRow("articles") << int(ReceiveRoutines::Articles) << "badsum" << "Greska pri prenosu podataka!\r\n";
    QTest::newRow("sold articles") << int(ReceiveRoutines::SoldArticles) << "silent"
                                   << "Greska pri prenosu podataka!\r\n";
    QTest::newRow("operators") << int(ReceiveRoutines::Operators) << "silent" << " Kasir 1 nije primljen iz kase!\r\n";
    QTest::newRow("currencies") << int(ReceiveRoutines::Currencies) << "badsum"
                                << " Valuta 1 nije primljena iz kase!\r\n";
    QTest::newRow("system") << int(ReceiveRoutines::System) << "badsum"
                            << "Podaci o sistemu nisu primljeni iz kase!\r\n";
    QTest::newRow("vat rates") << int(ReceiveRoutines::VatRates) << "badsum"
                               << " Stopa 00 nije primljena iz kase!\r\n";
    QTest::newRow("units") << int(ReceiveRoutines::Units) << "badsum" << " Jedinica 1 nije primljena iz kase!\r\n";
    QTest::newRow("types") << int(ReceiveRoutines::ArticleTypes) << "badsum" << " Tip 1 nije primljen iz kase!\r\n";
}

void ReceiveRoutinesTest::failureTexts()
{
    QFETCH(int, kind);
    QFETCH(QString, fault);
    QFETCH(QString, text);
    RoutineRig rig;
    QVERIFY(rig.open({"--fault", fault}));
    const ProgrammingData before = rig.ctx.data;
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    QVERIFY(!receive.run(ReceiveRoutines::Kind(kind))); // Cancel is the scripted answer
    QCOMPARE(rig.prompter.prompts.size(), std::size_t(1));
    QCOMPARE(rig.prompter.last().text, text);
    QCOMPARE(rig.prompter.last().title, title());
    QCOMPARE(rig.prompter.last().icon, Icon::None);
    QCOMPARE(rig.prompter.last().buttons, Buttons::RetryCancel);
    QCOMPARE(rig.sim.payloads().size(), 1); // the request is not repeated
    QVERIFY(rig.ctx.data.Departments == before.Departments);
    QVERIFY(rig.ctx.data.RegisterSettings == before.RegisterSettings);
}

void ReceiveRoutinesTest::numberBeyondTableFailsQuietly()
{
    RoutineRig rig;
    QVERIFY(rig.writeState(
        "reply request=B01 answer=frame payload=\"10Preko\\0       00000000000000000000000000000\"\n"
        "reply request=E01 answer=frame payload=\"31Pera\\0         42000000000000000001\"\n"));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    auto &d = rig.ctx.data;
    d.Departments[1].name = "Prvo";
    const ProgrammingData before = d;
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    QVERIFY(!receive.ricevi_rep());
    QVERIFY(!receive.ricevi_op());
    QVERIFY(rig.prompter.prompts.empty());
    // the answers before the bad one are stored; nothing else changed
    QVERIFY(d.Departments[1].name != "Prvo");
    for (std::size_t k = 2; k < d.Departments.size(); ++k)
        QCOMPARE(d.Departments[k], before.Departments[k]);
    for (std::size_t k = 2; k < d.Operators.size(); ++k)
        QCOMPARE(d.Operators[k], before.Operators[k]);
}

void ReceiveRoutinesTest::lineDropsHalfWay()
{
    RoutineRig rig;
    QVERIFY(rig.writeState("operator 0 name=Ana code=1\noperator 1 name=Bora code=2\noperator 2 name=Ceca code=3\n"));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    rig.callbacks.recordNumber = [&](int n) {
        rig.records.push_back(n);
        if (n == 2)
            QVERIFY(rig.queue("drop"));
    };
    auto &ops = rig.ctx.data.Operators;
    const OperatorRecord third = ops[3];
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    QVERIFY(!receive.ricevi_op());
    QCOMPARE(rig.prompter.last().text, QString(" Kasir 3 nije primljen iz kase!\r\n"));
    QCOMPARE(ops[1].name, std::string("Ana         "));
    QCOMPARE(ops[2].name, std::string("Bora        "));
    QCOMPARE(ops[3], third);
}

void ReceiveRoutinesTest::operatorNamesFrom8859_data()
{
    QTest::addColumn<bool>("flag");
    QTest::addColumn<QByteArray>("first");    // operator 0 in the register
    QTest::addColumn<QByteArray>("expected1"); // its name as stored
    QTest::addColumn<QByteArray>("expected2"); // "Pera " + 0xE8 as stored
    QTest::addColumn<bool>("flagAfter");
    // the flag starts set: even Latin names go through From8859 (0xE8 is a Cyrillic letter)
    QTest::newRow("flag set") << true << QByteArray("Ana") << QByteArray("Ana         ")
                              << QByteArray("Pera {      ") << true;
    QTest::newRow("flag cleared, Latin names") << false << QByteArray("Ana") << QByteArray("Ana         ")
                                               << QByteArray("Pera \xE8      ") << false;
    QTest::newRow("flag cleared, a Cyrillic name sets it")
        << false << QByteArray("\xBC\xD0\xE0\xDA\xDE") << QByteArray("Marko       ") << QByteArray("Pera {      ")
        << true;
}

void ReceiveRoutinesTest::operatorNamesFrom8859()
{
    QFETCH(bool, flag);
    QFETCH(QByteArray, first);
    RoutineRig rig;
    QByteArray hex;
    for (char c : first)
        hex += "\\x" + QByteArray::number(static_cast<unsigned char>(c), 16);
    QVERIFY(rig.writeState("operator 0 name=\"" + hex + "\" code=11 amount=1234550 receipts=17\n"
                           "operator 1 name=\"Pera \\xE8\" code=12\n"));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    rig.ctx.data.CyrillicFormFlags.operators = flag;
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    QVERIFY(receive.ricevi_op());
    const auto &ops = rig.ctx.data.Operators;
    QTEST(bytes(ops[1].name), "expected1");
    QTEST(bytes(ops[2].name), "expected2");
    QCOMPARE(ops[1].code, std::string("   11"));
    QCOMPARE(ops[1].salesAmount, std::string("12345.5"));
    QCOMPARE(ops[1].receiptCount, std::string("17"));
    QTEST(rig.ctx.data.CyrillicFormFlags.operators, "flagAfter");
}

void ReceiveRoutinesTest::tableFlagsFollowNames()
{
    // the department flag is cleared before the read and set by a name without Latin
    // letters (digits suffice); then every name goes through From8859
    RoutineRig rig;
    QVERIFY(rig.writeState("department 0 name=\"Hleb 'A'\\xE8\"\ndepartment 1 name=\"\\xB2\\xDE\\xE6\\xD5\"\n"
                           "unit 1 name=kg\nunit 2 name=\"\\xDB\"\n"));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    auto &d = rig.ctx.data;
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    QVERIFY(receive.ricevi_rep());
    QVERIFY(d.CyrillicFormFlags.departments);
    QCOMPARE(bytes(d.Departments[2].name), QByteArray("Voce        "));
    // a name with Latin letters keeps its other bytes (quote, 0xE8 becomes its 7-bit letter)
    QCOMPARE(bytes(d.Departments[1].name), QByteArray("Hleb 'A'{   "));
    QVERIFY(receive.ricevi_units());
    QVERIFY(d.CyrillicFormFlags.units);
    QCOMPARE(d.Units[2].name, std::string("l  "));

    // a second read of Latin names only clears the flag and leaves the bytes alone
    RoutineRig latin;
    QVERIFY(latin.writeState("department 0 name=\"Hleb 'A'\\xE8\"\n"));
    QVERIFY(latin.open({"--state", latin.statePath()}));
    ReceiveRoutines again(latin.ctx, latin.callbacks);
    for (int k = 1; k <= 10; ++k)
        latin.ctx.data.Departments[std::size_t(k)].name = "x";
    QVERIFY(again.ricevi_rep());
    QVERIFY(!latin.ctx.data.CyrillicFormFlags.departments);
    QCOMPARE(bytes(latin.ctx.data.Departments[1].name), QByteArray("Hleb 'A'\xE8   "));
}

void ReceiveRoutinesTest::deleteAllArticles()
{
    RoutineRig rig;
    QVERIFY(rig.writeState("clear articles\n" + article("000000000011", "Prvi") + article("000000000022", "Drugi")));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    rig.prompter.answer(Answer::Yes);
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    receive.Command1_Click();
    QVERIFY(rig.payloadsAre({"T", "n", "PTFIRST", "PTFIRST", "PD000000000011", "PTFIRST", "PD000000000022"}));
    QCOMPARE(rig.records, (std::vector<int>{1, 0}));
    QCOMPARE(rig.captions, (std::vector<QString>{"Artikal:"}));
    QCOMPARE(rig.prompter.prompts.size(), std::size_t(1));
    QCOMPARE(rig.prompter.last().text, QString("Da li ste sigurni?"));
    QCOMPARE(rig.prompter.last().buttons, Buttons::YesNo);

    // the register is empty now
    QVERIFY(receive.ricevi_plu());
    QVERIFY(readBack(rig, ReadBackList::Articles).isEmpty());
}

void ReceiveRoutinesTest::deleteRefused()
{
    RoutineRig rig;
    // an article with sales cannot be deleted before the daily report
    QVERIFY(rig.writeState("clear articles\n" + article("000000000011", "Prodat", "1000", "8990")
                           + article("000000000022", "Drugi")));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    rig.prompter.answer(Answer::Yes);
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    receive.Command1_Click();
    QVERIFY(rig.payloadsAre({"T", "n", "PTFIRST", "PTFIRST", "PD000000000011"}));
    QCOMPARE(rig.prompter.last().text,
             QString("Operacija brisanja nije izvrsena! Da li ste izvrsili dnevni izvestaj ?"));
    QCOMPARE(rig.prompter.last().title, QString("Orvel Cash Registers "));
    QCOMPARE(rig.prompter.last().icon, Icon::Critical);
    QVERIFY(rig.records.empty());
}

void ReceiveRoutinesTest::deleteNeedsConfirmation()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    receive.Command1_Click(); // No is the scripted answer
    receive.Command2_Click();
    QCOMPARE(rig.prompter.prompts.size(), std::size_t(2));
    QVERIFY(rig.sim.payloads().isEmpty());
}

void ReceiveRoutinesTest::eraseSales_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::newRow("erased") << QStringList{} << "Operacija izvrsena !" << int(Icon::Information);
    QTest::newRow("PE refused") << QStringList{"--fault", "ack", "--fault", "nak"} << "Operacija nije izvrsena !"
                                << int(Icon::Critical);
    QTest::newRow("no status after PE") << QStringList{"--fault", "ack", "--fault", "ack", "--fault", "silent"}
                                        << "Operacija nije izvrsena !" << int(Icon::Critical);
}

void ReceiveRoutinesTest::eraseSales()
{
    QFETCH(QStringList, faults);
    QFETCH(QString, text);
    QFETCH(int, icon);
    RoutineRig rig;
    QVERIFY(rig.writeState("clear articles\n" + article("000000000011", "Prodat", "1000", "8990")));
    QVERIFY(rig.open(QStringList{"--state", rig.statePath()} + faults));
    rig.prompter.answer(Answer::Yes);
    ReceiveRoutines receive(rig.ctx, rig.callbacks);
    receive.Command2_Click();
    QCOMPARE(rig.prompter.last().text, text);
    QCOMPARE(int(rig.prompter.last().icon), icon);
    QCOMPARE(rig.prompter.last().title, title());
    QCOMPARE(rig.sim.payloads().mid(0, 2), (QList<QByteArray>{"T", "PE"}));
    if (icon == int(Icon::Information)) {
        QVERIFY(receive.ricevi_plu_sold());
        QVERIFY(readBack(rig, ReadBackList::SoldArticles).isEmpty());
    }
}

void ReceiveRoutinesTest::roundTrip()
{
    // Program the register from a programming file and the article table, then read it all
    // back into a workstation whose tables hold other values.
    RoutineRig rig;
    QVERIFY(rig.writeState("clear articles\n"));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    const QString file = rig.dbDir.filePath("kasa.ini");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray text = "[KALVO]\r\nVERSION=EUEIOBBB210979\r\n[DEPARTMENTS]\r\n";
        for (int k = 1; k <= 10; ++k)
            text += "DESCRIPTION_" + QByteArray::number(k) + "=" + (k == 3 ? "Povrwe" : "Odeqewe  " + QByteArray::number(k)) + "\r\n";
        text += "[OPERATORS]\r\n";
        for (int k = 1; k <= 31; ++k)
            text += "CODE_" + QByteArray::number(k) + "=" + QByteArray::number(k * 11) + "\r\nNAME_"
                    + QByteArray::number(k) + "=Kasir " + QByteArray::number(k) + "\r\n";
        text += "[SISTEM]\r\nCASH=7\r\nPRINT=3\r\nGRAFICA1=1\r\nGRAFICA1_IMG=2\r\nGRAFICA2=0\r\nGRAFICA2_IMG=0\r\n"
                "OBLIGATE=1\r\nTEST_MENY=0\r\nSINGLE=1\r\nSPEED=2\r\n"
                "[VALUTE]\r\nDESCRIPTION_1=EUR\r\nCONVERSION_1=17.250000\r\nDESCRIPTION_2=USD\r\n"
                "CONVERSION_2=1.081000\r\nDESCRIPTION_3=CHF\r\nCONVERSION_3=1.000000\r\nDESCRIPTION_4=GBP\r\n"
                "CONVERSION_4=99.500000\r\n[UNITS]\r\nDESCR_1=kom\r\nDESCR_2=kg\r\nDESCR_3=l\r\nDESCR_4=m\r\n"
                "DESCR_5=pak\r\n[PLUTYPE]\r\n";
        for (int k = 1; k <= 8; ++k)
            text += "DESCR_" + QByteArray::number(k) + "=Tip " + QByteArray::number(k) + "\r\n";
        text += "[SETPORT]\r\nPORT=7\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=True\r\n[SETWDTH]\r\nWDTH=22\r\n";
        QVERIFY(f.write(text) == text.size());
    }
    auto &d = rig.ctx.data;
    d.ProgrammingFilePath = file;
    QVERIFY(ReadProgrammingFile(d, rig.prompter));
    d.CyrillicMode = true; // names travel in 8-bit Cyrillic and come back in register code
    for (int k = 1; k <= 10; ++k)
        d.Departments[std::size_t(k)].maxPrice = QByteArray::number(k * 1000).rightJustified(8, '0').toStdString();

    const ArticleStore store = rig.store();
    QList<Article> articles;
    for (int i = 1; i <= 40; ++i) {
        Article a;
        a.barCode = QByteArray::number(i * 7919).rightJustified(12, '0');
        a.description = "Artikal " + QByteArray::number(i);
        a.price = i * 1.25;
        a.department = i % 10;
        a.vatCode = i % 5;
        a.mesType = i % 2;
        a.artType = i % 8;
        a.oneItem = i % 3 == 0;
        a.inventary = i * 0.5;
        QVERIFY(store.insertArticle(a));
        articles << a;
    }
    std::sort(articles.begin(), articles.end(), [](const Article &a, const Article &b) { return a.barCode < b.barCode; });

    SendRoutines send(rig.ctx);
    for (auto kind : {SendRoutines::Departments, SendRoutines::Articles, SendRoutines::ArticleStock,
                      SendRoutines::Operators, SendRoutines::Currencies, SendRoutines::System, SendRoutines::Units,
                      SendRoutines::ArticleTypes})
        QVERIFY2(send.run(kind), SendRoutines::kindInfo(kind).item);
    QVERIFY(rig.prompter.prompts.empty());
    const ProgrammingData sent = d;

    for (auto &dep : d.Departments)
        dep = {"x", "x", "x", "x", "x", "x"};
    for (auto &op : d.Operators)
        op = {"x", "x", "x", "x"};
    for (auto &cur : d.Currencies)
        cur = {"x", "x"};
    for (auto &unit : d.Units)
        unit.name = "x";
    for (auto &type : d.ArticleTypes)
        type.name = "x";
    d.RegisterSettings = RegisterSettings();

    ReceiveRoutines receive(rig.ctx);
    for (int kind = 0; kind < ReceiveRoutines::KindCount; ++kind)
        QVERIFY2(receive.run(ReceiveRoutines::Kind(kind)), ReceiveRoutines::kindInfo(ReceiveRoutines::Kind(kind)).item);
    QVERIFY(rig.prompter.prompts.empty());

    auto trimmedRight = [](std::string s) { return s.erase(s.find_last_not_of(' ') + 1); };
    for (int k = 1; k <= 10; ++k) {
        QCOMPARE(d.Departments[std::size_t(k)].name, sent.Departments[std::size_t(k)].name);
        QCOMPARE(d.Departments[std::size_t(k)].maxPrice, sent.Departments[std::size_t(k)].maxPrice);
    }
    QCOMPARE(d.Departments[3].name, std::string("Povrwe      "));
    for (int k = 1; k <= 31; ++k) {
        QCOMPARE(d.Operators[std::size_t(k)].name, sent.Operators[std::size_t(k)].name);
        QCOMPARE(d.Operators[std::size_t(k)].code, sent.Operators[std::size_t(k)].code);
    }
    for (int k = 1; k <= 4; ++k)
        QVERIFY(d.Currencies[std::size_t(k)] == sent.Currencies[std::size_t(k)]);
    for (int k = 1; k <= 5; ++k)
        QCOMPARE(trimmedRight(d.Units[std::size_t(k)].name), trimmedRight(sent.Units[std::size_t(k)].name));
    for (int k = 1; k <= 8; ++k)
        QCOMPARE(trimmedRight(d.ArticleTypes[std::size_t(k)].name), trimmedRight(sent.ArticleTypes[std::size_t(k)].name));
    QCOMPARE(d.RegisterSettings.text(), sent.RegisterSettings.text());
    QCOMPARE(d.RegisterSettings.registerNumber.str(), std::string("07"));

    const auto rows = readBack(rig, ReadBackList::Articles);
    QCOMPARE(rows.size(), articles.size());
    for (int i = 0; i < rows.size(); ++i) {
        const Article &a = articles[i];
        const ReadBackArticle &r = rows[i];
        QCOMPARE(r.barCode, a.barCode);
        QCOMPARE(r.description, a.description.leftJustified(28, ' '));
        QCOMPARE(r.price, a.price);
        QCOMPARE(r.department, a.department);
        QCOMPARE(r.vatCode, a.vatCode);
        QCOMPARE(r.mesType, a.mesType);
        QCOMPARE(r.artType, a.artType);
        QCOMPARE(r.oneItem, a.oneItem);
        QCOMPARE(r.inventary, a.inventary);
    }
}

QTEST_GUILESS_MAIN(ReceiveRoutinesTest)
#include "receive_routines_test.moc"
