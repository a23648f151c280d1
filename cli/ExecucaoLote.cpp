#include "cli/ExecucaoLote.h"
#include "cli/DestinosSaida.h"
#include "cli/PreparoMundo.h"
#include "io/GravacaoSegura.h"
#include "sim/CKeldoDoc.h"
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

namespace keldo::cli {

using namespace keldo::sim;
using namespace keldo::io;

namespace {

// The name the cycle itself appends to when gerarTrace is on.
constexpr const char* traceDoCiclo = "keldo_trace.txt";

// Periodic saves in cycles tempo+1 .. tempo+ciclos: those whose number is a
// multiple of the period.
int64_t salvamentosPeriodicos(int64_t tempo, uint32_t ciclos, int64_t periodo) {
    auto piso = [periodo](int64_t t) {
        return t >= 0 ? t / periodo : -((-t + periodo - 1) / periodo);
    };
    return piso(tempo + ciclos) - piso(tempo);
}

class ExecucaoLote {
  public:
    ExecucaoLote(const OpcoesExecucao& o, std::ostream& s, std::ostream& e)
        : opcoes(o), saida(s), erro(e), doc(std::make_unique<CKeldoDoc>()) {}

    int executar() {
        const int preparo = prepararMundo();
        if (preparo != codigoSaida::sucesso)
            return preparo;
        if (opcoes.arquivoResumo && !abrirResumo())
            return falha(codigoSaida::erroArquivo, "não foi possível criar o resumo em " +
                                                       *opcoes.arquivoResumo + razaoResumo());
        rodarCiclos();
        if (opcoes.arquivoResumo && !fecharResumo())
            falha(codigoSaida::erroArquivo,
                  "não foi possível escrever o resumo em " + *opcoes.arquivoResumo + razaoResumo());
        // Data on standard output sends the status line to standard error.
        (resumoNaSaida() || salvarNaSaida() ? erro : saida) << doc->textoStatus() << '\n'
                                                            << std::flush;
        if (salvarNaSaida() && !salvarNaSaidaPadrao())
            return falha(codigoSaida::erroArquivo,
                         "não foi possível escrever o projeto na saída padrão");
        if (opcoes.arquivoSalvar && !salvarNaSaida()) {
            const ResultadoArquivo r = doc->salvarProjeto(*opcoes.arquivoSalvar);
            if (!r.ok)
                return falha(codigoSaida::erroArquivo, r.mensagem);
        }
        if (doc->salvamentosPeriodicosFalhos() > 0)
            return falha(
                codigoSaida::erroArquivo,
                std::to_string(doc->salvamentosPeriodicosFalhos()) +
                    " salvamento(s) periódico(s) falharam; o último: " + doc->ultimaFalhaSalvar());
        return traceFalhou || resumoFalhou || limiteAtingido ? codigoSaida::erroArquivo
                                                             : codigoSaida::sucesso;
    }

  private:
    const OpcoesExecucao& opcoes;
    std::ostream& saida;
    std::ostream& erro;
    std::unique_ptr<CKeldoDoc> doc;
    bool traceFalhou = false;
    // The world passed CKeldoDoc::limiteMundo: the run ended early, its files are written.
    bool limiteAtingido = false;
    // The summary file: lines gather in `blocoResumo` and go out in large
    // writes; it replaces an older file of that name only when it is whole.
    std::optional<GravacaoSegura> resumo;
    std::string blocoResumo;
    bool resumoFalhou = false;
    static constexpr size_t tamanhoBlocoResumo = 1 << 16;

    bool resumoNaSaida() const { return opcoes.arquivoResumo == "-"; }
    bool salvarNaSaida() const { return opcoes.arquivoSalvar == "-"; }

    bool salvarNaSaidaPadrao() {
        const std::vector<uint8_t> bytes = doc->serializar();
        return !bytes.empty() &&
               std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
               std::fflush(stdout) == 0;
    }

