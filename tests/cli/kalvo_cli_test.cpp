// kalvo-cli as a process: against kalvo-regsim on a pty for the link commands, against a
// SQLite article database and programming files in a temporary folder for the rest.
#include "RegSim.h"
#include "TestSupport.h"

#include "data/ArticleStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace kalvo;
using kalvo::test::RegSim;

namespace {

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
    QJsonArray jsonArray() const { return QJsonDocument::fromJson(out).array(); }
};

// A program folder of its own: Kalvo.ini pointing at a SQLite database in a temporary folder.
struct Workspace {
    QTemporaryDir dir;

    Workspace()
    {
        write("Kalvo.ini", "[database]\r\nconnectionstring=Driver=QSQLITE;Database=" + path("kalvo.db").toUtf8()
                               + "\r\n[modem]\r\natdp=ATDP\r\natdt=ATDT\r\n[application.rules]\r\nmaxcena=99999.99\r\n");
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    bool write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    QByteArray read(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    ArticleStore store() const { return ArticleStore("Driver=QSQLITE;Database=" + path("kalvo.db")); }

    Run cli(const QStringList &args, const QByteArray &input = {}) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains("ZIB_TIMEOUT_SCALE"))
            env.insert("ZIB_TIMEOUT_SCALE", "0.05");
        p.setProcessEnvironment(env);
        p.start(test::binDir() + "kalvo-cli", QStringList{"--ini", path("Kalvo.ini")} + args);
        Run r;
        if (!p.waitForStarted(10000))
            return r;
        if (!input.isEmpty())
            p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(120000)) {
            p.kill();
            p.waitForFinished();
        }
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return r;
    }
};

QStringList lineArgs(const RegSim &sim)
{
    return {"--port", "7", "--device", sim.linkPath()};
}

// A programming file as a Windows workstation writes it. Names avoid the Latin digraphs,
// which the Cyrillic mode folds into the register's code on the way out.
QByteArray programmingFile(bool cyrillic)
{
    QByteArray t = "[KALVO]\r\nVERSION=EUEIOBBB210979\r\n[HEADER]\r\nROW_0=PRODAVNICA                      11\r\n"
                   "[DEPARTMENTS]\r\n";
    const char *const departments[] = {"Meso", "Hleb", "Voce", "Mleko", "Pice", "Kafa", "Sir", "Riba", "Sokovi", "Ostalo"};
    for (int k = 1; k <= 10; ++k)
        t += "DESCRIPTION_" + QByteArray::number(k) + "=" + departments[k - 1] + "\r\n";
    t += "[OPERATORS]\r\n";
    for (int k = 1; k <= 31; ++k)
        t += "CODE_" + QByteArray::number(k) + "=" + QByteArray::number(k * 37) + "\r\nNAME_" + QByteArray::number(k)
             + "=Kasir " + QByteArray::number(k) + "\r\n";
    t += "[SISTEM]\r\nCASH=07\r\nPRINT=3\r\nGRAFICA1=1\r\nGRAFICA1_IMG=2\r\nGRAFICA2=0\r\nGRAFICA2_IMG=0\r\n"
         "OBLIGATE=1\r\nTEST_MENY=0\r\nSINGLE=1\r\nSPEED=2\r\n"
         "[VALUTE]\r\nDESCRIPTION_1=EUR\r\nCONVERSION_1=17.250000\r\nDESCRIPTION_2=USD\r\nCONVERSION_2=01.081000\r\n"
         "DESCRIPTION_3=CHF\r\nCONVERSION_3=01.000000\r\nDESCRIPTION_4=GBP\r\nCONVERSION_4=99.500000\r\n"
         "[UNITS]\r\nDESCR_1=kom\r\nDESCR_2=kg\r\nDESCR_3=l\r\nDESCR_4=m\r\nDESCR_5=pak\r\n[PLUTYPE]\r\n";
    for (int k = 1; k <= 8; ++k)
        t += "DESCR_" + QByteArray::number(k) + "=Tip " + QByteArray::number(k) + "\r\n";
    t += "[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=" + QByteArray(cyrillic ? "True" : "False")
         + "\r\n[SETWDTH]\r\nWDTH=22\r\n[SETPHONE]\r\nPHONENM=\r\nPHONEPT=ATDP\r\nPHONEPSS=\r\n";
    return t;
}

Article article(int i)
{
    Article a;
    a.barCode = QByteArray::number(i * 7919).rightJustified(12, '0');
    a.description = "Artikal " + QByteArray::number(i);
    a.price = i * 1.25;
    a.department = i % 10;
    a.vatCode = i % 5;
    a.mesType = i % 2;
    a.artType = i % 8;
    a.oneItem = i % 3 == 0;
    a.inventary = i % 2 ? i * 0.5 : i;
    return a;
}

