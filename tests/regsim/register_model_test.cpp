// The simulator's register, driven through the real libZibDll.so over a pty: what the
// command-set payloads write comes back from the reads, the article lists end with a bare
// ACK, refusals, the state file, and the modem dialogue.
#include "RegSim.h"
#include "TestSupport.h"
#include "register/Link.h"
#include "register/RegisterCommands.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

using namespace kalvo;
using kalvo::test::RegSim;

namespace {

constexpr int kPort = 5;

QByteArray nul() { return QByteArray(1, '\0'); }
QByteArray sp(int n) { return QByteArray(n, ' '); }

// Starts a simulator with `args` and opens the link to it.
bool open(RegSim &sim, Link &link, const QStringList &args = {})
{
    if (!sim.start(args)) {
        qWarning() << sim.errorString() << sim.output();
        return false;
    }
    sim.usePort(kPort);
    link.setLibraryPath(kalvo::test::binDir() + "libZibDll.so");
    return link.Init_RS232bd(kPort, 9600) == 0;
}

// The answer payload of a get exchange; "<ACK>" for a bare ACK, "<n>" for another result.
QByteArray get(Link &link, const QByteArray &request)
{
    const int n = link.get_frame(request);
    if (n == 0)
        return "<ACK>";
    if (n < 0)
        return "<" + QByteArray::number(n) + ">";
    return link.ReplyBuffer.mid(1, n - 1);
}

QString stateFile(const RegSim &sim, const QByteArray &text)
{
    const QString path = sim.folder() + "/state.txt";
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
    return path;
}

} // namespace

class RegisterModelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("ZIB_TIMEOUT_SCALE"))
            qputenv("ZIB_TIMEOUT_SCALE", "0.05");
    }

    void writeThenReadBack_data();
    void writeThenReadBack();
    void refusedAndAcceptedWrites();
    void articleListsAndDeletion();
    void salesFiguresComeFromTheState();
    void stateSurvivesARestart();
    void badStateFileStopsTheStart();
    void modemDialAnswers_data();
    void modemDialAnswers();
    void modemConnectPasswordHangUp();
};

void RegisterModelTest::writeThenReadBack_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("department 1 Voce 1500")
        << departmentPayload(0, "Voce", "1500") << departmentRequest(0)
        << QByteArray("00Voce        00001500" "00000000000" "000000000");
    QTest::newRow("department 10, long name cut in the answer")
        << departmentPayload(9, "Trinaestslova", "") << departmentRequest(9)
        << QByteArray("09Trinaestslov00000000" "00000000000" "000000000");
    QTest::newRow("operator 31 code 7")
        << operatorPayload(30, "Kasir 31", "7") << operatorRequest(30)
        << QByteArray("30Kasir 31        7" "00000000000" "000000");
    QTest::newRow("currency rate 01.000000")
        << currencyPayload(1, "EUR", "1.000000") << currencyRequest(1)
        << QByteArray("1EUR         01.000000");
    QTest::newRow("register parameters")
        << registerSettingsPayload({"07", "3", "1", "", "1", "0", "2", "1"}) << registerSettingsRequest()
        << QByteArray("07300001001021");
    QTest::newRow("unit of 2 letters comes back NUL-ended")
        << unitPayload(2, "kg") << unitRequest(2) << QByteArray("2kg ");
    QTest::newRow("article type Voce")
        << articleTypePayload(3, "Voce") << articleTypeRequest(3) << QByteArray("3Voce" + nul() + sp(7));
    ArticleFields milk{"123", 3, "Mleko", 89.90, false, 1, 0, 2};
    QTest::newRow("article 123 Mleko 89.90")
        << articlePayload(milk) << QByteArray(kFirstArticleRequest)
        << QByteArray("000000000123" "03" "Mleko" + sp(23) + "00008990" "0102"
                      "00000000000" "000000000" "000000000");
}

