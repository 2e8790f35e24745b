#include "shell/UserStore.h"

#include <QSettings>

namespace kalvo {

QString UserStore::GetSetting(const QString &section, const QString &key, const QString &defaultValue)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope,
                    QString::fromLatin1(kOrganization), QString::fromLatin1(kApplication));
    store.beginGroup(section);
    const QVariant v = store.value(key);
    if (!v.isValid())
        return defaultValue;
    return v.toString();
}

bool UserStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope,
                    QString::fromLatin1(kOrganization), QString::fromLatin1(kApplication));
    store.beginGroup(section);
    store.setValue(key, value);
    store.endGroup();
    store.sync();
    return store.status() == QSettings::NoError;
}

} // namespace kalvo
