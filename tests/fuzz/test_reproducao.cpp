// Every input the fuzzer kept (corpus), every fault it found (crashes), the
// damaged files of the programs' tests and the files the project writes go
// through the fuzzer's own check on every test run, within 64 MiB beyond the
// file's size. The one-second budget is the fuzzer's own (-timeout=1): a
// loaded machine must not fail this replay, whose ctest timeout stops a hang.
#include "ConjuntoDanificado.h"
#include "SementesCorpus.h"
#include "VerificacaoArquivo.h"
#include "sim/CKeldoDoc.h"
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <malloc.h>
#include <new>

#include "Sanitizado.h"

using namespace keldo::sim;

namespace {
namespace fs = std::filesystem;

// Live heap bytes, counted where the sanitizers do not keep the allocator.
std::atomic<long long> vivos{0};
std::atomic<long long> pico{0};

#if !KELDO_SANITIZADO
void contar(long long delta) {
    const long long agora = vivos.fetch_add(delta, std::memory_order_relaxed) + delta;
    long long maior = pico.load(std::memory_order_relaxed);
    while (agora > maior && !pico.compare_exchange_weak(maior, agora)) {
    }
}
#endif

constexpr int ciclosNaReproducao = 3;
constexpr long long orcamentoMemoria = 64LL << 20;

std::vector<uint8_t> ler(const fs::path& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> arquivosEm(const fs::path& pasta) {
    std::vector<fs::path> nomes;
    std::error_code erro;
    for (const auto& e : fs::directory_iterator(pasta, erro))
        if (e.is_regular_file() && e.path().filename().string()[0] != '.')
            nomes.push_back(e.path());
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}

// Checks one input and its memory budget; returns whether the reader accepted it.
bool verificar(const std::vector<uint8_t>& bytes, int ciclos) {
    const long long base = vivos.load();
    pico = base;
    const ResultadoVerificacao v = verificarArquivoProjeto(bytes.data(), bytes.size(), ciclos);
    EXPECT_EQ(v.falha, "");
    if (!KELDO_SANITIZADO) {
        // The check holds the input, two saves and two worlds at once.
        const long long limite = orcamentoMemoria + 8 * static_cast<long long>(bytes.size());
        EXPECT_LE(pico.load() - base, limite) << "bytes no pico";
    }
    return v.aceito;
}
} // namespace

#if !KELDO_SANITIZADO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpragmas"
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    contar(static_cast<long long>(malloc_usable_size(p)));
    return p;
}
void operator delete(void* p) noexcept {
    if (!p)
        return;
    contar(-static_cast<long long>(malloc_usable_size(p)));
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
#pragma GCC diagnostic pop
#endif

TEST(CorpusFuzz, CadaArquivoGuardadoPassaPelaVerificacao) {
    const fs::path fuzz = KELDO_FUZZ_DIR;
    struct Grupo {
        fs::path pasta;
        size_t minimo;
    };
    const Grupo grupos[] = {{fuzz / "corpus", 150}, {fuzz / "crashes", 0}};
    for (const Grupo& g : grupos) {
        const std::vector<fs::path> arquivos = arquivosEm(g.pasta);
        EXPECT_GE(arquivos.size(), g.minimo) << g.pasta;
        for (const fs::path& arquivo : arquivos) {
            SCOPED_TRACE(arquivo.string());
            verificar(ler(arquivo), ciclosNaReproducao);
        }
    }
    paraCadaDanificado(
        [](const fs::path& arquivo) { verificar(ler(arquivo), ciclosNaReproducao); });
    SCOPED_TRACE("projeto_pequeno.gen");
    EXPECT_TRUE(verificar(ler(pastaDeDadosDeTeste() / "projeto_pequeno.gen"), ciclosNaReproducao));
}

// The files the project writes today, the long forms of counts, class
// indices and texts among them, are read, saved and read back unchanged.
TEST(CorpusFuzz, ArquivosQueOProjetoEscreveSaoAceitos) {
    for (const Semente& s : sementesDoCorpus(true)) {
        SCOPED_TRACE(s.nome);
        EXPECT_TRUE(verificar(s.bytes, ciclosNaReproducao));
    }
}

// A damaged copy of each file the project writes, cut short or with one
// byte changed at a time, never breaks the promise either.
TEST(CorpusFuzz, DanosDeUmByteEmArquivosDoProjeto) {
    const std::vector<Semente> sementes = sementesDoCorpus(false);
    for (const Semente& s : sementes) {
        SCOPED_TRACE(s.nome);
        const std::vector<uint8_t>& b = s.bytes;
        const size_t passo = std::max<size_t>(1, b.size() / 97);
        for (size_t pos = 0; pos < b.size(); pos += passo) {
            SCOPED_TRACE(pos);
            for (uint8_t valor : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t(b[pos] ^ 0x80)}) {
                std::vector<uint8_t> dano = b;
                dano[pos] = valor;
                verificar(dano, 1);
            }
            verificar(std::vector<uint8_t>(b.begin(), b.begin() + pos), 0);
        }
    }
}

// The fault the fuzzer found: a replacement rate so high that one cycle
// would fill the memory. Rates up to 10000 % load; above, the file is refused.
TEST(CorpusFuzz, TaxaDeReposicaoQueEncheriaAMemoriaERecusada) {
    const std::vector<uint8_t> base = sementesDoCorpus(false).front().bytes;
    constexpr size_t posTaxaReposicao = 28;
    for (const auto& [taxa, aceita] :
         {std::pair{10000u, true}, std::pair{10001u, false}, std::pair{0x7FFFFFFFu, false},
          std::pair{0xFFFFFFFFu, true}}) {
        SCOPED_TRACE(taxa);
        std::vector<uint8_t> b = base;
        for (int k = 0; k < 4; ++k)
            b[posTaxaReposicao + k] = static_cast<uint8_t>(taxa >> (8 * k));
        CKeldoDoc doc;
        const ResultadoArquivo r = doc.carregarBytes(b);
        EXPECT_EQ(r.ok, aceita);
        if (!aceita) {
            EXPECT_EQ(r.mensagem, "Par\xC3\xA2metro inv\xC3\xA1lido no arquivo: taxaReposicao deve "
                                  "ser no m\xC3\xA1ximo 10000");
        }
        EXPECT_EQ(verificar(b, ciclosNaReproducao), aceita);
    }
}
