#pragma once
// "Slanje": sends the ticked kinds of programming data, and a three-row message, to the
// register (the routines are register/SendRoutines.h).
//
// Controls by objectName: Toolbar1 (actions "invia" Posalji and "esci" Izlaz; the key is
// each action's data and objectName), List1 (the eleven kinds, multi-selection; Esc hides
// the message panel, selecting "Poruka" shows it again), Label1 (the kind being sent),
// Label6 (the record last handled), Picture1 (the message panel with Red1, Red2, Red3) and
// the result pictures ImgRep, ImgPLU, ImgInv, IMGOP, ImgVal, ImgSistem, ImgInt, Imgadve,
// ImgUni, ImgTip, ImgMsg (two each: "index" 0 success, 1 failure).
#include "shell/ui/WindowHooks.h"

#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QToolBar;

namespace kalvo {

struct AppContext;
class KindList;
class SendRoutines;

class frmtrasm : public QWidget, public LineWidthAware, public CyrillicSwitchable {
    Q_OBJECT
public:
    explicit frmtrasm(AppContext &context, QWidget *parent = nullptr);

    // The one handler of both tool-bar buttons; dispatches on the button's key. A press
    // while a send is running is ignored.
    void Toolbar1_ButtonClick(QAction *button);

    // Hides every result picture.
    void reset_img();

    // Message rows: length 22 or 32 after lineWidth.
    void applyLineWidth() override;
    // Message rows: the new font and the normalisation.
    void applyCyrillicMode(bool on, const QString &fontFamily) override;

    bool isRunning() const { return m_running; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void invia();
    // Replaces each message row by its normalised text and gives the rows the font of
    // the current Cyrillic mode.
    void normaliseMessageRows();
    void rowsToRoutines(SendRoutines &send) const;
    void rowsFromRoutines(const SendRoutines &send);
    void setRowsFont(const QString &family);
    void closeWindow();

    AppContext &m_ctx;
    QToolBar *m_toolbar;
    KindList *m_kinds;
    QLabel *m_label1;
    QLabel *m_label6;
    QFrame *m_panel;
    QLineEdit *m_rows[3];
    bool m_running = false;
    bool m_closeWhenDone = false;
};

} // namespace kalvo
