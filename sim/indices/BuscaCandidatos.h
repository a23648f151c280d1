#pragma once
#include "sim/indices/GradeEspacial.h"
#include "sim/indices/MapaObstaculos.h"
#include "sim/indices/VarreduraCurta.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace keldo::indices {

// One point a sight query found: its position in its list and its distance.
struct Candidato {
    uint32_t pos;
    float distancia;
};

// Sight queries over a list of points that stays put for a whole phase (the
// females a male may head for, the food an individual may head for). Short
// lists are scanned (`VarreduraCurta`); longer ones are bucketed in square
// cells over their bounding box, with their coordinates side by side in cell
// order, so that a query reads only the cells its range reaches. Picks go by
// list position, which is what a scan of the whole list in order would pick.
// Queries keep a small cache: one thread at a time.
class BuscaCandidatos {
  public:
    // `pontos` in list order; paths are tested against `mapa` (null: nothing
    // blocks). Both must stay as they are while the queries run (the
    // positions are read from the list). Short lists are scanned.
    void construir(const std::vector<PontoLista>& pontos, const MapaObstaculos* mapa);

    // Of the points within `alcance` of (x, y) whose path from the whole cell
    // (ox, oy) is free, the one with the greatest `valor - distancia`,
    // the lowest position among equals; false when there is none. Looks at
    // cells nearest first and stops once no farther point can do better.
    bool melhor(float x, float y, float alcance, int ox, int oy, Candidato& saida) const {
        if (varre)
            return curta.melhor(consulta(x, y, alcance, ox, oy), alcance, saida.pos,
                                saida.distancia);
        return melhorPorCelulas(x, y, alcance, ox, oy, saida);
    }

    // How many of those points there are, without listing them: cells wholly
    // within reach on a free path count by their totals, only the others are
    // looked at point by point. Keeps what `enesima` needs (until the next query).
    // Short lists first, apart and inline: the cell count's set-up would cost every query.
    uint32_t contar(float x, float y, float alcance, int ox, int oy) const {
        if (varre)
            return curta.contar(consulta(x, y, alcance, ox, oy), alcance);
        return contarPorCelulas(x, y, alcance, ox, oy);
    }
    // The `ordem`-th smallest position (from 0, below the last `contar`) of
    // what it counted.
    uint32_t enesima(uint32_t ordem) const {
        return varre ? curta.enesima(ordem) : enesimaPorCelulas(ordem);
    }

