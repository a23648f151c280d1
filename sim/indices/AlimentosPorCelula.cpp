#include "sim/indices/AlimentosPorCelula.h"

namespace keldo::indices {

void AlimentosPorCelula::construir(const std::vector<FoodX>& alimentos) {
    if (tabela.empty() || ++marca == 0) {
        // First build, or the stamps wrapped: no entry may look current.
        tabela.assign(static_cast<std::size_t>(lado * lado), Entrada{0, 0});
        marca = 1;
    }
    for (std::size_t k = 0; k < alimentos.size(); ++k) {
        const float fx = alimentos[k].x, fy = alimentos[k].y;
        if (!(fx >= 0.0f && fx < lado && fy >= 0.0f && fy < lado))
            continue;
        const int cx = static_cast<int>(fx), cy = static_cast<int>(fy);
        if (static_cast<float>(cx) != fx || static_cast<float>(cy) != fy)
            continue; // only an item exactly on a whole cell is ever matched
        Entrada& e = tabela[static_cast<std::size_t>(cy * lado + cx)];
        if (e.marca != marca)
            e = {marca, static_cast<uint32_t>(k)};
    }
}

const FoodX* AlimentosPorCelula::procurar(const std::vector<FoodX>& alimentos, int16_t x,
                                          int16_t y) {
    for (const FoodX& f : alimentos)
        if (f.x == x && f.y == y)
            return &f;
    return nullptr;
}

} // namespace keldo::indices
