#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace keldo::sim {
struct SimulationParameters;
} // namespace keldo::sim

namespace keldo::cli {

// The runs of an experiment: every combination of the --vary lists times the
// replicates, numbered from 1 with the parameters in the order given (the
// first one outermost) and the replicates innermost. The parameters of one
// --vary-together are one axis: they step together, one combination per
// position of their lists.
class Varredura {
  public:
    // A list longer than this is surely a typo, and would only fill the memory.
    static constexpr uint64_t maximoDeValores = 1000000;
    // Runs of one experiment: below 2^32 every run has a seed of its own.
    static constexpr uint64_t maximoDeExecucoes = 4294967295;

    // One --vary NAME=LIST (`v1,v2,...` or `first:step:last`). Empty text when
    // taken, else the usage error (UTF-8).
    std::string adicionar(const std::string& texto) { return adicionarJuntos({texto}); }
    // One --vary-together NAME=LIST...: lists of one length, varied in step.
    std::string adicionarJuntos(const std::vector<std::string>& textos);
    void definirReplicas(uint32_t r) { replicas = r; }
    uint32_t numeroDeReplicas() const { return replicas; }

    // Number of runs; 0 with no replicates; UINT64_MAX when it would not fit.
    uint64_t total() const;
    // The usage error of an experiment of more runs than it may have, or empty.
    std::string verificarTotal() const;
    // The usage error of a listed value that every run would refuse, starting
    // from `base` (the parameters after the project and --set), or empty.
    std::string verificarContra(const keldo::sim::SimulationParameters& base) const;
    // The varied parameters' names, in the order given.
    std::vector<std::string> nomes() const;
    // The replicate of run k (1..total()): 1..R.
    uint32_t replicaDa(uint64_t k) const;
    // The NAME=value settings of run k (1..total()), in the order given.
    std::vector<std::pair<std::string, std::string>> definicoesDa(uint64_t k) const;
    // One line (UTF-8) per value the dialog would not take, as --set warns;
    // a value listed twice warns once.
    std::vector<std::string> avisos() const;
    // Per axis, each of its parameters with its values as they expand, in the order given.
    std::vector<std::vector<std::pair<std::string, std::vector<std::string>>>> listas() const;
    // The lists as they expand, for the experiment's fingerprint.
    std::string descricao() const;

  private:
    struct Eixo {
        std::vector<std::string> nomes;
        std::vector<std::vector<std::string>> valores; // one list per name, all as long
        size_t tamanho() const { return valores.front().size(); }
        // Sets every name to its value at position `i`; false when one did not take.
        bool definir(keldo::sim::SimulationParameters& p, size_t i) const;
        // Puts back the base's values; false when one did not read back.
        bool restaurar(keldo::sim::SimulationParameters& p,
                       const keldo::sim::SimulationParameters& base) const;
    };
    std::vector<Eixo> eixos;
    uint32_t replicas = 1;

    bool algumaExecucaoAceita(keldo::sim::SimulationParameters& p,
                              const keldo::sim::SimulationParameters& base, size_t eixo,
                              uint64_t& orcamento) const;
};

// The seed of a run of an experiment of seed S, from what the run is rather
// than where it falls, so that more replicates or values leave every earlier
// run as it was: with C the 64-bit FNV-1a hash of its combination's
// "NAME=value\n" lines sorted by name (empty without --vary), folded to 32
// bits (low ^ high), and f the 32-bit finalizer of MurmurHash3,
// f(f(S ^ C) + replica * 0x9E3779B9) (mod 2^32). Replicates of one
// combination get distinct seeds (f is one-to-one).
uint32_t sementeDaExecucao(uint32_t s, std::vector<std::pair<std::string, std::string>> combinacao,
                           uint32_t replica);

} // namespace keldo::cli
