// The department editor's routines: list names in both modes, the maximum price and tax
// group checks, and the toolbar actions on ProgrammingData with their messages.
#include "data/RegisterText.h"
#include "editors/DepartmentEditor.h"
#include "shell/Prompter.h"

#include <QTest>

using namespace kalvo;

namespace {

DepartmentPanel makePanel(const std::string &name, const std::string &price, const std::string &vat, bool single)
{
    DepartmentPanel p;
    p.name = name;
    p.maxPrice = price;
    p.vatGroup = vat;
    p.singleItem = single;
    return p;
}

} // namespace

class DepartmentEditorTest : public QObject {
    Q_OBJECT

    ProgrammingData m_data;
    ScriptedPrompter m_prompter;

private slots:
    void init()
    {
        m_data = ProgrammingData();
        m_data.ResetDepartments();
        m_data.ResetDepartmentNames();
        m_prompter.clear();
    }

    void listName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("cyrillic");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty, Cyrillic") << "" << 3 << true << "Odeqewe  3";
        QTest::newRow("empty, Latin") << "" << 10 << false << "Odeljenje  10";
        QTest::newRow("blanks count as empty") << "            " << 2 << false << "Odeljenje  2";
        QTest::newRow("register word to Latin") << "Odeqewe  4  " << 4 << false << "Odeljenje  4  ";
        QTest::newRow("Latin word to register") << "Odeljenje 5" << 5 << true << "Odeqewe 5";
        QTest::newRow("other name to register code") << "Njiva Ljubav" << 1 << true << "Wiva Qubav";
        QTest::newRow("other name to Latin") << "Wiva Qubav" << 1 << false << "Njiva Ljubav";
    }
    void listName()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        QFETCH(bool, cyrillic);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(DepartmentListName(name.toStdString(), number, cyrillic)), expected);
    }

    void maxPrice_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty: no limit") << "" << true << "";
        QTest::newRow("decimals dropped") << "12.99" << true << "00000012";
        QTest::newRow("blanks around") << "  500 " << true << "00000500";
        QTest::newRow("leading zeros") << "0012" << true << "00000012";
        QTest::newRow("widest") << "99999999.5" << true << "99999999";
        QTest::newRow("too wide for 8 digits") << "123456789" << false << "";
        QTest::newRow("negative") << "-5" << false << "";
        QTest::newRow("letters") << "12a" << false << "";
        QTest::newRow("two points") << "1.2.3" << false << "";
        QTest::newRow("point alone") << "." << false << "";
    }
    void maxPrice()
    {
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        QFETCH(QString, stored);
        const auto result = NormaliseMaxPrice(typed.toStdString());
        QCOMPARE(result.has_value(), valid);
        if (valid)
            QCOMPARE(QString::fromStdString(*result), stored);
    }

    void list_namesAndStoresBack()
    {
        m_data.CyrillicMode = false;
        m_data.Departments[2].name = "";
        DepartmentEditor editor(m_data, m_prompter);
        const auto rows = editor.fillList();
        QCOMPARE(rows.size(), std::size_t(10));
        QCOMPARE(QString::fromStdString(rows[0]), QStringLiteral("1 - Odeljenje 1"));
        QCOMPARE(QString::fromStdString(rows[2]), QStringLiteral("3 - Odeljenje 3"));
        QCOMPARE(m_data.Departments[1].name, std::string("Odeljenje  1"));
        QCOMPARE(editor.workingCopy()[1].name, m_data.Departments[1].name);
    }

    void panel_fromDepartment()
    {
        m_data.Departments[4] = {"Ab  cd      ", "00000120", "3", "1", "0", "0"};
        m_data.Departments[5].name = To8859("Odeqewe  5");
        DepartmentEditor editor(m_data, m_prompter);
        QCOMPARE(editor.panelOf(4), makePanel("Ab cd", "00000120", "3", true));
        // a name received in 8-bit Cyrillic comes back in the register code
        QCOMPARE(editor.panelOf(5).name, std::string("Odeqewe 5"));
    }

    void aggiorna_storesPaddedFields()
    {
        DepartmentEditor editor(m_data, m_prompter);
        const auto stored = editor.aggiorna(2, makePanel("Pice", "1500.75", " 2 ", true));
        QVERIFY(stored);
        QCOMPARE(stored->maxPrice, std::string("00001500"));
        QCOMPARE(m_data.Departments[2], (DepartmentRecord{"Pice        ", "00001500", "2", "1", "0", "0"}));
        QCOMPARE(editor.workingCopy()[2], m_data.Departments[2]);
        // an empty price is "no limit": 8 blanks
        QVERIFY(editor.aggiorna(3, makePanel("Hleb", "", "0", false)));
        QCOMPARE(m_data.Departments[3].maxPrice, std::string(8, ' '));
        QVERIFY(m_prompter.prompts.empty());
    }

    void aggiorna_refused_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("vat");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::newRow("price not numeric") << 2 << "12x" << "0" << "Vrednosti nisu korektne" << int(Icon::None);
        QTest::newRow("negative price") << 2 << "-1" << "0" << "Vrednosti nisu korektne" << int(Icon::None);
        QTest::newRow("tax group 5") << 2 << "10" << "5" << "Poreska stopa ne postoji!" << int(Icon::Exclamation);
        QTest::newRow("tax group not a number") << 2 << "10" << "a" << "Poreska stopa ne postoji!"
                                                << int(Icon::Exclamation);
        QTest::newRow("nothing selected") << 0 << "10" << "1" << "Niste odabrali odeljenje." << int(Icon::Exclamation);
    }
    void aggiorna_refused()
    {
        QFETCH(int, selected);
        QFETCH(QString, price);
        QFETCH(QString, vat);
        QFETCH(QString, message);
        QFETCH(int, icon);
        const auto before = m_data.Departments;
        DepartmentEditor editor(m_data, m_prompter);
        QVERIFY(!editor.aggiorna(selected, makePanel("X", price.toStdString(), vat.toStdString(), true)));
        QCOMPARE(m_data.Departments, before);
        QCOMPARE(m_prompter.prompts.size(), std::size_t(1));
        QCOMPARE(m_prompter.last().text, message);
        QCOMPARE(m_prompter.last().title, QStringLiteral("Orvel Cash Registers"));
        QCOMPARE(int(m_prompter.last().icon), icon);
    }

    void svuota_thenInsertFromOne()
    {
        DepartmentEditor editor(m_data, m_prompter);
        QVERIFY(!editor.svuota());  // No: nothing changes
        QCOMPARE(m_data.Departments[1].name, std::string("Odeqewe  1"));
        m_prompter.answer(Answer::Yes);
        QVERIFY(editor.svuota());
        QCOMPARE(m_prompter.last().text, QStringLiteral("Da li ste sigurni?"));
        QCOMPARE(m_prompter.last().buttons, Buttons::YesNo);
        for (const DepartmentRecord &d : m_data.Departments)
            QCOMPARE(d, (DepartmentRecord{"", "", "0", "0", d.salesAmount, d.salesQuantity}));
        for (int rows = 0; rows < 3; ++rows)
            QCOMPARE(editor.inserisci(rows, makePanel("Dep", "1", "1", false)), rows + 1);
        QCOMPARE(m_data.Departments[3].name, std::string("Dep         "));
        QCOMPARE(m_data.Departments[4].name, std::string());
        m_prompter.clear();
        QCOMPARE(editor.inserisci(10, makePanel("Dep", "1", "1", false)), 0);
        QCOMPARE(m_prompter.last().text, QStringLiteral("Maksimalan broj"));
        QCOMPARE(m_prompter.last().icon, Icon::Exclamation);
    }

    void elimina_emptiesOnYes()
    {
        m_data.Departments[3] = {"Meso        ", "00000100", "2", "1", "0", "0"};
        DepartmentEditor editor(m_data, m_prompter);
        QVERIFY(!editor.elimina(3));
        QCOMPARE(m_prompter.last().text, QStringLiteral("Dali ste sigurni?"));
        QCOMPARE(m_data.Departments[3].name, std::string("Meso        "));
        m_prompter.answer(Answer::Yes);
        QVERIFY(editor.elimina(3));
        QCOMPARE(m_data.Departments[3], (DepartmentRecord{"", "", "0", "0", "0", "0"}));
        QCOMPARE(QString::fromStdString(editor.listRow(3)), QStringLiteral("3 - Odeqewe 3"));
        m_prompter.clear();
        QVERIFY(!editor.elimina(0));
        QCOMPARE(m_prompter.last().text, QStringLiteral("Niste odabrali odeljenje."));
    }

    void cyrillicBox_convertsNamesAndFlag()
    {
        m_data.CyrillicFormFlags.departments = false;
        DepartmentEditor editor(m_data, m_prompter);
        editor.toCyrillic();
        QVERIFY(m_data.CyrillicFormFlags.departments);
        QCOMPARE(m_data.Departments[1].name, To8859("Odeqewe  1"));
        QCOMPARE(m_data.Departments[0].name, std::string("Odeqewe 0"));  // element 0 is never touched
        editor.toLatinFont();
        QVERIFY(!m_data.CyrillicFormFlags.departments);
    }
};

QTEST_GUILESS_MAIN(DepartmentEditorTest)
#include "department_editor_test.moc"
