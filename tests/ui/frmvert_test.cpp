// The navigation panel inside the real main window (offscreen): its place at the left edge,
// its saved design, and what an item click closes, opens, refuses or tests.
#include "RegSim.h"
#include "TestSupport.h"

#include "LamriBar.h"
#include "shell/AppContext.h"
#include "shell/AppGlobals.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmvert.h"

#include <QCloseEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kalvo;

namespace {

// A work window as far as the panel is concerned: it names itself on load, as the real
// windows do, and may refuse to close (a run in progress).
class WorkWindow : public QWidget {
public:
    WorkWindow(AppContext &ctx, const QString &name, bool refuseClose = false) : m_refuse(refuseClose)
    {
        setObjectName(name);
        setWindowTitle(name);
        resize(300, 200);
        ctx.CurrentFormName = name;
    }

protected:
    void closeEvent(QCloseEvent *event) override { event->setAccepted(!m_refuse); }

private:
    bool m_refuse;
};

frmvert::Opener opens(const QString &name, bool refuseClose = false)
{
    return [name, refuseClose](AppContext &c) -> QWidget * { return new WorkWindow(c, name, refuseClose); };
}

struct ItemRow {
    int menu, item;
    const char *caption, *key;
};

// The side menu as the operator must see it (captions, keys; the tag equals the key).
const ItemRow kItems[] = {
    {1, 1, "Zaglavlje Isecka", "Zaglavlje"}, {1, 2, "Odeljenja", "Odeljenje"}, {1, 3, "Artikli", "PLU"},
    {1, 4, "Kasiri", "Kasiri"}, {1, 5, "Opsti Podaci", "Sisitem"}, {1, 6, "Valute", "Valute"},
    {1, 7, "Reklamna Poruka", "Poruka"}, {1, 8, "Jedinice Mere", "JM"}, {1, 9, "Tipovi Artikala", "TA"},
    {2, 1, "Konekcija", "AP"}, {2, 2, "Provera Veze", "TC"}, {2, 3, "Slanje Grafickog Loga", "SG"},
    {2, 4, "Slanje Podataka", "SD"}, {2, 5, "Prijem Podataka", "RD"},
    {2, 6, "Citanje Fiskalne Memorije", "RFM"}, {2, 7, "Citanje Programa", "RP"},
    {2, 8, "Emulacija Tastature", "ET"},
    {3, 1, "Artikli", "PS"}, {3, 2, "Prodati Artikli", "PS"}, {3, 3, "Odeljenja", "DS"},
    {3, 4, "Kasiri", "CS"}, {3, 5, "Poreske Stope", "VS"},
};

} // namespace

class FrmvertTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;

    QString folder() const { return m_dir->path() + "/"; }

    std::unique_ptr<frmMain> openMain()
    {
        auto w = std::make_unique<frmMain>(*m_ctx);
        w->show();
        w->resize(1000, 900); // room for the longest menu without scrolling
        return w;
    }

    static frmvert *panel(frmMain &w)
    {
        frmvert *nav = frmvert::find(w.mdiArea());
        if (!nav)
            qWarning("no navigation panel");
        return nav;
    }

    // Clicks an item with the mouse as the operator does: the menu's button first when
    // another menu is open, then press and release on the item.
    static void clickItem(frmvert *nav, int menu, int item)
    {
        LamriBar *bar = nav->LamriBar1();
        if (bar->MenuCorrente() != menu) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->menuButtonRect(menu).center());
            bar->finishAnimation();
        }
        QCOMPARE(bar->MenuCorrente(), menu);
        const QRect r = bar->itemHitRect(item);
        QVERIFY2(!r.isNull(), "item not shown");
        QTest::mouseClick(bar, Qt::LeftButton, {}, r.center());
    }

    // Open work windows (every sub-window but the panel's), by name.
    static QStringList workWindows(frmMain &w)
    {
        QStringList names;
        for (QMdiSubWindow *sub : w.mdiArea()->subWindowList(QMdiArea::CreationOrder))
            if (sub->isVisible() && sub->widget() && !qobject_cast<frmvert *>(sub->widget()))
                names << sub->widget()->objectName();
        return names;
    }

    static QMdiSubWindow *subOf(frmMain &w, const QString &name)
    {
        for (QMdiSubWindow *sub : w.mdiArea()->subWindowList())
            if (sub->isVisible() && sub->widget() && sub->widget()->objectName() == name)
                return sub;
        return nullptr;
    }

    static void addFromMainMenu(frmMain &w, AppContext &ctx, const QString &name)
    {
        w.mdiArea()->addSubWindow(new WorkWindow(ctx, name))->show();
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder() + "user");
        QFile ini(folder() + "Kalvo.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[database]\r\nconnectionstring=Driver=QSQLITE;Database={app.path}\\kalvo.db\r\n");
        ini.close();
        m_prompter.clear();
        m_ctx = std::make_unique<AppContext>();
        m_ctx->appFolder = folder();
        m_ctx->prompter = &m_prompter;
        m_ctx->link.setLibraryPath(test::binDir() + "libZibDll.so");
        LoadSettings(*m_ctx);
    }

    // Created by the main window's first resize, at the left edge, as high as the client
    // area, its control filling it; kept there on every resize; made again after "&Zatvori"
    // closed it.
    void panelStaysAtLeftEdge()
    {
        auto w = openMain();
        QVERIFY(m_prompter.prompts.empty());
        frmvert *nav = panel(*w);
        QVERIFY(nav);
        QCOMPARE(m_ctx->CurrentFormName, QString("ne"));
        QCOMPARE(nav->frame()->windowTitle(), QString("Meni"));
        QCOMPARE(nav->LamriBar1()->objectName(), QString("LamriBar1"));

        const QPointer<frmvert> first(nav);
        for (const QSize size : {QSize(1000, 900), QSize(640, 480), QSize(1200, 300), QSize(800, 700)}) {
            w->resize(size);
            QCOMPARE(panel(*w), first.data());
            const QRect frame = nav->frame()->geometry();
            QCOMPARE(frame.topLeft(), QPoint(0, 0));
            QCOMPARE(frame.height(), w->mdiArea()->viewport()->height());
            QCOMPARE(nav->LamriBar1()->geometry(), nav->rect());
            QCOMPARE(nav->LamriBar1()->width(), nav->controlWidth());
        }
        // every caption fits the control
        const QFontMetrics fm = nav->LamriBar1()->fontMetrics();
        for (const ItemRow &row : kItems)
            QVERIFY2(fm.horizontalAdvance(row.caption) < nav->LamriBar1()->width(), row.caption);

        w->menuItem("mnuFileClose")->trigger(); // the panel is the last loaded window
        QVERIFY(!panel(*w));
        w->resize(900, 800);
        QVERIFY(panel(*w));
        QCOMPARE(panel(*w)->frame()->pos(), QPoint(0, 0));
    }

    // Loading the saved design gives every menu, caption, key, tag and an icon of its own,
    // and opens the start-up menu.
    void designHoldsTheMenus()
    {
        frmvert nav(*m_ctx, nullptr);
        const LamriBar *bar = nav.LamriBar1();
        QCOMPARE(bar->MenuMax(), 3);
        QCOMPARE(bar->MenuAvvio(), 1);
        QCOMPARE(bar->MenuCorrente(), 1);
        QCOMPARE(bar->menuCaption(1), QString("Programski Podaci"));
        QCOMPARE(bar->menuCaption(2), QString("Komunikacija"));
        QCOMPARE(bar->menuCaption(3), QString("Prodajnost"));
        QCOMPARE(bar->menuItemCount(1), 9);
        QCOMPARE(bar->menuItemCount(2), 8);
        QCOMPARE(bar->menuItemCount(3), 5);

        QList<QImage> icons;
        for (const ItemRow &row : kItems) {
            const QString where = QString("%1.%2").arg(row.menu).arg(row.item);
            QCOMPARE(bar->itemCaption(row.menu, row.item), QString(row.caption));
            QCOMPARE(bar->itemKey(row.menu, row.item), QString(row.key));
            QCOMPARE(bar->itemTag(row.menu, row.item), QString(row.key));
            const QImage icon = bar->itemIcon(row.menu, row.item);
            QVERIFY2(icon.size() == QSize(32, 32), qPrintable(where));
            QVERIFY2(icon.convertToFormat(QImage::Format_ARGB32) !=
                         bar->defaultIcon().convertToFormat(QImage::Format_ARGB32),
                     qPrintable(where + " has the default icon"));
            icons << icon.convertToFormat(QImage::Format_ARGB32);
        }
        for (int i = 0; i < icons.size(); ++i)
            for (int j = i + 1; j < icons.size(); ++j)
                QVERIFY2(icons[i] != icons[j], qPrintable(QString("icons %1 and %2 are the same").arg(i).arg(j)));
    }

    // A click closes the logo preview and every work window, however opened, then opens
    // the item's window right of the panel, level with the top of the client area.
    void clickClosesOthersAndOpensBeside_data()
    {
        QTest::addColumn<QStringList>("fromPanel");   // opened through the panel, in order
        QTest::addColumn<QStringList>("fromMenu");    // opened otherwise (main menu, preview)
        QTest::addRow("send while the line window is open") << QStringList{"frmcomline"} << QStringList{};
        QTest::addRow("two work windows") << QStringList{"frmcomline"} << QStringList{"frmReadFiscal"};
        QTest::addRow("logo preview") << QStringList{} << QStringList{"frmDocument", "frmGraphicLogo"};
        QTest::addRow("nothing open") << QStringList{} << QStringList{};
    }

    void clickClosesOthersAndOpensBeside()
    {
        QFETCH(QStringList, fromPanel);
        QFETCH(QStringList, fromMenu);
        auto w = openMain();
        frmvert *nav = panel(*w);
        QVERIFY(nav);
        // the real line and send windows
        for (const QString &name : fromPanel) {
            QCOMPARE(name, QString("frmcomline"));
            clickItem(nav, 2, 1);
        }
        for (const QString &name : fromMenu)
            addFromMainMenu(*w, *m_ctx, name);
        QCOMPARE(workWindows(*w).size(), fromPanel.size() + fromMenu.size());

        clickItem(nav, 2, 4); // "Slanje Podataka"
        QCOMPARE(workWindows(*w), QStringList{"frmtrasm"});
        QCOMPARE(m_ctx->CurrentFormName, QString("frmtrasm"));
        QMdiSubWindow *send = subOf(*w, "frmtrasm");
        const QRect me = nav->frame()->geometry();
        QCOMPARE(send->pos(), QPoint(me.x() + me.width(), me.y()));
        QVERIFY(m_prompter.prompts.empty());
        QVERIFY(panel(*w) == nav && nav->frame()->isVisible());
    }

    // An item whose window is not wired in opens nothing but still closes the others; a
    // window that refuses to close keeps the new one from opening.
    void unwiredAndRefusingWindows()
    {
        auto w = openMain();
        frmvert *nav = panel(*w);
        nav->setOpener(2, 1, opens("frmcomline"));
        clickItem(nav, 2, 1);
        nav->setOpener(2, 1, {});
        clickItem(nav, 2, 1);
        QVERIFY(workWindows(*w).isEmpty());

        nav->setOpener(2, 5, opens("frmRicevi", true));
        nav->setOpener(2, 4, opens("frmtrasm"));
        clickItem(nav, 2, 5);
        clickItem(nav, 2, 4);
        QCOMPARE(workWindows(*w), QStringList{"frmRicevi"});
        QVERIFY(m_prompter.prompts.empty());
    }

    // The remote keyboard is refused over a modem, after the open window was closed.
    void keyboardOverModem_data()
    {
        QTest::addColumn<bool>("modem");
        QTest::addRow("modem line") << true;
        QTest::addRow("direct line") << false;
    }

    void keyboardOverModem()
    {
        QFETCH(bool, modem);
        auto w = openMain();
        frmvert *nav = panel(*w);
        nav->setOpener(2, 8, opens("frmkeyboard"));
        clickItem(nav, 2, 1);
        m_ctx->link.ModemLink = modem;
        clickItem(nav, 2, 8);
        if (modem) {
            QVERIFY(workWindows(*w).isEmpty());
            QCOMPARE(m_prompter.prompts.size(), size_t(1));
            QCOMPARE(m_prompter.last().text, QString("Ova opcija nije dozvoljena u modemskoj komunikaciji!"));
            QCOMPARE(m_prompter.last().title, QString("Orvel Cash Registers"));
            QCOMPARE(m_prompter.last().icon, Icon::Exclamation);
        } else {
            QCOMPARE(workWindows(*w), QStringList{"frmkeyboard"});
            QVERIFY(m_prompter.prompts.empty());
        }
    }

    // "Provera Veze" with no port open: only the library's own message, on either line.
    void linkTestWithoutPort_data()
    {
        QTest::addColumn<bool>("modem");
        QTest::addRow("direct") << false;
        QTest::addRow("modem") << true;
    }

    void linkTestWithoutPort()
    {
        QFETCH(bool, modem);
        auto w = openMain();
        m_ctx->link.ModemLink = modem;
        clickItem(panel(*w), 2, 2);
        QCOMPARE(m_prompter.texts(), QStringList{"Podesite vezu i pokusajte ponovo!"});
        QCOMPARE(m_prompter.last().title, QString("ZibDll"));
        QVERIFY(workWindows(*w).isEmpty());
    }

    void linkTestAnswered()
    {
        test::RegSim sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        sim.usePort(2);
        auto w = openMain();
        QCOMPARE(m_ctx->link.Init_RS232bd(2, 9600), 0);
        clickItem(panel(*w), 2, 2);
        QCOMPARE(m_prompter.texts(), QStringList{"Veza je u redu!"});
        QCOMPARE(m_prompter.last().title, QString("Kalvo"));
        QCOMPARE(m_prompter.last().icon, Icon::Exclamation);
        QCOMPARE(sim.payloads(), QList<QByteArray>{"T"});
        m_ctx->link.Close_RS232();
    }

    // A run-time error (here: no link library) is reported by ShowError and ends the click.
    void runtimeErrorIsShown()
    {
        auto w = openMain();
        m_ctx->link.setLibraryPath(folder() + "missing/libZibDll.so");
        clickItem(panel(*w), 2, 2);
        QCOMPARE(m_prompter.prompts.size(), size_t(1));
        QCOMPARE(m_prompter.last().title,
                 QString("Orvel Cash Registers(Sender:='frmvert.LamriBar1_MenuItemClick()')"));
        QVERIFY2(m_prompter.last().text.startsWith(QString::number(kErrLinkLibrary) + " - "),
                 qPrintable(m_prompter.last().text));
        QCOMPARE(m_prompter.last().icon, Icon::Critical);
    }
};

QTEST_MAIN(FrmvertTest)
#include "frmvert_test.moc"
