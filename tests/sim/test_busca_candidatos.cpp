// Sight queries over a fixed list, checked against a scan of the whole list in order.
#include "sim/CKeldoDoc.h"
#include "sim/indices/BuscaCandidatos.h"
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

using namespace keldo::sim;
using namespace keldo::indices;

namespace {
constexpr float infinito = std::numeric_limits<float>::infinity();
// More reaches than the search keeps thresholds for.
constexpr float alcances[] = {1.0f, 12.0f, 25.0f, 37.0f, 50.0f, 7.3f, 3.5f, 18.0f, 44.25f, 70.0f};

PontoLista ponto(float x, float y, uint32_t pos, float valor = 0.0f) {
    return {x, y, static_cast<int32_t>(x), static_cast<int32_t>(y), pos, valor};
}

float distancia(float x, float y, const PontoLista& p) {
    const float dx = x - p.x, dy = y - p.y;
    return std::sqrt(dx * dx + dy * dy);
}

// What a scan of every point in list order finds.
struct Varredura {
    std::vector<uint32_t> todos; // ascending
    bool achou = false;
    Candidato melhor{};
};
Varredura varrer(const std::vector<PontoLista>& pontos, const MapaObstaculos* mapa, float x,
                 float y, float alcance) {
    Varredura v;
    float melhorPontos = 0.0f;
    const int ox = static_cast<int>(x), oy = static_cast<int>(y);
    for (const PontoLista& p : pontos) {
        const float d = distancia(x, y, p);
        if (!(d <= alcance) || (mapa && mapa->caminhoBloqueado(ox, oy, p.cx, p.cy)))
            continue;
        v.todos.push_back(p.pos);
        const float pontosP = p.valor - d;
        if (!v.achou || pontosP > melhorPontos ||
            (pontosP == melhorPontos && p.pos < v.melhor.pos)) {
            v.achou = true;
            melhorPontos = pontosP;
            v.melhor = {p.pos, d};
        }
    }
    std::sort(v.todos.begin(), v.todos.end());
    return v;
}

// Both queries against the scan; gives the scan's candidates.
std::vector<uint32_t> conferir(const BuscaCandidatos& busca, const std::vector<PontoLista>& pontos,
                               const MapaObstaculos* mapa, float x, float y, float alcance) {
    SCOPED_TRACE(::testing::Message() << "n " << pontos.size() << " consulta (" << x << ", " << y
                                      << ") alcance " << alcance);
    const Varredura v = varrer(pontos, mapa, x, y, alcance);
    const int ox = static_cast<int>(x), oy = static_cast<int>(y);
    // Counted once, then every rank picked in turn: the scan's list, ascending.
    const uint32_t total = busca.contar(x, y, alcance, ox, oy);
    EXPECT_EQ(total, v.todos.size());
    std::vector<uint32_t> achados;
    for (uint32_t r = 0; r < total; ++r)
        achados.push_back(busca.enesima(r));
    EXPECT_EQ(achados, v.todos);
    // Counted afresh before each pick: the first, the last, and both sides of
    // every boundary between blocks of ranks.
    if (total == v.todos.size() && total > 0) {
        std::vector<uint32_t> todas; // every position, for the ranks
        for (const PontoLista& p : pontos)
            todas.push_back(p.pos);
        std::sort(todas.begin(), todas.end());
        auto bloco = [&](uint32_t r) {
            return (std::lower_bound(todas.begin(), todas.end(), v.todos[r]) - todas.begin()) / 64;
        };
        std::vector<uint32_t> fronteiras; // last of a block, first of the next
        for (uint32_t r = 0; r + 1 < total; ++r)
            if (bloco(r) != bloco(r + 1))
                fronteiras.push_back(r);
        std::vector<uint32_t> ordens = {0, total / 3, total - 1};
        const size_t passo = fronteiras.size() / 6 + 1; // a few of them on long lists
        for (size_t k = 0; k < fronteiras.size(); k += passo)
            ordens.insert(ordens.end(), {fronteiras[k], fronteiras[k] + 1});
        for (uint32_t r : ordens) {
            busca.contar(x, y, alcance, ox, oy);
            EXPECT_EQ(busca.enesima(r), v.todos[r]) << "ordem " << r;
        }
    }
    Candidato c{999999u, -1.0f};
    EXPECT_EQ(busca.melhor(x, y, alcance, ox, oy, c), v.achou);
    if (v.achou) {
        EXPECT_EQ(c.pos, v.melhor.pos);
        EXPECT_EQ(c.distancia, v.melhor.distancia);
    }
    return v.todos;
}

// Layouts: 0 spread over the arena, 1 clustered, 2 one x, 3 one y, 4 with points far
// outside, 5 whole coordinates (many equal distances). Values: 0 none, 1 small whole
// numbers (ties), 2 a few near 30000. Positions ascending with gaps, or shuffled.
std::vector<PontoLista> layout(std::mt19937& rng, int tipo, int valores, bool embaralhar,
                               size_t n) {
    std::uniform_real_distribution<float> arena(0.0f, 99.0f);
    std::normal_distribution<float> nuvem(0.0f, 2.0f);
    std::uniform_int_distribution<int> inteiro(0, 99), pequeno(0, 30), fora(0, 3);
    const float longe[] = {-50.0f, 150.0f, 1e5f};
    const float centros[3][2] = {{10.0f, 80.0f}, {55.5f, 20.25f}, {90.0f, 91.0f}};
    std::vector<uint32_t> pos(n);
    for (size_t k = 0; k < n; ++k) // gaps, and more than 8 bits
        pos[k] = static_cast<uint32_t>(3 * k + k % 2);
    if (embaralhar)
        std::shuffle(pos.begin(), pos.end(), rng);
    std::vector<PontoLista> pontos;
    for (size_t k = 0; k < n; ++k) {
        float x = arena(rng), y = arena(rng);
        if (tipo == 1) {
            x = centros[k % 3][0] + nuvem(rng);
            y = centros[k % 3][1] + nuvem(rng);
        } else if (tipo == 2 || tipo == 3) {
            (tipo == 2 ? x : y) = 42.5f;
        } else if (tipo == 4 && k % 7 == 3) {
            const int f = fora(rng);
            (f < 3 ? x : y) = longe[f % 3];
        } else if (tipo == 5) {
            x = static_cast<float>(inteiro(rng));
            y = static_cast<float>(inteiro(rng));
        }
        float valor = valores > 0 ? static_cast<float>(pequeno(rng)) : 0.0f;
        if (valores == 2 && k % 97 == 5)
            valor += 30000.0f;
        pontos.push_back(ponto(x, y, pos[k], valor));
    }
    return pontos;
}
} // namespace

