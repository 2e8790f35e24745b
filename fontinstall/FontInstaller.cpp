#include "FontInstaller.h"

#include "shell/AppGlobals.h"
#include "shell/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fontconfig/fontconfig.h>

namespace runek {

namespace {

constexpr int kMaxFontKeys = 100;
// fonts.ini is a short list of paths; anything past this is not read
constexpr qint64 kMaxFontsIniBytes = 1 << 20;

QString withTrailingSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void pumpOnce(const Pump &pump)
{
    if (pump)
        pump();
}

} // namespace

QString FontsFolder()
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty() && QDir::isAbsolutePath(dataHome))
        return withTrailingSlash(dataHome) + QStringLiteral("fonts/");
    return withTrailingSlash(QDir::homePath()) + QStringLiteral(".local/share/fonts/");
}

QString FindFileNoCase(const QString &folder, const QString &name)
{
    if (name.isEmpty())
        return {};
    const QString exact = folder + name;
    if (QFileInfo(exact).isFile())
        return exact;
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + entry;
    }
    return {};
}

bool IsPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QChar(0));
}

QList<FontRow> BuildFontList(const QString &iniFile, const QString &programFolder,
                             const QString &fontsFolder, const Pump &pump)
{
    QList<FontRow> rows;
    if (iniFile.isEmpty())
        return rows;
    const kalvo::cIniFile ini(iniFile);
    const QString sourceFolder = withTrailingSlash(programFolder) + QStringLiteral("fonts/");
    for (int n = 1; n <= kMaxFontKeys; ++n) {
        const QString name =
            kalvo::SettingText(ini.GetSetting("system.fonts", "font" + QByteArray::number(n))).trimmed();
        if (IsPlainFileName(name)) {
            QString source = FindFileNoCase(sourceFolder, name);
            if (source.isEmpty())
                source = sourceFolder + name;
            rows.append({source, withTrailingSlash(fontsFolder) + name});
        }
        pumpOnce(pump);
    }
    return rows;
}

bool CopyFontIfMissing(const FontRow &row)
{
    const QFileInfo destination(row.destination);
    if (destination.exists() || destination.isSymLink())
        return false;
    if (!QFileInfo(row.source).isFile())
        return false;
    if (!QDir().mkpath(destination.absolutePath()))
        return false;
    // QFile::copy writes a temporary file beside the destination and renames it into
    // place, so a failed copy never leaves a truncated font behind
    return QFile::copy(row.source, row.destination);
}

bool RegisterFont(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    if (!FcInit())
        return false;
    const QByteArray file = QFile::encodeName(info.absoluteFilePath());
    int faces = 0;
    FcPattern *pattern = FcFreeTypeQuery(reinterpret_cast<const FcChar8 *>(file.constData()), 0, nullptr, &faces);
    if (!pattern)
        return false;
    FcPatternDestroy(pattern);
    // rebuild the folder's cache so that programs started from now on find the font
    // without scanning the folder again
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    FcCache *cache = FcDirCacheRead(reinterpret_cast<const FcChar8 *>(folder.constData()), FcTrue,
                                    FcConfigGetCurrent());
    if (!cache)
        return false;
    FcDirCacheUnload(cache);
    return true;
}

QStringList InstallFonts(const QString &programFolder, const QString &fontsFolder,
                         const Registrar &registrar, const Pump &pump)
{
    QStringList registered;
    const QString folder = withTrailingSlash(programFolder);
    const QList<FontRow> rows =
        BuildFontList(FindFileNoCase(folder, QStringLiteral("Kalvo.ini")), folder, fontsFolder, pump);
    for (const FontRow &row : rows) {
        CopyFontIfMissing(row);
        if (registrar && registrar(row.destination))
            registered.append(row.destination);
        pumpOnce(pump);
    }
    return registered;
}

QString FontsIniPath(const QByteArray &line, const QString &fontsFolder)
{
    const QString text = kalvo::SettingText(line).trimmed().toLower();
    if (text.isEmpty())
        return {};
    // the fonts folder goes in unchanged (case and all) between the parts of the line
    QStringList parts = text.split(QStringLiteral("system.font\\"));
    for (QString &part : parts)
        part.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return parts.join(withTrailingSlash(fontsFolder));
}

QStringList InstallFromFontsIni(const QString &programFolder, const QString &fontsFolder,
                                const Registrar &registrar, const Pump &pump)
{
    QStringList registered;
    QFile file(FindFileNoCase(withTrailingSlash(programFolder), QStringLiteral("fonts.ini")));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return registered;
    const QByteArray content = file.read(kMaxFontsIniBytes);
    file.close();
    for (const QByteArray &line : content.split('\n')) {
        const QString path = FontsIniPath(line, fontsFolder);
        if (path.isEmpty())
            continue;
        const QFileInfo info(path);
        QString actual = FindFileNoCase(withTrailingSlash(info.path()), info.fileName());
        if (actual.isEmpty())
            actual = path;
        if (registrar && registrar(actual))
            registered.append(actual);
        pumpOnce(pump);
    }
    return registered;
}

} // namespace runek
