#pragma once
#include "cli/CondicaoParada.h"
#include "cli/Varredura.h"
#include <cstdint>
#include <string>
#include <vector>

namespace keldo::cli {

struct OpcoesExecucao;

// What --experiment adds to a keldo-run command line.
struct OpcoesExperimento {
    // More threads than this only cost memory: no machine runs them at once.
    static constexpr unsigned maximoDeTrabalhos = 256;

    bool ativo = false;
    Varredura varredura;
    unsigned jobs = 0;               // 0: the processors the process may use
    uint32_t cada = 0;               // --every K; 0: the last cycle only
    bool porGeracao = false;         // --every geracao: the first cycle of each new generation
    std::vector<CondicaoParada> ate; // --until, in the order given

    std::string tabela = "-";
    std::string registro; // --record; empty: the table's name and ".json"
    std::string retomar;  // --resume: the earlier table whose runs are kept
    uint32_t tarefa = 0;
    uint32_t tarefas = 1;
    bool tarefaDada = false;
};

// Whether `opcao` is one of the experiment's options that take a value.
bool opcaoDeExperimento(const std::string& opcao);
// Reads one such option; empty text when taken, else the usage error (UTF-8).
std::string lerOpcaoExperimento(OpcoesExperimento& e, const std::string& opcao,
                                const std::string& valor);
// The options that do not go together; empty text when they all do.
std::string verificarCombinacao(const OpcoesExecucao& o);

} // namespace keldo::cli
