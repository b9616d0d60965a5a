// The pimuru: a round, soft creature with a paddle. Picture 0 is at rest;
// 1 to 4 crouch and pull the paddle down (the wind-up); 5 to 11 stretch and
// sweep it up over the head (the swing).

#include "art.h"

#include "exact_math.h"
#include "sheet_layout.h"
#include "sprite_keying.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <array>

namespace datamaker {
namespace {

struct Look {
    QColor body, shade, light, cheek, paddle, paddleRim, accessory, accessoryDark;
    bool sprout; // a leaf sprout on the head; otherwise a ribbon
    bool facesLeft;
};

Look LookOf(int pimuru) {
    if (pimuru == 1)
        return {QColor(126, 222, 96),  QColor(58, 156, 62),  QColor(214, 255, 176), QColor(255, 150, 140),
                QColor(255, 150, 40),  QColor(190, 84, 20),  QColor(80, 196, 64),   QColor(34, 120, 44),
                true, false};
    return {QColor(255, 150, 200), QColor(214, 86, 150), QColor(255, 224, 240), QColor(255, 96, 130),
            QColor(80, 170, 255),  QColor(30, 96, 200),  QColor(255, 230, 70),  QColor(214, 150, 20),
            false, true};
}

struct Pose {
    double angle;  // of the paddle arm, degrees, 0 = forward, 90 = up
    double squash; // body height factor
    int face;      // 0 calm, 1 effort, 2 cheer
};

const std::array<Pose, 12> kPoses = {{
    {-20, 1.00, 0},
    {-33, 0.98, 1},
    {-46, 0.96, 1},
    {-58, 0.94, 1},
    {-68, 0.92, 1},
    {-48, 0.96, 2},
    {-22, 1.00, 2},
    {6, 1.03, 2},
    {36, 1.06, 2},
    {64, 1.07, 2},
    {88, 1.06, 2},
    {108, 1.05, 2},
}};

QPen Outline(double width) {
    QPen pen{QColor(kOutline), width};
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// Longer upwards, so a raised paddle clears the head.
double PaddleReach(double angle) {
    return 34 + 13 * std::max(0.0, Sine(angle * kPi / 180));
}

void DrawPaddle(QPainter& p, const Look& look, QPointF shoulder, double angle) {
    const double rad = angle * kPi / 180;
    const double reach = PaddleReach(angle);
    const QPointF dir(Cosine(rad), -Sine(rad));
    const QPointF hand = shoulder + dir * 15;
    const QPointF head = shoulder + dir * reach;
    // Arm (body colour) and handle.
    p.setPen(Outline(9));
    p.drawLine(shoulder, hand);
    p.setPen(QPen(look.body, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shoulder, hand);
    p.setPen(Outline(6));
    p.drawLine(hand, head);
    p.setPen(QPen(QColor(222, 184, 120), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(hand, head - dir * 6);
    // Paddle face: an oval along the arm.
    p.save();
    p.translate(head);
    p.rotate(-angle);
    p.setPen(Outline(2.2));
    p.setBrush(look.paddleRim);
    p.drawEllipse(QPointF(0, 0), 12.5, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(look.paddle);
    p.drawEllipse(QPointF(0.5, -0.8), 9.5, 7.4);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(-2.5, -3.5), 3.6, 2.2);
    p.restore();
    // The hand over the handle.
    p.setPen(Outline(1.8));
    p.setBrush(look.body);
    p.drawEllipse(hand, 5.2, 5.2);
}

void DrawSprout(QPainter& p, const Look& look, QPointF top) {
    QPainterPath stem;
    stem.moveTo(top + QPointF(0, 2));
    stem.cubicTo(top + QPointF(0, -5), top + QPointF(1, -8), top + QPointF(0, -11));
    p.setPen(Outline(4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    p.setPen(QPen(look.accessoryDark, 2));
    p.drawPath(stem);
    for (int side : {-1, 1}) {
        QPainterPath leaf;
        const QPointF base = top + QPointF(0, -10);
        leaf.moveTo(base);
        leaf.cubicTo(base + QPointF(side * 4, -9), base + QPointF(side * 14, -7), base + QPointF(side * 16, -2));
        leaf.cubicTo(base + QPointF(side * 12, 3), base + QPointF(side * 4, 3), base);
        p.setPen(Outline(1.8));
        p.setBrush(look.accessory);
        p.drawPath(leaf);
        p.setPen(QPen(look.accessoryDark, 1.2));
        p.drawLine(base + QPointF(side * 2, -1), base + QPointF(side * 11, -3));
    }
}

void DrawRibbon(QPainter& p, const Look& look, QPointF knot) {
    for (int side : {-1, 1}) {
        QPainterPath loop;
        loop.moveTo(knot);
        loop.cubicTo(knot + QPointF(side * 6, -12), knot + QPointF(side * 16, -8), knot + QPointF(side * 14, 0));
        loop.cubicTo(knot + QPointF(side * 16, 7), knot + QPointF(side * 6, 8), knot);
        p.setPen(Outline(1.8));
        p.setBrush(look.accessory);
        p.drawPath(loop);
        p.setPen(QPen(look.accessoryDark, 1.4));
        p.drawLine(knot + QPointF(side * 4, -1), knot + QPointF(side * 10, -3));
    }
    p.setPen(Outline(1.8));
    p.setBrush(look.accessoryDark);
    p.drawEllipse(knot, 4, 4);
}

void DrawEye(QPainter& p, QPointF at, int face, bool leftEye) {
    if (face == 1) {
        // Squeezed shut with effort: a "<" or ">" stroke.
        const double s = leftEye ? 1 : -1;
        p.setPen(Outline(2.6));
        p.setBrush(Qt::NoBrush);
        QPainterPath path;
        path.moveTo(at + QPointF(-4 * s, -4));
        path.lineTo(at + QPointF(4 * s, 0));
        path.lineTo(at + QPointF(-4 * s, 4));
        p.drawPath(path);
        return;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kOutline));
    p.drawEllipse(at, 4.6, 6.4);
    p.setBrush(QColor(90, 60, 130));
    p.drawEllipse(at + QPointF(0.3, 2.2), 3.0, 3.0);
    p.setBrush(Qt::white);
    p.drawEllipse(at + QPointF(-1.4, -2.4), 2.0, 2.3);
    p.drawEllipse(at + QPointF(1.6, 2.6), 0.9, 0.9);
}

void DrawMouth(QPainter& p, QPointF at, int face) {
    if (face == 2) {
        QPainterPath mouth;
        mouth.moveTo(at + QPointF(-5, -1));
        mouth.quadTo(at + QPointF(0, 0), at + QPointF(5, -1));
        mouth.quadTo(at + QPointF(0, 9), at + QPointF(-5, -1));
        p.setPen(Outline(1.6));
        p.setBrush(QColor(170, 40, 70));
        p.drawPath(mouth);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 120, 130));
        p.drawEllipse(at + QPointF(0, 3.6), 2.6, 1.6);
        return;
    }
    QPainterPath mouth;
    if (face == 1) {
        mouth.moveTo(at + QPointF(-4, 1));
        mouth.lineTo(at + QPointF(4, 1));
    } else {
        mouth.moveTo(at + QPointF(-5, 0));
        mouth.quadTo(at + QPointF(-2.5, 4), at + QPointF(0, 0.5));
        mouth.quadTo(at + QPointF(2.5, 4), at + QPointF(5, 0));
    }
    p.setPen(Outline(2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
}

} // namespace

QImage DrawPimuru(int pimuru, int picture) {
    const Look look = LookOf(pimuru);
    const Pose pose = kPoses[picture];
    const SpriteCell cell = PimuruCell(0);
    QImage image = NewSprite(cell.Width(), cell.Height());
    QPainter p;
    BeginSmooth(p, image);
    if (look.facesLeft) {
        // Mirror about the centre column so both face the middle of the court.
        p.translate(2.0 * cell.centreX, 0);
        p.scale(-1, 1);
    }
    const double cx = cell.centreX - 2;
    const double bottom = 101;
    const double ry = 30 * pose.squash;
    const double rx = 36 * (1 + (1 - pose.squash) * 0.9);
    const double cy = bottom - ry;
    const QPointF centre(cx, cy);

    // Feet.
    p.setPen(Outline(2));
    p.setBrush(look.shade);
    p.drawEllipse(QPointF(cx - 15, bottom + 1), 10, 5.5);
    p.drawEllipse(QPointF(cx + 15, bottom + 1), 10, 5.5);

    // Body: soft shading from the upper left.
    QRadialGradient fill(centre + QPointF(-rx * 0.35, -ry * 0.45), rx * 1.35);
    fill.setColorAt(0.0, look.light);
    fill.setColorAt(0.45, look.body);
    fill.setColorAt(1.0, look.shade);
    p.setPen(Outline(2.6));
    p.setBrush(fill);
    p.drawEllipse(centre, rx, ry);

    // Head accessory.
    if (look.sprout)
        DrawSprout(p, look, QPointF(cx - 2, cy - ry + 1));
    else
        DrawRibbon(p, look, QPointF(cx - 14, cy - ry + 5));

    // Face, looking forward (to the right before mirroring).
    const double eyeY = cy - ry * 0.18;
    DrawEye(p, QPointF(cx - 4, eyeY), pose.face, true);
    DrawEye(p, QPointF(cx + 14, eyeY), pose.face, false);
    p.setPen(Qt::NoPen);
    p.setBrush(look.cheek);
    p.drawEllipse(QPointF(cx - 15, eyeY + 9), 5, 3);
    p.drawEllipse(QPointF(cx + 25, eyeY + 9), 4.5, 3);
    DrawMouth(p, QPointF(cx + 5, eyeY + 10), pose.face);

    // Sweep lines behind the paddle in the two pictures of the fast upswing.
    if (picture == 8 || picture == 11) {
        const QPointF shoulder(cx + rx * 0.72, cy + 2);
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 3; ++i) {
            const double r = PaddleReach(pose.angle) - 6 + 6 * i;
            p.setPen(QPen(QColor(255, 255, 255), 2.0, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(shoulder.x() - r, shoulder.y() - r, 2 * r, 2 * r),
                      static_cast<int>((pose.angle - 62 + 8 * i) * 16), static_cast<int>((40 - 8 * i) * 16));
        }
    }
    // Paddle arm from the front shoulder.
    DrawPaddle(p, look, QPointF(cx + rx * 0.72, cy + 2), pose.angle);

    p.end();
    return image;
}

} // namespace datamaker
