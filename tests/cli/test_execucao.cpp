// Runs of keldo-run compared with the same world run in this process, and the
// files they leave: trace, project, snapshots.
#include "AcessoDocumento.h"
#include "ApoioKeldoRun.h"
#include "sim/CKeldoDoc.h"
#include <algorithm>
#include <sstream>

using namespace keldo::sim;

namespace {
// The first field of every line; fails the test on a line not ended by CR LF.
std::vector<int> prefixosDoTrace(const std::string& texto) {
    std::vector<int> prefixos;
    size_t inicio = 0;
    while (inicio < texto.size()) {
        const size_t fim = texto.find("\r\n", inicio);
        EXPECT_NE(fim, std::string::npos) << "linha sem CR LF";
        if (fim == std::string::npos)
            break;
        EXPECT_EQ(texto.substr(inicio, fim - inicio).find('\n'), std::string::npos);
        prefixos.push_back(std::stoi(texto.substr(inicio, texto.find(';', inicio) - inicio)));
        inicio = fim + 2;
    }
    return prefixos;
}

void rodarCiclos(CKeldoDoc& doc, int ciclos) {
    doc.definirIgnorarTempoReal(true);
    for (int c = 0; c < ciclos; ++c)
        doc.executarCiclo();
}
} // namespace

TEST_F(KeldoRun, MundoNovoIgualAoDocumentoComAMesmaSemente) {
    const Saida s = rodar({"--seed", "5", "--cycles", "10", "--save", "p.gen"});
    ASSERT_EQ(s.status, 0) << s.err;
    CKeldoDoc doc;
    doc.definirSementeFixa(5);
    doc.criarMundo();
    rodarCiclos(doc, 10);
    ASSERT_TRUE(doc.salvarProjeto(caminho("r.gen")).ok);
    EXPECT_EQ(s.out, doc.textoStatus() + "\n"); // UTF-8, one LF, nothing else
    EXPECT_NE(s.out.find("Gera\xC3\xA7\xC3\xA3o: "), std::string::npos);
    EXPECT_EQ(ler("p.gen"), ler("r.gen"));
    EXPECT_EQ(ler("p000.txt"), ler("r000.txt"));
}

TEST_F(KeldoRun, MesmaSementeDaOsMesmosBytes) {
    const std::vector<std::string> args = {
        "--seed",           "11",      "--cycles", "40",     "--set",
        "numIndividuos=60", "--trace", "t.txt",    "--save", "p.gen"};
    ASSERT_EQ(rodar(args).status, 0);
    const std::string trace = ler("t.txt"), projeto = ler("p.gen"), snapshot = ler("p000.txt");
    std::filesystem::remove(pasta / "t.txt"); // the trace appends
    ASSERT_EQ(rodar(args).status, 0);
    EXPECT_EQ(ler("t.txt"), trace);
    EXPECT_EQ(ler("p.gen"), projeto);
    EXPECT_EQ(ler("p000.txt"), snapshot);

    std::vector<std::string> outra = args;
    outra[1] = "12";
    outra[7] = "t12.txt";
    outra[9] = "p12.gen";
    ASSERT_EQ(rodar(outra).status, 0);
    EXPECT_NE(ler("p12.gen"), projeto);
}

TEST_F(KeldoRun, TraceNumeraOsCiclosENaoExisteSemCiclos) {
    ASSERT_EQ(rodar({"--cycles", "0", "--trace", "t.txt", "--save", "p.gen"}).status, 0);
    EXPECT_FALSE(existe("t.txt"));
    EXPECT_TRUE(existe("p.gen"));

    const Saida s =
        rodar({"--seed", "3", "--cycles", "3", "--set", "numIndividuos=4", "--trace", "t.txt"});
    ASSERT_EQ(s.status, 0) << s.err;
    const std::vector<int> prefixos = prefixosDoTrace(ler("t.txt"));
    EXPECT_EQ(std::vector<int>(prefixos.begin(), prefixos.begin() + 4),
              std::vector<int>(4, 1)); // four founders, none dead yet
    EXPECT_TRUE(std::is_sorted(prefixos.begin(), prefixos.end()));
    EXPECT_EQ(prefixos.back(), 3);
    EXPECT_NE(std::find(prefixos.begin(), prefixos.end(), 2), prefixos.end());
}

