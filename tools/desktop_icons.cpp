#include "desktop_icons.h"

#include "art.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>

#include <stdexcept>
#include <string>

namespace datamaker {

QImage DrawDesktopIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Rounded like the icons around it in a menu; the corners are see-through.
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, size, size), size * 0.16, size * 0.16);
    p.setClipPath(shape);
    p.drawImage(0, 0, PaintIcon(size));
    p.end();
    return icon;
}

std::vector<DataFile> MakeDesktopIcons() {
    std::vector<DataFile> files;
    for (int size : kDesktopIconSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!DrawDesktopIcon(size).save(&buffer, "PNG"))
            throw std::runtime_error("cannot encode the " + std::to_string(size) + " pixel icon");
        files.push_back({std::to_string(size) + ".png", png.toStdString()});
    }
    return files;
}

} // namespace datamaker
