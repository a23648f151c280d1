#include "cli/ArquivoTabela.h"
#include <cerrno>
#include <cstdio>

namespace keldo::cli {

std::string ArquivoTabela::abrir(const std::string& nome) {
    destino = nome;
    if (destino == "-")
        return {};
    arquivo = std::make_unique<GravacaoSegura>(destino);
    if (!arquivo->aberta())
        return "não foi possível criar a tabela em " + destino + razao();
    return {};
}

bool ArquivoTabela::escrever(const char* dados, size_t n) {
    if (falhou)
        return false;
    errno = 0;
    falhou = !(arquivo ? arquivo->escrever(dados, n) : std::fwrite(dados, 1, n, stdout) == n);
    if (falhou && !arquivo)
        erroSaida = errno ? errno : EIO;
    return !falhou;
}

bool ArquivoTabela::descarregar() {
    if (!falhou && !arquivo && std::fflush(stdout) != 0) {
        falhou = true;
        erroSaida = errno ? errno : EIO;
    }
    return !falhou;
}

bool ArquivoTabela::concluir() {
    if (!arquivo)
        return descarregar();
    if (!falhou)
        falhou = !arquivo->concluir();
    return !falhou;
}

std::string ArquivoTabela::concluirParcial() {
    if (!arquivo)
        return concluir() ? "-" : std::string();
    if (falhou)
        return {};
    if (arquivo->direta()) // a device takes the rows as they come
        return concluir() ? destino : std::string();
    for (int n = 1; n <= 1000; ++n) {
        const std::string nome = nomeParcial(destino, n);
        const int e = arquivo->concluirComo(nome);
        if (e == 0)
            return nome;
        if (e != EEXIST)
            break;
    }
    falhou = true;
    return {};
}

std::string ArquivoTabela::nomeParcial(const std::string& destino, int n) {
    const size_t barra = destino.rfind('/');
    const size_t inicioNome = barra == std::string::npos ? 0 : barra + 1;
    size_t ponto = destino.rfind('.');
    if (ponto == std::string::npos || ponto <= inicioNome)
        ponto = destino.size();
    std::string nome = destino.substr(0, ponto) + ".parcial";
    if (n > 1) {
        nome += '-';
        nome += std::to_string(n);
    }
    return nome + destino.substr(ponto);
}

std::string ArquivoTabela::razao() const {
    if (!arquivo)
        return erroSaida ? ": " + GravacaoSegura::descricao(erroSaida) : std::string();
    std::string r = arquivo && arquivo->erro() ? ": " + GravacaoSegura::descricao(arquivo->erro())
                                               : std::string();
    if (arquivo && !arquivo->mantido().empty())
        r += "; as linhas ficaram em " + arquivo->mantido();
    return r;
}

} // namespace keldo::cli
