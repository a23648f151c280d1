// The cycle around its phases: generation turnover, status line, redraw,
// periodic save, trace and the real-time throttle.
#include "AcessoDocumento.h"
#include "ArquivoApoio.h"
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

using namespace keldo::model;
using namespace keldo::sim;

namespace {
const std::string geracaoUtf8 = "Gera\xC3\xA7\xC3\xA3o";

// Stands in for the main window: records what the cycle asks of it and
// hands out tick readings the test chooses.
class HostFalso : public KeldoHost {
  public:
    explicit HostFalso(CKeldoDoc& d) : doc(d) { doc.definirHost(this); }
    ~HostFalso() override { doc.definirHost(nullptr); }

    void definirStatus(const std::string& texto) override { status.push_back(texto); }
    void atualizarVistas() override { redesenhos.push_back(doc.tempo()); }
    void pararTimer() override { eventos.push_back("parar"); }
    void iniciarTimer(int ms) override { eventos.push_back("iniciar " + std::to_string(ms)); }
    bool salvarDocumento() override {
        eventos.push_back("salvar " + std::to_string(doc.numSnapshot()));
        return resultadoSalvar;
    }
    void execucaoParada(const std::string& motivo) override {
        eventos.push_back("parada " + motivo);
    }
    uint32_t contadorTicks() const override {
        ++leituras;
        const uint32_t v = agora;
        agora += passo;
        return v;
    }

    CKeldoDoc& doc;
    std::vector<std::string> status;
    std::vector<int32_t> redesenhos;
    std::vector<std::string> eventos;
    bool resultadoSalvar = true;
    mutable uint32_t agora = 0;
    uint32_t passo = 0;
    mutable int leituras = 0;
};

void criar(CKeldoDoc& doc, int individuos, int alimentos) {
    doc.definirSementeFixa(7);
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = individuos;
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = alimentos;
    ASSERT_TRUE(doc.criarMundo());
}

// 60 individuals that reproduce from energy 50, in discrete generations.
void criarComGeracoesDiscretas(CKeldoDoc& doc, int32_t numIndDiscretas) {
    AcessoDocumento::parametrosEditaveis(doc).tipoGeracoes = 1;
    AcessoDocumento::parametrosEditaveis(doc).numIndDiscretas = numIndDiscretas;
    AcessoDocumento::parametrosEditaveis(doc).repro_rr =
        AcessoDocumento::parametrosEditaveis(doc).repro_Rr =
            AcessoDocumento::parametrosEditaveis(doc).repro_RR = 50;
    criar(doc, 60, 100);
}

int contarOvos(const CKeldoDoc& doc) {
    int n = 0;
    for (const SpecX& i : doc.vivos())
        n += i.adulto() ? 0 : 1;
    return n;
}

} // namespace

TEST(Ciclo, StatusComDezIndividuosETresOvos) {
    CKeldoDoc doc;
    criar(doc, 10, 0);
    for (int k : {2, 5, 8})
        AcessoDocumento::vivosEditaveis(doc)[k].definirBit(EstadoBit::adulto, false);
    AcessoDocumento::definirOvos(doc, 3);
    EXPECT_EQ(doc.textoStatus(), "Tempo: 0, Vivos: 7, Mortos: 0, Ovos: 3, " + geracaoUtf8 + ": 0");

    HostFalso host(doc);
    doc.executarCiclo();
    ASSERT_EQ(host.status.size(), 1u);
    EXPECT_EQ(host.status[0], "Tempo: 1, Vivos: 7, Mortos: 0, Ovos: 3, " + geracaoUtf8 + ": 0");
    EXPECT_EQ(AcessoDocumento::status(doc), host.status[0]);
}

