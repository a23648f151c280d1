#include "cli/ProgressoExperimento.h"
#include <cstdio>
#include <unistd.h>

namespace keldo::cli {

namespace {
std::string duracao(double segundos) {
    const long s = static_cast<long>(segundos + 0.5);
    char texto[32];
    std::snprintf(texto, sizeof texto, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    return texto;
}
} // namespace

ProgressoExperimento::ProgressoExperimento(std::ostream& e, uint64_t n)
    : erro(e), total(n), ligado(::isatty(STDERR_FILENO) == 1),
      inicio(std::chrono::steady_clock::now()) {}

void ProgressoExperimento::avancar() {
    const std::lock_guard<std::mutex> guarda(trava);
    ++feitas;
    if (!ligado)
        return;
    const double decorrido =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    const double restante =
        decorrido / static_cast<double>(feitas) * static_cast<double>(total - feitas);
    erro << "\r" << feitas << "/" << total << " execuções, " << duracao(decorrido)
         << " decorridos, cerca de " << duracao(restante) << " restantes " << std::flush;
}

void ProgressoExperimento::mensagem(const std::string& texto) {
    const std::lock_guard<std::mutex> guarda(trava);
    erro << (ligado && feitas > 0 ? "\n" : "") << texto << '\n' << std::flush;
}

void ProgressoExperimento::concluir() {
    if (ligado && feitas > 0)
        erro << '\n' << std::flush;
}

} // namespace keldo::cli
