#include "shell/ui/frmMain.h"

#include "shell/AppContext.h"

#include <QMdiArea>

namespace kalvo {

frmMain::frmMain(AppContext &context, QWidget *parent)
    : QMainWindow(parent), m_ctx(context), m_mdi(new QMdiArea(this))
{
    setObjectName("frmMain");
    setCentralWidget(m_mdi);
}

} // namespace kalvo