TEST_F(KeldoRun, GerarTraceEscreveKeldoTraceUmaVezSo) {
    const std::vector<std::string> base = {"--seed",          "2",     "--cycles",    "2", "--set",
                                           "numIndividuos=3", "--set", "gerarTrace=1"};
    ASSERT_EQ(rodar(base).status, 0);
    const std::string trace = ler("keldo_trace.txt");
    EXPECT_EQ(prefixosDoTrace(trace), (std::vector<int>{1, 1, 1, 2, 2, 2}));

    std::filesystem::remove(pasta / "keldo_trace.txt");
    std::vector<std::string> mesmo = base;
    mesmo.insert(mesmo.end(), {"--trace", "./keldo_trace.txt"});
    ASSERT_EQ(rodar(mesmo).status, 0);
    EXPECT_EQ(ler("keldo_trace.txt"), trace);

    std::filesystem::remove(pasta / "keldo_trace.txt");
    std::vector<std::string> outro = base;
    outro.insert(outro.end(), {"--trace", "outro.txt"});
    ASSERT_EQ(rodar(outro).status, 0);
    EXPECT_EQ(ler("keldo_trace.txt"), trace);
    EXPECT_EQ(ler("outro.txt"), trace);
}

TEST_F(KeldoRun, SementeDepoisDaCargaENovoComProjeto) {
    ASSERT_EQ(rodar({"--seed", "1", "--cycles", "5", "--set", "numIndividuos=7", "--set",
                     "qtdAlimento=3", "--save", "p.gen"})
                  .status,
              0);
    const std::string original = ler("p.gen");

    // Continued: the generator is seeded right after the load.
    const Saida continuado = rodar({"p.gen", "--seed", "9", "--cycles", "4", "--save", "q.gen"});
    ASSERT_EQ(continuado.status, 0) << continuado.err;
    CKeldoDoc doc;
    ASSERT_TRUE(doc.carregarProjeto(caminho("p.gen")).ok);
    doc.semear(9);
    rodarCiclos(doc, 4);
    ASSERT_TRUE(doc.salvarProjeto(caminho("r.gen")).ok);
    EXPECT_EQ(ler("q.gen"), ler("r.gen"));
    EXPECT_EQ(continuado.out.rfind("Tempo: 9, ", 0), 0u) << continuado.out;

    // --new: a new world from the loaded parameters, --set applied after the load.
    const Saida novo = rodar({"--new", "p.gen", "--seed", "2", "--cycles", "0", "--set",
                              "qtdAlimento=4", "--save", "n.gen"});
    ASSERT_EQ(novo.status, 0) << novo.err;
    EXPECT_EQ(novo.out, "Tempo: 0, Vivos: 7, Mortos: 0, Ovos: 0, Gera\xC3\xA7\xC3\xA3o: 0\n");
    CKeldoDoc novoDoc;
    ASSERT_TRUE(novoDoc.carregarProjeto(caminho("p.gen")).ok);
    AcessoDocumento::parametrosEditaveis(novoDoc).qtdAlimento = 4;
    novoDoc.definirSementeFixa(2);
    novoDoc.criarMundo();
    ASSERT_TRUE(novoDoc.salvarProjeto(caminho("m.gen")).ok);
    EXPECT_EQ(ler("n.gen"), ler("m.gen"));
    EXPECT_EQ(ler("p.gen"), original);
}

TEST_F(KeldoRun, TextoDeSetEhGuardadoEmWindows1252) {
    ASSERT_EQ(
        rodar({"--cycles", "0", "--set", "criterioParada=Gera\xC3\xA7\xC3\xA3o", "--save", "p.gen"})
            .status,
        0);
    const std::string esperado = "\x07Gera\xE7\xE3o";
    EXPECT_NE(ler("p.gen").find(esperado), std::string::npos);
    CKeldoDoc doc;
    ASSERT_TRUE(doc.carregarProjeto(caminho("p.gen")).ok);
    EXPECT_EQ(doc.parametros().criterioParada,
              std::string({0x47, 0x65, 0x72, 0x61, '\xE7', '\xE3', 0x6F}));
}

TEST_F(KeldoRun, SalvamentoPeriodicoVaiParaSaveOuParaOProjetoContinuado) {
    const std::vector<std::string> periodico = {"--seed",        "1",     "--set",
                                                "salvarAtivo=1", "--set", "salvarCiclos=5"};
    auto com = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = periodico;
        args.insert(args.end(), extra.begin(), extra.end());
        return rodar(args);
    };
    // Nowhere: nothing is written, but the run goes on.
    ASSERT_EQ(com({"--cycles", "10"}).status, 0);
    EXPECT_TRUE(arquivos().empty());

    // Saves after cycles 5 and 10 take snapshots 000 and 001; the final save 002.
    ASSERT_EQ(com({"--cycles", "12", "--save", "s.gen"}).status, 0);
    for (const char* nome : {"s000.txt", "s001.txt", "s002.txt"})
        EXPECT_TRUE(existe(nome)) << nome;
    CKeldoDoc doc;
    ASSERT_TRUE(doc.carregarProjeto(caminho("s.gen")).ok);
    EXPECT_EQ(doc.numSnapshot(), 2);
    EXPECT_EQ(doc.tempo(), 12);

    // Continuing s.gen (tempo 12) without --save: the save after cycle 15 rewrites s.gen.
    ASSERT_EQ(com({"s.gen", "--cycles", "4"}).status, 0);
    ASSERT_TRUE(doc.carregarProjeto(caminho("s.gen")).ok);
    EXPECT_EQ(doc.tempo(), 15);
    EXPECT_EQ(doc.numSnapshot(), 2); // stored before the counter grows
    EXPECT_TRUE(existe("s002.txt"));

    // A new world made from s.gen never overwrites it.
    const std::string antes = ler("s.gen");
    ASSERT_EQ(com({"--new", "s.gen", "--cycles", "6"}).status, 0);
    EXPECT_EQ(ler("s.gen"), antes);
}

