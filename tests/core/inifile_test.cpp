#include "shell/IniFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace kalvo;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class IniFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

private slots:
    void getSetting_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray crlf = "; comment=not a key\r\n[Main]\r\nName = value here \r\n"
                                "name=second\r\nQuoted=  \"  padded  \"  \r\nHalf=\"open\r\n"
                                "Single='x'\r\nEmpty=\r\n;Hidden=1\r\n\r\n[Other]\r\nName=other\r\n"
                                "[main]\r\nLate=found\r\n";
        QTest::newRow("trimmed") << crlf << QByteArray("Main") << QByteArray("Name") << QByteArray("value here");
        QTest::newRow("names ignore case, first match wins")
            << crlf << QByteArray("MAIN") << QByteArray("NAME") << QByteArray("value here");
        QTest::newRow("one pair of quotes removed, inner blanks kept")
            << crlf << QByteArray("Main") << QByteArray("Quoted") << QByteArray("  padded  ");
        QTest::newRow("unbalanced quote kept") << crlf << QByteArray("Main") << QByteArray("Half") << QByteArray("\"open");
        QTest::newRow("single quotes removed") << crlf << QByteArray("Main") << QByteArray("Single") << QByteArray("x");
        QTest::newRow("empty value") << crlf << QByteArray("Main") << QByteArray("Empty") << QByteArray();
        QTest::newRow("comment is no key") << crlf << QByteArray("Main") << QByteArray("Hidden") << QByteArray();
        QTest::newRow("comment before sections") << crlf << QByteArray("") << QByteArray("; comment") << QByteArray();
        QTest::newRow("other section") << crlf << QByteArray("other") << QByteArray("name") << QByteArray("other");
        QTest::newRow("repeated section searched too")
            << crlf << QByteArray("Main") << QByteArray("Late") << QByteArray("found");
        QTest::newRow("missing key") << crlf << QByteArray("Main") << QByteArray("Nope") << QByteArray();
        QTest::newRow("missing section") << crlf << QByteArray("Nope") << QByteArray("Name") << QByteArray();
        QTest::newRow("key of another section") << crlf << QByteArray("Other") << QByteArray("Late") << QByteArray();

        QTest::newRow("LF file") << QByteArray("[a]\nk=v\n[b]\nk=w") << QByteArray("b") << QByteArray("k") << QByteArray("w");
        QTest::newRow("blanks around section name")
            << QByteArray("  [ sec ]  \r\n  key  =  1 \r\n") << QByteArray("SEC") << QByteArray("KEY") << QByteArray("1");
        QTest::newRow("value up to first '=' only")
            << QByteArray("[s]\r\nk=a=b\r\n") << QByteArray("s") << QByteArray("k") << QByteArray("a=b");
        QTest::newRow("value cut at NUL")
            << QByteArray("[s]\r\nk=ab\0cd\r\n", 14) << QByteArray("s") << QByteArray("k") << QByteArray("ab");
        QTest::newRow("value cut to 254 bytes")
            << QByteArray("[s]\r\nk=" + QByteArray(300, 'z') + "\r\n") << QByteArray("s") << QByteArray("k")
            << QByteArray(254, 'z');
        // Windows-1250: 0xC8/0xE8 are the capital and small C with caron
        QTest::newRow("letters with diacritics ignore case")
            << QByteArray("[\xC8" "as]\r\n\xE8vor=1\r\n") << QByteArray("\xE8" "AS") << QByteArray("\xC8VOR") << QByteArray("1");
        QTest::newRow("8-bit value bytes kept")
            << QByteArray("[s]\r\nk=\xB0\xFF\x80\r\n") << QByteArray("s") << QByteArray("k") << QByteArray("\xB0\xFF\x80");
    }

    void getSetting()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, expected);
        const QString p = path("get.ini");
        writeAll(p, file);
        QCOMPARE(cIniFile(p).GetSetting(section, key), expected);
    }

    void missingFileReadsEmpty()
    {
        cIniFile ini(path("does-not-exist.ini"));
        QCOMPARE(ini.GetSetting("a", "b"), QByteArray());
        QList<QByteArray> keys{"stale"};
        QCOMPARE(ini.GetSection("a", keys), 0);
        QVERIFY(keys.isEmpty());
        QCOMPARE(cIniFile().GetSetting("a", "b"), QByteArray());
    }

    void getSectionListsKeysFromIndexOne()
    {
        const QString p = path("section.ini");
        writeAll(p, "[web1]\r\ncaption=Help\r\n;url=x\r\nURL=http://h\r\nCaption=again\r\n\r\n[web2]\r\nz=1\r\n[empty]\r\n");
        cIniFile ini(p);
        QList<QByteArray> keys;
        QCOMPARE(ini.GetSection("WEB1", keys), 2);
        QCOMPARE(keys, (QList<QByteArray>{"", "caption", "URL"}));
        QCOMPARE(ini.GetSection("empty", keys), 0);
        QVERIFY(keys.isEmpty());
    }

    void saveReplacesInPlaceKeepingOtherBytes()
    {
        const QString p = path("replace.ini");
        const QByteArray before = "; kept \xE8 comment\r\n[A]\r\nx = 1\r\nKey = old ; not a comment\r\nKEY=second\r\n\r\n"
                                  "junk line without equals\r\n[B]\r\nKey=b\r\n";
        writeAll(p, before);
        cIniFile ini(p);
        QVERIFY(ini.SaveSetting("a", "key", "new"));
        QByteArray expected = before;
        expected.replace("Key = old ; not a comment", "key=new");
        QCOMPARE(readAll(p), expected);
        QCOMPARE(ini.GetSetting("B", "Key"), QByteArray("b"));
    }

    void saveAppends_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("end of its section, before the blank line")
            << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n") << QByteArray("a")
            << QByteArray("[A]\r\nx=1\r\nk=v\r\n\r\n[B]\r\ny=2\r\n");
        QTest::newRow("LF file stays LF")
            << QByteArray("[A]\nx=1\n[B]\ny=2\n") << QByteArray("A") << QByteArray("[A]\nx=1\nk=v\n[B]\ny=2\n");
        QTest::newRow("new section at the end")
            << QByteArray("[A]\r\nx=1\r\n") << QByteArray("C") << QByteArray("[A]\r\nx=1\r\n[C]\r\nk=v\r\n");
        QTest::newRow("last line without line ending")
            << QByteArray("[A]\nx=1") << QByteArray("A") << QByteArray("[A]\nx=1\nk=v\n");
        QTest::newRow("new section after unterminated last line")
            << QByteArray("[A]\r\nx=1") << QByteArray("Z") << QByteArray("[A]\r\nx=1\r\n[Z]\r\nk=v\r\n");
        QTest::newRow("empty section")
            << QByteArray("[A]\r\n[B]\r\n") << QByteArray("A") << QByteArray("[A]\r\nk=v\r\n[B]\r\n");
        QTest::newRow("empty file") << QByteArray() << QByteArray("S") << QByteArray("[S]\r\nk=v\r\n");
    }

    void saveAppends()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, after);
        const QString p = path("append.ini");
        writeAll(p, before);
        QVERIFY(cIniFile(p).SaveSetting(section, "k", "v"));
        QCOMPARE(readAll(p), after);
    }

    void saveCreatesFileWithCrlf()
    {
        const QString p = path("new.ini");
        QFile::remove(p);
        cIniFile ini(p);
        QVERIFY(ini.SaveSetting("KALVO", "VERSION", "1"));
        QVERIFY(ini.SaveSetting("KALVO", "NEXT", "2"));
        QCOMPARE(readAll(p), QByteArray("[KALVO]\r\nVERSION=1\r\nNEXT=2\r\n"));
    }

    void valuesRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("plain") << QByteArray("abc");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("leading blanks") << QByteArray("   centred");
        QTest::newRow("trailing blanks") << QByteArray("Odeqewe 3   ");
        QTest::newRow("only blanks") << QByteArray("            ");
        QTest::newRow("enclosed in quotes") << QByteArray("\"quoted\"");
        QTest::newRow("one quote") << QByteArray("\"");
        QTest::newRow("semicolon and equals") << QByteArray("a;b=c");
        QTest::newRow("8-bit bytes") << QByteArray("\xB0\xD0\xFF");
    }

    void valuesRoundTrip()
    {
        QFETCH(QByteArray, value);
        const QString p = path("roundtrip.ini");
        QFile::remove(p);
        cIniFile ini(p);
        QVERIFY(ini.SaveSetting("S", "K", value));
        QCOMPARE(ini.GetSetting("S", "K"), value);
    }

    void refusedWrites_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("line break in value") << QByteArray("S") << QByteArray("K") << QByteArray("a\r\n[X]\r\nb=1");
        QTest::newRow("NUL in value") << QByteArray("S") << QByteArray("K") << QByteArray("a\0b", 3);
        QTest::newRow("'=' in key") << QByteArray("S") << QByteArray("K=1") << QByteArray("v");
        QTest::newRow("comment key") << QByteArray("S") << QByteArray(";K") << QByteArray("v");
        QTest::newRow("']' in section") << QByteArray("S]x") << QByteArray("K") << QByteArray("v");
        QTest::newRow("empty key") << QByteArray("S") << QByteArray(" ") << QByteArray("v");
        QTest::newRow("empty section") << QByteArray("") << QByteArray("K") << QByteArray("v");
    }

    void refusedWrites()
    {
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        const QString p = path("refused.ini");
        const QByteArray before = "[S]\r\nK=old\r\n";
        writeAll(p, before);
        QVERIFY(!cIniFile(p).SaveSetting(section, key, value));
        QCOMPARE(readAll(p), before);
    }

    void unwritablePathFails()
    {
        cIniFile ini(path("no-such-folder/x.ini"));
        QVERIFY(!ini.SaveSetting("S", "K", "v"));
        QVERIFY(!cIniFile().SaveSetting("S", "K", "v"));
    }

    void deleteSectionRemovesEveryCopy()
    {
        const QString p = path("delete.ini");
        writeAll(p, "; top\r\n[A]\r\nx=1\r\n\r\n[Gone]\r\ny=2\r\n;c\r\n[B]\r\nz=3\r\n[gone]\r\nw=4\r\n");
        cIniFile ini(p);
        QVERIFY(ini.DeleteSection("GONE"));
        QCOMPARE(readAll(p), QByteArray("; top\r\n[A]\r\nx=1\r\n\r\n[B]\r\nz=3\r\n"));
        QVERIFY(ini.DeleteSection("absent"));
        QCOMPARE(readAll(p), QByteArray("; top\r\n[A]\r\nx=1\r\n\r\n[B]\r\nz=3\r\n"));
        QVERIFY(ini.DeleteSection("A"));
        QCOMPARE(ini.GetSetting("A", "x"), QByteArray());
        QCOMPARE(ini.GetSetting("B", "z"), QByteArray("3"));
    }

    void batchedUpdateWritesOnce()
    {
        const QString p = path("batch.ini");
        const QByteArray before = "; c\r\n[A]\r\nx=1\r\n[Gone]\r\ny=2\r\n";
        writeAll(p, before);
        cIniFile ini(p);
        ini.BeginUpdate();
        QVERIFY(ini.SaveSetting("A", "x", "2"));
        QVERIFY(ini.SaveSetting("B", "k", " v "));
        QVERIFY(ini.DeleteSection("gone"));
        QVERIFY(!ini.SaveSetting("A", "bad=key", "v"));
        QCOMPARE(ini.GetSetting("a", "X"), QByteArray("2"));   // reads see the pending state
        QCOMPARE(ini.GetSetting("Gone", "y"), QByteArray());
        QCOMPARE(readAll(p), before);                          // the file is not touched yet
        QVERIFY(ini.EndUpdate());
        QCOMPARE(readAll(p), QByteArray("; c\r\n[A]\r\nx=2\r\n[B]\r\nk=\" v \"\r\n"));
        QVERIFY(ini.EndUpdate());  // nothing pending

        cIniFile lost(path("no-such-folder/x.ini"));
        lost.BeginUpdate();
        QVERIFY(lost.SaveSetting("S", "K", "v"));
        QVERIFY(!lost.EndUpdate());
    }

    void binaryJunkIsHarmless()
    {
        const QString p = path("junk.ini");
        auto *rng = QRandomGenerator::global();
        for (int round = 0; round < 50; ++round) {
            QByteArray junk(int(rng->bounded(1, 4000)), Qt::Uninitialized);
            for (char &c : junk) {
                // weight the bytes that matter to the parser
                static const char special[] = "[]=;\r\n\"' \t\0";
                c = rng->bounded(3) == 0 ? special[rng->bounded(int(sizeof special))] : char(rng->bounded(256));
            }
            writeAll(p, junk);
            cIniFile ini(p);
            QList<QByteArray> keys;
            const int n = ini.GetSection("x", keys);
            QVERIFY(n == 0 ? keys.isEmpty() : keys.size() == n + 1);
            QVERIFY(ini.GetSetting("x", "y").size() <= 254);
            QVERIFY(ini.SaveSetting("KALVO", "VERSION", "EUEIOBBB210979"));
            QCOMPARE(ini.GetSetting("kalvo", "version"), QByteArray("EUEIOBBB210979"));
            QVERIFY(ini.DeleteSection("KALVO"));
            QCOMPARE(ini.GetSetting("kalvo", "version"), QByteArray());
        }
    }
};

QTEST_GUILESS_MAIN(IniFileTest)
#include "inifile_test.moc"