// Positions given out of order (a list built some other way) still give the
// right place, and a cleared obstacle map blocks nothing.
TEST(BuscaCandidatos, PosicoesForaDeOrdemEMapaLimpo) {
    std::vector<PontoLista> pontos;
    for (uint32_t k = 0; k < 2000; ++k)
        pontos.push_back(ponto(static_cast<float>(k % 97), static_cast<float>(k % 89), 1999 - k));
    MapaObstaculos mapa;
    mapa.construir(CKeldoDoc::tabelaObstaculos('d', 0), CKeldoDoc::tabelaObstaculos('d', 1), 640,
                   480);
    mapa.limpar();
    BuscaCandidatos busca;
    busca.construir(pontos, &mapa);
    ASSERT_EQ(busca.contar(50.0f, 50.0f, 1000.0f, 0, 0), pontos.size());
    for (uint32_t ordem : {0u, 1u, 1000u, 1999u}) {
        busca.contar(50.0f, 50.0f, 1000.0f, 0, 0);
        EXPECT_EQ(busca.enesima(ordem), ordem);
    }
}

TEST(BuscaCandidatos, CoincideComAVarreduraEmListasAleatorias) {
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<float> perto(-20.0f, 120.0f);
    const std::pair<float, float> distantes[] = {
        {-300.0f, 50.0f}, {500.0f, 500.0f}, {1e5f, 20.0f}, {42.5f, -80.0f}};
    BuscaCandidatos busca; // rebuilt each time: nothing of a longer list may linger
    for (int tipo = 0; tipo < 6; ++tipo)
        for (int valores = 0; valores < 3; ++valores)
            for (size_t n : {0, 1, 63, 64, 65, 500, 5000, 12000}) {
                const bool embaralhar = (tipo + valores) % 2 == 1;
                const auto pontos = layout(rng, tipo, valores, embaralhar, n);
                busca.construir(pontos, nullptr);
                std::vector<std::pair<float, float>> consultas(std::begin(distantes),
                                                               std::end(distantes));
                for (int q = 0; q < (n < 5000 ? 16 : 6); ++q)
                    consultas.push_back({perto(rng), perto(rng)});
                for (size_t k = 0; k < std::min<size_t>(n, 4); ++k) // right on a point
                    consultas.push_back({pontos[k * 7 % n].x, pontos[k * 7 % n].y});
                for (const auto& [x, y] : consultas)
                    for (float a : alcances)
                        conferir(busca, pontos, nullptr, x, y, a);
                if (HasFailure())
                    return;
            }
}

