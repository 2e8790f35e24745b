#include "shell/ui/frmMain.h"

#include "data/ArticleStore.h"
#include "data/ProgrammingFile.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/MainWindowLoad.h"
#include "shell/UserStore.h"
#include "shell/ui/AppGlobalsUi.h"
#include "shell/ui/WindowHooks.h"
#include "shell/ui/frmAbout.h"
#include "shell/ui/frmvert.h"
#include "shell/ScreenFonts.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>

#include <limits>

static void initShellResources()
{
    Q_INIT_RESOURCE(frmMain);
}

namespace kalvo {

namespace {

constexpr char kSettings[] = "Settings";
// code shown for an error that is not an AppError (an internal failure)
constexpr qint32 kErrInternal = 51;

const QString kNoHelp = QStringLiteral(
    "Ne moze se prikazati pomocni tekst. Nema pomocnih tekstova vezanih za ovaj projekat.");

QString appTitle() { return QString::fromLatin1(kAppTitle); }

// The screen the window is on (or the primary one).
QScreen *screenOf(const QWidget *w)
{
    QScreen *s = w->screen();
    return s ? s : QGuiApplication::primaryScreen();
}

} // namespace

frmMain::frmMain(AppContext &context, QWidget *parent)
    : QMainWindow(parent), m_ctx(context), m_mdi(new QMdiArea(this))
{
    initShellResources();
    setObjectName("frmMain");
    setWindowIcon(QIcon(QStringLiteral(":/shell/kalvo.png")));
    m_mdi->setObjectName("MDIClient");
    setCentralWidget(m_mdi);
    buildMenus();

    auto *bar = new QStatusBar(this);
    bar->setObjectName("sbStatusBar");
    setStatusBar(bar);

    // A right click on the empty client area pops up "Datoteke".
    m_mdi->viewport()->installEventFilter(this);

    // Saving only makes sense while a window can still be opened; whenever one is
    // (again), the file commands that "&Zatvori" disabled come back.
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *w) {
        if (!w)
            return;
        for (const char *name : {"mnusalva", "mnufileSNome", "mnuFileClose"})
            menuItem(QString::fromLatin1(name))->setEnabled(true);
    });
}

