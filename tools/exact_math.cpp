#include "exact_math.h"

#include <cmath>

namespace datamaker {
namespace {

// Taylor series on [-pi/2, pi/2]; error below 1e-9, plenty for pictures and
// 16-bit sound.
double SineNearZero(double x) {
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 9; ++n) {
        term = -term * x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

} // namespace

double Sine(double x) {
    const double turns = std::floor(x / (2.0 * kPi) + 0.5);
    double r = x - turns * (2.0 * kPi); // now in about [-pi, pi]
    if (r > kPi / 2)
        r = kPi - r;
    else if (r < -kPi / 2)
        r = -kPi - r;
    return SineNearZero(r);
}

double Cosine(double x) {
    return Sine(x + kPi / 2);
}

double PowerInt(double x, int n) {
    double result = 1.0;
    for (int i = 0; i < n; ++i)
        result *= x;
    return result;
}

std::uint32_t Random::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double Random::Unit() {
    return static_cast<double>(Next()) / 4294967296.0;
}

} // namespace datamaker
