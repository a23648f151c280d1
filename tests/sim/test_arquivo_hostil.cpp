// Damaged and malicious project files, and saves that cannot be written:
// each fails with a message and leaves the world in memory and the file on
// disk as they were.
#include "AcessoDocumento.h"
#include "ArquivoApoio.h"
#include "ConjuntoDanificado.h"
#include "IndividuoTeste.h"
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <new>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace keldo::model;
using namespace keldo::sim;

using apoio::Bytes;

// The largest single allocation made while a damaged file is read. The
// sanitizer build keeps its own allocator (and its checks) instead.
#if defined(__SANITIZE_ADDRESS__)
#define KELDO_MEDE_ALOCACAO 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELDO_MEDE_ALOCACAO 0
#endif
#endif
#ifndef KELDO_MEDE_ALOCACAO
#define KELDO_MEDE_ALOCACAO 1
#endif

namespace {
std::atomic<bool> medindo{false};
std::atomic<size_t> maiorAlocacao{0};
} // namespace

#if KELDO_MEDE_ALOCACAO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpragmas"
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
    if (medindo.load(std::memory_order_relaxed)) {
        size_t atual = maiorAlocacao.load(std::memory_order_relaxed);
        while (n > atual && !maiorAlocacao.compare_exchange_weak(atual, n)) {
        }
    }
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop
#endif

namespace {
constexpr size_t posNumIndividuos = 16;
constexpr size_t posNivel = 44;
constexpr size_t posIntervalo = 54;
constexpr size_t posQtdAlimento = 62;
constexpr size_t posSalvarCiclos = 78;
constexpr size_t posTaxaPermuta0 = 102;
constexpr size_t posMorteMm = 134; // morte_mm; the other thresholds follow
constexpr size_t posReproRR = 154;
constexpr size_t posListas = 162;

SpecX modelo(int32_t id, bool adulto) {
    return IndividuoTeste(id)
        .em(10.0f + static_cast<float>(id), 20.0f)
        .estado(EstadoBit::vivo | (adulto ? EstadoBit::adulto : 0))
        .pronto();
}

// One template, one food item, two living (one an egg), one dead:
// SpecX takes index 1, its template 2, FoodX 3.
std::vector<uint8_t> arquivoValido() {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).listaDefinida.push_back(modelo(1, true));
    FoodX f;
    f.x = 4.0f;
    f.y = 5.0f;
    AcessoDocumento::alimentosEditaveis(doc).push_back(f);
    AcessoDocumento::vivosEditaveis(doc).push_back(modelo(2, true));
    AcessoDocumento::vivosEditaveis(doc).push_back(modelo(3, false));
    AcessoDocumento::mortosEditaveis(doc).push_back(modelo(4, true));
    return doc.serializar();
}

void poke32(std::vector<uint8_t>& b, size_t pos, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[pos + i] = static_cast<uint8_t>(v >> (8 * i));
}
void poke16(std::vector<uint8_t>& b, size_t pos, uint16_t v) {
    b[pos] = static_cast<uint8_t>(v);
    b[pos + 1] = static_cast<uint8_t>(v >> 8);
}
void trocar(std::vector<uint8_t>& b, size_t pos, size_t n, const std::vector<uint8_t>& novos) {
    b.erase(b.begin() + static_cast<std::ptrdiff_t>(pos),
            b.begin() + static_cast<std::ptrdiff_t>(pos + n));
    b.insert(b.begin() + static_cast<std::ptrdiff_t>(pos), novos.begin(), novos.end());
}

// Where the references of the lists lie in arquivoValido().
size_t posReferenciaVivos() {
    return posListas + 2 + 6 + 5 + 57 + 2 + 6 + 5 + 7 + 2;
}
// Fields of the first living individual's record.
size_t posX() {
    return posReferenciaVivos() + 2 + 24;
}
size_t posDirY() {
    return posX() + 12;
}
size_t posContagemMortos() {
    return posReferenciaVivos() + 2 * (2 + 57);
}

