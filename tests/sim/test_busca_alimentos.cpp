// The food search of the indexed implementation against the whole-list scan,
// query by query: short lists (scanned), long ones (sight index), the length
// between them, ties, items off the arena, off whole cells or in other
// regions, blocked paths, every reach, and the remembered-target table.
#include "sim/CKeldoDoc.h"
#include "sim/indices/AlimentosPorCelula.h"
#include "sim/indices/BuscaIndexada.h"
#include "sim/indices/BuscaPorVarredura.h"
#include "sim/indices/ObstaculosNivel.h"
#include "sim/indices/VarreduraCurta.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::indices;

namespace {
FoodX alimentoEm(float x, float y, int16_t valor, uint8_t regiao = 0) {
    FoodX f;
    f.x = x;
    f.y = y;
    f.valorEnergetico = valor;
    f.regiao = regiao;
    return f;
}

SpecX buscador(float x, float y, int16_t visao, int16_t inteligencia) {
    SpecX i;
    i.x = x;
    i.y = y;
    i.visao = visao;
    i.inteligencia = inteligencia;
    return i;
}

// Food on whole cells of the arena, with some off it, off whole cells, on a
// shared cell or in the enclosures; equal values make ties.
std::vector<FoodX> listaDeAlimentos(size_t n, std::mt19937& gerador, bool valoresIguais) {
    std::uniform_int_distribution<int> celula(0, 99), valor(1, 300), caso(0, 19);
    std::vector<FoodX> lista;
    for (size_t k = 0; k < n; ++k) {
        float x = static_cast<float>(celula(gerador)), y = static_cast<float>(celula(gerador));
        uint8_t regiao = 0;
        switch (caso(gerador)) {
        case 0:
            x += 0.5f;
            break; // off a whole cell
        case 1:
            x = -3.0f;
            break; // off the arena
        case 2:
            y = 104.0f;
            break; // beyond the far edge
        case 3:
            regiao = static_cast<uint8_t>(1 + k % 2);
            break; // an enclosure's food
        case 4:
            if (!lista.empty()) { // on the cell of an earlier item
                x = lista[k / 2].x;
                y = lista[k / 2].y;
            }
            break;
        default:
            break;
        }
        lista.push_back(
            alimentoEm(x, y, static_cast<int16_t>(valoresIguais ? 200 : valor(gerador)), regiao));
    }
    return lista;
}

class BuscaDeAlimentos : public ::testing::Test {
  protected:
    void SetUp() override {
        for (ObstaculosNivel* o : {&porVarredura, &comMapa}) {
            o->escolher("30");
            o->construir();
        }
        porVarredura.definirPorVarredura(true);
    }
    const MapaObstaculos* mapa(bool comObstaculos) {
        return comObstaculos ? comMapa.mapaDaFase(arena) : nullptr;
    }
    ObstaculosNivel& referencia(bool comObstaculos) {
        return comObstaculos ? porVarredura : semObstaculos;
    }
    // Every searcher asks both searches; the answers and the draws must match.
    void comparar(const std::vector<FoodX>& alimentos, const std::vector<SpecX>& buscadores,
                  bool comObstaculos, const char* caso) {
        BuscaPorVarredura varredura(referencia(comObstaculos), arena);
        BuscaIndexada indexada;
        varredura.prepararAlimentos(alimentos, nullptr);
        indexada.prepararAlimentos(alimentos, mapa(comObstaculos));
        Random a(11), b(11);
        for (const SpecX& i : buscadores) {
            const int64_t esperado = varredura.alimento(alimentos, i, a);
            ASSERT_EQ(esperado, indexada.alimento(alimentos, i, b))
                << caso << " n=" << alimentos.size() << " em " << i.x << "," << i.y << " visao "
                << i.visao << " inteligencia " << i.inteligencia;
            ASSERT_EQ(a.estadoAtual(), b.estadoAtual()) << caso;
            achados += esperado >= 0;
            consultas += 1;
        }
    }
    std::vector<SpecX> buscadoresAoAcaso(size_t n, std::mt19937& gerador) {
        std::uniform_real_distribution<float> posicao(-2.0f, 101.0f);
        std::uniform_int_distribution<int> visao(0, 4), inteligencia(0, 3);
        constexpr int16_t visoes[] = {1, 12, 25, 37, 50};
        constexpr int16_t inteligencias[] = {0, 30, 70, 100};
        std::vector<SpecX> lista;
        for (size_t k = 0; k < n; ++k)
            lista.push_back(buscador(posicao(gerador), posicao(gerador), visoes[visao(gerador)],
                                     inteligencias[inteligencia(gerador)]));
        return lista;
    }

