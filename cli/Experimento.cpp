#include "cli/Experimento.h"
#include "cli/DestinosSaida.h"
#include "cli/ExecucaoLote.h"
#include "cli/Interrupcao.h"
#include "cli/PreparoMundo.h"
#include "cli/ProgressoExperimento.h"
#include "cli/RegistroExperimento.h"
#include "cli/RegistroTarefa.h"
#include "cli/TabelaAnterior.h"
#include "cli/TabelaExperimento.h"
#include "io/GravacaoSegura.h"
#include "sim/CKeldoDoc.h"
#include "sim/ParametrosPorNome.h"
#include "sim/Versao.h"
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>
#ifdef __linux__
#include <sched.h>
#endif

namespace keldo::cli {

using namespace keldo::sim;

namespace {
constexpr int saidaInterrompida = 130; // the shell's status for a SIGINT

enum class Desfecho { completa, falhou, interrompida };

// How a run ended, for the experiment's record.
struct FimExecucao {
    std::string motivo; // why it failed
    std::string parada; // its last row's parada; empty without rows
    std::optional<int32_t> ultimoCiclo;
};

// The rows of run k as it goes. A row waits for the next one, so that the
// last can say why the run ended; a row of the same cycle replaces it.
struct Andamento {
    const TabelaExperimento& tabela;
    LinhasExecucao& linhas;
    FimExecucao& fim;
    uint64_t k;
    uint32_t semente;
    std::vector<std::string> valores;
    std::optional<AmostraPopulacao> pendente;

    void anotar(const AmostraPopulacao& a) {
        if (pendente && pendente->tempo != a.tempo)
            tabela.anexarLinha(linhas, k, semente, valores, *pendente, {});
        pendente = a;
    }
    // `a` is the run's last row.
    void fechar(const AmostraPopulacao& a, const std::string& parada) {
        anotar(a);
        terminar(parada);
    }
    // The run broke off: the rows so far stay, the last recorded one saying
    // so (the world after the failure is not measured: it may be half-changed).
    void quebrar() {
        if (pendente)
            terminar("erro");
    }

  private:
    void terminar(const std::string& parada) {
        tabela.anexarLinha(linhas, k, semente, valores, *pendente, parada);
        fim.parada = parada;
        fim.ultimoCiclo = pendente->tempo;
        pendente.reset();
    }
};

// The processors this process may run on (taskset, a cluster's allocation),
// else the machine's, else one.
unsigned processadoresDisponiveis() {
#ifdef __linux__
    cpu_set_t permitidos;
    CPU_ZERO(&permitidos);
    if (sched_getaffinity(0, sizeof permitidos, &permitidos) == 0 && CPU_COUNT(&permitidos) > 0)
        return static_cast<unsigned>(CPU_COUNT(&permitidos));
#endif
    return std::max(std::thread::hardware_concurrency(), 1u);
}

class Experimento {
  public:
    Experimento(const OpcoesExecucao& o, std::ostream& e)
        : opcoes(o), exp(o.experimento), erro(e), falhaDeTeste(lerFalhaDeTeste()) {}

