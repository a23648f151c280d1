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

uint32_t BuscaVizinhos::consultarMachos(const std::vector<SpecX>& vivos, std::size_t femea) {
    machosDaConsulta = &machosPerto(vivos, femea);
    separarLutadores(vivos, *machosDaConsulta);
    return static_cast<uint32_t>(machosDaConsulta->size());
}

void BuscaVizinhos::separarLutadores(const std::vector<SpecX>& vivos,
                                     const std::vector<uint32_t>& machos) {
    lutadores_.clear();
    for (uint32_t k : machos)
        if (vivos[k].lutador == 1)
            lutadores_.push_back(k);
}

const std::vector<uint32_t>& BuscaVizinhos::varrerMachos(const std::vector<SpecX>& vivos,
                                                         const SpecX& femea,
                                                         std::vector<uint32_t>& saida) {
    saida.clear();
    for (uint32_t k = 0; k < vivos.size(); ++k)
        if (Regras::alcancaMacho(femea, vivos[k]))
            saida.push_back(k);
    return saida;
}

const std::vector<uint32_t>& BuscaVizinhos::varrerComensais(const std::vector<SpecX>& vivos,
                                                            const FoodX& alimento,
                                                            std::vector<uint32_t>& saida) {
    saida.clear();
    for (uint32_t k = 0; k < vivos.size(); ++k)
        if (Regras::podeComer(vivos[k], alimento))
            saida.push_back(k);
    return saida;
}

} // namespace keldo::indices
