#pragma once
#include <chrono>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>

namespace keldo::cli {

// Runs done of the total, time elapsed and an estimate of the time left, on
// one line of standard error rewritten in place; when standard error is not
// a terminal (a log, a cluster's output file), a line of its own at most
// every `intervalo`, so that a log shows the progress without filling up.
class ProgressoExperimento {
  public:
    static constexpr std::chrono::seconds intervaloPadrao{10};

    ProgressoExperimento(std::ostream& erro, uint64_t total);
    ProgressoExperimento(std::ostream& erro, uint64_t total, bool terminal,
                         std::chrono::steady_clock::duration intervalo);
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
    std::chrono::steady_clock::duration intervalo;
    std::chrono::steady_clock::time_point inicio;
    std::chrono::steady_clock::time_point ultimaLinha;

    std::string andamento(double decorrido) const;
    std::mutex trava;
};

} // namespace keldo::cli
