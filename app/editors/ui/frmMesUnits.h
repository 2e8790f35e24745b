#pragma once
// "Jedinice mere": renames the five measurement units; frmTipArt.h, its twin, renames the
// eight article types. Entries are neither added nor removed.
//
// Controls by objectName: lstplu (one row per entry), Picture1 (the panel, hidden until a
// row is chosen) with txtDesc (name) and shortDesc (short name), Toolbar2 (actions keyed
// "aggiorna" and "esci"; the key is each action's data and objectName).
// The window's objectName is the name it records in CurrentFormName ("frmunits",
// "frmtypes"), so that the main window's Cyrillic switch reaches it.
#include "editors/UnitAndTypeNames.h"
#include "shell/ui/WindowHooks.h"

#include <QWidget>

class QAction;
class QLineEdit;
class QListWidget;
class QToolBar;

namespace kalvo {

struct AppContext;

class NameTableWindow : public QWidget, public CyrillicSwitchable {
    Q_OBJECT
public:
    // The one handler of every tool-bar button; dispatches on the button's key.
    void Toolbar2_ButtonClick(QAction *button);
    void applyCyrillicMode(bool on, const QString &fontFamily) override;

protected:
    struct Texts {
        const char *name;
        const char *caption;
        const char *heading;
        const char *listTip;
        const char *nameTip;
        const char *saveTip;
    };
    NameTableWindow(AppContext &context, NameTable table, const Texts &texts, QWidget *parent);
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillList();
    void showEntry(int row);
    void hidePanel();
    void setFonts(const QString &family);

    AppContext &m_ctx;
    NameTableCopy m_copy;
    QString m_name;
    QListWidget *m_list;
    QWidget *m_panel;
    QLineEdit *m_desc;
    QLineEdit *m_short;
    QToolBar *m_toolbar;
    int m_selected = 0;  // entry shown in the panel, 0 = none
};

class frmMesUnits : public NameTableWindow {
    Q_OBJECT
public:
    explicit frmMesUnits(AppContext &context, QWidget *parent = nullptr);
};

} // namespace kalvo