// Mating stops when the fifth egg is laid; at the start of the next cycle
// the adults die with that cycle's time and the eggs hatch.
TEST(Ciclo, GeracoesDiscretasViramNoCicloSeguinte) {
    CKeldoDoc doc;
    criarComGeracoesDiscretas(doc, 5);
    while (doc.ovos() == 0 && doc.tempo() < 500)
        doc.executarCiclo();
    ASSERT_GT(doc.ovos(), 0) << "nenhum ovo em 500 ciclos";
    while (doc.ovos() < 5 && doc.tempo() < 500) {
        const int32_t antes = doc.ovos();
        doc.executarCiclo();
        ASSERT_GE(doc.ovos(), antes) << "ovos chocaram antes de serem 5";
    }
    ASSERT_EQ(doc.ovos(), 5);
    ASSERT_EQ(contarOvos(doc), 5);

    std::set<int32_t> adultos, ovos;
    for (const SpecX& i : doc.vivos())
        (i.adulto() ? adultos : ovos).insert(i.id);
    const size_t mortosAntes = doc.mortos().size();
    const int32_t cicloDaVirada = doc.tempo();
    doc.executarCiclo();

    EXPECT_EQ(doc.tempo(), cicloDaVirada + 1);
    ASSERT_EQ(doc.mortos().size(), mortosAntes + adultos.size());
    for (size_t k = mortosAntes; k < doc.mortos().size(); ++k) {
        const SpecX& m = doc.mortos()[k];
        EXPECT_EQ(adultos.count(m.id), 1u);
        EXPECT_EQ(m.loopMorto, cicloDaVirada);
        EXPECT_EQ(m.vivo(), 0);
    }
    ASSERT_GE(doc.vivos().size(), 5u);
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(ovos.count(doc.vivos()[k].id), 1u);
        EXPECT_EQ(doc.vivos()[k].adulto(), 1);
    }
    EXPECT_EQ(doc.ovos(), contarOvos(doc));
    EXPECT_NE(doc.textoStatus().find("Ovos: " + std::to_string(doc.ovos()) + ","),
              std::string::npos);
}

TEST(Ciclo, SemOvosSuficientesAGeracaoNuncaVira) {
    CKeldoDoc doc;
    criarComGeracoesDiscretas(doc, 10000);
    for (int k = 0; k < 150; ++k) {
        const int32_t antes = doc.ovos();
        doc.executarCiclo();
        ASSERT_GE(doc.ovos(), antes);
        ASSERT_EQ(doc.ovos(), contarOvos(doc));
    }
    EXPECT_GT(doc.ovos(), 0);
}

TEST(Ciclo, MortoLevaOCicloEmCursoEMundoVazioContinua) {
    CKeldoDoc doc;
    criar(doc, 1, 0);
    for (int k = 0; k < 3; ++k)
        doc.executarCiclo();
    AcessoDocumento::vivosEditaveis(doc)[0].energia = doc.vivos()[0].limiarMorte + 1;
    doc.executarCiclo();
    ASSERT_EQ(doc.mortos().size(), 1u);
    EXPECT_EQ(doc.mortos()[0].loopMorto, 3);
    for (int k = 0; k < 3; ++k)
        doc.executarCiclo();
    EXPECT_EQ(doc.textoStatus(), "Tempo: 7, Vivos: 0, Mortos: 1, Ovos: 0, " + geracaoUtf8 + ": 0");
}

TEST(Ciclo, TraceComNumeroDoCicloACadaCiclo) {
    apoio::PastaTemporaria pasta;
    apoio::NaPasta aqui(pasta.caminho);
    CKeldoDoc doc;
    criar(doc, 1, 0);
    AcessoDocumento::parametrosEditaveis(doc).gerarTrace = 1;
    doc.executarCiclo();
    doc.executarCiclo();
    const std::vector<uint8_t> b = apoio::lerArquivo("keldo_trace.txt");
    const std::string texto(b.begin(), b.end());
    const size_t fim = texto.find("\r\n");
    ASSERT_NE(fim, std::string::npos);
    EXPECT_EQ(texto.substr(0, 4), "1;1;");
    EXPECT_EQ(texto.substr(fim + 2, 4), "2;1;");
    EXPECT_EQ(texto.size(), 2 * (fim + 2));
    EXPECT_EQ(texto.substr(texto.size() - 2), "\r\n");
}

