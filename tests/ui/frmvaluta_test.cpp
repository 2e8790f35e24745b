// The currency window through its controls (offscreen): captions, New and Insert, selecting
// and storing, the rate field's typing, a fifth currency, delete, svuota and the hooks.
#include "editors/ui/frmValuta.h"
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

class FrmValutaTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;
    QPointer<frmValuta> m_window;

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
        m_window = new frmValuta(*m_ctx);
        m_window->show();
    }
    void select(int row)
    {
        list()->setCurrentRow(row);
        emit list()->itemClicked(list()->item(row));
    }
    void insert(const QString &rate, const QString &name)
    {
        press("nuovo");
        edit("txtval")->setText(rate);
        edit("txtDesc")->setText(name);
        press("inserisci");
    }

private slots:
    void init()
    {
        m_prompter.clear();
        m_ctx = std::make_unique<AppContext>();
        m_ctx->prompter = &m_prompter;
        m_ctx->data.CyrillicMode = false;
    }
    void cleanup()
    {
        delete m_window;
        m_ctx.reset();
    }

    void captions_andClose()
    {
        open();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Valute"));
        QCOMPARE(m_ctx->CurrentFormName, QStringLiteral("frmValuta"));
        QStringList keys;
        for (QAction *a : child<QToolBar>("Toolbar2")->actions())
            keys << a->data().toString();
        QCOMPARE(keys, QStringList({"nuovo", "inserisci", "aggiorna", "elimina", "svuota", "Esci"}));
        press("Esci");
        QCOMPARE(m_ctx->CurrentFormName, QStringLiteral(" "));
        QTRY_VERIFY(!m_window);
    }

    void insert_select_update_and_fifth()
    {
        open();
        insert("117.5", "EUR");
        QVERIFY(m_prompter.prompts.empty());
        QVERIFY(panel()->isHidden());
        QCOMPARE(list()->count(), 1);
        QCOMPARE(list()->item(0)->text(), QStringLiteral("1-117.500000    EUR"));

        select(0);
        QVERIFY(!panel()->isHidden());
        QCOMPARE(edit("txtval")->text(), QStringLiteral("117.500000"));
        QCOMPARE(edit("txtDesc")->text(), QStringLiteral("EUR"));
        edit("txtval")->clear();
        QTest::keyClicks(edit("txtval"), QStringLiteral("118,2.5x"));
        QCOMPARE(edit("txtval")->text(), QStringLiteral("118.25"));
        press("aggiorna");
        QCOMPARE(m_ctx->data.Currencies[1], (CurrencyRecord{"118.250000", "EUR"}));

        insert("", "USD");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Unesite kurs !"));
        QVERIFY(!panel()->isHidden());
        m_prompter.clear();
        insert("1", "USD");
        insert("1", "CHF");
        insert("1", "GBP");
        QVERIFY(m_prompter.prompts.empty());
        insert("1", "JPY");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Maksimalni broj"));
        QCOMPARE(list()->count(), 4);
    }

    void elimina_and_svuota()
    {
        m_ctx->data.Currencies[1] = {"1.000000", "EUR"};
        m_ctx->data.Currencies[2] = {"2.000000", "USD"};
        open();
        press("elimina");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Izaberite valutu za brisanje !"));
        select(0);
        m_prompter.answer(Answer::Yes);
        press("elimina");
        QCOMPARE(m_ctx->data.Currencies[1], CurrencyRecord{});
        QCOMPARE(list()->count(), 1);
        QCOMPARE(list()->item(0)->text(), QStringLiteral("2-2.000000    USD"));

        m_prompter.answer(Answer::Yes);
        press("svuota");
        QCOMPARE(list()->count(), 4);
        for (int row = 0; row < 4; ++row)
            QVERIFY(list()->item(row)->text().startsWith(QStringLiteral("%1-0.000000    ").arg(row + 1)));
        QVERIFY(edit("txtDesc")->text().isEmpty());
    }

    void cyrillicBox_andHooks()
    {
        m_ctx->data.CyrillicFormFlags.currencies = false;
        m_ctx->data.Currencies[1] = {"1.000000", "Wok"};
        open();
        QCOMPARE(list()->font().family(), QStringLiteral("Courier New"));
        child<QCheckBox>("Check1")->click();
        QVERIFY(m_ctx->data.CyrillicFormFlags.currencies);
        QCOMPARE(m_ctx->data.Currencies[1].name, std::string("Wok"));  // names stay
        QCOMPARE(edit("txtval")->font().family(), QStringLiteral("Helvetica Ciril"));
        QCOMPARE(list()->item(0)->text(), QStringLiteral("1-1.000000    Njok"));
        m_ctx->data.CyrillicMode = true;
        m_window->refreshFromData();
        QCOMPARE(list()->item(0)->text(), QStringLiteral("1-1.000000    Wok"));
        m_window->applyCyrillicMode(false, QStringLiteral("Courier New"));
        QCOMPARE(list()->item(0)->text(), QStringLiteral("1-1.000000    Njok"));
    }
};

QTEST_MAIN(FrmValutaTest)
#include "frmvaluta_test.moc"
