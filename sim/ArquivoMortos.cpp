#include "sim/ArquivoMortos.h"
#include <filesystem>
#include <stdlib.h>
#include <string>
#include <type_traits>
#include <unistd.h>

namespace keldo::sim {

// Records are the individuals' own bytes: the file never outlives the process
// that wrote it, so layout and pointers read back as they were.
static_assert(std::is_trivially_copyable_v<SpecX>);

namespace {
// An unnamed file in the temporary folder (TMPDIR when set, so a user whose
// /tmp lives in memory can point it at a disk): its name goes at once, and
// the system takes the space back when the process ends, however it ends.
std::FILE* criarArquivoSemNome() {
    std::error_code erro;
    const std::filesystem::path pasta = std::filesystem::temp_directory_path(erro);
    if (erro)
        return nullptr;
    std::string modelo = (pasta / "keldo_mortos_XXXXXX").string();
    const int fd = mkstemp(modelo.data());
    if (fd < 0)
        return nullptr;
    unlink(modelo.c_str());
    std::FILE* arquivo = fdopen(fd, "w+b");
    if (!arquivo)
        close(fd);
    return arquivo;
}

bool posicionar(std::FILE* arquivo, size_t registro) {
    return fseeko(arquivo, static_cast<off_t>(registro * sizeof(SpecX)), SEEK_SET) == 0;
}
} // namespace

ArquivoMortos::~ArquivoMortos() {
    limpar();
}

void ArquivoMortos::limpar() {
    if (arquivo)
        std::fclose(arquivo);
    arquivo = nullptr;
    quantidade = 0;
}

bool ArquivoMortos::guardar(const std::vector<SpecX>& lote) {
    if (lote.empty())
        return true;
    if (!arquivo && !(arquivo = criarArquivoSemNome()))
        return false;
    // Written after the last whole record, so a write cut short earlier
    // (a full disk) leaves nothing that is read back.
    if (!posicionar(arquivo, quantidade))
        return false;
    if (std::fwrite(lote.data(), sizeof(SpecX), lote.size(), arquivo) != lote.size() ||
        std::fflush(arquivo) != 0) {
        std::clearerr(arquivo);
        return false;
    }
    quantidade += lote.size();
    return true;
}

bool ArquivoMortos::lerBloco(size_t inicio, std::vector<SpecX>& bloco) const {
    const size_t n = quantidade - inicio < tamanhoBloco ? quantidade - inicio : tamanhoBloco;
    bloco.resize(n);
    if (!posicionar(arquivo, inicio))
        return false;
    return std::fread(bloco.data(), sizeof(SpecX), n, arquivo) == n;
}

} // namespace keldo::sim
