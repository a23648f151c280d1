#include "cli/ArquivoTabela.h"
#include <cstdio>

namespace keldo::cli {

std::string ArquivoTabela::abrir(const std::string& destino) {
    if (destino == "-")
        return {};
    arquivo = std::make_unique<GravacaoSegura>(destino);
    if (!arquivo->aberta())
        return "não foi possível criar a tabela em " + destino + razao();
    return {};
}

bool ArquivoTabela::escrever(const std::string& texto) {
    if (!falhou)
        falhou = !(arquivo ? arquivo->escrever(texto.data(), texto.size())
                           : std::fwrite(texto.data(), 1, texto.size(), stdout) == texto.size());
    return !falhou;
}

bool ArquivoTabela::concluir() {
    if (!falhou)
        falhou = !(arquivo ? arquivo->concluir() : std::fflush(stdout) == 0);
    return !falhou;
}

std::string ArquivoTabela::razao() const {
    return arquivo && arquivo->erro() ? ": " + GravacaoSegura::descricao(arquivo->erro())
                                      : std::string();
}

} // namespace keldo::cli
