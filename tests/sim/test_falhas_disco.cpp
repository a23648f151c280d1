// Failures of the file system under a save, a trace and a snapshot: a disk
// that is really full, a folder that turns read-only (for root too), and a
// program that dies between writing the new file and renaming it into place.
// The previous project stays byte for byte, nothing is left behind, the run
// goes on, and keldo-run ends with status 1. A rename refused at the end
// (a bind mount) does not lose the new content.
#include "AcessoDocumento.h"
#include "ArquivoApoio.h"
#include "io/GravacaoSegura.h"
#include "sim/TextoFalhaArquivo.h"
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace keldo::sim;

namespace {
namespace fs = std::filesystem;

// When set, the next rename onto a project file ends the process instead: a
// crash or a power cut right after the temporary file was written.
std::atomic<bool> morrerNaRenomeacao{false};
constexpr int statusInterrompido = 75;
// When not 0, renames onto a project file fail with this errno.
std::atomic<int> erroNaRenomeacao{0};
} // namespace

// Every rename of this test program passes here (the library's file system
// calls reach the C library's rename through the dynamic linker).
extern "C" int rename(const char* de, const char* para) noexcept {
    const std::string destino = para;
    const bool projeto = destino.size() > 4 && destino.compare(destino.size() - 4, 4, ".gen") == 0;
    if (morrerNaRenomeacao.load() && projeto)
        _exit(statusInterrompido);
    if (erroNaRenomeacao.load() && projeto) {
        errno = erroNaRenomeacao.load();
        return -1;
    }
    return renameat(AT_FDCWD, de, AT_FDCWD, para);
}

