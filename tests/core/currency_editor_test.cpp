// The currency editor's routines: the rate field's typing rule, the stored rate, the list,
// the checks and their messages, the fifth currency, delete and svuota.
#include "data/RegisterText.h"
#include "editors/CurrencyEditor.h"
#include "shell/Prompter.h"

#include <QTest>

using namespace kalvo;

class CurrencyEditorTest : public QObject {
    Q_OBJECT

    ProgrammingData m_data;
    ScriptedPrompter m_prompter;

private slots:
    void init()
    {
        m_data = ProgrammingData();
        m_prompter.clear();
    }

    void rateTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("comma is the point") << "117,5" << "117.5";
        QTest::newRow("second separator dropped") << "1.2,3.4" << "1.234";
        QTest::newRow("other characters dropped") << "a1-2 b" << "12";
        QTest::newRow("leading point") << ".5" << ".5";
    }
    void rateTyping()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(FilterRateInput(typed), kept);
    }

    void validation_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");  // empty: stored
        QTest::addColumn<QString>("stored");
        QTest::newRow("stored with six decimals") << " 117.5 " << "EUR" << "" << "117.500000";
        QTest::newRow("whole number") << "2" << "USD" << "" << "2.000000";
        QTest::newRow("no name") << "1" << "  " << "Unesite naziv !" << "";
        QTest::newRow("no rate") << "" << "EUR" << "Unesite kurs !" << "";
        QTest::newRow("rate not numeric") << "1x" << "EUR" << " Vrednost konverzije nije numericka !" << "";
        QTest::newRow("negative rate") << "-1" << "EUR" << " Vrednost konverzije nije numericka !" << "";
        QTest::newRow("point alone") << "." << "EUR" << " Vrednost konverzije nije numericka !" << "";
    }
    void validation()
    {
        QFETCH(QString, rate);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        CurrencyEditor editor(m_data, m_prompter);
        const int number = editor.inserisci({rate.toStdString(), name.toStdString()});
        if (message.isEmpty()) {
            QCOMPARE(number, 1);
            QVERIFY(m_prompter.prompts.empty());
            QCOMPARE(m_data.Currencies[1], (CurrencyRecord{stored.toStdString(), name.toStdString()}));
            QCOMPARE(editor.workingCopy()[1], m_data.Currencies[1]);
        } else {
            QCOMPARE(number, 0);
            QCOMPARE(m_prompter.last().text, message);
            QCOMPARE(m_prompter.last().icon, Icon::Exclamation);
            QCOMPARE(m_data.Currencies[1], CurrencyRecord{});
        }
    }

    void list_andFifthRefused()
    {
        m_data.CyrillicMode = false;
        CurrencyEditor editor(m_data, m_prompter);
        QVERIFY(editor.fillList().empty());
        for (const char *name : {"EUR", "USD", "Wok", "CHF"})
            QVERIFY(editor.inserisci({"1.5", name}));
        QCOMPARE(editor.inserisci({"1", "GBP"}), 0);
        QCOMPARE(m_prompter.last().text, QStringLiteral("Maksimalni broj"));
        const auto rows = editor.fillList();
        QCOMPARE(rows.size(), std::size_t(4));
        QCOMPARE(QString::fromStdString(rows[2]), QStringLiteral("3-1.500000    Njok"));

        // a deleted currency leaves its place to the next insert
        QVERIFY(!editor.elimina(2));  // No
        m_prompter.answer(Answer::Yes);
        QVERIFY(editor.elimina(2));
        QCOMPARE(m_data.Currencies[2], CurrencyRecord{});
        QCOMPARE(editor.fillList().size(), std::size_t(3));
        QCOMPARE(editor.numberOfRow(1), 3);
        QCOMPARE(editor.inserisci({"3", "GBP"}), 2);
        QVERIFY(editor.aggiorna(2, {"4", "GBP"}));
        QCOMPARE(m_data.Currencies[2].rate, std::string("4.000000"));

        m_prompter.clear();
        QVERIFY(!editor.elimina(0));
        QCOMPARE(m_prompter.last().text, QStringLiteral("Izaberite valutu za brisanje !"));
    }

    void svuota_ratesAndNames()
    {
        CurrencyEditor editor(m_data, m_prompter);
        QVERIFY(!editor.svuota());
        QCOMPARE(m_data.Currencies[1], CurrencyRecord{});
        m_prompter.answer(Answer::Yes);
        QVERIFY(editor.svuota());
        for (std::size_t n = 0; n < m_data.Currencies.size(); ++n) {
            QCOMPARE(m_data.Currencies[n].rate, std::string("0.000000"));
            QCOMPARE(m_data.Currencies[n].name, To8859("VALUTA " + std::to_string(n)));
        }
        // shown in the register code in the edit box
        QCOMPARE(editor.panelOf(3), (CurrencyPanel{"0.000000", "VALUTA 3"}));
    }
};

QTEST_GUILESS_MAIN(CurrencyEditorTest)
#include "currency_editor_test.moc"