    int executar() {
        semente = opcoes.semente ? *opcoes.semente : sementeDaEntropia();
        erro << "semente: " << semente << '\n' << std::flush;
        if (const int r = verificarTabela(); r != codigoSaida::sucesso)
            return r;
        if (const int r = verificarBase(); r != codigoSaida::sucesso)
            return r;
        std::vector<std::string> avisos = opcoes.avisos;
        if (exp.jobs > OpcoesExperimento::maximoDeTrabalhos)
            avisos.push_back("--jobs " + std::to_string(exp.jobs) + " reduzido a " +
                             std::to_string(OpcoesExperimento::maximoDeTrabalhos));
        for (std::string& aviso : exp.varredura.avisos())
            avisos.push_back(std::move(aviso));
        for (std::string& aviso : conflitos())
            avisos.push_back(std::move(aviso));
        for (const std::string& aviso : avisos)
            erro << "keldo-run: aviso: " << aviso << '\n';
        const std::string impressao = impressaoDoExperimento(opcoes, semente, efetivos);
        registro = std::make_unique<RegistroExperimento>(opcoes, semente, impressao, efetivos);
        TabelaExperimento tabela(impressao, exp.varredura.nomes());
        if (exp.tarefaDada)
            tabela.registrarTarefa(exp.tarefa, exp.tarefas, quantas());
        if (const std::string e = retomar(tabela.cabecalho(), impressao); !e.empty())
            return falha(codigoSaida::erroArquivo, e);
        if (const std::string e = tabela.abrir(exp.tabela); !e.empty())
            return falha(codigoSaida::erroArquivo, e);
        instalarInterrupcao();
        ProgressoExperimento progresso(erro, quantas());
        rodarTodas(tabela, progresso);
        progresso.concluir();
        if (tabela.parou())
            return falha(codigoSaida::erroArquivo, "não foi possível escrever a tabela em " +
                                                       exp.tabela + tabela.razao() +
                                                       "; o experimento parou");
        if (interrompido())
            return concluirInterrompido(tabela);
        if (!tabela.concluir())
            return falha(codigoSaida::erroArquivo,
                         "não foi possível escrever a tabela em " + exp.tabela + tabela.razao());
        if (const int r = gravarRegistro(); r != codigoSaida::sucesso)
            return r;
        return falhas > 0 ? codigoSaida::erroArquivo : codigoSaida::sucesso;
    }

  private:
    const OpcoesExecucao& opcoes;
    const OpcoesExperimento& exp;
    std::ostream& erro;
    uint32_t semente = 0;
    std::atomic<uint64_t> proxima{0};
    std::atomic<int> falhas{0};
    std::vector<std::pair<std::string, std::string>> efetivos; // every parameter of the base
    std::unique_ptr<RegistroExperimento> registro;
    // --resume: the earlier table, and its runs by this experiment's numbers.
    TabelaAnterior anterior;
    std::map<uint64_t, const TabelaAnterior::Execucao*> anteriores;
    const std::optional<std::pair<uint64_t, uint32_t>> falhaDeTeste;

    // --resume: the earlier table's runs, each matched to the run of this
    // experiment with its seed and values. An earlier table of another
    // fingerprint (more replicates or values) needs its record, equal to this
    // one's but for the lists and how it was called.
    std::string retomar(const std::string& cabecalho, const std::string& impressao) {
        if (exp.retomar.empty())
            return {};
        if (std::string e = anterior.ler(exp.retomar, cabecalho, exp.varredura.nomes().size());
            !e.empty())
            return e;
        if (!anterior.impressao().empty() && anterior.impressao() != impressao)
            if (std::string e = conferirRegistroAnterior(); !e.empty())
                return e;
        for (uint64_t p = 0; p < quantas(); ++p) {
            const uint64_t k = primeira() + p * exp.tarefas;
            const auto combinacao = exp.varredura.definicoesDa(k);
            std::vector<std::string> valores;
            for (const auto& par : combinacao)
                valores.push_back(par.second);
            const uint32_t s = sementeDaExecucao(semente, combinacao, exp.varredura.replicaDa(k));
            if (const TabelaAnterior::Execucao* e = anterior.tomar(s, valores))
                anteriores[k] = e;
        }
        if (const uint64_t k = anterior.sobrando())
            return "a execução " + std::to_string(k) + " de " + exp.retomar +
                   " não é deste experimento";
        return {};
    }

    std::string conferirRegistroAnterior() const {
        std::ifstream f(exp.retomar + ".json", std::ios::binary);
        const std::string texto{std::istreambuf_iterator<char>(f), {}};
        std::vector<std::string> antes;
        std::map<uint64_t, std::string> execucoes;
        if (!RegistroExperimento::separar(texto, antes, execucoes))
            return exp.retomar +
                   " é de outro experimento (outra impressão digital, e sem o "
                   "registro " +
                   exp.retomar + ".json)";
        // The lists may grow, and each call has its own command line.
        const auto proprias = [](const std::vector<std::string>& linhas) {
            std::vector<std::string> r;
            for (const std::string& l : linhas) {
                bool propria = false;
                for (const char* chave : {"comando", "experimento", "replicas", "variados",
                                          "tarefa", "projeto", "definidos"})
                    propria = propria || l.rfind("  \"" + std::string(chave) + "\": ", 0) == 0;
                if (!propria)
                    r.push_back(l);
            }
            return r;
        };
        if (proprias(antes) != proprias(registro->abertura()))
            return exp.retomar + " é de outro experimento (o registro difere em mais que as "
                                 "listas)";
        return {};
    }

