#pragma once
// The main window: an MDI frame with the program's menus.
#include <QMainWindow>

class QMdiArea;

namespace kalvo {

struct AppContext;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(AppContext &context, QWidget *parent = nullptr);

    QMdiArea *mdiArea() const { return m_mdi; }

private:
    AppContext &m_ctx;
    QMdiArea *m_mdi;
};

} // namespace kalvo