// Without a window the periodic save goes to the project's own path.
TEST(Ciclo, SalvarPeriodicoEscreveSnapshotZeroPrimeiro) {
    apoio::PastaTemporaria pasta;
    CKeldoDoc doc;
    criar(doc, 10, 20);
    doc.arquivo().definirCaminho(pasta / "proj.gen");
    AcessoDocumento::definirEstadoExecucao(doc, EstadoExecucao::executando);
    AcessoDocumento::parametrosEditaveis(doc).salvarAtivo = 1;
    AcessoDocumento::parametrosEditaveis(doc).salvarCiclos = 50;
    for (int k = 0; k < 49; ++k)
        doc.executarCiclo();
    EXPECT_FALSE(std::filesystem::exists(pasta / "proj.gen"));
    doc.executarCiclo();
    EXPECT_EQ(doc.numSnapshot(), 1);
    EXPECT_TRUE(std::filesystem::exists(pasta / "proj000.txt"));
    EXPECT_TRUE(doc.arquivo().modificado());
    CKeldoDoc lido;
    ASSERT_TRUE(lido.carregarProjeto(pasta / "proj.gen").ok);
    EXPECT_EQ(lido.tempo(), 50);
    EXPECT_EQ(lido.numSnapshot(), 0); // written before the count grew

    for (int k = 0; k < 50; ++k)
        doc.executarCiclo();
    EXPECT_EQ(doc.numSnapshot(), 2);
    EXPECT_TRUE(std::filesystem::exists(pasta / "proj001.txt"));

    CKeldoDoc semCaminho;
    criar(semCaminho, 3, 0);
    AcessoDocumento::parametrosEditaveis(semCaminho).salvarAtivo = 1;
    AcessoDocumento::parametrosEditaveis(semCaminho).salvarCiclos = 2;
    for (int k = 0; k < 4; ++k)
        semCaminho.executarCiclo();
    EXPECT_EQ(semCaminho.numSnapshot(), 2);
}

// The counter stops at its largest value instead of overflowing: every later
// periodic save rewrites the snapshot of that number.
TEST(Ciclo, SnapshotNoFimDoContadorReescreveOUltimo) {
    apoio::PastaTemporaria pasta;
    CKeldoDoc doc;
    criar(doc, 10, 20);
    doc.arquivo().definirCaminho(pasta / "p.gen");
    AcessoDocumento::parametrosEditaveis(doc).salvarAtivo = 1;
    AcessoDocumento::parametrosEditaveis(doc).salvarCiclos = 1;
    AcessoDocumento::definirNumSnapshot(doc, INT32_MAX - 1);
    for (int k = 0; k < 3; ++k)
        doc.executarCiclo();
    EXPECT_EQ(doc.numSnapshot(), INT32_MAX);
    EXPECT_EQ(apoio::nomesEm(pasta.caminho),
              (std::vector<std::string>{"p.gen", "p2147483646.txt", "p2147483647.txt"}));
    CKeldoDoc lido;
    ASSERT_TRUE(lido.carregarProjeto(pasta / "p.gen").ok);
    EXPECT_EQ(lido.numSnapshot(), INT32_MAX);
    EXPECT_EQ(lido.tempo(), 3);
}

// With a window: the timer stops around the save and restarts only while
// running; the count grows even when the save fails. A failed save leaves the
// run stopped as "Parar" does, since the next one would fail the same way.
TEST(Ciclo, SalvarPeriodicoParaOTimerEFalhaDeixaAExecucaoParada) {
    CKeldoDoc doc;
    criar(doc, 5, 0);
    HostFalso host(doc);
    AcessoDocumento::definirEstadoExecucao(doc, EstadoExecucao::executando);
    AcessoDocumento::parametrosEditaveis(doc).salvarAtivo = 1;
    AcessoDocumento::parametrosEditaveis(doc).salvarCiclos = 3;
    auto tresCiclos = [&] {
        host.eventos.clear();
        for (int k = 0; k < 3; ++k)
            doc.executarCiclo();
        return host.eventos;
    };
    EXPECT_EQ(tresCiclos(), (std::vector<std::string>{"parar", "salvar 0", "iniciar 5"}));
    EXPECT_EQ(tresCiclos(), (std::vector<std::string>{"parar", "salvar 1", "iniciar 5"}));
    EXPECT_TRUE(doc.arquivo().modificado());

    host.resultadoSalvar = false;
    EXPECT_EQ(tresCiclos(), (std::vector<std::string>{"parar", "salvar 2"}));
    EXPECT_EQ(AcessoDocumento::estadoExecucao(doc), EstadoExecucao::parado);
    EXPECT_EQ(doc.numSnapshot(), 3);
    EXPECT_TRUE(doc.arquivo().modificado());

    doc.arquivo().marcarSalvo();
    EXPECT_EQ(tresCiclos(), (std::vector<std::string>{"parar", "salvar 3"}));
    EXPECT_EQ(doc.numSnapshot(), 4);
    EXPECT_FALSE(doc.arquivo().modificado());
}

