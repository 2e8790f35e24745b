#include "data/ProgrammingData.h"

#include <QTest>

using namespace kalvo;

namespace {

QByteArray b(const std::string &s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

// Every field filled with something the start-up values must replace.
void dirty(ProgrammingData &d)
{
    for (auto &l : d.HeaderLines) l = "dirty";
    for (auto &l : d.AdvertLines) l = "dirty";
    for (auto &l : d.HeaderLayouts) l = {"dirty", true, true};
    for (auto &l : d.AdvertLayouts) l = {"dirty", true, true};
    for (auto &r : d.Departments) r = {"x", "x", "x", "x", "x", "x"};
    for (auto &r : d.Operators) r = {"x", "x", "x", "x"};
    for (auto &r : d.Units) r = {"x", "short"};
    for (auto &r : d.ArticleTypes) r = {"x", "short"};
    d.RegisterSettings.registerNumber = "99";
    d.RegisterSettings.testMenu = "1";
    d.LinkSettings = {7, 57600, false, 32, "555", "ATDT", "pw"};
}

} // namespace

class ProgrammingDataTest : public QObject {
    Q_OBJECT
private slots:
    void startupSequence()
    {
        ProgrammingData d;
        dirty(d);
        // the order of the main window's load sequence
        d.ResetTables();
        QCOMPARE(b(d.Departments[3].name), QByteArray("Odeqewe 3"));
        d.ResetLinkSettings("ATDP");
        d.ResetUnitNames();
        d.ResetArticleTypeNames();
        d.ResetDepartmentNames();

        QCOMPARE(b(d.Departments[3].name), QByteArray("Odeqewe  3"));
        QCOMPARE(b(d.Departments[10].name), QByteArray("Odeqewe  10"));
        QCOMPARE(b(d.Departments[0].name), QByteArray("Odeqewe 0"));
        for (int i = 0; i <= 10; ++i) {
            const DepartmentRecord &r = d.Departments[i];
            QCOMPARE(r.maxPrice, std::string());
            QVERIFY(r.vatGroup == "0" && r.singleItem == "0" && r.salesAmount == "0" && r.salesQuantity == "0");
        }
        QCOMPARE(b(d.Operators[31].name), QByteArray("Kasir 31"));
        QCOMPARE(b(d.Operators[31].code), QByteArray("31"));
        QCOMPARE(b(d.Operators[1].code), QByteArray("1"));
        QCOMPARE(b(d.Operators[1].receiptCount), QByteArray("0"));
        QCOMPARE(b(d.Operators[0].name), QByteArray("x"));  // element 0 is not part of the table

        for (int i = 0; i < 6; ++i) {
            QCOMPARE(d.HeaderLines[i], std::string());
            QCOMPARE(d.AdvertLines[i], std::string());
            QVERIFY(d.HeaderLayouts[i] == LineLayout{});
            QVERIFY(d.AdvertLayouts[i] == LineLayout{});
        }
        QCOMPARE(b(d.RegisterSettings.text()), QByteArray("01000000000"));

        QCOMPARE(d.LinkSettings.port, 1);
        QCOMPARE(d.LinkSettings.baudRate, 9600);
        QCOMPARE(d.LinkSettings.lineWidth, 22);
        QVERIFY(d.LinkSettings.DisplayCyrillic);
        QCOMPARE(b(d.LinkSettings.dialMode), QByteArray("ATDP"));
        QVERIFY(d.LinkSettings.phoneNumber.empty() && d.LinkSettings.phonePassword.empty());

        QCOMPARE(b(d.Units[1].name), QByteArray("JM6"));
        QCOMPARE(b(d.Units[5].name), QByteArray("JM10"));
        QCOMPARE(b(d.ArticleTypes[1].name), QByteArray("Tip 1"));
        QCOMPARE(b(d.ArticleTypes[8].name), QByteArray("Tip 8"));
    }

    void freshObjectDefaults()
    {
        const ProgrammingData d;
        QVERIFY(d.CyrillicMode);
        QVERIFY(d.CyrillicFormFlags == CyrillicFormFlags{});
        QVERIFY(d.CyrillicFormFlags.departments && d.CyrillicFormFlags.articleTypes);
        QCOMPARE(b(d.RegisterSettings.text()), QByteArray("01000000000"));
        QVERIFY(d.ProgrammingFilePath.isEmpty());

        CyrillicFormFlags f;
        f.setAll(false);
        QVERIFY(!f.headerLines && !f.operators && !f.departments && !f.articles && !f.currencies
                && !f.advertLines && !f.units && !f.articleTypes);
    }

    void fixedWidthAssignment_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("cash");
        QTest::addColumn<QByteArray>("print");
        QTest::newRow("three digits") << QByteArray("123") << QByteArray("12") << QByteArray("1");
        QTest::newRow("one digit") << QByteArray("7") << QByteArray("7 ") << QByteArray("7");
        QTest::newRow("empty") << QByteArray("") << QByteArray("  ") << QByteArray(" ");
        QTest::newRow("exact width") << QByteArray("05") << QByteArray("05") << QByteArray("0");
    }