QAction *frmMain::addItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction *frmMain::addSeparator(QMenu *menu, const char *name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction *frmMain::menuItem(const QString &name) const
{
    return findChild<QAction *>(name);
}

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();

    // ---- Datoteke ----
    m_fileMenu = bar->addMenu(QStringLiteral("&Datoteke"));
    m_fileMenu->setObjectName("mnufile");
    m_fileMenu->menuAction()->setObjectName("mnufile");
    addItem(m_fileMenu, "mnunuovo", QStringLiteral("&Nova"));
    connect(addItem(m_fileMenu, "mnuFileOpen", QStringLiteral("&Otvori")), &QAction::triggered, this,
            [this] { run("mnuFileOpen_Click", [this] { mnuFileOpen_Click(); }); });
    connect(addItem(m_fileMenu, "mnusalva", QStringLiteral("&Sacuvaj")), &QAction::triggered, this,
            [this] { run("mnusalva_Click", [this] { mnusalva_Click(); }); });
    connect(addItem(m_fileMenu, "mnufileSNome", QStringLiteral("Sacuvaj Pod Imenom")), &QAction::triggered,
            this, [this] { run("mnufileSNome_Click", [this] { mnufileSNome_Click(); }); });
    connect(addItem(m_fileMenu, "mnuFileClose", QStringLiteral("&Zatvori")), &QAction::triggered, this,
            [this] { run("mnuFileClose_Click", [this] { mnuFileClose_Click(); }); });
    addSeparator(m_fileMenu, "mnuFileBar2");
    QAction *sirina = addItem(m_fileMenu, "mnuSirina", QStringLiteral("Sirina 32"));
    sirina->setCheckable(true);
    connect(sirina, &QAction::triggered, this, [this] { run("mnuSirina_Click", [this] { mnuSirina_Click(); }); });
    connect(addItem(m_fileMenu, "mnuFilePrint", QStringLiteral("Stampa")), &QAction::triggered, this,
            [this] { run("mnuFilePrint_Click", [this] { mnuFilePrint_Click(); }); });
    addSeparator(m_fileMenu, "mnuFileBar3");
    QAction *cir = addItem(m_fileMenu, "useCir", QStringLiteral("Cirilica"));
    cir->setCheckable(true);
    connect(cir, &QAction::triggered, this, [this] { run("useCir_Click", [this] { useCir_Click(); }); });
    connect(addItem(m_fileMenu, "mnudirdef", QStringLiteral("Veza po postavci")), &QAction::triggered, this,
            [this] { run("mnudirdef_Click", [this] { mnudirdef_Click(); }); });
    addSeparator(m_fileMenu, "mnuspa");
    addSeparator(m_fileMenu, "mnuFileBar5");
    connect(addItem(m_fileMenu, "mnuFileExit", QStringLiteral("&Izlaz")), &QAction::triggered, this,
            [this] { close(); });

    // ---- Raspored ----
    m_windowMenu = bar->addMenu(QStringLiteral("Raspored"));
    m_windowMenu->setObjectName("mnuWindow");
    m_windowMenu->menuAction()->setObjectName("mnuWindow");
    addItem(m_windowMenu, "mnuProzori", QStringLiteral("Aktivni prozori..."));
    connect(addItem(m_windowMenu, "mnuWindowCascade", QStringLiteral("Kaskadno")), &QAction::triggered,
            m_mdi, &QMdiArea::cascadeSubWindows);
    connect(addItem(m_windowMenu, "mnuWindowTileHorizontal", QStringLiteral("Po Horizontali")),
            &QAction::triggered, this, [this] { tile(Qt::Vertical); });
    connect(addItem(m_windowMenu, "mnuWindowTileVertical", QStringLiteral("Po Vertikali")),
            &QAction::triggered, this, [this] { tile(Qt::Horizontal); });
    addSeparator(m_windowMenu, "mnucR");
    connect(addItem(m_windowMenu, "mnuWindowArrangeIcons", QStringLiteral("Rasporedi ikonice")),
            &QAction::triggered, this, [this] { run("mnuWindowArrangeIcons_Click", [this] { mnuWindowArrangeIcons_Click(); }); });
    connect(m_windowMenu, &QMenu::aboutToShow, this, [this] { rebuildWindowList(); });

    // ---- Pomoc ----
    QMenu *help = bar->addMenu(QStringLiteral("Pomoc"));
    help->setObjectName("mnuHelp0");
    help->menuAction()->setObjectName("mnuHelp0");
    connect(addItem(help, "mnuHelpContents", QStringLiteral("Sadrzaj")), &QAction::triggered, this,
            [this] { run("mnuHelpContents_Click", [this] { mnuHelpContents_Click(); }); });
    connect(addItem(help, "mnuHelpSearchForHelpOn", QStringLiteral("Pomoc potrazi na ...")),
            &QAction::triggered, this, [this] { run("mnuHelpContents_Click", [this] { mnuHelpContents_Click(); }); });
    m_book1 = help->addMenu(QStringLiteral("Korisnicka uputstva"));
    m_book1->setObjectName("mnuBook1");
    m_book1->menuAction()->setObjectName("mnuBook1");
    m_book2 = help->addMenu(QStringLiteral("Dokumenta Vlade republike Srbije"));
    m_book2->setObjectName("mnuBook2");
    m_book2->menuAction()->setObjectName("mnuBook2");
    addSeparator(help, "mnuCrt01");
    m_web = help->addMenu(QStringLiteral("Na Internetu..."));
    m_web->setObjectName("mnuWeb");
    m_web->menuAction()->setObjectName("mnuWeb");
    for (auto [menu, array] : {std::pair{m_book1, "mnuBook1Item"}, std::pair{m_book2, "mnuBook2Item"},
                               std::pair{m_web, "mnuWebItem"}}) {
        QAction *none = addItem(menu, array, QStringLiteral("(nema)"));
        none->setProperty("index", 0);
        connect(menu, &QMenu::triggered, this,
                [this](QAction *a) { run("mnuLinkItem_Click", [this, a] { mnuLinkItem_Click(a); }); });
    }
    addSeparator(help, "mnuCrt");
    connect(addItem(help, "mnuSysFntInt", QStringLiteral("Instalacija Cirilicnih Fontova...")),
            &QAction::triggered, this, [this] { run("mnuSysFntInt_Click", [this] { mnuSysFntInt_Click(); }); });
    addSeparator(help, "mnuHelpBar0");
    connect(addItem(help, "mnuHelpAbout", QStringLiteral("O programu...")), &QAction::triggered, this,
            [this] { run("mnuHelpAbout_Click", [this] { mnuHelpAbout_Click(); }); });
}