// Only the named members of each element of a table.
QJsonArray pick(const QJsonArray &rows, const QStringList &keys)
{
    QJsonArray out;
    for (const QJsonValue &row : rows) {
        QJsonObject o;
        for (const QString &k : keys)
            o.insert(k, row.toObject().value(k));
        out.append(o);
    }
    return out;
}

QString trimmedRight(QString s)
{
    while (s.endsWith(' '))
        s.chop(1);
    return s;
}

} // namespace

class KalvoCliTest : public QObject {
    Q_OBJECT
private slots:
    void commandLineFaults_data();
    void commandLineFaults();
    void fileShowAndCopy();
    void roundTripThroughRegister();
    void refusedRecordRetries_data();
    void refusedRecordRetries();
    void lineCommands();
    void csvExportImport();
    void csvImportRefused_data();
    void csvImportRefused();
};

void KalvoCliTest::commandLineFaults_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << QStringList{} << "Usage: kalvo-cli";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << "unknown command \"frobnicate\"";
    QTest::newRow("unknown option") << QStringList{"status", "--speed", "9600"} << "unknown option --speed";
    QTest::newRow("port not a number") << QStringList{"status", "--port", "x"} << "--port wants a number";
    QTest::newRow("option of another command") << QStringList{"send", "departments", "--save", "a.ini"}
                                               << "--save does not apply to \"send\"";
    QTest::newRow("unknown kind") << QStringList{"send", "departments", "vat"} << "unknown kind \"vat\"";
    QTest::newRow("no kind") << QStringList{"receive"} << "name at least one kind";
    QTest::newRow("file without path") << QStringList{"file", "show"} << "file wants";
    QTest::newRow("four message rows") << QStringList{"send", "message", "--message", "a|b|c|d"}
                                       << "--message has more than three rows";
    QTest::newRow("message row too long") << QStringList{"send", "message", "--message", QString(23, 'x')}
                                          << "message row 1 is longer than 22 characters";
}

void KalvoCliTest::commandLineFaults()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    Workspace ws;
    const Run r = ws.cli(args);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
    QVERIFY(r.out.isEmpty());
    // nothing reached for the register: no database was created either
    QVERIFY(!QFile::exists(ws.path("kalvo.db")));
}

void KalvoCliTest::fileShowAndCopy()
{
    Workspace ws;
    QVERIFY(ws.write("prog.ini", programmingFile(true)));
    const Run shown = ws.cli({"file", "show", ws.path("prog.ini")});
    QCOMPARE(shown.code, 0);
    const QJsonObject prog = shown.json();
    QCOMPARE(prog["ok"].toBool(), true);
    QCOMPARE(prog["FileVersion"].toString(), "EUEIOBBB210979");
    QCOMPARE(prog["Departments"].toArray()[3].toObject()["name"].toString(), "Mleko       "); // padded to 12
    QCOMPARE(prog["Departments"].toArray()[3].toObject()["number"].toInt(), 4);
    QCOMPARE(prog["Operators"].toArray().size(), 31);
    QCOMPARE(prog["Operators"].toArray()[30].toObject()["code"].toString(), "1147");
    QCOMPARE(prog["HeaderLines"].toArray()[0].toString(), "PRODAVNICA                      11");
    QCOMPARE(prog["RegisterSettings"].toObject()["registerNumber"].toString(), "07");
    QCOMPARE(prog["LinkSettings"].toObject()["DisplayCyrillic"].toBool(), true);

    // copy onto a file with lines of its own: they stay, and the copy reads as the original
    QVERIFY(ws.write("out.ini", "[MINE]\r\nkeep=this line\r\n[DEPARTMENTS]\r\nDESCRIPTION_1=old\r\n"));
    const Run copied = ws.cli({"file", "copy", ws.path("prog.ini"), ws.path("out.ini")});
    QCOMPARE(copied.code, 0);
    QVERIFY(ws.read("out.ini").contains("[MINE]\r\nkeep=this line\r\n"));
    QVERIFY(!ws.read("out.ini").contains("=old"));
    QJsonObject copy = ws.cli({"file", "show", ws.path("out.ini")}).json();
    QCOMPARE(copy, prog);

    // a file with the wrong marker: the reader's message, ok false, exit 1; a copy from it
    // writes nothing
    QByteArray bad = programmingFile(true);
    bad.replace("EUEIOBBB210979", "euEIOBBB210979");
    QVERIFY(ws.write("bad.ini", bad));
    const Run refused = ws.cli({"file", "show", ws.path("bad.ini")});
    QCOMPARE(refused.code, 1);
    QVERIFY2(refused.err.contains("Orvel Cash Registers: Fajl nije validan\n"), refused.err.constData());
    QCOMPARE(refused.json()["ok"].toBool(), false);
    const QByteArray before = ws.read("out.ini");
    QCOMPARE(ws.cli({"file", "copy", ws.path("bad.ini"), ws.path("out.ini")}).code, 1);
    QCOMPARE(ws.read("out.ini"), before);
    const Run missing = ws.cli({"file", "copy", ws.path("nothing.ini"), ws.path("new.ini")});
    QCOMPARE(missing.code, 1);
    QVERIFY(!QFile::exists(ws.path("new.ini")));
}

