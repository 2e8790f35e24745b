// runek: installs the register's screen fonts named in Kalvo.ini ([system.fonts]
// font1 ... font100, files in the "fonts" subfolder of the program folder) into the user's
// fonts folder, registers them with fontconfig and ends by itself. Started by kalvo
// without arguments; reports nothing.
#include "FontInstaller.h"
#include "frmMain.h"

#include "shell/AppGlobals.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Runek"));

    runek::frmMain window(kalvo::AppFolder(), runek::FontsFolder());
    QObject::connect(&window, &runek::frmMain::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    window.start();
    return app.exec();
}