// Everything of a document that a failed load must leave alone.
struct Retrato {
    std::vector<uint8_t> bytes;
    std::string caminho;
    uint32_t estadoRng;
    int32_t ovos;
    char codigoNivel;
    bool operator==(const Retrato&) const = default;
};
Retrato retratar(CKeldoDoc& doc) {
    return {doc.serializar(), doc.arquivo().caminho(), doc.gerador().estadoAtual(), doc.ovos(),
            doc.codigoNivel()};
}

void mundoAtual(CKeldoDoc& doc) {
    doc.definirSementeFixa(7);
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 12;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = "15";
    doc.criarMundo();
    for (int k = 0; k < 5; ++k)
        doc.executarCiclo();
    doc.arquivo().definirCaminho("/algum/lugar/atual.gen");
}

struct Dano {
    const char* nome;
    std::function<void(std::vector<uint8_t>&)> aplicar;
    bool versao = false;
};

const std::vector<Dano>& danos() {
    static const std::vector<Dano> lista = {
        {"arquivo vazio", [](auto& b) { b.clear(); }},
        {"versao 2999", [](auto& b) { poke32(b, 0, 2999); }, true},
        {"versao 0", [](auto& b) { poke32(b, 0, 0); }, true},
        {"versao big-endian", [](auto& b) { poke32(b, 0, 0xB80B0000); }, true},
        {"versao sozinha errada",
         [](auto& b) {
             b = {0x00, 0x0B, 0x00, 0x00};
         },
         true},
        {"texto com comprimento enorme",
         [](auto& b) { trocar(b, posNivel, 1, Bytes().u8(0xFF).le16(0xFFFF).le32(0xFFFFFFF0).v); }},
        {"texto de 16 bits alem do fim",
         [](auto& b) { trocar(b, posNivel, 1, Bytes().u8(0xFF).le16(0xFFFD).v); }},
        {"contagem enorme de 32 bits",
         [](auto& b) { trocar(b, posListas, 2, Bytes().le16(0xFFFF).le32(0xFFFFFFFF).v); }},
        {"contagem 0xFFFE", [](auto& b) { poke16(b, posListas, 0xFFFE); }},
        {"contagem de mortos enorme",
         [](auto& b) {
             trocar(b, posContagemMortos(), 2, Bytes().le16(0xFFFF).le32(0x40000000).v);
         }},
        {"contagem um a mais", [](auto& b) { poke16(b, posContagemMortos(), 2); }},
        {"nome de classe errado", [](auto& b) { b[posListas + 2 + 6 + 4] = 'Y'; }},
        {"classe FoodX na lista de individuos",
         [](auto& b) { std::copy_n("FoodX", 5, b.begin() + posListas + 2 + 6); }},
        {"esquema 2", [](auto& b) { poke16(b, posListas + 4, 2); }},
        {"esquema 0 do FoodX", [](auto& b) { poke16(b, posListas + 2 + 6 + 5 + 57 + 4, 0); }},
        {"item de comida entre os vivos", [](auto& b) { poke16(b, posReferenciaVivos(), 0x8003); }},
        {"referencia a objeto ja lido", [](auto& b) { poke16(b, posReferenciaVivos(), 0x0002); }},
        {"referencia nula", [](auto& b) { poke16(b, posReferenciaVivos(), 0x0000); }},
        {"classe de indice longo desconhecida",
         [](auto& b) {
             trocar(b, posReferenciaVivos(), 2, Bytes().le16(0x7FFF).le32(0x80123456).v);
         }},
        {"posicao que nao e numero", [](auto& b) { poke32(b, posX(), 0x7FC00000); }},
        {"posicao enorme", [](auto& b) { poke32(b, posX() + 4, 0x7149F2CA); }},
        {"direcao infinita", [](auto& b) { poke32(b, posDirY(), 0xFF800000); }},
        {"direcao alem do limite", [](auto& b) { poke32(b, posDirY(), 0x49F42400); }},
        {"intervaloAnimacao 0", [](auto& b) { poke32(b, posIntervalo, 0); }},
        {"intervaloAnimacao -1", [](auto& b) { poke32(b, posIntervalo, 0xFFFFFFFF); }},
        {"salvarCiclos 0", [](auto& b) { poke32(b, posSalvarCiclos, 0); }},
        {"salvarCiclos minimo", [](auto& b) { poke32(b, posSalvarCiclos, 0x80000000); }},
        {"numIndividuos 0", [](auto& b) { poke32(b, posNumIndividuos, 0); }},
        {"numIndividuos 1001", [](auto& b) { poke32(b, posNumIndividuos, 1001); }},
        {"numIndividuos enorme", [](auto& b) { poke32(b, posNumIndividuos, 0x7FFFFFFF); }},
        {"qtdAlimento -1", [](auto& b) { poke32(b, posQtdAlimento, 0xFFFFFFFF); }},
        {"qtdAlimento 2001", [](auto& b) { poke32(b, posQtdAlimento, 2001); }},
        {"morte_mm 32768", [](auto& b) { poke32(b, posMorteMm, 32768); }},
        {"morte_MM enorme", [](auto& b) { poke32(b, posMorteMm + 8, 0xFFFFFFFF); }},
        {"repro_RR 65535", [](auto& b) { poke32(b, posReproRR, 65535); }},
    };
    return lista;
}

