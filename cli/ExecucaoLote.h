#pragma once
#include "cli/OpcoesExecucao.h"
#include <ostream>

namespace keldo::cli {

namespace codigoSaida {
constexpr int sucesso = 0;
constexpr int erroArquivo = 1;
constexpr int erroUso = 2;
} // namespace codigoSaida

// Runs one batch: loads or creates the world, runs the cycles with their
// trace, prints the status line and saves the project. Everything that can be
// refused is checked before the first cycle, so a refused run writes nothing.
// Returns the exit status.
int executarLote(const OpcoesExecucao& opcoes, std::ostream& saida, std::ostream& erro);

} // namespace keldo::cli
