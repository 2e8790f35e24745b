#include "LamriPropertyBag.h"

#include <QBuffer>
#include <QImageReader>
#include <QRegularExpression>
#include <limits>

namespace {

// Strings are written in double quotes with backslash escapes, so that leading
// blanks, quotes and line breaks survive the round trip.
QString quote(const QString &s)
{
    QString out;
    out.reserve(s.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : s) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default: out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

// Accepts a quoted value (escapes undone; a missing closing quote keeps what there
// is) or a bare one (taken as it stands, already trimmed).
QString unquote(const QString &raw)
{
    if (!raw.startsWith(QLatin1Char('"')))
        return raw;
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 1; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == QLatin1Char('"'))
            break;
        if (c == QLatin1Char('\\') && i + 1 < raw.size()) {
            const QChar e = raw.at(++i);
            switch (e.unicode()) {
            case 'n': out += QLatin1Char('\n'); break;
            case 'r': out += QLatin1Char('\r'); break;
            case 't': out += QLatin1Char('\t'); break;
            default: out += e;
            }
            continue;
        }
        out += c;
    }
    return out;
}

} // namespace

void LamriPropertyBag::put(const QString &key, const QString &raw)
{
    for (auto &entry : m_entries) {
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0) {
            entry.second = raw;
            return;
        }
    }
    m_entries.emplace_back(key, raw);
}

const QString *LamriPropertyBag::find(const QString &key) const
{
    for (const auto &entry : m_entries)
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0)
            return &entry.second;
    return nullptr;
}

void LamriPropertyBag::writeString(const QString &key, const QString &value) { put(key, quote(value)); }
void LamriPropertyBag::writeInt(const QString &key, qint64 value) { put(key, QString::number(value)); }
void LamriPropertyBag::writeBool(const QString &key, bool value)
{
    put(key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void LamriPropertyBag::writePicture(const QString &key, const QImage &picture)
{
    if (picture.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        return;
    put(key, QString::fromLatin1(png.toBase64()));
}

bool LamriPropertyBag::contains(const QString &key) const { return find(key) != nullptr; }

QString LamriPropertyBag::readString(const QString &key, const QString &def) const
{
    const QString *raw = find(key);
    return raw ? unquote(*raw) : def;
}

int LamriPropertyBag::readInt(const QString &key, int def) const
{
    const QString *raw = find(key);
    if (!raw)
        return def;
    const QString text = unquote(*raw).trimmed();
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (ok) {
        if (v > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
        if (v < std::numeric_limits<int>::min())
            return std::numeric_limits<int>::min();
        return int(v);
    }
    // Digits too many for 64 bits still name an out-of-range number.
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
    if (digits.match(text).hasMatch())
        return text.startsWith(QLatin1Char('-')) ? std::numeric_limits<int>::min()
                                                 : std::numeric_limits<int>::max();
    return def;
}

bool LamriPropertyBag::readBool(const QString &key, bool def) const
{
    const QString *raw = find(key);
    if (!raw)
        return def;
    const QString text = unquote(*raw).trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("-1") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return def;
}

QImage LamriPropertyBag::readPicture(const QString &key) const
{
    const QString *raw = find(key);
    if (!raw)
        return {};
    const QByteArray data = QByteArray::fromBase64(unquote(*raw).toLatin1());
    if (data.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // An icon never needs more; a forged header must not make us allocate gigabytes.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > 4096 || size.height() > 4096))
        return {};
    return reader.read();
}

QByteArray LamriPropertyBag::toIni(const QString &section) const
{
    QByteArray out;
    out += '[';
    out += section.toUtf8();
    out += "]\n";
    for (const auto &entry : m_entries) {
        out += entry.first.toUtf8();
        out += '=';
        out += entry.second.toUtf8();
        out += '\n';
    }
    return out;
}

LamriPropertyBag LamriPropertyBag::fromIni(const QByteArray &text, const QString &section)
{
    LamriPropertyBag unsectioned;
    LamriPropertyBag named;
    bool sawSection = false;
    enum { Before, Inside, Other } where = Before;
    const QString all = QString::fromUtf8(text);
    const auto lines = QStringView(all).split(QLatin1Char('\n'));
    for (QStringView line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            if (close < 0) {
                where = Other; // a broken header: keep its keys out of any section
                continue;
            }
            const bool match = line.mid(1, close - 1).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            sawSection = sawSection || match;
            where = match ? Inside : Other;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toString();
        const QString value = line.mid(eq + 1).trimmed().toString();
        LamriPropertyBag *target = where == Inside ? &named : where == Before ? &unsectioned : nullptr;
        // The first occurrence of a key wins.
        if (target && !target->contains(key))
            target->m_entries.emplace_back(key, value);
    }
    return sawSection ? named : unsectioned;
}