void frmMain::rebuildWindowList()
{
    for (QAction *a : std::as_const(m_windowListItems)) {
        m_windowMenu->removeAction(a);
        delete a;
    }
    m_windowListItems.clear();
    const QList<QMdiSubWindow *> list = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (list.isEmpty())
        return;
    m_windowListItems << m_windowMenu->addSeparator();
    int n = 0;
    for (QMdiSubWindow *w : list) {
        QString title = w->windowTitle();
        if (title.isEmpty() && w->widget())
            title = w->widget()->windowTitle();
        title.replace('&', QStringLiteral("&&"));
        QAction *a = m_windowMenu->addAction(n < 9 ? QStringLiteral("&%1 %2").arg(n + 1).arg(title) : title);
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        QPointer<QMdiSubWindow> target(w);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target)
                m_mdi->setActiveSubWindow(target);
        });
        m_windowListItems << a;
        ++n;
    }
}

void frmMain::tile(Qt::Orientation direction)
{
    // "Po Horizontali": one above the other, each the full width;
    // "Po Vertikali": side by side, each the full height
    QList<QMdiSubWindow *> shown;
    for (QMdiSubWindow *w : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (w->isVisible() && !w->isMinimized())
            shown << w;
    if (shown.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = int(shown.size());
    for (int i = 0; i < n; ++i) {
        shown[i]->showNormal();
        if (direction == Qt::Horizontal) {
            const int left = area.width() * i / n, right = area.width() * (i + 1) / n;
            shown[i]->setGeometry(left, 0, std::max(1, right - left), area.height());
        } else {
            const int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
            shown[i]->setGeometry(0, top, area.width(), std::max(1, bottom - top));
        }
    }
}

void frmMain::mnuWindowArrangeIcons_Click()
{
    // minimised children in a row along the bottom of the client area
    const QRect area = m_mdi->viewport()->rect();
    int x = 0;
    int y = area.bottom() + 1;
    for (QMdiSubWindow *w : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        const QSize s = w->size();
        if (x > 0 && x + s.width() > area.width()) {
            x = 0;
            y -= s.height();
        }
        w->move(x, y - s.height());
        x += s.width();
    }
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mdi->viewport() && event->type() == QEvent::ContextMenu) {
        auto *e = static_cast<QContextMenuEvent *>(event);
        if (!m_mdi->viewport()->childAt(e->pos())) {
            m_fileMenu->popup(e->globalPos());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- load and unload

void frmMain::setVisible(bool visible)
{
    const bool first = visible && !m_loaded;
    if (first) {
        m_loaded = true;
        Form_Load();
    }
    QMainWindow::setVisible(visible);
    if (first && windowState() == Qt::WindowNoState) {
        // the frame is known now: keep the whole window, frame included, on a screen
        QList<QRect> areas;
        for (QScreen *s : QGuiApplication::screens())
            areas << s->availableGeometry();
        const QRect frame = frameGeometry();
        const QRect fitted = FitOnScreens(frame, areas);
        if (fitted != frame) {
            move(fitted.topLeft());
            resize(size() - (frame.size() - fitted.size()));
        }
    }
}

void frmMain::Form_Load()
{
    try {
        // 1. caption
        setWindowTitle(QStringLiteral("Kalvo Ver. ") + VersionText() + QStringLiteral(" - Orvel Cash Registers"));
        // 2. state and placement
        restorePlacement();
        // 3. start-up tables: lines, register parameters, departments, operators
        ProgrammingData &data = m_ctx.data;
        data.ResetTables();
        // 4. menu checks and link defaults (DisplayCyrillic, port 1, width 22, atdp, 9600)
        menuItem("useCir")->setChecked(true);
        menuItem("mnuSirina")->setChecked(false);
        data.ResetLinkSettings(m_ctx.settings.atdp.toStdString());
        // 5. close any open port
        m_ctx.link.Close_RS232();
        // 6.-7. the line settings remembered in the PORT row reopen the port
        const ArticleStore store(m_ctx.settings.connectionString);
        if (const std::optional<PortSettings> row = store.loadPort()) {
            LinkSettings &link = data.LinkSettings;
            link.baudRate = row->baudRate;
            if (row->port >= std::numeric_limits<std::int16_t>::min() &&
                row->port <= std::numeric_limits<std::int16_t>::max())
                link.port = std::int16_t(row->port);
            link.phoneNumber = row->phoneNumber.toStdString();
            link.dialMode = row->dialMode.toStdString();
            // the result is not checked here: a busy port has said so itself
            m_ctx.link.Init_RS232bd(row->port, row->baudRate);
        }
        // 8. a read-back list never survives a restart
        store.clearReadBackLists();
        // 9. Cyrillic flags and start-up names
        data.CyrillicFormFlags.setAll(true);
        data.ResetUnitNames();
        data.ResetArticleTypeNames();
        data.ResetDepartmentNames();
        // 10. direct line
        m_ctx.link.ModemLink = false;
        // 11. document links
        fillLinkMenu(m_web, QStringLiteral("mnuWebItem"), QStringLiteral("web"));
        fillLinkMenu(m_book1, QStringLiteral("mnuBook1Item"), QStringLiteral("kor"));
        fillLinkMenu(m_book2, QStringLiteral("mnuBook2Item"), QStringLiteral("vla"));
        // 12. CyrillicMode follows the menu check
        data.CyrillicMode = menuItem("useCir")->isChecked();
    } catch (const AppError &e) {
        ShowError(e, QStringLiteral("frmMain") + QStringLiteral(".Form_Load()"), m_ctx.ui());
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())),
                  QStringLiteral("frmMain") + QStringLiteral(".Form_Load()"), m_ctx.ui());
    }
}

void frmMain::fillLinkMenu(QMenu *menu, const QString &arrayName, const QString &prefix)
{
    for (const MenuLink &link : LoadMenuLinks(m_ctx, prefix)) {
        QAction *item = nullptr;
        if (link.index == 0) {
            item = menu->actions().value(0);
        } else {
            // elements are kept in index order; gaps stay gaps
            QAction *before = nullptr;
            for (QAction *a : menu->actions()) {
                if (a->property("index").toInt() > link.index) {
                    before = a;
                    break;
                }
            }
            item = new QAction(menu);
            item->setObjectName(arrayName);
            item->setProperty("index", link.index);
            menu->insertAction(before, item);
        }
        item->setText(link.caption);
        item->setData(link.url);
        item->setEnabled(true);
    }
}

void frmMain::restorePlacement()
{
    const StoredPlacement p = ParsePlacement(
        UserStore::GetSetting(kSettings, "windowstate", "0"), UserStore::GetSetting(kSettings, "MainLeft", "1000"),
        UserStore::GetSetting(kSettings, "MainTop", "1000"), UserStore::GetSetting(kSettings, "MainWidth", "6500"),
        UserStore::GetSetting(kSettings, "MainHeight", "6500"));
    QScreen *screen = screenOf(this);
    const double dpiX = screen ? screen->logicalDotsPerInchX() : 96;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : 96;
    if (p.state == StoredWindowState::Normal) {
        QRect r(TwipsToPixels(p.left, dpiX), TwipsToPixels(p.top, dpiY), TwipsToPixels(p.width, dpiX),
                TwipsToPixels(p.height, dpiY));
        QList<QRect> areas;
        for (QScreen *s : QGuiApplication::screens())
            areas << s->availableGeometry();
        r = FitOnScreens(r, areas);
        move(r.topLeft());
        resize(r.size());
        setWindowState(Qt::WindowNoState);
    } else if (p.state == StoredWindowState::Maximised) {
        setWindowState(Qt::WindowMaximized);
    } else {
        setWindowState(Qt::WindowMinimized);
    }
}

void frmMain::storePlacement()
{
    QScreen *screen = screenOf(this);
    const double dpiX = screen ? screen->logicalDotsPerInchX() : 96;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : 96;
    const QPoint at = pos();
    const QSize size = this->size();
    auto text = [](double twips) { return QString::number(qint64(twips)); };
    UserStore::SaveSetting(kSettings, "MainLeft", text(PixelsToTwips(at.x(), dpiX)));
    UserStore::SaveSetting(kSettings, "MainTop", text(PixelsToTwips(at.y(), dpiY)));
    UserStore::SaveSetting(kSettings, "MainWidth", text(PixelsToTwips(size.width(), dpiX)));
    UserStore::SaveSetting(kSettings, "MainHeight", text(PixelsToTwips(size.height(), dpiY)));
    int state = 0;
    if (windowState() & Qt::WindowMinimized)
        state = 1;
    else if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        state = 2;
    UserStore::SaveSetting(kSettings, "windowstate", QString::number(state));
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    frmvert::Arrange(m_ctx, m_mdi);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded) {
        m_unloaded = true;
        storePlacement();
        try {
            m_ctx.link.Close_RS232();
        } catch (const std::exception &) {
            // leaving the program: a link library that cannot be loaded has no port open
        }
    }
    QMainWindow::closeEvent(event);
}

