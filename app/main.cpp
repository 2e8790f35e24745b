// Kalvo: start-up. Reads Kalvo.ini, maps the ports, offers the font installer once per
// user and shows the main window, whose load sequence brings up the rest.
#include "shell/AppContext.h"
#include "shell/AppGlobals.h"
#include "shell/UserStore.h"
#include "shell/ui/WidgetPrompter.h"
#include "shell/ui/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(kalvo::UserStore::kOrganization));
    QCoreApplication::setApplicationName(QString::fromLatin1(kalvo::UserStore::kApplication));
    QCoreApplication::setApplicationVersion(kalvo::VersionText());

    kalvo::AppContext context;
    context.appFolder = kalvo::AppFolder();
    kalvo::WidgetPrompter prompter;
    context.prompter = &prompter;
    kalvo::AppContext::setInstance(&context);

    kalvo::LoadSettings(context);
    // before anything opens a port: COM<n> devices named in Kalvo.ini
    kalvo::ApplyPortSettings(context);
    kalvo::OfferFontInstall(context);
    // The installer runs beside us and the font list of this process is read only once, so
    // the register's screen fonts shipped in the program folder are added for this run too.
    const QDir fonts(context.appFolder + QStringLiteral("fonts"));
    for (const QString &file : fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(file));

    kalvo::frmMain mainWindow(context);
    prompter.setParent(&mainWindow);
    mainWindow.show();
    // the register's texts are shown in its Cyrillic font from the start
    context.data.LinkSettings.DisplayCyrillic = true;

    const int status = app.exec();
    kalvo::AppContext::setInstance(nullptr);
    return status;
}
