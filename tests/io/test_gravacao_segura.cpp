// What a save does to the names around its target: links are followed and
// kept, devices and FIFOs are written and never replaced, a planted or
// foreign name beside the target is never followed nor destroyed, and the
// temporary of a save that died is cleaned up by the next one.
#include "ArquivoApoio.h"
#include "io/GravacaoSegura.h"
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace keldo::io;

namespace {
namespace fs = std::filesystem;

struct Salvamento {
    apoio::PastaTemporaria pasta;
    CKeldoDoc doc;

    Salvamento() {
        doc.definirSementeFixa(5);
        doc.definirIgnorarTempoReal(true);
        doc.parametrosEditaveis().numIndividuos = 20;
        doc.parametrosEditaveis().qtdAlimento = 50;
        EXPECT_TRUE(doc.criarMundo());
        doc.executarCiclo();
    }
    std::vector<std::string> nomes(const std::string& sub = "") const {
        return apoio::nomesEm(pasta.caminho / sub);
    }
};

std::vector<uint8_t> texto(const std::string& s) {
    return {s.begin(), s.end()};
}
} // namespace

// Saving through a link writes the file it names, in that file's folder,
// and the link stays a link; chains, relative targets and a link to a file
// not yet made too.
TEST(GravacaoSegura, LigacaoSimbolicaGravaNoAlvoEFica) {
    Salvamento s;
    fs::create_directory(s.pasta.caminho / "real");
    apoio::escreverArquivo(s.pasta / "real/proj.gen", texto("antigo"));
    fs::create_symlink("real/proj.gen", s.pasta.caminho / "ligacao.gen");
    fs::create_symlink("ligacao.gen", s.pasta.caminho / "cadeia.gen");
    fs::create_symlink(s.pasta / "real/novo.gen", s.pasta.caminho / "pendente.gen");

    for (const char* nome : {"ligacao.gen", "cadeia.gen", "pendente.gen"}) {
        SCOPED_TRACE(nome);
        s.doc.executarCiclo();
        ASSERT_TRUE(s.doc.salvarProjeto(s.pasta / nome, false).ok);
        EXPECT_TRUE(fs::is_symlink(s.pasta.caminho / nome));
        EXPECT_EQ(apoio::lerArquivo(s.pasta / nome), s.doc.serializar());
    }
    EXPECT_EQ(fs::read_symlink(s.pasta.caminho / "ligacao.gen"), "real/proj.gen");
    EXPECT_EQ(s.nomes("real"), (std::vector<std::string>{"novo.gen", "proj.gen"}));
    EXPECT_EQ(s.nomes(),
              (std::vector<std::string>{"cadeia.gen", "ligacao.gen", "pendente.gen", "real"}));

    // A loop of links is refused with its reason.
    fs::create_symlink("laco2.gen", s.pasta.caminho / "laco1.gen");
    fs::create_symlink("laco1.gen", s.pasta.caminho / "laco2.gen");
    const ResultadoArquivo r = s.doc.salvarProjeto(s.pasta / "laco1.gen", false);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.erroSistema, ELOOP);
}