    void fixedWidthAssignment()
    {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, cash);
        QFETCH(QByteArray, print);
        RegisterSettings s;
        s.registerNumber = value.toStdString();
        s.printIntensity = value.constData();
        QCOMPARE(b(s.registerNumber), cash);
        QCOMPARE(b(s.printIntensity), print);
        QCOMPARE(s.text().size(), std::size_t(11));
        QCOMPARE(b(s.text()), cash + print + "00000000");
    }

    void layoutFromStoredLine_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("lineWidth");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("centered");

        const QByteArray pad27(27, ' ');
        QTest::newRow("bold, left-aligned word") << QByteArray("HELLO" + pad27 + "10") << 22 << QByteArray("HELLO") << true << false;
        QTest::newRow("centred") << QByteArray("Hvala" + pad27 + "01") << 22 << QByteArray("Hvala") << false << true;
        QTest::newRow("leading blanks kept") << QByteArray("  ab" + QByteArray(28, ' ') + "00") << 22 << QByteArray("  ab") << false << false;
        QTest::newRow("cut to line width")
            << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345" "00") << 22 << QByteArray("ABCDEFGHIJKLMNOPQRSTUV") << false << false;
        QTest::newRow("wide line") << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345" "00") << 32
                                   << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345") << false << false;
        QTest::newRow("any non-zero digit is bold") << QByteArray("x" + QByteArray(31, ' ') + "70") << 22 << QByteArray("x") << true << false;
        QTest::newRow("non-digit flag is not bold") << QByteArray("x" + QByteArray(31, ' ') + "a0") << 22 << QByteArray("x") << false << false;
        QTest::newRow("no flags: centred, not bold") << QByteArray("short") << 22 << QByteArray("short") << false << true;
        QTest::newRow("empty") << QByteArray() << 22 << QByteArray() << false << true;
        QTest::newRow("zero width") << QByteArray("abc" + QByteArray(29, ' ') + "11") << 0 << QByteArray() << true << true;
        QTest::newRow("negative width") << QByteArray("abc") << -5 << QByteArray() << false << true;
    }

    void layoutFromStoredLine()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, lineWidth);
        QFETCH(QByteArray, text);
        QFETCH(bool, bold);
        QFETCH(bool, centered);
        const LineLayout l = LayoutFromStoredLine(stored.toStdString(), lineWidth);
        QCOMPARE(b(l.text), text);
        QCOMPARE(l.bold, bold);
        QCOMPARE(l.centered, centered);
    }

    void storedLineFromLayout_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("centered");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("padded to 32") << QByteArray("HELLO") << true << false << QByteArray("HELLO" + QByteArray(27, ' ') + "10");
        QTest::newRow("trailing blanks dropped first") << QByteArray(" ab   ") << false << true << QByteArray(" ab" + QByteArray(29, ' ') + "01");
        QTest::newRow("empty") << QByteArray() << false << false << QByteArray(32, ' ') + "00";
        // the flags must stay at characters 33 and 34
        QTest::newRow("longer than 32") << QByteArray(33, 'x') << true << true << QByteArray(32, 'x') + "11";
    }

    void storedLineFromLayout()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, bold);
        QFETCH(bool, centered);
        QFETCH(QByteArray, stored);
        const std::string line = StoredLine({text.toStdString(), bold, centered});
        QCOMPARE(b(line), stored);
        // flags are read back from characters 33 and 34
        const LineLayout back = LayoutFromStoredLine(line, 32);
        QCOMPARE(back.bold, bold);
        QCOMPARE(back.centered, centered);
    }

    void layoutsOfAllLinesFollowLineWidth()
    {
        ProgrammingData d;
        d.LinkSettings.lineWidth = 4;
        d.HeaderLines[5] = StoredLine({"ABCDEF", true, true});
        d.AdvertLines[0] = StoredLine({"xy", false, false});
        d.HeaderLines[6] = "never used";
        d.LayoutsFromLines();
        QVERIFY((d.HeaderLayouts[5] == LineLayout{"ABCD", true, true}));
        QVERIFY((d.AdvertLayouts[0] == LineLayout{"xy", false, false}));
        QVERIFY(d.HeaderLayouts[6] == LineLayout{});

        d.AdvertLayouts[0].bold = true;
        d.LinesFromLayouts();
        QCOMPARE(b(d.AdvertLines[0]), "xy" + QByteArray(30, ' ') + "10");
        QCOMPARE(b(d.HeaderLines[5]), "ABCD" + QByteArray(28, ' ') + "11");
        QCOMPARE(b(d.HeaderLines[6]), QByteArray("never used"));
    }

    void printWidthCountsBoldCharactersTwice()
    {
        QCOMPARE(PrintWidth({"AB C", true, false}), 7);
        QCOMPARE(PrintWidth({"AB C", false, false}), 4);
        QCOMPARE(PrintWidth({"", true, false}), 0);
    }
};

QTEST_GUILESS_MAIN(ProgrammingDataTest)
#include "programming_data_test.moc"
