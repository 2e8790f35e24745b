#include "shell/AppGlobals.h"

#include "data/Codec.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/Prompter.h"
#include "shell/UserStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace kalvo {

namespace {

const QString kPlaceholderBackslash = QStringLiteral("{app.path}\\");
const QString kPlaceholderSlash = QStringLiteral("{app.path}/");
const QString kPlaceholderStem = QStringLiteral("{app.path}");

QString withOneTrailingSlash(QString folder)
{
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder + QLatin1Char('/');
}

// Kalvo.ini in `folder`; a file of the same name in another letter case (copied from a
// system whose file names ignore case) is accepted when the exact name is missing.
QString iniPath(const QString &folder)
{
    const QString exact = folder + QStringLiteral("Kalvo.ini");
    if (QFileInfo::exists(exact))
        return exact;
    // name filters match without regard to case
    const QStringList found = QDir(folder).entryList({QStringLiteral("Kalvo.ini")}, QDir::Files, QDir::Name);
    return found.isEmpty() ? exact : folder + found.first();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

QString AppFolder()
{
    QString dir;
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        dir = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
    return withOneTrailingSlash(dir);
}

QString ExpandAppPath(const QString &text, const QString &folder)
{
    QString out;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype a = text.indexOf(kPlaceholderBackslash, pos);
        const qsizetype b = text.indexOf(kPlaceholderSlash, pos);
        const qsizetype at = (a < 0) ? b : (b < 0 ? a : std::min(a, b));
        if (at < 0) {
            out += QStringView(text).mid(pos);
            return out;
        }
        out += QStringView(text).mid(pos, at - pos);
        out += folder;
        // the path after the placeholder runs to the next ';' (or the next placeholder)
        const qsizetype start = at + kPlaceholderBackslash.size();
        qsizetype end = text.indexOf(QLatin1Char(';'), start);
        if (end < 0)
            end = text.size();
        const qsizetype next = text.indexOf(kPlaceholderStem, start);
        if (next >= 0 && next < end)
            end = next;
        QString path = text.mid(start, end - start);
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        out += path;
        pos = end;
    }
}

QString ExpandAppPath(const AppContext &context, const QString &text)
{
    return ExpandAppPath(text, context.appFolder);
}

QString SettingText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return ansiToUnicode(bytes);
}

QString ReadSetting(const AppContext &context, const QByteArray &section, const QByteArray &key)
{
    return SettingText(context.ini.GetSetting(section, key));
}