void KalvoCliTest::roundTripThroughRegister()
{
    Workspace ws;
    QVERIFY(ws.write("prog.ini", programmingFile(true)));
    const ArticleStore store = ws.store();
    for (int i = 1; i <= 25; ++i)
        QVERIFY(store.insertArticle(article(i)));
    const QList<Article> sentArticles = store.sendList();

    RegSim sim;
    QVERIFY2(sim.start({"--set", "clear articles"}), qPrintable(sim.errorString()));

    const Run sent = ws.cli(QStringList{"send", "all", "--file", ws.path("prog.ini")} + lineArgs(sim));
    QVERIFY2(sent.code == 0, sent.err.constData());
    // every kind but the message, in the window's order
    QCOMPARE(sent.out, QByteArray("departments: ok\narticles: ok\nstock: ok\ncashiers: ok\ncurrencies: ok\n"
                                  "system: ok\nheader: ok\nadvert: ok\nunits: ok\ntypes: ok\n"));
    QVERIFY2(sent.err.isEmpty(), sent.err.constData());
    QCOMPARE(sim.payloads().first(), QByteArray("T"));

    const Run received = ws.cli(QStringList{"receive", "all", "--save", ws.path("back.ini")} + lineArgs(sim));
    QVERIFY2(received.code == 0, received.err.constData());
    const QJsonObject got = received.json();
    for (const char *kind : {"departments", "articles", "sold", "cashiers", "currencies", "system", "vat", "units", "types"})
        QVERIFY2(got["results"].toObject()[kind].toBool(), qPrintable(kind));

    // the saved file holds what was sent, as the program's reader sees both files
    const QJsonObject before = ws.cli({"file", "show", ws.path("prog.ini")}).json();
    const Run shown = ws.cli({"file", "show", ws.path("back.ini")});
    QCOMPARE(shown.code, 0);
    const QJsonObject after = shown.json();
    QCOMPARE(pick(after["Departments"].toArray(), {"number", "name"}), pick(before["Departments"].toArray(), {"number", "name"}));
    QCOMPARE(pick(after["Operators"].toArray(), {"code", "name"}), pick(before["Operators"].toArray(), {"code", "name"}));
    QCOMPARE(after["Currencies"], before["Currencies"]);
    QCOMPARE(pick(after["Units"].toArray(), {"name"}), pick(before["Units"].toArray(), {"name"}));
    QCOMPARE(after["ArticleTypes"], before["ArticleTypes"]);
    QCOMPARE(after["RegisterSettings"], before["RegisterSettings"]);
    // and the JSON printed by receive is what was saved
    QCOMPARE(pick(got["Operators"].toArray(), {"number"}), pick(after["Operators"].toArray(), {"number"}));
    QCOMPARE(got["RegisterSettings"], after["RegisterSettings"]);

    // the register's article list went into the read-back table, not into the articles
    const QList<ReadBackArticle> rows = store.readBackList(ReadBackList::Articles, ArticleStore::Rows::All);
    QCOMPARE(rows.size(), sentArticles.size());
    QCOMPARE(got["ZIB_PLU_RCV"].toArray().size(), sentArticles.size());
    QVERIFY(got["ZIB_PLU_RCV_SOLD"].toArray().isEmpty());
    for (int i = 0; i < rows.size(); ++i) {
        const Article &a = sentArticles[i];
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
        QCOMPARE(trimmedRight(got["ZIB_PLU_RCV"].toArray()[i].toObject()["DESCRIPTION"].toString()),
                 QString::fromLatin1(a.description));
    }
    QCOMPARE(store.sendList(), sentArticles);
}

void KalvoCliTest::refusedRecordRetries_data()
{
    QTest::addColumn<int>("retries");
    QTest::newRow("no retries") << 0;
    QTest::newRow("two retries") << 2;
}