// A save while the world runs leaves the project modified (the cycles after
// it are not in the file); once stopped, a save clears the mark.
TEST(Ciclo, SalvarDuranteExecucaoDeixaOProjetoModificado) {
    apoio::PastaTemporaria pasta;
    CKeldoDoc doc;
    criar(doc, 5, 5);
    AcessoDocumento::definirEstadoExecucao(doc, EstadoExecucao::executando);
    ASSERT_TRUE(doc.salvarProjeto(pasta / "a.gen").ok);
    EXPECT_TRUE(doc.arquivo().modificado());
    AcessoDocumento::definirEstadoExecucao(doc, EstadoExecucao::parado);
    ASSERT_TRUE(doc.salvarProjeto(pasta / "a.gen").ok);
    EXPECT_FALSE(doc.arquivo().modificado());
}

// Past the size limit no cycle starts: the run stops with the message and the
// world is left exactly as it was. At the limit itself the cycle runs.
TEST(Ciclo, MundoAlemDoLimiteParaAntesDoCiclo) {
    CKeldoDoc doc;
    criar(doc, 10, 0);
    HostFalso host(doc);
    AcessoDocumento::definirEstadoExecucao(doc, EstadoExecucao::executando);
    AcessoDocumento::alimentosEditaveis(doc).resize(CKeldoDoc::limiteMundo + 1 -
                                                    doc.vivos().size());
    const std::vector<uint8_t> antes = doc.serializar();
    Random geradorAntes = doc.gerador();

    EXPECT_FALSE(doc.executarCiclo());
    EXPECT_EQ(host.eventos,
              (std::vector<std::string>{"parada O mundo atingiu o limite de 300000 indiv\xC3\xAD"
                                        "duos e "
                                        "alimentos; a simula\xC3\xA7\xC3\xA3o foi parada."}));
    EXPECT_EQ(AcessoDocumento::estadoExecucao(doc), EstadoExecucao::parado);
    EXPECT_EQ(doc.tempo(), 0);
    EXPECT_TRUE(doc.serializar() == antes);
    EXPECT_EQ(doc.gerador().randomInt(1 << 30), geradorAntes.randomInt(1 << 30));

    host.eventos.clear();
    AcessoDocumento::alimentosEditaveis(doc).pop_back();
    EXPECT_TRUE(doc.executarCiclo());
    EXPECT_EQ(doc.tempo(), 1);
    EXPECT_TRUE(host.eventos.empty());
}

