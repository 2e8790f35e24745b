// The received and sold article lists driven through their controls (offscreen) over a
// SQLite article database: the five lists, details, search and its messages, the first free
// code and the copy into the article table.
#include "data/ArticleStore.h"
#include "data/RegisterText.h"
#include "sales/ui/frmPluSales.h"
#include "shell/AppContext.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <memory>

using namespace kalvo;

namespace {

ReadBackArticle row(int code, const char *name, double price, double qty = 0, double total = 0)
{
    ReadBackArticle a;
    a.barCode = QByteArray::number(code).rightJustified(12, '0');
    a.description = name;
    a.price = price;
    a.vatCode = 3;
    a.department = 1;
    a.mesType = 1;
    a.artType = 2;
    a.oneItem = true;
    a.inventary = 2.5;
    a.qty = qty;
    a.total = total;
    return a;
}

} // namespace

class FrmPluSalesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;

    ArticleStore store() const { return ArticleStore(m_ctx->settings.connectionString); }

    void fill(ReadBackList list, std::initializer_list<int> codes)
    {
        for (int c : codes)
            store().insertReadBack(list, row(c, "ART", c * 10.0, c, c * 100.0));
    }

    template <typename T> static T *child(QWidget &w, const char *name)
    {
        auto *c = w.findChild<T *>(QString::fromLatin1(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    static void press(QWidget &w, const char *key)
    {
        for (QAction *a : child<QToolBar>(w, "Toolbar2")->actions())
            if (a->data().toString() == QLatin1String(key))
                return a->trigger();
        qFatal("no button %s", key);
    }
    static QStringList texts(QWidget &w, const char *list)
    {
        QStringList out;
        auto *l = child<QListWidget>(w, list);
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
        return out;
    }
    static void search(QWidget &w, const QString &code)
    {
        child<QLineEdit>(w, "Fart")->setText(code);
        QTest::mouseClick(child<QPushButton>(w, "FinfArt"), Qt::LeftButton);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_ctx = std::make_unique<AppContext>();
        m_ctx->appFolder = m_dir->path() + "/";
        m_ctx->prompter = &m_prompter;
        m_ctx->settings.connectionString = "Driver=QSQLITE;Database=" + m_dir->path() + "/kalvo.db";
        m_ctx->settings.maxcena = 99999;
        m_ctx->data.ResetTables();
        m_ctx->data.ResetUnitNames();
        m_ctx->data.ResetArticleTypeNames();
        m_ctx->data.CyrillicMode = false;
        m_prompter.clear();
    }
    void cleanup()
    {
        m_ctx.reset();
        m_dir.reset();
    }

    void listsAndCombos()
    {
        store().insertReadBack(ReadBackList::Articles, row(0, "NULA", 1));  // code 0 is not listed
        store().insertReadBack(ReadBackList::Articles, row(12, "HLEB", 45.5, 3, 136.5));
        store().insertReadBack(ReadBackList::Articles, row(3, "MLEKO", 99, 0, 0));
        frmPluSales w(*m_ctx);
        QCOMPARE(w.windowTitle(), QString("Primljeni artikli"));
        QCOMPARE(m_ctx->CurrentFormName, QString("frmPluSales"));
        QCOMPARE(texts(w, "lstplu"), QStringList({"000000000003  MLEKO       ", "000000000012  HLEB        "}));
        QCOMPARE(texts(w, "listC"), QStringList({"99", "45.5"}));
        QCOMPARE(texts(w, "ListL"), QStringList({"2.5", "2.5"}));
        QCOMPARE(texts(w, "listP"), QStringList({"0", "3"}));
        QCOMPARE(texts(w, "listI"), QStringList({"0", "136.5"}));
        QCOMPARE(child<QLineEdit>(w, "Fart")->text(), QString("000000000000"));
        QCOMPARE(child<QLineEdit>(w, "txtprezzo")->maxLength(), 5);
        QCOMPARE(child<QComboBox>(w, "Mestype")->count(), 11);
        QCOMPARE(child<QComboBox>(w, "Mestype")->itemText(5), QString(" "));
        QCOMPARE(child<QComboBox>(w, "Artype")->count(), 8);
        QCOMPARE(child<QComboBox>(w, "cmbreparto")->count(), 10);

        frmPluSalesSold sold(*m_ctx);
        QCOMPARE(sold.windowTitle(), QString("Prodati artikli"));
        QCOMPARE(m_ctx->CurrentFormName, QString("frmPluSalesSold"));
        QCOMPARE(child<QListWidget>(sold, "lstplu")->count(), 0);
        QCOMPARE(child<QListWidget>(sold, "ListL")->toolTip(), QString("Stanje artikala na lageru"));
    }

    void detailOnDoubleClick()
    {
        store().insertReadBack(ReadBackList::SoldArticles, row(7, "SIR", 1234.5, 4, 4938));
        frmPluSalesSold w(*m_ctx);
        auto *list = child<QListWidget>(w, "lstplu");
        list->setCurrentRow(0);
        emit list->itemDoubleClicked(list->item(0));
        QCOMPARE(child<QLineEdit>(w, "Barcode")->text(), QString("000000000007"));
        QCOMPARE(child<QLineEdit>(w, "txtDesc")->text(), QString("SIR"));
        // a price longer than the typing limit is still shown whole
        QCOMPARE(child<QLineEdit>(w, "txtprezzo")->text(), QString("1234.5"));
        QCOMPARE(child<QComboBox>(w, "txtiva")->currentIndex(), 3);
        QCOMPARE(child<QComboBox>(w, "cmbreparto")->currentIndex(), 1);
        QCOMPARE(child<QComboBox>(w, "Mestype")->currentIndex(), 1);
        QCOMPARE(child<QComboBox>(w, "Artype")->currentIndex(), 2);
        QVERIFY(child<QCheckBox>(w, "chkblocco")->isChecked());
        QCOMPARE(child<QLineEdit>(w, "qty")->text(), QString("4"));
        QCOMPARE(child<QLineEdit>(w, "value")->text(), QString("4938"));
        QCOMPARE(child<QLineEdit>(w, "txtLager")->text(), QString("2.5"));
    }

    void searchSelectsEveryList()
    {
        fill(ReadBackList::Articles, {1, 2, 3, 4, 5});
        frmPluSales w(*m_ctx);
        search(w, "3");
        for (const char *name : {"lstplu", "listC", "ListL", "listP", "listI"})
            QCOMPARE(child<QListWidget>(w, name)->currentRow(), 2);
        QVERIFY(m_prompter.prompts.empty());
        press(w, "findArt");  // the toolbar key runs the same search
        QCOMPARE(child<QListWidget>(w, "listI")->currentRow(), 2);
    }

    void searchMessages_data()
    {
        QTest::addColumn<bool>("soldList");
        QTest::addColumn<bool>("empty");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        const QString brand = "Orvel Cash Registers";
        const int critical = int(Icon::Critical);
        QTest::newRow("empty code") << false << false << " " << "Unesite barkod ! " << brand << critical;
        QTest::newRow("letters") << false << false << "12a" << "Ne pravilan barkod !" << brand << critical;
        QTest::newRow("13 digits") << true << false << "1234567890123" << "Ne pravilan bar kod!" << brand << critical;
        QTest::newRow("sold missing") << true << false << "4" << "Artikal ne postoji." << "Pretrazivanje"
                                      << int(Icon::Exclamation);
        QTest::newRow("sold empty") << true << true << "4" << "Nema artikala u listi." << brand << int(Icon::None);
    }
    void searchMessages()
    {
        QFETCH(bool, soldList);
        QFETCH(bool, empty);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(int, icon);
        const ReadBackList list = soldList ? ReadBackList::SoldArticles : ReadBackList::Articles;
        if (!empty)
            fill(list, {1, 3, 5});
        std::unique_ptr<QWidget> w;
        if (soldList)
            w = std::make_unique<frmPluSalesSold>(*m_ctx);
        else
            w = std::make_unique<frmPluSales>(*m_ctx);
        search(*w, typed);
        QCOMPARE(m_prompter.prompts.size(), std::size_t(1));
        QCOMPARE(m_prompter.last().text, text);
        QCOMPARE(m_prompter.last().title, title);
        QCOMPARE(int(m_prompter.last().icon), icon);
    }

    void receivedMissShowsNothing()
    {
        fill(ReadBackList::Articles, {1, 3, 5, 7, 9});
        frmPluSales w(*m_ctx);
        search(w, "4");
        QVERIFY(m_prompter.prompts.empty());
        // the selection stays on the last line examined
        QCOMPARE(child<QListWidget>(w, "lstplu")->currentRow(), 2);
    }

    void searchOverBadCodeReportsError()
    {
        ReadBackArticle bad = row(1, "LOS", 1);
        bad.barCode = "0000000002X";  // listed (leading digits), yet no number
        fill(ReadBackList::Articles, {1, 5});
        store().insertReadBack(ReadBackList::Articles, bad);
        frmPluSales w(*m_ctx);
        QCOMPARE(child<QListWidget>(w, "lstplu")->count(), 3);
        // lines 000000000001, 000000000005, 0000000002X: the search for 9 reaches the last
        search(w, "9");
        QCOMPARE(m_prompter.prompts.size(), std::size_t(1));
        QVERIFY(m_prompter.last().title.contains("frmPluSales.PronadjiArt()"));
        QVERIFY(m_prompter.last().text.startsWith("13 - "));
        QCOMPARE(child<QListWidget>(w, "lstplu")->currentRow(), 0);
        QCOMPARE(child<QListWidget>(w, "listC")->currentRow(), 0);
    }

    void keyProposesFirstFreeCode()
    {
        fill(ReadBackList::Articles, {1, 2, 3, 5});
        frmPluSales w(*m_ctx);
        QTest::keyClick(child<QListWidget>(w, "lstplu"), Qt::Key_Insert);
        QCOMPARE(child<QLineEdit>(w, "Barcode")->text(), QString("4"));
        QCOMPARE(child<QLineEdit>(w, "txtLager")->text(), QString("0"));
        QCOMPARE(child<QComboBox>(w, "txtiva")->currentIndex(), 2);
        QVERIFY(!child<QCheckBox>(w, "chkblocco")->isChecked());
    }

    void transferCopiesTheList()
    {
        fill(ReadBackList::Articles, {2, 4});
        store().insertReadBack(ReadBackList::SoldArticles, row(9, "PRODATO", 1));
        Article old;
        old.barCode = "000000000077";
        old.description = "STARO";
        old.price = 1;
        QVERIFY(store().insertArticle(old));

        frmPluSales w(*m_ctx);
        m_prompter.answer(Answer::No);
        QTest::mouseClick(child<QPushButton>(w, "PLU_preb"), Qt::LeftButton);
        QCOMPARE(store().listArticles().size(), 1);  // refused: nothing changed

        m_prompter.answer(Answer::Yes);
        press(w, "elimina");
        QCOMPARE(m_prompter.last().text, QString("Preneto ! "));
        QCOMPARE(m_prompter.last().title, QString("Orvel Cash Registars"));
        QCOMPARE(m_prompter.last().icon, Icon::Information);
        const QList<Article> articles = store().listArticles();
        QCOMPARE(articles.size(), 2);
        QCOMPARE(articles[0].barCode, QByteArray("000000000002"));
        QCOMPARE(articles[1].price, 40.0);
        QCOMPARE(articles[1].maxValue, 0.0);
    }

    void transferOfEmptyListKeepsArticles()
    {
        Article old;
        old.barCode = "000000000077";
        old.description = "STARO";
        old.price = 1;
        QVERIFY(store().insertArticle(old));
        frmPluSalesSold w(*m_ctx);
        QTest::mouseClick(child<QPushButton>(w, "PLU_preb"), Qt::LeftButton);
        QCOMPARE(m_prompter.last().text, QString("Nema artikala u listi."));
        QCOMPARE(store().listArticles().size(), 1);
    }

    void unreachableDatabase()
    {
        m_ctx->settings.connectionString = "Driver=QSQLITE;Database=" + m_dir->path() + "/missing/dir/x.db";
        frmPluSales w(*m_ctx);
        QCOMPARE(m_prompter.prompts.size(), std::size_t(1));
        QVERIFY(m_prompter.last().title.contains("frmPluSales.FillSalesLists()"));
        QVERIFY(m_prompter.last().text.startsWith("Baza trenutno nije dostupna."));
        QCOMPARE(child<QListWidget>(w, "lstplu")->count(), 0);
    }

    void scriptFollowsCyrillicMode()
    {
        store().insertReadBack(ReadBackList::Articles, row(1, "Qubav", 1));
        m_ctx->data.CyrillicMode = true;
        frmPluSales w(*m_ctx);
        QCOMPARE(texts(w, "lstplu").value(0), QString("000000000001  Qubav       "));
        w.applyCyrillicMode(false, "DejaVu Sans Mono");
        QVERIFY(texts(w, "lstplu").value(0) != QString("000000000001  Qubav       "));
        QCOMPARE(texts(w, "lstplu").value(0), QString::fromStdString(ConvertRegisterText("000000000001  Qubav       ", true)));
        QCOMPARE(child<QListWidget>(w, "lstplu")->font().family(), QString("DejaVu Sans Mono"));
        w.applyCyrillicMode(true, "Helvetica Ciril");
        QCOMPARE(texts(w, "lstplu").value(0), QString("000000000001  Qubav       "));
    }

    void esciCloses()
    {
        auto *w = new frmPluSales(*m_ctx);
        w->show();
        QPointer<QWidget> alive(w);
        press(*w, "esci");
        QCOMPARE(m_ctx->CurrentFormName, QString(" "));
        QTRY_VERIFY(alive.isNull());
    }
};

QTEST_MAIN(FrmPluSalesTest)
#include "frmplusales_test.moc"
