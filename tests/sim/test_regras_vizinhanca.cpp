// The neighbour rules against the fast paths that do not call them: the
// readiness masks for every status byte, the squared reach for every reach a
// query can bring, the obstacle masks for every coordinate of their tables.
#include "IndividuoTeste.h"
#include "sim/indices/BuscaIndexada.h"
#include "sim/indices/BuscaPorVarredura.h"
#include "sim/indices/MapaObstaculos.h"
#include "sim/indices/ObstaculosNivel.h"
#include "sim/indices/ProntosDaFase.h"
#include "sim/indices/RegrasVizinhanca.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

using namespace keldo::indices;

namespace {
constexpr float infinito = std::numeric_limits<float>::infinity();

std::vector<uint32_t> lista(std::span<const uint32_t> s) {
    return {s.begin(), s.end()};
}

FoodX alimentoEm(float x, float y, int16_t valor) {
    FoodX f;
    f.x = x;
    f.y = y;
    f.valorEnergetico = valor;
    return f;
}

// A seed whose generator's first draw of 100 is `valor`.
uint32_t sementeComPrimeiro(int valor) {
    for (uint32_t s = 1;; ++s)
        if (Random(s).randomInt(100) == valor)
            return s;
}

} // namespace

// Every status byte (sex, life, adulthood, partition code), ready or not,
// seeing or blind: the branch-free masks give what the rules give.
TEST(RegrasVizinhanca, ProntosDaFaseIgualAsRegrasEmCadaEstado) {
    std::vector<SpecX> vivos;
    for (unsigned estado = 0; estado < 256; ++estado)
        for (int pronto = 0; pronto < 2; ++pronto)
            for (int ve = 0; ve < 2; ++ve) {
                SpecX s = IndividuoTeste().estado(estado).energia(100 + pronto).pronto();
                s.limiarReproducao = 101;
                s.visao = static_cast<int16_t>(ve);
                vivos.push_back(s);
            }
    std::vector<uint32_t> machos, livres, prontas;
    for (uint32_t k = 0; k < vivos.size(); ++k) {
        if (Regras::machoPronto(vivos[k]))
            machos.push_back(k);
        if (Regras::femeaLivre(vivos[k]))
            livres.push_back(k);
        if (Regras::femeaPronta(vivos[k]))
            prontas.push_back(k);
    }
    ProntosDaFase rapido, porRegras;
    rapido.classificar(vivos);
    porRegras.classificarPorRegras(vivos);
    for (const ProntosDaFase* p : {&rapido, &porRegras}) {
        EXPECT_EQ(lista(p->machos()), machos);
        EXPECT_EQ(lista(p->femeasLivres()), livres);
        EXPECT_EQ(lista(p->femeasProntas()), prontas);
    }
    // Eight status bytes each (the three bits no rule reads), ready and seeing or not.
    EXPECT_EQ(machos.size(), 8u);
    EXPECT_EQ(livres.size(), 32u);
    EXPECT_EQ(prontas.size(), 16u);
}

// The one-compare test of the status byte against its meaning, every byte.
TEST(RegrasVizinhanca, AdultoLivreEmCadaEstado) {
    SpecX s;
    for (unsigned estado = 0; estado < 256; ++estado) {
        s.estado = static_cast<uint8_t>(estado);
        ASSERT_EQ(Regras::adultoLivre(s), s.vivo() && s.adulto() && s.livre() == 0) << estado;
    }
}

// A male heads only for a free female of his own partition: over every pair
// of status bytes, which a fault dropping either half would break.
TEST(RegrasVizinhanca, ParceiraPossivelEmCadaParDeEstados) {
    SpecX macho, f;
    for (unsigned em = 0; em < 256; ++em)
        for (unsigned ef = 0; ef < 256; ++ef) {
            macho.estado = static_cast<uint8_t>(em);
            f.estado = static_cast<uint8_t>(ef);
            const bool esperado =
                !f.sexo() && f.vivo() && f.adulto() && f.livre() == 0 && macho.livre() == f.livre();
            ASSERT_EQ(Regras::parceiraPossivel(macho, f), esperado) << em << " " << ef;
        }
}

