#pragma once
#include "sim/SimulationParameters.h"
#include <string>
#include <string_view>
#include <vector>

namespace keldo::sim {

// Sets one field of the parameter record from text, by the field's own name
// ("numIndividuos", "taxaPermuta3", "morte_mm", ...), for batch runs and
// scripts. Numbers must be plain decimal integers in the range of the field's
// type, or in the narrower range the model holds the field in (the rows of
// `tabelaDeParametros()` marked `recusadoAoLer`); texts are UTF-8 and are stored in Windows-1252.
// Ranges of the parameters dialog are not enforced here: after setting, ask
// `valorInutilizavel()` whether the record can still make and run a world.
enum class ResultadoDefinicao { ok, nomeDesconhecido, valorInvalido };

ResultadoDefinicao definirParametroPorNome(SimulationParameters& parametros, std::string_view nome,
                                           std::string_view valor);

// Every name `definirParametroPorNome` accepts, in the record's order.
std::vector<std::string> nomesDeParametros();

// What a field takes, for messages (UTF-8); empty for an unknown name.
std::string valorEsperadoPor(std::string_view nome);

// The field's value as --set would take it (UTF-8); empty for an unknown name.
std::string valorPorNome(const SimulationParameters& parametros, std::string_view nome);

} // namespace keldo::sim
