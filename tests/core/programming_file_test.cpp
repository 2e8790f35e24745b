#include "data/ProgrammingFile.h"
#include "shell/IniFile.h"
#include "shell/Prompter.h"
#include "TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace kalvo;

namespace {

QByteArray b(const std::string &s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QString fixture() { return test::sourceDir() + "tests/data/programming_windows.ini"; }

// The keys of the programming file in the order the reader reads them and the writer writes
// them (with UNITS SHORT_n, which this writer adds).
QList<QByteArray> formatKeys()
{
    QList<QByteArray> k{"KALVO/VERSION"};
    for (int n = 0; n <= 5; ++n) k << "HEADER/ROW_" + QByteArray::number(n);
    for (int n = 0; n <= 5; ++n) k << "ADVERTIZE/ROW_" + QByteArray::number(n);
    for (int n = 1; n <= 10; ++n) k << "DEPARTMENTS/DESCRIPTION_" + QByteArray::number(n);
    for (int n = 1; n <= 31; ++n)
        k << "OPERATORS/CODE_" + QByteArray::number(n) << "OPERATORS/NAME_" + QByteArray::number(n);
    for (int n = 1; n <= 9; ++n) k << "VAT/TAX_" + QByteArray::number(n);
    for (const char *s : {"CASH", "PRINT", "GRAFICA1", "GRAFICA1_IMG", "GRAFICA2", "GRAFICA2_IMG", "OBLIGATE",
                          "TEST_MENY", "SINGLE", "SPEED"})
        k << QByteArray("SISTEM/") + s;
    for (int n = 1; n <= 4; ++n)
        k << "VALUTE/DESCRIPTION_" + QByteArray::number(n) << "VALUTE/CONVERSION_" + QByteArray::number(n);
    for (int n = 1; n <= 5; ++n) k << "UNITS/DESCR_" + QByteArray::number(n);
    for (int n = 1; n <= 5; ++n) k << "UNITS/SHORT_" + QByteArray::number(n);
    for (int n = 1; n <= 8; ++n) k << "PLUTYPE/DESCR_" + QByteArray::number(n);
    k << "SETPORT/PORT" << "SETPORT/SPEED" << "SETLNG/LNG" << "SETWDTH/WDTH" << "SETPHONE/PHONENM"
      << "SETPHONE/PHONEPT" << "SETPHONE/PHONEPSS";
    return k;
}

// "SECTION/KEY" of every key line, in file order.
QList<QByteArray> keyLines(const QByteArray &file)
{
    QList<QByteArray> out;
    QByteArray section;
    for (QByteArray line : file.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('['))
            section = line.mid(1, line.indexOf(']') - 1);
        else if (!line.startsWith(';') && line.contains('='))
            out << section + '/' + line.left(line.indexOf('=')).trimmed();
    }
    return out;
}

// The file without the key lines that the programming file format owns: what is left must
// survive a save byte for byte.
QByteArray foreignLines(const QByteArray &file)
{
    const QList<QByteArray> keys = formatKeys();
    const QSet<QByteArray> owned(keys.begin(), keys.end());
    QByteArray out;
    QByteArray section;
    qsizetype pos = 0;
    while (pos < file.size()) {
        qsizetype end = file.indexOf('\n', pos);
        end = end < 0 ? file.size() : end + 1;
        const QByteArray raw = file.mid(pos, end - pos);
        pos = end;
        const QByteArray line = raw.trimmed();
        if (line.startsWith('['))
            section = line.mid(1, line.indexOf(']') - 1).toUpper();
        else if (!line.startsWith(';') && line.contains('=')
                 && owned.contains(section + '/' + line.left(line.indexOf('=')).trimmed().toUpper()))
            continue;
        out += raw;
    }
    return out;
}

// Tables, settings and names that the file holds (sales figures and layouts are not in it).
void compareFileContent(const ProgrammingData &a, const ProgrammingData &e)
{
    for (int n = 0; n <= 5; ++n) {
        QCOMPARE(b(a.HeaderLines[n]), b(e.HeaderLines[n]));
        QCOMPARE(b(a.AdvertLines[n]), b(e.AdvertLines[n]));
    }
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(b(a.Departments[n].name), b(e.Departments[n].name));
    for (int n = 1; n <= 31; ++n) {
        QCOMPARE(b(a.Operators[n].code), b(e.Operators[n].code));
        QCOMPARE(b(a.Operators[n].name), b(e.Operators[n].name));
    }
    for (int n = 0; n < 9; ++n)
        QCOMPARE(b(a.VatRates[n].rate), b(e.VatRates[n].rate));
    for (int n = 1; n <= 4; ++n)
        QVERIFY(a.Currencies[n] == e.Currencies[n]);
    for (int n = 1; n <= 5; ++n)
        QVERIFY(a.Units[n] == e.Units[n]);
    for (int n = 1; n <= 8; ++n)
        QCOMPARE(b(a.ArticleTypes[n].name), b(e.ArticleTypes[n].name));
    QCOMPARE(b(a.RegisterSettings.text()), b(e.RegisterSettings.text()));
    QVERIFY(a.LinkSettings == e.LinkSettings);
}

ProgrammingData startupData()
{
    ProgrammingData d;
    d.ResetTables();
    d.ResetLinkSettings("ATDP");
    d.ResetUnitNames();
    d.ResetArticleTypeNames();
    d.ResetDepartmentNames();
    return d;
}

} // namespace

class ProgrammingFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

private slots:
    void readsFileOfTheWindowsWorkstation()
    {
        ProgrammingData d = startupData();
        d.ProgrammingFilePath = fixture();
        ScriptedPrompter p;
        QVERIFY(ReadProgrammingFile(d, p));
        QVERIFY(p.prompts.empty());

        QCOMPARE(b(d.FileVersion), QByteArray("EUEIOBBB210979"));
        QCOMPARE(b(d.HeaderLines[0]), QByteArray("PRODAVNICA \xC8I\xC8" "A" + QByteArray(17, ' ') + "11"));
        QCOMPARE(b(d.AdvertLines[1]), QByteArray("Dowite opet" + QByteArray(21, ' ') + "10"));
        QCOMPARE(b(d.Departments[1].name), QByteArray("Hleb        "));        // trailing blanks restored to 12
        QCOMPARE(b(d.Departments[3].name), QByteArray("Vo\xE6" "e" + QByteArray(8, ' ')));  // 4 + 8
        QCOMPARE(b(d.Departments[4].name), QByteArray("Povrwe 123456789"));   // 16, unchanged
        QCOMPARE(b(d.Operators[1].name), QByteArray("Marko \xC8uki\xE6"));
        QCOMPARE(b(d.Operators[2].code), QByteArray("12"));                   // " 12 " trimmed
        QCOMPARE(b(d.Operators[31].code), QByteArray("341"));
        QCOMPARE(b(d.VatRates[0].rate), QByteArray("2000"));                  // TAX_1
        QCOMPARE(b(d.VatRates[8].rate), QByteArray("1800"));                  // TAX_9
        QCOMPARE(b(d.VatRates[9].rate), QByteArray());
        QCOMPARE(b(d.RegisterSettings.registerNumber), QByteArray("03"));     // "034" cut to 2
        QCOMPARE(b(d.RegisterSettings.text()), QByteArray("03321200110"));
        QCOMPARE(b(d.Currencies[3].rate), QByteArray("112.000000"));
        QCOMPARE(b(d.Currencies[1].name), QByteArray("EUR"));
        QCOMPARE(b(d.Units[2].name), QByteArray("kg"));
        QCOMPARE(b(d.Units[2].shortName), QByteArray());                      // no SHORT_n in the file
        QCOMPARE(b(d.ArticleTypes[8].name), QByteArray("Tip 8"));
        QVERIFY((d.LinkSettings == LinkSettings{2, 19200, false, 32, "011234567", "ATDT", "tajna"}));
        // not in the file: untouched
        QCOMPARE(b(d.Departments[0].name), QByteArray("Odeqewe 0"));
        QCOMPARE(b(d.Departments[1].salesAmount), QByteArray("0"));
    }

    void saveKeepsEveryForeignLine()
    {
        const QString file = path("roundtrip.ini");
        const QByteArray original = readAll(fixture());
        QVERIFY(writeAll(file, original));

        ProgrammingData d = startupData();
        d.ProgrammingFilePath = file;
        ScriptedPrompter p;
        QVERIFY(ReadProgrammingFile(d, p));
        // edits as the editors would make them
        d.Departments[2].name = "  Sir       ";  // the editor pads names to 12
        d.Operators[5].name = "Ana \x8A" "ari\xE6";
        d.VatRates[4].rate = "1500";
        d.RegisterSettings.registerNumber = "7";
        d.Units[1].shortName = "ko";
        d.Currencies[4] = {"1.000000", "RSD"};
        d.HeaderLines[3] = StoredLine({"  uvuceno", false, true});
        d.LinkSettings.DisplayCyrillic = true;
        d.LinkSettings.phonePassword.clear();
        QVERIFY(WriteProgrammingFile(d, p));
        QVERIFY(p.prompts.empty());

        const QByteArray saved = readAll(file);
        QCOMPARE(foreignLines(saved), foreignLines(original));
        QVERIFY(foreignLines(original).contains("[NOTES]\r\nOwner="));  // the helper keeps what it should
        QVERIFY(!saved.contains("\r\r") && saved.count('\n') == saved.count("\r\n"));

        ProgrammingData back = startupData();
        back.ProgrammingFilePath = file;
        QVERIFY(ReadProgrammingFile(back, p));
        compareFileContent(back, d);
        QCOMPARE(b(back.Departments[2].name), QByteArray("  Sir       "));
        QCOMPARE(b(back.RegisterSettings.registerNumber), QByteArray("7 "));
        QCOMPARE(LayoutFromStoredLine(back.HeaderLines[3], 22).text, std::string("  uvuceno"));
        QVERIFY(p.prompts.empty());
    }

    void newFileTakesKeysInFormatOrder()
    {
        const QString file = path("new.ini");
        QFile::remove(file);
        ProgrammingData d = startupData();
        d.ProgrammingFilePath = file;
        d.VatRates[0].rate = "2000";
        d.VatRates[8].rate = "800";
        d.VatRates[9].rate = "never written";
        d.Operators[0].name = "never written";
        ScriptedPrompter p;
        QVERIFY(WriteProgrammingFile(d, p));

        const QByteArray saved = readAll(file);
        QCOMPARE(keyLines(saved), formatKeys());
        QVERIFY(saved.startsWith("[KALVO]\r\nVERSION=EUEIOBBB210979\r\n[HEADER]\r\n"));
        QVERIFY(saved.contains("\r\nTAX_1=2000\r\n"));
        QVERIFY(saved.contains("\r\nTAX_9=800\r\n"));
        QVERIFY(saved.contains("\r\nCASH=01\r\nPRINT=0\r\n"));
        QVERIFY(saved.contains("\r\n[SETLNG]\r\nLNG=True\r\n[SETWDTH]\r\nWDTH=22\r\n"));
        QVERIFY(!saved.contains("never written"));
        QVERIFY(saved.count('\n') == saved.count("\r\n"));

        ProgrammingData back;
        back.ProgrammingFilePath = file;
        QVERIFY(ReadProgrammingFile(back, p));
        QCOMPARE(b(back.Departments[1].name), QByteArray("Odeqewe  1  "));  // read names are padded to 12
        for (int n = 1; n <= 10; ++n)
            d.Departments[n].name.resize(12, ' ');
        compareFileContent(back, d);
    }

    void shortNamesAreOptional()
    {
        // a file of the Windows workstation has no SHORT_n; once saved here it has them
        const QString file = path("short.ini");
        QVERIFY(writeAll(file, readAll(fixture())));
        ProgrammingData d;
        d.ProgrammingFilePath = file;
        ScriptedPrompter p;
        QVERIFY(ReadProgrammingFile(d, p));
        QCOMPARE(b(d.Units[5].shortName), QByteArray());
        d.Units[5].shortName = "pk";
        QVERIFY(WriteProgrammingFile(d, p));
        QCOMPARE(cIniFile(file).GetSetting("UNITS", "SHORT_5"), QByteArray("pk"));
        ProgrammingData back;
        back.ProgrammingFilePath = file;
        QVERIFY(ReadProgrammingFile(back, p));
        QCOMPARE(b(back.Units[5].shortName), QByteArray("pk"));
    }

    void markerIsChecked_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QByteArray>("version");
        const QByteArray rest = "[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=True\r\n[SETWDTH]\r\nWDTH=22\r\n";
        QTest::newRow("exact") << "[KALVO]\r\nVERSION=EUEIOBBB210979\r\n" + rest << true << QByteArray("EUEIOBBB210979");
        QTest::newRow("blanks around it") << "[kalvo]\r\nversion =  EUEIOBBB210979 \r\n" + rest << true
                                          << QByteArray("EUEIOBBB210979");
        QTest::newRow("other letter case") << "[KALVO]\r\nVERSION=eueiobbb210979\r\n" + rest << false
                                           << QByteArray("eueiobbb210979");
        QTest::newRow("other marker") << "[KALVO]\r\nVERSION=EUEIOBBB210980\r\n" + rest << false
                                      << QByteArray("EUEIOBBB210980");
        QTest::newRow("marker in another section") << "[OTHER]\r\nVERSION=EUEIOBBB210979\r\n" + rest << false
                                                   << QByteArray();
        QTest::newRow("empty file") << QByteArray() << false << QByteArray();
        QByteArray junk;
        QRandomGenerator rng(7);
        for (int i = 0; i < 5000; ++i)
            junk.append(char(rng.bounded(256)));
        QTest::newRow("binary junk") << junk << false << QByteArray();
    }

    void markerIsChecked()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, accepted);
        QFETCH(QByteArray, version);
        const QString file = path("marker.ini");
        QVERIFY(writeAll(file, content + "[DEPARTMENTS]\r\nDESCRIPTION_1=Hleb\r\n"));
        ProgrammingData d = startupData();
        d.ProgrammingFilePath = file;
        ScriptedPrompter p;
        QCOMPARE(ReadProgrammingFile(d, p), accepted);
        QCOMPARE(b(d.FileVersion), version);
        if (accepted) {
            QVERIFY(p.prompts.empty());
            QCOMPARE(b(d.Departments[1].name), QByteArray("Hleb        "));
        } else {
            QCOMPARE(p.prompts.size(), std::size_t(1));
            QCOMPARE(p.last().text, QString("Fajl nije validan"));
            QCOMPARE(p.last().title, QString("Orvel Cash Registers"));
            QCOMPARE(p.last().icon, Icon::Critical);
            ProgrammingData untouched = startupData();
            compareFileContent(d, untouched);
        }
    }

    void missingFileIsRejected()
    {
        ProgrammingData d = startupData();
        d.ProgrammingFilePath = path("no-such-file.ini");
        ScriptedPrompter p;
        QVERIFY(!ReadProgrammingFile(d, p));
        QCOMPARE(p.texts(), QStringList{"Fajl nije validan"});
        d.ProgrammingFilePath.clear();
        QVERIFY(!ReadProgrammingFile(d, p));
        QCOMPARE(p.prompts.size(), std::size_t(2));
    }

    void linkKeyConversionErrors_data()
    {
        QTest::addColumn<QByteArray>("link");
        QTest::addColumn<QByteArray>("key");       // named in the message
        QTest::addColumn<int>("port");             // what stays in memory afterwards
        QTest::addColumn<int>("baudRate");
        QTest::addColumn<bool>("display");
        QTest::addColumn<int>("lineWidth");

        const QByteArray lng = "[SETLNG]\r\nLNG=False\r\n";
        const QByteArray wdth = "[SETWDTH]\r\nWDTH=32\r\n";
        QTest::newRow("no link sections") << QByteArray() << QByteArray("PORT") << 1 << 9600 << true << 22;
        QTest::newRow("PORT not a number") << "[SETPORT]\r\nPORT=COM2\r\nSPEED=19200\r\n" + lng + wdth
                                           << QByteArray("PORT") << 1 << 9600 << true << 22;
        QTest::newRow("PORT beyond 16 bits") << "[SETPORT]\r\nPORT=40000\r\nSPEED=19200\r\n" + lng + wdth
                                             << QByteArray("PORT") << 1 << 9600 << true << 22;
        QTest::newRow("SPEED not a number") << "[SETPORT]\r\nPORT=2\r\nSPEED=19200bps\r\n" + lng + wdth
                                            << QByteArray("SPEED") << 2 << 9600 << true << 22;
        QTest::newRow("SPEED beyond 32 bits") << "[SETPORT]\r\nPORT=2\r\nSPEED=99999999999999999999\r\n" + lng + wdth
                                              << QByteArray("SPEED") << 2 << 9600 << true << 22;
        QTest::newRow("LNG not a Boolean") << "[SETPORT]\r\nPORT=2\r\nSPEED=19200\r\n[SETLNG]\r\nLNG=Da\r\n" + wdth
                                           << QByteArray("LNG") << 2 << 19200 << true << 22;
        QTest::newRow("LNG missing") << "[SETPORT]\r\nPORT=2\r\nSPEED=19200\r\n" + wdth
                                     << QByteArray("LNG") << 2 << 19200 << true << 22;
        QTest::newRow("WDTH not a number") << "[SETPORT]\r\nPORT=2\r\nSPEED=19200\r\n" + lng + "[SETWDTH]\r\nWDTH=x\r\n"
                                           << QByteArray("WDTH") << 2 << 19200 << false << 22;
    }

    void linkKeyConversionErrors()
    {
        QFETCH(QByteArray, link);
        QFETCH(QByteArray, key);
        QFETCH(int, port);
        QFETCH(int, baudRate);
        QFETCH(bool, display);
        QFETCH(int, lineWidth);

        // the fixture without its link sections, then the case's own
        QByteArray content = readAll(fixture());
        content.truncate(content.indexOf("[SETPORT]"));
        content += link + "[SETPHONE]\r\nPHONENM=999\r\n";
        const QString file = path("conversion.ini");
        QVERIFY(writeAll(file, content));

        ProgrammingData d = startupData();
        d.ProgrammingFilePath = file;
        ScriptedPrompter p;
        QVERIFY(!ReadProgrammingFile(d, p));
        QCOMPARE(p.prompts.size(), std::size_t(1));
        QVERIFY2(p.last().text.contains(QString::fromLatin1(key)), qPrintable(p.last().text));
        QCOMPARE(p.last().icon, Icon::Critical);
        QCOMPARE(p.last().title, QString("Orvel Cash Registers"));
        // every table before the link keys was read
        QCOMPARE(b(d.Departments[4].name), QByteArray("Povrwe 123456789"));
        QCOMPARE(b(d.ArticleTypes[8].name), QByteArray("Tip 8"));
        QCOMPARE(b(d.RegisterSettings.registerNumber), QByteArray("03"));
        // the link keys up to the failing one, none after it
        QCOMPARE(int(d.LinkSettings.port), port);
        QCOMPARE(int(d.LinkSettings.baudRate), baudRate);
        QCOMPARE(d.LinkSettings.DisplayCyrillic, display);
        QCOMPARE(int(d.LinkSettings.lineWidth), lineWidth);
        QCOMPARE(b(d.LinkSettings.phoneNumber), QByteArray());
    }

    void numberConversions_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("result");  // ConversionResult
        QTest::addColumn<long long>("value");
        QTest::newRow("plain") << QByteArray("19200") << int(ConversionResult::Ok) << 19200LL;
        QTest::newRow("blanks") << QByteArray(" 2 ") << int(ConversionResult::Ok) << 2LL;
        QTest::newRow("sign") << QByteArray("-3") << int(ConversionResult::Ok) << -3LL;
        QTest::newRow("half to even down") << QByteArray("2.5") << int(ConversionResult::Ok) << 2LL;
        QTest::newRow("half to even up") << QByteArray("3.5") << int(ConversionResult::Ok) << 4LL;
        QTest::newRow("trailing point") << QByteArray("1.") << int(ConversionResult::Ok) << 1LL;
        QTest::newRow("leading point") << QByteArray("-.5") << int(ConversionResult::Ok) << 0LL;
        QTest::newRow("upper bound") << QByteArray("32767") << int(ConversionResult::Ok) << 32767LL;
        QTest::newRow("over") << QByteArray("32768") << int(ConversionResult::OutOfRange) << 0LL;
        QTest::newRow("under") << QByteArray("-32769") << int(ConversionResult::OutOfRange) << 0LL;
        QTest::newRow("huge") << QByteArray(400, '9') << int(ConversionResult::OutOfRange) << 0LL;
        QTest::newRow("empty") << QByteArray() << int(ConversionResult::NotANumber) << 0LL;
        QTest::newRow("letters") << QByteArray("12a") << int(ConversionResult::NotANumber) << 0LL;
        QTest::newRow("lone sign") << QByteArray("-") << int(ConversionResult::NotANumber) << 0LL;
        QTest::newRow("lone point") << QByteArray(".") << int(ConversionResult::NotANumber) << 0LL;
        QTest::newRow("inner blank") << QByteArray("1 2") << int(ConversionResult::NotANumber) << 0LL;
    }

    void numberConversions()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, result);
        QFETCH(long long, value);
        long long got = 0;
        QCOMPARE(int(ConvertWholeNumber(text.toStdString(), -32768, 32767, got)), result);
        if (result == int(ConversionResult::Ok))
            QCOMPARE(got, value);
    }

    void booleanConversions()
    {
        const struct { const char *text; ConversionResult result; bool value; } cases[] = {
            {"True", ConversionResult::Ok, true},   {"FALSE", ConversionResult::Ok, false},
            {" true ", ConversionResult::Ok, true}, {"0", ConversionResult::Ok, false},
            {"-1", ConversionResult::Ok, true},     {"", ConversionResult::NotANumber, false},
            {"Yes", ConversionResult::NotANumber, false}, {"Truee", ConversionResult::NotANumber, false},
        };
        for (const auto &c : cases) {
            bool v = !c.value;
            QCOMPARE(int(ConvertBoolean(c.text, v)), int(c.result));
            if (c.result == ConversionResult::Ok)
                QVERIFY2(v == c.value, c.text);
        }
    }

    void overLongValuesAreCut()
    {
        const QString file = path("long.ini");
        QByteArray content = readAll(fixture());
        content.replace("DESCRIPTION_1=Hleb        ", "DESCRIPTION_1=" + QByteArray(300, 'D'));
        content.replace("ROW_0=PRODAVNICA", "ROW_0=" + QByteArray(300, 'R'));
        QVERIFY(writeAll(file, content));
        ProgrammingData d;
        d.ProgrammingFilePath = file;
        ScriptedPrompter p;
        QVERIFY(ReadProgrammingFile(d, p));
        QCOMPARE(b(d.Departments[1].name), QByteArray(254, 'D'));
        QCOMPARE(b(d.HeaderLines[0]), QByteArray(254, 'R'));
        QCOMPARE(b(d.AdvertLines[0]), QByteArray("HVALA NA POSETI" + QByteArray(17, ' ') + "01"));
    }

    void junkAfterTheMarkerIsHarmless()
    {
        const QString file = path("junk.ini");
        QRandomGenerator rng(11);
        for (int round = 0; round < 20; ++round) {
            QByteArray content = "[KALVO]\r\nVERSION=EUEIOBBB210979\r\n";
            for (int i = 0; i < 3000; ++i) {
                static const char special[] = "[]=;\r\n_ ";
                content.append(rng.bounded(4) == 0 ? special[rng.bounded(int(sizeof special - 1))]
                                                   : char(rng.bounded(256)));
            }
            QVERIFY(writeAll(file, content));
            ProgrammingData d;
            d.ProgrammingFilePath = file;
            ScriptedPrompter p;
            ReadProgrammingFile(d, p);  // true or false, never a crash
            QVERIFY(p.prompts.size() <= 1);
            for (int n = 1; n <= 10; ++n)
                QVERIFY(d.Departments[n].name.size() >= 12 && d.Departments[n].name.size() <= 254);
        }
    }

    void lineBreaksInNamesCannotBreakTheFile()
    {
        const QString file = path("inject.ini");
        QFile::remove(file);
        ProgrammingData d = startupData();
        d.ProgrammingFilePath = file;
        d.Operators[1].name = "Ana\r\n[KALVO]\r\nVERSION=bad";
        d.Departments[1].name = std::string("Hleb\0\nx", 7);
        ScriptedPrompter p;
        QVERIFY(WriteProgrammingFile(d, p));
        ProgrammingData back;
        back.ProgrammingFilePath = file;
        QVERIFY(ReadProgrammingFile(back, p));
        QCOMPARE(b(back.FileVersion), QByteArray("EUEIOBBB210979"));
        QCOMPARE(b(back.Operators[1].name), QByteArray("Ana  [KALVO]  VERSION=bad"));
        QCOMPARE(b(back.Departments[1].name), QByteArray("Hleb  x     "));
        QVERIFY(p.prompts.empty());
    }

    void writeFailureIsReportedOnce()
    {
        ProgrammingData d = startupData();
        d.ProgrammingFilePath = path("missing-folder/file.ini");
        ScriptedPrompter p;
        QVERIFY(!WriteProgrammingFile(d, p));
        QCOMPARE(p.prompts.size(), std::size_t(1));
        QCOMPARE(p.last().icon, Icon::Critical);
        QCOMPARE(p.last().title, QString("Orvel Cash Registers"));
        QVERIFY(p.last().text.contains("missing-folder/file.ini"));
        QVERIFY(!QFile::exists(d.ProgrammingFilePath));
    }
};

QTEST_GUILESS_MAIN(ProgrammingFileTest)
#include "programming_file_test.moc"