// Each payload of the command set is accepted, and the matching read gives it back in the
// answer layout, which the workstation's own parser accepts.
void RegisterModelTest::writeThenReadBack()
{
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    RegSim sim;
    Link link;
    QVERIFY(open(sim, link));
    QCOMPARE(link.send_frame(payload), 0);
    QCOMPARE(get(link, request), answer);

    if (request.startsWith('B'))
        QVERIFY(parseDepartmentAnswer(answer));
    else if (request.startsWith('E'))
        QCOMPARE(parseOperatorAnswer(answer)->code, QByteArray("    7"));
    else if (request.startsWith('M'))
        QCOMPARE(parseCurrencyAnswer(answer)->element, 2);
    else if (request == "L")
        QVERIFY(parseRegisterSettingsAnswer(answer)->logo1On);
    else if (request.startsWith("QT"))
        QCOMPARE(*parseUnitAnswer(answer), QByteArray("kg "));
    else if (request.startsWith("ZT"))
        QCOMPARE(*parseArticleTypeAnswer(answer), QByteArray("Voce" + sp(8)));
    else
        QCOMPARE(parseArticleAnswer(answer)->price, QByteArray("89.9"));
}

void RegisterModelTest::refusedAndAcceptedWrites()
{
    RegSim sim;
    Link link;
    QVERIFY(open(sim, link));
    const QList<QPair<QByteArray, int>> cases{
        {"R00Voce", 1},                                   // too short
        {"R10Voce        00001500", 1},                   // department 11 does not exist
        {"R0AVoce        00001500", 1},                   // letter in the number
        {"R01Voce        0000x500", 1},                   // letter in the price
        {"PR000000000123", 1},                            // article of the wrong length
        {"PQ000000000123000012500", 1},                   // stock of an unknown article
        {"PD000000000123", 1},                            // delete an unknown article
        {"X01300001201O21", 1},                           // a letter O among the digits
        {"S6" + sp(32) + nul(), 1},                       // header line 6
        {"S0" + sp(32), 1},                               // no closing NUL
        {"ZR9Voce" + nul() + sp(7), 1},                   // type 9
        {"m018d", 1},                                     // key code in lower case
        {"k" + sp(95), 1},                                // message one short
        {"T", 0},
        {"m0188", 0},
        {"N1", 0},
        {"S0" + sp(32) + nul(), 0},
        {"A5" + nul() + sp(31) + nul(), 0},
        {"k" + sp(96), 0},
        {"PE", 0},
        {"x", 0},                                         // another kind of command: taken
    };
    for (const auto &[payload, result] : cases)
        QVERIFY2(link.send_frame(payload) == result, payload.toHex().constData());
    // A refused department changed nothing.
    QCOMPARE(get(link, "B00").mid(2, 12), QByteArray("Odeljenje 1") + nul());
}

void RegisterModelTest::articleListsAndDeletion()
{
    RegSim sim;
    Link link;
    QVERIFY(open(sim, link, {"--set", "clear articles",
                             "--set", "article code=300 name=\"Sir\" price=50000",
                             "--set", "article code=100 name=\"Hleb\" price=6000 quantity=2000 total=12000",
                             "--set", "article code=200 name=\"Mleko\" price=8990"}));
    // Stock for an article the register holds.
    QCOMPARE(link.send_frame(articleStockPayload("000000000200", 12.5)), 0);

    const auto status = parseRegisterStatus(get(link, kStatusRequest));
    QVERIFY(status);
    QCOMPARE(int(status->articleCount), 3);

    // The article list in code order, ended by a bare ACK (and again at its end).
    QByteArrayList codes;
    QByteArray request = kFirstArticleRequest;
    for (int i = 0; i < 5; ++i) {
        const QByteArray answer = get(link, request);
        if (answer == "<ACK>")
            break;
        const auto a = parseArticleAnswer(answer);
        QVERIFY2(a, answer.constData());
        codes << a->barCode;
        if (a->barCode == "000000000200")
            QCOMPARE(a->inventary, QByteArray("12.5"));
        request = kNextArticleRequest;
    }
    QCOMPARE(codes, QByteArrayList({"000000000100", "000000000200", "000000000300"}));
    QCOMPARE(get(link, kNextArticleRequest), QByteArray("<ACK>"));

    // The sold list: PTFIRST gives the first article, PTSOLD only the sold ones after it.
    QCOMPARE(parseArticleAnswer(get(link, kFirstArticleRequest))->barCode, QByteArray("000000000100"));
    QCOMPARE(get(link, kNextSoldArticleRequest), QByteArray("<ACK>"));

    // An article with sales is kept until the sales are erased ("PE").
    QCOMPARE(link.send_frame(deleteArticlePayload("000000000100")), 1);
    QCOMPARE(link.send_frame(eraseArticleSalesPayload()), 0);
    for (int i = 0; i < 3; ++i) {
        const QByteArray first = get(link, kFirstArticleRequest);
        QCOMPARE(link.send_frame(deleteArticlePayload(first)), 0);
    }
    QCOMPARE(get(link, kFirstArticleRequest), QByteArray("<ACK>"));
    QCOMPARE(int(parseRegisterStatus(get(link, kStatusRequest))->articleCount), 0);
}

