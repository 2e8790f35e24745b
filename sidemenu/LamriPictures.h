#pragma once
// The control's built-in pictures and its picture loading.
#include <QImage>
#include <QString>

namespace lamri {

// The default item icon, 32x32.
QImage defaultItemIcon();
// The scroll arrow pictures, 16x16 (arrowType 1 up, -1 down).
QImage arrowPicture(int arrowType);
// Loads a picture file (any format Qt reads, .ico included). For files holding several
// images the one nearest 32x32 is taken. A null image when the file cannot be read or
// claims a size no icon has.
QImage loadIconFile(const QString &path);
// Resolves a picture address: a local path, a "file:" URL or a Qt resource path.
// Returns an empty string for addresses that cannot be fetched (other schemes).
QString localPathOf(const QString &address);

} // namespace lamri
