// Headings without the trigonometric calls must be the very floats the calls give.
#include "model/Rumo.h"
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using namespace keldo::model;

namespace {
// The expression every heading toward a target has always come from.
Rumo esperado(float dx, float dy) {
    const double a = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
    return {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))};
}

bool mesmosBits(const Rumo& a, const Rumo& b) {
    return std::bit_cast<uint32_t>(a.x) == std::bit_cast<uint32_t>(b.x) &&
           std::bit_cast<uint32_t>(a.y) == std::bit_cast<uint32_t>(b.y);
}

// How far libm's cos(atan2(dy, dx)) and sin(...) lie from dx / h and dy / h in
// double: the fast path's soundness rests on this staying far below 2^-43.
double desvioDoLibm(float dx, float dy) {
    const double x = dx, y = dy;
    const double h = std::sqrt(x * x + y * y);
    const double a = std::atan2(y, x);
    return std::max(std::abs(std::cos(a) - x / h), std::abs(std::sin(a) - y / h));
}

// Counts the pairs checked, those the fast path declined, and keeps the first
// mismatch and the largest deviation of libm from the algebraic value.
struct Conferencia {
    long pares = 0;
    long recusados = 0;
    long diferentes = 0;
    long formasDiferentes = 0; // the two-lane form against the one-component form
    double maiorDesvio = 0.0;
    float primeiroDx = 0.0f;
    float primeiroDy = 0.0f;

    void conferir(float dx, float dy) {
        if (dx == 0.0f || dy == 0.0f)
            return; // apontarPara never asks for these
        ++pares;
        Rumo r;
        const bool seguro = Rumo::semTrigonometria(dx, dy, r);
        if (!seguro)
            ++recusados;
        Rumo escalar;
        if (Rumo::semTrigonometriaEscalar(dx, dy, escalar) != seguro ||
            (seguro && !mesmosBits(r, escalar)))
            ++formasDiferentes;
        maiorDesvio = std::max(maiorDesvio, desvioDoLibm(dx, dy));
        if (!mesmosBits(Rumo::para(dx, dy), esperado(dx, dy)) && diferentes++ == 0) {
            primeiroDx = dx;
            primeiroDy = dy;
        }
    }
    // All four sign combinations of a pair, both ways round.
    void emTodosOsQuadrantes(float a, float b) {
        for (float sx : {1.0f, -1.0f})
            for (float sy : {1.0f, -1.0f}) {
                conferir(sx * a, sy * b);
                conferir(sy * b, sx * a);
            }
    }
    void semDiferencas() const {
        EXPECT_LT(maiorDesvio, 0x1p-49); // a margin of 64 at least
        EXPECT_EQ(formasDiferentes, 0);
        EXPECT_EQ(diferentes, 0) << "primeiro par: " << primeiroDx << ", " << primeiroDy << " (hex "
                                 << std::hexfloat << primeiroDx << ", " << primeiroDy << ")";
    }
};

float proximo(float v, int passos) {
    for (; passos > 0; --passos)
        v = std::nextafter(v, std::numeric_limits<float>::infinity());
    for (; passos < 0; ++passos)
        v = std::nextafter(v, -std::numeric_limits<float>::infinity());
    return v;
}
} // namespace

// Differences of two positions in the 0..99 arena, as the searches produce them.
TEST(Rumo, DiferencasDePosicoesNaArenaIguaisAoAtan2) {
    std::mt19937 gerador(20);
    std::uniform_real_distribution<float> posicao(0.0f, 99.0f);
    Conferencia c;
    for (int k = 0; k < 3'000'000; ++k)
        c.conferir(posicao(gerador) - posicao(gerador), posicao(gerador) - posicao(gerador));
    c.semDiferencas();
    // The whole point: nearly every heading skips atan2, cos and sin.
    EXPECT_LT(c.recusados, c.pares / 1000);
}

// Whole and half coordinates: headings from grid points to grid points,
// including the exact ratios of Pythagorean triples and the diagonals.
TEST(Rumo, GradeInteiraEMeiaIgualAoAtan2) {
    Conferencia c;
    for (int i = -198; i <= 198; ++i)
        for (int j = -198; j <= 198; ++j)
            c.conferir(static_cast<float>(i) * 0.5f, static_cast<float>(j) * 0.5f);
    c.semDiferencas();
}

// Components of any size, from the smallest subnormal to the largest float:
// powers of two and random significands over the whole exponent range.
TEST(Rumo, QualquerOrdemDeGrandezaIgualAoAtan2) {
    Conferencia c;
    for (int i = -149; i <= 127; ++i)
        for (int j = -149; j <= 127; ++j)
            c.conferir(std::ldexp(1.0f, i), std::ldexp(-1.0f, j));
    std::mt19937 gerador(21);
    std::uniform_real_distribution<float> mantissa(1.0f, 2.0f);
    std::uniform_int_distribution<int> expoente(-149, 127);
    std::uniform_int_distribution<int> perto(-30, 8);
    for (int k = 0; k < 1'000'000; ++k) {
        c.emTodosOsQuadrantes(std::ldexp(mantissa(gerador), expoente(gerador)),
                              std::ldexp(mantissa(gerador), perto(gerador)));
    }
    c.semDiferencas();
    EXPECT_GT(c.recusados, 0); // the tiny components took the libm path
}

// Where the sure rounding is hardest: one component tiny beside the other
// (the result's sign and size hang on atan2's last bits), equal magnitudes,
// magnitudes a few ulps apart, and values at the arena's size.
TEST(Rumo, CasosAdversariosIguaisAoAtan2) {
    Conferencia c;
    const float minusculos[] = {std::numeric_limits<float>::denorm_min(),
                                std::numeric_limits<float>::min(),
                                1e-30f,
                                1e-12f,
                                1e-7f,
                                std::numeric_limits<float>::epsilon(),
                                1e-5f,
                                1e-3f};
    std::mt19937 gerador(22);
    std::uniform_real_distribution<float> posicao(0.0f, 99.0f);
    for (float t : minusculos)
        for (int k = 0; k < 20'000; ++k)
            for (int passo = -2; passo <= 2; ++passo)
                c.emTodosOsQuadrantes(proximo(t, passo), posicao(gerador));
    for (int k = 0; k < 100'000; ++k) {
        const float v = posicao(gerador);
        for (int passo = -3; passo <= 3; ++passo)
            c.emTodosOsQuadrantes(v, proximo(v, passo));
    }
    for (float v = 98.0f; v <= 99.0f; v = proximo(v, 97))
        for (float w : {99.0f, 98.5f, 1.0f, 0.5f, 0.001f})
            c.emTodosOsQuadrantes(v, w);
    c.semDiferencas();
}

// The whole-degree headings come from a table filled once with the same expression.
TEST(Rumo, TabelaDeGrausIgualAoCosESen) {
    for (int g = 0; g < 360; ++g) {
        volatile double angulo = g * 3.1415926535 / 180;
        const double a = angulo;
        const Rumo r{static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))};
        EXPECT_TRUE(mesmosBits(Rumo::emGraus(g), r)) << g;
    }
    EXPECT_EQ(Rumo::emGraus(0), (Rumo{1.0f, 0.0f}));
}
