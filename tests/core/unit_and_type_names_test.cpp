// The working copy behind the unit and article-type editors: rows, renaming, range.
#include "editors/UnitAndTypeNames.h"

#include <QTest>

using namespace kalvo;

class UnitAndTypeNamesTest : public QObject {
    Q_OBJECT
private slots:
    void rows()
    {
        ProgrammingData data;
        data.ResetUnitNames();
        data.ResetArticleTypeNames();
        data.CyrillicFormFlags.articleTypes = true;
        data.ArticleTypes[3].name = "\xb0\xd1";  // 8-bit Cyrillic "Ab" is listed in register code
        const auto units = NameTableCopy(data, NameTable::Units).rows();
        QCOMPARE(units.size(), std::size_t(5));
        QCOMPARE(units[0], std::string("1   - JM6"));
        QCOMPARE(units[4], std::string("5   - JM10"));
        const auto types = NameTableCopy(data, NameTable::ArticleTypes).rows();
        QCOMPARE(types.size(), std::size_t(8));
        QCOMPARE(types[2], std::string("3   - Ab"));
        QCOMPARE(types[7], std::string("8   - Tip 8"));
        data.CyrillicFormFlags.articleTypes = false;
        QCOMPARE(NameTableCopy(data, NameTable::ArticleTypes).rows()[2], std::string("3   - \xb0\xd1"));
    }

    void updateRenamesOneEntry()
    {
        ProgrammingData data;
        data.ResetUnitNames();
        data.ResetArticleTypeNames();
        NameTableCopy units(data, NameTable::Units);
        QVERIFY(units.update(2, "paket", "pk"));
        QCOMPARE(data.Units[2], (UnitRecord{"paket", "pk"}));
        QCOMPARE(units.entry(2), (NameEntry{"paket", "pk"}));
        QCOMPARE(data.Units[1].name, std::string("JM6"));
        QCOMPARE(data.ArticleTypes[2].name, std::string("Tip 2"));

        NameTableCopy types(data, NameTable::ArticleTypes);
        QVERIFY(types.update(8, "Usluga", ""));
        QCOMPARE(data.ArticleTypes[8].name, std::string("Usluga"));
        for (int n : {0, 9, -1})
            QVERIFY(!types.update(n, "X", "Y"));
        QVERIFY(!units.update(6, "X", "Y"));
        QCOMPARE(data.Units[0], UnitRecord{});
    }
};

QTEST_GUILESS_MAIN(UnitAndTypeNamesTest)
#include "unit_and_type_names_test.moc"
