#pragma once
#include "model/FoodX.h"
#include <cstddef>
#include <cstdint>
#include <vector>

namespace keldo::indices {

using keldo::model::FoodX;

// The first food item of a list lying exactly on each whole cell of the arena,
// so that a searcher finds its remembered target without a scan. Valid until
// the list changes; each build clears only the cells the last one filled.
class AlimentosPorCelula {
  public:
    void construir(const std::vector<FoodX>& alimentos);
    // The first item of `alimentos` (the list last built from) at exactly (x, y), or null.
    const FoodX* em(const std::vector<FoodX>& alimentos, int16_t x, int16_t y) const {
        // Negative coordinates turn into large unsigned ones, beyond the table.
        const unsigned ux = static_cast<uint16_t>(x), uy = static_cast<uint16_t>(y);
        if (ux < lado && uy < lado && !tabela.empty()) {
            const unsigned e = tabela[uy * lado + ux];
            if (e - 1u < alemDaTabela - 1u) // neither vazia nor alemDaTabela
                return &alimentos[e - 1u];
            if (e == vazia)
                return nullptr;
        }
        return procurar(alimentos, x, y);
    }

  private:
    // Off the table's cells (food read from a file may lie anywhere), or first
    // items beyond what an entry holds: a scan.
    static const FoodX* procurar(const std::vector<FoodX>& alimentos, int16_t x, int16_t y);
    static constexpr int lado = 101; // cells 0..100: the arena and its far edge
    static constexpr uint16_t vazia = 0;
    static constexpr uint16_t alemDaTabela = 0xFFFF;
    std::vector<uint16_t> tabela; // per cell: its first item's place + 1, vazia or alemDaTabela
    std::vector<uint16_t> cheias; // the cells the last build filled, `numCheias` of them
    std::size_t numCheias = 0;
};

} // namespace keldo::indices