namespace {
constexpr size_t limite = CKeldoDoc::limiteMundo;

size_t tamanho(const CKeldoDoc& doc) {
    return doc.vivos().size() + doc.alimentos().size();
}

// The phases of one cycle run straight through, with no limit judged; returns
// the food items there were after the renewal.
size_t fasesSemLimite(CKeldoDoc& doc) {
    AcessoDocumento::renovarGeracao(doc);
    AcessoDocumento::procurarParceira(doc);
    AcessoDocumento::acasalar(doc, true);
    AcessoDocumento::procurarAlimento(doc);
    AcessoDocumento::reporAlimento(doc, AcessoDocumento::comer(doc),
                                   AcessoDocumento::parametrosEditaveis(doc).taxaReposicao);
    const size_t alimentos = doc.alimentos().size();
    AcessoDocumento::moverIndividuos(doc);
    AcessoDocumento::definirTempo(doc, doc.tempo() + 1);
    return alimentos;
}

// Runs `guardado` cycle by cycle beside `livre`, the same world whose phases
// run straight: every cycle that ends within the limit gives the same bytes,
// and the first that would end past it is not run, the world and its
// generator left as they were.
struct Parada {
    size_t alimentosAposReposicao = 0; // in `livre`'s cycle past the limit
    int vigiadosQueRodaram = 0;        // cycles whose bound allowed passing, run as before
};
Parada esperarParadaNoCicloQuePassaria(CKeldoDoc& guardado, CKeldoDoc& livre) {
    HostFalso host(guardado);
    AcessoDocumento::definirEstadoExecucao(guardado, EstadoExecucao::executando);
    Parada parada;
    for (int c = 0; c < 20; ++c) {
        SCOPED_TRACE("ciclo " + std::to_string(c + 1));
        const std::vector<uint8_t> antes = guardado.serializar();
        const uint32_t geradorAntes = guardado.gerador().estadoAtual();
        const bool podiaPassar = AcessoDocumento::maximoAoFimDoCiclo(guardado) > limite;
        const size_t alimentos = fasesSemLimite(livre);
        if (tamanho(livre) <= limite) {
            EXPECT_TRUE(guardado.executarCiclo());
            EXPECT_TRUE(guardado.serializar() == livre.serializar());
            parada.vigiadosQueRodaram += podiaPassar;
            continue;
        }
        EXPECT_TRUE(podiaPassar);
        EXPECT_FALSE(guardado.executarCiclo());
        EXPECT_TRUE(guardado.serializar() == antes);
        EXPECT_EQ(guardado.gerador().estadoAtual(), geradorAntes);
        EXPECT_EQ(host.eventos,
                  std::vector<std::string>{"parada " + CKeldoDoc::avisoLimiteMundo()});
        EXPECT_EQ(AcessoDocumento::estadoExecucao(guardado), EstadoExecucao::parado);
        parada.alimentosAposReposicao = alimentos;
        return parada;
    }
    ADD_FAILURE() << "o mundo nunca passaria do limite";
    return {};
}

// Food that multiplies every cycle (2,000 items become 453,923 in five).
void mundoQueSeMultiplica(CKeldoDoc& doc) {
    SimulationParameters& p = AcessoDocumento::parametrosEditaveis(doc);
    p.numIndividuos = 1000;
    p.qtdAlimento = 2000;
    p.taxaReposicao = 500;
    p.energiaMin = p.energiaMax = 500;
    doc.definirSementeFixa(1);
    doc.definirIgnorarTempoReal(true);
    ASSERT_TRUE(doc.criarMundo());
}

// A world at the limit whose food stays as many (every item eaten comes back
// once) and whose individuals are all ready to mate.
void mundoNoLimiteComNascimentos(CKeldoDoc& doc) {
    SimulationParameters& p = AcessoDocumento::parametrosEditaveis(doc);
    p.numIndividuos = 1000;
    p.qtdAlimento = 0;
    p.taxaReposicao = 100;
    p.repro_rr = p.repro_Rr = p.repro_RR = 0;
    doc.definirSementeFixa(3);
    doc.definirIgnorarTempoReal(true);
    ASSERT_TRUE(doc.criarMundo());
    AcessoDocumento::alimentosEditaveis(doc).resize(limite - doc.vivos().size());
}
} // namespace

// No cycle takes the world past the limit: the food renewal that would is
// never made (a rate of 500 %).
TEST(Ciclo, CicloQuePassariaDoLimitePelaComidaNaoRoda) {
    CKeldoDoc guardado, livre;
    mundoQueSeMultiplica(guardado);
    mundoQueSeMultiplica(livre);
    const Parada parada = esperarParadaNoCicloQuePassaria(guardado, livre);
    EXPECT_GT(parada.alimentosAposReposicao, limite);
    EXPECT_GE(parada.vigiadosQueRodaram, 1);
    EXPECT_LE(guardado.alimentos().capacity(), limite);
}

