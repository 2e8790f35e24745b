#include "LamriPictures.h"

#include <QImageReader>
#include <QPainter>
#include <QUrl>

namespace lamri {

namespace {
constexpr int kMaxPictureSide = 4096;
}

QImage defaultItemIcon()
{
    // A small window: grey frame, blue title bar, white client area with text lines.
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(3, 5, 27, 23), QColor(0, 0, 0, 70));          // shadow
    p.fillRect(QRect(2, 4, 27, 23), QColor(240, 240, 240));
    p.setPen(QColor(64, 64, 64));
    p.drawRect(QRect(2, 4, 26, 22));
    p.fillRect(QRect(3, 5, 25, 5), QColor(0, 84, 166));
    p.fillRect(QRect(24, 6, 3, 3), QColor(230, 230, 230));
    p.setPen(QColor(120, 120, 120));
    for (int y = 13; y <= 23; y += 3)
        p.drawLine(6, y, y == 22 ? 17 : 24, y);
    return img;
}

QImage arrowPicture(int arrowType)
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(QColor(212, 208, 200));
    QPainter p(&img);
    // raised edge
    p.setPen(Qt::white);
    p.drawLine(0, 0, 14, 0);
    p.drawLine(0, 0, 0, 14);
    p.setPen(QColor(128, 128, 128));
    p.drawLine(1, 14, 14, 14);
    p.drawLine(14, 1, 14, 14);
    p.setPen(Qt::black);
    p.drawLine(0, 15, 15, 15);
    p.drawLine(15, 0, 15, 15);
    // triangle, 7 wide and 4 high, centred
    for (int row = 0; row < 4; ++row) {
        const int y = arrowType >= 0 ? 9 - row : 6 + row;
        p.fillRect(QRect(4 + row, y, 7 - 2 * row, 1), Qt::black);
    }
    return img;
}

QImage loadIconFile(const QString &path)
{
    if (path.isEmpty())
        return {};
    QImageReader reader(path);
    if (!reader.canRead())
        return {};
    // Several images (an .ico): take the smallest one at least 32 high, else the largest.
    int best = -1;
    int bestScore = 0;
    const int count = reader.imageCount();
    for (int i = 0; i < count && i < 64; ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QSize s = reader.size();
        if (!s.isValid())
            continue;
        const int side = s.height();
        const int score = side >= 32 ? 100000 - side : side;
        if (best < 0 || score > bestScore) {
            best = i;
            bestScore = score;
        }
    }
    if (count > 1) {
        reader.setFileName(path); // start over: some readers cannot jump back
        if (best > 0 && !reader.jumpToImage(best))
            return {};
    }
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide))
        return {};
    QImage img = reader.read();
    if (img.width() > kMaxPictureSide || img.height() > kMaxPictureSide)
        return {};
    return img;
}

QString localPathOf(const QString &address)
{
    const QString a = address.trimmed();
    if (a.isEmpty())
        return {};
    if (a.startsWith(QLatin1String(":/")) || a.startsWith(QLatin1Char('/')))
        return a;
    const QUrl url(a);
    const QString scheme = url.scheme();
    if (scheme.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0)
        return url.toLocalFile();
    if (scheme.compare(QLatin1String("qrc"), Qt::CaseInsensitive) == 0)
        return QLatin1Char(':') + url.path();
    if (scheme.size() > 1) // a drive letter "C:" is a path, anything longer a scheme
        return {};
    return a;
}

} // namespace lamri
