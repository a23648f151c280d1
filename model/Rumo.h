#pragma once
#include <cmath>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
    // Both components take the same operations, so with SSE2 (every x86-64)
    // they go side by side in the two lanes of one register.
    static bool semTrigonometria(float dx, float dy, Rumo& rumo) {
#ifdef __SSE2__
        return semTrigonometriaPar(dx, dy, rumo);
#else
        return semTrigonometriaEscalar(dx, dy, rumo);
#endif
    }
    // One component at a time: the portable form, and the reference of the above.
    static bool semTrigonometriaEscalar(float dx, float dy, Rumo& rumo) {
        const double x = dx;
        const double y = dy;
        const double h = std::sqrt(x * x + y * y);
        // NaN and infinite components fail the comparisons and fall back.
        return arredondamentoSeguro(x / h, rumo.x) && arredondamentoSeguro(y / h, rumo.y);
    }
#ifdef __SSE2__
    // The same IEEE operations lane by lane; x * x + y * y adds in the same
    // order. A NaN lane compares unequal, as in the scalar form.
    static bool semTrigonometriaPar(float dx, float dy, Rumo& rumo) {
        const __m128d v = _mm_cvtps_pd(_mm_setr_ps(dx, dy, 0.0f, 0.0f));
        const __m128d q = _mm_mul_pd(v, v);
        const __m128d soma = _mm_add_sd(q, _mm_unpackhi_pd(q, q));
        const __m128d h = _mm_sqrt_pd(_mm_unpacklo_pd(soma, soma));
        const __m128d c = _mm_div_pd(v, h);
        const __m128d margem = _mm_set1_pd(folga);
        const __m128 baixo = _mm_cvtpd_ps(_mm_sub_pd(c, margem));
        const __m128 alto = _mm_cvtpd_ps(_mm_add_pd(c, margem));
        rumo.x = _mm_cvtss_f32(baixo);
        rumo.y = _mm_cvtss_f32(_mm_shuffle_ps(baixo, baixo, 1));
        return (_mm_movemask_ps(_mm_cmpeq_ps(baixo, alto)) & 3) == 3;
    }
#endif

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
