// keldo-run: the simulation without a window, for batch and reproducible runs.
#include "cli/ExecucaoLote.h"
#include "cli/OpcoesExecucao.h"
#include <exception>
#include <iostream>
#include <new>

int main(int argc, char** argv) {
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
        return executarLote(analise.opcoes, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "keldo-run: memória insuficiente\n";
    } catch (const std::exception& e) {
        std::cerr << "keldo-run: " << e.what() << '\n';
    }
    return codigoSaida::erroArquivo;
}
