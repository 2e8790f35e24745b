#pragma once
// The main window: an MDI frame with the program's menus and file commands.
//
// Showing the window the first time runs its load sequence (Form_Load); closing it runs
// the unload sequence (placement into the per-user store, port closed). Every menu item
// carries its control name as objectName; the items of the link arrays (mnuBook1Item,
// mnuBook2Item, mnuWebItem) share their array's name and hold their element number in
// the property "index" and their address in data().
// Work windows reach the menu commands through the hooks of shell/ui/WindowHooks.h.
#include <QMainWindow>

#include <functional>

class QAction;
class QMdiArea;
class QMenu;

namespace kalvo {

struct AppContext;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(AppContext &context, QWidget *parent = nullptr);

    QMdiArea *mdiArea() const { return m_mdi; }
    // A menu item by its control name (nullptr when unknown).
    QAction *menuItem(const QString &name) const;
    // The "Datoteke" menu (also the right-click popup of the empty client area).
    QMenu *fileMenu() const { return m_fileMenu; }

    // The load sequence; runs once, by the first show. Errors are reported, not returned.
    void Form_Load();
    // Saves ProgrammingData into ProgrammingFilePath, asking for a name when it is empty.
    void save_file();

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    // creates the navigation panel the first time and keeps it at the left edge
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs a menu command; an error is reported as "frmMain.<routine>()" and ends it.
    void run(const char *routine, const std::function<void()> &handler);
    void buildMenus();
    QAction *addItem(QMenu *menu, const char *name, const QString &caption);
    QAction *addSeparator(QMenu *menu, const char *name);
    void fillLinkMenu(QMenu *menu, const QString &arrayName, const QString &prefix);
    void restorePlacement();
    void storePlacement();
    QWidget *currentForm() const;
    void rebuildWindowList();
    void tile(Qt::Orientation direction);

    void mnuFileOpen_Click();
    void mnusalva_Click();
    void mnufileSNome_Click();
    void mnuFileClose_Click();
    void mnuSirina_Click();
    void useCir_Click();
    void mnudirdef_Click();
    void mnuFilePrint_Click();
    void mnuHelpContents_Click();
    void mnuSysFntInt_Click();
    void mnuHelpAbout_Click();
    void mnuLinkItem_Click(QAction *item);
    void mnuWindowArrangeIcons_Click();

    AppContext &m_ctx;
    QMdiArea *m_mdi;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    QMenu *m_book1 = nullptr;
    QMenu *m_book2 = nullptr;
    QMenu *m_web = nullptr;
    QList<QAction *> m_windowListItems;
    bool m_loaded = false;
    bool m_unloaded = false;
};

} // namespace kalvo