void esperarFalhaLimpa(const std::vector<uint8_t>& arquivo, bool versao) {
    CKeldoDoc doc;
    mundoAtual(doc);
    const Retrato antes = retratar(doc);
    maiorAlocacao = 0;
    medindo = true;
    const ResultadoArquivo r = doc.carregarBytes(arquivo);
    medindo = false;
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.versaoInvalida, versao);
    if (versao)
        EXPECT_EQ(r.mensagem, "Vers\xC3\xA3o inv\xC3\xA1lida do arquivo!");
    else
        EXPECT_FALSE(r.mensagem.empty());
    EXPECT_TRUE(retratar(doc) == antes) << "o mundo em memoria mudou";
    EXPECT_LE(maiorAlocacao.load(), 64 * 1024 + 4 * arquivo.size());
}
} // namespace

TEST(ArquivoHostil, CadaDanoFalhaSemTocarNoMundo) {
    const std::vector<uint8_t> valido = arquivoValido();
    ASSERT_EQ(valido.size(), posContagemMortos() + 2 + 2 + 57);
    for (const Dano& d : danos()) {
        SCOPED_TRACE(d.nome);
        std::vector<uint8_t> b = valido;
        d.aplicar(b);
        esperarFalhaLimpa(b, d.versao);
    }
}

// Every prefix of a valid file, each record boundary among them, is refused.
TEST(ArquivoHostil, ArquivoCortadoEmQualquerPonto) {
    const std::vector<uint8_t> valido = arquivoValido();
    for (size_t n = 0; n < valido.size(); ++n) {
        SCOPED_TRACE("cortado em " + std::to_string(n));
        esperarFalhaLimpa(std::vector<uint8_t>(valido.begin(), valido.begin() + n), false);
    }
}

namespace {
std::string nomeDeArquivo(std::string nome) {
    for (char& c : nome)
        c = c == ' ' ? '_' : c;
    return nome + ".gen";
}
} // namespace

// Writes the damaged set to tests/data/danificados, for the programs' own
// tests to open: run once with --gtest_also_run_disabled_tests.
TEST(ArquivoHostil, DISABLED_GravarConjuntoDanificado) {
    const std::filesystem::path dados = pastaDeDadosOriginal();
    std::filesystem::create_directories(dados / "danificados");
    const std::vector<uint8_t> valido = arquivoValido();
    apoio::escreverArquivo((dados / "projeto_pequeno.gen").string(), valido);
    for (const Dano& d : danos()) {
        std::vector<uint8_t> b = valido;
        d.aplicar(b);
        apoio::escreverArquivo((dados / "danificados" / nomeDeArquivo(d.nome)).string(), b);
    }
    for (size_t n : {size_t{2}, size_t{4}, size_t{100}, posListas, posListas + 2, posListas + 9,
                     posReferenciaVivos(), posContagemMortos(), valido.size() - 1}) {
        const std::string nome = "cortado em " + std::to_string(n);
        apoio::escreverArquivo((dados / "danificados" / nomeDeArquivo(nome)).string(),
                               std::vector<uint8_t>(valido.begin(), valido.begin() + n));
    }
}

