#include "cli/MesclaTabelas.h"
#include "cli/ArquivoTabela.h"
#include "cli/DestinosSaida.h"
#include "cli/ExecucaoLote.h"
#include "cli/RegistroExperimento.h"
#include "cli/RegistroTarefa.h"
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace keldo::cli {

namespace {
// One part's rows by run, with each run's row count and hash, set against
// the record the part ends with.
struct Parte {
    std::string nome;
    RegistroTarefa registro;
    std::map<uint64_t, RegistroTarefa::Execucao> lidas;

    std::string conferir(uint64_t total) const {
        if (registro.parcial())
            return nome + " é uma tabela parcial (de um experimento interrompido)";
        if (!registro.temTarefa())
            return nome + " não traz o registro das suas execuções (gere as partes com --task)";
        for (const auto& [k, lida] : lidas)
            if (!registro.execucoes().count(k))
                return nome + " tem linhas da execução " + std::to_string(k) +
                       ", que não está no seu registro";
        uint64_t esperadas = 0;
        for (uint64_t k = registro.primeira(); k <= total; k += registro.passo(), ++esperadas)
            if (!registro.execucoes().count(k))
                return nome + " não tem a execução " + std::to_string(k) + " da sua tarefa";
        if (esperadas != registro.quantas() || esperadas != registro.execucoes().size())
            return nome + " tem um registro que não é o da sua tarefa";
        for (const auto& [k, e] : registro.execucoes()) {
            const auto lida = lidas.find(k);
            const bool confere = lida == lidas.end() ? e.falhou && e.linhas == 0
                                                     : lida->second.linhas == e.linhas &&
                                                           lida->second.soma == e.soma;
            if (!confere)
                return "as linhas da execução " + std::to_string(k) + " em " + nome +
                       " não conferem com o registro (cortadas, repetidas, reordenadas ou "
                       "alteradas)";
        }
        return {};
    }
};

// The whole file into `texto`: 0, or the errno of the failure (a folder,
// a file that cannot be opened or read).
int lerArquivo(const std::string& nome, std::string& texto) {
    errno = 0;
    std::FILE* f = std::fopen(nome.c_str(), "rb");
    if (!f)
        return errno ? errno : EIO;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> fechar(f, &std::fclose);
    char bloco[64 * 1024];
    for (size_t n; (n = std::fread(bloco, 1, sizeof bloco, f)) > 0;)
        texto.append(bloco, n);
    return std::ferror(f) ? (errno ? errno : EIO) : 0;
}

// The runs read so far, each with its rows, and what every table must share.
class Mescla {
  public:
    // Empty text when the table was taken, else why not (UTF-8).
    std::string ler(const std::string& nome) {
        std::string texto;
        if (const int e = lerArquivo(nome, texto); e != 0)
            return "não foi possível ler " + nome + ": " + GravacaoSegura::descricao(e);
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
        Parte parte{nome, {}, {}};
        if (const std::string e = lerLinhas(parte, texto, fimCabecalho + 1); !e.empty())
            return e;
        partes.push_back(std::move(parte));
        return {};
    }

    // Empty text when every part agrees with its record and every run
    // 1..total is there (or failed where it ran).
    std::string verificarCompleta() {
        for (const Parte& p : partes) {
            if (const std::string e = p.conferir(total); !e.empty())
                return e;
            // A failed run's rows (if any) were counted once as they were read.
            for (const auto& [k, e] : p.registro.execucoes())
                if (e.falhou && ((e.linhas == 0 && execucoes.count(k)) || !falhas.insert(k).second))
                    return "a execução " + std::to_string(k) + " aparece mais de uma vez";
        }
        if (experimento.empty())
            return "as tabelas não têm nenhuma execução";
        for (uint64_t k = 1; k <= total; ++k)
            if (!execucoes.count(k) && !falhas.count(k))
                return "falta a execução " + std::to_string(k);
        return {};
    }

    const std::set<uint64_t>& falhadas() const { return falhas; }

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
    std::set<uint64_t> falhas;
    std::vector<Parte> partes;

    std::string lerLinhas(Parte& parte, const std::string& texto, size_t inicio) {
        uint64_t atual = 0;
        for (size_t fim; inicio < texto.size(); inicio = fim + 1) {
            fim = texto.find('\n', inicio);
            const std::string linha = texto.substr(inicio, fim - inicio + 1);
            if (linha[0] == '#') {
                if (const std::string e = parte.registro.ler(linha.substr(0, linha.size() - 1));
                    !e.empty())
                    return parte.nome + ": " + e;
                continue;
            }
            uint64_t k = 0;
            if (const std::string e = lerLinha(parte.nome, linha, k); !e.empty())
                return e;
            if (k != atual && execucoes.count(k))
                return "a execução " + std::to_string(k) + " aparece mais de uma vez";
            execucoes[k] += linha;
            RegistroTarefa::Execucao& lida = parte.lidas[k];
            lida.soma = lida.linhas++ == 0 ? RegistroTarefa::soma(linha)
                                           : RegistroTarefa::soma(linha, lida.soma);
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
// The parts' records joined as one machine's: the same opening lines but
// the command (the merge's) and the task (none), the runs of every part.
class MesclaRegistros {
  public:
    // Empty text when the part's record (its name and ".json") was taken or
    // is missing, else why it cannot be merged.
    std::string ler(const std::string& parte) {
        std::string texto;
        if (lerArquivo(parte + ".json", texto) != 0) {
            faltando = faltando.empty() ? parte : faltando;
            return {};
        }
        std::vector<std::string> linhas;
        if (!RegistroExperimento::separar(texto, linhas, execucoes))
            return parte + ".json não é um registro de experimento (ou repete execuções)";
        // How each part was called (its command, task, project's path and --set
        // order) is its own; the rest is the experiment's. The first part's is kept.
        std::vector<std::string> comuns, proprias;
        for (const std::string& l : linhas) {
            if (l.rfind("  \"tarefa\": ", 0) == 0)
                continue;
            bool propria = false;
            for (const char* chave : {"  \"comando\": ", "  \"projeto\": ", "  \"definidos\": "})
                propria = propria || l.rfind(chave, 0) == 0;
            comuns.push_back(propria ? l.substr(0, l.find(':')) : l);
            proprias.push_back(l);
        }
        if (lidos++ == 0) {
            cabeca = proprias;
            chaves = comuns;
        } else if (comuns != chaves) {
            return parte + ".json é o registro de outro experimento";
        }
        return {};
    }

    // The part without a record, or empty.
    const std::string& semRegistro() const { return faltando; }

    std::string texto(const std::vector<std::string>& argumentos) const {
        std::vector<std::string> linhas = cabeca;
        std::vector<std::string> comando = {"keldo-run", "--merge"};
        comando.insert(comando.end(), argumentos.begin(), argumentos.end());
        for (std::string& l : linhas)
            if (l.rfind("  \"comando\": ", 0) == 0)
                l = "  \"comando\": " + RegistroExperimento::lista(comando) + ",";
        return RegistroExperimento::juntar(linhas, execucoes);
    }

  private:
    std::vector<std::string> cabeca;
    std::vector<std::string> chaves; // `cabeca` without what is each part's own
    std::map<uint64_t, std::string> execucoes;
    std::string faltando;
    size_t lidos = 0;
};
} // namespace

int mesclarTabelas(const std::vector<std::string>& argumentos, std::ostream& erro) {
    const auto falha = [&](int codigo, const std::string& mensagem) {
        erro << "keldo-run: " << mensagem << '\n' << std::flush;
        return codigo;
    };
    // The merged table must not replace a part: a part is the only copy of its record.
    for (size_t i = 1; i < argumentos.size(); ++i)
        if (argumentos[0] != "-" && mesmoArquivo(argumentos[0], argumentos[i]))
            return falha(codigoSaida::erroUso,
                         "SAÍDA e TABELA indicam o mesmo arquivo: " + argumentos[i]);
    Mescla mescla;
    for (size_t i = 1; i < argumentos.size(); ++i)
        if (const std::string e = mescla.ler(argumentos[i]); !e.empty())
            return falha(codigoSaida::erroArquivo, e);
    if (const std::string e = mescla.verificarCompleta(); !e.empty())
        return falha(codigoSaida::erroArquivo, e);
    MesclaRegistros registros;
    for (size_t i = 1; i < argumentos.size(); ++i)
        if (const std::string e = registros.ler(argumentos[i]); !e.empty())
            return falha(codigoSaida::erroArquivo, e);
    ArquivoTabela saida;
    if (const std::string e = saida.abrir(argumentos[0]); !e.empty())
        return falha(codigoSaida::erroArquivo, e);
    if (!mescla.escrever(saida) || !saida.concluir())
        return falha(codigoSaida::erroArquivo,
                     "não foi possível escrever " + argumentos[0] + saida.razao());
    if (argumentos[0] != "-" && !registros.semRegistro().empty()) {
        erro << "keldo-run: aviso: " << registros.semRegistro() << " não tem registro ("
             << registros.semRegistro() << ".json): " << argumentos[0] << ".json não foi gravado\n";
    } else if (argumentos[0] != "-") {
        const std::string texto = registros.texto(argumentos);
        if (const int e =
                GravacaoSegura::gravar(argumentos[0] + ".json", texto.data(), texto.size()))
            return falha(codigoSaida::erroArquivo, "não foi possível gravar " + argumentos[0] +
                                                       ".json: " + GravacaoSegura::descricao(e));
    }
    // As on one machine: the table holds the other runs, the status says some failed.
    for (uint64_t k : mescla.falhadas())
        falha(codigoSaida::erroArquivo, "a execução " + std::to_string(k) + " falhou");
    return mescla.falhadas().empty() ? codigoSaida::sucesso : codigoSaida::erroArquivo;
}

} // namespace keldo::cli
