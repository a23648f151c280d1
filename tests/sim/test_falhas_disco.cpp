// Failures of the file system under a save, a trace and a snapshot: a disk
// that is really full, a folder that turns read-only (for root too), and a
// program that dies between writing the new file and renaming it into place.
// The previous project stays byte for byte, nothing is left behind, the run
// goes on, and keldo-run ends with status 1.
#include "ArquivoApoio.h"
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// When set, the next rename onto a project file ends the process instead: a
// crash or a power cut right after the temporary file was written.
std::atomic<bool> morrerNaRenomeacao{false};
constexpr int statusInterrompido = 75;
} // namespace

// Every rename of this test program passes here (the library's file system
// calls reach the C library's rename through the dynamic linker).
extern "C" int rename(const char* de, const char* para) noexcept {
    const std::string destino = para;
    if (morrerNaRenomeacao.load() && destino.size() > 4 &&
        destino.compare(destino.size() - 4, 4, ".gen") == 0)
        _exit(statusInterrompido);
    return renameat(AT_FDCWD, de, AT_FDCWD, para);
}

namespace {
// A small tmpfs mounted in a mount namespace of this process only, so a
// full or read-only disk is real even for root. Unavailable without the
// right to mount: the tests that need it are skipped.
class DiscoPequeno {
  public:
    explicit DiscoPequeno(size_t kib) {
        static const bool isolado = unshare(CLONE_NEWNS) == 0 &&
                                    mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        const std::string opcoes = "size=" + std::to_string(kib) + "k";
        montado = isolado && mount("tmpfs", pasta.caminho.c_str(), "tmpfs", 0, opcoes.c_str()) == 0;
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
    doc.parametrosEditaveis().numIndividuos = individuos;
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
        p.doc.definirEstadoExecucao(EstadoExecucao::executando);
        p.doc.parametrosEditaveis().gerarTrace = 1;
        p.doc.parametrosEditaveis().salvarAtivo = 1;
        p.doc.parametrosEditaveis().salvarCiclos = 2;
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