    // A run of the earlier table: its rows, read again from its file, under
    // this experiment's number.
    Desfecho retomarUma(const TabelaExperimento& tabela, uint64_t k,
                        const TabelaAnterior::Execucao& antiga, LinhasExecucao& linhas,
                        FimExecucao& fim) const {
        const std::string prefixo = tabela.prefixo(k);
        std::string ultima;
        if (!anterior.linhasDe(antiga, [&](const std::string& linha) {
                linhas.anexar(prefixo + linha);
                ultima = linha;
            })) {
            linhas = LinhasExecucao();
            fim.motivo = "não foi possível ler de novo a execução " + std::to_string(antiga.k) +
                         " de " + exp.retomar;
            return Desfecho::falhou;
        }
        ultima.pop_back();
        fim.parada = ultima.substr(ultima.rfind(';') + 1);
        size_t tempo = 0; // after the seed and the varied values
        for (size_t i = 0; i <= exp.varredura.nomes().size(); ++i)
            tempo = ultima.find(';', tempo) + 1;
        fim.ultimoCiclo = std::stoi(ultima.substr(tempo, ultima.find(';', tempo) - tempo));
        if (fim.parada != "limite")
            return Desfecho::completa;
        fim.motivo = CKeldoDoc::avisoLimiteMundo();
        return Desfecho::falhou;
    }

    // The record goes beside the table once the table is in place.
    int gravarRegistro() {
        const std::string destino = RegistroExperimento::destino(opcoes);
        if (destino.empty())
            return codigoSaida::sucesso;
        const std::string texto = registro->texto();
        if (const int e = keldo::io::GravacaoSegura::gravar(destino, texto.data(), texto.size()))
            return falha(codigoSaida::erroArquivo, "não foi possível gravar o registro em " +
                                                       destino + ": " +
                                                       keldo::io::GravacaoSegura::descricao(e));
        return codigoSaida::sucesso;
    }

    int falha(int codigo, const std::string& mensagem) {
        erro << "keldo-run: " << mensagem << '\n' << std::flush;
        return codigo;
    }

    // An interrupted experiment never replaces a whole table of an earlier
    // run: its whole runs go to a file that says it is partial.
    int concluirInterrompido(TabelaExperimento& tabela) {
        const std::string parcial = tabela.concluirParcial(quantas());
        if (parcial.empty())
            return falha(codigoSaida::erroArquivo, "interrompido; não foi possível gravar a "
                                                   "tabela parcial de " +
                                                       exp.tabela + tabela.razao());
        if (parcial == "-")
            return falha(saidaInterrompida, "interrompido: a tabela tem só as execuções completas");
        return falha(saidaInterrompida,
                     "interrompido: as execuções completas estão na tabela parcial " + parcial +
                         (parcial == exp.tabela ? "" : "; " + exp.tabela + " não mudou"));
    }

    // A parameter both --set and --vary-ed takes the list's values: said, once per name.
    std::vector<std::string> conflitos() const {
        std::vector<std::string> r;
        for (const std::string& nome : exp.varredura.nomes())
            for (const auto& definicao : opcoes.definicoes)
                if (definicao.first == nome) {
                    r.push_back("--set " + nome + " e --vary " + nome +
                                ": valem os valores de --vary");
                    break;
                }
        return r;
    }

    // The table replaces its file at the end: it must not be the project read.
    int verificarTabela() {
        std::vector<ArquivoDaExecucao> arquivos;
        if (opcoes.projeto)
            arquivos.push_back({"PROJETO", *opcoes.projeto});
        if (exp.tabela != "-")
            arquivos.push_back({"--table", exp.tabela});
        if (const std::string r = RegistroExperimento::destino(opcoes); !r.empty())
            arquivos.push_back({"--record", r});
        if (arquivos.size() < 2)
            return codigoSaida::sucesso;
        const std::string repetidos = arquivosRepetidos(arquivos);
        return repetidos.empty() ? codigoSaida::sucesso : falha(codigoSaida::erroUso, repetidos);
    }

