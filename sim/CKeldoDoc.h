#pragma once
#include "io/CArchive.h"
#include "model/Ambiente.h"
#include "model/FoodX.h"
#include "model/Geometry.h"
#include "model/Individuo.h"
#include "model/Random.h"
#include "sim/ArmazemMortos.h"
#include "sim/ArquivoProjeto.h"
#include "sim/EstadoArquivo.h"
#include "sim/EstatisticasPopulacao.h"
#include "sim/KeldoHost.h"
#include "sim/SimulationParameters.h"
#include "sim/indices/BuscaVizinhos.h"
#include "sim/indices/GradeEspacial.h"
#include "sim/indices/ObstaculosNivel.h"
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace keldo::io {
class CArchive;
} // namespace keldo::io

namespace keldo::sim {

using keldo::indices::BuscaVizinhos;
using keldo::indices::GradeEspacial;
using keldo::indices::MapaObstaculos;
using keldo::indices::ObstaculosNivel;
using keldo::io::CArchive;
using keldo::model::Ambiente;
using keldo::model::FoodX;
using keldo::model::Random;
using keldo::model::Rect;
using keldo::model::SpecX;

// Run state of a document: never started since the world was made, running,
// or stopped by the user.
enum class EstadoExecucao : int { naoIniciado = 0, executando = 1, parado = 2 };

// The simulator's document: the parameters, the world (lists, counters,
// obstacles, random generator) and every operation of the cycle. It is the
// world its individuals and food items see (Ambiente); final, so that its own
// calls of those functions are direct.
class CKeldoDoc final : public Ambiente {
  public:
    CKeldoDoc();
    CKeldoDoc(const CKeldoDoc&) = delete;
    CKeldoDoc& operator=(const CKeldoDoc&) = delete;

    // World creation and obstacles.
    bool criarMundo();
    // The obstacle rectangles of a level code ('r', 'f', 'm', 'd'); metade 0 = left, 1 = right.
    static std::span<const Rect> tabelaObstaculos(char codigo, int metade);
    // The picture of an individual in the arena (0..7), from its stage, sex
    // and Morte genotype: the desktop view and the web page both paint by it.
    static int indiceImagem(const SpecX& individuo);

    // One cycle. False when the run was stopped instead (world past `limiteMundo`).
    bool executarCiclo();
    // The most living individuals plus food items a world may have when a
    // cycle starts or ends: a cycle there takes a fraction of a second and a
    // few tens of MB. A cycle that would end past it is not run (the world is
    // left as it was).
    static constexpr size_t limiteMundo = 300000;
    static std::string avisoLimiteMundo();
    // Writes the status text to the host's status line.
    void atualizarStatus();
    std::string textoStatus() const;

    // Files.
    // False when the file could not be written; `erroSistema` then gets the errno.
    bool escreverTrace(const std::string& nomeArquivo, bool anexarAoFim,
                       int* erroSistema = nullptr) const;
    static std::string raizSnapshot(const std::string& caminhoProjeto);
    // False for a project saved to a device or to standard output ("-").
    static bool temSnapshot(const std::string& caminhoProjeto);
    ResultadoArquivo salvarProjeto(const std::string& caminhoProjeto, bool comSnapshot = true);
    ResultadoArquivo carregarProjeto(const std::string& caminhoProjeto);
    ResultadoArquivo carregarBytes(const std::vector<uint8_t>& bytes);
    // The project file's bytes; empty when the dead kept in the temporary file can't be read.
    std::vector<uint8_t> serializar();
    void completarObjetos();

    // The empty document: no individuals, no food, counters at 0, the level of
    // the parameters, the generator seeded with the time and no file.
    void iniciarVazio(KeldoHost* host);
    // An empty world under the current parameters and counters (an empty file read).
    void esvaziarMundo();
    // The lists of a genotype edit: generation back to 0 and the next id past `proximoIdMinimo`.
    void substituirIndividuos(std::vector<SpecX> novosVivos, std::vector<SpecX> novosMortos,
                              int32_t proximoIdMinimo);

