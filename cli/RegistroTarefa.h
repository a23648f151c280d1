#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace keldo::cli {

// The lines a task's table ends with ("#tarefa;I/N;execucoes;M", then one
// "#execucao;K;linhas;N;soma;H" per run it finished, the same ending in
// ";falhou" for a run that did not finish but left rows (the world limit, an error),
// or "#execucao;K;falhou" for one that left none),
// so that --merge can tell a part that lost, gained, reordered or changed
// rows from a whole one. A table of an interrupted experiment ends with a
// "#parcial;..." line, which no merge accepts.
class RegistroTarefa {
  public:
    struct Execucao {
        uint64_t linhas = 0;
        uint64_t soma = 0;
        bool falhou = false;
    };

    static std::string linhaTarefa(uint32_t tarefa, uint32_t tarefas, uint64_t quantas);
    // `linhas` rows whose text hashes (`soma`) to `h`.
    static std::string linhaExecucao(uint64_t k, uint64_t linhas, uint64_t h, bool falhou = false);
    static std::string linhaFalha(uint64_t k);
    static std::string linhaParcial(uint64_t completas, uint64_t quantas);
    // A 64-bit FNV-1a hash of the text.
    static uint64_t soma(const std::string& texto, uint64_t inicio = 0xCBF29CE484222325ull);

    // Takes one "#" line; empty text when taken, else why not (UTF-8).
    std::string ler(const std::string& linha);
    bool temTarefa() const { return quantasTarefa > 0 || tarefasTarefa > 0; }
    bool parcial() const { return ehParcial; }
    // The runs task I/N holds: k = I (N when I is 0), then every N-th.
    uint64_t primeira() const { return tarefa == 0 ? tarefasTarefa : tarefa; }
    uint32_t passo() const { return tarefasTarefa; }
    uint64_t quantas() const { return quantasTarefa; }
    const std::map<uint64_t, Execucao>& execucoes() const { return porExecucao; }

  private:
    uint32_t tarefa = 0;
    uint32_t tarefasTarefa = 0;
    uint64_t quantasTarefa = 0;
    bool ehParcial = false;
    std::map<uint64_t, Execucao> porExecucao;
};

} // namespace keldo::cli
