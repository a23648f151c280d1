#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace keldo::cli {

// One file a run reads or writes, with the option that names it ("--save", ...).
struct ArquivoDaExecucao {
    std::string opcao;
    std::string caminho;
};

// The two names are one file: the same device and inode when both exist,
// else the same path once links and "." / ".." are resolved.
bool mesmoArquivo(const std::string& a, const std::string& b);

// "A e B indicam o mesmo arquivo: CAMINHO" (UTF-8) for the first two entries
// that are one file (`mesmoArquivo`). Empty when every entry is its own file.
std::string arquivosRepetidos(const std::vector<ArquivoDaExecucao>& arquivos);

// Why the file cannot be written (UTF-8), or empty. `porRenomeacao`: the file
// is replaced as `GravacaoSegura` replaces it; otherwise an existing file is
// written itself. A new file, or one replaced, is tried with
// `GravacaoSegura::verificar`, which leaves nothing behind.
std::string problemaDeEscrita(const ArquivoDaExecucao& arquivo, bool porRenomeacao);

// The snapshots numbered `primeiro`..`ultimo` next to `projeto` that are one of
// `outros` by name, as entries named `opcao`, so that `arquivosRepetidos` can
// weigh them without listing every number of a long run.
std::vector<ArquivoDaExecucao> snapshotsEntre(const std::string& opcao, const std::string& projeto,
                                              int64_t primeiro, int64_t ultimo,
                                              const std::vector<ArquivoDaExecucao>& outros);

} // namespace keldo::cli
