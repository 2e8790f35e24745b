// Print image of header and advertising lines.
#include "register/PrintImage.h"

#include <QTest>
#include <array>

using namespace kalvo::printimage;

namespace {
QByteArray bytes(const std::string &s) { return QByteArray(s.data(), qsizetype(s.size())); }
}

class PrintImageTest : public QObject {
    Q_OBJECT
private slots:
    void layoutFlags_data();
    void layoutFlags();
    void image_data();
    void image();
    void emptyTrailingLines_data();
    void emptyTrailingLines();
    void normalisedStoredLineKeepsFlags();
};

void PrintImageTest::layoutFlags_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("centered");

    const std::string hello = padRight("HELLO", 32);
    QTest::newRow("bold, left") << bytes(hello + "10") << 22 << QByteArray("HELLO") << true << false;
    QTest::newRow("plain, centred") << bytes(hello + "01") << 22 << QByteArray("HELLO") << false << true;
    QTest::newRow("both off") << bytes(hello + "00") << 22 << QByteArray("HELLO") << false << false;
    // flag characters missing: neither is "0"
    QTest::newRow("short line is bold and centred") << QByteArray("ABC") << 22 << QByteArray("ABC") << true << true;
    QTest::newRow("only bold flag present") << bytes(hello + "0") << 22 << QByteArray("HELLO") << false << true;
    // text cut to the line width, then trimmed
    QTest::newRow("cut to width 22")
        << bytes(padRight("  0123456789012345678901234", 32) + "00") << 22
        << QByteArray("01234567890123456789") << false << false;
    QTest::newRow("width 32")
        << bytes(padRight("0123456789012345678901234", 32) + "00") << 32
        << QByteArray("0123456789012345678901234") << false << false;
}

void PrintImageTest::layoutFlags()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, width);
    const LineImage line = layoutForSending(stored.toStdString(), width);
    QTEST(bytes(line.text), "text");
    QTEST(line.bold, "bold");
    QTEST(line.centered, "centered");
}

void PrintImageTest::image_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("centered");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("bold centred ABC at 22")
        << QByteArray("ABC") << true << true << 22
        << QByteArray(7, ' ') + QByteArray("\x1B" "A" "\x1B" "B" "\x1B" "C") + QByteArray(9, ' ');
    QTest::newRow("centred odd length")
        << QByteArray("ABC") << false << true << 22
        << QByteArray(9, ' ') + "ABC" + QByteArray(10, ' ');
    QTest::newRow("centred even length at 32")
        << QByteArray("ABCD") << false << true << 32
        << QByteArray(13, ' ') + "ABCD" + QByteArray(15, ' ');
    QTest::newRow("left aligned untouched") << QByteArray("ABC") << false << false << 22 << QByteArray("ABC");
    QTest::newRow("bold keeps inner blanks")
        << QByteArray("A B") << true << false << 22 << QByteArray("\x1B" "A" "\x1B" " " "\x1B" "B");
    // a bold image longer than the width is left as it is
    QTest::newRow("bold wider than line")
        << QByteArray("ABCDEFGHIJKL") << true << true << 22
        << QByteArray("\x1B" "A\x1B" "B\x1B" "C\x1B" "D\x1B" "E\x1B" "F\x1B" "G\x1B" "H\x1B" "I\x1B" "J\x1B" "K\x1B" "L");
    QTest::newRow("empty centred") << QByteArray() << false << true << 22 << QByteArray(22, ' ');
}

void PrintImageTest::image()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, bold);
    QFETCH(bool, centered);
    QFETCH(int, width);
    std::string img = text.toStdString();
    if (bold)
        img = boldImage(img);
    if (centered)
        img = centredImage(img, width);
    QTEST(bytes(img), "expected");
}

void PrintImageTest::emptyTrailingLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("expected");
    const QString nul(QChar(0));
    QTest::newRow("lines 1 to 5 empty") << QStringList{"TOP", "", "  ", "", "", ""}
                                        << QStringList{"TOP", nul, nul, nul, nul, nul};
    QTest::newRow("stops at the first line with text")
        << QStringList{"TOP", "", "MID", "", " ", ""} << QStringList{"TOP", "", "MID", nul, nul, nul};
    QTest::newRow("line 0 never replaced") << QStringList{"", "", "", "", "", ""}
                                           << QStringList{"", nul, nul, nul, nul, nul};
    QTest::newRow("last line has text") << QStringList{"A", "", "", "", "", "Z"}
                                        << QStringList{"A", "", "", "", "", "Z"};
}

void PrintImageTest::emptyTrailingLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, expected);
    std::array<std::string, 6> buf;
    for (int i = 0; i < 6; ++i)
        buf[std::size_t(i)] = lines[i].toStdString();
    markEmptyTrailingLines(buf);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(QString::fromStdString(buf[std::size_t(i)]), expected[i]);
}

void PrintImageTest::normalisedStoredLineKeepsFlags()
{
    // folding "nj" into one character must not move the flags out of 33 and 34
    auto fold = [](std::string s) {
        for (std::size_t p; (p = s.find("nj")) != std::string::npos;)
            s.replace(p, 2, "w");
        return s;
    };
    auto unfold = [](std::string s) {
        for (std::size_t p = 0; (p = s.find('w', p)) != std::string::npos; p += 2)
            s.replace(p, 1, "nj");
        return s;
    };
    const std::string stored = padRight("Konjic", 32) + "10";
    const std::string folded = normaliseStoredLine(stored, fold);
    QCOMPARE(bytes(folded), bytes(padRight("Kowic", 32) + "10"));
    const LineImage line = layoutForSending(folded, 22);
    QVERIFY(line.bold);
    QVERIFY(!line.centered);
    QCOMPARE(bytes(normaliseStoredLine(folded, unfold)), bytes(stored));
    // a text that would overflow its field keeps the line as it was
    const std::string full = std::string(32, 'w') + "01";
    QCOMPARE(bytes(normaliseStoredLine(full, unfold)), bytes(full));
    // a line without flags is normalised whole
    QCOMPARE(bytes(normaliseStoredLine("Konjic", fold)), QByteArray("Kowic"));
}

QTEST_GUILESS_MAIN(PrintImageTest)
#include "print_image_test.moc"
