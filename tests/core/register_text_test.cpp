#include "data/Codec.h"
#include "data/RegisterText.h"

#include <QTest>

using namespace kalvo;

namespace {
QByteArray b(const std::string &s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}
std::string s(const QByteArray &a)
{
    return std::string(a.constData(), std::size_t(a.size()));
}
} // namespace

class RegisterTextTest : public QObject {
    Q_OBJECT
private slots:
    void toRegisterCode_data()
    {
        QTest::addColumn<QByteArray>("latin");
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("word") << QByteArray("Odeljenje") << QByteArray("Odeqewe");
        QTest::newRow("leading Nj") << QByteArray("Njiva") << QByteArray("Wiva");
        QTest::newRow("leading NJ") << QByteArray("NJIVA") << QByteArray("WIVA");
        QTest::newRow("mixed nJ left alone") << QByteArray("nJ lJ dJ dZ") << QByteArray("nJ lJ dJ dZ");
        QTest::newRow("all digraphs") << QByteArray("nj lj dj dz Nj Lj Dj Dz NJ LJ DJ DZ")
                                      << QByteArray("w q | x W Q \\ X W Q \\ X");
        QTest::newRow("adjacent digraphs") << QByteArray("Ljiljana Djordjevic") << QByteArray("Qiqana \\or|evic");
        QTest::newRow("digits and signs unchanged") << QByteArray("Tip 12 = 3,50") << QByteArray("Tip 12 = 3,50");
        QTest::newRow("8-bit bytes unchanged") << QByteArray("\xB0nj\xFF") << QByteArray("\xB0w\xFF");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void toRegisterCode()
    {
        QFETCH(QByteArray, latin);
        QFETCH(QByteArray, code);
        QCOMPARE(b(ConvertRegisterText(s(latin))), code);
        QCOMPARE(b(ConvertRegisterText(s(latin), false)), code);
    }

    void toLatin_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("latin");
        QTest::newRow("word") << QByteArray("Odeqewe") << QByteArray("Odeljenje");
        QTest::newRow("every code letter") << QByteArray("w q ` ~ { } | x @ ^ [ ] \\ X W Q")
                                           << QByteArray("nj lj z c s c dj dz Z C S C Dj Dz Nj Lj");
        // a digraph produced early is not touched by the later replacements
        QTest::newRow("order") << QByteArray("wx|W") << QByteArray("njdzdjNj");
        QTest::newRow("plain letters unchanged") << QByteArray("Abc 1") << QByteArray("Abc 1");
    }

