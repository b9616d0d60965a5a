// The ball: a shaded beach ball drawn pixel by pixel from a sphere whose axis
// leans towards the viewer, so its coloured panels visibly turn.

#include "art.h"

#include "exact_math.h"
#include "sheet_layout.h"
#include "sprite_keying.h"

#include <array>
#include <cmath>

namespace datamaker {
namespace {

constexpr double kRadius = 21.5;
constexpr int kSamples = 4; // per pixel side

struct Vec {
    double x, y, z;
};

Vec RotateX(Vec v, double c, double s) {
    return {v.x, v.y * c - v.z * s, v.y * s + v.z * c};
}

Vec RotateZ(Vec v, double c, double s) {
    return {v.x * c - v.y * s, v.x * s + v.y * c, v.z};
}

// Which of eight 45-degree panels around the axis (u, v) falls in.
int Panel(double u, double v) {
    const bool upper = v >= 0;
    const bool right = u >= 0;
    const bool steep = std::fabs(v) > std::fabs(u);
    if (upper && right)
        return steep ? 1 : 0;
    if (upper && !right)
        return steep ? 2 : 3;
    if (!upper && !right)
        return steep ? 5 : 4;
    return steep ? 6 : 7;
}

struct Rgb {
    double r, g, b;
};

Rgb ShadedSample(double nx, double ny, double nz, double spin) {
    static const std::array<Rgb, 4> kPanels = {
        Rgb{236, 58, 64}, Rgb{255, 248, 232}, Rgb{54, 122, 232}, Rgb{255, 206, 40}};
    // Lean the spin axis 40 degrees towards the viewer and 25 to the side.
    Vec n{nx, ny, nz};
    n = RotateZ(n, Cosine(0.44), Sine(0.44));
    n = RotateX(n, Cosine(0.70), Sine(0.70));
    Rgb base;
    if (n.y > 0.93 || n.y < -0.93) {
        base = {255, 248, 232}; // the caps at the poles
    } else {
        const Vec spun = {n.x * Cosine(spin) - n.z * Sine(spin), n.y, n.x * Sine(spin) + n.z * Cosine(spin)};
        base = kPanels[Panel(spun.x, spun.z) % 4];
    }
    // Light from the upper left, in front.
    const double lx = -0.45, ly = -0.6, lz = 0.66;
    const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
    const double hz = lz + 1.0;
    const double hl = std::sqrt(lx * lx + ly * ly + hz * hz);
    const double spec = PowerInt(std::max(0.0, (nx * lx + ny * ly + nz * hz) / hl), 40);
    const double shade = 0.42 + 0.62 * diffuse;
    auto channel = [&](double c) { return std::min(255.0, c * shade + 255.0 * 0.85 * spec); };
    return {channel(base.r), channel(base.g), channel(base.b)};
}

} // namespace

QImage DrawBall(int picture) {
    const SpriteCell cell = BallCell(0);
    QImage image = NewSprite(cell.Width(), cell.Height());
    const double spin = picture * (kPi / 4);
    const double cx = cell.centreX, cy = cell.centreY;
    const Rgb outline{static_cast<double>(qRed(kOutline)), static_cast<double>(qGreen(kOutline)),
                      static_cast<double>(qBlue(kOutline))};
    const double inner = kRadius - 1.6;
    for (int py = 0; py < image.height(); ++py) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(py));
        for (int px = 0; px < image.width(); ++px) {
            if (std::fabs(px + 0.5 - cx) > kRadius + 1 || std::fabs(py + 0.5 - cy) > kRadius + 1)
                continue;
            double r = 0, g = 0, b = 0;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = (px + (sx + 0.5) / kSamples - cx);
                    const double y = (py + (sy + 0.5) / kSamples - cy);
                    const double d2 = x * x + y * y;
                    if (d2 > kRadius * kRadius)
                        continue;
                    ++covered;
                    if (d2 > inner * inner) {
                        r += outline.r;
                        g += outline.g;
                        b += outline.b;
                        continue;
                    }
                    const double nx = x / inner, ny = y / inner;
                    const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
                    const Rgb c = ShadedSample(nx, ny, nz, spin);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                }
            }
            if (covered == 0)
                continue;
            const double n = kSamples * kSamples;
            const int a = static_cast<int>(255.0 * covered / n + 0.5);
            line[px] = qPremultiply(qRgba(static_cast<int>(r / covered + 0.5), static_cast<int>(g / covered + 0.5),
                                          static_cast<int>(b / covered + 0.5), a));
        }
    }
    return image;
}

} // namespace datamaker
