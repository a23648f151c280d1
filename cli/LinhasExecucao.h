#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace keldo::cli {

// The rows of one run of an experiment until the table takes them, whole,
// in the order of the runs: in memory up to a bound, then in an unnamed
// temporary file in TMPDIR (or /tmp), so that a long run recorded at every
// cycle costs no more memory than a short one, and a run that is stopped
// leaves nothing in the table. Where that file cannot be made or
// written, the rows stay in memory. Counts the rows and hashes them as
// they come, for the task's record.
class LinhasExecucao {
  public:
    // Bytes kept in memory before they go to the file.
    static constexpr size_t limiteNaMemoria = 256 * 1024;

    LinhasExecucao() = default;
    LinhasExecucao(LinhasExecucao&& outra) noexcept;
    LinhasExecucao& operator=(LinhasExecucao&& outra) noexcept;
    LinhasExecucao(const LinhasExecucao&) = delete;
    LinhasExecucao& operator=(const LinhasExecucao&) = delete;
    ~LinhasExecucao();

    // Whole rows, each ending in a line end.
    void anexar(const std::string& texto);
    uint64_t linhas() const { return quantas; }
    // The rows' 64-bit FNV-1a hash (RegistroTarefa::soma of all of them).
    uint64_t soma() const { return hash; }
    // Hands every byte, in order and in blocks, to `escrever`; false when
    // `escrever` refused one, or when the stored part could not be read back
    // (then `erroLeitura` is its errno).
    bool entregar(const std::function<bool(const char*, size_t)>& escrever);
    int erroLeitura() const { return erro; }

  private:
    std::string memoria;
    int fd = -1;
    uint64_t noArquivo = 0; // bytes of the file, which come before `memoria`
    bool soNaMemoria = false;
    uint64_t quantas = 0;
    uint64_t hash = 0xCBF29CE484222325ull;
    int erro = 0;

    void guardar();
    void fechar();
};

} // namespace keldo::cli
