#include "cli/TabelaExperimento.h"
#include "cli/RegistroTarefa.h"
#include "io/GravacaoSegura.h"
#include "sim/EstatisticasPopulacao.h"
#include <algorithm>

namespace keldo::cli {

using namespace keldo::sim;

TabelaExperimento::TabelaExperimento(std::string exp, const std::vector<std::string>& nomes)
    : experimento(std::move(exp)), variados(nomes) {}

std::string TabelaExperimento::abrir(const std::string& destino) {
    if (std::string erro = arquivo.abrir(destino); !erro.empty())
        return erro;
    // A destination that takes nothing (a full device) is found before any run.
    if (!arquivo.escrever(cabecalho() + '\n') || !arquivo.descarregar())
        return "não foi possível escrever a tabela em " + destino + arquivo.razao();
    return {};
}

std::string TabelaExperimento::cabecalho() const {
    std::string c = "experimento;execucao;semente;";
    for (const std::string& nome : variados)
        c += nome + ';';
    c += EstatisticasPopulacao::cabecalhoCsv();
    for (const char* nome : AleloResumo::nomes)
        (c += ";n_") += nome;
    return c + ";parada";
}

void TabelaExperimento::anexarLinha(LinhasExecucao& linhas, uint64_t k, uint32_t semente,
                                    const std::vector<std::string>& valores,
                                    const AmostraPopulacao& amostra,
                                    const std::string& parada) const {
    std::string linha = prefixo(k) + std::to_string(semente) + ';';
    for (const std::string& v : valores)
        linha += v + ';';
    EstatisticasPopulacao::anexarLinhaCsv(linha, amostra);
    // The counts behind the frequencies: loss and fixation exact at any size.
    for (uint32_t n : amostra.contagem)
        (linha += ';') += std::to_string(n);
    ((linha += ';') += parada) += '\n';
    linhas.anexar(linha);
}

void TabelaExperimento::registrarTarefa(uint32_t tarefa, uint32_t tarefas, uint64_t quantas) {
    comRegistro = true;
    registro = RegistroTarefa::linhaTarefa(tarefa, tarefas, quantas);
}

void TabelaExperimento::entregar(size_t posicao, uint64_t k, LinhasExecucao linhas,
                                 bool naoTerminou) {
    {
        const std::lock_guard<std::mutex> guarda(trava);
        if (k != 0 && linhas.linhas() > 0)
            esperando.emplace(posicao, Pronta{k, std::move(linhas), naoTerminou});
        else
            desistidas.emplace(posicao, k);
        escreverProntas();
    }
    vez.notify_all();
}

void TabelaExperimento::escreverProntas() {
    while (!parou()) {
        if (const auto it = esperando.find(proxima); it != esperando.end()) {
            escreverExecucao(it->second);
            esperando.erase(it);
        } else if (const auto f = desistidas.find(proxima); f != desistidas.end()) {
            if (comRegistro && f->second != 0)
                registro += RegistroTarefa::linhaFalha(f->second);
            desistidas.erase(f);
        } else {
            return;
        }
        ++proxima;
    }
}

void TabelaExperimento::escreverExecucao(Pronta& pronta) {
    const uint64_t k = pronta.k;
    LinhasExecucao& linhas = pronta.linhas;
    const bool escrita = linhas.entregar([&](const char* dados, size_t n) {
        return arquivo.escrever(dados, n);
    }) && arquivo.descarregar();
    if (!escrita) {
        if (linhas.erroLeitura())
            motivoLeitura = "as linhas da execução " + std::to_string(k) +
                            " guardadas num arquivo temporário não puderam ser lidas: " +
                            keldo::io::GravacaoSegura::descricao(linhas.erroLeitura());
        falhou = true;
        return;
    }
    completas += pronta.falhou ? 0 : 1;
    if (comRegistro)
        registro += RegistroTarefa::linhaExecucao(k, linhas.linhas(), linhas.soma(), pronta.falhou);
}

void TabelaExperimento::escreverEsperando() {
    for (auto& [posicao, pronta] : esperando)
        if (!parou())
            escreverExecucao(pronta);
    esperando.clear();
    if (comRegistro && !parou())
        arquivo.escrever(registro);
}

bool TabelaExperimento::concluir() {
    const std::lock_guard<std::mutex> guarda(trava);
    escreverEsperando();
    return !parou() && arquivo.concluir();
}

std::string TabelaExperimento::concluirParcial(uint64_t quantas) {
    const std::lock_guard<std::mutex> guarda(trava);
    escreverEsperando();
    if (parou())
        return {};
    arquivo.escrever(RegistroTarefa::linhaParcial(completas, quantas));
    return arquivo.concluirParcial();
}

std::string TabelaExperimento::razao() const {
    return motivoLeitura.empty() ? arquivo.razao() : ": " + motivoLeitura;
}

} // namespace keldo::cli