void KalvoCliTest::refusedRecordRetries()
{
    // The register refuses department 1 every time: Retry up to --retries times, then
    // Cancel; the department fails, the currencies after it are still sent.
    QFETCH(int, retries);
    Workspace ws;
    QVERIFY(ws.write("prog.ini", programmingFile(false)));
    const QByteArray refused = "R00Meso        00000000";
    RegSim sim;
    QVERIFY2(sim.start({"--set", "reply request=\"" + QString::fromLatin1(refused) + "\" answer=nak"}),
             qPrintable(sim.errorString()));

    const Run r = ws.cli(QStringList{"send", "currencies", "departments", "--file", ws.path("prog.ini"), "--retries",
                                     QString::number(retries)} + lineArgs(sim));
    QCOMPARE(r.code, 1);
    QCOMPARE(r.out, QByteArray("departments: failed\ncurrencies: ok\n"));
    QByteArray expected;
    for (int i = 0; i < retries; ++i)
        expected += "Orvel Cash Registers: Odeljenje 00 nije primljeno u kasu! [Retry/Cancel -> Retry]\n";
    expected += "Orvel Cash Registers: Odeljenje 00 nije primljeno u kasu! [Retry/Cancel -> Cancel]\n";
    QCOMPARE(r.err, expected);
    const QList<QByteArray> payloads = sim.payloads();
    QCOMPARE(payloads.count(refused), retries + 1);
    // Cancel stops the departments at the refused one
    QVERIFY(std::none_of(payloads.begin(), payloads.end(), [](const QByteArray &p) { return p.startsWith("R01"); }));
    QCOMPARE(std::count_if(payloads.begin(), payloads.end(), [](const QByteArray &p) { return p.startsWith("U"); }), 4);
}

void KalvoCliTest::lineCommands()
{
    Workspace ws;
    RegSim sim;
    QVERIFY2(sim.start({"--set", "clear articles", "--set", "article code=11 name=\"Mleko\" price=8990",
                        "--set", "article code=12 name=\"Hleb\" price=5500", "--set", "status menu=5 error=3 state=1 count=auto"}),
             qPrintable(sim.errorString()));

    Run r = ws.cli(QStringList{"test-link"} + lineArgs(sim));
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QByteArray("ok\n"));

    r = ws.cli(QStringList{"status"} + lineArgs(sim));
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(r.json(), (QJsonObject{{"menuPosition", 5}, {"lastError", 3}, {"operatingState", 1}, {"articleCount", 2}}));

    // the confirmation is answered No without --yes: nothing is deleted
    r = ws.cli(QStringList{"delete-articles"} + lineArgs(sim));
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err, QByteArray("Orvel Cash Registers: Da li ste sigurni? [Yes/No -> No]\n"));
    const QList<QByteArray> payloads = sim.payloads();
    QVERIFY(std::none_of(payloads.begin(), payloads.end(), [](const QByteArray &p) { return p.startsWith("PD"); }));

    r = ws.cli(QStringList{"delete-articles", "--yes"} + lineArgs(sim));
    QVERIFY2(r.code == 0, r.err.constData());
    r = ws.cli(QStringList{"status"} + lineArgs(sim));
    QCOMPARE(r.json()["articleCount"].toInt(), 0);

    // a register that does not answer: the routine's message, exit 3, nothing sent
    QVERIFY(sim.command("silent:20"));
    r = ws.cli(QStringList{"send", "departments"} + lineArgs(sim));
    QCOMPARE(r.code, 3);
    QVERIFY2(r.err.endsWith("Orvel Cash Registers: Veza nije u redu!\n"), r.err.constData());
    QVERIFY(r.out.isEmpty());
    QVERIFY(sim.command("clear"));

    // a device that is not there
    r = ws.cli({"test-link", "--port", "7", "--device", ws.path("no-such-tty")});
    QCOMPARE(r.code, 3);
    QVERIFY2(r.err.contains("COM7 (" + ws.path("no-such-tty").toUtf8() + ") could not be opened"), r.err.constData());
}

