#include "cli/TabelaExperimento.h"
#include "sim/EstatisticasPopulacao.h"
#include <algorithm>

namespace keldo::cli {

using namespace keldo::sim;

TabelaExperimento::TabelaExperimento(std::string exp, const std::vector<std::string>& nomes)
    : experimento(std::move(exp)), variados(nomes) {}

std::string TabelaExperimento::abrir(const std::string& destino) {
    std::string erro = arquivo.abrir(destino);
    if (erro.empty())
        arquivo.escrever(cabecalho() + '\n');
    return erro;
}

std::string TabelaExperimento::cabecalho() const {
    std::string c = "experimento;execucao;semente;";
    for (const std::string& nome : variados)
        c += nome + ';';
    return c + EstatisticasPopulacao::cabecalhoCsv();
}

void TabelaExperimento::anexarLinha(std::string& linhas, uint64_t k, uint32_t semente,
                                    const std::vector<std::string>& valores,
                                    const AmostraPopulacao& amostra) const {
    linhas += experimento;
    linhas += ';' + std::to_string(k) + ';' + std::to_string(semente) + ';';
    for (const std::string& v : valores)
        linhas += v + ';';
    EstatisticasPopulacao::anexarLinhaCsv(linhas, amostra);
    linhas += '\n';
}

void TabelaExperimento::entregar(size_t posicao, std::string linhas, bool ok) {
    const std::lock_guard<std::mutex> guarda(trava);
    if (ok)
        esperando.emplace(posicao, std::move(linhas));
    else
        desistidas.push_back(posicao);
    escreverProntas();
}

void TabelaExperimento::escreverProntas() {
    for (;;) {
        if (const auto it = esperando.find(proxima); it != esperando.end()) {
            arquivo.escrever(it->second);
            esperando.erase(it);
        } else if (std::find(desistidas.begin(), desistidas.end(), proxima) == desistidas.end()) {
            return;
        }
        ++proxima;
    }
}

bool TabelaExperimento::concluir() {
    const std::lock_guard<std::mutex> guarda(trava);
    for (const auto& [posicao, linhas] : esperando)
        arquivo.escrever(linhas);
    esperando.clear();
    return arquivo.concluir();
}

} // namespace keldo::cli
