#include "cli/MesclaTabelas.h"
#include "cli/ArquivoTabela.h"
#include "cli/ExecucaoLote.h"
#include <charconv>
#include <fstream>
#include <iterator>
#include <map>

namespace keldo::cli {

namespace {
// The runs read so far, each with its rows, and what every table must share.
class Mescla {
  public:
    // Empty text when the table was taken, else why not (UTF-8).
    std::string ler(const std::string& nome) {
        std::ifstream f(nome, std::ios::binary);
        if (!f)
            return "não foi possível ler " + nome;
        const std::string texto{std::istreambuf_iterator<char>(f), {}};
        const size_t fimCabecalho = texto.find('\n');
        if (fimCabecalho == std::string::npos || texto.back() != '\n')
            return nome + " não é uma tabela de experimento completa";
        const std::string cab = texto.substr(0, fimCabecalho + 1);
        if (cab.rfind("experimento;execucao;semente;", 0) != 0)
            return nome + " não é uma tabela de experimento";
        if (cabecalho.empty())
            cabecalho = cab;
        else if (cab != cabecalho)
            return nome + " tem outras colunas: é de outro experimento";
        return lerLinhas(nome, texto, fimCabecalho + 1);
    }

    // Empty text when every run 1..total is there.
    std::string verificarCompleta() const {
        if (execucoes.empty())
            return "as tabelas não têm nenhuma execução";
        for (uint64_t k = 1; k <= total; ++k)
            if (!execucoes.count(k))
                return "falta a execução " + std::to_string(k);
        return {};
    }

    bool escrever(ArquivoTabela& saida) const {
        bool ok = saida.escrever(cabecalho);
        for (const auto& [k, linhas] : execucoes)
            ok = saida.escrever(linhas) && ok;
        return ok;
    }

  private:
    std::string cabecalho;
    std::string experimento;
    uint64_t total = 0;
    std::map<uint64_t, std::string> execucoes;

    std::string lerLinhas(const std::string& nome, const std::string& texto, size_t inicio) {
        uint64_t atual = 0;
        for (size_t fim; inicio < texto.size(); inicio = fim + 1) {
            fim = texto.find('\n', inicio);
            const std::string linha = texto.substr(inicio, fim - inicio + 1);
            uint64_t k = 0;
            if (const std::string e = lerLinha(nome, linha, k); !e.empty())
                return e;
            if (k != atual && execucoes.count(k))
                return "a execução " + std::to_string(k) + " aparece mais de uma vez";
            execucoes[k] += linha;
            atual = k;
        }
        return {};
    }

    // The run of one row, checking its fingerprint.
    std::string lerLinha(const std::string& nome, const std::string& linha, uint64_t& k) {
        const size_t p1 = linha.find(';');
        const size_t p2 = p1 == std::string::npos ? p1 : linha.find(';', p1 + 1);
        const std::string impressao = linha.substr(0, p1);
        const size_t hifen = impressao.rfind('-');
        uint64_t n = 0;
        if (p2 == std::string::npos || hifen == std::string::npos ||
            !lerNumero(impressao.substr(hifen + 1), n) ||
            !lerNumero(linha.substr(p1 + 1, p2 - p1 - 1), k) || k == 0 || k > n)
            return nome + " tem uma linha que não é de tabela de experimento";
        if (experimento.empty()) {
            experimento = impressao;
            total = n;
        } else if (impressao != experimento) {
            return nome + " é de outro experimento (" + impressao + ", não " + experimento + ")";
        }
        return {};
    }

    static bool lerNumero(const std::string& texto, uint64_t& valor) {
        const char* fim = texto.data() + texto.size();
        const auto [resto, erro] = std::from_chars(texto.data(), fim, valor, 10);
        return !texto.empty() && erro == std::errc() && resto == fim;
    }
};
} // namespace

int mesclarTabelas(const std::vector<std::string>& argumentos, std::ostream& erro) {
    const auto falha = [&](int codigo, const std::string& mensagem) {
        erro << "keldo-run: " << mensagem << '\n' << std::flush;
        return codigo;
    };
    Mescla mescla;
    for (size_t i = 1; i < argumentos.size(); ++i)
        if (const std::string e = mescla.ler(argumentos[i]); !e.empty())
            return falha(codigoSaida::erroArquivo, e);
    if (const std::string e = mescla.verificarCompleta(); !e.empty())
        return falha(codigoSaida::erroArquivo, e);
    ArquivoTabela saida;
    if (const std::string e = saida.abrir(argumentos[0]); !e.empty())
        return falha(codigoSaida::erroArquivo, e);
    if (!mescla.escrever(saida) || !saida.concluir())
        return falha(codigoSaida::erroArquivo,
                     "não foi possível escrever " + argumentos[0] + saida.razao());
    return codigoSaida::sucesso;
}

} // namespace keldo::cli
