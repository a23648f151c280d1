#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace keldo::cli {

// --resume: the whole runs of an earlier table of the same experiment (a
// partial one after an interruption, or a finished one being extended), by
// what each run is (its seed and varied values) rather than its number, so
// that they go to the new table as if run again. Only where each run's rows
// lie is kept: they are read again from the file when their turn comes, so
// that a long study resumes in the memory of a short one.
class TabelaAnterior {
  public:
    // Where the rows of one earlier run lie in its file.
    struct Execucao {
        uint64_t k = 0;
        uint64_t inicio = 0;  // its first row's offset
        uint64_t tamanho = 0; // the bytes of its rows
        size_t prefixo = 0;   // the bytes of each row before the seed: fingerprint and number
        bool tomada = false;
    };

    TabelaAnterior() = default;
    TabelaAnterior(const TabelaAnterior&) = delete;
    TabelaAnterior& operator=(const TabelaAnterior&) = delete;
    ~TabelaAnterior();

    // Reads `arquivo`, whose header must be `cabecalho` with `variados`
    // varied columns, and keeps it open. Empty text when read, else why not (UTF-8).
    std::string ler(const std::string& arquivo, const std::string& cabecalho, size_t variados);
    // The fingerprint of its rows (empty without rows).
    const std::string& impressao() const { return impressaoLida; }
    // The run with this seed and these values, or null. Each is given once.
    const Execucao* tomar(uint32_t semente, const std::vector<std::string>& valores);
    // An earlier run that no run of the new experiment took, or 0.
    uint64_t sobrando() const;
    // Hands each row of `e`, from the seed on and with its line end, to
    // `linha`, in order. False when the file could not be read again as it was.
    bool linhasDe(const Execucao& e, const std::function<void(const std::string&)>& linha) const;

  private:
    int fd = -1; // read with pread, from any thread
    std::string impressaoLida;
    std::map<std::string, Execucao> porChave; // "seed;values;"
};

} // namespace keldo::cli
