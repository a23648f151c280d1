#include "cli/TabelaExperimento.h"
#include "cli/RegistroTarefa.h"
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

void TabelaExperimento::registrarTarefa(uint32_t tarefa, uint32_t tarefas, uint64_t quantas) {
    comRegistro = true;
    registro = RegistroTarefa::linhaTarefa(tarefa, tarefas, quantas);
}

void TabelaExperimento::entregar(size_t posicao, uint64_t k, std::string linhas, bool ok) {
    const std::lock_guard<std::mutex> guarda(trava);
    if (ok)
        esperando.emplace(posicao, std::pair{k, std::move(linhas)});
    else
        desistidas.emplace(posicao, k);
    escreverProntas();
}

void TabelaExperimento::escreverProntas() {
    for (;;) {
        if (const auto it = esperando.find(proxima); it != esperando.end()) {
            escreverExecucao(it->second.first, it->second.second);
            esperando.erase(it);
        } else if (const auto f = desistidas.find(proxima); f != desistidas.end()) {
            if (comRegistro && f->second != 0)
                registro += RegistroTarefa::linhaFalha(f->second);
        } else {
            return;
        }
        ++proxima;
    }
}

void TabelaExperimento::escreverExecucao(uint64_t k, const std::string& linhas) {
    arquivo.escrever(linhas);
    ++completas;
    if (comRegistro)
        registro += RegistroTarefa::linhaExecucao(k, linhas);
}

void TabelaExperimento::escreverEsperando() {
    for (const auto& [posicao, run] : esperando)
        escreverExecucao(run.first, run.second);
    esperando.clear();
    if (comRegistro)
        arquivo.escrever(registro);
}

bool TabelaExperimento::concluir() {
    const std::lock_guard<std::mutex> guarda(trava);
    escreverEsperando();
    return arquivo.concluir();
}

std::string TabelaExperimento::concluirParcial(uint64_t quantas) {
    const std::lock_guard<std::mutex> guarda(trava);
    escreverEsperando();
    arquivo.escrever(RegistroTarefa::linhaParcial(completas, quantas));
    return arquivo.concluirParcial();
}

} // namespace keldo::cli
