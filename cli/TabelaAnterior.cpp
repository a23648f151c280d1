#include "cli/TabelaAnterior.h"
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>

namespace keldo::cli {

namespace {
// The position after the n-th ';' of `linha` from `inicio`, or npos.
size_t depoisDe(const std::string& linha, size_t n, size_t inicio = 0) {
    for (size_t i = 0; i < n && inicio != std::string::npos; ++i) {
        inicio = linha.find(';', inicio);
        inicio = inicio == std::string::npos ? inicio : inicio + 1;
    }
    return inicio;
}
} // namespace

std::string TabelaAnterior::ler(const std::string& arquivo, const std::string& cabecalho,
                                size_t variados) {
    errno = 0;
    std::ifstream f(arquivo, std::ios::binary);
    const std::string texto{std::istreambuf_iterator<char>(f), {}};
    if (!f.is_open() || f.bad())
        return "não foi possível ler " + arquivo + ": " + std::strerror(errno ? errno : EIO);
    if (texto.rfind(cabecalho + '\n', 0) != 0)
        return arquivo + " não é uma tabela deste experimento (outras colunas)";
    std::string chaveAtual;
    uint64_t atual = 0;
    for (size_t inicio = cabecalho.size() + 1, fim; inicio < texto.size(); inicio = fim + 1) {
        fim = texto.find('\n', inicio);
        if (fim == std::string::npos)
            return arquivo + " termina no meio de uma linha";
        const std::string linha = texto.substr(inicio, fim - inicio + 1);
        if (linha[0] == '#') // a task's record, a partial table's last line
            continue;
        const size_t p1 = depoisDe(linha, 1), p2 = depoisDe(linha, 1, p1);
        const size_t fimChave = depoisDe(linha, variados + 1, p2);
        uint64_t k = 0;
        if (fimChave == std::string::npos ||
            std::from_chars(linha.data() + p1, linha.data() + p2 - 1, k).ec != std::errc())
            return arquivo + " tem uma linha que não é de tabela de experimento";
        const std::string impressaoDaLinha = linha.substr(0, p1 - 1);
        if (impressaoLida.empty())
            impressaoLida = impressaoDaLinha;
        else if (impressaoDaLinha != impressaoLida)
            return arquivo + " mistura experimentos";
        if (k != atual) {
            chaveAtual = linha.substr(p2, fimChave - p2);
            if (porChave.count(chaveAtual))
                return arquivo + " tem duas execuções iguais (" + std::to_string(k) + ")";
            porChave[chaveAtual].k = k;
            atual = k;
        }
        porChave[chaveAtual].linhas += linha.substr(p2);
    }
    // A run whose last row does not say how it ended was cut: it runs again.
    for (auto it = porChave.begin(); it != porChave.end();)
        it = it->second.linhas.size() >= 2 &&
                     it->second.linhas.rfind(";\n") == it->second.linhas.size() - 2
                 ? porChave.erase(it)
                 : std::next(it);
    return {};
}

const std::string* TabelaAnterior::tomar(uint32_t semente,
                                         const std::vector<std::string>& valores) {
    std::string chave = std::to_string(semente) + ';';
    for (const std::string& v : valores)
        chave += v + ';';
    const auto it = porChave.find(chave);
    if (it == porChave.end() || it->second.tomada)
        return nullptr;
    it->second.tomada = true;
    return &it->second.linhas;
}

uint64_t TabelaAnterior::sobrando() const {
    for (const auto& [chave, e] : porChave)
        if (!e.tomada)
            return e.k;
    return 0;
}

} // namespace keldo::cli
