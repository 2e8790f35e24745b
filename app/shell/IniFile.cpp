#include "shell/IniFile.h"

#include "data/Codec.h"

#include <QFile>
#include <QSaveFile>

namespace kalvo {

namespace {

// Longest value handed back: the caller's 255-byte buffer less its terminating NUL.
constexpr qsizetype kMaxValue = 254;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

QByteArray trimmed(QByteArrayView text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    return text.sliced(b, e - b).toByteArray();
}

// One physical line: its content and the terminator it had in the file ("\r\n", "\n" or
// nothing for a last line without one).
struct Line {
    QByteArray content;
    QByteArray eol;
};

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    QByteArray name;   // section name or key name
    QByteArray value;  // raw value text after '=' (keys only)
};

Parsed parse(const QByteArray &content)
{
    Parsed p;
    qsizetype i = 0;
    while (i < content.size() && isBlank(content[i]))
        ++i;
    if (i >= content.size())
        return p;
    const char first = content[i];
    if (first == ';')
        return p;
    if (first == '[') {
        qsizetype close = content.indexOf(']', i + 1);
        if (close < 0)
            close = content.size();
        p.kind = Kind::Section;
        p.name = trimmed(QByteArrayView(content).sliced(i + 1, close - i - 1));
        return p;
    }
    const qsizetype eq = content.indexOf('=', i);
    if (eq < 0)
        return p;
    p.kind = Kind::Key;
    p.name = trimmed(QByteArrayView(content).sliced(i, eq - i));
    p.value = QByteArrayView(content).sliced(eq + 1).toByteArray();
    return p;
}

// The value as the reader hands it out: trimmed, one pair of enclosing quotes removed,
// cut at a NUL and to the buffer size.
QByteArray cleanValue(const QByteArray &raw)
{
    QByteArray v = trimmed(raw);
    if (v.size() >= 2) {
        const char q = v.front();
        if ((q == '"' || q == '\'') && v.back() == q)
            v = v.mid(1, v.size() - 2);
    }
    const qsizetype nul = v.indexOf('\0');
    if (nul >= 0)
        v.truncate(nul);
    if (v.size() > kMaxValue)
        v.truncate(kMaxValue);
    return v;
}

struct IniText {
    QList<Line> lines;
    QByteArray eol = "\r\n";  // line ending for new lines
    bool exists = false;
};

IniText load(const QString &fileName)
{
    IniText t;
    if (fileName.isEmpty())
        return t;
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return t;
    t.exists = true;
    const QByteArray bytes = f.readAll();
    const qsizetype firstLf = bytes.indexOf('\n');
    if (firstLf >= 0)
        t.eol = (firstLf > 0 && bytes[firstLf - 1] == '\r') ? QByteArray("\r\n") : QByteArray("\n");
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', pos);
        Line line;
        if (lf < 0) {
            line.content = bytes.mid(pos);
            pos = bytes.size();
        } else {
            qsizetype end = lf;
            if (end > pos && bytes[end - 1] == '\r') {
                --end;
                line.eol = "\r\n";
            } else {
                line.eol = "\n";
            }
            line.content = bytes.mid(pos, end - pos);
            pos = lf + 1;
        }
        t.lines.append(line);
    }
    return t;
}

bool store(const QString &fileName, const IniText &t)
{
    if (fileName.isEmpty())
        return false;
    QSaveFile f(fileName);
    // a writable file in a folder where no temporary file can be made is still written
    f.setDirectWriteFallback(true);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const Line &l : t.lines) {
        if (f.write(l.content) != l.content.size() || f.write(l.eol) != l.eol.size()) {
            f.cancelWriting();
            return false;
        }
    }
    return f.commit();
}

// Section and key names that cannot be written as one well-formed line.
bool validName(const QByteArray &name, bool isKey)
{
    if (trimmed(name).isEmpty())
        return false;
    for (char c : name) {
        if (c == '\r' || c == '\n' || c == '\0')
            return false;
        if (isKey ? c == '=' : c == ']')
            return false;
    }
    if (isKey && (trimmed(name).startsWith(';') || trimmed(name).startsWith('[')))
        return false;
    return true;
}

// The text written after "key=": quoted when the reader would otherwise lose the value's
// surrounding blanks or its own enclosing quotes.
QByteArray encodeValue(const QByteArray &value)
{
    if (value.isEmpty())
        return value;
    const bool blankEdge = isBlank(value.front()) || isBlank(value.back());
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
                        && value.back() == value.front();
    if (blankEdge || quoted)
        return '"' + value + '"';
    return value;
}

// Index of the next section line at or after from, or lines.size().
qsizetype sectionEnd(const IniText &t, qsizetype from)
{
    for (qsizetype i = from; i < t.lines.size(); ++i)
        if (parse(t.lines[i].content).kind == Kind::Section)
            return i;
    return t.lines.size();
}

// Calls visit(sectionLineIndex, firstBodyLine, endLine) for every section with that name.
template <typename F>
void forEachSection(const IniText &t, const QByteArray &section, F visit)
{
    const QByteArray wanted = trimmed(section);
    for (qsizetype i = 0; i < t.lines.size(); ++i) {
        const Parsed p = parse(t.lines[i].content);
        if (p.kind != Kind::Section || !ansiEqualNoCase(p.name, wanted))
            continue;
        const qsizetype end = sectionEnd(t, i + 1);
        if (!visit(i, i + 1, end))
            return;
        i = end - 1;
    }
}

} // namespace

