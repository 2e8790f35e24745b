#include "shell/MainWindowLoad.h"

#include "shell/AppContext.h"
#include "shell/AppGlobals.h"
#include "shell/IniFile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kalvo {

namespace {

// A stored decimal text, or `fallback` when it is not a finite number in a sane range.
double numberOr(const QString &text, double fallback)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1e9)
        return fallback;
    return v;
}

} // namespace

StoredPlacement ParsePlacement(const QString &windowstate, const QString &left, const QString &top,
                               const QString &width, const QString &height)
{
    StoredPlacement p;
    bool ok = false;
    const int state = windowstate.trimmed().toInt(&ok);
    if (ok && (state == 1 || state == 2))
        p.state = StoredWindowState(state);
    p.left = numberOr(left, 1000);
    p.top = numberOr(top, 1000);
    p.width = numberOr(width, 6500);
    p.height = numberOr(height, 6500);
    if (p.width <= 0)
        p.width = 6500;
    if (p.height <= 0)
        p.height = 6500;
    return p;
}

int TwipsToPixels(double twips, double dpi)
{
    if (!(dpi > 0))
        dpi = 96;
    const double px = std::round(twips * dpi / kTwipsPerInch);
    if (!std::isfinite(px))
        return 0;
    const double lim = std::numeric_limits<int>::max() / 4;
    return int(std::clamp(px, -lim, lim));
}

double PixelsToTwips(int pixels, double dpi)
{
    if (!(dpi > 0))
        dpi = 96;
    return std::round(double(pixels) * kTwipsPerInch / dpi);
}

QRect FitOnScreens(const QRect &window, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return window;
    for (const QRect &s : screens) {
        if (s.contains(window))
            return window;
    }
    // Pick the area that shows most of the window, else the first one.
    QRect target = screens.first();
    qint64 best = 0;
    for (const QRect &s : screens) {
        const QRect common = s.intersected(window);
        const qint64 area = qint64(common.width()) * common.height();
        if (!common.isEmpty() && area > best) {
            best = area;
            target = s;
        }
    }
    QRect r = window;
    r.setWidth(std::min(std::max(window.width(), 1), target.width()));
    r.setHeight(std::min(std::max(window.height(), 1), target.height()));
    int x = std::clamp(window.x(), target.left(), target.right() + 1 - r.width());
    int y = std::clamp(window.y(), target.top(), target.bottom() + 1 - r.height());
    r.moveTo(x, y);
    return r;
}

QList<MenuLink> LoadMenuLinks(const AppContext &context, const QString &prefix)
{
    QList<MenuLink> links;
    for (int i = 0; i < 100; ++i) {
        try {
            const QByteArray section = (prefix + QString::number(i + 1)).toLatin1();
            const QString caption = SettingText(context.ini.GetSetting(section, "caption"));
            const QString url = ExpandAppPath(context, SettingText(context.ini.GetSetting(section, "url")));
            if (caption.trimmed().isEmpty())
                continue;
            links.append({i, caption, url});
        } catch (...) {
            // a bad section is skipped; the loop goes on
        }
    }
    return links;
}

} // namespace kalvo
