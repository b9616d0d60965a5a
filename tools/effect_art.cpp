// Pops, sparks, stars, the heart, the pass mark and the knock splashes.

#include "art.h"

#include "exact_math.h"
#include "sheet_layout.h"
#include "sprite_keying.h"
#include "stroke_font.h"

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

QPainterPath StarPath(QPointF centre, int points, double outer, double inner, double turn) {
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double a = -kPi / 2 + i * kPi / points + turn;
        const double r = (i % 2 == 0) ? outer : inner;
        const QPointF pt = centre + QPointF(r * Cosine(a), r * Sine(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void Star(QPainter& p, QPointF centre, double outer, QColor fill, double turn = 0, double outline = 1.6) {
    p.setPen(Outline(outline));
    p.setBrush(fill);
    p.drawPath(StarPath(centre, 5, outer, outer * 0.48, turn));
}

// A four-pointed twinkle.
void Twinkle(QPainter& p, QPointF centre, double size, QColor fill) {
    QPainterPath path;
    const double w = size * 0.28;
    path.moveTo(centre + QPointF(0, -size));
    path.quadTo(centre + QPointF(w * 0.4, -w * 0.4), centre + QPointF(size, 0));
    path.quadTo(centre + QPointF(w * 0.4, w * 0.4), centre + QPointF(0, size));
    path.quadTo(centre + QPointF(-w * 0.4, w * 0.4), centre + QPointF(-size, 0));
    path.quadTo(centre + QPointF(-w * 0.4, -w * 0.4), centre + QPointF(0, -size));
    p.setPen(Outline(1.4));
    p.setBrush(fill);
    p.drawPath(path);
}

QPointF Polar(QPointF centre, double r, double angle) {
    return centre + QPointF(r * Cosine(angle), r * Sine(angle));
}

} // namespace

QImage DrawBurst(int picture) {
    const SpriteCell cell = BurstCell(0);
    QImage image = NewSprite(cell.Width(), cell.Height());
    QPainter p;
    BeginSmooth(p, image);
    const QPointF c(cell.centreX, cell.centreY);
    const QColor purple(190, 100, 240), lilac(236, 190, 255), yellow(255, 236, 90), white(255, 255, 244);
    Random random(7);
    switch (picture) {
    case 0: // the flash
        p.setPen(Outline(2));
        p.setBrush(yellow);
        p.drawPath(StarPath(c, 8, 30, 14, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        p.drawPath(StarPath(c, 8, 20, 10, 0));
        for (int i = 0; i < 6; ++i)
            Star(p, Polar(c, 32, i * kPi / 3 + 0.3), 6, purple, i * 0.4);
        break;
    case 1: // ring and flying bits
        p.setPen(QPen(QColor(kOutline), 9));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 36, 36);
        p.setPen(QPen(QColor(255, 170, 60), 6));
        p.drawEllipse(c, 36, 36);
        p.setPen(Outline(1.6));
        p.setBrush(yellow);
        p.drawPath(StarPath(c, 8, 18, 9, 0.2));
        for (int i = 0; i < 8; ++i) {
            const double a = i * kPi / 4 + 0.2;
            Star(p, Polar(c, 46, a), 7, i % 2 ? lilac : purple, a);
        }
        break;
    case 2: // thin ring, bits further out
        p.setPen(QPen(QColor(kOutline), 5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 48, 48);
        p.setPen(QPen(QColor(255, 220, 150), 2.6));
        p.drawEllipse(c, 48, 48);
        for (int i = 0; i < 8; ++i) {
            const double a = i * kPi / 4 + 0.55;
            Star(p, Polar(c, 54, a), 5, i % 2 ? lilac : yellow, a);
        }
        for (int i = 0; i < 5; ++i)
            Twinkle(p, Polar(c, random.Between(10, 28), random.Between(0, 2 * kPi)), 4, white);
        break;
    default: // a last few sparkles
        for (int i = 0; i < 9; ++i) {
            const double a = i * 2 * kPi / 9 + 0.1;
            Twinkle(p, Polar(c, 46 + 5 * (i % 3), a), 3.5 + (i % 2), i % 3 ? lilac : white);
        }
        break;
    }
    p.end();
    return image;
}

QImage DrawSpark() {
    const SpriteCell cell = EffectCell(1);
    QImage image = NewSprite(cell.Width(), cell.Height());
    QPainter p;
    BeginSmooth(p, image);
    const QPointF c(cell.centreX, cell.centreY);
    Twinkle(p, c, 12, QColor(255, 246, 150));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 2.2, 2.2);
    Twinkle(p, c + QPointF(11, -8), 4, QColor(170, 230, 255));
    Twinkle(p, c + QPointF(-12, 7), 3.5, QColor(255, 190, 230));
    p.end();
    return image;
}

QImage DrawSmallStar() {
    const SpriteCell cell = EffectCell(2);
    QImage image = NewSprite(cell.Width(), cell.Height());
    QPainter p;
    BeginSmooth(p, image);
    const QPointF c(cell.centreX - 0.5, cell.centreY + 0.5);
    Star(p, c, 7.5, QColor(255, 222, 40), 0, 1.4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 200));
    p.drawEllipse(c + QPointF(-1, -1), 1.6, 1.6);
    p.end();
    return image;
}

QImage DrawHeart() {
    const SpriteCell cell = EffectCell(3);
    QImage image = NewSprite(cell.Width(), cell.Height());
    QPainter p;
    BeginSmooth(p, image);
    const QPointF c(cell.centreX, cell.centreY + 2);
    QPainterPath heart;
    heart.moveTo(c + QPointF(0, 28));
    heart.cubicTo(c + QPointF(-16, 14), c + QPointF(-36, 2), c + QPointF(-34, -14));
    heart.cubicTo(c + QPointF(-32, -30), c + QPointF(-8, -32), c + QPointF(0, -16));
    heart.cubicTo(c + QPointF(8, -32), c + QPointF(32, -30), c + QPointF(34, -14));
    heart.cubicTo(c + QPointF(36, 2), c + QPointF(16, 14), c + QPointF(0, 28));
    QRadialGradient fill(c + QPointF(-12, -14), 50);
    fill.setColorAt(0, QColor(255, 170, 200));
    fill.setColorAt(0.4, QColor(255, 70, 120));
    fill.setColorAt(1, QColor(190, 20, 70));
    p.setPen(Outline(3));
    p.setBrush(fill);
    p.drawPath(heart);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 244));
    p.save();
    p.translate(c + QPointF(-18, -14));
    p.rotate(-35);
    p.drawEllipse(QPointF(0, 0), 7, 4);
    p.restore();
    Twinkle(p, c + QPointF(34, -28), 6, QColor(255, 246, 150));
    Twinkle(p, c + QPointF(-38, 16), 5, QColor(255, 220, 240));
    p.end();
    return image;
}