// The squared threshold takes exactly the squares whose root is in reach:
// the root is monotone, so the threshold in reach and the next float out of
// it settle every square. Every whole reach a query can bring (the sights
// are whole and below 64), the contact reach, and others.
TEST(RegrasVizinhanca, LimiarQuadradoEquivaleAoAlcance) {
    std::vector<float> teste = {1.5f,   1e-3f,   0.1f,  0.5f,   2.3f,    7.3f, 12.7f,
                                24.99f, 33.333f, 49.5f, 99.99f, 141.42f, 1e4f, 12345.678f};
    std::mt19937 rng(77);
    std::uniform_real_distribution<float> qualquer(0.0f, 300.0f);
    for (int k = 0; k <= 2000; ++k)
        teste.push_back(k <= 1000 ? static_cast<float>(k) : qualquer(rng));
    for (float a : teste) {
        const float t = Regras::limiarQuadrado(a);
        ASSERT_TRUE(Regras::noAlcance(std::sqrt(t), a)) << a;
        ASSERT_FALSE(Regras::noAlcance(std::sqrt(std::nextafter(t, infinito)), a)) << a;
        ASSERT_TRUE(Regras::quadradoNoAlcance(t, t));
    }
    // Reaches no phenotype has: endless takes every square, none is taken by a
    // negative reach (not even distance 0) or by one that is not a number.
    EXPECT_EQ(Regras::limiarQuadrado(infinito), infinito);
    EXPECT_EQ(Regras::limiarQuadrado(0.0f), 0.0f);
    for (float a : {-1.0f, -infinito, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_LT(Regras::limiarQuadrado(a), 0.0f) << a;
}

// The fast paths' square is the reference's distance before its root, to the
// bit, whichever end comes first.
TEST(RegrasVizinhanca, QuadradoDaDistanciaEODaDistancia) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> posicao(-5.0f, 105.0f);
    SpecX s;
    for (int k = 0; k < 200000; ++k) {
        s.x = posicao(rng);
        s.y = posicao(rng);
        const float x = k % 3 ? posicao(rng) : s.x + 1.5f, y = posicao(rng);
        const float d = s.distancia(x, y);
        ASSERT_EQ(std::sqrt(Regras::quadradoDaDistancia(s.x, s.y, x, y)), d);
        ASSERT_EQ(std::sqrt(Regras::quadradoDaDistancia(x, y, s.x, s.y)), d);
    }
}

// The obstacle masks against the rectangle rule, one axis at a time, for
// every pair of coordinates of the tables and beyond them, in every level and
// two arena sizes. The outside codes of the axes use disjoint bits, so a
// rectangle lets a path pass exactly when an axis does: these pairs settle
// every path.
TEST(RegrasVizinhanca, MascarasDeObstaculoIguaisARegraEmCadaEixo) {
    for (char nivel : {'f', 'm', 'd'})
        for (const Rect arena : {Rect{0, 0, 640, 480}, Rect{0, 0, 813, 377}}) {
            MapaObstaculos mapa;
            mapa.construir(ObstaculosNivel::tabela(nivel, 0), ObstaculosNivel::tabela(nivel, 1),
                           arena.right, arena.bottom);
            const int retangulos = static_cast<int>(ObstaculosNivel::tabela(nivel, 0).size() +
                                                    ObstaculosNivel::tabela(nivel, 1).size());
            for (int a = -20; a < 130; ++a)
                for (int b = -20; b < 130; ++b) {
                    const uint32_t emX = mapa.mascaraX(a).alemDoMesmoLado(mapa.mascaraX(b));
                    const uint32_t emY = mapa.mascaraY(a).alemDoMesmoLado(mapa.mascaraY(b));
                    for (int r = 0; r < retangulos; ++r) {
                        const Rect& q = mapa.retangulo(r);
                        const int ax = Regras::pixel(arena.right, a);
                        const int bx = Regras::pixel(arena.right, b);
                        const int ay = Regras::pixel(arena.bottom, a);
                        const int by = Regras::pixel(arena.bottom, b);
                        ASSERT_EQ((emX >> r) & 1u,
                                  Regras::retanguloDeixaPassar(Regras::foraEmX(ax, q),
                                                               Regras::foraEmX(bx, q)))
                            << nivel << " x " << a << " " << b << " " << r;
                        ASSERT_EQ((emY >> r) & 1u,
                                  Regras::retanguloDeixaPassar(Regras::foraEmY(ay, q),
                                                               Regras::foraEmY(by, q)))
                            << nivel << " y " << a << " " << b << " " << r;
                    }
                }
            EXPECT_EQ(mapa.mascaraTodos(), (1u << retangulos) - 1u);
        }
}

// The intelligence draw, as both searches make it: with a positive
// intelligence one draw of 100 comes first and below it takes the best (one
// draw in all); otherwise one draw among the candidates takes the one at
// that place in list order; without a candidate nothing is drawn.
TEST(RegrasVizinhanca, SorteioDaInteligenciaNasDuasBuscas) {
    // The best (100 - 2) in the middle, so a draw by place rarely gives it.
    const std::vector<FoodX> alimentos = {alimentoEm(45, 50, 10), alimentoEm(52, 50, 100),
                                          alimentoEm(55, 50, 10)};
    ObstaculosNivel nenhum;
    const Rect arena{0, 0, 640, 480};
    BuscaPorVarredura varredura(nenhum, arena);
    BuscaIndexada indexada;
    for (BuscaVizinhos* busca :
         {static_cast<BuscaVizinhos*>(&varredura), static_cast<BuscaVizinhos*>(&indexada)}) {
        busca->prepararAlimentos(alimentos, nullptr);
        SpecX quem = IndividuoTeste().em(50, 50).pronto();
        quem.visao = 10;
        quem.inteligencia = 75;
        for (int primeiro : {74, 75, 99, 0}) {
            const uint32_t semente = sementeComPrimeiro(primeiro);
            Random rng(semente), esperado(semente);
            esperado.randomInt(100);
            const int64_t lugar = primeiro < 75 ? 1 : esperado.randomInt(3);
            EXPECT_EQ(busca->alimento(alimentos, quem, rng), lugar) << primeiro;
            EXPECT_EQ(rng.estadoAtual(), esperado.estadoAtual()) << primeiro;
        }
        quem.inteligencia = 0; // no draw of 100 at all
        int foraDoMeio = 0;
        for (uint32_t semente = 1; semente <= 20; ++semente) {
            Random rng(semente), esperado(semente);
            const int lugar = esperado.randomInt(3);
            foraDoMeio += lugar != 1;
            EXPECT_EQ(busca->alimento(alimentos, quem, rng), lugar) << semente;
            EXPECT_EQ(rng.estadoAtual(), esperado.estadoAtual()) << semente;
        }
        EXPECT_GT(foraDoMeio, 5);
        quem.visao = 1; // nothing in sight: nothing drawn
        quem.inteligencia = 75;
        Random rng(sementeComPrimeiro(10));
        const uint32_t antes = rng.estadoAtual();
        EXPECT_EQ(busca->alimento(alimentos, quem, rng), -1);
        EXPECT_EQ(rng.estadoAtual(), antes);
    }
}