    // Read-only state.
    const SimulationParameters& parametros() const { return parametros_; }
    const Rect& arena() const { return arena_; }
    char codigoNivel() const { return obstaculos.codigoNivel(); }
    int bitmapFundo() const { return obstaculos.bitmapFundo(); }
    bool executando() const { return estadoExecucao_ == EstadoExecucao::executando; }
    const std::vector<SpecX>& vivos() const { return vivos_; }
    // The dead still in memory (`numMortos` counts all of them).
    const std::vector<SpecX>& mortos() const { return mortos_.naMemoria(); }
    const std::vector<FoodX>& alimentos() const { return alimentos_; }
    int32_t geracao() const { return geracao_; }
    int32_t proximoId() const { return proximoId_; }
    int32_t tempo() const override { return tempo_; }
    int32_t numSnapshot() const { return numSnapshot_; }
    int32_t ovos() const { return ovos_; }
    // Per-cycle figures since the world was made or loaded (never stored in the project).
    const EstatisticasPopulacao& estatisticas() const { return estatisticas_; }
    const std::optional<uint32_t>& sementeFixa() const { return sementeFixa_; }
    // The seed the present world was made with; none for a world read from a project.
    const std::optional<uint32_t>& sementeMundo() const { return sementeMundo_; }
    // Periodic saves that failed since the document was made.
    int salvamentosPeriodicosFalhos() const { return salvamentosPeriodicosFalhos_; }
    // The message of the last save that failed (empty while none failed).
    const std::string& ultimaFalhaSalvar() const { return ultimaFalhaSalvar_; }
    // Discrete generations that can never renew: fewer eggs than the next
    // generation waits for, and no living adult pair that may mate (eggs hatch
    // only at the renewal, so no new adult will come to lay them).
    bool geracaoParada() const;
    const EstadoArquivo& arquivo() const { return arquivo_; }
    EstadoArquivo& arquivo() { return arquivo_; }

    // The dead, in the order they died, those in memory and those the store
    // moved to its temporary file.
    size_t numMortos() const { return mortos_.quantidade(); }

    // Operations of the programs that run a document.
    void definirHost(KeldoHost* novoHost) { host_ = novoHost; }
    void definirArena(const Rect& area) { arena_ = area; }
    void definirParametros(const SimulationParameters& novos);
    void iniciarExecucao();
    void pararExecucao() { estadoExecucao_ = EstadoExecucao::parado; }
    // When set, every world creation seeds with this instead of the calendar time.
    void definirSementeFixa(std::optional<uint32_t> semente) { sementeFixa_ = semente; }
    void semear(uint32_t semente) { rng_.semear(semente); }
    // The one stream every draw of the world comes from: the individuals',
    // the view's jitter and the empty individuals of the dialogs.
    Random& gerador() override { return rng_; }
    // Batch runs go as fast as they can; the real-time spacing paces animated runs only.
    void definirIgnorarTempoReal(bool ignorar) { ignorarTempoReal_ = ignorar; }
    // The dead are counted, not kept, those a load reads too: for batch runs
    // that never save, trace nor snapshot (a save would fail).
    void soContarMortos(bool contar) { mortos_.soContar(contar); }
    void guardarMortosEmArquivo(bool guardar, size_t limite = ArquivoMortos::tamanhoBloco) {
        mortos_.usarArquivo(guardar, limite);
    }
    void medirEstatisticas(bool medir) { estatisticas_.ligada = medir; }
    void reservarVivos(size_t lugares) { vivos_.reserve(lugares); }
    // Straight scans over whole lists instead of the spatial indexes: the
    // reference the indexed path must match draw for draw.
    void definirUsarReferencia(bool usar) {
        busca = BuscaVizinhos::criar(usar, obstaculos, arena_);
        obstaculos.definirPorVarredura(usar);
    }

  private:
    // Tests and benchmarks build worlds by hand and run single phases through it.
    friend class AcessoDocumento;

    // What an individual or a food item asks of its world (`Ambiente`).
    const Rect* pontoEmObstaculo(int x, int y) const override {
        return obstaculos.pontoEmObstaculo(x, y, arena_);
    }
    // The values of `parametros()` an individual or a food item reads.
    Parametros parametrosModelo() const override;
    void registrar(FoodX& alimento) const override;
    int caminhoBloqueado(int x1, int y1, int x2, int y2) const {
        return obstaculos.caminhoBloqueado(x1, y1, x2, y2, arena_);
    }