QImage DrawPassMark() {
    const SpriteCell cell = EffectCell(4);
    QImage image = NewSprite(cell.Width(), cell.Height());
    QPainter p;
    BeginSmooth(p, image);
    const QPointF c(cell.centreX, cell.centreY);
    // A round-ended ribbon with "PASS" and "+10" beneath it.
    const QRectF banner(c.x() - 40, c.y() - 21, 80, 30);
    QLinearGradient fill(banner.topLeft(), banner.bottomLeft());
    fill.setColorAt(0, QColor(255, 190, 60));
    fill.setColorAt(1, QColor(240, 110, 30));
    p.setPen(Outline(2.6));
    p.setBrush(fill);
    p.drawRoundedRect(banner, 14, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 150));
    p.drawRoundedRect(QRectF(banner.left() + 8, banner.top() + 4, banner.width() - 16, 5), 2.5, 2.5);

    const double textHeight = 16;
    const std::string word = "PASS";
    const double x = c.x() - StrokeTextWidth(word, textHeight) / 2;
    const double y = banner.center().y() - textHeight / 2;
    p.setPen(Outline(6));
    DrawStrokeText(p, word, x, y, textHeight);
    p.setPen(QPen(Qt::white, 2.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    DrawStrokeText(p, word, x, y, textHeight);

    const std::string bonus = "+10";
    const double bonusHeight = 12;
    const double bx = c.x() - StrokeTextWidth(bonus, bonusHeight) / 2;
    const double by = banner.bottom() + 5;
    p.setPen(Outline(5.5));
    DrawStrokeText(p, bonus, bx, by, bonusHeight);
    p.setPen(QPen(QColor(255, 246, 120), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    DrawStrokeText(p, bonus, bx, by, bonusHeight);

    Star(p, c + QPointF(-40, 21), 6.5, QColor(255, 230, 60), 0.3);
    Star(p, c + QPointF(41, 20), 5.5, QColor(120, 220, 255), -0.2);
    p.end();
    return image;
}

QImage DrawSplash(int which) {
    const SpriteCell cell = SplashCell(which);
    QImage image = NewSprite(cell.Width(), cell.Height());
    QPainter p;
    BeginSmooth(p, image);
    const QPointF c(cell.centreX, cell.centreY);
    const int spikes = 11;
    const double turn = which == 0 ? 0 : kPi / spikes;
    const QColor band = which == 0 ? QColor(255, 236, 70) : QColor(255, 140, 50);
    const QColor star = which == 0 ? QColor(255, 120, 60) : QColor(255, 240, 90);
    // A jagged ring around the knocked pimuru, hollow so it stays visible.
    QPainterPath outer;
    for (int i = 0; i < 2 * spikes; ++i) {
        const double a = -kPi / 2 + i * kPi / spikes + turn;
        const double r = (i % 2 == 1) ? 44 : (i % 4 == 0 ? 59 : 52);
        const QPointF pt = Polar(c, r, a);
        if (i == 0)
            outer.moveTo(pt);
        else
            outer.lineTo(pt);
    }
    outer.closeSubpath();
    QPainterPath inner;
    inner.addEllipse(c, 40, 36);
    const QPainterPath ring = outer.subtracted(inner);
    p.setPen(Outline(2.6));
    p.setBrush(band);
    p.drawPath(ring);
    // Stars circling the head.
    for (int i = 0; i < 3; ++i) {
        const double a = turn + i * 2 * kPi / 3 - kPi / 2;
        const QPointF at = c + QPointF(30 * Cosine(a), -14 + 10 * Sine(a));
        Star(p, at, 8, star, a, 1.8);
    }
    // Short impact dashes outside the ring.
    for (int i = 0; i < 6; ++i) {
        const double a = turn + i * kPi / 3 + kPi / 6;
        const QPointF from = Polar(c, 62, a), to = Polar(c, 72, a);
        if (to.y() < 4 || to.y() > cell.Height() - 4)
            continue;
        p.setPen(Outline(5.5));
        p.drawLine(from, to);
        p.setPen(QPen(band, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
    }
    p.end();
    return image;
}

} // namespace datamaker