struct cIniFile::Buffer {
    IniText text;
    bool dirty = false;
};

void cIniFile::BeginUpdate()
{
    if (!m_buffer)
        m_buffer = std::make_shared<Buffer>(Buffer{load(FileName), false});
}

bool cIniFile::EndUpdate()
{
    if (!m_buffer)
        return true;
    const std::shared_ptr<Buffer> b = std::move(m_buffer);
    m_buffer.reset();
    return !b->dirty || store(FileName, b->text);
}

QByteArray cIniFile::GetSetting(const QByteArray &section, const QByteArray &key) const
{
    const IniText t = m_buffer ? m_buffer->text : load(FileName);
    const QByteArray wantedKey = trimmed(key);
    QByteArray result;
    forEachSection(t, section, [&](qsizetype, qsizetype body, qsizetype end) {
        for (qsizetype i = body; i < end; ++i) {
            const Parsed p = parse(t.lines[i].content);
            if (p.kind == Kind::Key && ansiEqualNoCase(p.name, wantedKey)) {
                result = cleanValue(p.value);
                return false;
            }
        }
        return true;
    });
    return result;
}

int cIniFile::GetSection(const QByteArray &section, QList<QByteArray> &keys) const
{
    const IniText t = m_buffer ? m_buffer->text : load(FileName);
    QList<QByteArray> names;
    forEachSection(t, section, [&](qsizetype, qsizetype body, qsizetype end) {
        for (qsizetype i = body; i < end; ++i) {
            const Parsed p = parse(t.lines[i].content);
            if (p.kind != Kind::Key)
                continue;
            bool seen = false;
            for (const QByteArray &n : names)
                seen = seen || ansiEqualNoCase(n, p.name);
            if (!seen)
                names.append(p.name);
        }
        return true;
    });
    keys.clear();
    if (names.isEmpty())
        return 0;
    keys.reserve(names.size() + 1);
    keys.append(QByteArray());
    keys.append(names);
    return int(names.size());
}

bool cIniFile::SaveSetting(const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    if (!validName(section, false) || !validName(key, true))
        return false;
    for (char c : value)
        if (c == '\r' || c == '\n' || c == '\0')
            return false;

    IniText loaded;
    if (!m_buffer)
        loaded = load(FileName);
    IniText &t = m_buffer ? m_buffer->text : loaded;
    const QByteArray wantedKey = trimmed(key);
    const QByteArray newLine = trimmed(key) + '=' + encodeValue(value);

    // Replace the first occurrence of the key in place.
    bool done = false;
    qsizetype firstSectionEnd = -1;
    qsizetype insertAt = -1;
    forEachSection(t, section, [&](qsizetype header, qsizetype body, qsizetype end) {
        for (qsizetype i = body; i < end; ++i) {
            const Parsed p = parse(t.lines[i].content);
            if (p.kind == Kind::Key && ansiEqualNoCase(p.name, wantedKey)) {
                t.lines[i].content = newLine;
                done = true;
                return false;
            }
        }
        if (firstSectionEnd < 0) {
            firstSectionEnd = end;
            // after the last non-blank line of the section, so separating blank lines stay
            insertAt = end;
            while (insertAt > body && trimmed(t.lines[insertAt - 1].content).isEmpty())
                --insertAt;
            if (insertAt < header + 1)
                insertAt = header + 1;
        }
        return true;
    });

    if (!done) {
        if (insertAt < 0) {
            // new section at the end of the file
            if (!t.lines.isEmpty() && t.lines.back().eol.isEmpty())
                t.lines.back().eol = t.eol;
            t.lines.append({'[' + trimmed(section) + ']', t.eol});
            t.lines.append({newLine, t.eol});
        } else {
            if (insertAt > 0 && t.lines[insertAt - 1].eol.isEmpty())
                t.lines[insertAt - 1].eol = t.eol;
            t.lines.insert(insertAt, {newLine, t.eol});
        }
    }
    if (m_buffer) {
        m_buffer->dirty = true;
        return !FileName.isEmpty();
    }
    return store(FileName, t);
}

bool cIniFile::DeleteSection(const QByteArray &section)
{
    IniText loaded;
    if (!m_buffer)
        loaded = load(FileName);
    IniText &t = m_buffer ? m_buffer->text : loaded;
    if (!m_buffer && !t.exists)
        return !FileName.isEmpty();
    QList<std::pair<qsizetype, qsizetype>> ranges;
    forEachSection(t, section, [&](qsizetype header, qsizetype, qsizetype end) {
        ranges.append({header, end});
        return true;
    });
    if (ranges.isEmpty())
        return true;
    for (auto it = ranges.crbegin(); it != ranges.crend(); ++it)
        t.lines.remove(it->first, it->second - it->first);
    if (m_buffer) {
        m_buffer->dirty = true;
        return !FileName.isEmpty();
    }
    return store(FileName, t);
}

} // namespace kalvo