// ---------------------------------------------------------------- commands

void frmMain::run(const char *routine, const std::function<void()> &handler)
{
    const QString sender = QStringLiteral("frmMain.") + QString::fromLatin1(routine) + QStringLiteral("()");
    try {
        handler();
    } catch (const AppError &e) {
        ShowError(e, sender, m_ctx.ui());
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), sender, m_ctx.ui());
    }
}

QWidget *frmMain::currentForm() const
{
    if (m_ctx.CurrentFormName.isEmpty())
        return nullptr;
    return findChild<QWidget *>(m_ctx.CurrentFormName);
}

void frmMain::mnuFileOpen_Click()
{
    FileDialogRequest req;
    req.kind = FileDialogRequest::Open;
    req.title = QStringLiteral("Open");
    req.folder = m_ctx.appFolder;
    req.filter = QStringLiteral("All Files (*.ini)");
    const QString path = m_ctx.ui().openFileName(req);
    ProgrammingData &data = m_ctx.data;
    if (!path.isEmpty()) {
        const QString previous = data.ProgrammingFilePath;
        data.ProgrammingFilePath = path;
        if (ReadProgrammingFile(data, m_ctx.ui())) {
            menuItem("useCir")->setChecked(data.LinkSettings.DisplayCyrillic);
            menuItem("mnuSirina")->setChecked(data.LinkSettings.lineWidth == 32);
            static const QStringList refreshed = {"frmadvertize", "frmIntestazione", "frmoperatori", "frmreparti",
                                                  "frmValuta",    "frmsistema",      "frmcomline"};
            if (refreshed.contains(m_ctx.CurrentFormName))
                if (auto *w = dynamic_cast<RefreshableWindow *>(currentForm()))
                    w->refreshFromData();
            // reopen the port with the file's line settings
            m_ctx.link.Close_RS232();
            if (m_ctx.link.Init_RS232bd(data.LinkSettings.port, data.LinkSettings.baudRate) == 0)
                m_ctx.ui().tell(QStringLiteral("OK"), appTitle());
            else
                m_ctx.ui().tell(QStringLiteral("Komunikaciona linija nije dostupna"), appTitle(), Icon::Critical);
        } else {
            // a file that is not a programming file must not become the target of "&Sacuvaj"
            data.ProgrammingFilePath = previous;
        }
    }
    data.CyrillicMode = menuItem("useCir")->isChecked();
}

