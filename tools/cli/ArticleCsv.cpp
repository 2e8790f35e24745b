#include "ArticleCsv.h"

#include "data/ArticleStore.h"
#include "data/Codec.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace kalvo::cli {

namespace {

QString number(double value)
{
    QString text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

QByteArray csvField(const QString &value)
{
    QByteArray bytes = value.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') || bytes.contains('\r')) {
        bytes.replace("\"", "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

// A list position: a whole number (blanks around allowed) in 0..last.
std::optional<int> listPosition(const QString &text, int last)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > last)
        return std::nullopt;
    return value;
}

std::optional<bool> flag(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("1") || t == QLatin1String("true"))
        return true;
    if (t == QLatin1String("0") || t == QLatin1String("false"))
        return false;
    return std::nullopt;
}

QString columnOf(ArticleCheck::Field field)
{
    switch (field) {
    case ArticleCheck::Field::Code: return QStringLiteral("BAR_CODE");
    case ArticleCheck::Field::Name: return QStringLiteral("DESCRIPTION");
    case ArticleCheck::Field::Price: return QStringLiteral("PRICE");
    case ArticleCheck::Field::Stock: return QStringLiteral("INVENTARY");
    case ArticleCheck::Field::None: break;
    }
    return {};
}

} // namespace

const QStringList &articleCsvColumns()
{
    static const QStringList columns = {
        QStringLiteral("BAR_CODE"),  QStringLiteral("DESCRIPTION"), QStringLiteral("PRICE"),
        QStringLiteral("VAT_CODE"),  QStringLiteral("MES_TYPE"),    QStringLiteral("ART_TYPE"),
        QStringLiteral("ONE_ITEM"),  QStringLiteral("DEPARTMENT"),  QStringLiteral("INVENTARY"),
        QStringLiteral("MAX_VALUE"),
    };
    return columns;
}

QByteArray articlesToCsv(const QList<Article> &articles)
{
    QByteArray out = articleCsvColumns().join(QLatin1Char(',')).toUtf8() + '\n';
    for (const Article &a : articles) {
        const QStringList fields = {
            ansiToUnicode(a.barCode), ansiToUnicode(a.description), number(a.price),
            QString::number(a.vatCode), QString::number(a.mesType), QString::number(a.artType),
            a.oneItem ? QStringLiteral("1") : QStringLiteral("0"), QString::number(a.department),
            number(a.inventary), number(a.maxValue),
        };
        for (qsizetype i = 0; i < fields.size(); ++i)
            out += (i ? "," : "") + csvField(fields[i]);
        out += '\n';
    }
    return out;
}

bool parseCsv(const QByteArray &bytes, QList<CsvRecord> &records, QString &error)
{
    records.clear();
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(data);
    if (decoder.hasError()) {
        // name the first line that is not UTF-8
        int line = 1;
        for (const QByteArray &l : data.split('\n')) {
            QStringDecoder probe(QStringDecoder::Utf8);
            (void)QString(probe(l));
            if (probe.hasError())
                break;
            ++line;
        }
        error = QStringLiteral("line %1: the text is not UTF-8").arg(line);
        return false;
    }

    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        // one record
        CsvRecord record;
        record.line = line;
        QString field;
        bool endOfRecord = false;
        bool any = false;
        while (!endOfRecord) {
            if (i < n && text[i] == QLatin1Char('"')) {
                // quoted field
                const int startLine = line;
                ++i;
                bool closed = false;
                while (i < n) {
                    const QChar c = text[i];
                    if (c == QLatin1Char('"')) {
                        if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                            field += QLatin1Char('"');
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (c == QLatin1Char('\n'))
                        ++line;
                    field += c;
                    ++i;
                }
                if (!closed) {
                    error = QStringLiteral("line %1: a quoted field is not closed").arg(startLine);
                    return false;
                }
                any = true;
                // only a separator or the end of the record may follow
                if (i < n && text[i] != QLatin1Char(',') && text[i] != QLatin1Char('\n') && text[i] != QLatin1Char('\r')) {
                    error = QStringLiteral("line %1: text after a closing quote").arg(line);
                    return false;
                }
            }
            while (i < n && text[i] != QLatin1Char(',') && text[i] != QLatin1Char('\n') && text[i] != QLatin1Char('\r')) {
                if (text[i] == QLatin1Char('"')) {
                    error = QStringLiteral("line %1: a quote inside an unquoted field").arg(line);
                    return false;
                }
                field += text[i++];
                any = true;
            }
            record.fields << field;
            field.clear();
            if (i < n && text[i] == QLatin1Char(',')) {
                ++i;
                any = true;
                continue;
            }
            // end of line or of text
            if (i < n && text[i] == QLatin1Char('\r'))
                ++i;
            if (i < n && text[i] == QLatin1Char('\n'))
                ++i;
            ++line;
            endOfRecord = true;
        }
        if (any)
            records << record;
    }
    return true;
}