TEST(ArquivoHostil, ConjuntoDanificadoEmDisco) {
    const std::filesystem::path dados = pastaDeDadosDeTeste();
    CKeldoDoc pequeno;
    ASSERT_TRUE(pequeno.carregarProjeto((dados / "projeto_pequeno.gen").string()).ok);
    EXPECT_EQ(pequeno.serializar(), arquivoValido());

    size_t arquivos = 0;
    paraCadaDanificado([&arquivos](const std::filesystem::path& arquivo) {
        ++arquivos;
        CKeldoDoc doc;
        mundoAtual(doc);
        const Retrato antes = retratar(doc);
        const ResultadoArquivo r = doc.carregarProjeto(arquivo.string());
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.mensagem.empty());
        EXPECT_TRUE(retratar(doc) == antes);
    });
    EXPECT_GE(arquivos, danos().size());
}

// Values the dialog would refuse but that break nothing are taken as stored.
TEST(ArquivoHostil, ValoresForaDoDialogoMasUtilizaveisSaoAceitos) {
    struct Caso {
        const char* nome;
        size_t pos;
        uint32_t valor;
    };
    const Caso casos[] = {
        {"taxaPermuta0 100", posTaxaPermuta0, 100},
        {"numIndividuos 1", posNumIndividuos, 1},
        {"numIndividuos 1000", posNumIndividuos, 1000},
        {"qtdAlimento 0", posQtdAlimento, 0},
        {"qtdAlimento 2000", posQtdAlimento, 2000},
        {"salvarCiclos 1", posSalvarCiclos, 1},
        {"intervaloAnimacao 1000000", posIntervalo, 1000000},
        {"morte_Mm 32767", posMorteMm + 4, 32767},
        {"repro_RR 32767", posReproRR, 32767},
        {"x -1 depois de um desvio", posX(), 0xBF800000},
        {"y 100,5", posX() + 4, 0x42C90000},
        {"direcao no limite", posDirY(), 0x49742400},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        std::vector<uint8_t> b = arquivoValido();
        poke32(b, c.pos, c.valor);
        CKeldoDoc doc;
        const ResultadoArquivo r = doc.carregarBytes(b);
        ASSERT_TRUE(r.ok) << r.mensagem;
        EXPECT_EQ(doc.serializar(), b);
    }

    std::vector<uint8_t> b = arquivoValido();
    trocar(b, posNivel, 3, {1, '7'});
    CKeldoDoc doc;
    ASSERT_TRUE(doc.carregarBytes(b).ok);
    EXPECT_EQ(doc.parametros().nivelObstaculos, "7");
    EXPECT_EQ(doc.codigoNivel(), 'd'); // any other level text gives the 29-rectangle layout
    doc.executarCiclo();
}

// A 1 GB file (sparse: it takes no disk) is read only as far as its valid
// part: a bad fifth field, or a list count the size allows but whose first
// element is already wrong, is refused without taking memory for the rest.
TEST(ArquivoHostil, ArquivoEnormeRecusadoPelaParteValida) {
    apoio::PastaTemporaria pasta;
    std::vector<uint8_t> numIndividuos = arquivoValido();
    poke32(numIndividuos, posNumIndividuos, 0);
    std::vector<uint8_t> contagem = arquivoValido();
    contagem.resize(posListas);
    trocar(contagem, posListas, 0, Bytes().le16(0xFFFF).le32(10'000'000).v); // then zeros
    // The dead are no part of the world limit: a count the size allows costs
    // no memory either.
    std::vector<uint8_t> mortos = arquivoValido();
    mortos.resize(posContagemMortos());
    trocar(mortos, posContagemMortos(), 0, Bytes().le16(0xFFFF).le32(10'000'000).v);
    for (const auto& [nome, inicio] :
         {std::pair{"numIndividuos", numIndividuos}, std::pair{"contagem", contagem},
          std::pair{"mortos", mortos}}) {
        SCOPED_TRACE(nome);
        const std::string arquivo = pasta / nome;
        apoio::escreverArquivo(arquivo, inicio);
        ASSERT_EQ(truncate(arquivo.c_str(), off_t{1} << 30), 0);
        CKeldoDoc doc;
        mundoAtual(doc);
        const Retrato antes = retratar(doc);
        maiorAlocacao = 0;
        medindo = true;
        const ResultadoArquivo r = doc.carregarProjeto(arquivo);
        medindo = false;
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(retratar(doc) == antes);
        EXPECT_LE(maiorAlocacao.load(), size_t{1} << 20);
    }
}