    int falha(int codigo, const std::string& mensagem) {
        erro << "keldo-run: " << mensagem << '\n' << std::flush;
        return codigo;
    }

    // Every file the run writes must be writable before the first cycle.
    int verificarDestinos() {
        for (const auto& [opcao, arquivo, porRenomeacao] :
             {std::tuple{"--save", opcoes.arquivoSalvar, true},
              std::tuple{"--trace", opcoes.arquivoTrace, false},
              std::tuple{"--summary", opcoes.arquivoResumo, true}}) {
            if (!arquivo || *arquivo == "-")
                continue;
            const std::string problema = problemaDeEscrita({opcao, *arquivo}, porRenomeacao);
            if (!problema.empty())
                return falha(codigoSaida::erroArquivo, problema);
        }
        return codigoSaida::sucesso;
    }

    // No two of the files the run reads and writes may be one file: one would
    // overwrite or append into the other. Without the world, only the names
    // on the command line; with it, the cycle's trace and the snapshots too.
    int verificarRepetidos(bool comMundo) {
        std::vector<ArquivoDaExecucao> arquivos;
        auto juntar = [&](const char* opcao, const std::optional<std::string>& arquivo) {
            if (arquivo)
                arquivos.push_back({opcao, *arquivo});
        };
        // Reading the project and then saving over it is a continued run.
        if (!(opcoes.projeto && opcoes.arquivoSalvar && !salvarNaSaida() &&
              mesmoArquivo(*opcoes.projeto, *opcoes.arquivoSalvar)))
            juntar("PROJETO", opcoes.projeto);
        if (!salvarNaSaida())
            juntar("--save", opcoes.arquivoSalvar);
        juntar("--trace", opcoes.arquivoTrace);
        if (!resumoNaSaida())
            juntar("--summary", opcoes.arquivoResumo);
        if (comMundo)
            juntarDoMundo(arquivos);
        const std::string repetidos = arquivosRepetidos(arquivos);
        return repetidos.empty() ? codigoSaida::sucesso : falha(codigoSaida::erroUso, repetidos);
    }

    void juntarDoMundo(std::vector<ArquivoDaExecucao>& arquivos) const {
        // The cycle appends to keldo_trace.txt; --trace may name it, it is written once.
        if (doc->parametros().gerarTrace == 1 &&
            !(opcoes.arquivoTrace && mesmoArquivo(*opcoes.arquivoTrace, traceDoCiclo)))
            arquivos.push_back({"gerarTrace", traceDoCiclo});
        if (!doc->arquivo().temCaminho())
            return; // nothing is saved to a file, so no snapshot is written
        const int64_t periodicos =
            doc->parametros().salvarAtivo && doc->arquivo().temCaminho()
                ? salvamentosPeriodicos(doc->tempo(), opcoes.ciclos, doc->parametros().salvarCiclos)
                : 0;
        const int64_t ultimo = std::min<int64_t>(
            int64_t{doc->numSnapshot()} + periodicos - (opcoes.arquivoSalvar ? 0 : 1), INT32_MAX);
        const std::string opcao =
            opcoes.arquivoSalvar ? "snapshot de --save" : "snapshot de PROJETO";
        for (ArquivoDaExecucao& s :
             snapshotsEntre(opcao, doc->arquivo().caminho(), doc->numSnapshot(), ultimo, arquivos))
            arquivos.push_back(std::move(s));
    }

    // Creates the file with the header and the line of the starting state.
    bool abrirResumo() {
        if (!resumoNaSaida() && !resumo.emplace(*opcoes.arquivoResumo).aberta())
            return false;
        blocoResumo.reserve(tamanhoBlocoResumo + 512);
        blocoResumo = EstatisticasPopulacao::cabecalhoCsv();
        blocoResumo += '\n';
        anexarResumo();
        return true;
    }

    void anexarResumo() {
        EstatisticasPopulacao::anexarLinhaCsv(blocoResumo, doc->estatisticas().ultima());
        blocoResumo += '\n';
        if (blocoResumo.size() >= tamanhoBlocoResumo)
            escreverBlocoResumo();
    }