namespace {
// Mounts made from here on are this process's own (a mount namespace of its
// own); false without the right to mount.
bool montagensIsoladas() {
    static const bool isolado = unshare(CLONE_NEWNS) == 0 &&
                                mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return isolado;
}

// A small tmpfs mounted in a mount namespace of this process only, so a
// full or read-only disk is real even for root. Unavailable without the
// right to mount: the tests that need it are skipped.
class DiscoPequeno {
  public:
    explicit DiscoPequeno(size_t kib) {
        const std::string opcoes = "size=" + std::to_string(kib) + "k";
        montado = montagensIsoladas() &&
                  mount("tmpfs", pasta.caminho.c_str(), "tmpfs", 0, opcoes.c_str()) == 0;
    }
    ~DiscoPequeno() {
        if (montado)
            umount2(pasta.caminho.c_str(), MNT_DETACH);
    }
    // Fills every free byte with a file of its own.
    void encher() const {
        std::FILE* f = std::fopen((pasta / "enchimento").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const std::vector<char> bloco(4096, 'x');
        while (std::fwrite(bloco.data(), 1, bloco.size(), f) == bloco.size()) {
        }
        std::fclose(f);
        std::FILE* mais = std::fopen((pasta / "mais").c_str(), "wb");
        ASSERT_NE(mais, nullptr);
        EXPECT_NE(std::fputc('x', mais), EOF);
        EXPECT_NE(std::fclose(mais), 0) << "o disco ainda tem espaco";
        fs::remove(pasta / "mais");
    }
    // Even root is refused (EROFS) from here on.
    bool somenteLeitura() const {
        return mount(nullptr, pasta.caminho.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

    apoio::PastaTemporaria pasta;
    bool montado = false;
};

void mundo(CKeldoDoc& doc, int individuos) {
    doc.definirSementeFixa(31);
    doc.definirIgnorarTempoReal(true);
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = individuos;
    ASSERT_TRUE(doc.criarMundo());
    for (int c = 0; c < 3; ++c)
        doc.executarCiclo();
}

// How the disk fails under the project saved in it.
struct Falha {
    const char* nome;
    bool (*aplicar)(const DiscoPequeno&);
    const char* razao; // as the messages give it
};
const Falha falhas[] = {
    {"disco cheio",
     [](const DiscoPequeno& d) {
         d.encher();
         return true;
     },
     "No space left on device"},
    {"pasta somente leitura", [](const DiscoPequeno& d) { return d.somenteLeitura(); },
     "Read-only file system"},
};

// A saved project of 20 individuals in a 96 KiB disk that then fails.
struct ProjetoEmDiscoFalho {
    DiscoPequeno disco{96};
    CKeldoDoc doc;
    std::string alvo = disco.pasta / "proj.gen";
    std::vector<uint8_t> anterior;
    std::vector<std::string> nomesAntes;

    bool preparar(const Falha& falha) {
        if (!disco.montado)
            return false;
        mundo(doc, 20);
        EXPECT_TRUE(doc.salvarProjeto(alvo).ok);
        anterior = apoio::lerArquivo(alvo);
        nomesAntes = apoio::nomesEm(disco.pasta.caminho);
        if (!falha.aplicar(disco))
            return false;
        nomesAntes = apoio::nomesEm(disco.pasta.caminho);
        return true;
    }
    void esperarProjetoIntacto() const {
        EXPECT_EQ(apoio::lerArquivo(alvo), anterior);
        EXPECT_EQ(apoio::nomesEm(disco.pasta.caminho), nomesAntes)
            << "sobrou um arquivo temporario";
        CKeldoDoc lido;
        EXPECT_TRUE(lido.carregarProjeto(alvo).ok);
    }
};

std::string keldoRun() {
    std::error_code erro;
    const fs::path aqui = fs::read_symlink("/proc/self/exe", erro);
    return erro ? std::string() : (aqui.parent_path() / "keldo-run").string();
}

struct Execucao {
    int status = -1;
    std::string saida;
    std::string erro;
};

Execucao rodarKeldoRun(const std::string& argumentos, const fs::path& registros) {
    const std::string out = (registros / "out").string(), err = (registros / "err").string();
    const std::string comando = keldoRun() + " " + argumentos + " >" + out + " 2>" + err;
    const int w = std::system(comando.c_str());
    Execucao e;
    e.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
    const auto texto = [](const std::string& nome) {
        const std::vector<uint8_t> b = apoio::lerArquivo(nome);
        return std::string(b.begin(), b.end());
    };
    e.saida = texto(out);
    e.erro = texto(err);
    return e;
}
} // namespace

TEST(FalhasDeDisco, SalvarFalhaLimpoEMantemOProjetoAnterior) {
    for (const Falha& falha : falhas) {
        SCOPED_TRACE(falha.nome);
        ProjetoEmDiscoFalho p;
        if (!p.preparar(falha))
            GTEST_SKIP() << "sem permissao para montar um tmpfs";
        mundo(p.doc, 300); // larger than what is left, whatever the failure
        p.doc.arquivo().marcarModificado();
        for (bool comSnapshot : {false, true}) {
            const ResultadoArquivo r = p.doc.salvarProjeto(p.alvo, comSnapshot);
            EXPECT_FALSE(r.ok);
            EXPECT_NE(r.mensagem.find(p.alvo + ": " + falha.razao), std::string::npos)
                << r.mensagem;
            EXPECT_TRUE(p.doc.arquivo().modificado());
            p.esperarProjetoIntacto();
        }
    }
}

// The cycle's trace and its periodic save (snapshot first) fail silently:
// the run goes on, the snapshot counter grows, the old project stays.
TEST(FalhasDeDisco, TraceESalvamentoPeriodicoFalhamEOCicloContinua) {
    for (const Falha& falha : falhas) {
        SCOPED_TRACE(falha.nome);
        ProjetoEmDiscoFalho p;
        if (!p.preparar(falha))
            GTEST_SKIP() << "sem permissao para montar um tmpfs";
        apoio::NaPasta aqui(p.disco.pasta.caminho);
        p.doc.arquivo().definirCaminho(p.alvo);
        AcessoDocumento::definirEstadoExecucao(p.doc, EstadoExecucao::executando);
        AcessoDocumento::parametrosEditaveis(p.doc).gerarTrace = 1;
        AcessoDocumento::parametrosEditaveis(p.doc).salvarAtivo = 1;
        AcessoDocumento::parametrosEditaveis(p.doc).salvarCiclos = 2;
        const int32_t tempo = p.doc.tempo();
        for (int c = 0; c < 6; ++c)
            p.doc.executarCiclo();
        EXPECT_EQ(p.doc.tempo(), tempo + 6);
        EXPECT_EQ(p.doc.numSnapshot(), 3);
        EXPECT_EQ(p.doc.salvamentosPeriodicosFalhos(), 3);
        EXPECT_EQ(apoio::lerArquivo(p.alvo), p.anterior);
        CKeldoDoc lido;
        EXPECT_TRUE(lido.carregarProjeto(p.alvo).ok);
    }
}

// Lines of standard error besides the "semente: N" every run prints.
static long linhasDeErro(const std::string& erro) {
    const long linhas = std::count(erro.begin(), erro.end(), '\n');
    return erro.find("semente: ") == std::string::npos ? linhas : linhas - 1;
}

TEST(FalhasDeDisco, KeldoRunTerminaComStatus1EMantemOProjeto) {
    if (!fs::exists(keldoRun()))
        GTEST_SKIP() << "keldo-run nao foi compilado";
    apoio::PastaTemporaria registros;
    for (const Falha& falha : falhas) {
        SCOPED_TRACE(falha.nome);
        ProjetoEmDiscoFalho p;
        if (!p.preparar(falha))
            GTEST_SKIP() << "sem permissao para montar um tmpfs";
        const Execucao salvar = rodarKeldoRun(
            "--seed 4 --cycles 2 --set numIndividuos=300 --save " + p.alvo, registros.caminho);
        EXPECT_EQ(salvar.status, 1);
        EXPECT_EQ(linhasDeErro(salvar.erro), 1) << salvar.erro;
        EXPECT_NE(salvar.erro.find(falha.razao), std::string::npos) << salvar.erro;
        p.esperarProjetoIntacto();

        // A trace that cannot be written: a read-only disk is found before the
        // first cycle; a full one only as it fills, and every cycle still runs.
        const bool antes = falha.nome == std::string("pasta somente leitura");
        const Execucao trace = rodarKeldoRun(
            "--seed 4 --cycles 5 --trace " + (p.disco.pasta / "t.txt"), registros.caminho);
        EXPECT_EQ(trace.status, 1);
        EXPECT_EQ(trace.saida.rfind("Tempo: 5, ", 0), antes ? std::string::npos : 0u)
            << trace.saida;
        EXPECT_EQ(linhasDeErro(trace.erro), 1) << trace.erro;
        EXPECT_NE(trace.erro.find(falha.razao), std::string::npos) << trace.erro;

        if (antes) {
            const Execucao resumo = rodarKeldoRun(
                "--seed 4 --cycles 5 --summary " + (p.disco.pasta / "r.csv"), registros.caminho);
            EXPECT_EQ(resumo.status, 1);
            EXPECT_EQ(resumo.saida, "");
            EXPECT_NE(resumo.erro.find("--summary"), std::string::npos) << resumo.erro;
        }

        // Periodic saves into the failing disk: the run completes and says so.
        const Execucao periodico = rodarKeldoRun(
            "--seed 4 --cycles 4 --set salvarAtivo=1 --set salvarCiclos=2 --save " + p.alvo,
            registros.caminho);
        EXPECT_EQ(periodico.status, 1);
        EXPECT_EQ(periodico.saida.rfind("Tempo: 4, ", 0), antes ? std::string::npos : 0u)
            << periodico.saida;
        EXPECT_NE(periodico.erro.find(falha.razao), std::string::npos) << periodico.erro;
        EXPECT_EQ(apoio::lerArquivo(p.alvo), p.anterior);
    }
}

// Killed after the temporary file was written and before the rename: the
// old project is whole and opens; the next save completes and cleans up.
TEST(FalhasDeDisco, InterrompidoEntreEscritaERenomeacao) {
    apoio::PastaTemporaria pasta;
    const std::string alvo = pasta / "proj.gen";
    CKeldoDoc doc;
    mundo(doc, 40);
    ASSERT_TRUE(doc.salvarProjeto(alvo).ok);
    const std::vector<uint8_t> anterior = apoio::lerArquivo(alvo);
    doc.executarCiclo();
    const std::vector<uint8_t> novo = doc.serializar();
    ASSERT_NE(novo, anterior);

    std::fflush(nullptr);
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
        morrerNaRenomeacao = true;
        doc.salvarProjeto(alvo);
        _exit(0); // the rename was never reached
    }
    int w = 0;
    ASSERT_EQ(waitpid(filho, &w, 0), filho);
    ASSERT_TRUE(WIFEXITED(w));
    ASSERT_EQ(WEXITSTATUS(w), statusInterrompido);

    EXPECT_EQ(apoio::lerArquivo(alvo), anterior);
    CKeldoDoc lido;
    ASSERT_TRUE(lido.carregarProjeto(alvo).ok);
    EXPECT_EQ(lido.serializar(), anterior);
    // What was left is the whole new project under another name.
    std::vector<std::string> sobras;
    for (const std::string& nome : apoio::nomesEm(pasta.caminho))
        if (nome != "proj.gen" && nome.find(".txt") == std::string::npos)
            sobras.push_back(nome);
    ASSERT_EQ(sobras.size(), 1u);
    EXPECT_EQ(apoio::lerArquivo(pasta / sobras[0]), novo);
    // Hidden, and named so that it is recognised: ".proj.gen.XXXXXX.tmp~".
    EXPECT_EQ(sobras[0].rfind(".proj.gen.", 0), 0u) << sobras[0];
    EXPECT_EQ(sobras[0].size(), std::string(".proj.gen.XXXXXX.tmp~").size()) << sobras[0];

    ASSERT_TRUE(doc.salvarProjeto(alvo).ok);
    EXPECT_EQ(apoio::lerArquivo(alvo), novo);
    EXPECT_EQ(apoio::nomesEm(pasta.caminho), (std::vector<std::string>{"proj.gen", "proj000.txt"}));
}

// The final rename refused (a target bind-mounted into place gives EBUSY):
// the project is written over the file in place instead, every byte.
TEST(FalhasDeDisco, RenomeacaoRecusadaGravaNoLugar) {
    apoio::PastaTemporaria pasta;
    const std::string alvo = pasta / "proj.gen";
    CKeldoDoc doc;
    mundo(doc, 40);
    ASSERT_TRUE(doc.salvarProjeto(alvo, false).ok);
    struct stat antes {};
    ASSERT_EQ(stat(alvo.c_str(), &antes), 0);
    doc.executarCiclo();
    erroNaRenomeacao = EBUSY;
    const ResultadoArquivo r = doc.salvarProjeto(alvo, false);
    erroNaRenomeacao = 0;
    EXPECT_TRUE(r.ok) << r.mensagem;
    EXPECT_EQ(apoio::lerArquivo(alvo), doc.serializar());
    struct stat depois {};
    ASSERT_EQ(stat(alvo.c_str(), &depois), 0);
    EXPECT_EQ(depois.st_ino, antes.st_ino);
    EXPECT_EQ(apoio::nomesEm(pasta.caminho), std::vector<std::string>{"proj.gen"});
}

// A real bind mount over the target: saved in place through it; made
// read-only, the new project is kept beside it and the message names it.
TEST(FalhasDeDisco, MontagemSobreOArquivoNaoPerdeOResultado) {
    apoio::PastaTemporaria pasta;
    const std::string fonte = pasta / "fonte.gen", alvo = pasta / "saida/proj.gen";
    fs::create_directory(pasta / "saida");
    apoio::escreverArquivo(fonte, {1, 2, 3});
    apoio::escreverArquivo(alvo, {});
    if (!montagensIsoladas() || mount(fonte.c_str(), alvo.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "sem permissao para montar (mount --bind)";
    CKeldoDoc doc;
    mundo(doc, 40);
    const ResultadoArquivo r = doc.salvarProjeto(alvo, false);
    EXPECT_TRUE(r.ok) << r.mensagem;
    EXPECT_EQ(apoio::lerArquivo(fonte), doc.serializar());
    EXPECT_EQ(apoio::nomesEm(pasta / "saida"), std::vector<std::string>{"proj.gen"});

    const std::vector<uint8_t> anterior = apoio::lerArquivo(fonte);
    ASSERT_EQ(mount(nullptr, alvo.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0);
    doc.executarCiclo();
    const ResultadoArquivo falha = doc.salvarProjeto(alvo, false);
    umount2(alvo.c_str(), MNT_DETACH);
    EXPECT_FALSE(falha.ok);
    EXPECT_EQ(falha.erroSistema, EBUSY);
    EXPECT_EQ(apoio::lerArquivo(fonte), anterior);
    const std::vector<std::string> nomes = apoio::nomesEm(pasta / "saida");
    ASSERT_EQ(nomes.size(), 2u);
    const std::string mantido = pasta / ("saida/" + nomes[1]);
    EXPECT_EQ(nomes[1].rfind("proj.gen.novo-", 0), 0u) << nomes[1];
    EXPECT_EQ(apoio::lerArquivo(mantido), doc.serializar());
    EXPECT_NE(falha.mensagem.find("; o projeto ficou em " + mantido), std::string::npos)
        << falha.mensagem;
}

constexpr uid_t ninguem = 65534;

// Runs `passo` as user nobody in a child process (the caller is root) with
// $TMPDIR set; the child's exit status is what `passo` returns.
int comoNinguem(const std::string& tmpdir, const std::function<int()>& passo) {
    std::fflush(nullptr);
    const pid_t filho = fork();
    if (filho == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(ninguem) != 0 || setuid(ninguem) != 0)
            _exit(120);
        setenv("TMPDIR", tmpdir.c_str(), 1);
        _exit(passo());
    }
    int w = 0;
    if (filho < 0 || waitpid(filho, &w, 0) != filho || !WIFEXITED(w))
        return -1;
    return WEXITSTATUS(w);
}

// A file of nobody's in a folder that refuses nobody new files.
void arquivoEmPastaFechada(const std::string& alvo, const std::vector<uint8_t>& conteudo) {
    apoio::escreverArquivo(alvo, conteudo);
    ASSERT_EQ(chown(alvo.c_str(), ninguem, ninguem), 0);
    ASSERT_EQ(chmod(fs::path(alvo).parent_path().c_str(), 0755), 0);
}

// Rewritten in place (the folder refuses new files) on a full disk: the new
// content is made in $TMPDIR first, so the old file stays whole and the new
// one is kept there and named.
TEST(FalhasDeDisco, NoLugarEmDiscoCheioMantemOsDois) {
    if (geteuid() != 0)
        GTEST_SKIP() << "precisa de root para gravar como outro usuario";
    DiscoPequeno disco{96};
    if (!disco.montado)
        GTEST_SKIP() << "sem permissao para montar um tmpfs";
    apoio::PastaTemporaria tmp;
    fs::permissions(tmp.caminho, fs::perms(0777));
    const std::string alvo = disco.pasta / "tabela.csv";
    const std::vector<uint8_t> anterior(40000, 'a');
    arquivoEmPastaFechada(alvo, anterior);
    disco.encher();
    const std::string novo(60000, 'n');
    const int status = comoNinguem(tmp.caminho, [&] {
        keldo::io::GravacaoSegura g(alvo);
        if (!g.noLugar())
            return 21;
        g.escrever(novo.data(), novo.size());
        if (g.concluir() || g.erro() != ENOSPC)
            return 22;
        const std::vector<uint8_t> mantido = apoio::lerArquivo(g.mantido());
        return std::string(mantido.begin(), mantido.end()) == novo ? 0 : 23;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(apoio::lerArquivo(alvo), anterior);
    EXPECT_EQ(apoio::nomesEm(tmp.caminho).size(), 1u);
}

// A $TMPDIR too small for the copy: what it took goes to the file, and the
// rest is written there directly, as without a copy.
TEST(FalhasDeDisco, NoLugarComTmpdirCheioGravaDireto) {
    if (geteuid() != 0)
        GTEST_SKIP() << "precisa de root para gravar como outro usuario";
    DiscoPequeno disco{96};
    if (!disco.montado)
        GTEST_SKIP() << "sem permissao para montar um tmpfs";
    ASSERT_EQ(chmod(disco.pasta.caminho.c_str(), 01777), 0);
    apoio::PastaTemporaria pasta;
    fs::permissions(pasta.caminho, fs::perms(0755));
    const std::string alvo = pasta / "tabela.csv";
    arquivoEmPastaFechada(alvo, std::vector<uint8_t>(1000, 'a'));
    std::string novo;
    for (int linha = 0; novo.size() < 300000; ++linha)
        novo += std::to_string(linha) + ";linha da tabela\n";
    const int status = comoNinguem(disco.pasta.caminho, [&] {
        keldo::io::GravacaoSegura g(alvo);
        for (size_t k = 0; k < novo.size(); k += 10000)
            if (!g.escrever(novo.data() + k, std::min<size_t>(10000, novo.size() - k)))
                return 21;
        return g.concluir() ? 0 : 22;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(apoio::lerArquivo(alvo), std::vector<uint8_t>(novo.begin(), novo.end()));
    EXPECT_EQ(apoio::nomesEm(disco.pasta.caminho), std::vector<std::string>{});
    EXPECT_EQ(apoio::nomesEm(pasta.caminho), std::vector<std::string>{"tabela.csv"});
}

// A world past the limit is not saved: every program would refuse to open
// the file. The previous project stays; the message says why.
TEST(FalhasDeDisco, MundoAlemDoLimiteNaoESalvo) {
    apoio::PastaTemporaria pasta;
    const std::string projeto = (pasta.caminho / "p.gen").string();
    CKeldoDoc doc;
    doc.criarMundo();
    ASSERT_TRUE(doc.salvarProjeto(projeto).ok);
    const std::vector<uint8_t> antes = apoio::lerArquivo(projeto);
    FoodX item;
    AcessoDocumento::alimentosEditaveis(doc).assign(CKeldoDoc::limiteMundo - doc.vivos().size() + 1,
                                                    item);
    const ResultadoArquivo r = doc.salvarProjeto(projeto);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.falha, FalhaArquivo::salvarAlemDoLimite);
    EXPECT_EQ(apoio::lerArquivo(projeto), antes);
    EXPECT_EQ(textoFalhaArquivo(r, "/x/p.gen"),
              "Failed to save document.\n/x/p.gen would hold more than 300000 individuals and "
              "food items, the limit of a world, and could not be opened again.");
    AcessoDocumento::alimentosEditaveis(doc).pop_back();
    EXPECT_TRUE(doc.salvarProjeto(projeto).ok); // exactly at the limit
}
