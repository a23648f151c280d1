#include "cli/ExecucaoLote.h"
#include "sim/CKeldoDoc.h"
#include "sim/ParametrosPorNome.h"
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <new>

namespace {
namespace fs = std::filesystem;

// The name the cycle itself appends to when gerarTrace is on.
constexpr const char* traceDoCiclo = "keldo_trace.txt";

bool mesmoArquivo(const std::string& a, const std::string& b) {
    std::error_code erro;
    const fs::path pa = fs::weakly_canonical(fs::absolute(a, erro), erro);
    const fs::path pb = fs::weakly_canonical(fs::absolute(b, erro), erro);
    return !erro && pa == pb;
}

// A file can be written there: its folder exists and the name is not a folder.
std::string problemaDeDestino(const std::string& opcao, const std::string& arquivo) {
    std::error_code erro;
    fs::path pasta = fs::path(arquivo).parent_path();
    if (pasta.empty())
        pasta = ".";
    if (!fs::is_directory(pasta, erro))
        return "a pasta de " + opcao + " não existe: " + pasta.string();
    if (fs::is_directory(arquivo, erro))
        return opcao + " indica uma pasta: " + arquivo;
    return {};
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
            return falha(codigoSaida::erroArquivo,
                         "não foi possível criar o resumo em " + *opcoes.arquivoResumo);
        rodarCiclos();
        if (opcoes.arquivoResumo && !fecharResumo())
            falha(codigoSaida::erroArquivo,
                  "não foi possível escrever o resumo em " + *opcoes.arquivoResumo);
        saida << doc->textoStatus() << '\n' << std::flush;
        if (opcoes.arquivoSalvar) {
            const ResultadoArquivo r = doc->salvarProjeto(*opcoes.arquivoSalvar);
            if (!r.ok)
                return falha(codigoSaida::erroArquivo, r.mensagem);
        }
        if (doc->salvamentosPeriodicosFalhos > 0)
            return falha(codigoSaida::erroArquivo,
                         std::to_string(doc->salvamentosPeriodicosFalhos) +
                             " salvamento(s) periódico(s) falharam");
        return traceFalhou || resumoFalhou ? codigoSaida::erroArquivo : codigoSaida::sucesso;
    }

  private:
    const OpcoesExecucao& opcoes;
    std::ostream& saida;
    std::ostream& erro;
    std::unique_ptr<CKeldoDoc> doc;
    bool traceFalhou = false;
    // The summary file: lines gather in `blocoResumo` and go out in large writes.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> resumo{nullptr, &std::fclose};
    std::string blocoResumo;
    bool resumoFalhou = false;
    static constexpr size_t tamanhoBlocoResumo = 1 << 16;

    int falha(int codigo, const std::string& mensagem) {
        erro << "keldo-run: " << mensagem << '\n' << std::flush;
        return codigo;
    }

    int verificarDestinos() {
        for (const auto& [opcao, arquivo] :
             {std::pair{"--save", opcoes.arquivoSalvar}, std::pair{"--trace", opcoes.arquivoTrace},
              std::pair{"--summary", opcoes.arquivoResumo}}) {
            if (!arquivo)
                continue;
            const std::string problema = problemaDeDestino(opcao, *arquivo);
            if (!problema.empty())
                return falha(codigoSaida::erroArquivo, problema);
        }
        return verificarResumo();
    }

    // The summary is written from scratch: it must not overwrite the project
    // read or the other files of the run.
    int verificarResumo() {
        if (!opcoes.arquivoResumo)
            return codigoSaida::sucesso;
        for (const auto& [opcao, arquivo] :
             {std::pair{"PROJETO", opcoes.projeto}, std::pair{"--save", opcoes.arquivoSalvar},
              std::pair{"--trace", opcoes.arquivoTrace}})
            if (arquivo && mesmoArquivo(*arquivo, *opcoes.arquivoResumo))
                return falha(codigoSaida::erroUso,
                             std::string("--summary e ") + opcao + " indicam o mesmo arquivo");
        return codigoSaida::sucesso;
    }

    // Creates the file with the header and the line of the starting state.
    bool abrirResumo() {
        resumo.reset(std::fopen(opcoes.arquivoResumo->c_str(), "wb"));
        if (!resumo)
            return false;
        blocoResumo.reserve(tamanhoBlocoResumo + 512);
        blocoResumo = EstatisticasPopulacao::cabecalhoCsv();
        blocoResumo += '\n';
        anexarResumo();
        return true;
    }

