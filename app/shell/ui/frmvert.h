#pragma once
// "Meni": the navigation panel at the left edge of the main window's client area. It holds
// one side-menu control, LamriBar1, whose menus, items, icons, keys and tags come from the
// window's saved design (frmvert.ini, a property bag written by the control itself and
// embedded as the resource ":/shell/frmvert.ini").
//
// A click on an item closes the logo preview and every other work window, then opens the
// item's window right of the panel, refuses the remote keyboard over a modem, or runs the
// link test. Which window each item opens is decided in one place: the dispatch table at
// the top of frmvert.cpp.
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <utility>

class LamriBar;
class QMdiArea;
class QMdiSubWindow;

namespace kalvo {

struct AppContext;

class frmvert : public QWidget {
    Q_OBJECT
    // Added to the panel's top when a work window is placed beside it; 0 puts the work
    // window's top level with the top of the client area.
    Q_PROPERTY(int VerticalOffset READ VerticalOffset WRITE setVerticalOffset)

public:
    // Creates a work window (parentless; the panel puts it into the MDI area).
    using Opener = std::function<QWidget *(AppContext &)>;

    // Loads the window: CurrentFormName becomes "ne", the control reads the saved design.
    frmvert(AppContext &context, QMdiArea *mdi, QWidget *parent = nullptr);

    // The main window's resize handling: creates the panel in `mdi` when it is not there
    // (the first time, or after "&Zatvori" closed it) and moves it to the left edge of the
    // client area (0, 0), as wide as its control and as high as the client area.
    static frmvert *Arrange(AppContext &context, QMdiArea *mdi);
    // The panel living in `mdi`, if any.
    static frmvert *find(QMdiArea *mdi);

    LamriBar *LamriBar1() const { return m_bar; }
    // The sub-window frame that holds the panel inside the MDI area.
    QMdiSubWindow *frame() const;

    int VerticalOffset() const { return m_verticalOffset; }
    void setVerticalOffset(int pixels) { m_verticalOffset = pixels; }

    // The control's MenuItemClick: menu and item numbered from 1. Run-time errors are
    // reported with ShowError and end the click.
    void LamriBar1_MenuItemClick(int menu, int item);
    // "Provera Veze": tests the link (modem or direct variant, after ModemLink) and says
    // "Veza je u redu!" when the register answered; a failure was told by the library.
    void TestLink();

    // Replaces the window an item opens (also wires in a window built later). An empty
    // function makes the item open nothing.
    void setOpener(int menu, int item, Opener opener);

    // Width the control needs so that its longest caption fits.
    int controlWidth() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();
    // Closes the logo preview and every work window; false when one refused to close.
    bool closeWorkWindows();
    void openWindow(int menu, int item);

    AppContext &m_ctx;
    QPointer<QMdiArea> m_mdi;
    LamriBar *m_bar;
    int m_verticalOffset = 0;
    std::map<std::pair<int, int>, Opener> m_openers;
};

} // namespace kalvo
