#include "shell/AppContext.h"
#include "shell/ui/WidgetPrompter.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kalvo::AppContext context;
    kalvo::WidgetPrompter prompter;
    context.prompter = &prompter;
    kalvo::AppContext::setInstance(&context);
    QMainWindow w;
    w.show();
    return app.exec();
}
