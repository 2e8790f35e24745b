// The article editor driven through its controls (offscreen) over a SQLite article
// database: controls, the toolbar's order checks, storing a new article, validation,
// double-click and update, delete, the code search, field limits, Esc, Cirilica, closing
// and an unreachable database.
#include "data/ArticleStore.h"
#include "editors/ui/frmPlu.h"
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
#include <QToolButton>

#include <memory>

using namespace kalvo;

namespace {

Article stored(const char *code, const char *name, double price, double stock = 1)
{
    Article a;
    a.barCode = code;
    a.description = name;
    a.price = price;
    a.inventary = stock;
    a.mesType = 1;
    return a;
}

} // namespace

class FrmPluTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;

    ArticleStore store() const { return ArticleStore(m_ctx->settings.connectionString); }

    template <typename T> static T *child(QWidget &w, const char *name)
    {
        auto *c = w.findChild<T *>(QString::fromLatin1(name));
        if (!c)
            qWarning("no control %s", name);
        return c;
    }
    static QLineEdit *edit(QWidget &w, const char *name) { return child<QLineEdit>(w, name); }
    static QListWidget *list(QWidget &w, const char *name) { return child<QListWidget>(w, name); }
    static QWidget *panel(QWidget &w) { return child<QWidget>(w, "Picture1"); }

    // Presses the tool button of a key, as the operator does.
    static void press(QWidget &w, const char *key)
    {
        auto *bar = child<QToolBar>(w, "Toolbar2");
        QAction *action = nullptr;
        for (QAction *a : bar->actions())
            if (a->data().toString() == QLatin1String(key))
                action = a;
        QVERIFY2(action, key);
        auto *tool = qobject_cast<QToolButton *>(bar->widgetForAction(action));
        QVERIFY(tool);
        QTest::mouseClick(tool, Qt::LeftButton);
    }
    static void doubleClickRow(QWidget &w, int row)
    {
        QListWidget *l = list(w, "lstplu");
        const QRect rect = l->visualItemRect(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // Fills the panel after "Novi".
    static void type(QWidget &w, const QString &code, const QString &name, const QString &price,
                     const QString &stock)
    {
        edit(w, "Barcode")->setText(code);
        edit(w, "txtDesc")->setText(name);
        edit(w, "txtprezzo")->setText(price);
        edit(w, "TextLager")->setText(stock);
    }
    std::unique_ptr<frmPlu> open()
    {
        auto w = std::make_unique<frmPlu>(*m_ctx);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->show();
        return w;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_ctx = std::make_unique<AppContext>();
        m_ctx->appFolder = m_dir->path() + "/";
        m_ctx->prompter = &m_prompter;
        m_ctx->settings.connectionString = "Driver=QSQLITE;Database=" + m_dir->path() + "/kalvo.db";
        m_ctx->settings.maxcena = 100000;
        m_ctx->data.ResetDepartments();
        m_ctx->data.ResetDepartmentNames();
        m_ctx->data.ResetUnitNames();
        m_ctx->data.ResetArticleTypeNames();
        m_ctx->data.LinkSettings.lineWidth = 22;
        m_prompter.clear();
    }

    void controls()
    {
        auto w = open();
        QCOMPARE(w->windowTitle(), QStringLiteral("Artikli"));
        QCOMPARE(m_ctx->CurrentFormName, QStringLiteral("frmPlu"));
        QVERIFY(panel(*w)->isHidden());
        QCOMPARE(edit(*w, "Fart")->text(), QStringLiteral("000000000000"));
        QCOMPARE(child<QCheckBox>(*w, "Check1")->text(), QStringLiteral("Cirilica"));
        QCOMPARE(child<QPushButton>(*w, "Command1")->text(), QStringLiteral("Izlaz"));
        QStringList captions;
        for (QAction *a : child<QToolBar>(*w, "Toolbar2")->actions())
            captions << a->text() + "/" + a->data().toString();
        QCOMPARE(captions, (QStringList{"Novi/nuovo", "Dodaj/inserisci", "Azuriraj/aggiorna", "Obrisi/elimina",
                                        "Pronadji/findArt", "Izlaz/esci"}));
        QCOMPARE(child<QComboBox>(*w, "cmbreparto")->count(), 10);
        QCOMPARE(child<QComboBox>(*w, "vatCom")->count(), 9);
        QCOMPARE(child<QComboBox>(*w, "Mestype")->count(), 11);
        QCOMPARE(child<QComboBox>(*w, "Artype")->count(), 8);
        // "100000" has six whole digits: room for the point and two decimals
        QCOMPARE(edit(*w, "txtprezzo")->maxLength(), 9);
        QVERIFY(m_prompter.prompts.empty());
    }

    void toolbarOrderChecks()
    {
        store().insertArticle(stored("000000000001", "Hleb", 1));
        auto w = open();
        press(*w, "inserisci");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Morate prvo izabrati stavku 'Novi' !"));
        QCOMPARE(m_prompter.last().title, QStringLiteral("Orvel Cash Register"));
        QCOMPARE(m_prompter.last().icon, Icon::Critical);

        press(*w, "nuovo");
        QVERIFY(panel(*w)->isVisible());
        press(*w, "aggiorna");
        QCOMPARE(m_prompter.last().text,
                 QStringLiteral("Morate prvo duplim klikom izabrati artikal za azuriranje !"));

        press(*w, "elimina");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Morate prvo izabrati artikal !"));
        QCOMPARE(m_prompter.prompts.size(), size_t(3));
        QVERIFY(store().articleExists("000000000001"));
    }

    void insertStoresPaddedCode()
    {
        auto w = open();
        press(*w, "nuovo");
        type(*w, "123", "  Hleb  ", "12.5", "3.6");
        child<QComboBox>(*w, "cmbreparto")->setCurrentIndex(2);
        child<QComboBox>(*w, "vatCom")->setCurrentIndex(1);
        child<QComboBox>(*w, "Artype")->setCurrentIndex(4);
        child<QCheckBox>(*w, "chkblocco")->setChecked(true);
        press(*w, "inserisci");
        QVERIFY2(m_prompter.prompts.empty(), qPrintable(m_prompter.texts().join('|')));
        QVERIFY(panel(*w)->isHidden());

        const auto a = store().fetchArticle("000000000123");
        QVERIFY(a);
        QCOMPARE(a->description, QByteArray("Hleb"));
        QCOMPARE(a->price, 12.5);
        QCOMPARE(a->inventary, 4.0);  // pieces: a whole number
        QCOMPARE(a->department, 2);
        QCOMPARE(a->vatCode, 1);
        QCOMPARE(a->mesType, 0);
        QCOMPARE(a->artType, 4);
        QVERIFY(a->oneItem);

        QCOMPARE(list(*w, "lstplu")->count(), 1);
        QVERIFY(list(*w, "lstplu")->item(0)->text().startsWith("000000000123   Hleb "));
        QCOMPARE(list(*w, "ListCene")->item(0)->text(), QStringLiteral(" 12.50"));
        QCOMPARE(list(*w, "ListL")->item(0)->text(), QStringLiteral("4"));

        // "Dodaj" again without "Novi": the panel is put away
        press(*w, "inserisci");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Morate prvo izabrati stavku 'Novi' !"));
    }

    void validationKeepsPanel_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("stock");
        QTest::addColumn<QString>("message");
        QTest::newRow("no code") << "" << "Hleb" << "1" << "1" << "Unesite barkod ! ";
        QTest::newRow("code letters") << "12a" << "Hleb" << "1" << "1" << "Ne pravilan barkod !";
        QTest::newRow("code 13 digits") << "1234567890123" << "Hleb" << "1" << "1" << "Ne pravilan bar kod!";
        QTest::newRow("no name") << "5" << "   " << "1" << "1" << "Unesite naziv !";
        QTest::newRow("price text") << "5" << "Hleb" << "abc" << "1" << "Cena nije validna !";
        QTest::newRow("price zero") << "5" << "Hleb" << "0" << "1" << "Cena nije validna!";
        QTest::newRow("price above maxcena") << "5" << "Hleb" << "100000.01" << "1" << "Cena nije validna!";
        QTest::newRow("stock negative") << "5" << "Hleb" << "1" << "-1" << "Lager nije validan !";
        QTest::newRow("code taken") << "7" << "Hleb" << "1" << "1" << "Bar kod vec postoji ! ";
    }
    void validationKeepsPanel()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, price);
        QFETCH(QString, stock);
        QFETCH(QString, message);
        store().insertArticle(stored("000000000007", "Mleko", 2));
        auto w = open();
        press(*w, "nuovo");
        type(*w, code, name, price, stock);
        press(*w, "inserisci");
        QCOMPARE(m_prompter.texts(), QStringList{message});
        QCOMPARE(m_prompter.last().title, QStringLiteral("Orvel Cash Registers"));
        QCOMPARE(m_prompter.last().icon, Icon::Critical);
        QVERIFY(panel(*w)->isVisible());
        QCOMPARE(edit(*w, "Barcode")->text(), code);
        QCOMPARE(edit(*w, "txtDesc")->text(), name);
        QCOMPARE(store().listArticles().size(), 1);
    }

    void doubleClickLoadsAndUpdates()
    {
        Article milk = stored("000000000007", "Mleko", 2.5, 1.25);
        milk.mesType = 2;
        milk.vatCode = 3;
        milk.department = 4;
        milk.artType = 5;
        store().insertArticle(stored("000000000005", "Hleb", 1));
        store().insertArticle(milk);
        auto w = open();
        doubleClickRow(*w, 1);
        QVERIFY(panel(*w)->isVisible());
        QCOMPARE(edit(*w, "Barcode")->text(), QStringLiteral("000000000007"));
        QCOMPARE(edit(*w, "txtDesc")->text(), QStringLiteral("Mleko"));
        QCOMPARE(edit(*w, "txtprezzo")->text(), QStringLiteral("2.50"));
        QCOMPARE(edit(*w, "TextLager")->text(), QStringLiteral("1.250"));
        QCOMPARE(child<QComboBox>(*w, "Mestype")->currentIndex(), 2);
        QCOMPARE(child<QComboBox>(*w, "vatCom")->currentIndex(), 3);
        QCOMPARE(child<QComboBox>(*w, "cmbreparto")->currentIndex(), 4);
        QCOMPARE(child<QComboBox>(*w, "Artype")->currentIndex(), 5);

        // the operator then clicks another row before saving: the loaded article changes
        list(*w, "lstplu")->setCurrentRow(0);
        QCOMPARE(list(*w, "ListCene")->currentRow(), 0);
        edit(*w, "Barcode")->setText("8");
        edit(*w, "txtDesc")->setText("Mleko 1l");
        press(*w, "aggiorna");
        QVERIFY2(m_prompter.prompts.empty(), qPrintable(m_prompter.texts().join('|')));
        QVERIFY(panel(*w)->isHidden());
        QVERIFY(!store().articleExists("000000000007"));
        QCOMPARE(store().fetchArticle("000000000008")->description, QByteArray("Mleko 1l"));
        QCOMPARE(store().fetchArticle("000000000008")->department, 4);
        QCOMPARE(store().fetchArticle("000000000005")->description, QByteArray("Hleb"));
        QVERIFY(list(*w, "lstplu")->item(1)->text().startsWith("000000000008   Mleko 1l"));

        // onto another article's code: refused, nothing changed
        doubleClickRow(*w, 1);
        edit(*w, "Barcode")->setText("5");
        press(*w, "aggiorna");
        QCOMPARE(m_prompter.texts(), QStringList{"Bar kod vec postoji ! "});
        QVERIFY(store().articleExists("000000000008"));
    }

    void deleteAsksFirst()
    {
        store().insertArticle(stored("000000000005", "Hleb", 1));
        store().insertArticle(stored("000000000007", "Mleko", 2));
        auto w = open();
        list(*w, "lstplu")->setCurrentRow(1);
        press(*w, "elimina");
        QCOMPARE(m_prompter.last().text, QStringLiteral("Da li ste sigurni?"));
        QCOMPARE(m_prompter.last().buttons, Buttons::YesNo);
        QCOMPARE(m_prompter.last().title, QStringLiteral("Orvel Cash Register"));
        QCOMPARE(store().listArticles().size(), 2);  // No (the default answer)

        m_prompter.answer(Answer::Yes);
        press(*w, "elimina");
        QVERIFY(!store().articleExists("000000000007"));
        QVERIFY(store().articleExists("000000000005"));
        QCOMPARE(list(*w, "lstplu")->count(), 1);
        QCOMPARE(list(*w, "ListL")->count(), 1);
    }

    void search_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("message");
        QTest::newRow("123 finds 000000000123") << "123" << 1 << "";
        QTest::newRow("first row") << "5" << 0 << "";
        QTest::newRow("last row") << "999999999999" << 2 << "";
        QTest::newRow("missing") << "124" << -1 << "Trazeni artikal ne postoji !";
        QTest::newRow("empty") << "" << -1 << "Unesite barkod ! ";
        QTest::newRow("letters") << "12x" << -1 << "Ne pravilan barkod !";
        QTest::newRow("too long") << "0000000001234" << -1 << "Ne pravilan bar kod!";
    }
    void search()
    {
        QFETCH(QString, typed);
        QFETCH(int, row);
        QFETCH(QString, message);
        store().insertArticle(stored("000000000005", "Hleb", 1));
        store().insertArticle(stored("000000000123", "Sir", 3));
        store().insertArticle(stored("999999999999", "Vino", 9));
        auto w = open();
        edit(*w, "Fart")->setText(typed);
        press(*w, "findArt");
        QCOMPARE(m_prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (row < 0) {
            QVERIFY(panel(*w)->isHidden());
            return;
        }
        for (const char *name : {"lstplu", "ListCene", "ListL"})
            QCOMPARE(list(*w, name)->currentRow(), row);
        QVERIFY(panel(*w)->isVisible());
        QCOMPARE(PadBarCode(edit(*w, "Barcode")->text().toLatin1()), PadBarCode(typed.toLatin1()));
        // the hit counts as a double-click: "Azuriraj" stores it
        edit(*w, "txtprezzo")->setText("4");
        press(*w, "aggiorna");
        QCOMPARE(m_prompter.texts(), QStringList());
        QCOMPARE(store().fetchArticle(PadBarCode(typed.toLatin1()))->price, 4.0);
    }

    void nameLimitFollowsLineWidth()
    {
        auto w = open();
        press(*w, "nuovo");
        QLineEdit *name = edit(*w, "txtDesc");
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("ABCDEFGHIJKLMNOPQRS"));  // 19
        QCOMPARE(name->text(), QStringLiteral("ABCDEFGHIJKLMNOPQR"));

        m_ctx->data.LinkSettings.lineWidth = 32;
        w->applyLineWidth();
        QTest::keyClicks(name, QStringLiteral("STUVWXYZ0123"));
        QCOMPARE(name->text().size(), 28);
    }

    void longStoredNameIsNotCut()
    {
        const char longName[] = "Cokoladna torta sa visnjama";  // 27 characters, stored at width 32
        store().insertArticle(stored("000000000005", longName, 1));
        auto w = open();
        doubleClickRow(*w, 0);
        QCOMPARE(edit(*w, "txtDesc")->text(), QString::fromLatin1(longName));
        press(*w, "aggiorna");
        QCOMPARE(store().fetchArticle("000000000005")->description, QByteArray(longName));
    }

    void leavingFieldsReformats()
    {
        auto w = open();
        press(*w, "nuovo");
        QLineEdit *price = edit(*w, "txtprezzo");
        QLineEdit *stock = edit(*w, "TextLager");
        price->setText("7.5");
        emit price->editingFinished();
        QCOMPARE(price->text(), QStringLiteral("7.50"));
        child<QComboBox>(*w, "Mestype")->setCurrentIndex(1);
        stock->setText("2.4567");
        emit stock->editingFinished();
        QCOMPARE(stock->text(), QStringLiteral("2.457"));
        child<QComboBox>(*w, "Mestype")->setCurrentIndex(0);  // pieces
        QCOMPARE(stock->text(), QStringLiteral("2"));
    }

    void escapeHidesPanel()
    {
        auto w = open();
        press(*w, "nuovo");
        type(*w, "5", "Hleb", "1", "1");
        QTest::keyClick(edit(*w, "txtDesc"), Qt::Key_Escape);
        QVERIFY(panel(*w)->isHidden());
        QCOMPARE(edit(*w, "Barcode")->text(), QString());
        QCOMPARE(edit(*w, "txtDesc")->text(), QString());
    }

    void cyrillicBoxSetsFontAndFlag()
    {
        m_ctx->data.CyrillicFormFlags.articles = true;
        auto w = open();
        auto *box = child<QCheckBox>(*w, "Check1");
        QVERIFY(box->isChecked());
        QCOMPARE(edit(*w, "txtDesc")->font().family(), QStringLiteral("Helvetica Ciril"));
        box->click();
        QVERIFY(!m_ctx->data.CyrillicFormFlags.articles);
        for (const char *name : {"Barcode", "txtDesc"})
            QCOMPARE(edit(*w, name)->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(list(*w, "lstplu")->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(child<QComboBox>(*w, "Artype")->font().family(), QStringLiteral("Courier New"));
        box->click();
        QVERIFY(m_ctx->data.CyrillicFormFlags.articles);
        QCOMPARE(child<QComboBox>(*w, "cmbreparto")->font().family(), QStringLiteral("Helvetica Ciril"));
    }

    void cyrillicModeSwitchConvertsTexts()
    {
        m_ctx->data.CyrillicMode = false;
        store().insertArticle(stored("000000000005", "Wegos", 1));
        auto w = open();
        QVERIFY(list(*w, "lstplu")->item(0)->text().contains("Njegos"));
        press(*w, "nuovo");
        edit(*w, "txtDesc")->setText("Ljubav");
        m_ctx->data.CyrillicMode = true;
        w->applyCyrillicMode(true, "Helvetica Ciril");
        QVERIFY(list(*w, "lstplu")->item(0)->text().contains("Wegos"));
        QCOMPARE(edit(*w, "txtDesc")->text(), QStringLiteral("Qubav"));
        QCOMPARE(edit(*w, "txtDesc")->font().family(), QStringLiteral("Helvetica Ciril"));
    }

    void closing()
    {
        for (const char *how : {"esci", "Command1"}) {
            auto *w = new frmPlu(*m_ctx);
            QPointer<frmPlu> alive(w);
            w->show();
            if (QLatin1String(how) == QLatin1String("esci"))
                press(*w, how);
            else
                child<QPushButton>(*w, how)->click();
            QCOMPARE(m_ctx->CurrentFormName, QStringLiteral(" "));
            QTRY_VERIFY(alive.isNull());
        }
    }

    void databaseUnavailable()
    {
        store().insertArticle(stored("000000000005", "Hleb", 1));
        auto w = open();
        QCOMPARE(list(*w, "lstplu")->count(), 1);
        m_ctx->settings.connectionString = "Driver=QSQLITE;Database=" + m_dir->path() + "/no/such/folder/x.db";
        press(*w, "nuovo");
        type(*w, "6", "Mleko", "1", "1");
        press(*w, "inserisci");
        QCOMPARE(m_prompter.prompts.size(), size_t(1));
        QVERIFY(m_prompter.last().text.startsWith("Baza trenutno nije dostupna."));
        QVERIFY(m_prompter.last().title.contains("frmPlu.Toolbar2_ButtonClick()"));
        // the action ended: the panel keeps the typed values, the list stays as it was
        QVERIFY(panel(*w)->isVisible());
        QCOMPARE(edit(*w, "txtDesc")->text(), QStringLiteral("Mleko"));
        QCOMPARE(list(*w, "lstplu")->count(), 1);
    }
};

QTEST_MAIN(FrmPluTest)
#include "frmplu_test.moc"
