#include "shell/AboutInfo.h"

#include "shell/AppContext.h"
#include "shell/AppGlobals.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace kalvo {

QStringList DefaultSystemInfoTools()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor"),
            QStringLiteral("plasma-systemmonitor"), QStringLiteral("ksysguard"),
            QStringLiteral("xfce4-taskmanager"), QStringLiteral("mate-system-monitor"),
            QStringLiteral("lxtask")};
}

QString FindSystemInfoTool(const AppContext &context, const QStringList &candidates)
{
    const QString configured = ExpandAppPath(context, ReadSetting(context, "about", "sysinfo")).trimmed();
    if (!configured.isEmpty()) {
        if (configured.contains(QLatin1Char('/'))) {
            const QFileInfo info(configured);
            return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
        }
        return QStandardPaths::findExecutable(configured);
    }
    for (const QString &name : candidates) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

AboutLinks ReadAboutLinks(const AppContext &context)
{
    return {ReadSetting(context, "about", "download").trimmed(), ReadSetting(context, "about", "mail").trimmed(),
            ReadSetting(context, "about", "web").trimmed()};
}

QString LinkTarget(const QString &address)
{
    const QString a = address.trimmed();
    if (a.contains(QLatin1Char('@')) && !a.contains(QLatin1Char(':')))
        return QStringLiteral("mailto:") + a;
    return a;
}

} // namespace kalvo