namespace {
constexpr size_t limite = CKeldoDoc::limiteMundo;
const char* const mensagemLimite = "Arquivo grande demais: mais de 300000 indiv\xC3\xAD"
                                   "duos e alimentos, o limite de um mundo.";
constexpr size_t posContagemAlimentos = posListas + 2; // after an empty defined population

// A whole project of so many food items, living and dead individuals.
std::vector<uint8_t> mundoComContagens(size_t alimentos, size_t vivos, size_t mortos) {
    CKeldoDoc doc;
    AcessoDocumento::alimentosEditaveis(doc).resize(alimentos);
    for (size_t k = 0; k < vivos; ++k)
        AcessoDocumento::vivosEditaveis(doc).push_back(modelo(static_cast<int32_t>(k + 1), true));
    AcessoDocumento::mortosEditaveis(doc).assign(mortos, modelo(5, true));
    return doc.serializar();
}

// The first `n` bytes of `b`, then a list count written in its long form.
std::vector<uint8_t> comContagem(std::vector<uint8_t> b, size_t n, uint32_t contagem) {
    b.resize(n);
    return Bytes().bytes(b).le16(0xFFFF).le32(contagem).v;
}

void esperarRecusaPeloLimite(const ResultadoArquivo& r) {
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.falha, FalhaArquivo::alemDoLimite);
    EXPECT_EQ(r.mensagem, mensagemLimite);
}
} // namespace

// Food items plus living individuals past the world limit are refused on the
// counts, whatever follows them: before the lists are read (a count alone, a
// count the bytes cannot hold), or, for the living, before theirs; the
// defined population, which becomes living individuals, likewise.
TEST(ArquivoHostil, MundoAlemDoLimiteRecusadoPelasContagens) {
    const std::vector<uint8_t> pequeno = mundoComContagens(0, 0, 0);
    struct Caso {
        const char* nome;
        std::vector<uint8_t> bytes;
        size_t maiorAlocacao;
    };
    const Caso casos[] = {
        {"alimentos inteiros", mundoComContagens(limite + 1, 0, 0), 64 * 1024},
        {"um vivo a mais", mundoComContagens(limite - 1, 2, 0), 2 * limite * sizeof(FoodX)},
        {"contagem de alimentos sozinha", comContagem(pequeno, posContagemAlimentos, limite + 1),
         64 * 1024},
        {"contagem de 32 bits sem itens", comContagem(pequeno, posContagemAlimentos, 0xFFFFFFFF),
         64 * 1024},
        {"contagem de vivos sozinha",
         comContagem(mundoComContagens(3, 0, 0), posContagemAlimentos + 2 + (6 + 5 + 7) + 2 * 9,
                     limite - 2),
         64 * 1024},
        {"populacao definida", comContagem(pequeno, posListas, limite + 1), 64 * 1024},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        CKeldoDoc doc;
        mundoAtual(doc);
        const Retrato antes = retratar(doc);
        maiorAlocacao = 0;
        medindo = true;
        const ResultadoArquivo r = doc.carregarBytes(c.bytes);
        medindo = false;
        esperarRecusaPeloLimite(r);
        EXPECT_TRUE(retratar(doc) == antes);
        EXPECT_LE(maiorAlocacao.load(), c.maiorAlocacao);
    }
}