// Points exactly at the reach are in, the first float beyond is out; equal scores go
// to the lowest position, whichever cell it sits in and wherever it is listed.
TEST(BuscaCandidatos, BordaDoAlcanceEEmpatesNaMesmaDistancia) {
    // Offsets with whole lengths 5, 10, 13, 25, 37, 50.
    const int offsets[][2] = {{3, 4},  {4, 3},   {5, 0},   {0, 5},   {6, 8},  {10, 0},
                              {5, 12}, {12, 5},  {7, 24},  {15, 20}, {25, 0}, {12, 35},
                              {0, 37}, {14, 48}, {30, 40}, {48, 14}, {0, 50}, {40, 30}};
    const float cx = 60.5f, cy = 60.5f; // no end lands on 0, where floats crowd
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> arena(0.0f, 99.0f);
    for (size_t enchimento : {0, 60, 3000})
        for (float base : {10.0f, 30000.0f}) {
            std::vector<PontoLista> pontos, naBorda, alem;
            uint32_t pos = 100000; // decreasing along the list: the last one listed wins
            for (const auto& o : offsets)
                for (int sx : {-1, 1})
                    for (int sy : {-1, 1}) {
                        const PontoLista p = ponto(cx + static_cast<float>(sx * o[0]),
                                                   cy + static_cast<float>(sy * o[1]), pos--);
                        const float d = distancia(cx, cy, p); // whole, so exact
                        naBorda.push_back(p);
                        naBorda.back().valor = base + d;
                        // Outward along the longer offset to the first float beyond the circle.
                        PontoLista q = p;
                        float& c = o[0] >= o[1] ? q.x : q.y;
                        while (distancia(cx, cy, q) <= d)
                            c = std::nextafter(c, (o[0] >= o[1] ? sx : sy) * infinito);
                        alem.push_back(ponto(q.x, q.y, pos--));
                    }
            for (size_t k = 0; k < enchimento; ++k) // scores below any on the circles
                pontos.push_back(ponto(arena(rng), arena(rng), static_cast<uint32_t>(k), 1.0f));
            pontos.insert(pontos.end(), naBorda.begin(), naBorda.end());
            pontos.insert(pontos.end(), alem.begin(), alem.end());
            BuscaCandidatos busca;
            busca.construir(pontos, nullptr);
            for (float a : {5.0f, 10.0f, 13.0f, 25.0f, 37.0f, 50.0f}) {
                // The scan keeps the circle itself and drops the points beyond it.
                conferir(busca, pontos, nullptr, cx, cy, a);
                uint32_t menor = UINT32_MAX;
                for (const PontoLista& p : naBorda)
                    if (distancia(cx, cy, p) <= a)
                        menor = std::min(menor, p.pos);
                Candidato c{};
                ASSERT_TRUE(busca.melhor(cx, cy, a, 60, 60, c));
                EXPECT_EQ(c.pos, menor) << "alcance " << a; // the farthest tie, listed last
            }
        }
}