    // The base every run starts from must make a world at all: a project that
    // does not load or a refused --set stops the experiment before any run.
    int verificarBase() {
        const auto doc = std::make_unique<CKeldoDoc>();
        doc->soContarMortos(true);
        const ResultadoPreparo r = prepararMundo(*doc, opcoes.origem(), semente);
        if (!r.mensagem.empty())
            return falha(r.codigo, r.mensagem);
        if (doc->parametros().gerarTrace == 1)
            return falha(codigoSaida::erroUso, "gerarTrace=1 não vale com --experiment: as "
                                               "execuções gravariam juntas keldo_trace.txt");
        if (const std::string e = exp.varredura.verificarContra(doc->parametros()); !e.empty())
            return falha(codigoSaida::erroUso, e);
        for (const std::string& nome : nomesDeParametros())
            efetivos.emplace_back(nome, valorPorNome(doc->parametros(), nome));
        return codigoSaida::sucesso;
    }

    // This task's runs: k = primeira, primeira + N, ... up to the total.
    uint64_t primeira() const { return exp.tarefa == 0 ? exp.tarefas : exp.tarefa; }
    uint64_t quantas() const {
        const uint64_t total = exp.varredura.total();
        return total < primeira() ? 0 : (total - primeira()) / exp.tarefas + 1;
    }

    bool parar(const TabelaExperimento& tabela) const { return interrompido() || tabela.parou(); }

    // J threads, this one among them; a thread the system refuses means
    // fewer of them, never a failure. How many run is said before the first run.
    void rodarTodas(TabelaExperimento& tabela, ProgressoExperimento& progresso) {
        const unsigned pedidos = exp.jobs ? exp.jobs : processadoresDisponiveis();
        const auto j = static_cast<unsigned>(
            std::min<uint64_t>(std::min(pedidos, OpcoesExperimento::maximoDeTrabalhos),
                               std::max<uint64_t>(quantas(), 1)));
        // Two runs a thread ahead of the first one not yet written: enough to
        // keep every thread busy, few enough that the waiting runs stay small.
        tabela.definirJanela(2 * static_cast<size_t>(j));
        std::promise<void> largada;
        const std::shared_future<void> sinal = largada.get_future().share();
        std::vector<std::thread> trabalhadores;
        try {
            for (unsigned t = 1; t < j; ++t)
                trabalhadores.emplace_back([&, sinal] {
                    sinal.wait();
                    trabalhar(tabela, progresso);
                });
        } catch (const std::system_error&) {
        }
        progresso.mensagem("keldo-run: " + plano(trabalhadores.size() + 1));
        largada.set_value();
        trabalhar(tabela, progresso);
        for (std::thread& t : trabalhadores)
            t.join();
    }

    // How many runs, how many of them an earlier table gives, and how many at once.
    std::string plano(size_t juntas) const {
        const uint64_t n = quantas();
        std::string texto = std::to_string(n) + (n == 1 ? " execução" : " execuções");
        if (exp.tarefaDada)
            texto += " da tarefa " + std::to_string(exp.tarefa) + "/" + std::to_string(exp.tarefas);
        if (!anteriores.empty())
            texto += " (" + std::to_string(anteriores.size()) + " de " + exp.retomar + ")";
        return texto + ", " + std::to_string(juntas) + " ao mesmo tempo";
    }