// A world at the limit loads, with any number of dead: they are no part of it.
TEST(ArquivoHostil, MundoNoLimiteCarregaComMaisMortosQueOLimite) {
    const std::vector<uint8_t> b = mundoComContagens(limite - 2, 2, limite + 1);
    CKeldoDoc doc;
    const ResultadoArquivo r = doc.carregarBytes(b);
    ASSERT_TRUE(r.ok) << r.mensagem;
    EXPECT_EQ(doc.alimentos().size() + doc.vivos().size(), limite);
    EXPECT_EQ(doc.numMortos(), limite + 1);
    EXPECT_TRUE(doc.serializar() == b);
}

// keldo-run's case: a file of 50 million food items (sparse, 450 MB) is
// refused on its count, having read nothing more.
TEST(ArquivoHostil, ArquivoEnormeAlemDoLimiteRecusadoSemLer) {
    apoio::PastaTemporaria pasta;
    const std::string arquivo = pasta / "grande.gen";
    apoio::escreverArquivo(
        arquivo, comContagem(mundoComContagens(0, 0, 0), posContagemAlimentos, 50'000'000));
    ASSERT_EQ(truncate(arquivo.c_str(), off_t{450'000'000}), 0);
    CKeldoDoc doc;
    mundoAtual(doc);
    const Retrato antes = retratar(doc);
    maiorAlocacao = 0;
    medindo = true;
    const ResultadoArquivo r = doc.carregarProjeto(arquivo);
    medindo = false;
    esperarRecusaPeloLimite(r);
    EXPECT_TRUE(retratar(doc) == antes);
    EXPECT_LE(maiorAlocacao.load(), size_t{64 * 1024});
}

TEST(ArquivoHostil, AbrirDoDiscoMantemCaminhoEMundo) {
    apoio::PastaTemporaria pasta;
    std::vector<uint8_t> versao = arquivoValido();
    poke32(versao, 0, 3001);
    apoio::escreverArquivo(pasta / "versao.gen", versao);
    std::filesystem::create_directory(pasta / "pasta.gen");

    for (const std::string& nome : {pasta / "versao.gen", pasta / "nao_existe.gen",
                                    pasta / "pasta.gen", std::string("/dev/zero")}) {
        SCOPED_TRACE(nome);
        CKeldoDoc doc;
        mundoAtual(doc);
        const Retrato antes = retratar(doc);
        const ResultadoArquivo r = doc.carregarProjeto(nome);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.mensagem.empty());
        EXPECT_TRUE(retratar(doc) == antes);
    }
}

namespace {
// Makes a folder refuse new files even to root (immutable flag), or by
// permissions for other users. False when neither works here.
bool trancarPasta(const std::string& pasta, bool trancar) {
    if (geteuid() != 0)
        return chmod(pasta.c_str(), trancar ? 0555 : 0755) == 0;
    const int fd = open(pasta.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = trancar ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return ok;
}

struct SalvarFalho {
    apoio::PastaTemporaria pasta;
    CKeldoDoc doc;
    std::string alvo = pasta / "proj.gen";
    std::vector<uint8_t> anterior;

    SalvarFalho() {
        mundoAtual(doc);
        EXPECT_TRUE(doc.salvarProjeto(alvo).ok);
        anterior = apoio::lerArquivo(alvo);
        doc.executarCiclo(); // the world moves on, so a new save would differ
    }
    void esperarArquivoIntacto(const ResultadoArquivo& r) {
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.mensagem.empty());
        EXPECT_EQ(apoio::lerArquivo(alvo), anterior);
        EXPECT_EQ(apoio::nomesEm(pasta.caminho),
                  (std::vector<std::string>{"proj.gen", "proj000.txt"}));
    }
};
} // namespace

