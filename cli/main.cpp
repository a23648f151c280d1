// keldo-run: the simulation without a window, for batch and reproducible runs.
#include "cli/ExecucaoLote.h"
#include "cli/Experimento.h"
#include "cli/MesclaTabelas.h"
#include "cli/OpcoesExecucao.h"
#include "sim/TabelaParametros.h"
#include "sim/Versao.h"
#include <cstdio>
#include <exception>
#include <iostream>
#include <new>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

using namespace keldo::cli;
using namespace keldo::sim;

namespace {
// A result or message that could not be written is a failure, never a success
// (a full disk under standard output, a closed pipe).
int conferirSaidas(int codigo) {
    std::cout.flush();
    if (!std::cout || std::ferror(stdout) || std::fflush(stdout) != 0) {
        std::cerr << "keldo-run: não foi possível escrever na saída padrão\n";
        if (codigo == codigoSaida::sucesso)
            codigo = codigoSaida::erroArquivo;
    }
    std::cerr.flush();
    if ((!std::cerr || std::ferror(stderr)) && codigo == codigoSaida::sucesso)
        codigo = codigoSaida::erroArquivo;
    return codigo;
}

int executar(int argc, char** argv) {
#if defined(__GLIBC__)
    // The lists of a crowded world grow by doubling; blocks this large come
    // straight from the system and go back to it when freed, instead of
    // staying in the heap after the list has moved on.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    try {
        const AnaliseArgumentos analise =
            analisarArgumentos(std::vector<std::string>(argv + 1, argv + argc));
        if (!analise.erro.empty()) {
            std::cerr << "keldo-run: " << analise.erro << " (veja keldo-run --help)\n";
            return codigoSaida::erroUso;
        }
        if (analise.opcoes.ajuda) {
            std::cout << textoAjuda();
            return codigoSaida::sucesso;
        }
        if (analise.opcoes.versao) {
            std::cout << "keldo-run " << versaoKeldo() << '\n';
            return codigoSaida::sucesso;
        }
        if (analise.opcoes.parametros) {
            std::cout << listagemDeParametros();
            return codigoSaida::sucesso;
        }
        if (!analise.opcoes.mescla.empty())
            return mesclarTabelas(analise.opcoes.mescla, std::cerr);
        if (analise.opcoes.experimento.ativo)
            return executarExperimento(analise.opcoes, std::cerr);
        return executarLote(analise.opcoes, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "keldo-run: memória insuficiente\n";
    } catch (const std::exception& e) {
        std::cerr << "keldo-run: " << e.what() << '\n';
    }
    return codigoSaida::erroArquivo;
}
} // namespace

int main(int argc, char** argv) {
    return conferirSaidas(executar(argc, argv));
}