    ObstaculosNivel porVarredura, comMapa, semObstaculos;
    const Rect arena = CKeldoDoc().arena();
    int achados = 0, consultas = 0;
};
} // namespace

// Lengths around the padding, the 64-item words and the switch to the sight index.
TEST_F(BuscaDeAlimentos, EscolhaIgualAVarreduraEmTodosOsComprimentos) {
    std::mt19937 gerador(5);
    for (size_t n : {size_t{0}, size_t{1}, size_t{3}, size_t{4}, size_t{40}, size_t{63}, size_t{64},
                     size_t{65}, size_t{400}, size_t{1023}, size_t{1024}, size_t{4095},
                     size_t{4096}, size_t{4097}})
        for (bool iguais : {true, false})
            for (bool comObstaculos : {true, false}) {
                const auto alimentos = listaDeAlimentos(n, gerador, iguais);
                comparar(alimentos, buscadoresAoAcaso(300, gerador), comObstaculos, "ao acaso");
            }
    EXPECT_GT(achados, consultas / 4);
}

// Searchers at exactly their reach from an item, and a float step either
// side; items all at one distance, so that only the list order breaks ties.
TEST_F(BuscaDeAlimentos, AlcanceNoLimiteEEmpatesIguaisAVarredura) {
    std::vector<FoodX> alimentos;
    for (int k = 0; k < 12; ++k) // items 5 away from (50, 50), several on one cell
        alimentos.push_back(alimentoEm(k % 2 ? 55.0f : 45.0f, 50.0f, 200));
    alimentos.push_back(alimentoEm(50.0f, 55.0f, 200));
    alimentos.push_back(alimentoEm(50.0f, 45.0f, 200));
    alimentos.push_back(alimentoEm(10.0f, 10.0f, 200));
    std::vector<SpecX> buscadores;
    for (int16_t inteligencia : {0, 100})
        for (int16_t visao : {1, 5, 12, 25, 37, 50}) {
            buscadores.push_back(buscador(50.0f, 50.0f, visao, inteligencia));
            for (float passo : {-1.0f, 0.0f, 1.0f}) {
                const float x = 10.0f + static_cast<float>(visao);
                const float perto = passo == 0.0f ? x : std::nextafter(x, x + passo * 100.0f);
                buscadores.push_back(buscador(perto, 10.0f, visao, inteligencia));
                buscadores.push_back(buscador(
                    10.0f, 10.0f - static_cast<float>(visao) + passo * 1e-5f, visao, inteligencia));
            }
        }
    for (size_t copias : {size_t{1}, size_t{12}}) { // short, then past the short-list length
        std::vector<FoodX> lista;
        for (size_t c = 0; c < copias; ++c)
            lista.insert(lista.end(), alimentos.begin(), alimentos.end());
        for (bool comObstaculos : {true, false})
            comparar(lista, buscadores, comObstaculos, "limite");
    }
    // A searcher at (70, y) and an item a reach below it, just under a whole
    // y a binade below the reach: the distance rounds (to even) back to the
    // reach, so the item is in sight though its whole y is a unit lower.
    // Three items far below put it last in its group of four.
    constexpr std::pair<int16_t, float> abaixo[] = {{1, 2.0f},   {5, 9.0f},   {12, 20.0f},
                                                    {25, 41.0f}, {37, 69.0f}, {50, 82.0f}};
    for (auto [visao, y] : abaixo) {
        std::vector<FoodX> lista(3, alimentoEm(0.0f, -5.0f, 200));
        lista.push_back(alimentoEm(70.0f, std::nextafter(y - visao, 0.0f), 200));
        const int antes = achados;
        comparar(lista, {buscador(70.0f, y, visao, 0), buscador(70.0f, y, visao, 100)}, false,
                 "abaixo");
        EXPECT_EQ(achados, antes + 2) << visao;
    }
    EXPECT_GT(achados, 0);
}

