#pragma once
#include "sim/indices/ListaRascunho.h"
#include <cstddef>
#include <cstdint>
#include <vector>

// A compact copy of an item's position and its place in its list, so that
// scans over many candidates touch little memory.
struct PontoLista {
    float x;
    float y;
    int32_t cx; // truncated coordinates, as the obstacle queries take them
    int32_t cy;
    uint32_t pos;
    float valor = 0.0f; // what a best-value choice adds to minus the distance
};

// Buckets of list positions over the arena, so that reach and sight queries
// look at nearby items only. A query returns the candidate positions in
// ascending list order, so the rules that choose among candidates by their
// order see exactly what a scan of the whole list would give them.
class GradeEspacial {
  public:
    // Buckets the positions of `itens` (anything with float x, y). The cells
    // get finer as the list grows, from 4 x 4 up to 100 x 100 over 0..99.
    template <class T> void construir(const std::vector<T>& itens) {
        escolherLado(itens.size());
        redimensionarRascunho(celulaDe, itens.size());
        for (std::size_t i = 0; i < itens.size(); ++i)
            celulaDe[i] = static_cast<uint16_t>(celula(itens[i].y) * lado + celula(itens[i].x));
        contarCelulas();
        // Each item goes straight to its cell's next free place, coordinates and all.
        for (std::size_t i = 0; i < itens.size(); ++i) {
            const uint32_t destino = cursor[celulaDe[i]]++;
            posicoes[destino] = static_cast<uint32_t>(i);
            xs[destino] = itens[i].x;
            ys[destino] = itens[i].y;
        }
    }

    // Positions, ascending, of the items within `raio` of (x, y) (the float
    // distance the simulation computes) that `aceita(posicao)` takes. Only
    // items within the radius are offered to `aceita`.
    template <class Aceita>
    void consultar(float x, float y, float raio, Aceita&& aceita,
                   std::vector<uint32_t>& saida) const {
        saida.clear();
        // Cells are monotone in the coordinate; the slack covers the rounding of x ± raio.
        const float margem = raio + 0.01f + 1e-6f * (x < 0 ? -x : x) + 1e-6f * (y < 0 ? -y : y);
        const int x0 = celula(x - margem), x1 = celula(x + margem);
        const int y0 = celula(y - margem), y1 = celula(y + margem);
        if (!(raio == raioEmCache)) {
            raioEmCache = raio;
            limiarEmCache = limiarQuadrado(raio);
        }
        const float limiar = limiarEmCache;
        for (int cy = y0; cy <= y1; ++cy) {
            const uint32_t fim = inicio[cy * lado + x1 + 1];
            for (uint32_t k = inicio[cy * lado + x0]; k != fim; ++k) {
                // The coordinates sit beside the positions, so most items far off
                // are turned away without reading the item itself.
                const float dx = x - xs[k], dy = y - ys[k];
                if (dx * dx + dy * dy <= limiar && aceita(posicoes[k]))
                    saida.push_back(posicoes[k]);
            }
        }
        // One cell is already in list order; the accepted few sort quickly.
        if ((y1 != y0 || x1 != x0) && saida.size() > 1)
            ordenar(saida);
    }

  private:
    // Positions outside the arena (or not numbers) fall into the border cells;
    // queries clamp the same way, so nothing within reach is ever missed.
    int celula(float v) const {
        if (!(v >= 0.0f))
            return 0;
        // The quotient of a value just below 100 can round up to `lado`.
        const float quociente = v / tamanhoCelula;
        return quociente >= static_cast<float>(lado - 1) ? lado - 1 : static_cast<int>(quociente);
    }
    void escolherLado(std::size_t n);
    static float limiarQuadrado(float raio);
    mutable float raioEmCache = -1.0f;
    mutable float limiarEmCache = 0.0f;
    // Cell starts from `celulaDe`, and the cursors of the placing pass.
    void contarCelulas();
    static void ordenar(std::vector<uint32_t>& posicoes);

    int lado = 25;
    float tamanhoCelula = 4.0f;

    std::vector<uint16_t> celulaDe;
    std::vector<uint32_t> inicio;
    std::vector<uint32_t> posicoes;
    std::vector<float> xs, ys; // in cell order, beside `posicoes`
    std::vector<uint32_t> cursor;
};