    // The steps of a world's creation.
    void limparMundo();
    void escolherNivel();
    void construirObstaculos();

    // The phases of a cycle.
    void renovarGeracao();
    void procurarParceira();
    // `aposBusca`: the partner search just ran and nothing has changed the list since.
    int acasalar(bool aposBusca = false);
    SpecX* escolherParceiro(const std::vector<SpecX*>& candidatos);
    void procurarAlimento();
    int comer();
    void distribuirAlimento(const std::vector<SpecX*>& candidatos, const FoodX& alimento);
    void reporAlimento(int comidos, int taxa);
    // How many items `reporAlimento` adds.
    static int itensRepostos(int comidos, int taxa);
    void moverIndividuos();
    bool mundoAlemDoLimite() const { return vivos_.size() + alimentos_.size() > limiteMundo; }
    // The most living individuals plus food items the next cycle can end
    // with, known before it starts.
    size_t maximoAoFimDoCiclo() const;

    std::string nomeSnapshot(const std::string& caminhoProjeto) const;
    // Every dead individual, oldest first. False when the stored ones cannot be read back.
    template <class Visitar> bool paraCadaMorto(Visitar&& visitar) const {
        return mortos_.paraCada(visitar);
    }

    SimulationParameters parametros_;
    KeldoHost* host_ = nullptr; // the main window; none without a GUI
    Rect arena_{0, 0, 640, 480};
    EstadoExecucao estadoExecucao_ = EstadoExecucao::naoIniciado;
    std::vector<SpecX> vivos_;
    ArmazemMortos mortos_;
    std::vector<FoodX> alimentos_;
    int32_t geracao_ = 0;
    int32_t proximoId_ = 1;
    int32_t tempo_ = 0;
    int32_t numSnapshot_ = 0;
    int32_t ovos_ = 0;
    EstatisticasPopulacao estatisticas_;
    Random rng_;
    std::optional<uint32_t> sementeFixa_;
    std::optional<uint32_t> sementeMundo_;
    bool ignorarTempoReal_ = false;
    EstadoArquivo arquivo_;
    int salvamentosPeriodicosFalhos_ = 0;
    std::string ultimaFalhaSalvar_;
    std::string status_;

    // Reads a whole project and, only when all of it is sound, makes it the world.
    ResultadoArquivo carregar(CArchive& ar);
    // Stops the run on the document's own account and tells the host why.
    void interromperExecucao(const std::string& motivo);
    // The world at the start of a cycle that might end past `limiteMundo`,
    // put back when it would; its lists keep their room from cycle to cycle.
    struct InicioCiclo {
        std::vector<SpecX> vivos;
        std::vector<FoodX> alimentos;
        size_t mortos = 0;
        int32_t ovos = 0, proximoId = 0, geracao = 0;
        Random rng;
    };
    InicioCiclo inicioCiclo;
    void guardarInicioCiclo();
    void restaurarInicioCiclo();
    // Females that could lay a child in the next cycle.
    size_t maesPossiveis() const;
    // The phases of one cycle; false, with the world as it was, when it would end past the limit.
    bool fasesDoCiclo();
    ObstaculosNivel obstaculos;
    // Who is near whom in the phases; the whole-list scan or the indexes.
    std::unique_ptr<BuscaVizinhos> busca;
    template <class T> static T* itemEm(std::vector<T>& lista, int64_t pos) {
        return pos < 0 ? nullptr : &lista[static_cast<size_t>(pos)];
    }
    const MapaObstaculos* mapaDaFase() const { return obstaculos.mapaDaFase(arena_); }
    // Scratch lists of the phases, reused from cycle to cycle.
    std::vector<SpecX*> candidatosParceiro;
    std::vector<SpecX*> lutadores;
    std::vector<SpecX*> naoPartilham;
    std::vector<SpecX> recemNascidos;
    std::vector<uint8_t> alimentoComido;
    void salvarPeriodico();
    // The movement phase over a world that answers gerador() and pontoEmObstaculo(x, y).
    template <class Mundo> void moverCom(Mundo& mundo);
};

} // namespace keldo::sim