  private:
    // A query's fixed terms: its point, squared reach and the obstacle masks of its path's start.
    using Consulta = VarreduraCurta::Consulta;
    // Field by field in the caller's place, so nothing is copied through the stack.
    Consulta consulta(float x, float y, float alcance, int ox, int oy) const {
        Consulta c;
        c.x = x;
        c.y = y;
        c.limiar = limiarPara(alcance);
        if (mapa) {
            mapa->origemEm(ox, oy, c.origem);
            c.todos = mapa->mascaraTodos();
        } else {
            c.origem = {};
            c.todos = 0;
        }
        return c;
    }
    // `contar`, `enesima` and `melhor` over the cells of a longer list.
    uint32_t contarPorCelulas(float x, float y, float alcance, int ox, int oy) const;
    uint32_t enesimaPorCelulas(uint32_t ordem) const;
    bool melhorPorCelulas(float x, float y, float alcance, int ox, int oy, Candidato& saida) const;
    // Flags, for the points [inicio, fim) in cell order, those within reach on a free path.
    void marcar(const Consulta& c, uint32_t inicio, uint32_t fim, uint8_t* __restrict aceito) const;
    // The rectangles that paths from the query's origin to every point of
    // row `j` of cells (`livre`), or to some of them (`talvez`), clear along
    // y, from the masks the row's points share.
    struct Caminhos {
        uint32_t livre, talvez;
    };
    Caminhos caminhosDaLinha(const Consulta& c, int j) const;
    // The columns [de, ate) of cells from which every point (`todosOsPontos`)
    // or some point has a path clearing every rectangle of `deixadas`.
    struct Colunas {
        int de, ate;
    };
    Colunas colunasQueLiberam(const Consulta& c, uint32_t deixadas, bool todosOsPontos) const;
    // The cells of one row a query reaches: [i0, i1] may hold points within
    // reach, every point of [f0, f1] is within it (rounding included; f0 > f1 for none).
    struct Faixas {
        int i0, i1, f0, f1;
    };
    // A query's reach with the slack for rounding, for `faixasDaLinha`.
    struct Alcance {
        double x, y, folga, raio, dentro;
    };
    Alcance alcanceDe(float x, float y, float alcance) const;
    bool faixasDaLinha(const Alcance& a, int j, Faixas& f) const;
    // Keeps the ranks of the points of [de, ate) (cell order) in reach and on a free path.
    void contarPontos(const Consulta& c, uint32_t de, uint32_t ate, bool livre) const;
    // Adds the cells [a, b] of row `j`, wholly taken, to the per-block counts, and keeps the run.
    void somarCorrida(int j, int a, int b) const;
    // Sets, in `bitsDoBloco`, the bits of the ranks of block `bloco` that the last `contar` took.
    void marcarBloco(uint32_t bloco) const;
    bool pontoLivre(const Consulta& c, uint32_t k) const {
        return Regras::caminhoLivre(
            (c.origem.x.antes & antesX[k]) | (c.origem.x.depois & depoisX[k]) |
                (c.origem.y.antes & antesY[k]) | (c.origem.y.depois & depoisY[k]),
            c.todos);
    }
    // The point at `k` (cell order) within the query's reach.
    bool pontoPerto(const Consulta& c, uint32_t k) const {
        return Regras::quadradoNoAlcance(Regras::quadradoDaDistancia(c.x, c.y, xs[k], ys[k]),
                                         c.limiar);
    }
    // The steps of `construir` for a list counted by cells.
    void medirCelulas(const std::vector<PontoLista>& pontos);
    void contarPorCelula(const std::vector<PontoLista>& pontos, std::vector<uint16_t>& celulaDe);
    void ordenarPosicoes(const std::vector<PontoLista>& pontos,
                         std::vector<uint32_t>& rankDoListado);
    void distribuirPontos(const std::vector<PontoLista>& pontos,
                          const std::vector<uint16_t>& celulaDe,
                          const std::vector<uint32_t>& rankDoListado, bool comValores);
    void construirMascarasDeCelulas(const std::vector<PontoLista>& pontos,
                                    const std::vector<uint16_t>& celulaDe);
    void construirContagens();
    void construirPontosComuns(bool comValores);
    // Whole-unit cells: the rectangles a path from the query's origin to any
    // point of column `i` (row `j`) clears along that axis; 0 without a map.
    uint32_t livreNaColuna(const Consulta& c, int i) const {
        return mapa ? c.origem.x.alemDoMesmoLado(mapa->mascaraX(i)) : 0;
    }
    uint32_t livreNaLinha(const Consulta& c, int j) const {
        return mapa ? c.origem.y.alemDoMesmoLado(mapa->mascaraY(j)) : 0;
    }
    int celula(double v, double minimo) const;

    // Shorter lists are read in one pass over the bands of y in reach: their
    // cells would hold too few points for whole cells and blocks of ranks to
    // pay (measured on the world that grows to about 5,000 living: the scan wins up to
    // about four thousand points).
    static constexpr size_t minimoParaContar = 4096;
    bool contaPorCelulas() const { return !varre; }
    bool varre = true;
    mutable VarreduraCurta curta;

    // From this many points on, cells are whole units of the arena (when every point is on it).
    static constexpr size_t minimoPorUnidade = 10000;
    bool porUnidade = false;
    int lado = 1;
    double minX = 0.0, minY = 0.0;
    double tamanhoCelula = 1.0;
    double porCelula = 1.0; // cells per unit of the arena
    double margem = 0.0;    // slack for rounding in cell bounds and distances
    float valorMaximo = 0.0f;
    // Queries come with a handful of reaches (the sight phenotypes); their
    // thresholds are kept.
    float limiarPara(float alcance) const {
        if (alcance >= 0.0f && alcance < static_cast<float>(inteirosGuardados)) {
            const auto k = static_cast<size_t>(alcance);
            if (static_cast<float>(k) == alcance && limiarInteiroConhecido[k])
                return limiarInteiro[k];
        }
        return limiarNovo(alcance);
    }
    // The first time for a whole reach, and every other reach.
    float limiarNovo(float alcance) const;
    // Whole reaches (every sight phenotype) straight from a table; others from a small cache.
    static constexpr int inteirosGuardados = 64;
    mutable std::array<float, inteirosGuardados> limiarInteiro{};
    mutable std::array<bool, inteirosGuardados> limiarInteiroConhecido{};
    mutable std::array<float, 8> alcances{};
    mutable std::array<float, 8> limiares{};
    mutable size_t emCache = 0;

