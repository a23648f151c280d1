#pragma once
#include "model/FoodX.h"
#include <cstddef>
#include <cstdint>
#include <vector>

namespace keldo::indices {

using namespace keldo::model;

// The first food item of a list lying exactly on each whole cell of the arena,
// so that a searcher finds its remembered target without a scan. Valid until
// the list changes; rebuilt in a pass over the list, without clearing: each
// build stamps its entries, and entries of older builds count as empty.
class AlimentosPorCelula {
  public:
    void construir(const std::vector<FoodX>& alimentos);
    // The first item of `alimentos` (the list last built from) at exactly (x, y), or null.
    const FoodX* em(const std::vector<FoodX>& alimentos, int16_t x, int16_t y) const {
        if (x >= 0 && x < lado && y >= 0 && y < lado && !tabela.empty()) {
            const Entrada& e = tabela[static_cast<std::size_t>(y * lado + x)];
            return e.marca == marca ? &alimentos[e.primeiro] : nullptr;
        }
        return procurar(alimentos, x, y);
    }

  private:
    // Off the table's cells (food read from a file may lie anywhere): a scan.
    static const FoodX* procurar(const std::vector<FoodX>& alimentos, int16_t x, int16_t y);
    struct Entrada {
        uint32_t marca;
        uint32_t primeiro;
    };
    static constexpr int lado = 101; // cells 0..100: the arena and its far edge
    std::vector<Entrada> tabela;
    uint32_t marca = 0;
};

} // namespace keldo::indices
