#pragma once
// The font installer's work, without widgets: the font list from Kalvo.ini, copying into
// the user's fonts folder and registering with fontconfig, and the fonts.ini list of the
// "Install Fonts" button. Every failure is skipped without a message, as the installer
// reports nothing; the routines return what they did so that callers and tests can see it.
//
// Registering a font on Linux: fontconfig has no session-wide "add font resource". A font
// is seen by every program that starts afterwards (kalvo included) once it lies in a
// folder of fontconfig's configuration; the user's fonts folder is one by default. To spare
// those programs a rescan, registration rebuilds the fontconfig cache of the font's folder
// (what `fc-cache <folder>` does). Programs already running keep their font list.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace runek {

// One row of the font list: copy `source` to `destination` when missing, then register.
struct FontRow {
    QString source;
    QString destination;
};

// Called between steps so that the window stays responsive (may be empty).
using Pump = std::function<void()>;
// Registers one font file; true when it was registered.
using Registrar = std::function<bool(const QString &path)>;

// The user's fonts folder with one trailing '/': $XDG_DATA_HOME/fonts/ when XDG_DATA_HOME
// is an absolute path, otherwise ~/.local/share/fonts/. Not created here.
QString FontsFolder();

// `folder` + `name` when that file exists; otherwise the first entry of `folder` whose name
// equals `name` without regard to case; empty when there is none. `folder` ends in '/'.
QString FindFileNoCase(const QString &folder, const QString &name);

// True for a bare file name: not empty, no '/' or '\\', not "." or "..", no NUL. A name
// from the settings file that is anything else could reach outside the fonts folders.
bool IsPlainFileName(const QString &name);

// Keys font1 ... font100 of [system.fonts] in `iniFile`, in key order; gaps and keys with
// an empty (trimmed) value add no row, nor does a value that is not a plain file name.
// source = programFolder + "fonts/" + name (matched without regard to case when the exact
// name is missing), destination = fontsFolder + name. A missing file gives no rows.
QList<FontRow> BuildFontList(const QString &iniFile, const QString &programFolder,
                             const QString &fontsFolder, const Pump &pump = {});

// Copies the source to the destination unless the destination exists (never overwritten).
// Creates the destination folder when missing. True when the file was copied.
bool CopyFontIfMissing(const FontRow &row);

// Registers a font file with fontconfig (see above): checks that the file is a font and
// rebuilds the cache of its folder. False when the file is missing or not a font.
bool RegisterFont(const QString &path);

// The timer's installation: reads Kalvo.ini (its name matched without regard to case) in
// `programFolder`, copies each row's font when missing and registers its destination, in
// list order. Returns the destinations that were registered, in order.
QStringList InstallFonts(const QString &programFolder, const QString &fontsFolder,
                         const Registrar &registrar, const Pump &pump = {});

// One line of fonts.ini as a font path: trimmed, lower-cased, every "system.font\" (any
// case, as the line is lower-cased first) replaced by `fontsFolder` (kept as it is), and the
// remaining backslashes turned into '/'. A blank line gives the empty string.
QString FontsIniPath(const QByteArray &line, const QString &fontsFolder);

// The "Install Fonts" button: registers every path of fonts.ini in `programFolder` (the
// file name matched without regard to case; each path's last part, lower-cased by
// FontsIniPath, is looked up without regard to case in its folder). Nothing is copied.
// Returns the paths that were registered, in file order.
QStringList InstallFromFontsIni(const QString &programFolder, const QString &fontsFolder,
                                const Registrar &registrar, const Pump &pump = {});

} // namespace runek
