#include "data/Codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kalvo {

namespace {
constexpr const char *kAnsiName = "windows-1250";
}

QString ansiToUnicode(const QByteArray &bytes)
{
    QStringDecoder decoder(kAnsiName);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray unicodeToAnsi(const QString &text, bool *ok)
{
    // Encode character by character so that an unmappable one is both detected and
    // replaced by a plain '?', never by the encoder's 0x1A control byte.
    QStringEncoder encoder(kAnsiName);
    bool allMapped = encoder.isValid();
    QByteArray out;
    out.reserve(text.size());
    if (!encoder.isValid()) {
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                out.append(char(c.unicode()));
            } else {
                out.append('?');
            }
        }
        if (ok)
            *ok = false;
        return out;
    }
    {
        QByteArray whole = encoder.encode(text);
        if (!encoder.hasError()) {
            if (ok)
                *ok = true;
            return whole;
        }
    }
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()
                         && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
        QStringEncoder one(kAnsiName);
        QByteArray b = one.encode(QStringView(text).mid(i, len));
        if (one.hasError() || b.size() != 1) {
            allMapped = false;
            out.append('?');
        } else {
            out.append(b);
        }
        i += len;
    }
    if (ok)
        *ok = allMapped;
    return out;
}

bool isAnsiText(const QString &text)
{
    bool ok = false;
    unicodeToAnsi(text, &ok);
    return ok;
}

bool ansiEqualNoCase(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    bool ascii = true;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]);
        const unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80) {
            ascii = false;
            break;
        }
        auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
        if (lower(x) != lower(y))
            return false;
    }
    if (ascii)
        return true;
    return QString::compare(ansiToUnicode(a), ansiToUnicode(b), Qt::CaseInsensitive) == 0;
}

} // namespace kalvo
