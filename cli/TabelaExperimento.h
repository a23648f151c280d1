#pragma once
#include "cli/ArquivoTabela.h"
#include "cli/LinhasExecucao.h"
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
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
// that finishes early waits (its rows in `LinhasExecucao`) for those before
// it, and a run may only start within a window of runs from the first one
// not yet written, so that the runs waiting stay few. The first write that
// fails stops the table: nothing more is written, and the runs should stop.
class TabelaExperimento {
  public:
    // `nomesVariados`: the varied parameters' columns, between the seed and the summary's.
    TabelaExperimento(std::string experimento, const std::vector<std::string>& nomesVariados);

    // Opens the destination and writes the header: empty text, else why not (UTF-8).
    std::string abrir(const std::string& destino);
    // The first line: experimento;execucao;semente; the varied names; the
    // summary's columns; each allele's count (n_V1...n_C); parada.
    std::string cabecalho() const;
    // The start of every row of run k: the fingerprint and k, each with its ';'.
    std::string prefixo(uint64_t k) const { return experimento + ';' + std::to_string(k) + ';'; }
    // Appends one row of run k to `linhas`; `parada`: why the run ended on
    // this row, empty on every row but its last.
    void anexarLinha(LinhasExecucao& linhas, uint64_t k, uint32_t semente,
                     const std::vector<std::string>& valores, const AmostraPopulacao& amostra,
                     const std::string& parada) const;

    // Ends the table with a task's record (RegistroTarefa), for --merge.
    void registrarTarefa(uint32_t tarefa, uint32_t tarefas, uint64_t quantas);

    // Runs at most `n` (1..) positions past the first one not yet written may start.
    void definirJanela(size_t n) { janela = n; }
    // Waits until the run at `posicao` may start; false when the table
    // stopped or `parar` said so meanwhile. Thread-safe.
    template <class Parar> bool aguardarVez(size_t posicao, Parar&& parar) {
        std::unique_lock<std::mutex> guarda(trava);
        while (posicao >= proxima + janela) {
            if (parou() || parar())
                return false;
            // Woken by each run written; a signal only sets a flag, so look again now and then.
            vez.wait_for(guarda, std::chrono::milliseconds(100));
        }
        return !parou();
    }
    // Run k, at `posicao` (0.. in the order of this table's runs), is over;
    // k 0: it was stopped, and leaves no rows; `naoTerminou`: it failed,
    // and its rows (if any) are written with the failure in the record.
    // Thread-safe.
    void entregar(size_t posicao, uint64_t k, LinhasExecucao linhas, bool naoTerminou);
    // True once a write failed: the experiment has to stop.
    bool parou() const { return falhou.load(std::memory_order_relaxed); }
    // Writes the runs still waiting (after a stop, the whole ones past a gap)
    // and puts the file in place. False when a write failed.
    bool concluir();
    // After an interruption: the whole runs go, marked partial, to a new file
    // beside the table (whose earlier content stays). That file's name, or
    // empty when it failed.
    std::string concluirParcial(uint64_t quantas);
    // Why the table failed (UTF-8), or empty.
    std::string razao() const;

  private:
    std::string experimento;
    std::vector<std::string> variados;
    ArquivoTabela arquivo;
    std::mutex trava;
    std::condition_variable vez;
    size_t janela = SIZE_MAX;
    size_t proxima = 0; // the first run not yet written or given up
    struct Pronta {
        uint64_t k;
        LinhasExecucao linhas;
        bool falhou;
    };
    std::map<size_t, Pronta> esperando;
    std::map<size_t, uint64_t> desistidas; // runs without rows; stopped ones have no k
    bool comRegistro = false;
    std::string registro;
    uint64_t completas = 0;
    std::atomic<bool> falhou{false};
    std::string motivoLeitura; // rows kept in a file that did not read back

    void escreverProntas();
    void escreverEsperando();
    void escreverExecucao(Pronta& pronta);
};

} // namespace keldo::cli
