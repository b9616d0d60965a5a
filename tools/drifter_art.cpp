// The drifter: a grumpy purple puff with bat wings; eight pictures make one
// wing beat while it bobs.

#include "art.h"

#include "exact_math.h"
#include "sheet_layout.h"
#include "sprite_keying.h"

#include <QPainterPath>
#include <QRadialGradient>

namespace datamaker {
namespace {

QPen Outline(double width) {
    QPen pen{QColor(kOutline), width};
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// One wing spreading to the right of its root, lifted by `lift` degrees.
QPainterPath Wing(QPointF root, double lift, double spread) {
    QPainterPath wing;
    const double rad = lift * kPi / 180;
    auto at = [&](double x, double y) {
        // Rotate the wing's own (x right, y down) about its root.
        const double c = Cosine(rad), s = Sine(rad);
        return root + QPointF(x * c + y * s, -x * s + y * c);
    };
    wing.moveTo(at(0, -6));
    wing.cubicTo(at(12 * spread, -18), at(28 * spread, -20), at(38 * spread, -12));
    // Scalloped trailing edge.
    wing.quadTo(at(33 * spread, -4), at(34 * spread, 4));
    wing.quadTo(at(27 * spread, -1), at(24 * spread, 6));
    wing.quadTo(at(17 * spread, 0), at(12 * spread, 7));
    wing.quadTo(at(6 * spread, 2), at(0, 7));
    wing.closeSubpath();
    return wing;
}

} // namespace

QImage DrawDrifter(int picture) {
    const SpriteCell cell = DrifterCell(0);
    QImage image = NewSprite(cell.Width(), cell.Height());
    QPainter p;
    BeginSmooth(p, image);
    const double phase = picture * (2 * kPi / 8);
    const double lift = 30 * Sine(phase);
    const double spread = 1.0 - 0.18 * Sine(phase) * Sine(phase);
    // The body sits a little below the drawing point and sinks as the wings
    // rise (and rises as they beat down), so wings and body together stay
    // centred on it.
    const QPointF centre(cell.centreX, cell.centreY + 3 + 3 * Sine(phase));
    const double r = 19;

    // Wings behind the body.
    const QColor wingColour(120, 64, 170), wingBone(70, 32, 110);
    for (int side : {-1, 1}) {
        p.save();
        p.translate(centre);
        p.scale(side, 1);
        const QPainterPath wing = Wing(QPointF(r * 0.6, -2), lift, spread);
        p.setPen(Outline(2));
        p.setBrush(wingColour);
        p.drawPath(wing);
        p.setPen(QPen(wingBone, 1.4));
        p.setBrush(Qt::NoBrush);
        const double rad = lift * kPi / 180;
        const QPointF root(r * 0.6, -2);
        for (double tip : {24.0, 12.0}) {
            const double x = tip * spread, y = 5;
            p.drawLine(root, root + QPointF(x * Cosine(rad) + y * Sine(rad), -x * Sine(rad) + y * Cosine(rad)));
        }
        p.restore();
    }

    // Horns.
    for (int side : {-1, 1}) {
        QPainterPath horn;
        horn.moveTo(centre + QPointF(side * 6, -r + 3));
        horn.quadTo(centre + QPointF(side * 10, -r - 6), centre + QPointF(side * 14, -r - 7));
        horn.quadTo(centre + QPointF(side * 12, -r), centre + QPointF(side * 14, -r + 6));
        horn.closeSubpath();
        p.setPen(Outline(1.6));
        p.setBrush(QColor(255, 214, 90));
        p.drawPath(horn);
    }

    // Spiky round body.
    QPainterPath body;
    const int spikes = 14;
    for (int i = 0; i <= 2 * spikes; ++i) {
        const double a = i * kPi / spikes + phase / 4;
        const double rr = (i % 2 == 0) ? r + 3.5 : r - 0.5;
        const QPointF pt = centre + QPointF(rr * Cosine(a), rr * Sine(a));
        if (i == 0)
            body.moveTo(pt);
        else
            body.lineTo(pt);
    }
    body.closeSubpath();
    QRadialGradient fill(centre + QPointF(-6, -8), r * 1.5);
    fill.setColorAt(0.0, QColor(230, 150, 255));
    fill.setColorAt(0.5, QColor(170, 80, 220));
    fill.setColorAt(1.0, QColor(96, 40, 150));
    p.setPen(Outline(2.2));
    p.setBrush(fill);
    p.drawPath(body);

    // Cross eyes, slanted brows and a grin with one fang.
    for (int side : {-1, 1}) {
        const QPointF eye = centre + QPointF(side * 7, -3);
        p.setPen(Outline(1.4));
        p.setBrush(QColor(255, 250, 210));
        p.drawEllipse(eye, 5, 5.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 20, 40));
        p.drawEllipse(eye + QPointF(-side * 1.2, 1), 2.4, 2.8);
        p.setBrush(QColor(kOutline));
        p.drawEllipse(eye + QPointF(-side * 1.2, 1), 1.2, 1.4);
        p.setPen(Outline(2.6));
        p.drawLine(eye + QPointF(-side * 6, -8), eye + QPointF(side * 4, -5));
    }
    QPainterPath grin;
    grin.moveTo(centre + QPointF(-8, 7));
    grin.quadTo(centre + QPointF(0, 13), centre + QPointF(8, 7));
    grin.quadTo(centre + QPointF(0, 9), centre + QPointF(-8, 7));
    p.setPen(Outline(1.6));
    p.setBrush(QColor(110, 20, 60));
    p.drawPath(grin);
    QPainterPath fang;
    fang.moveTo(centre + QPointF(2, 8.6));
    fang.lineTo(centre + QPointF(5, 8.2));
    fang.lineTo(centre + QPointF(3.6, 12));
    fang.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(fang);
    p.end();
    return image;
}

} // namespace datamaker
