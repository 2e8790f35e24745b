// The cashier window through its controls (offscreen): captions, selecting a row, storing
// with the toolbar and with Enter, the code check, delete, Esc and the main window's hooks.
#include "data/RegisterText.h"
#include "editors/ui/frmoperatori.h"
#include "shell/AppContext.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QToolBar>

#include <memory>

using namespace kalvo;

class FrmOperatoriTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;
    QPointer<frmoperatori> m_window;

    template <class T> T *child(const char *name) const
    {
        T *w = m_window->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QListWidget *list() const { return child<QListWidget>("lstplu"); }
    QWidget *panel() const { return child<QWidget>("Picture1"); }
    QLineEdit *edit(const char *name) const { return child<QLineEdit>(name); }
    void press(const char *key) { m_window->Toolbar2_ButtonClick(child<QAction>(key)); }
    void open()
    {
        m_window = new frmoperatori(*m_ctx);
        m_window->show();
    }
    void select(int row)
    {
        list()->setCurrentRow(row);
        emit list()->itemClicked(list()->item(row));
    }

private slots:
    void init()
    {
        m_prompter.clear();
        m_ctx = std::make_unique<AppContext>();
        m_ctx->prompter = &m_prompter;
        m_ctx->data.ResetOperators();
    }
    void cleanup()
    {
        delete m_window;
        m_ctx.reset();
    }

    void load_captionsAndList()
    {
        open();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Kasiri"));
        QCOMPARE(m_ctx->CurrentFormName, QStringLiteral("frmoperatori"));
        QStringList keys;
        for (QAction *a : child<QToolBar>("Toolbar2")->actions())
            keys << a->data().toString();
        QCOMPARE(keys, QStringList({"aggiorna", "elimina", "Esci"}));
        QCOMPARE(list()->count(), 31);
        QCOMPARE(list()->item(9)->text(), QStringLiteral("Op.10   10   Kasir 10"));
        QVERIFY(panel()->isHidden());
        press("Esci");
        QCOMPARE(m_ctx->CurrentFormName, QStringLiteral(" "));
        QTRY_VERIFY(!m_window);
    }

    void code_storedAndShownAgain()
    {
        open();
        select(1);
        QVERIFY(!panel()->isHidden());
        QCOMPARE(edit("txtcodice")->text(), QStringLiteral("00002"));
        QCOMPARE(edit("txtDesc")->text(), QStringLiteral("Kasir 2"));
        edit("txtcodice")->setText(QStringLiteral("7"));
        edit("txtDesc")->setText(QStringLiteral("Ana"));
        press("aggiorna");
        QVERIFY(m_prompter.prompts.empty());
        QVERIFY(panel()->isHidden());
        QCOMPARE(m_ctx->data.Operators[2].code, std::string("7    "));
        QCOMPARE(list()->item(1)->text(), QStringLiteral("Op.2    7        Ana"));
        select(1);
        QCOMPARE(edit("txtcodice")->text(), QStringLiteral("00007"));
    }

    void code_refused()
    {
        open();
        select(0);
        edit("txtcodice")->setText(QStringLiteral("100000"));
        edit("txtDesc")->setText(QStringLiteral("Ana"));
        press("aggiorna");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Kod je broj maksimalno do 99999."));
        QCOMPARE(m_ctx->data.Operators[1], (OperatorRecord{"1", "Kasir 1", "0", "0"}));
        QVERIFY(!panel()->isHidden());
    }

    void enterInName_asksThenStores()
    {
        open();
        select(4);
        edit("txtDesc")->setText(QStringLiteral("Iva"));
        QTest::keyClick(edit("txtDesc"), Qt::Key_Return);
        QCOMPARE(m_prompter.last().title, QStringLiteral("Azuriranje vrednosti"));
        QCOMPARE(m_ctx->data.Operators[5].name, std::string("Kasir 5"));
        m_prompter.answer(Answer::Yes);
        QTest::keyClick(edit("txtDesc"), Qt::Key_Return);
        QCOMPARE(m_ctx->data.Operators[5].name, std::string("Iva"));
    }

    void elimina_resetsAndEscapeHides()
    {
        m_ctx->data.Operators[3] = {"333  ", "Vesna", "0", "0"};
        open();
        select(2);
        m_prompter.answer(Answer::Yes);
        press("elimina");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Da li ste sigurni?"));
        QVERIFY(panel()->isHidden());
        QVERIFY(edit("txtDesc")->text().isEmpty());
        QCOMPARE(list()->item(2)->text(), QStringLiteral("Op.3    3    Kasir 3"));

        select(0);
        QTest::keyClick(list(), Qt::Key_Escape);
        QVERIFY(panel()->isHidden());
    }

    void cyrillicBox_andMainWindowHooks()
    {
        m_ctx->data.CyrillicFormFlags.operators = false;
        open();
        QCOMPARE(list()->font().family(), QStringLiteral("Courier New"));
        child<QCheckBox>("Check1")->click();
        QVERIFY(m_ctx->data.CyrillicFormFlags.operators);
        QCOMPARE(m_ctx->data.Operators[1].name, To8859("Kasir 1"));
        QCOMPARE(edit("txtcodice")->font().family(), QStringLiteral("Helvetica Ciril"));
        select(0);
        QCOMPARE(edit("txtDesc")->text(), QStringLiteral("Kasir 1"));  // shown in the register code

        m_ctx->data.Operators[1].name = "Wiva";
        m_window->refreshFromData();
        QCOMPARE(list()->item(0)->text(), QStringLiteral("Op.1    1    Wiva"));
        m_window->applyCyrillicMode(false, QStringLiteral("Courier New"));
        QCOMPARE(list()->item(0)->text(), QStringLiteral("Op.1    1    Njiva"));
        QCOMPARE(list()->font().family(), QStringLiteral("Courier New"));
    }
};

QTEST_MAIN(FrmOperatoriTest)
#include "frmoperatori_test.moc"
