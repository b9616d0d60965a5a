#include "game/launcher_pictures.h"

#include "base/system_error_text.h"
#include "diagnostics/dddd_log.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cerrno>
#include <fcntl.h>

namespace game {
namespace {

// The picture in the file, or a null image with a line in the display log
// saying why (missing, unreadable or not a picture).
QImage ReadPicture(const QString& fileName) {
    const std::string name = fileName.toStdString();
    const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        dddd::ReportMessage(base::OpenFailureMessage(name, errno));
        return {};
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        dddd::ReportMessage(name + "が、読み込めません(" + file.errorString().toStdString() + ")");
        return {};
    }
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull())
        dddd::ReportMessage(name + "は、BMPファイルとして読めません(" +
                            reader.errorString().toStdString() + ")");
    return image;
}

} // namespace

QPixmap LoadButtonGlyph(const QString& fileName) {
    QImage image = ReadPicture(fileName);
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
    QImage image = ReadPicture(fileName);
    if (image.isNull())
        return {};
    return QIcon(QPixmap::fromImage(image));
}

} // namespace game