    void escreverBlocoResumo() {
        const size_t n = blocoResumo.size();
        if (!resumoFalhou && !(resumo ? resumo->escrever(blocoResumo.data(), n)
                                      : std::fwrite(blocoResumo.data(), 1, n, stdout) == n))
            resumoFalhou = true;
        blocoResumo.clear();
    }

    bool fecharResumo() {
        escreverBlocoResumo();
        if (!resumoFalhou && !(resumo ? resumo->concluir() : std::fflush(stdout) == 0))
            resumoFalhou = true;
        return !resumoFalhou;
    }

    std::string razaoResumo() const {
        std::string r = resumo && resumo->erro() ? ": " + GravacaoSegura::descricao(resumo->erro())
                                                 : std::string();
        if (resumo && !resumo->mantido().empty())
            r += "; o resumo ficou em " + resumo->mantido();
        return r;
    }

    int prepararMundo() {
        // Only the summary reads the per-cycle figures; without it they are not measured.
        doc->medirEstatisticas(opcoes.arquivoResumo.has_value());
        if (resumoNaSaida() && salvarNaSaida())
            return falha(codigoSaida::erroUso,
                         "--summary - e --save - não podem ambos usar a saída padrão");
        if (const int r = verificarRepetidos(false); r != codigoSaida::sucesso)
            return r;
        if (const int r = verificarDestinos(); r != codigoSaida::sucesso)
            return r;
        const uint32_t semente = opcoes.semente ? *opcoes.semente : sementeDaEntropia();
        if (opcoes.referencia) // from the world's making on
            doc->definirUsarReferencia(true);
        const ResultadoPreparo r = cli::prepararMundo(*doc, opcoes.origem(), semente);
        if (!r.mensagem.empty())
            return falha(r.codigo, r.mensagem);
        const bool continuar = opcoes.projeto && !opcoes.novo;
        // A new world made from a project is not that project: periodic saves
        // never overwrite the file it was read from.
        doc->arquivo().definirCaminho(salvarNaSaida()        ? std::string()
                                      : opcoes.arquivoSalvar ? *opcoes.arquivoSalvar
                                      : continuar            ? *opcoes.projeto
                                                             : std::string());
        if (const int v = verificarRepetidos(true); v != codigoSaida::sucesso)
            return v;
        for (const std::string& aviso : opcoes.avisos)
            erro << "keldo-run: aviso: " << aviso << '\n';
        erro << "semente: " << semente << '\n' << std::flush;
        return codigoSaida::sucesso;
    }

    void rodarCiclos() {
        // The cycle already appends to keldo_trace.txt; never write a block twice.
        const bool escreverTrace =
            opcoes.arquivoTrace && !(doc->parametros().gerarTrace == 1 &&
                                     mesmoArquivo(*opcoes.arquivoTrace, traceDoCiclo));
        for (uint32_t c = 0; c < opcoes.ciclos; ++c) {
            if (!doc->executarCiclo()) {
                limiteAtingido = true;
                falha(codigoSaida::erroArquivo, CKeldoDoc::avisoLimiteMundo());
                return;
            }
            if (opcoes.arquivoResumo)
                anexarResumo();
            int erroTrace = 0;
            if (escreverTrace && !doc->escreverTrace(*opcoes.arquivoTrace, true, &erroTrace) &&
                !traceFalhou) {
                traceFalhou = true;
                falha(codigoSaida::erroArquivo, "não foi possível escrever o trace em " +
                                                    *opcoes.arquivoTrace + ": " +
                                                    GravacaoSegura::descricao(erroTrace));
            }
        }
    }
};
} // namespace

int executarLote(const OpcoesExecucao& opcoes, std::ostream& saida, std::ostream& erro) {
    return ExecucaoLote(opcoes, saida, erro).executar();
}

} // namespace keldo::cli
