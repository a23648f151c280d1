#pragma once
#include <cmath>

namespace keldo::model {

// A unit heading in single precision. Its values are, bit for bit, the float
// roundings of the double-precision cos and sin of the heading's angle: the
// results every run has always had, produced here without the trigonometric
// calls wherever that is provably the same.
struct Rumo {
    float x = 0.0f;
    float y = 0.0f;

    // Toward (dx, dy), both non-zero: float(cos(a)), float(sin(a)) with a = atan2(dy, dx).
    static Rumo para(float dx, float dy);
    // A whole number of degrees, 0 to 359: float(cos(a)), float(sin(a)) with a = graus * pi / 180.
    static Rumo emGraus(int graus);

    // The libm expressions themselves (the reference for the above).
    static Rumo porAtan2(float dx, float dy);
    static Rumo porGraus(int graus);
    // The fast path of para(): false when it cannot be sure of the rounding.
    static bool semTrigonometria(float dx, float dy, Rumo& rumo) {
        const double x = dx;
        const double y = dy;
        const double h = std::sqrt(x * x + y * y);
        // NaN and infinite components fail the comparisons and fall back.
        return arredondamentoSeguro(x / h, rumo.x) && arredondamentoSeguro(y / h, rumo.y);
    }

    bool operator==(const Rumo&) const = default;

  private:
    // How far the libm result may lie from the algebraic one, with a wide margin.
    // With a = atan2(dy, dx) and h = hypot(dx, dy), cos(a) is dx / h and sin(a)
    // is dy / h exactly. libm's atan2 and cos/sin are each within about one ulp:
    // |a - angle| <= 2^-51 (|a| < 4), and a cos or sin of a value below 1 adds at
    // most 2^-53, so |libm - dx / h| <= 2^-51 + 2^-53 < 7e-16. The fast value
    // loses less: dx * dx and dy * dy are exact in double (24-bit significands),
    // then the sum, the square root and the division round once each, at most
    // 2.5 * 2^-53 < 3e-16 in all. The slack 2^-43 (1.1e-13) is over 100 times
    // the sum of both, so it holds for a libm a hundred ulps off (the tests
    // measure libm's deviation over millions of pairs and hold it below 2^-49).
    static constexpr double folga = 0x1p-43;

    // The float both ends of [v - folga, v + folga] round to, if they agree.
    // Rounding is monotone, so then every double in the interval rounds to it,
    // the libm result included. Near a rounding boundary, and for components
    // within folga of zero (where the sign itself is in doubt), the ends differ.
    static bool arredondamentoSeguro(double v, float& f) {
        f = static_cast<float>(v - folga);
        return f == static_cast<float>(v + folga);
    }
};

inline Rumo Rumo::para(float dx, float dy) {
    Rumo r;
    if (semTrigonometria(dx, dy, r))
        return r;
    return porAtan2(dx, dy);
}

} // namespace keldo::model
