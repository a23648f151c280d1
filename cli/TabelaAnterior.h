#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace keldo::cli {

// --resume: the whole runs of an earlier table of the same experiment (a
// partial one after an interruption, or a finished one being extended), by
// what each run is (its seed and varied values) rather than its number, so
// that they go to the new table as if run again.
class TabelaAnterior {
  public:
    // Reads `arquivo`, whose header must be `cabecalho` with `variados`
    // varied columns. Empty text when read, else why not (UTF-8).
    std::string ler(const std::string& arquivo, const std::string& cabecalho, size_t variados);
    // The fingerprint of its rows (empty without rows).
    const std::string& impressao() const { return impressaoLida; }
    // The rows of the run with this seed and these values, from the seed on
    // (without fingerprint and number), or null. Each is given once.
    const std::string* tomar(uint32_t semente, const std::vector<std::string>& valores);
    // An earlier run that no run of the new experiment took, or 0.
    uint64_t sobrando() const;

  private:
    struct Execucao {
        uint64_t k = 0;
        std::string linhas;
        bool tomada = false;
    };
    std::string impressaoLida;
    std::map<std::string, Execucao> porChave; // "seed;values;"
};

} // namespace keldo::cli
