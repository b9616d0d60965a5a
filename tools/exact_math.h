#pragma once
// Sine, cosine and a small random generator built only from operations whose
// results IEEE arithmetic fixes exactly, so the generated files come out the
// same with any compiler flags or C library.

#include <cstdint>

namespace datamaker {

constexpr double kPi = 3.14159265358979323846;

double Sine(double x);
double Cosine(double x);
// x raised to a small whole power by repeated multiplication.
double PowerInt(double x, int n);

// xorshift32; the same seed gives the same numbers everywhere.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}
    std::uint32_t Next();
    // Uniform in [0, 1).
    double Unit();
    // Uniform in [-1, 1).
    double Signed() { return Unit() * 2.0 - 1.0; }
    // Uniform in [lo, hi).
    double Between(double lo, double hi) { return lo + (hi - lo) * Unit(); }

private:
    std::uint32_t state_;
};

} // namespace datamaker
