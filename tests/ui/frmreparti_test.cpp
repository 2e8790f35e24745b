// The department window through its controls (offscreen): captions, loading a row into the
// panel, storing with the toolbar and with Enter, the tax group check on leaving the field,
// svuota followed by inserisci, Esc, the "Cirilica" box and the main window's hooks.
#include "data/Codec.h"
#include "data/RegisterText.h"
#include "editors/ui/frmreparti.h"
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

class FrmRepartiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;
    QPointer<frmreparti> m_window;

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
        m_window = new frmreparti(*m_ctx);
        m_window->show();
    }
    void doubleClick(int row)
    {
        list()->setCurrentRow(row);
        emit list()->itemDoubleClicked(list()->item(row));
    }

private slots:
    void init()
    {
        m_prompter.clear();
        m_ctx = std::make_unique<AppContext>();
        m_ctx->prompter = &m_prompter;
        m_ctx->data.ResetDepartments();
        m_ctx->data.ResetDepartmentNames();
    }
    void cleanup()
    {
        delete m_window;
        m_ctx.reset();
    }

    void load_captionsAndList()
    {
        m_ctx->data.CyrillicMode = false;
        m_ctx->data.Departments[4].name = "Odeqewe Pice";
        open();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Odeljenja"));
        QCOMPARE(m_ctx->CurrentFormName, QStringLiteral("frmreparti"));
        QStringList keys, captions;
        for (QAction *a : child<QToolBar>("Toolbar2")->actions()) {
            keys << a->data().toString();
            captions << a->text();
        }
        QCOMPARE(keys, QStringList({"nuovo", "inserisci", "aggiorna", "elimina", "svuota", "esci"}));
        QCOMPARE(captions, QStringList({"New", "Insert", "Azuriraj", "Obrisi", "Empty", "Izlaz"}));
        QCOMPARE(list()->count(), 10);
        QCOMPARE(list()->item(0)->text(), QStringLiteral("1 - Odeljenje 1"));
        QCOMPARE(list()->item(3)->text(), QStringLiteral("4 - Odeljenje Pice"));
        QVERIFY(panel()->isHidden());
        QCOMPARE(list()->font().family(), QStringLiteral("Helvetica Ciril"));  // the department flag starts set
        press("esci");
        QCOMPARE(m_ctx->CurrentFormName, QStringLiteral(" "));
        QTRY_VERIFY(!m_window);
    }

    void doubleClick_thenAggiorna()
    {
        m_ctx->data.Departments[2] = {"Voce       ", "00000500", "2", "1", "0", "0"};
        open();
        doubleClick(1);
        QVERIFY(!panel()->isHidden());
        QCOMPARE(edit("txtDesc")->text(), QStringLiteral("Voce"));
        QCOMPARE(edit("txtprezzo")->text(), QStringLiteral("00000500"));
        QCOMPARE(edit("txtiva")->text(), QStringLiteral("2"));
        QVERIFY(child<QCheckBox>("chksing")->isChecked());

        edit("txtDesc")->setText(QStringLiteral("Povrce"));
        edit("txtprezzo")->setText(QStringLiteral("1234.56"));
        child<QCheckBox>("chksing")->setChecked(false);
        press("aggiorna");
        QVERIFY(m_prompter.prompts.empty());
        QCOMPARE(m_ctx->data.Departments[2], (DepartmentRecord{"Povrce      ", "00001234", "2", "0", "0", "0"}));
        QCOMPARE(edit("txtprezzo")->text(), QStringLiteral("00001234"));
        QCOMPARE(list()->item(1)->text(), QStringLiteral("2 - Povrce"));
        QVERIFY(panel()->isHidden());
    }

    void badPrice_keepsPanelAndData()
    {
        open();
        doubleClick(0);
        const auto before = m_ctx->data.Departments;
        edit("txtprezzo")->setText(QStringLiteral("12,5"));
        press("aggiorna");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Vrednosti nisu korektne"));
        QCOMPARE(m_ctx->data.Departments, before);
        QVERIFY(!panel()->isHidden());
        QCOMPARE(edit("txtprezzo")->text(), QStringLiteral("12,5"));
    }

    void enterInName_asksThenStores()
    {
        open();
        doubleClick(4);
        edit("txtDesc")->setText(QStringLiteral("Mleko"));
        QTest::keyClick(edit("txtDesc"), Qt::Key_Return);  // No: nothing stored
        QCOMPARE(m_prompter.last().text, QStringLiteral("Da li zelite da azurirate vrednost?"));
        QCOMPARE(m_prompter.last().title, QStringLiteral("Azuriranje vrednosti"));
        QCOMPARE(m_ctx->data.Departments[5].name, std::string("Odeqewe  5"));
        m_prompter.answer(Answer::Yes);
        QTest::keyClick(edit("txtDesc"), Qt::Key_Return);
        QCOMPARE(m_ctx->data.Departments[5].name, std::string("Mleko       "));
    }

    void taxGroup_checkedOnLeaving()
    {
        open();
        doubleClick(0);
        edit("txtiva")->setText(QStringLiteral("5"));
        emit edit("txtiva")->editingFinished();
        QCOMPARE(m_prompter.last().text, QStringLiteral("Poreska stopa ne postoji!"));
        QCOMPARE(m_prompter.last().icon, Icon::Exclamation);
        QCOMPARE(edit("txtiva")->text(), QStringLiteral("5"));
        m_prompter.clear();
        edit("txtiva")->setText(QStringLiteral("4"));
        emit edit("txtiva")->editingFinished();
        QVERIFY(m_prompter.prompts.empty());
    }

    void svuota_thenInserisciUpToTen()
    {
        open();
        m_prompter.answer(Answer::Yes);
        press("svuota");
        QCOMPARE(list()->count(), 0);
        for (int i = 1; i <= 10; ++i) {
            press("nuovo");
            QCOMPARE(edit("txtiva")->text(), QStringLiteral("0"));
            edit("txtDesc")->setText(QStringLiteral("Dep%1").arg(i));
            press("inserisci");
        }
        QVERIFY(m_prompter.prompts.size() == 1);
        QCOMPARE(list()->count(), 10);
        QCOMPARE(list()->item(2)->text(), QStringLiteral("3 - Dep3"));
        QCOMPARE(m_ctx->data.Departments[3].name, std::string("Dep3        "));
        QCOMPARE(m_ctx->data.Departments[3].maxPrice, std::string(8, ' '));
        press("nuovo");
        edit("txtDesc")->setText(QStringLiteral("Dep11"));
        press("inserisci");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Maksimalan broj"));
        QCOMPARE(list()->count(), 10);
    }

    void elimina_and_escape()
    {
        m_ctx->data.Departments[2].name = "Riba        ";
        open();
        doubleClick(1);
        m_prompter.answer(Answer::Yes);
        press("elimina");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Dali ste sigurni?"));
        QVERIFY(panel()->isHidden());
        QCOMPARE(list()->item(1)->text(), QStringLiteral("2 - Odeqewe 2"));
        QCOMPARE(m_ctx->data.Departments[2].vatGroup, std::string("0"));

        doubleClick(0);
        QTest::keyClick(list(), Qt::Key_Escape);
        QVERIFY(panel()->isHidden());
        QVERIFY(edit("txtDesc")->text().isEmpty());
    }

    void cyrillicBox_andMainWindowHooks()
    {
        m_ctx->data.CyrillicFormFlags.departments = false;
        open();
        QCOMPARE(list()->font().family(), QStringLiteral("Courier New"));
        child<QCheckBox>("Check1")->click();
        QVERIFY(m_ctx->data.CyrillicFormFlags.departments);
        QCOMPARE(m_ctx->data.Departments[1].name, To8859("Odeqewe  1"));
        QCOMPARE(edit("txtDesc")->font().family(), QStringLiteral("Helvetica Ciril"));
        QCOMPARE(list()->item(0)->text(), ansiToUnicode(QByteArray::fromStdString("1 - " + To8859("Odeqewe 1"))));

        // the main window's toggle converts rows and the name box; a file read refills the list
        m_ctx->data.Departments[1].name = "Wiva";
        m_window->refreshFromData();
        QCOMPARE(list()->item(0)->text(), QStringLiteral("1 - Wiva"));
        edit("txtDesc")->setText(QStringLiteral("Qubav"));
        m_window->applyCyrillicMode(false, QStringLiteral("Courier New"));
        QCOMPARE(list()->item(0)->text(), QStringLiteral("1 - Njiva"));
        QCOMPARE(edit("txtDesc")->text(), QStringLiteral("Ljubav"));
        QCOMPARE(list()->font().family(), QStringLiteral("Courier New"));
    }
};

QTEST_MAIN(FrmRepartiTest)
#include "frmreparti_test.moc"