// The first item of the list on the asked whole cell, whatever the list's
// length, with several items on one cell and items off whole cells or the arena.
TEST_F(BuscaDeAlimentos, AlvoLembradoIgualAVarredura) {
    std::mt19937 gerador(9);
    BuscaPorVarredura varredura(porVarredura, arena);
    BuscaIndexada indexada;
    for (size_t n : {size_t{0}, size_t{5}, size_t{40}, size_t{300}}) {
        auto alimentos = listaDeAlimentos(n, gerador, false);
        alimentos.push_back(alimentoEm(-3.0f, 7.0f, 1));
        alimentos.push_back(alimentoEm(100.0f, 100.0f, 2));
        alimentos.push_back(alimentoEm(30.0f, 30.0f, 3));
        alimentos.push_back(alimentoEm(30.0f, 30.0f, 4));
        alimentos.push_back(alimentoEm(30.5f, 30.0f, 5));
        indexada.prepararAlimentos(alimentos, mapa(true));
        for (int x = -6; x <= 106; ++x)
            for (int y = -6; y <= 106; ++y) {
                const auto cx = static_cast<int16_t>(x), cy = static_cast<int16_t>(y);
                ASSERT_EQ(varredura.alimentoEm(alimentos, cx, cy),
                          indexada.alimentoEm(alimentos, cx, cy))
                    << n << " " << x << "," << y;
            }
        ASSERT_EQ(indexada.alimentoEm(alimentos, 30, 30), &alimentos[alimentos.size() - 3]);
        ASSERT_EQ(indexada.alimentoEm(alimentos, -3, 7), &alimentos[alimentos.size() - 5]);
    }
    // A rebuilt table forgets the cells of the list before.
    const std::vector<FoodX> uma{alimentoEm(1.0f, 2.0f, 9)};
    indexada.prepararAlimentos(uma, nullptr);
    EXPECT_EQ(indexada.alimentoEm(uma, 30, 30), nullptr);
    EXPECT_EQ(indexada.alimentoEm(uma, 1, 2), &uma[0]);
}

// A list longer than a table entry holds: the first item on a cell beyond it
// is still found (by a scan), the ones before it from the table.
TEST_F(BuscaDeAlimentos, AlvoLembradoAlemDeUmaEntradaDaTabela) {
    std::vector<FoodX> alimentos(65534, alimentoEm(0.5f, 0.5f, 1)); // off whole cells
    alimentos.push_back(alimentoEm(5.0f, 5.0f, 2));                 // place 65534
    alimentos.push_back(alimentoEm(6.0f, 6.0f, 3));                 // place 65535
    alimentos.push_back(alimentoEm(5.0f, 5.0f, 4));
    for (int k = 0; k < 5; ++k)
        alimentos.push_back(alimentoEm(0.5f, 0.5f, 1));
    alimentos.push_back(alimentoEm(7.0f, 7.0f, 5)); // place 65542
    alimentos.front() = alimentoEm(8.0f, 8.0f, 6);
    AlimentosPorCelula tabela;
    tabela.construir(alimentos);
    EXPECT_EQ(tabela.em(alimentos, 8, 8), &alimentos[0]);
    EXPECT_EQ(tabela.em(alimentos, 5, 5), &alimentos[65534]);
    EXPECT_EQ(tabela.em(alimentos, 6, 6), &alimentos[65535]);
    EXPECT_EQ(tabela.em(alimentos, 7, 7), &alimentos[65542]);
    EXPECT_EQ(tabela.em(alimentos, 0, 0), nullptr);
    EXPECT_EQ(tabela.em(alimentos, 9, 9), nullptr);
}