    void trabalhar(TabelaExperimento& tabela, ProgressoExperimento& progresso) {
        for (uint64_t p; !parar(tabela) && (p = proxima.fetch_add(1)) < quantas();) {
            if (!tabela.aguardarVez(static_cast<size_t>(p), [] { return interrompido(); }))
                return;
            const uint64_t k = primeira() + p * exp.tarefas;
            LinhasExecucao linhas;
            FimExecucao fim;
            const auto antiga = anteriores.find(k);
            const Desfecho d = antiga != anteriores.end()
                                   ? retomarUma(tabela, k, *antiga->second, linhas, fim)
                                   : executarProtegida(tabela, k, linhas, fim);
            if (d == Desfecho::falhou) {
                ++falhas;
                progresso.mensagem("keldo-run: a execução " + std::to_string(k) +
                                   " falhou: " + fim.motivo);
            }
            if (d != Desfecho::interrompida)
                anotarNoRegistro(k, d == Desfecho::falhou, fim);
            // A stopped run is not recorded as failed: its task can be run again.
            tabela.entregar(static_cast<size_t>(p), d == Desfecho::interrompida ? 0 : k,
                            std::move(linhas), d == Desfecho::falhou);
            if (d != Desfecho::interrompida)
                progresso.avancar();
        }
    }

    void anotarNoRegistro(uint64_t k, bool falhou, const FimExecucao& fim) {
        RegistroExperimento::Execucao e;
        e.k = k;
        e.combinacao = exp.varredura.definicoesDa(k);
        e.replica = exp.varredura.replicaDa(k);
        e.semente = sementeDaExecucao(semente, e.combinacao, e.replica);
        e.falhou = falhou;
        e.parada = fim.parada;
        e.ultimoCiclo = fim.ultimoCiclo;
        e.erro = fim.motivo;
        registro->anotar(e);
    }

    Desfecho executarProtegida(const TabelaExperimento& tabela, uint64_t k, LinhasExecucao& linhas,
                               FimExecucao& fim) {
        const auto variados = exp.varredura.definicoesDa(k);
        Andamento andamento{tabela,
                            linhas,
                            fim,
                            k,
                            sementeDaExecucao(semente, variados, exp.varredura.replicaDa(k)),
                            {},
                            {}};
        for (const auto& par : variados)
            andamento.valores.push_back(par.second);
        try {
            return executarUma(andamento, variados);
        } catch (const std::bad_alloc&) {
            fim.motivo = "memória insuficiente";
        } catch (const std::exception& e) {
            fim.motivo = e.what();
        }
        try {
            andamento.quebrar();
        } catch (const std::exception&) {
            linhas = LinhasExecucao(); // not even that row: none at all, rather than a cut run
            fim.parada.clear();
            fim.ultimoCiclo.reset();
        }
        return Desfecho::falhou;
    }

    // The first --until that holds for these figures, in the order given, or null.
    const std::string* condicaoCumprida(const AmostraPopulacao& a) const {
        for (const CondicaoParada& c : exp.ate)
            if (c.vale(a))
                return &c.texto();
        return nullptr;
    }

#ifdef KELDO_RUN_FALHAS_DE_TESTE
    // Tests need a run that breaks off mid-way, and no world does so on
    // demand: in the tests' build (keldo-run-falhas) KELDO_RUN_FALHA_DE_TESTE=K:C
    // makes run K throw after its cycle C. keldo-run itself has no such hook.
    static std::optional<std::pair<uint64_t, uint32_t>> lerFalhaDeTeste() {
        const char* texto = std::getenv("KELDO_RUN_FALHA_DE_TESTE");
        unsigned long long k = 0;
        unsigned long c = 0;
        if (!texto || std::sscanf(texto, "%llu:%lu", &k, &c) != 2)
            return std::nullopt;
        return std::pair{static_cast<uint64_t>(k), static_cast<uint32_t>(c)};
    }

    void talvezFalharNoTeste(uint64_t k, uint32_t c) const {
        if (falhaDeTeste && falhaDeTeste->first == k && falhaDeTeste->second == c)
            throw std::runtime_error("falha provocada no ciclo " + std::to_string(c));
    }
#else
    static std::optional<std::pair<uint64_t, uint32_t>> lerFalhaDeTeste() {
        return std::nullopt;
    }
    void talvezFalharNoTeste(uint64_t, uint32_t) const {}
#endif