double LeadingNumber(const QByteArray &text)
{
    // Blanks are skipped anywhere inside the number ("1 000" is 1000), as the
    // conversion of the settings has always done.
    QByteArray compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (!isBlank(c))
            compact.append(c);
    }

    QByteArray number;
    qsizetype i = 0;
    const qsizetype n = compact.size();
    if (i < n && (compact[i] == '+' || compact[i] == '-'))
        number.append(compact[i++]);
    bool digits = false;
    while (i < n && isDigit(compact[i])) {
        number.append(compact[i++]);
        digits = true;
    }
    if (i < n && compact[i] == '.') {
        number.append(compact[i++]);
        while (i < n && isDigit(compact[i])) {
            number.append(compact[i++]);
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < n && (compact[i] == 'e' || compact[i] == 'E' || compact[i] == 'd' || compact[i] == 'D')) {
        qsizetype j = i + 1;
        QByteArray exponent("e");
        if (j < n && (compact[j] == '+' || compact[j] == '-'))
            exponent.append(compact[j++]);
        bool expDigits = false;
        while (j < n && isDigit(compact[j])) {
            exponent.append(compact[j++]);
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return 0;
    return value;
}

QString VersionText()
{
    return QStringLiteral("%1.%2.%3").arg(KALVO_VERSION_MAJOR).arg(KALVO_VERSION_MINOR).arg(KALVO_VERSION_PATCH);
}

void ShowError(const AppError &error, const QString &sender, Prompter &prompter)
{
    QString title = QString::fromLatin1(kAppTitle);
    if (!sender.trimmed().isEmpty())
        title += QStringLiteral("(Sender:='") + sender + QStringLiteral("')");
    if (error.code == kErrGenericFailure) {
        prompter.ask(QStringLiteral("Baza trenutno nije dostupna.\n"
                                    "Molimo Vas, proverite globalne parametre za pristup podacima."),
                     title, Icon::Exclamation, Buttons::Ok);
    } else {
        prompter.ask(QString::number(error.code) + QStringLiteral(" - ") + error.description,
                     title, Icon::Critical, Buttons::Ok);
    }
}

bool LoadSettings(AppContext &context)
{
    return LoadSettings(context, iniPath(context.appFolder));
}

bool LoadSettings(AppContext &context, const QString &iniFile)
{
    context.ini.FileName = iniFile;
    const cIniFile &ini = context.ini;
    AppSettings &s = context.settings;
    s.connectionString = ExpandAppPath(context, SettingText(ini.GetSetting("database", "connectionstring")));
    s.atdp = ini.GetSetting("modem", "atdp");
    s.atdt = ini.GetSetting("modem", "atdt");
    s.atdisconnect = ini.GetSetting("modem", "atdisconnect");
    s.maxcena = LeadingNumber(ini.GetSetting("application.rules", "maxcena"));
    s.maxcek = LeadingNumber(ini.GetSetting("application.rules", "maxcek"));
    s.maxkartica = LeadingNumber(ini.GetSetting("application.rules", "maxkartica"));
    s.maxkes = LeadingNumber(ini.GetSetting("application.rules", "maxkes"));
    s.fontcyrilic = SettingText(ini.GetSetting("application.rules", "fontcyrilic"));
    s.fontlatin = SettingText(ini.GetSetting("application.rules", "fontlatin"));
    return true;
}

void ApplyPortSettings(AppContext &context)
{
    QList<QByteArray> keys;
    const int count = context.ini.GetSection("ports", keys);
    for (int k = 1; k <= count && k < keys.size(); ++k) {
        const QByteArray key = keys[k].trimmed().toLower();
        if (!key.startsWith("com") || key.size() == 3 || key.size() > 6)
            continue;
        bool digitsOnly = true;
        for (qsizetype i = 3; i < key.size(); ++i)
            digitsOnly = digitsOnly && isDigit(key[i]);
        if (!digitsOnly)
            continue;
        const int port = key.mid(3).toInt();
        if (port < 1 || port > 255)
            continue;
        const QString device = ExpandAppPath(context, SettingText(context.ini.GetSetting("ports", keys[k])));
        if (device.isEmpty())
            continue;
        const QByteArray variable = "ZIB_COM" + QByteArray::number(port);
        if (!qEnvironmentVariableIsSet(variable.constData()))
            qputenv(variable.constData(), QFile::encodeName(device));
    }
}

bool LaunchFontInstaller(AppContext &context)
{
    const QString program = context.appFolder + QStringLiteral("runek");
    qint64 pid = 0;
    bool started = false;
    if (QFileInfo(program).isExecutable())
        started = QProcess::startDetached(program, {}, context.appFolder, &pid) && pid != 0;
    if (!started && context.prompter) {
        context.prompter->ask(QStringLiteral("Runek nije instaliran na vasem racunaru."),
                              QStringLiteral("Runek"), Icon::Exclamation, Buttons::Ok);
    }
    return started;
}

void OfferFontInstall(AppContext &context)
{
    const QString section = QStringLiteral("system.io");
    const QString key = QStringLiteral("addfonts");
    if (LeadingNumber(UserStore::GetSetting(section, key, QStringLiteral("0")).toUtf8()) != 0)
        return;
    // errors are ignored: the flag is stored even when the installer could not start
    try {
        LaunchFontInstaller(context);
    } catch (...) {
    }
    UserStore::SaveSetting(section, key, QStringLiteral("1"));
}

} // namespace kalvo
