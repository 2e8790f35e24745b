#pragma once
// The control's persisted properties: an ordered list of key/value pairs kept as the
// text of one ini section. Keys match without regard to case; writing a key that is
// already present replaces its value in place. Everything read from a bag is
// untrusted: a missing or malformed value yields the caller's default.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <utility>
#include <vector>

class QIODevice;

class LamriPropertyBag {
public:
    static constexpr const char *kSection = "LamriBar";

    void writeString(const QString &key, const QString &value);
    void writeInt(const QString &key, qint64 value);
    void writeBool(const QString &key, bool value);
    // Stored as PNG, base64 encoded. A null image writes nothing.
    void writePicture(const QString &key, const QImage &picture);

    bool contains(const QString &key) const;
    QString readString(const QString &key, const QString &def) const;
    // Numbers beyond the int range are clamped to it, so that range checks still see
    // them as out of range; text that is no number yields def.
    int readInt(const QString &key, int def) const;
    bool readBool(const QString &key, bool def) const;
    // A null image when the key is missing or its data is no readable picture.
    QImage readPicture(const QString &key) const;

    // Ini text: "[LamriBar]" and one "key=value" line per property, LF line ends.
    QByteArray toIni(const QString &section = QString::fromLatin1(kSection)) const;
    // Reads the named section (keys before any section header are read when the
    // text has no such section). Malformed lines are skipped.
    static LamriPropertyBag fromIni(const QByteArray &text,
                                    const QString &section = QString::fromLatin1(kSection));

    const std::vector<std::pair<QString, QString>> &entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.empty(); }

private:
    void put(const QString &key, const QString &raw);
    const QString *find(const QString &key) const;
    std::vector<std::pair<QString, QString>> m_entries; // raw (encoded) values
};