// A folder that refuses new files (even to root, by its immutable flag):
// a writable project in it is rewritten in place, the same file; a
// read-only one is still refused, with its reason.
TEST(SalvarProjeto, PastaSemEscritaGravaNoLugar) {
    SalvarFalho s;
    const std::string pasta = s.pasta.caminho.string();
    if (!trancarPasta(pasta, true))
        GTEST_SKIP() << "nao foi possivel impedir a escrita na pasta";
    if (std::FILE* teste = std::fopen((s.pasta / "teste").c_str(), "wb")) {
        std::fclose(teste);
        trancarPasta(pasta, false);
        GTEST_SKIP() << "a pasta trancada ainda aceita arquivos";
    }
    struct stat antes {};
    stat(s.alvo.c_str(), &antes);
    const ResultadoArquivo r = s.doc.salvarProjeto(s.alvo);
    const std::vector<uint8_t> gravado = apoio::lerArquivo(s.alvo);
    struct stat depois {};
    stat(s.alvo.c_str(), &depois);
    namespace fs = std::filesystem;
    fs::permissions(s.alvo, fs::perms::owner_read);
    const ResultadoArquivo somenteLeitura = s.doc.salvarProjeto(s.alvo);
    trancarPasta(pasta, false);

    EXPECT_TRUE(r.ok) << r.mensagem;
    EXPECT_EQ(gravado, s.doc.serializar());
    EXPECT_EQ(depois.st_ino, antes.st_ino);
    EXPECT_EQ(s.doc.arquivo().caminho(), s.alvo);
    s.anterior = gravado;
    s.esperarArquivoIntacto(somenteLeitura);
    EXPECT_EQ(somenteLeitura.erroSistema, EACCES);
    EXPECT_NE(somenteLeitura.mensagem.find(": Permission denied"), std::string::npos)
        << somenteLeitura.mensagem;
}

// A disk that fills up in the middle of the write (the file size limit
// stands in for it) leaves the old project as it was.
TEST(SalvarProjeto, DiscoCheioNoMeioDaEscritaMantemArquivoAnterior) {
    SalvarFalho s;
    rlimit antes{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
    rlimit limite = antes;
    limite.rlim_cur = 100;
    auto* sinalAnterior = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    const ResultadoArquivo r = s.doc.salvarProjeto(s.alvo);
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, sinalAnterior);
    s.esperarArquivoIntacto(r);
    EXPECT_EQ(r.falha, FalhaArquivo::salvar);
    EXPECT_EQ(r.erroSistema, EFBIG);
    EXPECT_NE(r.mensagem.find(s.alvo + ": File too large"), std::string::npos) << r.mensagem;
}

TEST(SalvarProjeto, PastaQueEArquivoComumFalhaSemCriarNada) {
    SalvarFalho s;
    apoio::escreverArquivo(s.pasta / "comum", {1, 2, 3});
    const ResultadoArquivo r = s.doc.salvarProjeto(s.pasta / "comum/proj.gen");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.mensagem.empty());
    EXPECT_EQ(s.doc.arquivo().caminho(), s.alvo);
    EXPECT_EQ(apoio::lerArquivo(s.pasta / "comum"), (std::vector<uint8_t>{1, 2, 3}));
}

// The snapshot goes first and its failure is silent: the project is saved.
TEST(SalvarProjeto, SnapshotImpossivelNaoImpedeASalva) {
    SalvarFalho s;
    std::filesystem::remove(s.pasta / "proj000.txt");
    std::filesystem::create_directory(s.pasta / "proj000.txt");
    const ResultadoArquivo r = s.doc.salvarProjeto(s.alvo);
    EXPECT_TRUE(r.ok) << r.mensagem;
    EXPECT_EQ(apoio::lerArquivo(s.alvo), s.doc.serializar());
    EXPECT_NE(apoio::lerArquivo(s.alvo), s.anterior);
    EXPECT_EQ(apoio::nomesEm(s.pasta.caminho).size(), 2u);
}

// Renaming over a file would bypass its read-only mark: such a file is left
// alone, and a writable one keeps its permissions.
TEST(SalvarProjeto, ArquivoSomenteLeituraNaoESubstituido) {
    SalvarFalho s;
    namespace fs = std::filesystem;
    fs::permissions(s.alvo, fs::perms::owner_read | fs::perms::group_read);
    s.esperarArquivoIntacto(s.doc.salvarProjeto(s.alvo));

    fs::permissions(s.alvo, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(s.doc.salvarProjeto(s.alvo).ok);
    EXPECT_EQ(fs::status(s.alvo).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(apoio::lerArquivo(s.alvo), s.doc.serializar());
}
