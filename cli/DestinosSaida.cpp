#include "cli/DestinosSaida.h"
#include "io/GravacaoSegura.h"
#include "sim/CKeldoDoc.h"
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace keldo::cli {

using namespace keldo::io;
using namespace keldo::sim;

namespace {
namespace fs = std::filesystem;

fs::path resolvido(const std::string& caminho) {
    std::error_code erro;
    const fs::path absoluto = fs::absolute(caminho, erro);
    const fs::path canonico = fs::weakly_canonical(absoluto, erro);
    return erro ? absoluto.lexically_normal() : canonico;
}

// Where a write to `caminho` lands: its links followed to the last one's
// target, which need not exist yet (a dangling link is written through).
fs::path destinoFinal(const std::string& caminho) {
    fs::path atual = resolvido(caminho);
    for (int saltos = 0; saltos < 40; ++saltos) {
        std::error_code erro;
        if (!fs::is_symlink(fs::symlink_status(atual, erro)))
            break;
        const fs::path alvo = fs::read_symlink(atual, erro);
        if (erro)
            break;
        atual = resolvido((alvo.is_absolute() ? alvo : atual.parent_path() / alvo).string());
    }
    return atual;
}

std::string semPermissao(const std::string& opcao, const std::string& alvo, int erro) {
    return "n\xC3\xA3o \xC3\xA9 poss\xC3\xADvel gravar " + opcao + " em " + alvo + ": " +
           GravacaoSegura::descricao(erro);
}

// The number in a snapshot name as "%03d" writes it, or -1.
int64_t numeroDoSnapshot(const std::string& meio) {
    if (meio.size() < 3 || meio.size() > 10 || meio.find_first_not_of("0123456789") != meio.npos)
        return -1;
    return meio.size() == 3 || meio[0] != '0' ? std::stoll(meio) : -1;
}
} // namespace

bool mesmoArquivo(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return destinoFinal(a) == destinoFinal(b);
}

std::string arquivosRepetidos(const std::vector<ArquivoDaExecucao>& arquivos) {
    for (size_t i = 0; i < arquivos.size(); ++i)
        for (size_t j = i + 1; j < arquivos.size(); ++j)
            if (mesmoArquivo(arquivos[i].caminho, arquivos[j].caminho))
                return arquivos[i].opcao + " e " + arquivos[j].opcao +
                       " indicam o mesmo arquivo: " + arquivos[j].caminho;
    return {};
}

std::string problemaDeEscrita(const ArquivoDaExecucao& arquivo, bool porRenomeacao) {
    const std::string& opcao = arquivo.opcao;
    std::error_code erro;
    fs::path pasta = fs::path(arquivo.caminho).parent_path();
    if (pasta.empty())
        pasta = ".";
    const fs::file_status estadoPasta = fs::status(pasta, erro);
    if (!fs::exists(estadoPasta))
        return "a pasta de " + opcao + " n\xC3\xA3o existe: " + pasta.string();
    if (!fs::is_directory(estadoPasta))
        return "a pasta de " + opcao + " n\xC3\xA3o \xC3\xA9 uma pasta: " + pasta.string();
    const fs::file_status estado = fs::status(arquivo.caminho, erro);
    if (fs::is_directory(estado))
        return opcao + " indica uma pasta: " + arquivo.caminho;
    // access() also sees read-only file systems and immutable files, even for root.
    const bool existe = fs::exists(estado);
    if (existe && ::access(arquivo.caminho.c_str(), W_OK) != 0)
        return semPermissao(opcao, arquivo.caminho, errno);
    if (existe && !porRenomeacao)
        return {};
    // A new file, or one a save replaces: whatever the save would do decides.
    if (const int falha = GravacaoSegura::verificar(arquivo.caminho); falha != 0)
        return semPermissao(opcao, existe ? arquivo.caminho : pasta.string(), falha);
    return {};
}

std::vector<ArquivoDaExecucao> snapshotsEntre(const std::string& opcao, const std::string& projeto,
                                              int64_t primeiro, int64_t ultimo,
                                              const std::vector<ArquivoDaExecucao>& outros) {
    if (!CKeldoDoc::temSnapshot(projeto))
        return {};
    const std::string raiz = CKeldoDoc::raizSnapshot(projeto);
    const fs::path pai = fs::path(raiz).parent_path();
    const fs::path pasta = resolvido(pai.empty() ? "." : pai.string());
    const std::string prefixo = fs::path(raiz).filename().string();
    std::vector<ArquivoDaExecucao> snapshots;
    for (const ArquivoDaExecucao& outro : outros) {
        const fs::path caminho = resolvido(outro.caminho);
        const std::string nome = caminho.filename().string();
        if (caminho.parent_path() != pasta || nome.size() < prefixo.size() + 4 ||
            nome.compare(0, prefixo.size(), prefixo) != 0 ||
            nome.compare(nome.size() - 4, 4, ".txt") != 0)
            continue;
        const std::string meio = nome.substr(prefixo.size(), nome.size() - prefixo.size() - 4);
        const int64_t n = numeroDoSnapshot(meio);
        if (n >= primeiro && n <= ultimo)
            snapshots.push_back({opcao, raiz + meio + ".txt"});
    }
    return snapshots;
}

} // namespace keldo::cli