TEST(BuscaCandidatos, MelhorComValoresGrandesEArredondamento) {
    std::mt19937 rng(6);
    std::uniform_real_distribution<float> arena(0.0f, 99.0f);
    // A farther point with a larger value beats a near one; a lone large value far off
    // in a corner cell must not be cut off by the search's stopping bound.
    std::vector<PontoLista> pontos;
    for (uint32_t k = 0; k < 5000; ++k)
        pontos.push_back(ponto(arena(rng), arena(rng), k, static_cast<float>(k % 11)));
    pontos.push_back(ponto(50.5f, 50.0f, 5000, 20.0f));    // score 19.5
    pontos.push_back(ponto(50.0f, 80.0f, 5001, 51.0f));    // score 21
    pontos.push_back(ponto(85.0f, 85.0f, 5002, 30000.0f)); // 49.5 away
    pontos.push_back(ponto(99.0f, 99.0f, 5003, 40000.0f)); // out of reach
    BuscaCandidatos busca;
    busca.construir(pontos, nullptr);
    Candidato c{};
    for (float a : {25.0f, 30.0f, 49.0f, 49.6f}) {
        conferir(busca, pontos, nullptr, 50.0f, 50.0f, a);
        ASSERT_TRUE(busca.melhor(50.0f, 50.0f, a, 50, 50, c));
        EXPECT_EQ(c.pos, a < 30.0f ? 5000u : a < 49.5f ? 5001u : 5002u) << "alcance " << a;
    }
    // (50, 0.001) is a hair beyond 50 from (0, 0), yet its float distance rounds down onto
    // the reach; the cell edges between them (x = 50, y = 0.0005) must not hide it.
    pontos = {ponto(0.0f, -1.9995f, 0), ponto(100.0f, 50.0f, 1), ponto(50.0f, 1e-3f, 2)};
    for (uint32_t k = 3; k < 5000; ++k)
        pontos.push_back(ponto(arena(rng) + 0.5f, arena(rng) * 0.5f, k));
    ASSERT_EQ(distancia(0.0f, 0.0f, pontos[2]), 50.0f);
    busca.construir(pontos, nullptr);
    conferir(busca, pontos, nullptr, 0.0f, 0.0f, 50.0f);
    // A tie at 30000 where rounding puts the farther point's score right on what its ring
    // of cells could at best give: the search must still look at that ring.
    const float qx = std::nextafter(20.0f, 0.0f);
    pontos = {ponto(0.0f, 0.0f, 10), ponto(100.0f, 100.0f, 11), ponto(19.0f, 21.0f, 3, 29991.0f),
              ponto(30.0f, 21.0f, 1, 30000.0f)};
    for (uint32_t k = 12; k < 5000; ++k)
        pontos.push_back(ponto(arena(rng), arena(rng), k));
    busca.construir(pontos, nullptr);
    ASSERT_EQ(varrer(pontos, nullptr, qx, 21.0f, 12.0f).melhor.pos, 1u);
    conferir(busca, pontos, nullptr, qx, 21.0f, 12.0f);
}

TEST(BuscaCandidatos, ObstaculosDosNiveisComoOCaminhoBloqueado) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<float> arena(0.0f, 99.0f), consulta(-10.0f, 110.0f);
    const float longe[] = {-50.0f, 150.0f, -3.5f, 105.0f, 1e5f};
    for (char codigo : {'r', 'f', 'm', 'd'}) {
        MapaObstaculos mapa;
        mapa.construir(CKeldoDoc::tabelaObstaculos(codigo, 0),
                       CKeldoDoc::tabelaObstaculos(codigo, 1), 640, 480);
        size_t bloqueados = 0;
        for (size_t n : {40, 64, 65, 700, 1023, 1024, 4095, 4096, 12000}) {
            std::vector<PontoLista> pontos;
            for (uint32_t k = 0; k < n; ++k) {
                float x = arena(rng), y = arena(rng);
                if (k % 19 == 4 && n < 10000) // the longest list stays on the arena
                    (k % 2 ? x : y) = longe[k % 5];
                pontos.push_back(ponto(x, y, k, static_cast<float>(k % 5)));
            }
            BuscaCandidatos busca;
            busca.construir(pontos, &mapa);
            for (int q = 0; q < 40; ++q) {
                const float x = consulta(rng), y = consulta(rng);
                for (float a : {1.0f, 12.0f, 25.0f, 50.0f, 150.0f}) {
                    const auto livres = conferir(busca, pontos, &mapa, x, y, a);
                    bloqueados += varrer(pontos, nullptr, x, y, a).todos.size() - livres.size();
                }
                if (HasFailure())
                    return;
            }
        }
        EXPECT_EQ(bloqueados > 0, codigo != 'r') << codigo; // the obstacles came into play
    }
}

