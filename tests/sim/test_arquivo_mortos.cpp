// The dead kept in a temporary file: what goes out comes back byte for byte
// and in order, a refused write counts for nothing, and a document that keeps
// its dead there writes the same project, trace and figures as one that keeps
// them in memory.
#include "AcessoDocumento.h"
#include "ArquivoApoio.h"
#include "sim/ArquivoMortos.h"
#include <csignal>
#include <cstring>
#include <sys/resource.h>

using namespace keldo::sim;

namespace {
std::vector<SpecX> lote(int32_t primeiroId, size_t n) {
    std::vector<SpecX> v(n);
    for (size_t k = 0; k < n; ++k) {
        v[k].id = primeiroId + static_cast<int32_t>(k);
        v[k].x = 0.25f * static_cast<float>(k);
        v[k].genotipoP = static_cast<uint16_t>(k * 7919u);
        v[k].loopMorto = static_cast<int32_t>(k);
    }
    return v;
}

std::vector<SpecX> relidos(const ArquivoMortos& arquivo) {
    std::vector<SpecX> todos, bloco;
    EXPECT_TRUE(arquivo.paraCada([&](const SpecX& i) { todos.push_back(i); }, bloco));
    return todos;
}

bool mesmosBytes(const std::vector<SpecX>& a, const std::vector<SpecX>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(SpecX)) == 0;
}

// Limits the size of any file this process writes, as a full disk would.
class LimiteDeArquivo {
  public:
    explicit LimiteDeArquivo(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN); // a refused write returns an error instead of killing
        getrlimit(RLIMIT_FSIZE, &anterior);
        rlimit novo = anterior;
        novo.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &novo);
    }
    ~LimiteDeArquivo() { setrlimit(RLIMIT_FSIZE, &anterior); }

  private:
    rlimit anterior{};
};
} // namespace

TEST(ArquivoMortos, DevolveOsLotesNaOrdemEmQueForamGuardados) {
    ArquivoMortos arquivo;
    EXPECT_TRUE(relidos(arquivo).empty());
    std::vector<SpecX> esperado;
    // Sizes across the read-back block: one over it, empty, a few, exactly one block.
    for (size_t n :
         {ArquivoMortos::tamanhoBloco + 904, size_t{0}, size_t{3}, ArquivoMortos::tamanhoBloco}) {
        const std::vector<SpecX> v = lote(static_cast<int32_t>(esperado.size()), n);
        ASSERT_TRUE(arquivo.guardar(v));
        esperado.insert(esperado.end(), v.begin(), v.end());
        EXPECT_EQ(arquivo.size(), esperado.size());
    }
    EXPECT_TRUE(mesmosBytes(relidos(arquivo), esperado));

    arquivo.limpar();
    EXPECT_EQ(arquivo.size(), 0u);
    EXPECT_TRUE(relidos(arquivo).empty());
    const std::vector<SpecX> depois = lote(500, 10);
    ASSERT_TRUE(arquivo.guardar(depois));
    EXPECT_TRUE(mesmosBytes(relidos(arquivo), depois));
}

TEST(ArquivoMortos, EscritaRecusadaNaoContaENaoEstragaOQueJaEstava) {
    ArquivoMortos arquivo;
    const std::vector<SpecX> primeiro = lote(1, 100);
    ASSERT_TRUE(arquivo.guardar(primeiro));
    {
        // Room for part of the next batch only: the write stops halfway.
        LimiteDeArquivo limite(static_cast<rlim_t>(300 * sizeof(SpecX)));
        EXPECT_FALSE(arquivo.guardar(lote(1000, 1000)));
    }
    EXPECT_EQ(arquivo.size(), 100u);
    EXPECT_TRUE(mesmosBytes(relidos(arquivo), primeiro));
    // The next batch goes right after the last whole record.
    const std::vector<SpecX> segundo = lote(2000, 5);
    ASSERT_TRUE(arquivo.guardar(segundo));
    std::vector<SpecX> esperado = primeiro;
    esperado.insert(esperado.end(), segundo.begin(), segundo.end());
    EXPECT_TRUE(mesmosBytes(relidos(arquivo), esperado));
}

namespace {
void criar(CKeldoDoc& doc, bool emArquivo) {
    doc.definirSementeFixa(11);
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 60;
    doc.guardarMortosEmArquivo(emArquivo, 40); // many small batches
    ASSERT_TRUE(doc.criarMundo());
}
} // namespace

TEST(ArquivoMortos, DocumentoComMortosNoArquivoEscreveOsMesmosBytes) {
    apoio::PastaTemporaria pasta;
    CKeldoDoc naMemoria, noArquivo;
    criar(naMemoria, false);
    criar(noArquivo, true);
    for (int ciclo = 1; ciclo <= 1500; ++ciclo) {
        naMemoria.executarCiclo();
        noArquivo.executarCiclo();
        if (ciclo % 100 != 0)
            continue;
        ASSERT_EQ(noArquivo.textoStatus(), naMemoria.textoStatus()) << ciclo;
        ASSERT_EQ(noArquivo.estatisticas().ultima().mortos,
                  naMemoria.estatisticas().ultima().mortos);
    }
    ASSERT_GT(naMemoria.mortos().size(), 400u);
    EXPECT_LT(noArquivo.mortos().size(), 40u); // the rest went to the file
    EXPECT_EQ(noArquivo.numMortos(), naMemoria.mortos().size());
    const std::vector<uint8_t> projeto = naMemoria.serializar();
    EXPECT_TRUE(noArquivo.serializar() == projeto);
    for (bool anexar : {false, true}) {
        ASSERT_TRUE(naMemoria.escreverTrace(pasta / "memoria.txt", anexar));
        ASSERT_TRUE(noArquivo.escreverTrace(pasta / "arquivo.txt", anexar));
        EXPECT_TRUE(apoio::lerArquivo(pasta / "arquivo.txt") ==
                    apoio::lerArquivo(pasta / "memoria.txt"));
    }

    // Loading replaces the stored dead with those of the file.
    ASSERT_TRUE(noArquivo.carregarBytes(projeto).ok);
    EXPECT_EQ(noArquivo.numMortos(), naMemoria.mortos().size());
    EXPECT_TRUE(noArquivo.serializar() == projeto);
    AcessoDocumento::limparMundo(noArquivo);
    EXPECT_EQ(noArquivo.numMortos(), 0u);
}

TEST(ArquivoMortos, SemEspacoOsMortosFicamNaMemoria) {
    CKeldoDoc doc;
    criar(doc, true);
    CKeldoDoc referencia;
    criar(referencia, false);
    {
        LimiteDeArquivo limite(0);
        for (int ciclo = 0; ciclo < 800; ++ciclo) {
            doc.executarCiclo();
            referencia.executarCiclo();
        }
    }
    ASSERT_GT(referencia.mortos().size(), 40u);
    EXPECT_EQ(doc.mortos().size(), referencia.mortos().size());
    EXPECT_TRUE(doc.serializar() == referencia.serializar());
}
