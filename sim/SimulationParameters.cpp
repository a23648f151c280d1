#include "sim/SimulationParameters.h"

std::string SimulationParameters::valorInutilizavel() const {
    if (intervaloAnimacao < 1)
        return "intervaloAnimacao deve ser pelo menos 1";
    if (salvarCiclos < 1)
        return "salvarCiclos deve ser pelo menos 1";
    if (numIndividuos < 1 || numIndividuos > 1000)
        return "numIndividuos deve estar entre 1 e 1000";
    if (qtdAlimento < 0 || qtdAlimento > 2000)
        return "qtdAlimento deve estar entre 0 e 2000";
    return {};
}
