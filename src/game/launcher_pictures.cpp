#include "game/launcher_pictures.h"

#include <QImage>

namespace game {

QPixmap LoadButtonGlyph(const QString& fileName) {
    QImage image(fileName, "BMP");
    if (image.isNull())
        return {};
    QImage glyph = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = glyph.pixel(0, glyph.height() - 1);
    for (int y = 0; y < glyph.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(glyph.scanLine(y));
        for (int x = 0; x < glyph.width(); ++x) {
            if (row[x] == background)
                row[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QPixmap::fromImage(glyph);
}

QIcon LoadWindowIcon(const QString& fileName) {
    QImage image(fileName, "BMP");
    if (image.isNull())
        return {};
    return QIcon(QPixmap::fromImage(image));
}

} // namespace game