// Past 4,096 dead the run keeps them in an unnamed file in TMPDIR; what it
// writes is what a world that keeps them in memory writes, nothing is left
// in TMPDIR, and a TMPDIR that can't take the file leaves them in memory.
TEST_F(KeldoRun, MortosForaDaMemoriaDaoOsMesmosBytes) {
    CKeldoDoc doc;
    doc.definirSementeFixa(1);
    doc.criarMundo();
    rodarCiclos(doc, 8000);
    ASSERT_GT(doc.mortos().size(), 4096u);
    ASSERT_TRUE(doc.salvarProjeto(caminho("r.gen")).ok);

    const char* anterior = std::getenv("TMPDIR");
    const std::string tmpAnterior = anterior ? anterior : "";
    std::filesystem::create_directories(pasta / "tmp");
    for (const char* pastaTemporaria : {"tmp", "nao_existe"}) {
        setenv("TMPDIR", caminho(pastaTemporaria).c_str(), 1);
        const Saida s = rodar({"--seed", "1", "--cycles", "8000", "--save", "p.gen"});
        EXPECT_EQ(s.status, 0) << s.err;
        EXPECT_EQ(s.out, doc.textoStatus() + "\n") << pastaTemporaria;
        EXPECT_EQ(ler("p.gen"), ler("r.gen")) << pastaTemporaria;
        EXPECT_EQ(ler("p000.txt"), ler("r000.txt")) << pastaTemporaria;
    }
    if (anterior)
        setenv("TMPDIR", tmpAnterior.c_str(), 1);
    else
        unsetenv("TMPDIR");
    EXPECT_TRUE(std::filesystem::is_empty(pasta / "tmp"));
}

// Food that multiplies every cycle (2,000 items become 453,923 in five): the
// fifth cycle would end past the size limit, so the run stops before it
// with the message and exit status 1, and writes what a normal end writes.
TEST_F(KeldoRun, MundoAlemDoLimiteParaEGravaComoAoFim) {
    const std::vector<std::string> explosao = {"--seed", "1",
                                               "--set",  "numIndividuos=1000",
                                               "--set",  "qtdAlimento=2000",
                                               "--set",  "taxaReposicao=500",
                                               "--set",  "energiaMin=500",
                                               "--set",  "energiaMax=500"};
    std::vector<std::string> args = explosao;
    for (const char* a : {"--cycles", "7", "--save", "p.gen", "--summary", "r.csv"})
        args.emplace_back(a);
    const Saida s = rodar(args);
    EXPECT_EQ(s.status, 1);
    EXPECT_EQ(s.err, "semente: 1\nkeldo-run: O mundo atingiu o limite de 300000 indiv\xC3\xAD"
                     "duos e alimentos; a simula\xC3\xA7\xC3\xA3o foi parada.\n");

    CKeldoDoc doc;
    doc.definirSementeFixa(1);
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 1000;
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 2000;
    AcessoDocumento::parametrosEditaveis(doc).taxaReposicao = 500;
    AcessoDocumento::parametrosEditaveis(doc).energiaMin =
        AcessoDocumento::parametrosEditaveis(doc).energiaMax = 500;
    doc.criarMundo();
    rodarCiclos(doc, 4);
    EXPECT_LE(doc.vivos().size() + doc.alimentos().size(), CKeldoDoc::limiteMundo);
    ASSERT_TRUE(doc.salvarProjeto(caminho("r.gen")).ok);
    EXPECT_EQ(s.out, doc.textoStatus() + "\n");
    EXPECT_EQ(ler("p.gen"), ler("r.gen"));
    EXPECT_EQ(ler("p000.txt"), ler("r000.txt"));
    const std::string resumo = ler("r.csv");
    EXPECT_EQ(std::count(resumo.begin(), resumo.end(), '\n'), 6); // header, start, cycles 1..4
    EXPECT_EQ(resumo.substr(resumo.rfind('\n', resumo.size() - 2) + 1, 2), "4;");
}
