// The launcher's button pictures and the window icon. The button pictures
// keep a light grey background in their bottom-left pixel, the colour a
// button picture conventionally treats as see-through.

#include "art.h"

#include "exact_math.h"
#include "sprite_keying.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <QVector>

namespace datamaker {
namespace {

const QColor kButtonFace(240, 240, 240);

QPen Outline(double width) {
    QPen pen{QColor(kOutline), width};
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// Nearest colours of a fixed 16-colour table, without dithering.
QImage ToSixteenColours(const QImage& image, const QVector<QRgb>& table) {
    return image.convertToFormat(QImage::Format_RGB32)
        .convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither | Qt::AvoidDither);
}

void SmallPimuru(QPainter& p, QPointF centre, double rx, double ry) {
    QRadialGradient fill(centre + QPointF(-rx * 0.35, -ry * 0.45), rx * 1.4);
    fill.setColorAt(0.0, QColor(214, 255, 176));
    fill.setColorAt(0.45, QColor(126, 222, 96));
    fill.setColorAt(1.0, QColor(58, 156, 62));
    p.setPen(Outline(1.4));
    p.setBrush(fill);
    p.drawEllipse(centre, rx, ry);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kOutline));
    p.drawEllipse(centre + QPointF(-rx * 0.3, -ry * 0.15), rx * 0.13, ry * 0.22);
    p.drawEllipse(centre + QPointF(rx * 0.3, -ry * 0.15), rx * 0.13, ry * 0.22);
    p.setBrush(Qt::white);
    p.drawEllipse(centre + QPointF(-rx * 0.34, -ry * 0.25), rx * 0.05, ry * 0.07);
    p.drawEllipse(centre + QPointF(rx * 0.26, -ry * 0.25), rx * 0.05, ry * 0.07);
    p.setBrush(QColor(255, 150, 140));
    p.drawEllipse(centre + QPointF(-rx * 0.62, ry * 0.2), rx * 0.16, ry * 0.1);
    p.drawEllipse(centre + QPointF(rx * 0.62, ry * 0.2), rx * 0.16, ry * 0.1);
}

void SmallBall(QPainter& p, QPointF centre, double r) {
    p.setPen(Outline(1.2));
    p.setBrush(QColor(255, 248, 232));
    p.drawEllipse(centre, r, r);
    p.setPen(Qt::NoPen);
    const QColor panels[] = {QColor(236, 58, 64), QColor(54, 122, 232), QColor(255, 206, 40)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(panels[i]);
        p.drawPie(QRectF(centre.x() - r + 0.7, centre.y() - r + 0.7, 2 * r - 1.4, 2 * r - 1.4), (30 + i * 120) * 16,
                  60 * 16);
    }
    p.setBrush(Qt::white);
    p.drawEllipse(centre + QPointF(-r * 0.35, -r * 0.4), r * 0.22, r * 0.18);
}

} // namespace

QImage DrawStartPicture() {
    QImage image(32, 69, QImage::Format_RGB32);
    image.fill(kButtonFace);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The ball flying up from a pimuru's paddle, with a motion trail.
    p.setPen(QPen(QColor(150, 190, 240), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 22), QPointF(14, 30));
    p.drawLine(QPointF(19, 24), QPointF(19, 33));
    SmallBall(p, QPointF(16.5, 13), 9.5);
    // Paddle raised.
    p.setPen(Outline(3.5));
    p.drawLine(QPointF(24, 48), QPointF(26, 39));
    p.setPen(QPen(QColor(222, 184, 120), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 48), QPointF(26, 40));
    p.setPen(Outline(1.2));
    p.setBrush(QColor(255, 150, 40));
    p.drawEllipse(QPointF(26.5, 36), 4.6, 3.8);
    SmallPimuru(p, QPointF(15, 53), 12.5, 11);
    p.setPen(Outline(1.2));
    p.setBrush(QColor(58, 156, 62));
    p.drawEllipse(QPointF(9, 64.5), 4.5, 2.5);
    p.drawEllipse(QPointF(21, 64.5), 4.5, 2.5);
    p.end();
    image.setPixel(0, image.height() - 1, kButtonFace.rgb());
    return image;
}