// Births past the limit with the food within it: the world is put back.
TEST(Ciclo, CicloQuePassariaDoLimitePelosNascimentosNaoRoda) {
    CKeldoDoc guardado, livre;
    mundoNoLimiteComNascimentos(guardado);
    mundoNoLimiteComNascimentos(livre);
    EXPECT_LE(esperarParadaNoCicloQuePassaria(guardado, livre).alimentosAposReposicao, limite);
    EXPECT_GT(livre.vivos().size(), guardado.vivos().size());
}

// The bound on what a cycle can add: the mothers and, above 100 %, every
// item eaten and replaced.
TEST(Ciclo, MaximoAoFimDoCicloCobreNascimentosEComida) {
    CKeldoDoc doc;
    criar(doc, 10, 0);
    AcessoDocumento::alimentosEditaveis(doc).resize(limite / 2);
    EXPECT_EQ(AcessoDocumento::maximoAoFimDoCiclo(doc), 20 + limite / 2 + 1);
    AcessoDocumento::parametrosEditaveis(doc).taxaReposicao = 300;
    size_t maes = 0;
    for (const SpecX& i : doc.vivos())
        maes += i.sexo() == 0 && i.energia >= i.limiarReproducao;
    EXPECT_EQ(AcessoDocumento::maximoAoFimDoCiclo(doc), 10 + maes + 3 * (limite / 2) + 1);
    AcessoDocumento::parametrosEditaveis(doc).tipoGeracoes = 1;
    AcessoDocumento::parametrosEditaveis(doc).numIndDiscretas = 0;
    EXPECT_EQ(AcessoDocumento::maximoAoFimDoCiclo(doc), 10 + 3 * (limite / 2) + 1);
}

TEST(Ciclo, RedesenhoACadaIntervaloDeCiclos) {
    CKeldoDoc doc;
    criar(doc, 5, 5);
    HostFalso host(doc);
    AcessoDocumento::parametrosEditaveis(doc).intervaloAnimacao = 10;
    for (int k = 0; k < 25; ++k)
        doc.executarCiclo();
    EXPECT_EQ(host.redesenhos, (std::vector<int32_t>{10, 20}));
    host.redesenhos.clear();
    AcessoDocumento::parametrosEditaveis(doc).intervaloAnimacao = 1;
    for (int k = 0; k < 3; ++k)
        doc.executarCiclo();
    EXPECT_EQ(host.redesenhos, (std::vector<int32_t>{26, 27, 28}));
}

// The last throttled cycle is remembered for the whole process, so the test
// first runs a cycle at the highest reading, which always passes.
TEST(Ciclo, TempoRealComContadorFalso) {
    CKeldoDoc doc;
    criar(doc, 5, 5);
    HostFalso host(doc);
    doc.executarCiclo();
    EXPECT_EQ(host.leituras, 0); // no throttle, no reading
    AcessoDocumento::parametrosEditaveis(doc).tempoRealCiclo = 1000;

    host.agora = 0xFFFFFFFF;
    doc.executarCiclo();
    host.agora = 5000;
    doc.executarCiclo();
    ASSERT_EQ(doc.tempo(), 3);
    const size_t linhas = host.status.size();

    host.agora = 5999; // 5000 + 1000 > 5999: too early
    doc.executarCiclo();
    EXPECT_EQ(doc.tempo(), 3);
    EXPECT_EQ(host.status.size(), linhas);

    host.agora = 6000;
    host.passo = 7; // the remembered time is a second, fresh reading
    doc.executarCiclo();
    EXPECT_EQ(doc.tempo(), 4);
    EXPECT_EQ(host.status.size(), linhas + 1);
    host.passo = 0;
    host.agora = 7006;
    doc.executarCiclo();
    EXPECT_EQ(doc.tempo(), 4);
    host.agora = 7007;
    doc.executarCiclo();
    EXPECT_EQ(doc.tempo(), 5);
}
