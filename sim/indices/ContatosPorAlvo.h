#pragma once
#include "io/Bits.h"
#include "sim/indices/RegrasVizinhanca.h"
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace keldo::indices {

using keldo::io::converterBits;

// For each target of a contact phase (a food item, a ready female), the items
// of a list (the individuals) within contact reach of it, in list order.
// Targets are few beside the list: each is put on the cells its reach
// overlaps, so most items cost one cell lookup and only those standing on such
// a cell are judged. One pass over the list, in order, then hands every target
// its items already ascending. Crowded phases are better served by a grid
// over the items asked target by target (`compensa` tells them apart).
class ContatosPorAlvo {
  public:
    // Whether `alvos` targets within `raio` of `itens` items leave most cells
    // free: once their cells cover the grid, every item is judged against a few
    // of them and each pair kept costs memory, where a grid over the items
    // costs one pass and no pairs. A phase the table does not take must
    // `esquecer` the last one.
    bool compensa(std::size_t alvos, std::size_t itens, float raio);
    // Starts a phase of `alvos` targets within `raio` of up to `itens` items.
    void comecar(std::size_t alvos, std::size_t itens, float raio);
    // The next target, at (x, y), or a number that is no target.
    void adicionar(float x, float y);
    void pular() { primeiro[numerados++] = naoAlvo; }

    // Gives each target the items of `itens` that `admite` takes and that
    // `perto(item, alvo)` puts within its reach (no farther than `raio`);
    // `posicao(item, i)` is the place the item stands for.
    template <class Item, class Admite, class Perto, class Posicao>
    void reunir(const std::vector<Item>& itens, Admite&& admite, Perto&& perto, Posicao&& posicao) {
        // Locals, as the stores of `anexar` could otherwise alias the members.
        const int32_t* const cabecas = cabeca.data();
        const Entrada* const elos = entradas.data();
        const int ladoAgora = lado;
        const float escala = celulasPorUnidade, limiar = limiarAgora;
        const uint32_t foraDaGrade = bitsDoLado;
        const Item* const inicio = itens.data();
        const std::size_t total = itens.size();
        // Most items stand on no target's cell: a first pass over a block
        // keeps those that do without a branch (one per item would often be
        // mispredicted), a second judges the few kept, still in list order.
        uint32_t achados[bloco];
        int32_t primeiras[bloco];
        for (std::size_t base = 0; base < total; base += bloco) {
            const std::size_t ate = std::min(total, base + bloco);
            std::size_t m = 0;
            for (std::size_t k = base; k < ate; ++k) {
                const float x = inicio[k].x, y = inicio[k].y;
                const float qx = x * escala, qy = y * escala;
                // `celula`, with the grid's figures held in registers.
                int32_t e;
                if (converterBits<uint32_t>(qx) < foraDaGrade &&
                    converterBits<uint32_t>(qy) < foraDaGrade)
                    e = cabecas[static_cast<int>(qy) * ladoAgora + static_cast<int>(qx)];
                else
                    e = cabecas[celula(y) * ladoAgora + celula(x)];
                achados[m] = static_cast<uint32_t>(k);
                primeiras[m] = e;
                m += static_cast<std::size_t>(e >= 0);
            }
            for (std::size_t j = 0; j < m; ++j) {
                const Item& item = inicio[achados[j]];
                if (!admite(item))
                    continue;
                const float x = item.x, y = item.y;
                for (int32_t e = primeiras[j]; e >= 0; e = elos[e].seguinte) {
                    // The target's coordinates sit in the entry, so most targets
                    // out of reach are turned away without reading the target.
                    if (Regras::quadradoNoAlcance(
                            Regras::quadradoDaDistancia(x, y, elos[e].x, elos[e].y), limiar) &&
                        perto(item, elos[e].alvo))
                        anexar(elos[e].alvo, posicao(item, achados[j]));
                }
            }
        }
    }

    // No number is a target until the next `comecar`.
    void esquecer() { numerados = 0; }
    bool eAlvo(std::size_t alvo) const { return alvo < numerados && primeiro[alvo] != naoAlvo; }

    // The items gathered for `alvo` that `aceita(posicao)` still takes, ascending.
    template <class Aceita>
    void contatos(std::size_t alvo, Aceita&& aceita, std::vector<uint32_t>& saida) const {
        saida.clear();
        for (int32_t p = primeiro[alvo]; p >= 0; p = pares[static_cast<std::size_t>(p)].seguinte)
            if (aceita(pares[static_cast<std::size_t>(p)].item))
                saida.push_back(pares[static_cast<std::size_t>(p)].item);
    }

  private:
    // Positions outside the arena (or not numbers) fall into the border cells;
    // targets are put the same way, so nothing within reach is ever missed.
    int celula(float v) const {
        // Monotone like the coordinate; a value just below 100 can round up to `lado`.
        const float quociente = v * celulasPorUnidade;
        // The bits of a float in [0, lado) are below those of `lado`; negative
        // values, -0 and non-numbers are not, and go the long way.
        if (converterBits<uint32_t>(quociente) < bitsDoLado)
            return static_cast<int>(quociente);
        return v >= 0.0f ? lado - 1 : 0;
    }
    void escolherLado(std::size_t itens);
    void anexar(uint32_t alvo, uint32_t item) {
        const auto p = static_cast<int32_t>(pares.size());
        pares.push_back({item, -1});
        if (primeiro[alvo] < 0)
            primeiro[alvo] = p;
        else
            pares[static_cast<std::size_t>(ultimo[alvo])].seguinte = p;
        ultimo[alvo] = p;
    }

    static constexpr int ladoMinimo = 4, ladoMaximo = 100;
    static constexpr std::size_t bloco = 256; // items per pass of `reunir`
    static constexpr int32_t naoAlvo = -2;
    struct Entrada {
        float x, y;
        uint32_t alvo;
        int32_t seguinte; // the next entry of the same cell, or -1
    };
    struct Par {
        uint32_t item;
        int32_t seguinte; // the target's next pair, or -1
    };
    int lado = 25;
    float celulasPorUnidade = 0.25f;
    uint32_t bitsDoLado = converterBits<uint32_t>(25.0f);
    float raioAgora = 0.0f;
    float margemAgora = 0.0f;
    float limiarAgora = 0.0f;
    std::vector<int32_t> cabeca;   // per cell of the widest grid so far: its first entry, or -1
    std::vector<Entrada> entradas; // a target on a cell, `numEntradas` of them
    std::size_t numEntradas = 0;
    std::vector<uint16_t> cheias; // the cells holding entries, `numCheias` of them
    std::size_t numCheias = 0;
    std::size_t numerados = 0;     // targets (and skipped numbers) so far
    std::vector<int32_t> primeiro; // per target: its first pair, -1 when none, or naoAlvo
    std::vector<int32_t> ultimo;   // per target: its last pair
    std::vector<Par> pares;        // an item within reach of a target
};

} // namespace keldo::indices
