#pragma once
// The per-user settings store: window placement (section "Settings") and the first-run
// flag of the font installer (section "system.io"). Values are texts. On Linux the store
// is the user's ~/.config/Orvel/Kalvo.conf (QSettings, native format); tests redirect it
// with QSettings::setPath.
#include <QString>

namespace kalvo {

class UserStore {
public:
    // Organisation and application names of the store (and of the QApplication).
    static constexpr char kOrganization[] = "Orvel";
    static constexpr char kApplication[] = "Kalvo";

    // The stored text of section/key, or `defaultValue` when missing.
    static QString GetSetting(const QString &section, const QString &key,
                              const QString &defaultValue = QString());
    // Stores a text; returns false when the store could not be written.
    static bool SaveSetting(const QString &section, const QString &key, const QString &value);
};

} // namespace kalvo
