#include "web/MensagensWeb.h"
#include "sim/TextoFalhaArquivo.h"

namespace keldo::web {

using namespace keldo::sim;

namespace MensagensWeb {

std::string valorInvalido(const std::string& nome) {
    return "valor inv\xC3\xA1lido para " + nome;
}

std::string valorRecusado(const std::string& motivo) {
    return "valor recusado: " + motivo;
}

std::string falhaAbrir(const ResultadoArquivo& r, const std::string& nomeArquivo) {
    return textoFalhaArquivo(r, nomeArquivo);
}

} // namespace MensagensWeb

} // namespace keldo::web
