#pragma once
#include "sim/ArquivoProjeto.h"
#include <string>

namespace keldo::sim {

// What the desktop programs and the web page say when a project cannot be
// opened or saved: the framework's standard English messages, naming the
// file (`nome`, as the program shows it) and, for a failure of the system,
// its reason. The programs' own checks (the version, a parameter out of
// range) keep their own Portuguese texts, `ResultadoArquivo::mensagem`.
std::string textoFalhaArquivo(const ResultadoArquivo& r, const std::string& nome);

} // namespace keldo::sim