void RegisterModelTest::salesFiguresComeFromTheState()
{
    RegSim sim;
    Link link;
    const QString state = stateFile(sim,
        "# sales of a working day\n"
        "department 3 amount=123450 quantity=2500\n"
        "vat 3 rate=1000 amount=99\n"
        "operator 0 name=\"Ana\" code=\"   42\" amount=5000 receipts=17\n"
        "status menu=5 error=3 state=2 count=1234\n"
        "reply request=B05 answer=frame payload=\"12Voce\\0\"\n");
    QVERIFY(open(sim, link, {"--state", state}));

    const auto dept = parseDepartmentAnswer(get(link, departmentRequest(3)));
    QVERIFY(dept);
    QCOMPARE(dept->element, 4);
    QCOMPARE(dept->salesAmount, QByteArray("00000123450"));
    QCOMPARE(dept->salesQuantity, QByteArray("000002500"));
    const auto vat = parseVatRateAnswer(get(link, vatRateRequest(3)));
    QCOMPARE(vat->element, 3);
    QCOMPARE(vat->rate, QByteArray("1000"));
    QCOMPARE(vat->salesAmount, QByteArray("0.99"));
    const auto op = parseOperatorAnswer(get(link, operatorRequest(0)));
    QCOMPARE(op->name, QByteArray("Ana" + sp(9)));
    QCOMPARE(op->salesAmount, QByteArray("50"));
    QCOMPARE(op->receiptCount, QByteArray("17"));
    const auto status = parseRegisterStatus(get(link, kStatusRequest));
    QCOMPARE(int(status->menuPosition), 5);
    QCOMPARE(int(status->lastError), 3);
    QCOMPARE(int(status->operatingState), 2);
    QCOMPARE(int(status->articleCount), 1234);
    // A fixed reply: department 05 answered with the number 12, which the parser refuses.
    QCOMPARE(get(link, departmentRequest(5)), QByteArray("12Voce") + nul());
    QVERIFY(!parseDepartmentAnswer(get(link, departmentRequest(5))));
    // Records the register does not have: a bare ACK.
    QCOMPARE(get(link, "E31"), QByteArray("<ACK>"));
    QCOMPARE(get(link, "QT6"), QByteArray("<ACK>"));
}

