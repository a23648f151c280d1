// The cost of a step, charged at once, against the unit-by-unit bookkeeping.
#include "model/Individuo.h"
#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>

using namespace keldo::model;

namespace {
SpecX comEnergia(int32_t energia, int16_t reproducao, int16_t morte, bool vivo) {
    SpecX s;
    s.energia = energia;
    s.limiarReproducao = reproducao;
    s.limiarMorte = morte;
    s.targetX = 7;
    s.targetY = 9;
    s.definirBit(EstadoBit::vivo, vivo);
    return s;
}

bool iguais(const SpecX& a, const SpecX& b) {
    return a.energia == b.energia && a.estado == b.estado && a.targetX == b.targetX &&
           a.targetY == b.targetY;
}
} // namespace

// Every energy near the thresholds, the floor and the 32-bit wrap, with
// thresholds on either side of zero: gastarPasso leaves the energy, the life
// bit and the target exactly as one or two gastarEnergia(1) calls do.
TEST(Passo, CustoDoPassoIgualAUnidadeAUnidade) {
    const int32_t energias[] = {INT_MIN, INT_MIN + 1, INT_MIN + 2, -3, -2,          -1,
                                0,       1,           2,           3,  INT_MAX - 1, INT_MAX};
    const int16_t limiares[] = {SHRT_MIN, -2, -1, 0, 1, 2, 3, 5, 40, SHRT_MAX};
    int casos = 0;
    for (int16_t reproducao : limiares)
        for (int16_t morte : limiares)
            for (int32_t base : energias)
                for (int32_t delta : {-2, -1, 0, 1, 2})
                    for (int32_t e : {base, reproducao + delta, morte + delta})
                        for (bool vivo : {true, false})
                            for (bool moveu : {false, true}) {
                                SpecX depressa = comEnergia(e, reproducao, morte, vivo);
                                SpecX devagar = depressa;
                                depressa.gastarPasso(moveu);
                                devagar.gastarEnergia(1);
                                if (moveu)
                                    devagar.gastarEnergia(1);
                                ASSERT_TRUE(iguais(depressa, devagar))
                                    << "energia " << e << " reproducao " << reproducao << " morte "
                                    << morte << " vivo " << vivo << " moveu " << moveu;
                                ++casos;
                            }
    EXPECT_GT(casos, 10000);
}

namespace {
// A world without obstacles; a male never draws a heading, so no generator.
struct MundoAberto {
    Random& gerador() { std::abort(); }
    bool pontoEmObstaculo(int, int) const { return false; }
};
} // namespace

// The walls' quick test of the position's bits against the compares themselves,
// at both walls, on either side of them, at signed zeros and far outside.
TEST(Passo, ParedesComoAsComparacoes) {
    const float inf = std::numeric_limits<float>::infinity();
    const float posicoes[] = {-0.0f,  0.0f,  1e-30f, 50.0f, 99.0f, std::nextafter(99.0f, inf),
                              100.0f, 1e30f, -1e30f};
    const float passos[] = {-0.0f, 0.0f, -1e-30f, 1e-30f, -1.0f, 1.0f, -0.5f, 0.7f};
    MundoAberto mundo;
    for (float x : posicoes)
        for (float d : passos) {
            SpecX s;
            s.definirBit(EstadoBit::sexo, true);
            s.x = x;
            s.y = 50.0f;
            s.dirX = d;
            s.passo(mundo);
            float esperadoX = x + d, esperadoDir = d;
            if (esperadoX < 0.0f || esperadoX > 99.0f) {
                esperadoDir = -d;
                esperadoX = esperadoX < 0.0f ? 0.0f : 99.0f;
            }
            EXPECT_EQ(std::bit_cast<uint32_t>(s.x), std::bit_cast<uint32_t>(esperadoX))
                << x << " " << d;
            EXPECT_EQ(std::bit_cast<uint32_t>(s.dirX), std::bit_cast<uint32_t>(esperadoDir))
                << x << " " << d;
        }
}
