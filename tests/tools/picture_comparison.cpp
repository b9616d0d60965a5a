#include "picture_comparison.h"

#include <QByteArray>
#include <QImage>

#include <cstdlib>

namespace toolstest {

namespace {

QImage Decode(const std::string& bmp) {
    return QImage::fromData(QByteArray(bmp.data(), static_cast<qsizetype>(bmp.size())), "BMP")
        .convertToFormat(QImage::Format_RGB32);
}

std::string At(int x, int y) {
    return " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

} // namespace

std::string PictureDifference(const std::string& expectedBmp, const std::string& actualBmp) {
    const QImage expected = Decode(expectedBmp);
    const QImage actual = Decode(actualBmp);
    if (expected.isNull() || actual.isNull())
        return "not a readable picture";
    if (expected.size() != actual.size())
        return "a different size";
    // Rounding touches anti-aliased edges only: a handful of pixels, never a
    // whole area.
    const long allowed = static_cast<long>(expected.width()) * expected.height() / 100;
    long nearlyEqual = 0;
    for (int y = 0; y < expected.height(); ++y) {
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        for (int x = 0; x < expected.width(); ++x) {
            if (e[x] == a[x])
                continue;
            if (qRgb(0, 0, 0) == e[x] || qRgb(0, 0, 0) == a[x])
                return "key and picture swapped" + At(x, y);
            if (std::abs(qRed(e[x]) - qRed(a[x])) > 1 ||
                std::abs(qGreen(e[x]) - qGreen(a[x])) > 1 ||
                std::abs(qBlue(e[x]) - qBlue(a[x])) > 1)
                return "another colour" + At(x, y);
            if (++nearlyEqual > allowed)
                return "more than " + std::to_string(allowed) + " pixels off by 1";
        }
    }
    return "";
}

} // namespace toolstest
