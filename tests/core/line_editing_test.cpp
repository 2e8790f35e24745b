// Header and advertising lines as the line editors load, check and store them.
#include "editors/LineEditing.h"

#include <QTest>

using namespace kalvo;

namespace {

EditedLines lines(std::initializer_list<LineLayout> first)
{
    EditedLines out{};
    std::size_t i = 0;
    for (const LineLayout &l : first)
        out[i++] = l;
    return out;
}

std::string stored(const std::string &text, const char *flags)
{
    std::string s = text;
    s.resize(32, ' ');
    return s + flags;
}

} // namespace

class LineEditingTest : public QObject {
    Q_OBJECT
private slots:
    void check_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("line");  // 1..6
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("message");
        const QString none;
        const QString len = QStringLiteral(" Broj karaktera u redu %1 je veci od %2 ! ");
        const QString wide =
            QStringLiteral(" Podebljana slova zauzimaju 2 mesta tako da je broj karaktera u redu %1 veci od %2 ! ");
        QTest::newRow("22 plain letters fit 22") << 22 << 1 << QString(22, 'A') << false << none;
        QTest::newRow("23 letters at 22") << 22 << 2 << QString(23, 'A') << false << len.arg(2).arg(22);
        QTest::newRow("33 letters at 32") << 32 << 6 << QString(33, 'A') << false << len.arg(6).arg(32);
        QTest::newRow("bold 11 letters at 22") << 22 << 4 << QString(11, 'B') << true << none;
        QTest::newRow("bold 12 letters at 22") << 22 << 4 << QString(12, 'B') << true << wide.arg(4).arg(22);
        QTest::newRow("bold A B counts 5") << 5 << 3 << QStringLiteral("A B") << true << none;
        QTest::newRow("bold A B over 4") << 4 << 3 << QStringLiteral("A B") << true << wide.arg(3).arg(4);
        QTest::newRow("bold spaces count 1") << 22 << 5 << QStringLiteral("AB") + QString(18, ' ') << true << none;
    }
    void check()
    {
        QFETCH(int, width);
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(bool, bold);
        QFETCH(QString, message);
        EditedLines l{};
        l[std::size_t(line - 1)] = LineLayout{text.toStdString(), bold, false};
        QCOMPARE(CheckLines(l, width), message);
    }

    void checkReportsFirstFailingLine()
    {
        EditedLines l = lines({{"ok", false, false}, {std::string(12, 'X'), true, false}, {std::string(30, 'Y'), false, false}});
        QVERIFY(CheckLines(l, 22).contains(QStringLiteral("u redu 2 ")));
    }

    void saveStoresPaddedLinesWithFlags()
    {
        ProgrammingData data;
        data.LinkSettings.lineWidth = 22;
        const QString msg = SaveEditedLines(data, LineTable::Header,
                                            lines({{"PRODAVNICA   ", true, true}, {"      ", false, false}, {"x", false, true}}));
        QVERIFY(msg.isEmpty());
        QCOMPARE(data.HeaderLines[0], stored("PRODAVNICA", "11"));
        // a line of spaces only: 32 spaces and the two flags
        QCOMPARE(data.HeaderLines[1], std::string(32, ' ') + "00");
        QCOMPARE(data.HeaderLines[2], stored("x", "01"));
        QCOMPARE(data.HeaderLines[5], stored("", "00"));
        QCOMPARE(data.HeaderLayouts[0], (LineLayout{"PRODAVNICA", true, true}));
        QVERIFY(data.AdvertLines[0].empty());
    }

    // trailing blanks are not counted against the width
    void saveTrimsBeforeChecking()
    {
        ProgrammingData data;
        data.LinkSettings.lineWidth = 22;
        QVERIFY(SaveEditedLines(data, LineTable::Advert, lines({{std::string(22, 'A') + "     ", false, false}})).isEmpty());
        QCOMPARE(data.AdvertLines[0], stored(std::string(22, 'A'), "00"));
    }

    void refusedSaveChangesNothing()
    {
        ProgrammingData data;
        data.LinkSettings.lineWidth = 22;
        data.AdvertLines[0] = stored("STARO", "00");
        data.AdvertLayouts[0] = {"STARO", false, false};
        const QString msg = SaveEditedLines(data, LineTable::Advert,
                                            lines({{"NOVO", false, false}, {std::string(12, 'B'), true, false}}));
        QVERIFY(msg.contains(QStringLiteral("u redu 2 veci od 22")));
        QCOMPARE(data.AdvertLines[0], stored("STARO", "00"));
        QCOMPARE(data.AdvertLayouts[0].text, std::string("STARO"));
        QVERIFY(data.AdvertLines[1].empty());
    }

    void loadBuildsLayoutsAndConverts()
    {
        ProgrammingData data;
        data.LinkSettings.lineWidth = 22;
        data.CyrillicMode = false;  // stored register code is shown in Latin
        data.HeaderLines[0] = stored("HELLO", "10");
        data.HeaderLines[1] = stored("Odeqewe", "01");
        data.HeaderLines[2] = "ab";  // two characters: an empty line
        data.HeaderLayouts[2] = {"\x1b" "A", true, true};  // print image left by a send
        data.HeaderLines[3] = std::string(32, ' ') + "00";
        data.HeaderLines[4] = "KRATKO";  // no flags: centred, not bold
        const EditedLines shown = LoadLinesForEditing(data, LineTable::Header);
        QCOMPARE(shown[0], (LineLayout{"HELLO", true, false}));
        QCOMPARE(shown[1], (LineLayout{"Odeljenje", false, true}));
        QCOMPARE(data.HeaderLines[1], stored("Odeljenje", "01"));
        QCOMPARE(data.HeaderLayouts[1], shown[1]);
        QCOMPARE(shown[2], LineLayout{});
        QCOMPARE(data.HeaderLines[2], std::string("ab"));
        QCOMPARE(shown[3].text, std::string());
        QCOMPARE(shown[4], (LineLayout{"KRATKO", false, true}));
    }

    void loadCutsToLineWidth()
    {
        ProgrammingData data;
        data.LinkSettings.lineWidth = 22;
        data.AdvertLines[0] = stored(std::string(30, 'Z'), "00");
        QCOMPARE(LoadLinesForEditing(data, LineTable::Advert)[0].text, std::string(22, 'Z'));
    }

    void boxLength()
    {
        QCOMPARE(LineBoxLength(22), 22);
        QCOMPARE(LineBoxLength(32), 32);
    }
};

QTEST_GUILESS_MAIN(LineEditingTest)
#include "line_editing_test.moc"
