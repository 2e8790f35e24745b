#pragma once
// Small routines the whole program shares: the program folder, path expansion, the
// version text, settings read at start-up, the error box and the font-installer offer.
// No widgets here; the widget helpers live in shell/ui/AppGlobalsUi.h.
#include <QByteArray>
#include <QString>

namespace kalvo {

struct AppContext;
class AppError;
class Prompter;

// Title of the program's message boxes.
inline constexpr char kAppTitle[] = "Orvel Cash Registers";

// The folder of the running executable, with exactly one trailing '/'.
// The program keeps it in AppContext::appFolder; routines read it from there.
QString AppFolder();

// Replaces every "{app.path}\" (or "{app.path}/") by `folder` (which should end in '/').
// The backslashes of the path that follows a placeholder, up to the next ';' (the
// separator of a connection string) or the end, become '/'. Text without the placeholder
// comes back unchanged.
QString ExpandAppPath(const QString &text, const QString &folder);
QString ExpandAppPath(const AppContext &context, const QString &text);

// Reads one key of Kalvo.ini through the shared cIniFile (empty when missing).
QString ReadSetting(const AppContext &context, const QByteArray &section, const QByteArray &key);

// Text of a settings file as the program's string: UTF-8 when the bytes are valid UTF-8
// (a file edited on Linux), otherwise Windows-1250 (a file written on Windows).
QString SettingText(const QByteArray &bytes);

// The leading numeric value of a text ("12.5 din" -> 12.5, "abc" -> 0): optional blanks,
// sign, digits, decimal point, exponent. A value out of the double range gives 0.
double LeadingNumber(const QByteArray &text);

// "major.minor.revision" of the program version.
QString VersionText();

// The error report box (see AppError). `sender` is "window.routine()" or blank.
void ShowError(const AppError &error, const QString &sender, Prompter &prompter);

// Points context.ini at Kalvo.ini in the program folder and fills context.settings.
// A missing file or key gives empty texts and zero limits, without a message. Returns true.
bool LoadSettings(AppContext &context);
// The same from another settings file (kalvo-cli --ini); {app.path} is still the program folder.
bool LoadSettings(AppContext &context, const QString &iniFile);

// [ports] of Kalvo.ini: each key com<n> with a non-empty value sets the environment
// variable ZIB_COM<n> (the device the link library opens for COM<n>) unless the
// environment already holds it. Call after LoadSettings, before any port is opened.
void ApplyPortSettings(AppContext &context);

// Offers the font installer once per user: when the per-user value system.io/addfonts
// is 0 (or missing), starts the installer and stores "1", whether or not it started.
void OfferFontInstall(AppContext &context);

// Starts the font installer (program folder + "runek") detached. When it cannot be
// started, tells the user so and returns false.
bool LaunchFontInstaller(AppContext &context);

} // namespace kalvo