void frmMain::save_file()
{
    ProgrammingData &data = m_ctx.data;
    if (data.ProgrammingFilePath.isEmpty()) {
        FileDialogRequest req;
        req.kind = FileDialogRequest::Save;
        req.title = QStringLiteral("Save As");
        req.folder = m_ctx.appFolder;
        req.filter = QStringLiteral("All Files (*.INI)");
        QString path = m_ctx.ui().saveFileName(req);
        if (path.isEmpty())
            return;
        // a name typed without an extension gets the one the open dialog lists
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".ini");
        data.ProgrammingFilePath = path;
    }
    WriteProgrammingFile(data, m_ctx.ui());
}

void frmMain::mnusalva_Click() { save_file(); }

void frmMain::mnufileSNome_Click()
{
    m_ctx.data.ProgrammingFilePath.clear();
    save_file();
}

void frmMain::mnuFileClose_Click()
{
    const QList<QMdiSubWindow *> list = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (!list.isEmpty()) {
        list.last()->close();
        return;
    }
    for (const char *name : {"mnusalva", "mnuFileClose", "mnufileSNome"})
        menuItem(QString::fromLatin1(name))->setEnabled(false);
    for (const char *name : {"mnuFileOpen", "mnunuovo"})
        menuItem(QString::fromLatin1(name))->setEnabled(true);
}