QImage DrawHelpPicture() {
    QImage image(34, 30, QImage::Format_RGB32);
    image.fill(kButtonFace);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // An open book with a question mark.
    p.setPen(QPen(QColor(kOutline), 1));
    p.setBrush(QColor(40, 100, 210));
    p.drawRect(2, 7, 29, 19);
    p.setBrush(Qt::white);
    QPolygon left({QPoint(3, 6), QPoint(11, 4), QPoint(16, 6), QPoint(16, 24), QPoint(11, 22), QPoint(3, 24)});
    QPolygon right({QPoint(17, 6), QPoint(22, 4), QPoint(30, 6), QPoint(30, 24), QPoint(22, 22), QPoint(17, 24)});
    p.drawPolygon(left);
    p.drawPolygon(right);
    p.setPen(QColor(170, 190, 220));
    for (int y = 10; y <= 20; y += 3) {
        p.drawLine(5, y, 14, y - 1);
    }
    // Question mark on the right page.
    p.setPen(QPen(QColor(220, 40, 60), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(20.5, 10.5);
    hook.lineTo(21.5, 8.5);
    hook.lineTo(26, 8.5);
    hook.lineTo(27, 10.5);
    hook.lineTo(27, 12);
    hook.lineTo(24, 14);
    hook.lineTo(24, 16.5);
    p.drawPath(hook);
    p.fillRect(23, 19, 2, 2, QColor(220, 40, 60));
    // A small star for cheer.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 206, 40));
    p.drawPolygon(QPolygon({QPoint(29, 0), QPoint(30, 2), QPoint(33, 2), QPoint(31, 4), QPoint(32, 6),
                            QPoint(29, 5), QPoint(26, 6), QPoint(27, 4), QPoint(25, 2), QPoint(28, 2)}));
    p.end();
    const QVector<QRgb> table = {kButtonFace.rgb(),     kOutline,
                                 qRgb(255, 255, 255),   qRgb(170, 190, 220),
                                 qRgb(40, 100, 210),    qRgb(90, 150, 240),
                                 qRgb(220, 40, 60),     qRgb(255, 206, 40),
                                 qRgb(255, 150, 40),    qRgb(80, 180, 70),
                                 qRgb(128, 128, 128),   qRgb(200, 200, 200),
                                 qRgb(20, 50, 130),     qRgb(255, 170, 200),
                                 qRgb(160, 110, 60),    qRgb(214, 255, 176)};
    return ToSixteenColours(image, table);
}

QImage PaintIcon(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (size != 32)
        p.scale(size / 32.0, size / 32.0);
    p.fillRect(QRectF(0, 0, 32, 32), QColor(120, 190, 246));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 230, 176));
    p.drawRect(QRectF(0, 27, 32, 5));
    SmallBall(p, QPointF(23, 8.5), 6);
    SmallPimuru(p, QPointF(13, 20), 11.5, 10);
    p.end();
    return image;
}

QImage DrawIcon() {
    const QImage image = PaintIcon(32);
    const QVector<QRgb> table = {qRgb(120, 190, 246), kOutline,
                                 qRgb(255, 255, 255), qRgb(250, 230, 176),
                                 qRgb(214, 255, 176), qRgb(126, 222, 96),
                                 qRgb(58, 156, 62),   qRgb(255, 150, 140),
                                 qRgb(236, 58, 64),   qRgb(54, 122, 232),
                                 qRgb(255, 206, 40),  qRgb(255, 248, 232),
                                 qRgb(90, 170, 80),   qRgb(170, 215, 250),
                                 qRgb(80, 60, 90),    qRgb(180, 240, 140)};
    return ToSixteenColours(image, table);
}

} // namespace datamaker
