#include "model/Rumo.h"
#include <array>
#include <cmath>

namespace {
constexpr double pi = 3.1415926535;

// How far the libm result may lie from the algebraic one, with a wide margin.
// With a = atan2(dy, dx) and h = hypot(dx, dy), cos(a) is dx / h and sin(a)
// is dy / h exactly. libm's atan2 and cos/sin are each within about one ulp:
// |a - angle| <= 2^-51 (|a| < 4), and a cos or sin of a value below 1 adds at
// most 2^-53, so |libm - dx / h| <= 2^-51 + 2^-53 < 7e-16. The fast value
// loses less: dx * dx and dy * dy are exact in double (24-bit significands),
// then the sum, the square root and the division round once each, at most
// 2.5 * 2^-53 < 3e-16 in all. The slack 2^-43 (1.1e-13) is over 100 times
// the sum of both, so it holds for a libm a hundred ulps off.
constexpr double folga = 0x1p-43;

// The float both ends of [v - folga, v + folga] round to, if they agree.
// Rounding is monotone, so then every double in the interval rounds to it,
// the libm result included. Near a rounding boundary, and for components
// within folga of zero (where the sign itself is in doubt), the ends differ.
bool arredondamentoSeguro(double v, float& f) {
    f = static_cast<float>(v - folga);
    return f == static_cast<float>(v + folga);
}

// The angle goes through a volatile so that the compiler cannot fold the
// calls at build time with its own (correctly rounded) arithmetic.
std::array<Rumo, 360> tabelaGraus() {
    std::array<Rumo, 360> t;
    for (int g = 0; g < 360; ++g)
        t[static_cast<size_t>(g)] = Rumo::porGraus(g);
    return t;
}
} // namespace

Rumo Rumo::porAtan2(float dx, float dy) {
    const double a = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
    return {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))};
}

Rumo Rumo::porGraus(int graus) {
    volatile double angulo = graus * pi / 180;
    const double a = angulo;
    return {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))};
}

bool Rumo::semTrigonometria(float dx, float dy, Rumo& rumo) {
    const double x = dx;
    const double y = dy;
    const double h = std::sqrt(x * x + y * y);
    // NaN and infinite components fail the comparisons and fall back.
    return arredondamentoSeguro(x / h, rumo.x) && arredondamentoSeguro(y / h, rumo.y);
}

Rumo Rumo::para(float dx, float dy) {
    Rumo r;
    if (semTrigonometria(dx, dy, r))
        return r;
    return porAtan2(dx, dy);
}

Rumo Rumo::emGraus(int graus) {
    static const std::array<Rumo, 360> tabela = tabelaGraus();
    return tabela[static_cast<size_t>(graus)];
}
