// The background: sky, sun, clouds, three ranges of hills, a lake and a
// sandy shore. Everything is wide and soft, so rows shifted sideways by the
// game's ripple look like shimmering air and water, never like jitter.

#include "art.h"

#include "exact_math.h"
#include "sheet_layout.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace datamaker {
namespace {

struct Wave {
    double amplitude, period, phase;
};

// A ridge line at height base plus a few sine waves, closed down to the bottom.
QPainterPath Ridge(double base, std::initializer_list<Wave> waves) {
    QPainterPath path;
    path.moveTo(-10, kSheetHeight + 10);
    for (int x = -10; x <= kSheetWidth + 10; x += 4) {
        double y = base;
        for (const Wave& w : waves)
            y += w.amplitude * Sine(2 * kPi * x / w.period + w.phase);
        path.lineTo(x, y);
    }
    path.lineTo(kSheetWidth + 10, kSheetHeight + 10);
    path.closeSubpath();
    return path;
}

void Cloud(QPainter& p, QPointF at, double scale) {
    struct Puff {
        double x, y, r;
    };
    const Puff puffs[] = {{-38, 6, 17}, {-18, -6, 24}, {8, -12, 28}, {32, -2, 21}, {50, 8, 14}, {6, 8, 22}};
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    for (const Puff& puff : puffs)
        shape.addEllipse(at + QPointF(puff.x, puff.y) * scale, puff.r * scale * 1.25, puff.r * scale);
    shape = shape.simplified();
    QLinearGradient fill(at + QPointF(0, -40 * scale), at + QPointF(0, 30 * scale));
    fill.setColorAt(0.0, QColor(255, 255, 255));
    fill.setColorAt(0.6, QColor(248, 251, 255));
    fill.setColorAt(1.0, QColor(206, 222, 244));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);
}

void Bush(QPainter& p, QPointF at, double r, QColor colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(118));
    p.drawEllipse(at + QPointF(0, 2), r * 1.5, r);
    p.setBrush(colour);
    p.drawEllipse(at + QPointF(-r * 0.4, -r * 0.2), r, r * 0.8);
    p.drawEllipse(at + QPointF(r * 0.5, 0), r * 0.9, r * 0.7);
    p.setBrush(colour.lighter(118));
    p.drawEllipse(at + QPointF(-r * 0.6, -r * 0.45), r * 0.45, r * 0.3);
}

} // namespace

QImage DrawBackground() {
    QImage image(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);

    // Sky.
    QLinearGradient sky(0, 0, 0, 330);
    sky.setColorAt(0.0, QColor(58, 136, 222));
    sky.setColorAt(0.55, QColor(120, 190, 246));
    sky.setColorAt(1.0, QColor(206, 236, 252));
    p.fillRect(image.rect(), sky);

    // Sun with a soft glow.
    const QPointF sun(560, 104);
    QRadialGradient glow(sun, 90);
    glow.setColorAt(0.0, QColor(255, 250, 210, 200));
    glow.setColorAt(0.35, QColor(255, 244, 190, 90));
    glow.setColorAt(1.0, QColor(255, 244, 190, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(sun, 90, 90);
    QRadialGradient disc(sun + QPointF(-8, -8), 34);
    disc.setColorAt(0.0, QColor(255, 255, 236));
    disc.setColorAt(0.7, QColor(255, 236, 120));
    disc.setColorAt(1.0, QColor(255, 214, 80));
    p.setBrush(disc);
    p.drawEllipse(sun, 28, 28);

    // A faint rainbow behind the hills on the left.
    const QColor bands[] = {QColor(255, 110, 110), QColor(255, 190, 90), QColor(255, 240, 120),
                            QColor(140, 226, 120), QColor(120, 180, 255), QColor(170, 140, 240)};
    const QPointF bow(150, 360);
    double radius = 232;
    for (const QColor& band : bands) {
        QColor c = band;
        c.setAlpha(62);
        p.setPen(QPen(c, 9, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(bow.x() - radius, bow.y() - radius, 2 * radius, 2 * radius), 20 * 16, 140 * 16);
        radius -= 8;
    }

    // Clouds.
    Cloud(p, QPointF(110, 86), 1.1);
    Cloud(p, QPointF(360, 64), 0.8);
    Cloud(p, QPointF(300, 190), 1.35);
    Cloud(p, QPointF(575, 222), 0.9);
    Cloud(p, QPointF(60, 236), 0.7);

    // Far hills, hazy blue; middle hills; near green hills with bushes.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(156, 196, 226));
    p.drawPath(Ridge(282, {{18, 410, 0.4}, {9, 170, 1.9}}));
    QLinearGradient mid(0, 270, 0, 350);
    mid.setColorAt(0, QColor(120, 196, 160));
    mid.setColorAt(1, QColor(92, 170, 132));
    p.setBrush(mid);
    p.drawPath(Ridge(310, {{14, 300, 2.2}, {6, 120, 0.3}}));
    QLinearGradient near(0, 300, 0, 360);
    near.setColorAt(0, QColor(138, 214, 94));
    near.setColorAt(1, QColor(92, 178, 70));
    p.setBrush(near);
    p.drawPath(Ridge(334, {{10, 360, 4.0}, {5, 150, 1.0}}));
    Bush(p, QPointF(78, 338), 11, QColor(70, 156, 70));
    Bush(p, QPointF(258, 336), 9, QColor(76, 166, 72));
    Bush(p, QPointF(470, 332), 12, QColor(70, 156, 70));
    Bush(p, QPointF(600, 340), 8, QColor(80, 170, 76));

    // Lake with long light glints.
    QLinearGradient lake(0, 348, 0, 436);
    lake.setColorAt(0, QColor(120, 196, 240));
    lake.setColorAt(1, QColor(64, 146, 214));
    p.setBrush(lake);
    p.drawRect(QRectF(-10, 348, kSheetWidth + 20, 100));
    Random random(2024);
    p.setBrush(QColor(190, 232, 255, 150));
    for (int i = 0; i < 26; ++i) {
        const double y = random.Between(356, 428);
        const double x = random.Between(-20, 640);
        const double w = random.Between(20, 70);
        p.drawRoundedRect(QRectF(x, y, w, 2.4), 1.2, 1.2);
    }

    // Sandy shore along the bottom, with a wet edge and a few pebbles.
    p.setBrush(QColor(226, 206, 150));
    p.drawPath(Ridge(434, {{3, 260, 0.5}, {2, 90, 2.0}}));
    QLinearGradient sand(0, 436, 0, 480);
    sand.setColorAt(0, QColor(250, 230, 176));
    sand.setColorAt(1, QColor(240, 212, 150));
    p.setBrush(sand);
    p.drawPath(Ridge(440, {{3, 260, 0.5}, {2, 90, 2.0}}));
    const QColor pebbles[] = {QColor(255, 246, 226), QColor(214, 186, 140), QColor(255, 200, 190)};
    for (int i = 0; i < 18; ++i) {
        p.setBrush(pebbles[i % 3]);
        p.drawEllipse(QPointF(random.Between(10, 630), random.Between(452, 476)), random.Between(2.5, 5),
                      random.Between(1.5, 2.5));
    }
    p.end();
    return image;
}

} // namespace datamaker
