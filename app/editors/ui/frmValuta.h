#pragma once
// "Valute": the four foreign currencies of ProgrammingData, edited in place (the work itself
// is in editors/CurrencyEditor.h).
//
// Controls by objectName: Toolbar2 (actions nuovo, inserisci, aggiorna, elimina, svuota,
// Esci; the key is each action's data and objectName), lstplu (one row per currency in use),
// Picture1 (the edit panel: txtval, txtDesc) and Check1 ("Cirilica").
#include "editors/CurrencyEditor.h"
#include "shell/ui/WindowHooks.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QToolBar;

namespace kalvo {

struct AppContext;

class frmValuta : public QWidget, public RefreshableWindow, public CyrillicSwitchable {
    Q_OBJECT
public:
    explicit frmValuta(AppContext &context, QWidget *parent = nullptr);

    // The one handler of every tool-bar button; dispatches on the button's key.
    void Toolbar2_ButtonClick(QAction *button);

    void refreshFromData() override { fillList(); }
    void applyCyrillicMode(bool on, const QString &fontFamily) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillList();
    void selectRow(int row);
    CurrencyPanel panel() const;
    void clearPanel();
    void setFonts(const QString &family);
    void closeWindow();

    AppContext &m_ctx;
    CurrencyEditor m_editor;
    QToolBar *m_toolbar;
    QListWidget *m_list;
    QWidget *m_panel;
    QLineEdit *m_rate;
    QLineEdit *m_name;
    QCheckBox *m_cyrillic;
};

} // namespace kalvo
