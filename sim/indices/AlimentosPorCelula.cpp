// Invariants of the cell table:
// - an entry holds the first food item (list order) lying on that whole cell;
//   16-bit entries, so places from 65,534 on are found by a scan;
// - a build clears only the cells the last one filled.
#include "sim/indices/AlimentosPorCelula.h"
#include "sim/indices/ListaRascunho.h"
#include <algorithm>

namespace keldo::indices {

void AlimentosPorCelula::construir(const std::vector<FoodX>& alimentos) {
    constexpr auto celulas = static_cast<std::size_t>(lado * lado);
    if (tabela.empty())
        tabela.assign(celulas, vazia);
    for (std::size_t k = 0; k < numCheias; ++k)
        tabela[cheias[k]] = vazia;
    redimensionarRascunho(cheias, std::min(alimentos.size(), celulas));
    // Locals, as the stores could otherwise alias the members.
    uint16_t* const entradas = tabela.data();
    uint16_t* const cheiasAgora = cheias.data();
    std::size_t n = 0;
    for (std::size_t k = 0; k < alimentos.size(); ++k) {
        const float fx = alimentos[k].x, fy = alimentos[k].y;
        if (!(fx >= 0.0f && fx < lado && fy >= 0.0f && fy < lado))
            continue;
        const int cx = static_cast<int>(fx), cy = static_cast<int>(fy);
        if (static_cast<float>(cx) != fx || static_cast<float>(cy) != fy)
            continue; // only an item exactly on a whole cell is ever matched
        const auto c = static_cast<uint16_t>(cy * lado + cx);
        if (entradas[c] != vazia)
            continue;
        entradas[c] = k < alemDaTabela - 1u ? static_cast<uint16_t>(k + 1) : alemDaTabela;
        cheiasAgora[n++] = c;
    }
    numCheias = n;
}

const FoodX* AlimentosPorCelula::procurar(const std::vector<FoodX>& alimentos, int16_t x,
                                          int16_t y) {
    for (const FoodX& f : alimentos)
        if (f.x == x && f.y == y)
            return &f;
    return nullptr;
}

} // namespace keldo::indices