    void anexarResumo() {
        EstatisticasPopulacao::anexarLinhaCsv(blocoResumo, doc->estatisticas.ultima());
        blocoResumo += '\n';
        if (blocoResumo.size() >= tamanhoBlocoResumo)
            escreverBlocoResumo();
    }

    void escreverBlocoResumo() {
        if (!resumoFalhou && std::fwrite(blocoResumo.data(), 1, blocoResumo.size(), resumo.get()) !=
                                 blocoResumo.size())
            resumoFalhou = true;
        blocoResumo.clear();
    }

    bool fecharResumo() {
        escreverBlocoResumo();
        if (std::fclose(resumo.release()) != 0)
            resumoFalhou = true;
        return !resumoFalhou;
    }

    int aplicarDefinicoes() {
        for (const auto& [nome, valor] : opcoes.definicoes)
            if (definirParametroPorNome(doc->parametros, nome, valor) != ResultadoDefinicao::ok)
                return falha(codigoSaida::erroUso, "valor inválido para " + nome);
        const std::string inutilizavel = doc->parametros.valorInutilizavel();
        if (!inutilizavel.empty())
            return falha(codigoSaida::erroUso, "valor recusado: " + inutilizavel);
        return codigoSaida::sucesso;
    }

    int prepararMundo() {
        doc->ignorarTempoReal = true;
        doc->mortosEmArquivo = true; // long runs would otherwise fill memory with the dead
        // Only the summary reads the per-cycle figures; without it they are not measured.
        doc->estatisticas.ligada = opcoes.arquivoResumo.has_value();
        if (opcoes.semente)
            doc->sementeFixa = *opcoes.semente;
        else // the simulator's start-up world seeds with the clock before any load
            doc->rng.semear(static_cast<uint32_t>(std::time(nullptr)));
        if (const int r = verificarDestinos(); r != codigoSaida::sucesso)
            return r;
        if (opcoes.projeto) {
            const ResultadoArquivo r = doc->carregarProjeto(*opcoes.projeto);
            if (!r.ok)
                return falha(codigoSaida::erroArquivo, r.mensagem);
        }
        if (const int r = aplicarDefinicoes(); r != codigoSaida::sucesso)
            return r;
        const bool continuar = opcoes.projeto && !opcoes.novo;
        if (!continuar)
            doc->criarMundo();
        else if (opcoes.semente)
            doc->rng.semear(*opcoes.semente);
        reservarVivos();
        // A new world made from a project is not that project: periodic saves
        // never overwrite the file it was read from.
        doc->caminho = opcoes.arquivoSalvar ? *opcoes.arquivoSalvar
                       : continuar          ? *opcoes.projeto
                                            : std::string();
        return codigoSaida::sucesso;
    }

    // Room for the living of a crowded world, taken at once: room never
    // touched costs no memory, and a list that never has to move never holds
    // two copies of itself. Where the system refuses it, the list grows as it goes.
    void reservarVivos() {
        constexpr size_t lugares = size_t{1} << 21;
        try {
            doc->vivos.reserve(lugares);
        } catch (const std::bad_alloc&) {
        }
    }

    void rodarCiclos() {
        // The cycle already appends to keldo_trace.txt; never write a block twice.
        const bool escreverTrace =
            opcoes.arquivoTrace &&
            !(doc->parametros.gerarTrace == 1 && mesmoArquivo(*opcoes.arquivoTrace, traceDoCiclo));
        for (uint32_t c = 0; c < opcoes.ciclos; ++c) {
            doc->executarCiclo();
            if (resumo)
                anexarResumo();
            if (escreverTrace && !doc->escreverTrace(*opcoes.arquivoTrace, true) && !traceFalhou) {
                traceFalhou = true;
                falha(codigoSaida::erroArquivo,
                      "não foi possível escrever o trace em " + *opcoes.arquivoTrace);
            }
        }
    }
};
} // namespace

int executarLote(const OpcoesExecucao& opcoes, std::ostream& saida, std::ostream& erro) {
    return ExecucaoLote(opcoes, saida, erro).executar();
}