    void toLatin()
    {
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, latin);
        QCOMPARE(b(ConvertRegisterText(s(code), true)), latin);
    }

    void latinDirectionIsNoInverse()
    {
        // the letters with diacritics lose them on the way to Latin
        const std::string code = "`~{}@^[]";
        const std::string latin = ConvertRegisterText(code, true);
        QCOMPARE(b(latin), QByteArray("zcscZCSC"));
        QCOMPARE(b(ConvertRegisterText(latin, false)), QByteArray("zcscZCSC"));
        // the digraph letters do come back
        QCOMPARE(b(ConvertRegisterText(ConvertRegisterText("wq|xWQ\\X", true), false)), QByteArray("wq|xWQ\\X"));
    }

    void to8859MapsTheWholeCode()
    {
        const std::string code = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz@`^~[{]}\\|";
        const unsigned char expected[] = {
            176, 177, 198, 180, 181, 196, 179, 197, 184, 168, 186, 187, 188, 189, 190, 191, 169, 192, 193,
            194, 195, 178, 170, 175, 175, 183, 208, 209, 230, 212, 213, 228, 211, 229, 216, 248, 218, 219,
            220, 221, 222, 223, 249, 224, 225, 226, 227, 210, 250, 255, 255, 215, 182, 214, 199, 231, 200,
            232, 171, 251, 162, 242};
        QCOMPARE(code.size(), sizeof expected);
        const QByteArray eight = b(To8859(code));
        QCOMPARE(eight, QByteArray(reinterpret_cast<const char *>(expected), sizeof expected));

        // back again: everything but y and Y, which share the codes of x and X
        const std::string back = From8859(To8859(code));
        for (std::size_t i = 0; i < code.size(); ++i) {
            const char want = code[i] == 'y' ? 'x' : code[i] == 'Y' ? 'X' : code[i];
            QCOMPARE(back[i], want);
        }
    }

    void unmappedCharactersPassThrough_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("alsoFrom8859");
        QTest::newRow("digits") << QByteArray("0123456789") << true;
        QTest::newRow("signs and blanks") << QByteArray(" .,-+*/%#$&()") << true;
        QByteArray high;
        for (int c = 128; c < 256; ++c)
            high.append(char(c));
        QTest::newRow("8-bit bytes through To8859") << high << false;
        QTest::newRow("NUL") << QByteArray("\0", 1) << true;
    }

    void unmappedCharactersPassThrough()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, alsoFrom8859);
        QCOMPARE(b(To8859(s(text))), text);
        if (alsoFrom8859)
            QCOMPARE(b(From8859(s(text))), text);
    }

    void from8859Specifics()
    {
        QCOMPARE(b(From8859("\xFF")), QByteArray("x"));
        QCOMPARE(b(From8859("\xAF")), QByteArray("X"));
        QCOMPARE(b(From8859("\xBE\xD4\xD5\xF9\xD5\xFA\xD5")), QByteArray("Odeqewe"));
        // Latin text and codes outside the table are left alone
        QCOMPARE(b(From8859("Hleb 12")), QByteArray("Hleb 12"));
        QCOMPARE(b(From8859("\xA0\xA1\xFE")), QByteArray("\xA0\xA1\xFE"));
    }

    void hasNoLatinLetters_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("digits") << QByteArray("12345") << true;
        QTest::newRow("8-bit Cyrillic") << b(To8859("Odeqewe 3")) << true;
        QTest::newRow("code signs") << QByteArray("@[\\]^`{|}~") << true;
        QTest::newRow("one small letter") << QByteArray("123a") << false;
        QTest::newRow("one capital") << QByteArray("\xB0Z") << false;
    }

    void hasNoLatinLetters()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, expected);
        QCOMPARE(HasNoLatinLetters(s(text)), expected);
    }

    // The Windows-1250 code page at the edges (widgets and database).
    void codecRoundTripsEveryByte()
    {
        QByteArray all;
        for (int c = 0; c < 256; ++c)
            all.append(char(c));
        bool ok = false;
        QCOMPARE(unicodeToAnsi(ansiToUnicode(all), &ok), all);
        QVERIFY(ok);
        QCOMPARE(ansiToUnicode("\xC8\xE8\x8A\x9A\x8E\x9E\xD0\xF0\xC6\xE6"), QString::fromUtf8("ČčŠšŽžĐđĆć"));
    }

    void codecDetectsUnmappableCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("mapped");
        QTest::newRow("Serbian Latin") << QString::fromUtf8("Čačak Đurđevo") << QByteArray("\xC8" "a\xE8" "ak \xD0" "ur\xF0" "evo") << true;
        QTest::newRow("Cyrillic letter") << QString::fromUtf8("aЖb") << QByteArray("a?b") << false;
        QTest::newRow("outside the BMP") << QString::fromUtf8("x\U0001F600y") << QByteArray("x?y") << false;
        QTest::newRow("SUB control itself") << QString(QChar(0x1A)) << QByteArray("\x1A") << true;
        QTest::newRow("empty") << QString() << QByteArray() << true;
    }

    void codecDetectsUnmappableCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, mapped);
        bool ok = !mapped;
        QCOMPARE(unicodeToAnsi(text, &ok), bytes);
        QCOMPARE(ok, mapped);
        QCOMPARE(isAnsiText(text), mapped);
    }

    void codecNamesMatchWithoutCase()
    {
        QVERIFY(ansiEqualNoCase("Settings", "SETTINGS"));
        QVERIFY(ansiEqualNoCase("\xC8" "ACAK", "\xE8" "acak"));  // Č / č
        QVERIFY(!ansiEqualNoCase("\xC8", "C"));
        QVERIFY(!ansiEqualNoCase("ab", "abc"));
    }
};

QTEST_GUILESS_MAIN(RegisterTextTest)
#include "register_text_test.moc"
