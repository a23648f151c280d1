#include "sim/SimulationParameters.h"

namespace {
// Twenty times the dialog's highest rate: a hundred new items per item eaten.
constexpr int32_t taxaReposicaoMaxima = 10000;

using P = SimulationParameters;
constexpr FaixaParametro faixas[] = {
    {"morte_mm", &P::morte_mm, 0, limiarMaximo}, {"morte_Mm", &P::morte_Mm, 0, limiarMaximo},
    {"morte_MM", &P::morte_MM, 0, limiarMaximo}, {"repro_rr", &P::repro_rr, 0, limiarMaximo},
    {"repro_Rr", &P::repro_Rr, 0, limiarMaximo}, {"repro_RR", &P::repro_RR, 0, limiarMaximo},
};
} // namespace

std::span<const FaixaParametro> faixasDeParametros() {
    return faixas;
}

const FaixaParametro* faixaDoParametro(std::string_view nome) {
    for (const FaixaParametro& f : faixas)
        if (f.nome == nome)
            return &f;
    return nullptr;
}

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
    // Food energy is drawn from energiaMin up: reversed, it would fall outside the range.
    if (energiaMin > energiaMax)
        return "energiaMin (" + std::to_string(energiaMin) + ") maior que energiaMax (" +
               std::to_string(energiaMax) + ")";
    for (const FaixaParametro& f : faixas)
        if (this->*f.campo < f.minimo || this->*f.campo > f.maximo)
            return std::string(f.nome) + " deve estar entre " + std::to_string(f.minimo) + " e " +
                   std::to_string(f.maximo);
    return {};
}
