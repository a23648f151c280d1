#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace keldo::cli {

// The runs of an experiment: every combination of the --vary lists times the
// replicates, numbered from 1 with the parameters in the order given (the
// first one outermost) and the replicates innermost.
class Varredura {
  public:
    // One --vary NAME=LIST (`v1,v2,...` or `first:step:last`). Empty text when
    // taken, else the usage error (UTF-8).
    std::string adicionar(const std::string& texto);
    void definirReplicas(uint32_t r) { replicas = r; }

    // Number of runs; 0 with no replicates.
    uint64_t total() const;
    // The varied parameters' names, in the order given.
    std::vector<std::string> nomes() const;
    // The NAME=value settings of run k (1..total()), in the order given.
    std::vector<std::pair<std::string, std::string>> definicoesDa(uint64_t k) const;
    // One line (UTF-8) per value the dialog would not take, as --set warns.
    std::vector<std::string> avisos() const;
    // The lists as they expand, for the experiment's fingerprint.
    std::string descricao() const;

  private:
    struct Eixo {
        std::string nome;
        std::vector<std::string> valores;
    };
    std::vector<Eixo> eixos;
    uint32_t replicas = 1;
};

// The seed of run k of an experiment of seed S: the 32-bit finalizer of
// MurmurHash3 applied to S + k * 0x9E3779B9 (mod 2^32). Both steps are
// one-to-one, so distinct runs (k < 2^32) get distinct seeds.
uint32_t sementeDaExecucao(uint32_t s, uint64_t k);

} // namespace keldo::cli