ArticleImport checkArticleCsv(const QByteArray &text, const ArticleStore &store, double maxPrice)
{
    ArticleImport result;
    QList<CsvRecord> records;
    if (!parseCsv(text, records, result.error))
        return result;
    if (records.isEmpty()) {
        result.error = QStringLiteral("the file has no header row");
        return result;
    }

    // header: every column once, each known, every required one present
    const CsvRecord &header = records.front();
    QHash<QString, int> column;
    for (int c = 0; c < header.fields.size(); ++c) {
        const QString name = header.fields[c].trimmed().toUpper();
        if (!articleCsvColumns().contains(name)) {
            result.error = QStringLiteral("line %1: unknown column \"%2\"").arg(header.line).arg(header.fields[c]);
            return result;
        }
        if (column.contains(name)) {
            result.error = QStringLiteral("line %1: column %2 appears twice").arg(header.line).arg(name);
            return result;
        }
        column.insert(name, c);
    }
    for (const QString &name : articleCsvColumns()) {
        if (name != QLatin1String("MAX_VALUE") && !column.contains(name)) {
            result.error = QStringLiteral("line %1: column %2 is missing").arg(header.line).arg(name);
            return result;
        }
    }

    QSet<QByteArray> stored;
    for (const Article &a : store.sendList())
        stored.insert(a.barCode);
    QSet<QByteArray> taken; // codes of earlier rows of the file

    for (qsizetype r = 1; r < records.size(); ++r) {
        const CsvRecord &record = records[r];
        auto refuse = [&](const QString &col, const QString &message) {
            result.refused << RefusedRow{record.line, col, message};
        };
        if (record.fields.size() != header.fields.size()) {
            refuse({}, QStringLiteral("%1 fields where the header has %2").arg(record.fields.size()).arg(header.fields.size()));
            continue;
        }
        auto field = [&](const char *name) { return record.fields[column.value(QLatin1String(name))]; };

        ArticleForm form;
        form.code = field("BAR_CODE");
        bool mapped = true;
        form.name = unicodeToAnsi(field("DESCRIPTION"), &mapped);
        if (!mapped) {
            refuse(QStringLiteral("DESCRIPTION"), QStringLiteral("a character the register's code page does not hold"));
            continue;
        }
        if (std::any_of(form.name.cbegin(), form.name.cend(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
            refuse(QStringLiteral("DESCRIPTION"), QStringLiteral("a control character (line break, tab, ...)"));
            continue;
        }
        form.price = field("PRICE");
        form.stock = field("INVENTARY");

        struct Position {
            const char *name;
            int last;
            int *target;
        };
        const Position positions[] = {
            {"VAT_CODE", 8, &form.vatCode},
            {"MES_TYPE", 10, &form.mesType},
            {"ART_TYPE", 7, &form.artType},
            {"DEPARTMENT", 9, &form.department},
        };
        bool positionsOk = true;
        for (const Position &p : positions) {
            const std::optional<int> value = listPosition(field(p.name), p.last);
            if (!value) {
                refuse(QLatin1String(p.name), QStringLiteral("not a whole number from 0 to %1").arg(p.last));
                positionsOk = false;
                break;
            }
            *p.target = *value;
        }
        if (!positionsOk)
            continue;
        const std::optional<bool> oneItem = flag(field("ONE_ITEM"));
        if (!oneItem) {
            refuse(QStringLiteral("ONE_ITEM"), QStringLiteral("not 0, 1, true or false"));
            continue;
        }
        form.oneItem = *oneItem;

        // a stored code is a change of that article; any other code a new article
        const QByteArray padded = PadBarCode(form.code.toLatin1());
        const bool replaces = stored.contains(padded);
        const ArticleCheck check = store.validateArticle(form, maxPrice, replaces ? std::optional<QByteArray>(padded) : std::nullopt);
        if (!check.ok) {
            refuse(columnOf(check.field), check.message);
            continue;
        }
        if (taken.contains(check.article.barCode)) {
            refuse(QStringLiteral("BAR_CODE"), QString::fromLatin1(articlemsg::kCodeExists));
            continue;
        }
        taken.insert(check.article.barCode);
        result.articles << check.article;
        result.replaces << replaces;
    }
    if (!result.refused.isEmpty()) {
        result.articles.clear();
        result.replaces.clear();
    }
    return result;
}

} // namespace kalvo::cli