void RegisterModelTest::stateSurvivesARestart()
{
    const QByteArray header = "S1" + QByteArray("\x1b" "A\x1b" "B") + sp(28) + nul();
    QString path;
    QTemporaryDir keep;
    path = keep.filePath("register.state");
    {
        RegSim sim;
        Link link;
        QVERIFY(open(sim, link, {"--state", path, "--set", "clear articles"}));
        QCOMPARE(link.send_frame(departmentPayload(2, "Meso \"A\"", "99")), 0);
        QCOMPARE(link.send_frame(header), 0);
        QCOMPARE(link.send_frame(articlePayload({"777", 1, "Kafa", 3.5, true, 2, 1, 0})), 0);
        QCOMPARE(link.send_frame(messagePayload("Dobar dan", "", "")), 0);
        link.Close_RS232();
        QCOMPARE(sim.stop(), 0);
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY2(text.contains("header 1 image=\"\\x1BA\\x1BB"), text.constData());
    QVERIFY(text.contains("message row1=\"Dobar dan"));

    RegSim again;
    Link link;
    QVERIFY(open(again, link, {"--state", path}));
    QCOMPARE(get(link, "B02"), QByteArray("02Meso \"A\"    00000099" "00000000000" "000000000"));
    QCOMPARE(get(link, kFirstArticleRequest).left(54),
             QByteArray("000000000777" "01" "Kafa" + sp(24) + "00000350" "1210"));
    QCOMPARE(get(link, kNextArticleRequest), QByteArray("<ACK>"));
}

void RegisterModelTest::badStateFileStopsTheStart()
{
    QTemporaryDir dir;
    const QString state = dir.filePath("state.txt");
    QFile f(state);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("department 1 name=\"ok\"\ndepartment 10 name=\"x\"\n");
    f.close();
    const QList<QPair<QStringList, QByteArray>> cases{
        {{"--state", state}, "line 2: department needs a number 0..9"},
        {{"--set", "article code=12a"}, "article needs code="},
        {{"--set", "modem echo=2"}, "modem takes dial="},
    };
    for (const auto &[args, message] : cases) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(kalvo::test::binDir() + "kalvo-regsim", QStringList{"--link", dir.filePath("line")} + args);
        QVERIFY(p.waitForFinished(5000));
        QVERIFY(p.exitCode() != 0);
        const QByteArray out = p.readAll();
        QVERIFY2(out.contains(message), out.constData());
        QVERIFY(!QFileInfo(dir.filePath("line")).isSymLink());
    }
}

void RegisterModelTest::modemDialAnswers_data()
{
    QTest::addColumn<QString>("result");
    QTest::addColumn<QByteArray>("expected");
    for (const char *word : {"BUSY", "NO CARRIER", "NO ANSWER", "NO DIALTONE", "RING", "CONNECT 9600"})
        QTest::newRow(word) << QString(word) << QByteArray("ATDT123\r\r\n") + word + "\r\n";
    QTest::newRow("none") << "none" << QByteArray("ATDT123\r");
    QTest::newRow("busy and ring") << "BUSY\r\nRING" << QByteArray("ATDT123\r\r\nBUSY\r\nRING\r\n");
}

void RegisterModelTest::modemDialAnswers()
{
    QFETCH(QString, result);
    QFETCH(QByteArray, expected);
    qputenv("ZIB_TIMEOUT_SCALE", "0.005"); // read_data waits its whole (60 s) time-out
    RegSim sim;
    Link link;
    QVERIFY(open(sim, link, {"--dial", result}));
    QCOMPARE(link.send_data("ATDT123\r\n"), 0);
    qint32 count = 0;
    QByteArray received;
    link.read_data(count, received);
    qputenv("ZIB_TIMEOUT_SCALE", "0.05");
    QCOMPARE(received, expected);
    QCOMPARE(count, qint32(expected.size()));
}

void RegisterModelTest::modemConnectPasswordHangUp()
{
    qputenv("ZIB_TIMEOUT_SCALE", "0.005");
    QTemporaryDir keep;
    const QString path = keep.filePath("register.state");
    RegSim sim;
    Link link;
    QVERIFY(open(sim, link, {"--state", path, "--dial", "BUSY", "--dial", "CONNECT 9600"}));
    qint32 count = 0;
    QByteArray received;
    link.send_data("ATDP555\r\n");
    link.read_data(count, received);
    QVERIFY2(received.contains("BUSY"), received.constData());
    link.send_data("ATDP555\r\n");
    link.read_data(count, received);
    QVERIFY2(received.contains("CONNECT 9600"), received.constData());
    link.send_data("tajna");           // the password, no line end
    QTest::qWait(300);                 // the simulator takes a quiet line as its end
    QCOMPARE(link.Testconnessione(), 0); // frames pass while connected
    link.send_data("ATH0\r\n");
    link.read_data(count, received);
    qputenv("ZIB_TIMEOUT_SCALE", "0.05");
    QCOMPARE(received, QByteArray("ATH0\r\r\nOK\r\n"));
    link.Close_RS232();
    QCOMPARE(sim.stop(), 0);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("password=\"tajna\""));
}

QTEST_GUILESS_MAIN(RegisterModelTest)
#include "register_model_test.moc"
