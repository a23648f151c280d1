// What a save does to the names around its target: links are followed and
// kept, devices and FIFOs are written and never replaced, a planted or
// foreign name beside the target is never followed nor destroyed, and the
// temporary of a save that died is cleaned up by the next one.
#include "AcessoDocumento.h"
#include "ArquivoApoio.h"
#include "io/GravacaoSegura.h"
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace keldo::io;
using namespace keldo::sim;

namespace {
namespace fs = std::filesystem;

struct Salvamento {
    apoio::PastaTemporaria pasta;
    CKeldoDoc doc;

    Salvamento() {
        doc.definirSementeFixa(5);
        doc.definirIgnorarTempoReal(true);
        AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 20;
        AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 50;
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

constexpr uid_t ninguem = 65534;

// Runs `passo` in a child process as user `uid` (the caller is root); the
// child's exit status is what `passo` returns, -1 when it did not exit.
int comoUsuario(uid_t uid, const std::function<int()>& passo) {
    std::fflush(nullptr);
    const pid_t filho = fork();
    if (filho == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(uid) != 0 || setuid(uid) != 0)
            _exit(120);
        _exit(passo());
    }
    int w = 0;
    if (filho < 0 || waitpid(filho, &w, 0) != filho || !WIFEXITED(w))
        return -1;
    return WEXITSTATUS(w);
}

void dono(const std::string& caminho, uid_t uid) {
    ASSERT_EQ(lchown(caminho.c_str(), uid, uid), 0) << caminho;
}

// A folder other users may enter, in a temporary folder they may cross.
std::string pastaAberta(const Salvamento& s, const std::string& nome, mode_t modo) {
    fs::permissions(s.pasta.caminho, fs::perms(0755));
    const std::string pasta = s.pasta / nome;
    fs::create_directory(pasta);
    chmod(pasta.c_str(), modo);
    return pasta;
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

// A new file gets the usual mode (umask applied); a replaced one keeps its
// permission bits exactly, whatever the umask, but never setuid or setgid.
TEST(GravacaoSegura, ModoDoArquivoNovoEDoSubstituido) {
    Salvamento s;
    const std::string alvo = s.pasta / "novo.gen";
    const mode_t antes = umask(027);
    ASSERT_TRUE(s.doc.salvarProjeto(alvo, false).ok);
    EXPECT_EQ(fs::status(alvo).permissions(), fs::perms(0640));
    umask(022);
    for (const mode_t modo : {0604, 0664, 0666, 0777, 06775}) {
        SCOPED_TRACE(modo);
        ASSERT_EQ(chmod(alvo.c_str(), modo), 0);
        ASSERT_TRUE(s.doc.salvarProjeto(alvo, false).ok);
        EXPECT_EQ(fs::status(alvo).permissions(), fs::perms(modo & 0777));
        ASSERT_EQ(chmod(alvo.c_str(), modo), 0);
        ASSERT_EQ(GravacaoSegura::gravar(alvo, "x", 1), 0);
        EXPECT_EQ(fs::status(alvo).permissions(), fs::perms(modo & 0777));
    }
    umask(antes);
}

// Extended attributes (user.* here, ACLs the same way) go over to the new
// file, where the file system keeps them.
TEST(GravacaoSegura, AtributosEstendidosPassamAoNovoArquivo) {
    Salvamento s;
    const std::string alvo = s.pasta / "proj.gen";
    apoio::escreverArquivo(alvo, texto("antigo"));
    if (setxattr(alvo.c_str(), "user.keldo", "valor", 5, 0) != 0)
        GTEST_SKIP() << "o sistema de arquivos nao guarda atributos user.*";
    ASSERT_EQ(GravacaoSegura::gravar(alvo, "novo", 4), 0);
    char valor[16] = {};
    EXPECT_EQ(getxattr(alvo.c_str(), "user.keldo", valor, sizeof valor), 5);
    EXPECT_EQ(std::string(valor), "valor");
    EXPECT_EQ(apoio::lerArquivo(alvo), texto("novo"));
}

// A file with several hard links is rewritten in place, so every name sees
// the new content; nothing is left beside it.
TEST(GravacaoSegura, LigacoesFisicasVeemONovoConteudo) {
    Salvamento s;
    const std::string alvo = s.pasta / "proj.gen", outro = s.pasta / "copia.gen";
    apoio::escreverArquivo(alvo, texto("um conteudo antigo e mais longo"));
    ASSERT_EQ(link(alvo.c_str(), outro.c_str()), 0);
    struct stat antes {};
    ASSERT_EQ(stat(alvo.c_str(), &antes), 0);
    ASSERT_TRUE(s.doc.salvarProjeto(outro, false).ok);
    EXPECT_EQ(apoio::lerArquivo(alvo), s.doc.serializar());
    ASSERT_EQ(GravacaoSegura::gravar(alvo, "novo", 4), 0);
    EXPECT_EQ(apoio::lerArquivo(outro), texto("novo"));
    struct stat depois {};
    ASSERT_EQ(stat(outro.c_str(), &depois), 0);
    EXPECT_EQ(depois.st_ino, antes.st_ino);
    EXPECT_EQ(depois.st_nlink, 2u);
    EXPECT_EQ(s.nomes(), (std::vector<std::string>{"copia.gen", "proj.gen"}));
}

// A link that another user planted in a sticky world-writable folder is not
// followed, by the save nor by its check, whoever saves (root too); the
// user's own links, the folder owner's, and links in other folders are.
TEST(GravacaoSegura, LigacaoDeOutroUsuarioEmPastaCompartilhadaRecusada) {
    Salvamento s;
    if (geteuid() != 0)
        GTEST_SKIP() << "precisa de root para dar a ligacao a outro usuario";
    const std::string compartilhada = pastaAberta(s, "compartilhada", 01777);
    const std::string vitima = s.pasta / "vitima", ligacao = compartilhada + "/saida.gen";
    apoio::escreverArquivo(vitima, texto("de outra pessoa"));
    fs::create_symlink(vitima, ligacao);
    dono(ligacao, ninguem);

    EXPECT_EQ(GravacaoSegura::verificar(ligacao), GravacaoSegura::erroLigacaoAlheia);
    EXPECT_EQ(GravacaoSegura::gravar(ligacao, "novo", 4), GravacaoSegura::erroLigacaoAlheia);
    GravacaoSegura aberta(ligacao);
    EXPECT_FALSE(aberta.aberta());
    const ResultadoArquivo r = s.doc.salvarProjeto(ligacao, false);
    EXPECT_EQ(r.erroSistema, GravacaoSegura::erroLigacaoAlheia);
    EXPECT_NE(r.mensagem.find("Symbolic link of another user in a shared folder"),
              std::string::npos)
        << r.mensagem;
    EXPECT_EQ(apoio::lerArquivo(vitima), texto("de outra pessoa"));
    EXPECT_EQ(apoio::nomesEm(compartilhada), std::vector<std::string>{"saida.gen"});

    // The folder's owner may leave links there; a folder that is not sticky
    // is no protection to begin with.
    dono(compartilhada, ninguem);
    EXPECT_EQ(GravacaoSegura::gravar(ligacao, "dono", 4), 0);
    EXPECT_EQ(apoio::lerArquivo(vitima), texto("dono"));
    dono(compartilhada, 0);
    chmod(compartilhada.c_str(), 0777);
    EXPECT_EQ(GravacaoSegura::gravar(ligacao, "comum", 5), 0);
    EXPECT_EQ(apoio::lerArquivo(vitima), texto("comum"));
    chmod(compartilhada.c_str(), 01777);
    dono(ligacao, 0);
    EXPECT_EQ(GravacaoSegura::verificar(ligacao), 0);
    EXPECT_EQ(GravacaoSegura::gravar(ligacao, "meu", 3), 0);
    EXPECT_EQ(apoio::lerArquivo(vitima), texto("meu"));
    EXPECT_TRUE(fs::is_symlink(ligacao));
}

// A folder that refuses new files: the whole content is made in $TMPDIR and
// only then written over the old file, which stays whole until then.
TEST(GravacaoSegura, NoLugarSoTocaNoArquivoAoConcluir) {
    Salvamento s;
    if (geteuid() != 0)
        GTEST_SKIP() << "precisa de root para gravar como outro usuario";
    const std::string fechada = pastaAberta(s, "fechada", 0755);
    const std::string tmp = pastaAberta(s, "tmp", 0700);
    dono(tmp, ninguem);
    const std::string alvo = fechada + "/tabela.csv";
    const std::string antigo(5000, 'a');
    const std::string novo = std::string(3000, 'n') + "\n";
    for (const char* pastaTmp : {tmp.c_str(), "/nao/existe"}) {
        SCOPED_TRACE(pastaTmp);
        const bool direto = pastaTmp == std::string("/nao/existe");
        apoio::escreverArquivo(alvo, texto(antigo));
        dono(alvo, ninguem);
        const int status = comoUsuario(ninguem, [&] {
            setenv("TMPDIR", pastaTmp, 1);
            GravacaoSegura g(alvo);
            if (!g.aberta() || !g.noLugar())
                return 10;
            g.escrever(novo.data(), 1000);
            // Killed here, the old file would be whole; written directly, it is not.
            if (!direto && apoio::lerArquivo(alvo) != texto(antigo))
                return 11;
            g.escrever(novo.data() + 1000, novo.size() - 1000);
            return g.concluir() && g.mantido().empty() ? 0 : 12;
        });
        EXPECT_EQ(status, 0);
        EXPECT_EQ(apoio::lerArquivo(alvo), texto(novo));
        EXPECT_EQ(apoio::nomesEm(fechada), std::vector<std::string>{"tabela.csv"});
        EXPECT_EQ(apoio::nomesEm(tmp), std::vector<std::string>{});
    }
}

// The rename refused at the end (another user's writable file in a sticky
// folder: EPERM) does not throw the result away: it is written in place,
// and where that fails too, it is kept and named.
TEST(GravacaoSegura, RenomeacaoRecusadaNaoPerdeOResultado) {
    Salvamento s;
    if (geteuid() != 0)
        GTEST_SKIP() << "precisa de root para gravar como outro usuario";
    constexpr uid_t usuario = 4242;
    const std::string compartilhada = pastaAberta(s, "compartilhada", 01777);
    const std::string alvo = compartilhada + "/resumo.csv";
    apoio::escreverArquivo(alvo, texto("antigo"));
    dono(alvo, ninguem);
    chmod(alvo.c_str(), 0666);
    struct stat antes {};
    ASSERT_EQ(stat(alvo.c_str(), &antes), 0);
    EXPECT_EQ(comoUsuario(usuario, [&] { return GravacaoSegura::gravar(alvo, "novo", 4); }), 0);
    EXPECT_EQ(apoio::lerArquivo(alvo), texto("novo"));
    struct stat depois {};
    ASSERT_EQ(stat(alvo.c_str(), &depois), 0);
    EXPECT_EQ(depois.st_ino, antes.st_ino);
    EXPECT_EQ(depois.st_uid, ninguem);
    EXPECT_EQ(apoio::nomesEm(compartilhada), std::vector<std::string>{"resumo.csv"});

    // Writable by its group only: the check passes, the rename and the
    // write in place are both refused.
    chmod(alvo.c_str(), 0660);
    const int status = comoUsuario(usuario, [&] {
        if (GravacaoSegura::verificar(alvo) != 0)
            return 10;
        GravacaoSegura g(alvo);
        g.escrever("resultado", 9);
        if (g.concluir() || g.erro() != EPERM)
            return 11;
        const std::string& mantido = g.mantido();
        return !mantido.empty() && apoio::lerArquivo(mantido) == texto("resultado") ? 0 : 12;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(apoio::lerArquivo(alvo), texto("novo"));
    const std::vector<std::string> nomes = apoio::nomesEm(compartilhada);
    ASSERT_EQ(nomes.size(), 2u);
    EXPECT_EQ(nomes[1].rfind("resumo.csv.novo-", 0), 0u) << nomes[1];
    EXPECT_EQ(apoio::lerArquivo(compartilhada + "/" + nomes[1]), texto("resultado"));
    // The next save's cleanup leaves a kept result alone.
    ASSERT_EQ(GravacaoSegura::gravar(alvo, "depois", 6), 0);
    EXPECT_EQ(apoio::nomesEm(compartilhada), nomes);
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
