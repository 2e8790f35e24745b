#pragma once
// The one code page used at the edges of the program: Windows-1250 ("ANSI", Serbian Latin).
// Register-facing text is held as bytes; these two routines convert it for widgets and the
// database and back. Files written on Windows load unchanged through them.
#include <QByteArray>
#include <QString>

namespace kalvo {

// Bytes in Windows-1250 to Unicode. Every byte has a character (the five that the code
// page leaves unassigned become the C1 controls of the same value), so bytes survive a
// trip through QString unchanged.
QString ansiToUnicode(const QByteArray &bytes);

// Unicode to Windows-1250 bytes. A character that the code page cannot hold becomes '?'
// and makes *ok false (ok may be null); *ok is true when every character was mapped.
QByteArray unicodeToAnsi(const QString &text, bool *ok = nullptr);

// True when every character of the text has a Windows-1250 byte.
bool isAnsiText(const QString &text);

// Case-insensitive equality of two Windows-1250 byte strings (letters with diacritics
// included, as the Windows profile functions compare names).
bool ansiEqualNoCase(const QByteArray &a, const QByteArray &b);

} // namespace kalvo
