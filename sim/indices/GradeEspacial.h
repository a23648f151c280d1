#pragma once
#include "io/Bits.h"
#include "sim/indices/ListaRascunho.h"
#include "sim/indices/RegrasVizinhanca.h"
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace keldo::indices {

using keldo::io::converterBits;

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
// order see exactly what a scan of the whole list would give them. The items
// lie side by side by cell, row after row and in list order within a cell,
// with their coordinates: the cells of one row a query reaches are one span
// it reads straight through. A build sorts the items it admits by cell in two
// passes, so its cost follows the list and the cells, which follow the list.
class GradeEspacial {
  public:
    // Buckets the positions of the items of `itens` (anything with float x, y)
    // that `admite` takes. The cells get finer as the list grows, from 4 x 4
    // up to 100 x 100 over 0..99.
    template <class T, class Admite> void construir(const std::vector<T>& itens, Admite&& admite) {
        construirCom(itens, itens.size(), [&](auto&& inserir) {
            for (std::size_t i = 0; i < itens.size(); ++i)
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
            for (std::size_t k = 0; k < posicoes.size(); ++k)
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
        const Ponto* const todos = pontos.data();
        const uint32_t* const comecos = inicio.data();
        for (int cy = y0; cy <= y1; ++cy) {
            const uint32_t de = comecos[cy * lado + x0], ate = comecos[cy * lado + x1 + 1];
            for (uint32_t k = de; k < ate; ++k) {
                const Ponto& p = todos[k];
                if (Regras::quadradoNoAlcance(Regras::quadradoDaDistancia(x, y, p.x, p.y),
                                              limiar) &&
                    aceita(p.pos))
                    saida.push_back(p.pos);
            }
        }
        // Each cell is in list order; the few found are mostly ascending already.
        if (saida.size() > 1 && !std::is_sorted(saida.begin(), saida.end()))
            ordenar(saida.data(), saida.size());
    }

  private:
    struct Ponto {
        float x, y;
        uint32_t pos;
    };
    // Sizes the cells for `escolhidos` items and sorts by cell the items
    // `percorrer` inserts, in list order: one pass counts them per cell, a
    // second places them, so no scratch list is kept beside the grid.
    template <class T, class Percorrer>
    void construirCom(const std::vector<T>& itens, std::size_t escolhidos, Percorrer&& percorrer) {
        escolherLado(escolhidos);
        prepararOrdem(itens.size());
        const auto celulas = static_cast<std::size_t>(lado * lado);
        inicio.assign(celulas + 1, 0);
        // Locals, as the stores below could otherwise alias the members and reload them each time.
        const int ladoAgora = lado;
        const float escala = celulasPorUnidade;
        const T* const lista = itens.data();
        auto celulaDoItem = [&](std::size_t i) {
            return static_cast<std::size_t>(celulaEm(lista[i].y, ladoAgora, escala) * ladoAgora +
                                            celulaEm(lista[i].x, ladoAgora, escala));
        };
        uint32_t* const contagem = inicio.data() + 1;
        std::size_t n = 0;
        percorrer([&](std::size_t i) {
            ++contagem[celulaDoItem(i)];
            ++n;
        });
        // Each cell's items go in list order from its start on; the starts
        // move to the ends and are taken back by one cell afterwards.
        acumular();
        redimensionarRascunho(pontos, n);
        Ponto* const destino = pontos.data();
        uint32_t* const comecos = inicio.data();
        percorrer([&](std::size_t i) {
            destino[comecos[celulaDoItem(i)]++] = {lista[i].x, lista[i].y,
                                                   static_cast<uint32_t>(i)};
        });
        recuar();
    }
    // From the counts per cell to where each cell starts; and from where each cell ends.
    void acumular();
    void recuar();
    // Positions outside the arena (or not numbers) fall into the border cells;
    // queries clamp the same way, so nothing within reach is ever missed.
    int celula(float v) const { return celulaEm(v, lado, celulasPorUnidade); }
    static int celulaEm(float v, int lado, float celulasPorUnidade) {
        // Monotone like the coordinate; a value just below 100 can round up to `lado`.
        const float quociente = v * celulasPorUnidade;
        // The bits of a float in [0, lado) are below those of `lado`; negative
        // values, -0 and non-numbers are not, and go the long way.
        if (converterBits<uint32_t>(quociente) < converterBits<uint32_t>(static_cast<float>(lado)))
            return static_cast<int>(quociente);
        return quociente >= static_cast<float>(lado - 1) ? lado - 1 : 0;
    }
    void escolherLado(std::size_t n);
    static float limiarQuadrado(float raio);
    mutable float raioEmCache = -1.0f;
    mutable float limiarEmCache = 0.0f;
    // Puts `n` distinct positions of the list in ascending order; many through
    // one bit per position (a crowded grid's answers interleave the ranks of a
    // dozen cells), leaving the bits clear. `prepararOrdem` makes room for a
    // list of `itens`.
    void ordenar(uint32_t* posicoes, std::size_t n) const;
    void prepararOrdem(std::size_t itens);

    static constexpr int ladoMaximo = 100;
    int lado = 4;
    float celulasPorUnidade = 0.04f;

    // Where each cell starts in `pontos`, row by row, plus the end (one empty cell before a build).
    std::vector<uint32_t> inicio = std::vector<uint32_t>(static_cast<std::size_t>(lado * lado) + 1);
    std::vector<Ponto> pontos; // the items admitted, by cell
    // One bit per position of the list, and one per word of those bits set:
    // a sort reads the words set only, at a cost of one word per 4,096 positions.
    mutable std::vector<uint64_t> bitsOrdem;
    mutable std::vector<uint64_t> resumoOrdem;
};

} // namespace keldo::indices
