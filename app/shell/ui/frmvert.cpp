#include "shell/ui/frmvert.h"

#include "LamriBar.h"
#include "editors/ui/frmIntestazione.h"
#include "editors/ui/frmMesUnits.h"
#include "editors/ui/frmTipArt.h"
#include "editors/ui/frmadvertize.h"
#include "editors/ui/frmPlu.h"
#include "editors/ui/frmValuta.h"
#include "editors/ui/frmoperatori.h"
#include "editors/ui/frmreparti.h"
#include "register/ui/frmRicevi.h"
#include "register/ui/frmcomline.h"
#include "register/ui/frmtrasm.h"
#include "sales/ui/frmDepSales.h"
#include "sales/ui/frmPluSales.h"
#include "sales/ui/frmVATSales.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/MainWindowLoad.h"
#include "shell/UserStore.h"
#include "shell/ui/AppGlobalsUi.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>

#include <algorithm>

static void initNavigationResources()
{
    Q_INIT_RESOURCE(frmvert);
}

namespace kalvo {

namespace {

// code shown for an error that is not an AppError (an internal failure)
constexpr qint32 kErrInternal = 51;

enum class Action {
    Open,      // open the item's window beside the panel
    Keyboard,  // the remote keyboard: as Open, but refused over a modem
    LinkTest,  // "Provera Veze"
};

template <class Window> QWidget *make(AppContext &context)
{
    return new Window(context);
}

struct Route {
    int menu;
    int item;
    const char *form;  // the window the item opens (for readers and error texts)
    Action action;
    frmvert::Opener open;  // empty while that window is not part of the program yet
};

// ---------------------------------------------------------------- the dispatch table
// Every item of the side menu, by menu and item number (two items share the key "PS",
// so keys are not used to dispatch). A window is wired in by giving its row an opener,
// for example  [](AppContext &c) -> QWidget * { return new frmPlu(c); }
const Route kRoutes[] = {
    // 1 "Programski Podaci"
    {1, 1, "frmIntestazione", Action::Open, make<frmIntestazione>},
    {1, 2, "frmreparti", Action::Open, make<frmreparti>},
    {1, 3, "frmPlu", Action::Open, make<frmPlu>},
    {1, 4, "frmoperatori", Action::Open, make<frmoperatori>},
    {1, 5, "frmsistema", Action::Open, {}},
    {1, 6, "frmValuta", Action::Open, make<frmValuta>},
    {1, 7, "frmadvertize", Action::Open, make<frmadvertize>},
    {1, 8, "frmMesUnits", Action::Open, make<frmMesUnits>},
    {1, 9, "frmTipArt", Action::Open, make<frmTipArt>},
    // 2 "Komunikacija"
    {2, 1, "frmcomline", Action::Open, make<frmcomline>},
    {2, 2, "", Action::LinkTest, {}},
    {2, 3, "frmGraphicLogo", Action::Open, {}},
    {2, 4, "frmtrasm", Action::Open, make<frmtrasm>},
    {2, 5, "frmRicevi", Action::Open, make<frmRicevi>},
    {2, 6, "frmReadFiscal", Action::Open, {}},
    {2, 7, "FrmReadPrg", Action::Open, {}},
    {2, 8, "frmkeyboard", Action::Keyboard, {}},
    // 3 "Prodajnost"
    {3, 1, "frmPluSales", Action::Open, make<frmPluSales>},
    {3, 2, "frmPluSalesSold", Action::Open, make<frmPluSalesSold>},
    {3, 3, "frmDepSales", Action::Open, make<frmDepSales>},
    {3, 4, "frmOperSales", Action::Open, make<frmOperSales>},
    {3, 5, "frmVATSales", Action::Open, make<frmVATSales>},
};

const Route *routeOf(int menu, int item)
{
    for (const Route &r : kRoutes)
        if (r.menu == menu && r.item == item)
            return &r;
    return nullptr;
}

// The saved design of the panel: LamriBar1's property bag.
const char kDesign[] = ":/shell/frmvert.ini";
// Height of the window when it is loaded, before the main window places it.
constexpr double kLoadHeightTwips = 9800;
// Room left and right of the widest caption, and the narrowest control.
constexpr int kCaptionMargin = 8;
constexpr int kMinControlWidth = 96;

} // namespace

frmvert::frmvert(AppContext &context, QMdiArea *mdi, QWidget *parent)
    : QWidget(parent), m_ctx(context), m_mdi(mdi), m_bar(new LamriBar(this))
{
    initNavigationResources();
    setObjectName(QStringLiteral("frmvert"));
    setWindowTitle(QStringLiteral("Meni"));
    m_bar->setObjectName(QStringLiteral("LamriBar1"));

    QFile design(QString::fromLatin1(kDesign));
    if (design.open(QIODevice::ReadOnly))
        m_bar->loadProperties(design.readAll());

    for (const Route &r : kRoutes)
        m_openers[{r.menu, r.item}] = r.open;
    connect(m_bar, &LamriBar::MenuItemClick, this, &frmvert::LamriBar1_MenuItemClick);

    m_ctx.CurrentFormName = QStringLiteral("ne");
    const QScreen *screen = QApplication::primaryScreen();
    resize(controlWidth(), TwipsToPixels(kLoadHeightTwips, screen ? screen->logicalDotsPerInchY() : 96));
    if (m_mdi)
        m_mdi->viewport()->installEventFilter(this);
}

frmvert *frmvert::find(QMdiArea *mdi)
{
    if (!mdi)
        return nullptr;
    for (QMdiSubWindow *sub : mdi->subWindowList())
        if (auto *nav = qobject_cast<frmvert *>(sub->widget()); nav && !sub->isHidden())
            return nav;
    return nullptr;
}

frmvert *frmvert::Arrange(AppContext &context, QMdiArea *mdi)
{
    if (!mdi)
        return nullptr;
    frmvert *nav = find(mdi);
    if (!nav) {
        nav = new frmvert(context, mdi);
        // a title bar without buttons: the panel is closed only by "&Zatvori"
        QMdiSubWindow *sub =
            mdi->addSubWindow(nav, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(nav->windowTitle());
        sub->show();
    }
    nav->place();
    return nav;
}

QMdiSubWindow *frmvert::frame() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

int frmvert::controlWidth() const
{
    const QFontMetrics fm = m_bar->fontMetrics();
    int widest = 0;
    for (int m = 1; m <= m_bar->MenuMax(); ++m) {
        widest = std::max(widest, fm.horizontalAdvance(m_bar->menuCaption(m)));
        for (int s = 1; s <= m_bar->menuItemCount(m); ++s)
            widest = std::max(widest, fm.horizontalAdvance(m_bar->itemCaption(m, s)));
    }
    return std::max(kMinControlWidth, widest + 2 * kCaptionMargin);
}

void frmvert::place()
{
    QMdiSubWindow *sub = frame();
    if (!sub || !m_mdi)
        return;
    const int want = controlWidth();
    const int height = m_mdi->viewport()->height();
    // the frame around the panel: measured once the sub-window has laid it out
    const int frameWidth = sub->isVisible() ? sub->width() - width()
                                            : 2 * sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
    sub->setGeometry(0, 0, want + frameWidth, height);
    if (sub->isVisible() && width() != want)
        sub->setGeometry(0, 0, sub->width() + want - width(), height);
}

void frmvert::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_bar->setGeometry(rect());
}

bool frmvert::eventFilter(QObject *watched, QEvent *event)
{
    // the client area also changes without the main window being resized (the first
    // show lays it out late, a status bar may come or go)
    if (m_mdi && watched == m_mdi->viewport() && event->type() == QEvent::Resize)
        place();
    return QWidget::eventFilter(watched, event);
}

void frmvert::setOpener(int menu, int item, Opener opener)
{
    if (routeOf(menu, item))
        m_openers[{menu, item}] = std::move(opener);
}

// ---------------------------------------------------------------- the click

void frmvert::LamriBar1_MenuItemClick(int menu, int item)
{
    const QString sender = QStringLiteral("frmvert.LamriBar1_MenuItemClick()");
    try {
        if (!closeWorkWindows())
            return;
        openWindow(menu, item);
    } catch (const AppError &e) {
        ShowError(e, sender, m_ctx.ui());
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), sender, m_ctx.ui());
    }
}

