#include "cli/TabelaAnterior.h"
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace keldo::cli {

namespace {
constexpr size_t tamanhoBloco = 64 * 1024;

// The position after the n-th ';' of `linha` from `inicio`, or npos.
size_t depoisDe(const std::string& linha, size_t n, size_t inicio = 0) {
    for (size_t i = 0; i < n && inicio != std::string::npos; ++i) {
        inicio = linha.find(';', inicio);
        inicio = inicio == std::string::npos ? inicio : inicio + 1;
    }
    return inicio;
}

// pread of up to `n` bytes at `posicao`, again after a signal: the bytes
// read (0 at the end), or -1.
ssize_t lerEm(int fd, char* destino, size_t n, uint64_t posicao) {
    ssize_t r;
    do
        r = ::pread(fd, destino, n, static_cast<off_t>(posicao));
    while (r < 0 && errno == EINTR);
    return r;
}

// The lines of a file from its start, each with its line end, one block in memory.
struct Leitura {
    int fd;
    uint64_t posicao = 0; // of the block's first byte in the file
    std::string bloco;
    size_t usado = 0;
    int erro = 0;

    // The next whole line; false at the end (a last line without its end
    // stays in `bloco`) or on a read error (`erro`).
    bool proxima(std::string& linha) {
        for (size_t fim; (fim = bloco.find('\n', usado)) == std::string::npos;) {
            posicao += usado;
            bloco.erase(0, usado);
            usado = 0;
            const size_t antes = bloco.size();
            bloco.resize(antes + tamanhoBloco);
            const ssize_t n = lerEm(fd, bloco.data() + antes, tamanhoBloco, posicao + antes);
            bloco.resize(antes + static_cast<size_t>(n < 0 ? 0 : n));
            if (n <= 0) {
                erro = n < 0 ? errno : 0;
                return false;
            }
        }
        const size_t fim = bloco.find('\n', usado);
        linha.assign(bloco, usado, fim + 1 - usado);
        usado = fim + 1;
        return true;
    }
    // The file offset of the line `proxima` gives next.
    uint64_t onde() const { return posicao + usado; }
    bool cortada() const { return usado < bloco.size(); }
};

// A run whose last row does not say how it ended was cut, and one that says
// "erro" broke off: both run again.
bool inteira(const std::string& ultimaLinha) {
    const std::string parada = ultimaLinha.substr(ultimaLinha.rfind(';') + 1);
    return parada != "\n" && parada != "erro\n";
}
} // namespace

TabelaAnterior::~TabelaAnterior() {
    if (fd >= 0)
        ::close(fd);
}

std::string TabelaAnterior::ler(const std::string& arquivo, const std::string& cabecalho,
                                size_t variados) {
    fd = ::open(arquivo.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return "não foi possível ler " + arquivo + ": " + std::strerror(errno);
    Leitura leitura{fd, 0, {}, 0, 0};
    std::string linha;
    const bool temCabecalho = leitura.proxima(linha);
    if (leitura.erro)
        return "não foi possível ler " + arquivo + ": " + std::strerror(leitura.erro);
    if (!temCabecalho || linha != cabecalho + '\n')
        return arquivo + " não é uma tabela deste experimento (outras colunas)";
    std::vector<std::string> descartadas;
    std::string chaveAtual, ultima;
    Execucao* atual = nullptr;
    const auto fecharAtual = [&] {
        if (atual && !inteira(ultima))
            descartadas.push_back(chaveAtual);
        atual = nullptr;
    };
    for (uint64_t inicio = leitura.onde(); leitura.proxima(linha); inicio = leitura.onde()) {
        if (linha[0] == '#') { // a task's record, a partial table's last line
            fecharAtual();
            continue;
        }
        const size_t p1 = depoisDe(linha, 1), p2 = depoisDe(linha, 1, p1);
        const size_t fimChave = depoisDe(linha, variados + 1, p2);
        uint64_t k = 0;
        if (fimChave == std::string::npos ||
            std::from_chars(linha.data() + p1, linha.data() + p2 - 1, k).ec != std::errc())
            return arquivo + " tem uma linha que não é de tabela de experimento";
        const std::string_view impressaoDaLinha(linha.data(), p1 - 1);
        if (impressaoLida.empty())
            impressaoLida = impressaoDaLinha;
        else if (impressaoDaLinha != impressaoLida)
            return arquivo + " mistura experimentos";
        if (!atual || k != atual->k) {
            fecharAtual();
            chaveAtual = linha.substr(p2, fimChave - p2);
            if (porChave.count(chaveAtual))
                return arquivo + " tem duas execuções iguais (" + std::to_string(k) + ")";
            atual = &porChave[chaveAtual];
            *atual = Execucao{k, inicio, 0, p2, false};
        }
        atual->tamanho += linha.size();
        ultima = linha;
    }
    if (leitura.erro)
        return "não foi possível ler " + arquivo + ": " + std::strerror(leitura.erro);
    if (leitura.cortada())
        return arquivo + " termina no meio de uma linha";
    fecharAtual();
    for (const std::string& chave : descartadas)
        porChave.erase(chave);
    return {};
}

const TabelaAnterior::Execucao* TabelaAnterior::tomar(uint32_t semente,
                                                      const std::vector<std::string>& valores) {
    std::string chave = std::to_string(semente) + ';';
    for (const std::string& v : valores)
        chave += v + ';';
    const auto it = porChave.find(chave);
    if (it == porChave.end() || it->second.tomada)
        return nullptr;
    it->second.tomada = true;
    return &it->second;
}

uint64_t TabelaAnterior::sobrando() const {
    for (const auto& [chave, e] : porChave)
        if (!e.tomada)
            return e.k;
    return 0;
}

bool TabelaAnterior::linhasDe(const Execucao& e,
                              const std::function<void(const std::string&)>& linha) const {
    std::string bloco, resto;
    for (uint64_t lidos = 0; lidos < e.tamanho;) {
        bloco.resize(static_cast<size_t>(std::min<uint64_t>(tamanhoBloco, e.tamanho - lidos)));
        const ssize_t n = lerEm(fd, bloco.data(), bloco.size(), e.inicio + lidos);
        if (n <= 0)
            return false;
        lidos += static_cast<uint64_t>(n);
        resto.append(bloco, 0, static_cast<size_t>(n));
        size_t usado = 0;
        for (size_t fim; (fim = resto.find('\n', usado)) != std::string::npos; usado = fim + 1) {
            if (fim - usado < e.prefixo)
                return false;
            linha(resto.substr(usado + e.prefixo, fim + 1 - usado - e.prefixo));
        }
        resto.erase(0, usado);
    }
    return resto.empty();
}

} // namespace keldo::cli
