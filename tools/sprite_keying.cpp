#include "sprite_keying.h"

#include <algorithm>

namespace datamaker {

QImage NewSprite(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void BeginSmooth(QPainter& painter, QImage& image) {
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
}

QRgb LiftFromKey(QRgb c) {
    // 5 bits keep r and b from 8 up, 5 or 6 bits keep g from 8 up.
    if (qRed(c) < 8 && qGreen(c) < 8 && qBlue(c) < 8)
        return qRgb(8, 8, 8);
    return qRgb(qRed(c), qGreen(c), qBlue(c));
}

QRgb Unpremultiply(QRgb premultiplied) {
    const int alpha = qAlpha(premultiplied);
    if (alpha == 0)
        return 0;
    const auto channel = [alpha](int c) { return std::min(255, (c * 255 + alpha / 2) / alpha); };
    return qRgba(channel(qRed(premultiplied)), channel(qGreen(premultiplied)),
                 channel(qBlue(premultiplied)), alpha);
}

void KeyOnto(QImage& sheet, const QImage& sprite, int left, int top) {
    const QImage src = sprite.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < src.height(); ++y) {
        const int sy = top + y;
        if (sy < 0 || sy >= sheet.height())
            continue;
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(sheet.scanLine(sy));
        for (int x = 0; x < src.width(); ++x) {
            const int sx = left + x;
            if (sx < 0 || sx >= sheet.width() || qAlpha(in[x]) < 128)
                continue;
            out[sx] = LiftFromKey(Unpremultiply(in[x]));
        }
    }
}

} // namespace datamaker