// Short reaches over short lists: searchers by the cell boundaries (either
// side of 0 too) with items a reach away, a float step either side of it, and
// lists with an item off the squares the quick emptiness test covers.
TEST_F(BuscaDeAlimentos, AlcancesCurtosPertoDasBordasDasCelulas) {
    std::vector<SpecX> buscadores;
    std::vector<FoodX> lista;
    const float xs[] = {-0.5f, 0.0f, 0.99f, 1.0f, 2.5f, 31.999f, 64.0f, 98.5f, 99.0f, 126.9f};
    for (int16_t visao : {1, 2, 3})
        for (float x : xs)
            for (int16_t inteligencia : {0, 100}) {
                buscadores.push_back(buscador(x, x, visao, inteligencia));
                buscadores.push_back(buscador(x, 50.25f, visao, inteligencia));
            }
    for (float x : {0.0f, 5.0f, 34.999f, 67.0f, 101.5f}) // items a reach or a step beyond it
        for (float d : {1.0f, 2.0f, 3.0f})
            for (float alem : {-1.0f, 0.0f, 1.0f}) {
                const float perto = x + d, passo = std::nextafter(perto, perto + alem * 10.0f);
                lista.push_back(alimentoEm(alem == 0.0f ? perto : passo, x, 200));
                lista.push_back(alimentoEm(x, 50.25f - d, 200));
            }
    for (bool comObstaculos : {true, false}) {
        comparar(lista, buscadores, comObstaculos, "curtos");
        std::vector<FoodX> fora = lista; // an item beyond the squares: nothing is ruled out
        fora.push_back(alimentoEm(130.0f, 5.0f, 200));
        fora.push_back(alimentoEm(-3.0f, 1.0f, 200));
        comparar(fora, buscadores, comObstaculos, "curtos, um de fora");
        // The only item near the searcher lies off the squares.
        const std::vector<FoodX> so = {alimentoEm(-2.0f, 0.5f, 200), alimentoEm(60.0f, 60.0f, 200)};
        const int antes = achados;
        comparar(so, {buscador(0.3f, 0.5f, 3, 0), buscador(0.3f, 0.5f, 3, 100)}, comObstaculos,
                 "curtos, perto de fora");
        EXPECT_EQ(achados, antes + 2);
    }
    EXPECT_GT(achados, 20);
}

// The vector passes (four and, where the machine has it, eight at a time)
// and the plain fallback flag the same items: at the threshold, a float step
// past it, at NaN, far off, behind obstacles.
TEST(VarreduraCurta, PassoVetorialIgualAoSimples) {
    std::mt19937 gerador(3);
    std::uniform_real_distribution<float> posicao(-10.0f, 110.0f);
    std::uniform_int_distribution<uint32_t> mascara(0, 15);
    constexpr size_t n = 128;
    // Four more, as the lists pad for eight at a time: points no query reaches.
    std::vector<float> xs(n + 4, std::numeric_limits<float>::quiet_NaN()), ys(n + 4, 0.0f);
    std::vector<uint32_t> ax(n + 4), dx(n + 4), ay(n + 4), dy(n + 4);
    for (int rodada = 0; rodada < 300; ++rodada) {
        const float x = posicao(gerador), y = posicao(gerador);
        const auto alcance = static_cast<float>(rodada % 51);
        VarreduraCurta::Consulta q{x, y, Regras::limiarQuadrado(alcance), {}, 15};
        q.origem = {{mascara(gerador), mascara(gerador), 0},
                    {mascara(gerador), mascara(gerador), 0}};
        for (size_t k = 0; k < n; ++k) {
            xs[k] = posicao(gerador);
            ys[k] = posicao(gerador);
            if (k % 5 == 0) { // exactly at the reach along an axis, or a step beyond
                xs[k] = x + alcance * (k % 2 ? 1.0f : -1.0f);
                ys[k] = k % 3 ? y : std::nextafter(y, 1e9f);
            }
            if (k % 31 == 0)
                xs[k] = std::numeric_limits<float>::quiet_NaN();
            // Mostly free paths, so that the distance decides.
            ax[k] = k % 4 ? 15 : mascara(gerador);
            dx[k] = mascara(gerador);
            ay[k] = mascara(gerador);
            dy[k] = k % 4 ? 15 : mascara(gerador);
        }
        const VarreduraCurta::Colunas c{xs.data(), ys.data(), ax.data(),
                                        dx.data(), ay.data(), dy.data()};
        for (uint32_t k = 0; k < n; k += 4)
            ASSERT_EQ(VarreduraCurta::quatro(c, q, k), VarreduraCurta::quatroSimples(c, q, k))
                << rodada << " " << k;
        if (!VarreduraCurta::oitoPorVez())
            continue;
        // Eight at a time, over whole and partial words (the bits past `ate` stay clear).
        const std::pair<uint32_t, uint32_t> trechos[] = {{0, 64},  {64, 128}, {4, 60}, {12, 16},
                                                         {60, 64}, {68, 124}, {0, 4},  {8, 20}};
        for (const auto& [de, ate] : trechos) {
            uint64_t esperado = 0;
            for (uint32_t k = de; k < ate; k += 4)
                esperado |= VarreduraCurta::quatroSimples(c, q, k) << (k % 64);
            ASSERT_EQ(VarreduraCurta::oito(c, q, de, ate), esperado)
                << rodada << " " << de << ".." << ate;
        }
    }
}
