#include "shell/AppContext.h"
#include "shell/ui/WidgetPrompter.h"
#include "shell/ui/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kalvo::AppContext context;
    kalvo::WidgetPrompter prompter;
    context.prompter = &prompter;
    kalvo::AppContext::setInstance(&context);
    kalvo::frmMain w(context);
    w.show();
    return app.exec();
}
