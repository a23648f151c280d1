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
