// The files of one run: no two of them may be one file, and each must be
// writable before the first cycle. A refused run writes nothing.
#include "ApoioKeldoRun.h"
#include <sys/stat.h>

namespace {
const std::string projeto = "conteudo do projeto";

bool recusadoSemEscrever(const Saida& s, int status) {
    return s.status == status && s.out.empty() && s.err.rfind("keldo-run: ", 0) == 0 &&
           s.err.find('\n') == s.err.size() - 1;
}
} // namespace

TEST_F(KeldoRun, DoisDestinosNoMesmoArquivoSaoRecusados) {
    ASSERT_EQ(rodar({"--seed", "1", "--cycles", "1", "--save", "p.gen"}).status, 0);
    const std::string p = ler("p.gen");
    std::filesystem::remove(pasta / "p000.txt");
    std::filesystem::create_symlink("p.gen", pasta / "link.gen");
    std::filesystem::create_hard_link(pasta / "p.gen", pasta / "duro.gen");
    std::filesystem::create_directory(pasta / "sub");
    struct Caso {
        std::vector<std::string> args;
        const char* a;
        const char* b;
    };
    const std::vector<Caso> casos = {
        {{"--trace", "p.gen", "p.gen"}, "PROJETO", "--trace"},
        {{"p.gen", "--trace", "link.gen"}, "PROJETO", "--trace"},
        {{"p.gen", "--summary", "duro.gen"}, "PROJETO", "--summary"},
        {{"p.gen", "--summary", "sub/../p.gen"}, "PROJETO", "--summary"},
        {{"--trace", "t.txt", "--summary", "./t.txt"}, "--trace", "--summary"},
        {{"--save", "s.gen", "--trace", "s.gen"}, "--save", "--trace"},
        // The snapshot of the final save (number 0) and of periodic saves.
        {{"--summary", "run000.txt", "--save", "run.gen"}, "--summary", "snapshot de --save"},
        {{"--set", "salvarAtivo=1", "--set", "salvarCiclos=10", "--cycles", "30", "--trace",
          "run002.txt", "--save", "run.gen"},
         "--trace",
         "snapshot de --save"},
        {{"--set", "salvarAtivo=1", "--set", "salvarCiclos=10", "--cycles", "20", "--summary",
          "p001.txt", "p.gen"},
         "--summary",
         "snapshot de PROJETO"},
        {{"--set", "gerarTrace=1", "--summary", "keldo_trace.txt"}, "--summary", "gerarTrace"},
    };
    for (const Caso& c : casos) {
        std::string descricao;
        for (const std::string& a : c.args)
            descricao += a + " ";
        const Saida s = rodar(c.args);
        EXPECT_TRUE(recusadoSemEscrever(s, 2)) << descricao << s.err;
        EXPECT_NE(s.err.find(std::string(c.a) + " e " + c.b + " indicam o mesmo arquivo"),
                  std::string::npos)
            << descricao << s.err;
        EXPECT_EQ(ler("p.gen"), p) << descricao;
        for (const char* nome : {"t.txt", "s.gen", "run.gen", "run000.txt", "run002.txt",
                                 "p000.txt", "p001.txt", "keldo_trace.txt"})
            EXPECT_FALSE(existe(nome)) << descricao << nome;
    }

    // Files that only look alike, a snapshot number the run never reaches, and
    // saving back over the project read are all fine.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--summary", "run001.txt", "--save", "run.gen"},
          std::vector<std::string>{"--set", "salvarAtivo=1", "--set", "salvarCiclos=10", "--cycles",
                                   "19", "--trace", "run002.txt", "--save", "run.gen"},
          std::vector<std::string>{"--trace", "sub/p.gen", "--summary", "p.gen.txt", "p.gen",
                                   "--save", "link.gen"},
          std::vector<std::string>{"--set", "gerarTrace=1", "--trace", "keldo_trace.txt"}})
        EXPECT_EQ(rodar(args).status, 0) << args[0] << args[1] << args[2];
    // Saved through the link: the link stays and its target holds the world.
    EXPECT_TRUE(std::filesystem::is_symlink(pasta / "link.gen"));
    EXPECT_NE(ler("p.gen"), p);
}