void frmMain::mnuSirina_Click()
{
    m_ctx.data.LinkSettings.lineWidth = menuItem("mnuSirina")->isChecked() ? 32 : 22;
    static const QStringList relimited = {"frmtrasm", "frmPlu", "frmIntestazione", "frmadvertize"};
    if (relimited.contains(m_ctx.CurrentFormName))
        if (auto *w = dynamic_cast<LineWidthAware *>(currentForm()))
            w->applyLineWidth();
}

void frmMain::useCir_Click()
{
    // the item has already toggled: checked now means it was unchecked before the click
    const bool on = menuItem("useCir")->isChecked();
    m_ctx.data.CyrillicMode = on;
    m_ctx.data.LinkSettings.DisplayCyrillic = on;
    QString font = on ? m_ctx.settings.fontcyrilic : m_ctx.settings.fontlatin;
    if (font.trimmed().isEmpty())
        font = QString::fromLatin1(on ? kCyrillicFont : kLatinFont);
    if (auto *w = dynamic_cast<CyrillicSwitchable *>(currentForm()))
        w->applyCyrillicMode(on, font);
}

void frmMain::mnudirdef_Click()
{
    // unframed; no answer is awaited and nothing is shown (also when no port is open)
    m_ctx.link.send_data(QByteArrayLiteral("1234567890123\x03"));
}

void frmMain::mnuFilePrint_Click()
{
    QMdiSubWindow *sub = m_mdi->activeSubWindow();
    if (!sub || !sub->widget())
        return;
    auto *rtf = sub->widget()->findChild<QTextEdit *>(QStringLiteral("rtftext"));
    if (!rtf)
        return;
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print"));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    printer.setPrintRange(rtf->textCursor().hasSelection() ? QPrinter::Selection : QPrinter::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return;
    rtf->print(&printer);
}

void frmMain::mnuHelpContents_Click()
{
    m_ctx.ui().tell(kNoHelp, appTitle(), Icon::Information);
}

void frmMain::mnuLinkItem_Click(QAction *item)
{
    const QString tag = item->data().toString();
    if (tag.isEmpty())
        return;
    OpenDocument(tag, m_ctx.appFolder);
}

void frmMain::mnuSysFntInt_Click()
{
    const QString text = QStringLiteral("Da li stvarno zelite da instalirate fontova na vasem racunaru?") +
                         QStringLiteral("\n\n") +
                         QStringLiteral("NAPOMENE: Nakon instalacije, molimo Vas, izadjite iz programa i ponovo ga "
                                        "pokrenite") +
                         QStringLiteral("\n") +
                         QStringLiteral("da bi sistemske promene imale efekta na program.");
    if (m_ctx.ui().askWithDefault(text, QStringLiteral("Instalacija fontova"), Icon::Information, Buttons::YesNo,
                                  Answer::No) == Answer::No)
        return;
    LaunchFontInstaller(m_ctx);
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(m_ctx, this);
    about.exec();
}

} // namespace kalvo
