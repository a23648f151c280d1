// keldo-run writing to names that are not plain files: a device node (the
// usual way to throw output away) and a file it may not write (a symbolic
// link is in test_destinos.cpp).
#include "ApoioKeldoRun.h"
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace fs = std::filesystem;

// A twin of /dev/null in the test folder stands in for it, so that the real
// one is never at risk. Making device nodes needs root.
TEST_F(KeldoRun, SaveNumDispositivoNaoOSubstitui) {
    const fs::path nulo = pasta / "nulo", resumo = pasta / "resumo";
    for (const fs::path& p : {nulo, resumo})
        if (mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            GTEST_SKIP() << "sem permissao para criar um dispositivo";
    const Saida s = rodar(
        {"--seed", "3", "--cycles", "2", "--save", nulo.string(), "--summary", resumo.string()});
    EXPECT_EQ(s.status, 0) << s.err;
    EXPECT_TRUE(fs::is_character_file(nulo));
    EXPECT_TRUE(fs::is_character_file(resumo));
}

// The reason of a failure is in the message.
TEST_F(KeldoRun, MensagensDeArquivoDizemARazao) {
    const Saida abrir = rodar({"falta.gen"});
    EXPECT_EQ(abrir.status, 1);
    EXPECT_NE(abrir.err.find("falta.gen: No such file or directory"), std::string::npos)
        << abrir.err;
    escrever("somente.gen", "x");
    fs::permissions(pasta / "somente.gen", fs::perms::owner_read);
    const Saida salvar = rodar({"--cycles", "1", "--save", "somente.gen"});
    EXPECT_EQ(salvar.status, 1);
    EXPECT_NE(salvar.err.find("somente.gen: Permission denied"), std::string::npos) << salvar.err;
    EXPECT_EQ(ler("somente.gen"), "x");
}

// A project saved to a device or to standard output has no folder beside it:
// no snapshot is written anywhere. One saved to a name without a dot, or in a
// folder with a dot, gets its snapshot beside it, named after the file.
TEST_F(KeldoRun, SnapshotSoAoLadoDeUmProjetoQueEhArquivo) {
    const fs::path nulo = pasta / "nulo";
    const bool comDispositivo = mknod(nulo.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    if (comDispositivo) {
        EXPECT_EQ(rodar({"--seed", "3", "--cycles", "1", "--save", "nulo"}).status, 0);
        EXPECT_TRUE(fs::is_character_file(nulo));
        fs::remove(nulo);
    }
    const Saida s = rodar({"--seed", "3", "--cycles", "1", "--save", "-"});
    EXPECT_EQ(s.status, 0) << s.err;
    EXPECT_TRUE(arquivos().empty()) << arquivos().front();
    // The project's bytes on standard output, the status line on standard error.
    ASSERT_EQ(rodar({"--seed", "3", "--cycles", "1", "--save", "ref.gen"}).status, 0);
    EXPECT_EQ(s.out, ler("ref.gen"));
    EXPECT_NE(s.err.find("Tempo: 1,"), std::string::npos) << s.err;
    EXPECT_EQ(rodar({"--seed", "3", "--cycles", "1", "--save", "-", "--summary", "-"}).status, 2);

    fs::create_directory(pasta / "a.dir");
    ASSERT_EQ(rodar({"--seed", "3", "--cycles", "1", "--save", "a.dir/proj"}).status, 0);
    EXPECT_TRUE(existe("a.dir/proj000.txt"));
    EXPECT_FALSE(existe("a000.txt"));
    EXPECT_FALSE(existe("000.txt"));
    if (!comDispositivo)
        GTEST_SKIP() << "sem permissao para criar um dispositivo";
}

// Output that cannot be written is a failure, not a success.
TEST_F(KeldoRun, SaidaPadraoCheiaTerminaComErro) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "sem /dev/full";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--seed", "3", "--cycles", "1"},
          std::vector<std::string>{"--help"},
          std::vector<std::string>{"--seed", "3", "--cycles", "1", "--summary", "-"},
          std::vector<std::string>{"--seed", "3", "--cycles", "1", "--save", "-"},
          std::vector<std::string>{"--experiment", "--seed", "3", "--cycles", "1"}}) {
        std::string cmd = "cd " + citar(pasta.string()) + " && " + citar(KELDO_RUN_PATH);
        for (const std::string& a : args) {
            cmd += ' ';
            cmd += citar(a);
        }
        cmd += " >/dev/full 2>/dev/null";
        const int w = std::system(cmd.c_str());
        EXPECT_TRUE(WIFEXITED(w) && WEXITSTATUS(w) == 1) << cmd;
    }
}
