// Refused command lines: the exit status, one line on standard error, and no
// file written or overwritten.
#include "ApoioKeldoRun.h"
#include "sim/CKeldoDoc.h"
#include "sim/Versao.h"

using namespace keldo::sim;

namespace {
bool umaLinhaDeErro(const Saida& s) {
    return s.out.empty() && s.err.rfind("keldo-run: ", 0) == 0 &&
           s.err.find('\n') == s.err.size() - 1;
}
} // namespace

TEST_F(KeldoRun, ErrosDeUsoSaemCom2SemEscreverNada) {
    const std::vector<std::vector<std::string>> casos = {
        {"--foo"},
        {"-x"},
        {"--seed", "abc"},
        {"--seed", "-1"},
        {"--seed", "4294967296"},
        {"--cycles", "1e3"},
        {"--cycles", " 5"},
        {"--cycles"},
        {"--set", "naoExiste=1"},
        {"--set", "doc=1"},
        {"--set", "listaDefinida=1"},
        {"--set", "numIndividuos"},
        {"--set", "numIndividuos=5x"},
        {"--set", "repro_rr=-5"},
        {"--set", "repro_rr=32768"}, // the individual holds thresholds in 16 signed bits
        {"--set", "morte_MM=4294967295"},
        {"--set", "criterioParada=Gera\xE7\xE3o"}, // not UTF-8
        {"--set", "intervaloAnimacao=0"},          // the cycle divides by these two
        {"--set", "salvarCiclos=0"},
        {"--set", "numIndividuos=1001"}, // sizes what a new world makes
        {"--set", "qtdAlimento=-1"},
        {"um.gen", "dois.gen"},
    };
    escrever("velho.gen", "conteudo anterior");
    for (std::vector<std::string> args : casos) {
        const std::string descricao = args[0] + (args.size() > 1 ? " " + args[1] : "");
        // Files first, so that an option missing its value stays last.
        args.insert(args.begin(), {"--trace", "t.txt", "--save", "velho.gen"});
        const Saida s = rodar(args);
        EXPECT_EQ(s.status, 2) << descricao;
        EXPECT_TRUE(umaLinhaDeErro(s)) << descricao << ": " << s.err;
        EXPECT_FALSE(existe("t.txt")) << descricao;
        EXPECT_EQ(ler("velho.gen"), "conteudo anterior") << descricao;
    }
}

TEST_F(KeldoRun, ErrosDeArquivoSaemCom1EGuardamOArquivoAnterior) {
    escrever("velho.gen", "conteudo anterior");
    escrever("versao.gen", std::string("\xB9\x0B\0\0", 4) + std::string(200, '\0'));
    escrever("curto.gen", std::string("\xB8\x0B\0\0\x05", 5));
    std::filesystem::create_directory(pasta / "pasta.gen");
    for (const char* projeto : {"falta.gen", "versao.gen", "curto.gen", "pasta.gen"}) {
        const Saida s = rodar({"--save", "velho.gen", "--trace", "t.txt", projeto});
        EXPECT_EQ(s.status, 1) << projeto;
        EXPECT_TRUE(umaLinhaDeErro(s)) << projeto << ": " << s.err;
        EXPECT_FALSE(existe("t.txt")) << projeto;
        EXPECT_EQ(ler("velho.gen"), "conteudo anterior") << projeto;
    }
    EXPECT_NE(rodar({"versao.gen"}).err.find("Vers\xC3\xA3o inv\xC3\xA1lida do arquivo!"),
              std::string::npos);

    // A --save or --trace into a missing folder is refused before the first cycle.
    for (const char* opcao : {"--save", "--trace"}) {
        const Saida s = rodar({"--trace", "t.txt", opcao, "nao/existe.gen"});
        EXPECT_EQ(s.status, 1) << opcao;
        EXPECT_TRUE(umaLinhaDeErro(s)) << s.err;
        EXPECT_FALSE(existe("t.txt"));
    }
}

TEST_F(KeldoRun, VersaoDoProjetoSemExecutarNada) {
    const Saida s = rodar({"--version", "--opcao-que-nao-existe", "--save", "p.gen"});
    EXPECT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(s.out, std::string("keldo-run ") + versaoKeldo() + "\n");
    EXPECT_FALSE(existe("p.gen"));
    EXPECT_NE(rodar({"--help"}).out.find("--version"), std::string::npos);
}

TEST_F(KeldoRun, AjudaEValoresQueOModeloDefineAlemDoDialogo) {
    const Saida ajuda = rodar({"--help"});
    EXPECT_EQ(ajuda.status, 0);
    for (const char* texto :
         {"--seed", "--cycles", "--new", "--set", "--trace", "--save", "taxaPermuta5", "morte_mm"})
        EXPECT_NE(ajuda.out.find(texto), std::string::npos) << texto;

    const Saida s = rodar({"--seed", "1", "--cycles", "2", "--set", "taxaPermuta0=100", "--set",
                           "nivelObstaculos=7", "--set", "luta=5000", "--set", "repro_RR=32767",
                           "--save", "p.gen"});
    ASSERT_EQ(s.status, 0) << s.err;
    CKeldoDoc doc;
    ASSERT_TRUE(doc.carregarProjeto(caminho("p.gen")).ok);
    EXPECT_EQ(doc.parametros().taxaPermuta[0], 100);
    EXPECT_EQ(doc.parametros().nivelObstaculos, "7");
    EXPECT_EQ(doc.parametros().luta, 5000u);
    EXPECT_EQ(doc.codigoNivel(), 'd'); // any other level text is the 29-rectangle layout
    EXPECT_EQ(doc.parametros().repro_RR, 32767u);

    const Saida limiar = rodar({"--set", "morte_mm=40000"});
    EXPECT_EQ(limiar.status, 2);
    EXPECT_NE(limiar.err.find("morte_mm: \"40000\" (esperado inteiro de 0 a 32767)"),
              std::string::npos)
        << limiar.err;
}
