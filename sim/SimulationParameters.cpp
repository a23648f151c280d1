#include "sim/SimulationParameters.h"
#include "sim/TabelaParametros.h"

namespace keldo::sim {

namespace {
// "X deve estar entre A e B", or only the bound the load range sets.
std::string foraDaCarga(const DescricaoParametro& d) {
    const std::string nome(d.nome);
    if (!d.maximoCarga)
        return nome + " deve ser pelo menos " + std::to_string(*d.minimoCarga);
    if (!d.minimoCarga)
        return nome + " deve ser no m\xC3\xA1ximo " + std::to_string(*d.maximoCarga);
    return nome + " deve estar entre " + std::to_string(*d.minimoCarga) + " e " +
           std::to_string(*d.maximoCarga);
}
} // namespace

std::string SimulationParameters::valorInutilizavel() const {
    for (const DescricaoParametro& d : tabelaDeParametros()) {
        const std::optional<int64_t> valor = d.valorEm(*this);
        if (valor && (*valor < d.menorAceito() || *valor > d.maiorAceito()))
            return foraDaCarga(d);
    }
    // Food energy is drawn from energiaMin up: reversed, it would fall outside the range.
    if (energiaMin > energiaMax)
        return "energiaMin (" + std::to_string(energiaMin) + ") maior que energiaMax (" +
               std::to_string(energiaMax) + ")";
    return {};
}

} // namespace keldo::sim