    std::vector<uint32_t> inicio; // first point of each cell, row by row, plus the end
    std::vector<float> xs, ys;
    std::vector<float> valores; // empty when every value is 0 (the females')
    // Obstacle masks of each point's whole cell: a path is free when the masks
    // of its two ends, ANDed edge by edge and ORed, cover every rectangle.
    // Empty for whole-unit cells, whose masks are the map's for that cell.
    std::vector<uint32_t> antesX, depoisX, antesY, depoisY;
    const MapaObstaculos* mapa = nullptr;
    // The list position of the point at `k` (cell order), and of rank `r`.
    uint32_t posicaoDe(uint32_t k) const { return posicaoDoRank(rankDe[k]); }
    uint32_t posicaoDoRank(uint32_t r) const {
        return posicoesEmOrdem.empty() ? (*lista)[r].pos : posicoesEmOrdem[r];
    }
    float valorDe(uint32_t k) const { return valores.empty() ? 0.0f : valores[k]; }

    // For `contar`/`enesima`. A point's rank is its place among the positions
    // in ascending order (its place in the list when that is ascending). Ranks
    // fall in blocks of 2^deslocamento; per row of cells, the counts of each
    // block in the row's cells before each cell are kept (`blocosPorCelula`
    // counters per cell boundary), so a run of whole cells counts by block in
    // a few subtractions. The wanted rank is then found in one block only.
    // The counters wrap at 256: a difference is exact while a row holds fewer
    // than 256 points of each block; rows that hold more (`densa`, a crowd)
    // keep full counters beside (`antesNaLinhaLarga`, from `linhaLarga[j]`).
    // Each block's ranks are also kept in cell order (`doBloco`, less the
    // block's first rank; block b from b * 2^deslocamento on), so the block's
    // points in a run of a row are one span there: from the row's start in
    // the block plus the same counters.
    struct MascarasComuns {
        uint32_t antesE = ~0u, depoisE = ~0u; // shared by every point (AND)
        uint32_t antesOu = 0, depoisOu = 0;   // held by some point (OR)
    };
    std::vector<MascarasComuns> mascarasColuna, mascarasLinha;
    std::vector<uint32_t> rankDe;                   // rank of each point, in cell order
    const std::vector<PontoLista>* lista = nullptr; // ranks are its places when ascending
    std::vector<uint32_t> posicoesEmOrdem;          // else: the position of each rank
    std::vector<uint8_t> antesNaLinha;              // per row, per cell boundary, per block
    std::vector<uint16_t> doBloco;                  // ranks by block, then cell
    std::vector<uint16_t> inicioNoBloco;            // per block, per row: where it starts in it
    std::array<bool, 100> densa{};
    std::array<uint32_t, 100> linhaLarga{};
    std::vector<uint32_t> antesNaLinhaLarga;
    // The points of row `j` before cell boundary `fronteira` in block `bloco`.
    uint32_t antesNaFronteira(size_t j, size_t fronteira, uint32_t bloco) const;
    // Cells whose many points all lie on one spot: one point's distance and
    // path are every one's, so such a cell is taken whole or not at all.
    static constexpr uint32_t minimoNoPonto = 32;
    std::vector<uint8_t> noMesmoPonto;
    std::vector<float> valorMaximoDaCelula; // with values only
    int deslocamento = 6;
    size_t blocosPorCelula = 8;
    // What the last `contar` took: per-block counts, the runs of whole cells
    // and the ranks of the points taken one by one (`nasBordas` of them).
    struct Corrida {
        uint16_t linha, primeira, ultima;
    };
    mutable std::vector<uint16_t> porBloco;
    mutable std::vector<Corrida> corridas;
    mutable std::vector<uint32_t> bordas;
    mutable size_t nasBordas = 0;
    mutable std::vector<uint64_t> bitsDoBloco; // the ranks of one block, for `enesima`
};

} // namespace keldo::indices
