#pragma once
#include <chrono>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>

namespace keldo::cli {

// Runs done of the total, time elapsed and an estimate of the time left, on
// one line of standard error rewritten in place; silent when standard error
// is not a terminal (a log or a cluster's output file).
class ProgressoExperimento {
  public:
    ProgressoExperimento(std::ostream& erro, uint64_t total);
    // One more run over. Thread-safe.
    void avancar();
    // A line of its own (UTF-8, without line end), clear of the progress line. Thread-safe.
    void mensagem(const std::string& texto);
    // Ends the line.
    void concluir();

  private:
    std::ostream& erro;
    uint64_t total;
    uint64_t feitas = 0;
    bool ligado;
    std::chrono::steady_clock::time_point inicio;
    std::mutex trava;
};

} // namespace keldo::cli
