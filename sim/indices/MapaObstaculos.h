#pragma once
#include "model/Geometry.h"
#include "sim/indices/RegrasVizinhanca.h"
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <span>

namespace keldo::indices {

using keldo::model::Rect;

// The obstacle queries answered from per-coordinate bit masks, one bit per
// rectangle: the outside codes of the clipping test and the containment test
// depend on x and on y separately, so two small tables answer a query with a
// few AND/OR operations. Coordinates outside the tables fall back to the
// rectangle-by-rectangle test, which gives the same answers.
class MapaObstaculos {
  public:
    // Rebuilds the masks for the rectangles (left table, then right) and the arena size.
    void construir(std::span<const Rect> esquerda, std::span<const Rect> direita, int32_t largura,
                   int32_t altura);
    // No rectangles: every mask empty, so every path is free.
    void limpar() {
        numRetangulos = 0;
        todos = 0;
        tabelaX.fill({});
        tabelaY.fill({});
        ultimaAntes.fill(0);
        primeiraDepois.fill(0);
        grade.fill(0);
    }
    bool valeraPara(int32_t largura, int32_t altura) const {
        return largura == larguraArena && altura == alturaArena;
    }
    // Whether any rectangle contains the point: one byte of a grid over the
    // tables' span (every step asks), the masks outside it.
    bool ocupado(int x, int y) const {
        const unsigned kx = static_cast<unsigned>(x - minimo);
        const unsigned ky = static_cast<unsigned>(y - minimo);
        if (std::max(kx, ky) < tamanho) // both inside, in one compare
            return grade[kx * tamanho + ky] != 0;
        return retanguloEm(x, y) >= 0;
    }
    // Index of the first rectangle containing the point, or -1.
    int retanguloEm(int x, int y) const {
        const uint32_t dentro = mascaraX(x).dentro & mascaraY(y).dentro;
        return dentro ? std::countr_zero(dentro) : -1;
    }
    struct MascarasEixo {
        uint32_t antes = 0;  // pixel before the near edge (px < left, py < top)
        uint32_t depois = 0; // pixel beyond the far edge (px > right, py > bottom)
        uint32_t dentro = 0; // near edge <= pixel < far edge
        // The rectangles this coordinate and `outra` both lie before, or both lie beyond.
        uint32_t alemDoMesmoLado(const MascarasEixo& outra) const {
            return (antes & outra.antes) | (depois & outra.depois);
        }
    };
    // The masks of a path's first end, looked up once for many paths from it.
    struct Origem {
        MascarasEixo x;
        MascarasEixo y;
    };
    Origem origem(int x, int y) const { return {mascaraX(x), mascaraY(y)}; }
    // The same written in place, word by word: a query that copied the masks
    // whole went through the stack in pieces and read them back across them.
    void origemEm(int x, int y, Origem& o) const {
        const unsigned kx = static_cast<unsigned>(x - minimo);
        const unsigned ky = static_cast<unsigned>(y - minimo);
        if (kx < tamanho)
            copiar(tabelaX[kx], o.x);
        else
            o.x = calcularX(x);
        if (ky < tamanho)
            copiar(tabelaY[ky], o.y);
        else
            o.y = calcularY(y);
    }
    bool caminhoBloqueado(const Origem& a, int x2, int y2) const {
        if (numRetangulos == 0)
            return false;
        // Free only when, for every rectangle, both points lie beyond one same edge.
        const uint32_t partilham =
            a.x.alemDoMesmoLado(mascaraX(x2)) | a.y.alemDoMesmoLado(mascaraY(y2));
        return !Regras::caminhoLivre(partilham, todos);
    }
    bool caminhoBloqueado(int x1, int y1, int x2, int y2) const {
        return numRetangulos != 0 && caminhoBloqueado(origem(x1, y1), x2, y2);
    }
    const Rect& retangulo(int indice) const { return retangulos[indice]; }
    // The bits a free path's two ends share: one per rectangle (0 without rectangles).
    uint32_t mascaraTodos() const { return todos; }
    // Of rectangle `r`: the last whole y that lies before its top and the
    // first that lies beyond its bottom (by the masks, which are monotone in y).
    // Out of the tables' span they say only "at most / at least" that far.
    int ultimaAntesY(int r) const { return ultimaAntes[static_cast<size_t>(r)]; }
    int primeiraDepoisY(int r) const { return primeiraDepois[static_cast<size_t>(r)]; }
    MascarasEixo mascaraX(int x) const {
        const unsigned k = static_cast<unsigned>(x - minimo);
        return k < tamanho ? tabelaX[k] : calcularX(x);
    }
    MascarasEixo mascaraY(int y) const {
        const unsigned k = static_cast<unsigned>(y - minimo);
        return k < tamanho ? tabelaY[k] : calcularY(y);
    }

  private:
    static constexpr int minimo = -4;   // smallest coordinate in the tables
    static constexpr int tamanho = 112; // coordinates minimo .. minimo + tamanho - 1
    static constexpr int maxRetangulos = 32;

    static void copiar(const MascarasEixo& de, MascarasEixo& para) {
        para.antes = de.antes;
        para.depois = de.depois;
        para.dentro = de.dentro;
    }
    MascarasEixo calcularX(int x) const;
    MascarasEixo calcularY(int y) const;

    std::array<Rect, maxRetangulos> retangulos{};
    int numRetangulos = 0;
    uint32_t todos = 0;
    int32_t larguraArena = -1;
    int32_t alturaArena = -1;
    std::array<MascarasEixo, tamanho> tabelaX{};
    std::array<MascarasEixo, tamanho> tabelaY{};
    std::array<int, maxRetangulos> ultimaAntes{}, primeiraDepois{};
    std::array<uint8_t, tamanho * tamanho> grade{}; // [x - minimo][y - minimo]: 1 = inside
};

} // namespace keldo::indices