TEST_F(KeldoRun, DestinoQueNaoPodeSerGravadoParaAntesDoPrimeiroCiclo) {
    escrever("p.gen", projeto);
    escrever("comum", "nao e pasta");
    std::filesystem::create_directory(pasta / "trancada");
    const bool podeTrancar = ::geteuid() != 0 && ::chmod(caminho("trancada").c_str(), 0555) == 0;
    for (const char* opcao : {"--save", "--trace", "--summary"}) {
        std::vector<std::string> destinos = {"nao_existe/x.gen", "comum/x.gen"};
        if (podeTrancar)
            destinos.push_back("trancada/x.gen");
        for (const std::string& destino : destinos) {
            const Saida s = rodar({"--cycles", "5", "--trace", "t.txt", opcao, destino});
            EXPECT_TRUE(recusadoSemEscrever(s, 1)) << opcao << " " << destino << ": " << s.err;
            EXPECT_NE(s.err.find(opcao), std::string::npos) << s.err;
            EXPECT_FALSE(existe("t.txt")) << opcao << " " << destino;
        }
    }
    if (podeTrancar) {
        EXPECT_TRUE(std::filesystem::is_empty(pasta / "trancada"));
        ::chmod(caminho("trancada").c_str(), 0755);
    }
    EXPECT_EQ(ler("p.gen"), projeto);
    EXPECT_EQ(ler("comum"), "nao e pasta");
    if (!podeTrancar)
        GTEST_SKIP() << "como root, uma pasta somente leitura ainda aceita arquivos";
}

// A file without any write permission is never replaced by a save, not even by
// root (for whom access() allows everything): the run refuses it before its first cycle.
TEST_F(KeldoRun, SaveSobreArquivoSemPermissaoRecusadoAntesDoPrimeiroCiclo) {
    escrever("somente.gen", "x");
    std::filesystem::permissions(pasta / "somente.gen", std::filesystem::perms::owner_read);
    const Saida s = rodar({"--cycles", "5", "--trace", "t.txt", "--save", "somente.gen"});
    EXPECT_TRUE(recusadoSemEscrever(s, 1)) << s.err;
    EXPECT_NE(s.err.find("--save em "), std::string::npos) << s.err;
    EXPECT_NE(s.err.find("somente.gen: Permission denied"), std::string::npos) << s.err;
    EXPECT_FALSE(existe("t.txt"));
    EXPECT_EQ(ler("somente.gen"), "x");
}

// An experiment's table replaces its file at the end: never the project it
// reads, by its own name or through a link.
TEST_F(KeldoRun, TabelaSobreOProjetoLidoEhRecusada) {
    ASSERT_EQ(rodar({"--seed", "1", "--cycles", "1", "--save", "p.gen"}).status, 0);
    const std::string p = ler("p.gen");
    std::filesystem::create_symlink("p.gen", pasta / "link.csv");
    for (const char* tabela : {"p.gen", "link.csv", "./p.gen"}) {
        const Saida s =
            rodar({"--experiment", "--seed", "1", "--cycles", "1", "--table", tabela, "p.gen"});
        EXPECT_EQ(s.status, 2) << tabela;
        EXPECT_NE(s.err.find("PROJETO e --table indicam o mesmo arquivo"), std::string::npos)
            << s.err;
        EXPECT_EQ(ler("p.gen"), p) << tabela;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(pasta / "link.csv"));
}

// A link whose target does not exist yet is still one file with its target:
// writing both would lose one of them.
TEST_F(KeldoRun, LigacaoPendenteParaOutraSaidaEhOMesmoArquivo) {
    std::filesystem::create_symlink("s1.csv", pasta / "s2.csv");
    std::filesystem::create_directory(pasta / "d");
    std::filesystem::create_symlink("../s1.csv", pasta / "d" / "s3.csv");
    for (const char* outro : {"s2.csv", "d/s3.csv"}) {
        const Saida s =
            rodar({"--seed", "1", "--cycles", "2", "--trace", "s1.csv", "--summary", outro});
        EXPECT_TRUE(recusadoSemEscrever(s, 2)) << outro << s.err;
        EXPECT_NE(s.err.find("--trace e --summary indicam o mesmo arquivo"), std::string::npos)
            << s.err;
        EXPECT_FALSE(existe("s1.csv"));
    }
}
