#pragma once
#include "cli/ArquivoTabela.h"
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace keldo::sim {
struct AmostraPopulacao;
} // namespace keldo::sim

namespace keldo::cli {

using keldo::sim::AmostraPopulacao;

// The table of an experiment: one header, then the rows of each run, whole
// runs in the order of their numbers whatever order they finish in. A run
// that finishes early waits in memory (its rows only) for those before it.
class TabelaExperimento {
  public:
    // `nomesVariados`: the varied parameters' columns, between the seed and the summary's.
    TabelaExperimento(std::string experimento, const std::vector<std::string>& nomesVariados);

    std::string abrir(const std::string& destino);
    // The first line: experimento;execucao;semente; the varied names; the
    // summary's columns.
    std::string cabecalho() const;
    // Appends one row of run k to `linhas`.
    void anexarLinha(std::string& linhas, uint64_t k, uint32_t semente,
                     const std::vector<std::string>& valores,
                     const AmostraPopulacao& amostra) const;

    // Ends the table with a task's record (RegistroTarefa), for --merge.
    void registrarTarefa(uint32_t tarefa, uint32_t tarefas, uint64_t quantas);

    // Run k, at `posicao` (0.. in the order of this table's runs), is over;
    // `ok` false: it failed (k recorded) or was stopped (k 0), and leaves no
    // rows. Thread-safe.
    void entregar(size_t posicao, uint64_t k, std::string linhas, bool ok);
    // Writes the runs still waiting (after a stop, the whole ones past a gap)
    // and puts the file in place. False when a write failed.
    bool concluir();
    // After an interruption: the whole runs go, marked partial, to a new file
    // beside the table (whose earlier content stays). That file's name, or
    // empty when it failed.
    std::string concluirParcial(uint64_t quantas);
    // Why the file failed (UTF-8), or empty.
    std::string razao() const { return arquivo.razao(); }

  private:
    std::string experimento;
    std::vector<std::string> variados;
    ArquivoTabela arquivo;
    std::mutex trava;
    size_t proxima = 0; // the first run not yet written or given up
    std::map<size_t, std::pair<uint64_t, std::string>> esperando;
    std::map<size_t, uint64_t> desistidas; // failed runs; stopped ones have no k
    bool comRegistro = false;
    std::string registro;
    uint64_t completas = 0;

    void escreverProntas();
    void escreverEsperando();
    void escreverExecucao(uint64_t k, const std::string& linhas);
};

} // namespace keldo::cli
