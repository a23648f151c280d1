#include "cli/OpcoesExperimento.h"
#include "cli/OpcoesExecucao.h"
#include <array>
#include <charconv>

namespace keldo::cli {

namespace {
const std::array<const char*, 9> opcoesComValor = {"--replicates", "--vary",   "--jobs",
                                                   "--every",      "--until",  "--table",
                                                   "--task",       "--record", "--resume"};

bool lerNatural(const std::string& texto, uint32_t& valor) {
    const char* fim = texto.data() + texto.size();
    const auto [resto, erro] = std::from_chars(texto.data(), fim, valor, 10);
    return !texto.empty() && erro == std::errc() && resto == fim;
}

std::string lerTarefa(OpcoesExperimento& e, const std::string& v) {
    const size_t barra = v.find('/');
    if (barra == std::string::npos || !lerNatural(v.substr(0, barra), e.tarefa) ||
        !lerNatural(v.substr(barra + 1), e.tarefas) || e.tarefas == 0 || e.tarefa >= e.tarefas)
        return "valor inválido para --task: \"" + v + "\" (esperado I/N com 0 <= I < N)";
    e.tarefaDada = true;
    return {};
}

std::string lerContagem(const std::string& opcao, const std::string& v, uint32_t minimo,
                        uint32_t& valor) {
    if (!lerNatural(v, valor) || valor < minimo)
        return "valor inválido para " + opcao + ": \"" + v + "\" (esperado inteiro de " +
               std::to_string(minimo) + " a 4294967295)";
    return {};
}
} // namespace

bool opcaoDeExperimento(const std::string& opcao) {
    for (const char* o : opcoesComValor)
        if (opcao == o)
            return true;
    return false;
}

std::string lerOpcaoExperimento(OpcoesExperimento& e, const std::string& opcao,
                                const std::string& v) {
    uint32_t n = 0;
    std::string erro;
    if (opcao == "--vary")
        return e.varredura.adicionar(v);
    if (opcao == "--until") {
        CondicaoParada c;
        if (std::string erroCondicao = c.ler(v); !erroCondicao.empty())
            return erroCondicao;
        e.ate.push_back(c);
        return {};
    }
    if (opcao == "--task")
        return lerTarefa(e, v);
    if (opcao == "--table" || opcao == "--record" || opcao == "--resume") {
        if (v.empty())
            return "a opção " + opcao + " precisa de um nome de arquivo";
        (opcao == "--table" ? e.tabela : opcao == "--record" ? e.registro : e.retomar) = v;
    } else if (opcao == "--every") {
        e.porGeracao = v == "geracao";
        e.cada = 0;
        if (!e.porGeracao && !lerNatural(v, e.cada))
            erro = "valor inválido para --every: \"" + v +
                   "\" (esperado geracao ou inteiro de 0 a 4294967295)";
    } else if ((erro = lerContagem(opcao, v, 1, n)).empty()) {
        if (opcao == "--jobs")
            e.jobs = n;
        else
            e.varredura.definirReplicas(n);
    }
    return erro;
}

std::string verificarCombinacao(const OpcoesExecucao& o) {
    if (!o.experimento.ativo) {
        if (o.experimentoMencionado)
            return "opções de experimento sem --experiment";
        return {};
    }
    if (o.arquivoTrace || o.arquivoResumo || o.arquivoSalvar)
        return "--trace, --summary e --save não valem com --experiment (a tabela traz os números)";
    if (o.referencia)
        return "--referencia não vale com --experiment";
    if (o.experimento.tarefaDada && !o.semente)
        return "--task precisa de --seed: as tarefas de um experimento partem da mesma semente";
    return o.experimento.varredura.verificarTotal();
}

} // namespace keldo::cli
