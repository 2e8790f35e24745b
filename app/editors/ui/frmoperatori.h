#pragma once
// "Kasiri": the 31 cashiers of ProgrammingData, edited in place (the work itself is in
// editors/OperatorEditor.h).
//
// Controls by objectName: Toolbar2 (actions aggiorna, elimina, Esci; the key is each
// action's data and objectName), lstplu (one row per cashier), Picture1 (the edit panel:
// txtcodice, txtDesc) and Check1 ("Cirilica").
#include "editors/OperatorEditor.h"
#include "shell/ui/WindowHooks.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QToolBar;

namespace kalvo {

struct AppContext;

class frmoperatori : public QWidget, public RefreshableWindow, public CyrillicSwitchable {
    Q_OBJECT
public:
    explicit frmoperatori(AppContext &context, QWidget *parent = nullptr);

    // The one handler of every tool-bar button; dispatches on the button's key.
    void Toolbar2_ButtonClick(QAction *button);

    void refreshFromData() override { fillList(); }
    void applyCyrillicMode(bool on, const QString &fontFamily) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillList();
    void selectRow(int row);
    OperatorPanel panel() const;
    void clearPanel();
    void setFonts(const QString &family);
    void Check1_Click(bool checked);
    void txtDesc_Enter();
    void aggiorna();
    void closeWindow();

    AppContext &m_ctx;
    OperatorEditor m_editor;
    QToolBar *m_toolbar;
    QListWidget *m_list;
    QWidget *m_panel;
    QLineEdit *m_code;
    QLineEdit *m_name;
    QCheckBox *m_cyrillic;
};

} // namespace kalvo
