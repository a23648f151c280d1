#include "cli/RegistroTarefa.h"
#include "cli/Separar.h"
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

namespace keldo::cli {

namespace {
template <typename T> bool numero(const std::string& texto, T& valor, int base = 10) {
    const char* fim = texto.data() + texto.size();
    const auto [resto, erro] = std::from_chars(texto.data(), fim, valor, base);
    return !texto.empty() && erro == std::errc() && resto == fim;
}
} // namespace

std::string RegistroTarefa::linhaTarefa(uint32_t tarefa, uint32_t tarefas, uint64_t quantas) {
    return "#tarefa;" + std::to_string(tarefa) + "/" + std::to_string(tarefas) + ";execucoes;" +
           std::to_string(quantas) + "\n";
}

std::string RegistroTarefa::linhaExecucao(uint64_t k, uint64_t linhas, uint64_t h, bool falhou) {
    char hex[24];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return "#execucao;" + std::to_string(k) + ";linhas;" + std::to_string(linhas) + ";soma;" + hex +
           (falhou ? ";falhou\n" : "\n");
}

std::string RegistroTarefa::linhaFalha(uint64_t k) {
    return "#execucao;" + std::to_string(k) + ";falhou\n";
}

std::string RegistroTarefa::linhaParcial(uint64_t completas, uint64_t quantas) {
    return "#parcial;interrompido com " + std::to_string(completas) + " de " +
           std::to_string(quantas) + " execuções completas\n";
}

uint64_t RegistroTarefa::soma(const std::string& texto, uint64_t h) {
    for (unsigned char c : texto)
        h = (h ^ c) * 0x100000001B3ull;
    return h;
}

std::string RegistroTarefa::ler(const std::string& linha) {
    const std::vector<std::string> c = separar(linha, ';');
    if (c[0] == "#parcial") {
        ehParcial = true;
        return {};
    }
    if (c[0] == "#tarefa" && c.size() == 4 && c[2] == "execucoes" && !temTarefa()) {
        const size_t barra = c[1].find('/');
        if (barra != std::string::npos && numero(c[1].substr(0, barra), tarefa) &&
            numero(c[1].substr(barra + 1), tarefasTarefa) && tarefa < tarefasTarefa &&
            numero(c[3], quantasTarefa))
            return {};
        tarefasTarefa = 0;
        return "registro de tarefa ilegível";
    }
    uint64_t k = 0;
    if (c[0] != "#execucao" || c.size() < 3 || !numero(c[1], k) || k == 0)
        return "linha de registro ilegível";
    if (porExecucao.count(k))
        return "a execução " + std::to_string(k) + " está duas vezes no registro";
    Execucao e;
    if (c.size() == 3 && c[2] == "falhou")
        e.falhou = true;
    else if (!((c.size() == 6 || (c.size() == 7 && c[6] == "falhou")) && c[2] == "linhas" &&
               numero(c[3], e.linhas) && e.linhas > 0 && c[4] == "soma" && c[5].size() == 16 &&
               numero(c[5], e.soma, 16)))
        return "linha de registro ilegível";
    e.falhou = e.falhou || c.size() == 7;
    porExecucao[k] = e;
    return {};
}

} // namespace keldo::cli
