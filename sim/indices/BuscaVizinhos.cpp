#include "sim/indices/BuscaVizinhos.h"
#include "sim/indices/BuscaIndexada.h"
#include "sim/indices/BuscaPorVarredura.h"

namespace keldo::indices {

std::unique_ptr<BuscaVizinhos>
BuscaVizinhos::criar(bool porVarredura, const ObstaculosNivel& obstaculos, const Rect& arena) {
    if (porVarredura)
        return std::make_unique<BuscaPorVarredura>(obstaculos, arena);
    return std::make_unique<BuscaIndexada>();
}

const std::vector<uint32_t>& BuscaVizinhos::varrerMachos(const std::vector<SpecX>& vivos,
                                                         const SpecX& femea,
                                                         std::vector<uint32_t>& saida) {
    saida.clear();
    for (uint32_t k = 0; k < vivos.size(); ++k)
        if (alcancaMacho(femea, vivos[k]))
            saida.push_back(k);
    return saida;
}

const std::vector<uint32_t>& BuscaVizinhos::varrerComensais(const std::vector<SpecX>& vivos,
                                                            const FoodX& alimento,
                                                            std::vector<uint32_t>& saida) {
    saida.clear();
    for (uint32_t k = 0; k < vivos.size(); ++k)
        if (podeComer(vivos[k], alimento))
            saida.push_back(k);
    return saida;
}

} // namespace keldo::indices
