#include "cli/LinhasExecucao.h"
#include "cli/RegistroTarefa.h"
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdlib.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace keldo::cli {

namespace {
// Its name goes at once: the system takes the space back however the process ends.
int criarArquivoSemNome() {
    std::error_code erro;
    const std::filesystem::path pasta = std::filesystem::temp_directory_path(erro);
    if (erro)
        return -1;
    std::string modelo = (pasta / "keldo_linhas_XXXXXX").string();
    const int fd = mkstemp(modelo.data());
    if (fd >= 0)
        unlink(modelo.c_str());
    return fd;
}
} // namespace

LinhasExecucao::LinhasExecucao(LinhasExecucao&& outra) noexcept {
    *this = std::move(outra);
}

LinhasExecucao& LinhasExecucao::operator=(LinhasExecucao&& outra) noexcept {
    if (this != &outra) {
        fechar();
        memoria = std::move(outra.memoria);
        fd = std::exchange(outra.fd, -1);
        noArquivo = std::exchange(outra.noArquivo, 0);
        soNaMemoria = outra.soNaMemoria;
        quantas = outra.quantas;
        hash = outra.hash;
        erro = outra.erro;
    }
    return *this;
}

LinhasExecucao::~LinhasExecucao() {
    fechar();
}

void LinhasExecucao::fechar() {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

void LinhasExecucao::anexar(const std::string& texto) {
    memoria += texto;
    quantas += static_cast<uint64_t>(std::count(texto.begin(), texto.end(), '\n'));
    hash = RegistroTarefa::soma(texto, hash);
    if (memoria.size() >= limiteNaMemoria && !soNaMemoria)
        guardar();
}

void LinhasExecucao::guardar() {
    if (fd < 0 && (fd = criarArquivoSemNome()) < 0) {
        soNaMemoria = true;
        return;
    }
    size_t escritos = 0;
    while (escritos < memoria.size()) {
        const ssize_t n = write(fd, memoria.data() + escritos, memoria.size() - escritos);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            soNaMemoria = true; // a full disk loses nothing; memory grows instead
            break;
        }
        escritos += static_cast<size_t>(n);
    }
    noArquivo += escritos;
    memoria.erase(0, escritos);
}

bool LinhasExecucao::entregar(const std::function<bool(const char*, size_t)>& escrever) {
    std::vector<char> bloco(std::min<uint64_t>(noArquivo, 64 * 1024));
    for (uint64_t lidos = 0; lidos < noArquivo;) {
        const ssize_t n =
            pread(fd, bloco.data(), std::min<uint64_t>(bloco.size(), noArquivo - lidos),
                  static_cast<off_t>(lidos));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            erro = n < 0 ? errno : EIO;
            return false;
        }
        if (!escrever(bloco.data(), static_cast<size_t>(n)))
            return false;
        lidos += static_cast<uint64_t>(n);
    }
    return memoria.empty() || escrever(memoria.data(), memoria.size());
}

} // namespace keldo::cli
