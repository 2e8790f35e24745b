#include "shell/ui/AppGlobalsUi.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QUrl>
#include <QWidget>

namespace kalvo {

void CenterOnScreen(QWidget *window)
{
    if (!window)
        return;
    QScreen *screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

bool OpenDocument(const QString &file, const QString &folder)
{
    const QString target = file.trimmed();
    if (target.isEmpty())
        return false;
    // an address with a scheme ("http://", "mailto:"); a one-letter scheme is a drive letter
    const QUrl url(target, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return QDesktopServices::openUrl(url);
    QString path = target;
    if (QFileInfo(path).isRelative() && !folder.isEmpty())
        path = QDir(folder).filePath(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::cleanPath(path)));
}

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace kalvo
