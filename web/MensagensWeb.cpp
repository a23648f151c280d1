#include "web/MensagensWeb.h"
#include "io/GravacaoSegura.h"
#include "sim/ArquivoProjeto.h"

namespace keldo::web {

using namespace keldo::io;
using namespace keldo::sim;

namespace MensagensWeb {

std::string valorInvalido(const std::string& nome) {
    return "valor inv\xC3\xA1lido para " + nome;
}

std::string valorRecusado(const std::string& motivo) {
    return "valor recusado: " + motivo;
}

std::string falhaAbrir(const ResultadoArquivo& r, const std::string& nomeArquivo) {
    const std::string abrir = "Failed to open document.\n";
    switch (r.falha) {
    case FalhaArquivo::abrir:
        return abrir + nomeArquivo + ": " + GravacaoSegura::descricao(r.erroSistema) + ".";
    case FalhaArquivo::fimDoArquivo:
        return abrir + "An attempt was made to access " + nomeArquivo + " past its end.";
    case FalhaArquivo::objetoInesperado:
        return abrir + nomeArquivo + " contained an unexpected object.";
    case FalhaArquivo::esquema:
        return abrir + nomeArquivo + " contains an incorrect schema.";
    case FalhaArquivo::formato:
        return abrir + nomeArquivo + ": Unexpected file format.";
    case FalhaArquivo::salvar:
    case FalhaArquivo::versao:
    case FalhaArquivo::parametro:
    case FalhaArquivo::nenhuma:
        break;
    }
    return r.mensagem;
}

} // namespace MensagensWeb

} // namespace keldo::web