// A FIFO receives the project and stays a FIFO; the snapshot goes the same way.
TEST(GravacaoSegura, FifoRecebeOsBytesENaoESubstituido) {
    Salvamento s;
    for (const char* nome : {"saida.gen", "saida000.txt"})
        ASSERT_EQ(mkfifo((s.pasta / nome).c_str(), 0644), 0);
    // Held open for reading and writing, the FIFO never blocks the writer;
    // what the save writes waits in its buffer.
    const int projeto = open((s.pasta / "saida.gen").c_str(), O_RDWR | O_NONBLOCK);
    const int snapshot = open((s.pasta / "saida000.txt").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(projeto, 0);
    ASSERT_GE(snapshot, 0);
    const std::vector<uint8_t> esperado = s.doc.serializar();
    ASSERT_LT(esperado.size(), 60000u) << "maior que o buffer de um FIFO";

    ASSERT_TRUE(s.doc.salvarProjeto(s.pasta / "saida.gen").ok);
    std::vector<uint8_t> lido(esperado.size() + 1);
    const ssize_t n = read(projeto, lido.data(), lido.size());
    lido.resize(n < 0 ? 0 : size_t(n));
    EXPECT_EQ(lido, esperado);
    // A project that is no file has no folder of its own: no snapshot is written.
    char cabecalho[3] = {};
    EXPECT_EQ(read(snapshot, cabecalho, 3), -1);
    close(projeto);
    close(snapshot);
    for (const char* nome : {"saida.gen", "saida000.txt"})
        EXPECT_TRUE(fs::is_fifo(s.pasta.caminho / nome)) << nome;
    EXPECT_EQ(s.nomes(), (std::vector<std::string>{"saida.gen", "saida000.txt"}));
}

// A character device (a twin of /dev/null, so that the real one is never at
// risk) is written, not replaced. Making device nodes needs root.
TEST(GravacaoSegura, DispositivoNaoESubstituido) {
    Salvamento s;
    const std::string nulo = s.pasta / "nulo";
    if (mknod(nulo.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "sem permissao para criar um dispositivo";
    ASSERT_TRUE(s.doc.salvarProjeto(nulo, false).ok);
    EXPECT_TRUE(fs::is_character_file(nulo));
    EXPECT_EQ(s.nomes(), std::vector<std::string>{"nulo"});
    // A folder is never a target.
    const ResultadoArquivo r = s.doc.salvarProjeto(s.pasta.caminho.string(), false);
    EXPECT_EQ(r.erroSistema, EISDIR);
}

// The old fixed temporary name, planted as a link to another file or kept
// as a file of the user's own, is neither followed nor touched.
TEST(GravacaoSegura, NomeTemporarioPlantadoNaoESeguido) {
    Salvamento s;
    const std::string alvo = s.pasta / "proj.gen";
    apoio::escreverArquivo(s.pasta / "vitima", texto("de outra pessoa"));
    fs::create_symlink(s.pasta / "vitima", s.pasta.caminho / "proj.gen.tmp~");
    apoio::escreverArquivo(s.pasta / "proj000.txt.tmp~", texto("do usuario"));
    for (int k = 0; k < 2; ++k) {
        s.doc.executarCiclo();
        ASSERT_TRUE(s.doc.salvarProjeto(alvo).ok);
        EXPECT_FALSE(fs::is_symlink(alvo));
        EXPECT_EQ(apoio::lerArquivo(alvo), s.doc.serializar());
    }
    EXPECT_EQ(apoio::lerArquivo(s.pasta / "vitima"), texto("de outra pessoa"));
    EXPECT_EQ(apoio::lerArquivo(s.pasta / "proj000.txt.tmp~"), texto("do usuario"));
    EXPECT_TRUE(fs::is_symlink(s.pasta.caminho / "proj.gen.tmp~"));
    EXPECT_EQ(s.nomes(), (std::vector<std::string>{"proj.gen", "proj.gen.tmp~", "proj000.txt",
                                                   "proj000.txt.tmp~", "vitima"}));
}

// Temporaries are ".<name>.XXXXXX.tmp~". A later save removes one left by a
// save that died, but not one that a save in progress holds locked, not a
// link that merely has such a name, and never follows it.
TEST(GravacaoSegura, SobrasSaoLimpasSemTocarNoQueEstaEmUso) {
    Salvamento s;
    const std::string alvo = s.pasta / "proj.gen";
    apoio::escreverArquivo(s.pasta / ".proj.gen.morto1.tmp~", texto("sobra"));
    apoio::escreverArquivo(s.pasta / ".proj.gen.emuso1.tmp~", texto("em uso"));
    apoio::escreverArquivo(s.pasta / "vitima", texto("alheio"));
    fs::create_symlink(s.pasta / "vitima", s.pasta.caminho / ".proj.gen.ligac1.tmp~");
    apoio::escreverArquivo(s.pasta / ".outro.gen.morto1.tmp~", texto("de outro projeto"));
    const int emUso = open((s.pasta / ".proj.gen.emuso1.tmp~").c_str(), O_RDONLY);
    ASSERT_EQ(flock(emUso, LOCK_EX), 0);

    ASSERT_TRUE(s.doc.salvarProjeto(alvo, false).ok);
    close(emUso);
    EXPECT_EQ(s.nomes(),
              (std::vector<std::string>{".outro.gen.morto1.tmp~", ".proj.gen.emuso1.tmp~",
                                        ".proj.gen.ligac1.tmp~", "proj.gen", "vitima"}));
    EXPECT_EQ(apoio::lerArquivo(s.pasta / "vitima"), texto("alheio"));
}

// A new file gets the usual mode (umask applied); a replaced one keeps its own.
TEST(GravacaoSegura, ModoDoArquivoNovoEDoSubstituido) {
    Salvamento s;
    const mode_t antes = umask(027);
    ASSERT_TRUE(s.doc.salvarProjeto(s.pasta / "novo.gen", false).ok);
    umask(antes);
    EXPECT_EQ(fs::status(s.pasta / "novo.gen").permissions(), fs::perms(0640));
    fs::permissions(s.pasta / "novo.gen", fs::perms(0604));
    ASSERT_TRUE(s.doc.salvarProjeto(s.pasta / "novo.gen", false).ok);
    EXPECT_EQ(fs::status(s.pasta / "novo.gen").permissions(), fs::perms(0604));
}

// The check that a target can be written leaves nothing behind and gives
// the reason of a refusal.
TEST(GravacaoSegura, VerificarNaoDeixaNada) {
    Salvamento s;
    EXPECT_EQ(GravacaoSegura::verificar(s.pasta / "novo.gen"), 0);
    EXPECT_EQ(GravacaoSegura::verificar(s.pasta / "falta/novo.gen"), ENOENT);
    EXPECT_EQ(GravacaoSegura::verificar(s.pasta.caminho.string()), EISDIR);
    apoio::escreverArquivo(s.pasta / "somente.gen", texto("x"));
    fs::permissions(s.pasta / "somente.gen", fs::perms(0444));
    EXPECT_EQ(GravacaoSegura::verificar(s.pasta / "somente.gen"), EACCES);
    EXPECT_EQ(s.nomes(), std::vector<std::string>{"somente.gen"});
    EXPECT_EQ(GravacaoSegura::descricao(ENOSPC), "No space left on device");
}
