#include "sim/SimulationParameters.h"

namespace {
// Twenty times the dialog's highest rate: a hundred new items per item eaten.
constexpr int32_t taxaReposicaoMaxima = 10000;
} // namespace

std::string SimulationParameters::valorInutilizavel() const {
    if (intervaloAnimacao < 1)
        return "intervaloAnimacao deve ser pelo menos 1";
    if (salvarCiclos < 1)
        return "salvarCiclos deve ser pelo menos 1";
    if (numIndividuos < 1 || numIndividuos > 1000)
        return "numIndividuos deve estar entre 1 e 1000";
    if (qtdAlimento < 0 || qtdAlimento > 2000)
        return "qtdAlimento deve estar entre 0 e 2000";
    // Each item eaten brings taxaReposicao / 100 new ones within the same
    // cycle: a huge rate would fill the memory in one cycle.
    if (taxaReposicao > taxaReposicaoMaxima)
        return "taxaReposicao deve ser no m\xC3\xA1ximo " + std::to_string(taxaReposicaoMaxima);
    return {};
}