bool frmvert::closeWorkWindows()
{
    if (!m_mdi)
        return true;
    QMdiSubWindow *mine = frame();
    QList<QPointer<QMdiSubWindow>> others;
    QList<QPointer<QMdiSubWindow>> preview;
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (sub == mine)
            continue;
        if (sub->widget() && sub->widget()->objectName() == QLatin1String("frmDocument"))
            preview << sub;
        else
            others << sub;
    }
    // the logo preview first, then the rest; a window that refuses to close (a run in
    // progress) keeps the new one from opening, so that never two work windows are open
    for (const QList<QPointer<QMdiSubWindow>> *list : {&preview, &others})
        for (const QPointer<QMdiSubWindow> &sub : *list)
            if (sub && !sub->close())
                return false;
    return true;
}

void frmvert::openWindow(int menu, int item)
{
    const Route *route = routeOf(menu, item);
    if (!route)
        return;
    switch (route->action) {
    case Action::LinkTest:
        TestLink();
        return;
    case Action::Keyboard:
        if (m_ctx.link.ModemLink) {
            m_ctx.ui().tell(QStringLiteral("Ova opcija nije dozvoljena u modemskoj komunikaciji!"),
                            QString::fromLatin1(kAppTitle), Icon::Exclamation);
            return;
        }
        break;
    case Action::Open:
        break;
    }

    const Opener &open = m_openers[{menu, item}];
    if (!open || !m_mdi)
        return;
    QWidget *window = open(m_ctx);
    if (!window)
        return;
    QMdiSubWindow *sub = m_mdi->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // right of the panel, level with its top (plus the offset)
    if (QMdiSubWindow *mine = frame())
        sub->move(mine->x() + mine->width(), mine->y() + m_verticalOffset);
    sub->show();
    m_mdi->setActiveSubWindow(sub);
}

void frmvert::TestLink()
{
    qint32 result;
    {
        BusyCursor busy;
        result = m_ctx.link.testConnection();
    }
    // a failure has been told by the link library itself
    if (result == 0)
        m_ctx.ui().tell(QStringLiteral("Veza je u redu!"), QString::fromLatin1(UserStore::kApplication),
                        Icon::Exclamation);
}

} // namespace kalvo
