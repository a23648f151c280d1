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
    : ProgressoExperimento(e, n, ::isatty(STDERR_FILENO) == 1, intervaloPadrao) {}

ProgressoExperimento::ProgressoExperimento(std::ostream& e, uint64_t n, bool terminal,
                                           std::chrono::steady_clock::duration i)
    : erro(e), total(n), ligado(terminal), intervalo(i), inicio(std::chrono::steady_clock::now()),
      ultimaLinha(inicio) {}

std::string ProgressoExperimento::andamento(double decorrido) const {
    const double restante =
        decorrido / static_cast<double>(feitas) * static_cast<double>(total - feitas);
    return std::to_string(feitas) + "/" + std::to_string(total) + " execuções, " +
           duracao(decorrido) + " decorridos, cerca de " + duracao(restante) + " restantes";
}

void ProgressoExperimento::avancar() {
    const std::lock_guard<std::mutex> guarda(trava);
    ++feitas;
    const auto agora = std::chrono::steady_clock::now();
    const double decorrido = std::chrono::duration<double>(agora - inicio).count();
    if (ligado) {
        erro << "\r" << andamento(decorrido) << ' ' << std::flush;
    } else if (agora - ultimaLinha >= intervalo) {
        ultimaLinha = agora;
        erro << "keldo-run: " << andamento(decorrido) << '\n' << std::flush;
    }
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
