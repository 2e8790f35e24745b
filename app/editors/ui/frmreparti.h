#pragma once
// "Odeljenja": the ten departments of ProgrammingData, edited in place (the work itself is
// in editors/DepartmentEditor.h).
//
// Controls by objectName: Toolbar2 (actions nuovo, inserisci, aggiorna, elimina, svuota,
// esci; the key is each action's data and objectName), lstplu (one row per department),
// Picture1 (the edit panel: txtDesc, txtprezzo, txtiva, chksing) and Check1 ("Cirilica").
#include "editors/DepartmentEditor.h"
#include "shell/ui/WindowHooks.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QToolBar;

namespace kalvo {

struct AppContext;

class frmreparti : public QWidget, public RefreshableWindow, public CyrillicSwitchable {
    Q_OBJECT
public:
    explicit frmreparti(AppContext &context, QWidget *parent = nullptr);

    // The one handler of every tool-bar button; dispatches on the button's key.
    void Toolbar2_ButtonClick(QAction *button);

    void refreshFromData() override { fillList(); }
    void applyCyrillicMode(bool on, const QString &fontFamily) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillList();
    void loadRow(int row, bool show);
    DepartmentPanel panel() const;
    void showPanel(const DepartmentPanel &p);
    void hidePanel();
    void setFonts(const QString &family);
    void Check1_Click(bool checked);
    void txtDesc_Enter();
    void txtiva_LostFocus();
    void aggiorna();
    void closeWindow();

    AppContext &m_ctx;
    DepartmentEditor m_editor;
    QToolBar *m_toolbar;
    QListWidget *m_list;
    QWidget *m_panel;
    QLineEdit *m_name;
    QLineEdit *m_price;
    QLineEdit *m_vat;
    QCheckBox *m_single;
    QCheckBox *m_cyrillic;
};

} // namespace kalvo
