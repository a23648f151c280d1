#include "sim/TextoFalhaArquivo.h"
#include "io/GravacaoSegura.h"
#include "sim/CKeldoDoc.h"

namespace keldo::sim {

using namespace keldo::io;

std::string textoFalhaArquivo(const ResultadoArquivo& r, const std::string& nome) {
    const std::string abrir = "Failed to open document.\n";
    const std::string salvar = "Failed to save document.\n";
    const std::string razao = GravacaoSegura::descricao(r.erroSistema);
    const std::string limite = std::to_string(CKeldoDoc::limiteMundo);
    switch (r.falha) {
    case FalhaArquivo::salvar:
        return salvar + nome + ": " + razao + "." +
               (r.mantido.empty() ? "" : "\nThe document was saved as " + r.mantido + ".");
    case FalhaArquivo::abrir:
        return abrir + nome + ": " + razao + ".";
    case FalhaArquivo::fimDoArquivo:
        return abrir + "An attempt was made to access " + nome + " past its end.";
    case FalhaArquivo::objetoInesperado:
        return abrir + nome + " contained an unexpected object.";
    case FalhaArquivo::esquema:
        return abrir + nome + " contains an incorrect schema.";
    case FalhaArquivo::formato:
        return abrir + nome + ": Unexpected file format.";
    case FalhaArquivo::alemDoLimite:
        return abrir + nome + " holds more than " + limite +
               " individuals and food items, the limit of a world.";
    case FalhaArquivo::salvarAlemDoLimite:
        return salvar + nome + " would hold more than " + limite +
               " individuals and food items, the limit of a world, and could not be opened again.";
    case FalhaArquivo::versao:
    case FalhaArquivo::parametro:
    case FalhaArquivo::nenhuma:
        break;
    }
    return r.mensagem;
}

} // namespace keldo::sim
