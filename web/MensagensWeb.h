#pragma once
#include <string>

namespace keldo::sim {
struct ResultadoArquivo;
} // namespace keldo::sim

namespace keldo::web {

using keldo::sim::ResultadoArquivo;

// The page's words for what the core refuses: keldo-run's for parameters set
// by name, the desktop programs' for a file that cannot be opened (there the
// file is named as the user chose it: a page has no paths).
namespace MensagensWeb {

std::string valorInvalido(const std::string& nome);
std::string valorRecusado(const std::string& motivo);
std::string falhaAbrir(const ResultadoArquivo& r, const std::string& nomeArquivo);

} // namespace MensagensWeb

} // namespace keldo::web