    // Run k: the same world a single run with its seed and its --set values
    // makes, recorded at its start, every K-th cycle (or each new
    // generation's first), and its last, which says why it ended.
    Desfecho executarUma(Andamento& andamento,
                         const std::vector<std::pair<std::string, std::string>>& variados) {
        const TabelaExperimento& tabela = andamento.tabela;
        FimExecucao& fim = andamento.fim;
        const auto doc = std::make_unique<CKeldoDoc>();
        doc->medirEstatisticas(false); // the table measures only the cycles it records
        doc->soContarMortos(true);     // a run saves nothing: the dead's number is all it needs
        OrigemMundo origem = opcoes.origem();
        origem.definicoes.insert(origem.definicoes.end(), variados.begin(), variados.end());
        if (const ResultadoPreparo r = prepararMundo(*doc, origem, andamento.semente);
            !r.mensagem.empty()) {
            fim.motivo = r.mensagem;
            return Desfecho::falhou;
        }
        doc->arquivo().definirCaminho(
            {}); // no periodic save over the project every run starts from
        AmostraPopulacao a = EstatisticasPopulacao::medir(*doc);
        int32_t geracaoGravada = a.geracao;
        if (const std::string* cumprida = condicaoCumprida(a)) {
            andamento.fechar(a, *cumprida);
            return Desfecho::completa;
        }
        if (opcoes.ciclos == 0) {
            andamento.fechar(a, "ciclos");
            return Desfecho::completa;
        }
        andamento.anotar(a);
        for (uint32_t c = 1; c <= opcoes.ciclos; ++c) {
            if (parar(tabela))
                return Desfecho::interrompida;
            if (!doc->executarCiclo()) { // past the world-size limit: the world stays as it was
                fim.motivo = CKeldoDoc::avisoLimiteMundo();
                andamento.fechar(EstatisticasPopulacao::medir(*doc), "limite");
                return Desfecho::falhou;
            }
            talvezFalharNoTeste(andamento.k, c);
            const bool ultimo = c == opcoes.ciclos;
            const bool gravar = (exp.porGeracao && doc->geracao() != geracaoGravada) ||
                                (exp.cada && c % exp.cada == 0);
            if (!ultimo && exp.ate.empty() && !gravar)
                continue;
            a = EstatisticasPopulacao::medir(*doc);
            if (const std::string* cumprida = condicaoCumprida(a)) {
                andamento.fechar(a, *cumprida);
                break;
            }
            if (ultimo) {
                andamento.fechar(a, "ciclos");
                break;
            }
            if (gravar) {
                andamento.anotar(a);
                geracaoGravada = a.geracao;
            }
        }
        if (doc->salvamentosPeriodicosFalhos() > 0) {
            fim.motivo = "salvamento periódico falhou";
            return Desfecho::falhou;
        }
        return Desfecho::completa;
    }
};
} // namespace

int executarExperimento(const OpcoesExecucao& opcoes, std::ostream& erro) {
    return Experimento(opcoes, erro).executar();
}

std::string impressaoDoExperimento(const OpcoesExecucao& o, uint32_t semente,
                                   std::vector<std::pair<std::string, std::string>> parametros) {
    const OpcoesExperimento& e = o.experimento;
    std::string texto = std::string("versao=") + versaoKeldo() +
                        "\nciclos=" + std::to_string(o.ciclos) +
                        "\nsemente=" + std::to_string(semente) + "\nnovo=" + (o.novo ? "1" : "0") +
                        "\nprojeto=" + (o.projeto ? "1" : "0");
    if (o.projeto) {
        std::ifstream f(*o.projeto, std::ios::binary);
        texto += std::string(std::istreambuf_iterator<char>(f), {});
    }
    std::sort(parametros.begin(), parametros.end());
    for (const auto& [nome, valor] : parametros)
        texto += "\nparametro=" + nome + "=" + valor;
    texto += "\n" + e.varredura.descricao() +
             "\nevery=" + (e.porGeracao ? std::string("geracao") : std::to_string(e.cada));
    for (const CondicaoParada& c : e.ate)
        texto += "\nuntil=" + c.texto();
    const uint64_t h = RegistroTarefa::soma(texto);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>((h ^ (h >> 32)) & 0xFFFFFFFFu));
    return std::string(hex) + "-" + std::to_string(e.varredura.total());
}

} // namespace keldo::cli