// Crowded lists (whole-unit cells, blocks of thousands of ranks): after one count, every
// drawn place is the scan's, whether it falls in runs of whole cells reaching a row's
// end, in rim cells only, in a row crowded with one block's points or behind obstacles.
TEST(BuscaCandidatos, CadaSorteioEmListasLotadas) {
    std::mt19937 rng(1001);
    std::uniform_real_distribution<float> arena(0.0f, 99.99f), faixa(40.0f, 40.99f);
    MapaObstaculos mapa;
    mapa.construir(CKeldoDoc::tabelaObstaculos('m', 0), CKeldoDoc::tabelaObstaculos('m', 1), 640,
                   480);
    for (bool embaralhar : {false, true})
        for (const MapaObstaculos* m : {static_cast<const MapaObstaculos*>(nullptr),
                                        static_cast<const MapaObstaculos*>(&mapa)}) {
            std::vector<PontoLista> pontos;
            for (uint32_t k = 0; k < 70000; ++k) { // row 40 gets 600 listed side by side
                const bool lotada = k >= 10000 && k < 10600;
                pontos.push_back(ponto(arena(rng), lotada ? faixa(rng) : arena(rng), 2 * k));
            }
            if (embaralhar) { // positions no longer ascend along the list
                std::vector<uint32_t> pos;
                for (const PontoLista& p : pontos)
                    pos.push_back(p.pos);
                std::shuffle(pos.begin(), pos.end(), rng);
                for (size_t k = 0; k < pontos.size(); ++k)
                    pontos[k].pos = pos[k];
            }
            BuscaCandidatos busca;
            busca.construir(pontos, m);
            const float consultas[][3] = {
                {50.5f, 50.5f, 9.0f}, {0.3f, 70.2f, 14.0f},   {99.7f, 3.1f, 12.5f},
                {40.5f, 40.5f, 6.0f}, {12.25f, 33.75f, 0.7f}, {77.5f, 88.5f, 1.2f},
                {60.1f, 41.9f, 3.0f}, {20.0f, 99.9f, 11.0f},  {45.0f, 55.0f, 150.0f}};
            for (const auto& q : consultas) {
                SCOPED_TRACE(::testing::Message()
                             << "embaralhadas " << embaralhar << " mapa " << (m != nullptr)
                             << " consulta (" << q[0] << ", " << q[1] << ") alcance " << q[2]);
                const auto v = varrer(pontos, m, q[0], q[1], q[2]).todos;
                const int ox = static_cast<int>(q[0]), oy = static_cast<int>(q[1]);
                const uint32_t total = busca.contar(q[0], q[1], q[2], ox, oy);
                ASSERT_EQ(total, v.size());
                const uint32_t passo = total > 8000 ? 97 : 1;
                for (uint32_t r = 0; r < total; r += passo)
                    ASSERT_EQ(busca.enesima(r), v[r]) << "ordem " << r;
                EXPECT_EQ(busca.enesima(total - 1), v.back());
            }
        }
}

// Columns of cells holding no point, between columns behind obstacles: the
// count finds the whole free cells of a row as one span of columns, which the
// empty ones must not break or stretch. Cells of several units (where a
// column's points may differ in what they clear) and of one unit.
TEST(BuscaCandidatos, ColunasVaziasEntreObstaculos) {
    std::mt19937 rng(4711);
    std::uniform_real_distribution<float> esquerda(0.0f, 30.0f), direita(70.0f, 99.0f),
        altura(0.0f, 99.0f), consulta(-5.0f, 104.0f);
    MapaObstaculos mapa;
    mapa.construir(CKeldoDoc::tabelaObstaculos('d', 0), CKeldoDoc::tabelaObstaculos('d', 1), 640,
                   480);
    for (size_t n : {size_t{5000}, size_t{12000}}) {
        std::vector<PontoLista> pontos;
        for (uint32_t k = 0; k < n; ++k) {
            // Most points far left or right; a thin column in the middle of the gap.
            const float x = k % 50 == 0 ? 50.5f : k % 2 ? esquerda(rng) : direita(rng);
            pontos.push_back(ponto(x, altura(rng), 2 * k));
        }
        BuscaCandidatos busca;
        busca.construir(pontos, &mapa);
        for (int q = 0; q < 60; ++q) {
            const float x = consulta(rng), y = consulta(rng);
            for (float a : {12.0f, 25.0f, 37.0f, 50.0f}) {
                const auto v = varrer(pontos, &mapa, x, y, a).todos;
                const int ox = static_cast<int>(x), oy = static_cast<int>(y);
                const uint32_t total = busca.contar(x, y, a, ox, oy);
                ASSERT_EQ(total, v.size()) << n << " (" << x << ", " << y << ") alcance " << a;
                for (uint32_t r = 0; r < total; r += 1 + total / 40)
                    ASSERT_EQ(busca.enesima(r), v[r]) << n << " ordem " << r;
            }
        }
    }
}
