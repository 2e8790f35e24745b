#pragma once
// "Prijem": reads the ticked kinds of programming data and sales back from the register,
// and deletes the register's articles or erases their sales (the routines are
// register/ReceiveRoutines.h).
//
// Controls by objectName: Toolbar1 (actions "delete" Brisanje PLU, "erase" Brisanje prom.,
// "invia" Prijem, "esci" Izlaz; the key is each action's data and objectName), Command1
// ("Brisanje Artikala") and Command2 ("Brisanje Prodaje"), List1 (the nine kinds,
// multi-selection), Label1 (the kind being read), Label7 (the record last received) and
// the result pictures ImgRep, ImgPLU, ImgPLUsold, IMGOP, ImgVal, ImgSistem, IMGIVA, ImgUni,
// ImgTip (two each: "index" 0 success, 1 failure).
#include <QWidget>

class QAction;
class QLabel;
class QPushButton;
class QToolBar;

namespace kalvo {

struct AppContext;
class KindList;
struct RoutineCallbacks;

class frmRicevi : public QWidget {
    Q_OBJECT
public:
    explicit frmRicevi(AppContext &context, QWidget *parent = nullptr);

    // The one handler of the tool-bar buttons; dispatches on the button's key. While one
    // operation runs, a press that would start another is ignored.
    void Toolbar1_ButtonClick(QAction *button);

    bool isRunning() const { return m_running; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Operation { Receive, DeleteArticles, EraseSales };
    void Form_Load();
    // Runs one operation under the hourglass, unless one is running already.
    void runOperation(Operation operation);
    void invia(const RoutineCallbacks &callbacks);
    void closeWindow();

    AppContext &m_ctx;
    QToolBar *m_toolbar;
    KindList *m_kinds;
    QLabel *m_label1;
    QLabel *m_label7;
    QPushButton *m_command1;
    QPushButton *m_command2;
    bool m_running = false;
    bool m_closeWhenDone = false;
};

} // namespace kalvo
