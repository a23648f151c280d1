#pragma once
#include "sim/indices/GradeEspacial.h"
#include "sim/indices/MapaObstaculos.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace keldo::indices {

// Sight queries over a list too short for cells to pay: the points lie side by
// side ordered by their whole y (list order within each band), so that a query
// reads only the bands its reach spans, in one branch-free pass over distances
// and obstacle masks that yields one bit per point. What a pick in list order
// needs is then a walk over bit words: no listing, no sorting.
class VarreduraCurta {
  public:
    // A query's fixed terms: its point, squared reach, the masks of its path's
    // start and the bits a free path's ends share (one per rectangle).
    struct Consulta {
        float x, y, limiar;
        MapaObstaculos::Origem origem;
        uint32_t todos;
    };
    // `pontos` in any order; paths are tested against `mapa` (null: nothing
    // blocks), which must stay as it is while the queries run.
    void construir(const std::vector<PontoLista>& pontos, const MapaObstaculos* mapa);
    size_t tamanho() const { return posicaoDoRank.size(); }

    // How many points are within `alcance` (squared: `c.limiar`) of the query on
    // a free path; keeps them for `enesima` (until the next query).
    uint32_t contar(const Consulta& c, float alcance);
    // The `ordem`-th smallest position (from 0, below what `contar` gave) it took.
    uint32_t enesima(uint32_t ordem) const;
    // Of the points in sight, the one of greatest `valor - distancia` (the
    // distance as the simulation computes it), the lowest position among
    // equals; false when none is.
    bool melhor(const Consulta& c, float alcance, uint32_t& pos, float& distancia);

    // Points side by side: coordinates and the obstacle masks of their whole cells.
    struct Colunas {
        const float* xs;
        const float* ys;
        const uint32_t* antesX;
        const uint32_t* depoisX;
        const uint32_t* antesY;
        const uint32_t* depoisY;
    };
    // Bits (0..3) of the points [k, k + 4) within the threshold on a free path:
    // with vector instructions where the machine has them, and without.
    static uint64_t quatro(const Colunas& p, const Consulta& c, uint32_t k);
    static uint64_t quatroSimples(const Colunas& p, const Consulta& c, uint32_t k);
    // Bits of the points [de, ate) (multiples of 4, within one word of 64:
    // bit i for point de / 64 * 64 + i), eight at a time; only where
    // `oitoPorVez()`. Reads up to four points past `ate` (lists keep that padding).
    static uint64_t oito(const Colunas& p, const Consulta& c, uint32_t de, uint32_t ate);
    static bool oitoPorVez();
    // Tests: whether the passes may go eight at a time (where the machine can).
    static void permitirOito(bool sim);

  private:
    // Bands of whole y: below 0 (and NaN), 0 .. 100, from 101 up.
    static constexpr int faixas = 103;
    static int faixa(double y) {
        if (!(y >= 0.0))
            return 0;
        return y >= 101.0 ? faixas - 1 : static_cast<int>(y) + 1;
    }
    // The bands [b0, b1] the reach spans (all of them far off the arena).
    static void faixasDoAlcance(const Consulta& c, float alcance, int& b0, int& b1);
    // Whether a reach of at most 1 holds no point of a list kept in list
    // order: the shortest sight finds nothing in most of its queries, and
    // those need read nothing. A point within such a reach lies within a unit
    // and rounding of the query's point, so its whole cell within 2 of the
    // query's (truncation toward zero either side): all in the square of the
    // query's cell and its neighbours.
    bool nadaPerto(const Consulta& c, float alcance) const {
        if (!(alcance <= 1.0f) || !ocupacaoValida)
            return false;
        if (!(c.x >= 0.0f && c.y >= 0.0f && c.x < ladoOcupacao && c.y < ladoOcupacao))
            return false;
        const auto cx = static_cast<uint32_t>(c.x), cy = static_cast<uint32_t>(c.y);
        return ((vizinhancas[cy / 2] >> (cx / 2)) & 1u) == 0;
    }
    // Narrows [b0, b1] to the bands a path from the query's origin can reach:
    // a rectangle across the origin's column blocks every path to the rows
    // beyond it. False when no band is left.
    bool recortar(const Consulta& c, int& b0, int& b1) const;
    // Fills `vizinhancas` (clearing `ocupacaoValida` for a point off its squares).
    void marcarVizinhancas(const std::vector<PontoLista>& pontos);
    // Whether the point's whole y is what its band `b` stands for.
    static bool cyNaFaixa(const PontoLista& p, int b);
    // The stored points [de, ate) of the bands the reach spans (whole groups
    // of four); false when a path can reach none.
    bool alcancados(const Consulta& c, float alcance, uint32_t& de, uint32_t& ate) const;
    // Bits of the points [de, ate) (multiples of 4) within the threshold on a
    // free path, handed word by word to `destino(w, bits, number of bits set)`.
    template <class Destino>
    void marcarPara(const Consulta& c, uint32_t de, uint32_t ate, Destino&& destino) const;
    // The search of `melhor` over the bands, nearest first; `escolha` reads
    // the stored points [de, ate) (`examinar(c, de, ate)`, reading more is
    // harmless) and keeps the best so far (`achou()`, `melhoresPontos()`).
    template <class Escolha>
    bool melhorPor(const Consulta& c, float alcance, Escolha& escolha) const;

    std::vector<float> xs, ys, valores; // storage order, padded to a multiple of 4
    std::vector<uint32_t> antesX, depoisX, antesY, depoisY;
    std::vector<uint32_t> rankDe;                   // of each stored point: its place by position
    std::vector<uint32_t> posicaoDe;                // position of each stored point
    std::vector<uint32_t> posicaoDoRank;            // position of each rank
    std::array<uint32_t, faixas + 1> inicioFaixa{}; // first point of each band, plus the end
    std::vector<uint8_t> faixaDe;                   // band of each listed point, while building
    std::vector<uint64_t> porRank;                  // per rank, from the last `contar`
    double valorMaximo = 0.0, folga = 0.0;          // for the nearest-first `melhor`
    // Per rectangle, the last band before its top and the first beyond its
    // bottom; `recorta` when there is a map and every point's whole y falls
    // in its band, so that rows beyond a rectangle are bands beyond it.
    std::array<int, 32> faixaAntes{}, faixaDepois{};
    bool recorta = false;
    // A few points whose positions ascend are kept in list order (their rank
    // order) and every query reads them all: no bands to find, and a word of
    // bits is a word of ranks.
    bool emOrdem = false;
    // Of a list kept in list order, one bit per square of 2 x 2 whole cells
    // over 0..127 x 0..127 set when it or a square next to it (diagonals
    // too) holds a point (a word per row of squares); `ocupacaoValida` when
    // every point's cell is among them.
    static constexpr int ladoOcupacao = 128;
    std::array<uint64_t, ladoOcupacao / 2> vizinhancas{};
    bool ocupacaoValida = false;
    // The stored points, in whole groups of four (without the padding for eight).
    uint32_t guardados() const {
        return static_cast<uint32_t>((posicaoDoRank.size() + 3) & ~size_t{3});
    }
};

} // namespace keldo::indices
