#include "model/Rumo.h"
#include <array>
#include <cmath>

namespace keldo::model {

namespace {
constexpr double pi = 3.1415926535;

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

// The angle goes through a volatile so that the compiler cannot fold the
// calls at build time with its own (correctly rounded) arithmetic.
Rumo Rumo::porGraus(int graus) {
    volatile double angulo = graus * pi / 180;
    const double a = angulo;
    return {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))};
}

Rumo Rumo::emGraus(int graus) {
    static const std::array<Rumo, 360> tabela = tabelaGraus();
    return tabela[static_cast<size_t>(graus)];
}

} // namespace keldo::model
