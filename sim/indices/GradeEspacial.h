#pragma once
#include "sim/indices/ListaRascunho.h"
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace keldo::indices {

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
// order see exactly what a scan of the whole list would give them. Each cell
// holds a chain of its items in list order; a build touches only the cells of
// its items (and clears only those of the previous build), so its cost follows
// the list, never the number of cells.
class GradeEspacial {
  public:
    // Buckets the positions of the items of `itens` (anything with float x, y)
    // that `admite` takes. The cells get finer as the list grows, from 4 x 4
    // up to 100 x 100 over 0..99.
    template <class T, class Admite> void construir(const std::vector<T>& itens, Admite&& admite) {
        construirCom(itens, itens.size(), [&](auto&& inserir) {
            for (std::size_t i = itens.size(); i-- > 0;)
                if (admite(itens[i]))
                    inserir(i);
        });
    }
    template <class T> void construir(const std::vector<T>& itens) {
        construir(itens, [](const T&) { return true; });
    }
    // The same for the items at `posicoes` (ascending) only; the cells follow
    // their number, so a few items get wide cells and a query looks at few of them.
    template <class T, class Posicoes>
    void construirEm(const std::vector<T>& itens, const Posicoes& posicoes) {
        construirCom(itens, posicoes.size(), [&](auto&& inserir) {
            for (std::size_t k = posicoes.size(); k-- > 0;)
                inserir(static_cast<std::size_t>(posicoes[k]));
        });
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
        for (int cy = y0; cy <= y1; ++cy)
            for (int cx = x0; cx <= x1; ++cx)
                for (int32_t k = cabeca[cy * lado + cx]; k >= 0; k = seguinte[k]) {
                    // The coordinates sit beside the chain, so most items far off
                    // are turned away without reading the item itself.
                    const float dx = x - xs[k], dy = y - ys[k];
                    if (dx * dx + dy * dy <= limiar && aceita(static_cast<uint32_t>(k)))
                        saida.push_back(static_cast<uint32_t>(k));
                }
        // One cell is already in list order; the accepted few sort quickly.
        if ((y1 != y0 || x1 != x0) && saida.size() > 1)
            ordenar(saida);
    }

  private:
    // Empties the cells, sizes them for `admitidos` items and lets `percorrer`
    // insert items, from the last to the first.
    template <class T, class Percorrer>
    void construirCom(const std::vector<T>& itens, std::size_t admitidos, Percorrer&& percorrer) {
        esvaziarCelulas();
        escolherLado(admitidos);
        if (cabeca.size() < static_cast<std::size_t>(lado * lado))
            cabeca.resize(static_cast<std::size_t>(lado * lado), -1);
        redimensionarRascunho(celulaDe, admitidos);
        redimensionarRascunho(seguinte, itens.size());
        redimensionarRascunho(xs, itens.size());
        redimensionarRascunho(ys, itens.size());
        // Backwards, so that each chain comes out in list order. Locals, as the
        // stores below could otherwise alias the members and reload them each time.
        int32_t* const cabecas = cabeca.data();
        int32_t* const seguintes = seguinte.data();
        float* const xis = xs.data();
        float* const ypsilons = ys.data();
        uint16_t* const cheias = celulaDe.data();
        const int ladoAgora = lado;
        const float escala = celulasPorUnidade;
        const T* const lista = itens.data();
        std::size_t n = 0;
        percorrer([&](std::size_t i) {
            const float x = lista[i].x, y = lista[i].y;
            const auto c = static_cast<uint16_t>(celulaEm(y, ladoAgora, escala) * ladoAgora +
                                                 celulaEm(x, ladoAgora, escala));
            cheias[n++] = c;
            xis[i] = x;
            ypsilons[i] = y;
            seguintes[i] = cabecas[c];
            cabecas[c] = static_cast<int32_t>(i);
        });
        celulasCheias = n;
    }
    // Positions outside the arena (or not numbers) fall into the border cells;
    // queries clamp the same way, so nothing within reach is ever missed.
    int celula(float v) const { return celulaEm(v, lado, celulasPorUnidade); }
    static int celulaEm(float v, int lado, float celulasPorUnidade) {
        // Monotone like the coordinate; a value just below 100 can round up to `lado`.
        const float quociente = v * celulasPorUnidade;
        // The bits of a float in [0, lado) are below those of `lado`; negative
        // values, -0 and non-numbers are not, and go the long way.
        if (std::bit_cast<uint32_t>(quociente) < std::bit_cast<uint32_t>(static_cast<float>(lado)))
            return static_cast<int>(quociente);
        return quociente >= static_cast<float>(lado - 1) ? lado - 1 : 0;
    }
    void escolherLado(std::size_t n);
    // Empties the cells the last build filled.
    void esvaziarCelulas();
    static float limiarQuadrado(float raio);
    mutable float raioEmCache = -1.0f;
    mutable float limiarEmCache = 0.0f;
    static void ordenar(std::vector<uint32_t>& posicoes);

    static constexpr int ladoMaximo = 100;
    int lado = 25;
    float celulasPorUnidade = 0.25f;

    std::vector<int32_t> cabeca;    // per cell of the widest grid so far: its first item, or -1
    std::vector<int32_t> seguinte;  // per item: the next item of its cell, or -1
    std::vector<uint16_t> celulaDe; // the cells of the items admitted, `celulasCheias` of them
    std::size_t celulasCheias = 0;
    std::vector<float> xs, ys; // per item
};

} // namespace keldo::indices
