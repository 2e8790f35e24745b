#pragma once
// Private-profile (ini) file access with the Windows semantics, written for this program:
// section and key names match without regard to case; values are trimmed and one pair of
// enclosing quotes is removed; the first match wins; a value is cut to 254 bytes; writing a
// key replaces it in place or appends it to its section (or a new section at the end) and
// keeps every other line byte for byte; new lines take the file's own line ending (CRLF
// for a new file). Texts are bytes (the Windows-1250 code page of files written on Windows).
// A value whose surrounding blanks or enclosing quotes the reader would strip is written
// inside a pair of double quotes, so that it reads back as written. Files of any content
// (binary junk included) are read without harm; writes go through a temporary file, so a
// failed write leaves the old file as it was.
#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

namespace kalvo {

class cIniFile {
public:
    cIniFile() = default;
    explicit cIniFile(const QString &fileName) : FileName(fileName) {}

    QString FileName;

    // Removes the whole section. Returns false when the file could not be written.
    bool DeleteSection(const QByteArray &section);
    // Writes one key; true on success. Refused (false, nothing written): an empty section or
    // key name, a section name with ']', a key name with '=' or starting with ';' or '[',
    // and any line break or NUL in section, key or value.
    bool SaveSetting(const QByteArray &section, const QByteArray &key, const QByteArray &value);
    // Reads one key; a missing key or file gives the empty string.
    QByteArray GetSetting(const QByteArray &section, const QByteArray &key) const;
    // All key names of a section (each name once, in file order), stored from index 1
    // (element 0 empty); returns the count. An empty or missing section gives 0 and an
    // empty list.
    int GetSection(const QByteArray &section, QList<QByteArray> &keys) const;

    // Many writes in one go: after BeginUpdate() the file is read once and every call works
    // on that copy in memory; EndUpdate() writes the file once (when anything changed) and
    // returns false when it could not be written, leaving the old file as it was.
    void BeginUpdate();
    bool EndUpdate();

private:
    struct Buffer;
    std::shared_ptr<Buffer> m_buffer;
};

} // namespace kalvo
