// The main window driven through its menus (offscreen), with a scripted prompter, a
// program folder of its own and a per-user store redirected into a temporary folder.
#include "RegSim.h"
#include "TestSupport.h"

#include "data/ArticleStore.h"
#include "data/ProgrammingFile.h"
#include "shell/AppContext.h"
#include "shell/AppGlobals.h"
#include "shell/MainWindowLoad.h"
#include "shell/UserStore.h"
#include "shell/ui/WindowHooks.h"
#include "shell/ui/frmMain.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kalvo;

namespace {

// A work window that counts the main window's hook calls.
class HookedWindow : public QWidget, public RefreshableWindow, public LineWidthAware, public CyrillicSwitchable {
public:
    int refreshed = 0, relimited = 0;
    QStringList fonts;
    void refreshFromData() override { ++refreshed; }
    void applyLineWidth() override { ++relimited; }
    void applyCyrillicMode(bool on, const QString &font) override { fonts << (on ? "on:" : "off:") + font; }
};

// Receives the addresses that OpenDocument hands to the desktop.
class UrlSink : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

int px(double twips, double dpi) { return TwipsToPixels(twips, dpi); }

} // namespace

class FrmMainTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;
    UrlSink m_urls;

    QString folder() const { return m_dir->path() + "/"; }

    void writeIni(const QByteArray &extra = {})
    {
        QFile f(folder() + "Kalvo.ini");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[database]\r\nconnectionstring=Driver=QSQLITE;Database={app.path}\\kalvo.db\r\n"
                "[modem]\r\natdp=ATDP\r\n" + extra);
    }

    // A fresh context reading the folder's Kalvo.ini, as the program's start does.
    void newContext()
    {
        m_ctx = std::make_unique<AppContext>();
        m_ctx->appFolder = folder();
        m_ctx->prompter = &m_prompter;
        m_ctx->link.setLibraryPath(test::binDir() + "libZibDll.so");
        LoadSettings(*m_ctx);
    }

    std::unique_ptr<frmMain> openMain()
    {
        auto w = std::make_unique<frmMain>(*m_ctx);
        w->show();
        return w;
    }

    static void click(frmMain &w, const char *item)
    {
        QAction *a = w.menuItem(QString::fromLatin1(item));
        QVERIFY2(a, item);
        a->trigger();
    }

    static QStringList texts(QMenu *menu)
    {
        QStringList out;
        for (QAction *a : menu->actions())
            out << a->text();
        return out;
    }

    static QString stored(const char *key)
    {
        return UserStore::GetSetting("Settings", QString::fromLatin1(key));
    }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler("file", &m_urls, "open");
        QDesktopServices::setUrlHandler("https", &m_urls, "open");
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        // the per-user store lives in the test's folder, never in the user's own
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder() + "user");
        m_prompter.clear();
        m_prompter.prompts.clear();
        m_urls.opened.clear();
        writeIni();
        newContext();
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler("file");
        QDesktopServices::unsetUrlHandler("https");
    }

    void menuTree()
    {
        auto w = openMain();
        QCOMPARE(texts(w->findChild<QMenu *>("mnufile")),
                 QStringList({"&Nova", "&Otvori", "&Sacuvaj", "Sacuvaj Pod Imenom", "&Zatvori", "", "Sirina 32",
                              "Stampa", "", "Cirilica", "Veza po postavci", "", "", "&Izlaz"}));
        QCOMPARE(texts(w->findChild<QMenu *>("mnuWindow")),
                 QStringList({"Aktivni prozori...", "Kaskadno", "Po Horizontali", "Po Vertikali", "",
                              "Rasporedi ikonice"}));
        QCOMPARE(texts(w->findChild<QMenu *>("mnuHelp0")),
                 QStringList({"Sadrzaj", "Pomoc potrazi na ...", "Korisnicka uputstva",
                              "Dokumenta Vlade republike Srbije", "", "Na Internetu...", "",
                              "Instalacija Cirilicnih Fontova...", "", "O programu..."}));
        QVERIFY(w->menuItem("mnuFileBar5")->isSeparator());
        QVERIFY(w->menuItem("mnuSirina")->isCheckable());
        QVERIFY(w->findChild<QWidget *>("sbStatusBar"));
    }

    // The load sequence: every step on a database with a PORT row and read-back rows.
    void loadSequence()
    {
        test::RegSim sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        sim.usePort(3);
        const ArticleStore store(m_ctx->settings.connectionString);
        store.savePort({3, 19200, "ATDT", "0112223344"});
        ReadBackArticle a;
        a.barCode = "000000000042";
        a.description = "Hleb";
        store.insertReadBack(ReadBackList::Articles, a);
        store.insertReadBack(ReadBackList::SoldArticles, a);
        m_ctx->data.LinkSettings.lineWidth = 32;
        m_ctx->data.Departments[3].name = "changed";

        auto w = openMain();
        QCOMPARE(w->windowTitle(), "Kalvo Ver. " + VersionText() + " - Orvel Cash Registers");
        QVERIFY(m_prompter.prompts.empty());
        const LinkSettings &link = m_ctx->data.LinkSettings;
        QCOMPARE(link.port, 3);
        QCOMPARE(link.baudRate, 19200);
        QCOMPARE(link.dialMode, std::string("ATDT"));
        QCOMPARE(link.phoneNumber, std::string("0112223344"));
        QCOMPARE(link.lineWidth, 22);
        QVERIFY(link.DisplayCyrillic);
        QVERIFY(w->menuItem("useCir")->isChecked());
        QVERIFY(!w->menuItem("mnuSirina")->isChecked());
        QVERIFY(m_ctx->data.CyrillicMode);
        // step 9 ran after the database step: names in their second start-up form
        QCOMPARE(m_ctx->data.Departments[3].name, std::string("Odeqewe  3"));
        QCOMPARE(m_ctx->data.Units[1].name, std::string("JM6"));
        QVERIFY(store.readBackList(ReadBackList::Articles, ArticleStore::Rows::All).isEmpty());
        QVERIFY(store.readBackList(ReadBackList::SoldArticles, ArticleStore::Rows::All).isEmpty());
        // the PORT row's port was opened: the register answers
        QCOMPARE(m_ctx->link.Testconnessione(), 0);

        // "Veza po postavci": 14 bytes unframed, nothing shown
        click(*w, "mnudirdef");
        QVERIFY(QTest::qWaitFor([&] { return !sim.textLines().isEmpty(); }, 3000));
        QCOMPARE(sim.textLines(), QList<QByteArray>({"1234567890123\x03"}));
        QVERIFY(m_prompter.prompts.empty());

        // unload closes the port
        w->close();
        QVERIFY(m_ctx->link.Testconnessione() != 0);
    }

    void emptyPortTableKeepsDefaults()
    {
        auto w = openMain();
        QVERIFY(m_prompter.prompts.empty());
        QCOMPARE(m_ctx->data.LinkSettings.port, 1);
        QCOMPARE(m_ctx->data.LinkSettings.baudRate, 9600);
        QCOMPARE(m_ctx->data.LinkSettings.dialMode, std::string("ATDP"));
        // no port open: "Veza po postavci" shows nothing
        click(*w, "mnudirdef");
        QVERIFY(m_prompter.prompts.empty());
    }

    // Without Kalvo.ini the database step fails: one box, then a working window in which
    // the later steps did not run.
    void errorExitWithoutIni()
    {
        QVERIFY(QFile::remove(folder() + "Kalvo.ini"));
        newContext();
        auto w = openMain();
        QCOMPARE(m_prompter.prompts.size(), size_t(1));
        QCOMPARE(m_prompter.last().title, "Orvel Cash Registers(Sender:='frmMain.Form_Load()')");
        QCOMPARE(m_prompter.last().text,
                 "Baza trenutno nije dostupna.\nMolimo Vas, proverite globalne parametre za pristup podacima.");
        QCOMPARE(m_prompter.last().icon, Icon::Exclamation);
        QVERIFY(w->isVisible());
        QVERIFY(w->windowTitle().startsWith("Kalvo Ver. "));
        // steps 1-4 ran, 9-12 did not
        QCOMPARE(m_ctx->data.Departments[3].name.substr(0, 9), std::string("Odeqewe 3"));
        QCOMPARE(texts(w->findChild<QMenu *>("mnuWeb")), QStringList({"(nema)"}));
        // and the window still answers its menus; the port stayed closed
        click(*w, "mnuHelpContents");
        QCOMPARE(m_prompter.prompts.size(), size_t(2));
        QVERIFY(m_ctx->link.Testconnessione() != 0);
    }

    void placement_data()
    {
        QTest::addColumn<QStringList>("saved");   // windowstate, left, top, width, height ("-" = missing)
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QList<double>>("twips"); // expected position and size, when normal
        QTest::newRow("never saved") << QStringList{"-", "-", "-", "-", "-"} << false
                                     << QList<double>{1000, 1000, 6500, 6500};
        QTest::newRow("normal") << QStringList{"0", "1500", "600", "4500", "3000"} << false
                                << QList<double>{1500, 600, 4500, 3000};
        QTest::newRow("maximised ignores position") << QStringList{"2", "1500", "600", "4500", "3000"} << true
                                                    << QList<double>{};
        QTest::newRow("junk numbers") << QStringList{"0", "abc", "", "1e400", "-5"} << false
                                      << QList<double>{1000, 1000, 6500, 6500};
        QTest::newRow("state 7 counts as normal") << QStringList{"7", "1500", "600", "4500", "3000"} << false
                                                  << QList<double>{1500, 600, 4500, 3000};
    }

    void placement()
    {
        QFETCH(QStringList, saved);
        QFETCH(bool, maximised);
        QFETCH(QList<double>, twips);
        const char *keys[] = {"windowstate", "MainLeft", "MainTop", "MainWidth", "MainHeight"};
        for (int i = 0; i < 5; ++i)
            if (saved[i] != "-")
                UserStore::SaveSetting("Settings", keys[i], saved[i]);
        auto w = openMain();
        QCOMPARE(w->isMaximized(), maximised);
        if (!maximised) {
            const double dx = w->screen()->logicalDotsPerInchX(), dy = w->screen()->logicalDotsPerInchY();
            QCOMPARE(w->pos(), QPoint(px(twips[0], dx), px(twips[1], dy)));
            QCOMPARE(w->size(), QSize(px(twips[2], dx), px(twips[3], dy)));
        }
    }

    // A window saved far off every screen, or larger than it, opens fully visible.
    void placementOffScreen()
    {
        UserStore::SaveSetting("Settings", "windowstate", "0");
        UserStore::SaveSetting("Settings", "MainLeft", "-2000000");
        UserStore::SaveSetting("Settings", "MainTop", "9000000");
        UserStore::SaveSetting("Settings", "MainWidth", "300000");
        UserStore::SaveSetting("Settings", "MainHeight", "3000");
        auto w = openMain();
        const QRect area = w->screen()->availableGeometry();
        QVERIFY2(area.contains(w->frameGeometry()), qPrintable(QString("%1,%2 %3x%4")
                                                               .arg(w->x()).arg(w->y()).arg(w->width())
                                                               .arg(w->height())));
    }

    void unloadStoresPlacement()
    {
        {
            auto w = openMain();
            w->move(90, 45);
            w->resize(480, 300);
            click(*w, "mnuFileExit");
            QVERIFY(!w->isVisible());
        }
        const double dx = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        QCOMPARE(stored("windowstate"), "0");
        QCOMPARE(stored("MainLeft"), QString::number(qRound(90 * 1440.0 / dx)));
        QCOMPARE(stored("MainWidth"), QString::number(qRound(480 * 1440.0 / dx)));
        // round trip: the next start puts the window back
        newContext();
        auto again = openMain();
        QCOMPARE(again->pos(), QPoint(90, 45));
        QCOMPARE(again->size(), QSize(480, 300));
        again->showMaximized();
        QVERIFY(QTest::qWaitFor([&] { return again->isMaximized(); }));
        const QSize maxSize = again->size();
        again->close();
        QCOMPARE(stored("windowstate"), "2");
        QCOMPARE(stored("MainWidth"), QString::number(qRound(maxSize.width() * 1440.0 / dx)));
    }

    // Opening a programming file: menu checks, the open editor's refresh, CyrillicMode.
    void openFile()
    {
        ProgrammingData file;
        file.ResetTables();
        file.LinkSettings.lineWidth = 32;
        file.LinkSettings.DisplayCyrillic = false;
        file.Departments[2].name = "Pekara      ";
        file.LinkSettings.port = 5;
        file.ProgrammingFilePath = folder() + "kasa.ini";
        QVERIFY(WriteProgrammingFile(file, m_prompter));
        test::RegSim sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        sim.usePort(5);

        auto w = openMain();
        auto *editor = new HookedWindow;
        editor->setObjectName("frmreparti");
        w->mdiArea()->addSubWindow(editor)->show();
        m_ctx->CurrentFormName = "frmreparti";
        m_prompter.answerFile(folder() + "kasa.ini");
        click(*w, "mnuFileOpen");

        QCOMPARE(m_prompter.dialogs.size(), size_t(1));
        QCOMPARE(m_prompter.dialogs[0].title, "Open");
        QCOMPARE(m_prompter.dialogs[0].folder, folder());
        QCOMPARE(m_ctx->data.ProgrammingFilePath, folder() + "kasa.ini");
        QCOMPARE(m_ctx->data.Departments[2].name, std::string("Pekara      "));
        QVERIFY(w->menuItem("mnuSirina")->isChecked());
        QVERIFY(!w->menuItem("useCir")->isChecked());
        QVERIFY(!m_ctx->data.CyrillicMode);
        QCOMPARE(editor->refreshed, 1);
        // the port was reopened with the file's settings
        QCOMPARE(m_prompter.texts(), QStringList({"OK"}));
        QCOMPARE(m_prompter.last().title, "Orvel Cash Registers");
        QCOMPARE(m_ctx->link.Testconnessione(), 0);

        // a port that cannot be opened: the file stays loaded
        file.LinkSettings.port = 7;
        QVERIFY(WriteProgrammingFile(file, m_prompter));
        qputenv("ZIB_COM7", QFile::encodeName(folder() + "no-such-line"));
        m_prompter.clear();
        m_prompter.answerFile(folder() + "kasa.ini");
        click(*w, "mnuFileOpen");
        QCOMPARE(m_ctx->data.LinkSettings.port, 7);
        QCOMPARE(m_prompter.last().text, "Komunikaciona linija nije dostupna");
        QCOMPARE(m_prompter.last().icon, Icon::Critical);

        // "Sirina 32" toggles back to 22 and re-limits the editor that cares
        m_ctx->CurrentFormName = "frmIntestazione";
        editor->setObjectName("frmIntestazione");
        click(*w, "mnuSirina");
        QVERIFY(!w->menuItem("mnuSirina")->isChecked());
        QCOMPARE(m_ctx->data.LinkSettings.lineWidth, 22);
        QCOMPARE(editor->relimited, 1);
        click(*w, "mnuSirina");
        QCOMPARE(m_ctx->data.LinkSettings.lineWidth, 32);
    }

    // A file that is not a programming file changes neither the data's path nor the menus.
    void openInvalidFileKeepsPath()
    {
        QFile junk(folder() + "other.ini");
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("[x]\r\ny=1\r\n");
        junk.close();
        auto w = openMain();
        m_ctx->data.ProgrammingFilePath = folder() + "kasa.ini";
        m_prompter.answerFile(folder() + "other.ini");
        click(*w, "mnuFileOpen");
        QCOMPARE(m_ctx->data.ProgrammingFilePath, folder() + "kasa.ini");
        QVERIFY(w->menuItem("useCir")->isChecked());
        QVERIFY(!m_prompter.prompts.empty()); // the reader said why

        // cancelling the dialog still copies the check into CyrillicMode
        m_ctx->data.CyrillicMode = false;
        click(*w, "mnuFileOpen");
        QVERIFY(m_ctx->data.CyrillicMode);
    }

    void saveAsCancelThenSave()
    {
        auto w = openMain();
        m_ctx->data.ProgrammingFilePath = folder() + "old.ini";
        click(*w, "mnufileSNome"); // no name given: Cancel
        QCOMPARE(m_prompter.dialogs.size(), size_t(1));
        QCOMPARE(m_prompter.dialogs[0].title, "Save As");
        QCOMPARE(m_prompter.dialogs[0].kind, FileDialogRequest::Save);
        QVERIFY(m_ctx->data.ProgrammingFilePath.isEmpty());
        QVERIFY(!QFile::exists(folder() + "old.ini"));

        m_prompter.answerFile(folder() + "new"); // typed without an extension
        click(*w, "mnusalva"); // asks again
        QCOMPARE(m_prompter.dialogs.size(), size_t(2));
        QCOMPARE(m_ctx->data.ProgrammingFilePath, folder() + "new.ini");
        QVERIFY(QFile::exists(folder() + "new.ini"));

        click(*w, "mnusalva"); // the name is known now
        QCOMPARE(m_prompter.dialogs.size(), size_t(2));
    }

    void linkMenus()
    {
        writeIni("[web1]\r\ncaption=  \r\nurl=https://skipped.example/\r\n"
                 "[web2]\r\ncaption=Prodavnica\r\nurl=https://example.org/shop\r\n"
                 "[web4]\r\ncaption=Uputstvo\r\nurl={app.path}\\docs\\uputstvo.pdf\r\n"
                 "[vla1]\r\ncaption=Zakon\r\nurl=https://example.org/zakon\r\n");
        newContext();
        auto w = openMain();
        QMenu *web = w->findChild<QMenu *>("mnuWeb");
        QCOMPARE(texts(web), QStringList({"(nema)", "Prodavnica", "Uputstvo"}));
        QCOMPARE(web->actions()[2]->property("index").toInt(), 3);
        QCOMPARE(web->actions()[2]->data().toString(), folder() + "docs/uputstvo.pdf");
        QCOMPARE(texts(w->findChild<QMenu *>("mnuBook1")), QStringList({"(nema)"}));
        QCOMPARE(texts(w->findChild<QMenu *>("mnuBook2")), QStringList({"Zakon"}));
        QCOMPARE(w->findChildren<QAction *>("mnuWebItem").size(), 3);

        web->actions()[0]->trigger(); // "(nema)": empty tag, opens nothing
        QVERIFY(m_urls.opened.isEmpty());
        web->actions()[2]->trigger();
        w->findChild<QMenu *>("mnuBook2")->actions()[0]->trigger();
        QCOMPARE(m_urls.opened, QList<QUrl>({QUrl::fromLocalFile(folder() + "docs/uputstvo.pdf"),
                                             QUrl("https://example.org/zakon")}));
    }

    void closeWindowsThenDisableFileItems()
    {
        auto w = openMain();
        QMdiArea *mdi = w->mdiArea();
        const QList<QMdiSubWindow *> before = mdi->subWindowList(QMdiArea::CreationOrder); // the panel
        auto *first = mdi->addSubWindow(new QWidget);
        first->show();
        auto *second = mdi->addSubWindow(new QWidget);
        second->show();
        click(*w, "mnuFileClose"); // the most recently loaded goes first
        QCOMPARE(mdi->subWindowList(QMdiArea::CreationOrder), before + QList<QMdiSubWindow *>({first}));
        for (int i = 0; i < 10 && !mdi->subWindowList().isEmpty(); ++i)
            click(*w, "mnuFileClose");
        QVERIFY(mdi->subWindowList().isEmpty());
        QVERIFY(w->menuItem("mnusalva")->isEnabled());
        w->menuItem("mnuFileOpen")->setEnabled(false);
        click(*w, "mnuFileClose"); // only the main window is left
        for (const char *name : {"mnusalva", "mnuFileClose", "mnufileSNome"})
            QVERIFY2(!w->menuItem(name)->isEnabled(), name);
        QVERIFY(w->menuItem("mnuFileOpen")->isEnabled());
        QVERIFY(w->menuItem("mnunuovo")->isEnabled());
        // a window opened again brings saving back
        mdi->addSubWindow(new QWidget)->show();
        QVERIFY(QTest::qWaitFor([&] { return w->menuItem("mnusalva")->isEnabled(); }));
        QVERIFY(w->menuItem("mnuFileClose")->isEnabled());
    }

    void cyrillicToggle()
    {
        writeIni("[application.rules]\r\nfontcyrilic=Helvetica Ciril\r\nfontlatin=Courier New\r\n");
        newContext();
        auto w = openMain();
        auto *editor = new HookedWindow;
        editor->setObjectName("frmPlu");
        w->mdiArea()->addSubWindow(editor)->show();
        m_ctx->CurrentFormName = "frmPlu";
        click(*w, "useCir");
        QVERIFY(!w->menuItem("useCir")->isChecked());
        QVERIFY(!m_ctx->data.CyrillicMode);
        QVERIFY(!m_ctx->data.LinkSettings.DisplayCyrillic);
        click(*w, "useCir");
        QVERIFY(m_ctx->data.CyrillicMode);
        QVERIFY(m_ctx->data.LinkSettings.DisplayCyrillic);
        QCOMPARE(editor->fonts, QStringList({"off:Courier New", "on:Helvetica Ciril"}));
    }

    void helpAndFontInstallerBoxes()
    {
        auto w = openMain();
        click(*w, "mnuHelpContents");
        click(*w, "mnuHelpSearchForHelpOn");
        const QString noHelp =
            "Ne moze se prikazati pomocni tekst. Nema pomocnih tekstova vezanih za ovaj projekat.";
        QCOMPARE(m_prompter.texts(), QStringList({noHelp, noHelp}));
        QCOMPARE(m_prompter.last().icon, Icon::Information);

        m_prompter.clear();
        click(*w, "mnuSysFntInt"); // No (the safe answer): nothing started
        QCOMPARE(m_prompter.prompts.size(), size_t(1));
        QCOMPARE(m_prompter.last().title, "Instalacija fontova");
        QCOMPARE(m_prompter.last().buttons, Buttons::YesNo);
        QCOMPARE(m_prompter.last().defaultAnswer, std::optional<Answer>(Answer::No));
        QVERIFY(m_prompter.last().text.startsWith("Da li stvarno zelite da instalirate fontova na vasem racunaru?\n\n"
                                                  "NAPOMENE: "));
        m_prompter.answer(Answer::Yes); // the installer is not in this program folder
        click(*w, "mnuSysFntInt");
        QCOMPARE(m_prompter.last().text, "Runek nije instaliran na vasem racunaru.");
    }

    void rightClickOnEmptyClientAreaPopsUpFileMenu()
    {
        auto w = openMain();
        QWidget *viewport = w->mdiArea()->viewport();
        // the bottom-right corner: right of the navigation panel, under no window
        const QPoint at(viewport->width() - 3, viewport->height() - 3);
        QVERIFY(!viewport->childAt(at));
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QCoreApplication::sendEvent(viewport, &event);
        QMenu *file = w->fileMenu();
        QVERIFY(QTest::qWaitFor([&] { return file->isVisible(); }));
        file->close();
    }

    void rasporedListsAndTilesWindows()
    {
        auto w = openMain();
        QMdiArea *mdi = w->mdiArea();
        auto *a = mdi->addSubWindow(new QWidget);
        a->setWindowTitle("Odeljenja");
        a->show();
        auto *b = mdi->addSubWindow(new QWidget);
        b->setWindowTitle("Kasiri");
        b->show();
        QMenu *menu = w->findChild<QMenu *>("mnuWindow");
        emit menu->aboutToShow();
        const QStringList t = texts(menu);
        const int n = int(mdi->subWindowList().size());
        QCOMPARE(t.mid(t.size() - 2),
                 QStringList({QString("&%1 Odeljenja").arg(n - 1), QString("&%1 Kasiri").arg(n)}));
        menu->actions()[t.size() - 2]->trigger();
        QCOMPARE(mdi->activeSubWindow(), a);
        emit menu->aboutToShow(); // rebuilt, not appended twice
        QCOMPARE(texts(menu).size(), t.size());

        // tiling shares the client area out without overlap
        const QRect area = mdi->viewport()->rect();
        click(*w, "mnuWindowTileHorizontal"); // one above the other, full width
        int height = 0;
        for (QMdiSubWindow *s : mdi->subWindowList()) {
            QCOMPARE(s->geometry().left(), 0);
            QCOMPARE(s->width(), area.width());
            height += s->height();
        }
        QCOMPARE(height, area.height());
        QVERIFY(!a->geometry().intersects(b->geometry()));
        click(*w, "mnuWindowTileVertical"); // side by side, full height
        int width = 0;
        for (QMdiSubWindow *s : mdi->subWindowList()) {
            QCOMPARE(s->geometry().top(), 0);
            QCOMPARE(s->height(), area.height());
            width += s->width();
        }
        QCOMPARE(width, area.width());
        QVERIFY(!a->geometry().intersects(b->geometry()));
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmmain_test.moc"