void KalvoCliTest::csvExportImport()
{
    Workspace from;
    const ArticleStore source = from.store();
    for (int i = 1; i <= 12; ++i)
        QVERIFY(source.insertArticle(article(i)));
    Article tricky = article(40);
    tricky.description = "\xC8" "aj, \"zeleni\" \x9A" "ipak"; // Windows-1250: Č ... š
    QVERIFY(source.insertArticle(tricky));
    const QList<Article> table = source.sendList();

    QCOMPARE(from.cli({"articles", "export", from.path("a.csv")}).code, 0);
    const QByteArray csv = from.read("a.csv");
    QVERIFY(csv.startsWith("BAR_CODE,DESCRIPTION,PRICE,VAT_CODE,MES_TYPE,ART_TYPE,ONE_ITEM,DEPARTMENT,INVENTARY,MAX_VALUE\n"));
    QVERIFY2(csv.contains("000000316760,\"\xC4\x8C" "aj, \"\"zeleni\"\" \xC5\xA1" "ipak\",50,"), csv.constData());
    QCOMPARE(from.cli({"articles", "export", "-"}).out, csv);

    Workspace to;
    Run r = to.cli({"articles", "import", from.path("a.csv")});
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(r.out, QByteArray("13 article(s) imported: 13 added, 0 changed\n"));
    QCOMPARE(to.store().sendList(), table);

    // the same file again changes the stored articles into themselves; from stdin
    r = to.cli({"articles", "import", "-"}, csv);
    QCOMPARE(r.out, QByteArray("13 article(s) imported: 0 added, 13 changed\n"));
    QCOMPARE(to.store().sendList(), table);

    const QJsonArray listed = to.cli({"articles", "list"}).jsonArray();
    QCOMPARE(listed.size(), table.size());
    QCOMPARE(listed.last().toObject()["DESCRIPTION"].toString(), QString::fromUtf8("Čaj, \"zeleni\" šipak"));
}

void KalvoCliTest::csvImportRefused_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QByteArray>("message");
    // line 1 is the header and line 2 a good row; the rows below start on line 3
    QTest::newRow("price not a number") << QByteArray("3,Hleb,12x,0,0,0,0,0,5,0\n") << QByteArray(":3: PRICE: Cena nije validna !\n");
    QTest::newRow("price zero") << QByteArray("3,Hleb,0,0,0,0,0,0,5,0\n") << QByteArray(":3: PRICE: Cena nije validna!\n");
    QTest::newRow("price above maxcena") << QByteArray("3,Hleb,100000,0,0,0,0,0,5,0\n") << QByteArray(":3: PRICE: Cena nije validna!\n");
    QTest::newRow("code taken by line 2") << QByteArray("0001,Hleb,5,0,0,0,0,0,5,0\n") << QByteArray(":3: BAR_CODE: Bar kod vec postoji ! \n");
    QTest::newRow("code too long") << QByteArray("1234567890123,Hleb,5,0,0,0,0,0,5,0\n") << QByteArray(":3: BAR_CODE: Ne pravilan bar kod!\n");
    QTest::newRow("VAT beyond the list") << QByteArray("3,Hleb,5,9,0,0,0,0,5,0\n") << QByteArray(":3: VAT_CODE: not a whole number from 0 to 8\n");
    QTest::newRow("line break in a name") << QByteArray("3,\"Hl\neb\",5,0,0,0,0,0,5,0\n") << QByteArray(":3: DESCRIPTION: a control character");
    QTest::newRow("missing field") << QByteArray("3,Hleb,5,0,0,0,0,0\n") << QByteArray(":3: 8 fields where the header has 10\n");
    // a quoted line break moves the rows after it down a line
    QTest::newRow("after a two-line row") << QByteArray("3,\"Hl\neb\",5,0,0,0,0,0,5,0\n4,Sir,-1,0,0,0,0,0,5,0\n")
                                          << QByteArray(":5: PRICE: Cena nije validna!\n");
}

void KalvoCliTest::csvImportRefused()
{
    QFETCH(QByteArray, rows);
    QFETCH(QByteArray, message);
    Workspace ws;
    Article kept = article(1);
    QVERIFY(ws.store().insertArticle(kept));
    const QByteArray csv = "BAR_CODE,DESCRIPTION,PRICE,VAT_CODE,MES_TYPE,ART_TYPE,ONE_ITEM,DEPARTMENT,INVENTARY,MAX_VALUE\r\n"
                           "1,Mleko,89.9,1,0,0,1,2,10,0\r\n" + rows;
    QVERIFY(ws.write("in.csv", csv));
    const Run r = ws.cli({"articles", "import", ws.path("in.csv")});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(ws.path("in.csv").toUtf8() + message), r.err.constData());
    QVERIFY(r.err.contains("nothing is imported"));
    // the good row was not stored either, and the stored article is as it was
    QCOMPARE(ws.store().sendList(), QList<Article>{kept});
}

QTEST_GUILESS_MAIN(KalvoCliTest)
#include "kalvo_cli_test.moc"
