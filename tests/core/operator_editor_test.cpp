// The cashier editor's routines: list rows, the start-up values of cashiers without a code,
// the code check and how a code is shown and stored, delete and the "Cirilica" box.
#include "data/RegisterText.h"
#include "editors/OperatorEditor.h"
#include "shell/Prompter.h"

#include <QTest>

using namespace kalvo;

class OperatorEditorTest : public QObject {
    Q_OBJECT

    ProgrammingData m_data;
    ScriptedPrompter m_prompter;

private slots:
    void init()
    {
        m_data = ProgrammingData();
        m_data.ResetOperators();
        m_prompter.clear();
    }

    void code_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("highest") << "99999" << true;
        QTest::newRow("blanks around") << " 7 " << true;
        QTest::newRow("leading zeros") << "000123" << true;
        QTest::newRow("too high") << "100000" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("negative") << "-1" << false;
        QTest::newRow("decimals") << "1.5" << false;
        QTest::newRow("letters") << "12a" << false;
    }
    void code()
    {
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        OperatorEditor editor(m_data, m_prompter);
        QCOMPARE(editor.aggiorna(3, {typed.toStdString(), "Ana"}), valid);
        if (valid) {
            QVERIFY(m_prompter.prompts.empty());
        } else {
            QCOMPARE(m_prompter.last().text, QStringLiteral("Kod je broj maksimalno do 99999."));
            QCOMPARE(m_prompter.last().icon, Icon::Information);
            QCOMPARE(m_data.Operators[3].code, std::string("3"));
        }
    }

    void list_rowsAndStartupValues()
    {
        m_data.CyrillicMode = false;
        m_data.Operators[5].code = "   ";
        m_data.Operators[5].name = "Marko";
        m_data.Operators[12] = {"4321 ", "Wegovan", "0", "0"};
        OperatorEditor editor(m_data, m_prompter);
        const auto rows = editor.fillList();
        QCOMPARE(rows.size(), std::size_t(31));
        QCOMPARE(QString::fromStdString(rows[0]), QStringLiteral("Op.1    1    Kasir 1"));
        QCOMPARE(QString::fromStdString(rows[4]), QStringLiteral("Op.5    5    Kasir 5"));
        QCOMPARE(QString::fromStdString(rows[11]), QStringLiteral("Op.12   4321    Njegovan"));
        QCOMPARE(m_data.Operators[5].name, std::string("Kasir 5"));
        QCOMPARE(editor.numberOfRow(11), 12);
        QCOMPARE(editor.numberOfRow(31), 0);
    }

    void panel_codeShownWithZeros()
    {
        OperatorEditor editor(m_data, m_prompter);
        QVERIFY(editor.aggiorna(2, {"7", "Ana"}));
        QCOMPARE(m_data.Operators[2].code, std::string("7    "));
        QCOMPARE(editor.panelOf(2), (OperatorPanel{"00007", "Ana"}));
        QVERIFY(editor.aggiorna(4, {"000123", "Iva"}));
        QCOMPARE(m_data.Operators[4].code, std::string("00123"));
        m_data.Operators[6].code = "x1";
        QCOMPARE(editor.panelOf(6).code, std::string("00001"));
        m_data.Operators[8].name = To8859("Petar");
        QCOMPARE(editor.panelOf(8).name, std::string("Petar"));
        QCOMPARE(editor.workingCopy()[4], m_data.Operators[4]);
    }

    void elimina_resetsCashier()
    {
        m_data.Operators[9] = {"555  ", "Jovan", "10", "2"};
        OperatorEditor editor(m_data, m_prompter);
        QVERIFY(!editor.elimina(9, {"00555", "Jovan"}));  // No
        QCOMPARE(m_prompter.last().text, QStringLiteral("Da li ste sigurni?"));
        QCOMPARE(m_data.Operators[9].name, std::string("Jovan"));
        m_prompter.answer(Answer::Yes);
        QVERIFY(!editor.elimina(9, {"100000", "Jovan"}));  // the panel's code is checked first
        QCOMPARE(m_prompter.last().text, QStringLiteral("Kod je broj maksimalno do 99999."));
        m_prompter.answer(Answer::Yes);
        QVERIFY(editor.elimina(9, {"00555", "Jovan"}));
        QCOMPARE(m_data.Operators[9], (OperatorRecord{"9", "Kasir 9", "10", "2"}));
    }

    void cyrillicBox()
    {
        m_data.CyrillicFormFlags.operators = false;
        OperatorEditor editor(m_data, m_prompter);
        editor.toCyrillic();
        QVERIFY(m_data.CyrillicFormFlags.operators);
        QCOMPARE(m_data.Operators[31].name, To8859("Kasir 31"));
        QCOMPARE(m_data.Operators[31].code, std::string("31"));
        editor.toLatinFont();
        QVERIFY(!m_data.CyrillicFormFlags.operators);
    }
};

QTEST_GUILESS_MAIN(OperatorEditorTest)
#include "operator_editor_test.moc"
