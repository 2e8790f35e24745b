// The unit and article-type windows driven through their controls (offscreen): list,
// choosing a row, renaming with "aggiorna", "aggiorna" with nothing chosen, Esc, "esci",
// the Cyrillic switch.
#include "editors/ui/frmMesUnits.h"
#include "editors/ui/frmTipArt.h"
#include "shell/AppContext.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolBar>

#include <memory>

using namespace kalvo;

class FrmMesUnitsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;

    static void press(QWidget &w, const char *key)
    {
        auto *action = w.findChild<QToolBar *>("Toolbar2")->findChild<QAction *>(key);
        QVERIFY2(action, key);
        action->trigger();
    }
    static QListWidget *list(QWidget &w) { return w.findChild<QListWidget *>("lstplu"); }
    static QLineEdit *edit(QWidget &w, const char *name) { return w.findChild<QLineEdit *>(name); }
    static QWidget *panel(QWidget &w) { return w.findChild<QWidget *>("Picture1"); }
    static void clickRow(QWidget &w, int row)
    {
        QListWidget *l = list(w);
        l->scrollToItem(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    }

private slots:
    void init()
    {
        m_ctx = std::make_unique<AppContext>();
        m_ctx->prompter = &m_prompter;
        m_ctx->data.ResetUnitNames();
        m_ctx->data.ResetArticleTypeNames();
    }

    void renameUnit()
    {
        m_ctx->data.Units[2].shortName = "j7";
        frmMesUnits w(*m_ctx);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(m_ctx->CurrentFormName, QString("frmunits"));
        QCOMPARE(w.windowTitle(), QString("Jedinice mere"));
        QCOMPARE(list(w)->count(), 5);
        QCOMPARE(list(w)->item(1)->text(), QString("2   - JM7"));
        QVERIFY(panel(w)->isHidden());

        clickRow(w, 1);
        QVERIFY(panel(w)->isVisible());
        QCOMPARE(edit(w, "txtDesc")->text(), QString("JM7"));
        QCOMPARE(edit(w, "shortDesc")->text(), QString("j7"));
        edit(w, "txtDesc")->setText("paket");
        edit(w, "shortDesc")->setText("pk");
        press(w, "aggiorna");
        QCOMPARE(m_ctx->data.Units[2], (UnitRecord{"paket", "pk"}));
        QCOMPARE(list(w)->item(1)->text(), QString("2   - paket"));
        QVERIFY(panel(w)->isHidden());
        QVERIFY(m_prompter.prompts.empty());

        // nothing chosen now: no entry changes
        const auto before = m_ctx->data.Units;
        edit(w, "txtDesc")->setText("zzz");
        press(w, "aggiorna");
        QCOMPARE(m_ctx->data.Units, before);
        QCOMPARE(list(w)->item(1)->text(), QString("2   - paket"));

        // Esc puts the panel away without storing
        clickRow(w, 4);
        QVERIFY(panel(w)->isVisible());
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(panel(w)->isHidden());
        press(w, "aggiorna");
        QCOMPARE(m_ctx->data.Units, before);

        press(w, "esci");
        QCOMPARE(m_ctx->CurrentFormName, QString(" "));
        QVERIFY(!w.isVisible());
    }

    void renameArticleType()
    {
        frmTipArt w(*m_ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(m_ctx->CurrentFormName, QString("frmtypes"));
        QCOMPARE(w.objectName(), QString("frmtypes"));
        QCOMPARE(list(w)->count(), 8);
        QCOMPARE(list(w)->toolTip(), QString("Spisak naziva tipova artikala"));
        clickRow(w, 7);
        QCOMPARE(edit(w, "txtDesc")->text(), QString("Tip 8"));
        edit(w, "txtDesc")->setText("Usluga");
        press(w, "aggiorna");
        QCOMPARE(m_ctx->data.ArticleTypes[8].name, std::string("Usluga"));
        QCOMPARE(list(w)->item(7)->text(), QString("8   - Usluga"));
        QCOMPARE(m_ctx->data.ArticleTypes[7].name, std::string("Tip 7"));
    }

    void cyrillicSwitch()
    {
        m_ctx->data.Units[1].name = "Odeljenje";
        m_ctx->data.CyrillicFormFlags.units = false;
        frmMesUnits w(*m_ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(list(w)->font().family(), QString("Courier New"));
        clickRow(w, 0);
        QCOMPARE(edit(w, "txtDesc")->text(), QString("Odeljenje"));
        w.applyCyrillicMode(true, "Helvetica Ciril");
        QCOMPARE(edit(w, "txtDesc")->text(), QString("Odeqewe"));
        QCOMPARE(list(w)->item(0)->text(), QString("1   - Odeqewe"));
        QCOMPARE(edit(w, "txtDesc")->font().family(), QString("Helvetica Ciril"));
        QCOMPARE(list(w)->font().family(), QString("Helvetica Ciril"));
    }
};

QTEST_MAIN(FrmMesUnitsTest)
#include "frmmesunits_test.moc"
