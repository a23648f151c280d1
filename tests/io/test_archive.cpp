// The byte archive of project files: string and count prefixes, and the
// object-reference framing with one index counter for classes and objects.
#include "ArquivoApoio.h"
#include "io/CArchive.h"
#include <gtest/gtest.h>

using namespace keldo::io;

using apoio::Bytes;

namespace {
std::vector<uint8_t> inicio(const std::vector<uint8_t>& v, size_t n) {
    return {v.begin(), v.begin() + static_cast<std::ptrdiff_t>(std::min(n, v.size()))};
}
} // namespace

TEST(CArchive, PrefixoDoTextoConformeOComprimento) {
    struct Caso {
        size_t comprimento;
        std::vector<uint8_t> prefixo;
    };
    const Caso casos[] = {
        {0, {0x00}},
        {7, {0x07}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.comprimento);
        std::string texto(c.comprimento, 'a');
        if (!texto.empty())
            texto.back() = '\xE7';
        CArchive escrita;
        escrita.escreverString(texto);
        const std::vector<uint8_t>& b = escrita.bytes();
        ASSERT_EQ(b.size(), c.prefixo.size() + c.comprimento);
        EXPECT_EQ(inicio(b, c.prefixo.size()), c.prefixo);
        CArchive leitura(b.data(), b.size());
        EXPECT_EQ(leitura.lerString(), texto);
        EXPECT_EQ(leitura.restante(), 0u);
    }
}

TEST(CArchive, ContagemDeListaCurtaEGrande) {
    struct Caso {
        uint32_t n;
        std::vector<uint8_t> bytes;
    };
    const Caso casos[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Caso& c : casos) {
        CArchive escrita;
        escrita.escreverContagem(c.n);
        EXPECT_EQ(escrita.bytes(), c.bytes);
        CArchive leitura(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(leitura.lerContagem(), c.n);
    }
}

// FoodX takes index 1, its objects 2 and 3; SpecX then takes 4.
TEST(CArchive, ClasseNomeadaNoPrimeiroUsoEDepoisPorIndice) {
    CArchive escrita;
    escrita.escreverInicioObjeto("FoodX", 1);
    escrita.escreverInicioObjeto("FoodX", 1);
    escrita.escreverInicioObjeto("SpecX", 1);
    escrita.escreverInicioObjeto("SpecX", 1);
    const std::vector<uint8_t> esperado = Bytes()
                                              .le16(0xFFFF)
                                              .le16(1)
                                              .le16(5)
                                              .texto("FoodX")
                                              .le16(0x8001)
                                              .le16(0xFFFF)
                                              .le16(1)
                                              .le16(5)
                                              .texto("SpecX")
                                              .le16(0x8004)
                                              .v;
    EXPECT_EQ(escrita.bytes(), esperado);

    CArchive leitura(esperado.data(), esperado.size());
    EXPECT_EQ(leitura.lerInicioObjeto(1), "FoodX");
    EXPECT_EQ(leitura.lerInicioObjeto(1), "FoodX");
    EXPECT_EQ(leitura.lerInicioObjeto(1), "SpecX");
    EXPECT_EQ(leitura.lerInicioObjeto(1), "SpecX");
    EXPECT_EQ(leitura.restante(), 0u);
}

// A class first seen after 0x7FFE indices are used is referred to with the
// long form; index 0x7FFE itself still fits the short form 0xFFFE.
TEST(CArchive, IndiceDeClasseAlemDoFormatoCurto) {
    struct Caso {
        int alimentos;
        std::vector<uint8_t> segundaReferencia;
    };
    const Caso casos[] = {
        {0x7FFC, Bytes().le16(0xFFFE).v},
        {0x7FFD, Bytes().le16(0x7FFF).le32(0x80007FFF).v},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.alimentos);
        CArchive escrita;
        for (int k = 0; k < c.alimentos; ++k)
            escrita.escreverInicioObjeto("FoodX", 1);
        escrita.escreverInicioObjeto("SpecX", 1);
        const size_t antes = escrita.bytes().size();
        escrita.escreverInicioObjeto("SpecX", 1);
        escrita.escreverInicioObjeto("FoodX", 1);
        const std::vector<uint8_t>& b = escrita.bytes();
        const std::vector<uint8_t> fim(b.begin() + static_cast<std::ptrdiff_t>(antes), b.end());
        EXPECT_EQ(fim, Bytes().bytes(c.segundaReferencia).le16(0x8001).v);

        CArchive leitura(b.data(), b.size());
        for (int k = 0; k < c.alimentos; ++k)
            ASSERT_EQ(leitura.lerInicioObjeto(1), "FoodX");
        EXPECT_EQ(leitura.lerInicioObjeto(1), "SpecX");
        EXPECT_EQ(leitura.lerInicioObjeto(1), "SpecX");
        EXPECT_EQ(leitura.lerInicioObjeto(1), "FoodX");
        EXPECT_EQ(leitura.restante(), 0u);
    }
}

// Forms this program never writes, and bytes that end early, are refused.
TEST(CArchive, LeituraRecusaReferenciasEstranhasEFimPrematuro) {
    const std::vector<uint8_t> classe = Bytes().le16(0xFFFF).le16(1).le16(5).texto("SpecX").v;
    struct Caso {
        const char* nome;
        std::vector<uint8_t> bytes;
    };
    const Caso casos[] = {
        {"objeto nulo", Bytes().le16(0).v},
        {"objeto ja lido", Bytes().bytes(classe).le16(0x0002).v},
        {"classe desconhecida", Bytes().bytes(classe).le16(0x8005).v},
        {"indice de objeto como classe", Bytes().bytes(classe).le16(0x8002).v},
        {"forma longa sem marca de classe", Bytes().bytes(classe).le16(0x7FFF).le32(1).v},
        {"forma longa desconhecida", Bytes().bytes(classe).le16(0x7FFF).le32(0x80001234).v},
        {"esquema 2", Bytes().le16(0xFFFF).le16(2).le16(5).texto("SpecX").v},
        {"esquema 0", Bytes().le16(0xFFFF).le16(0).le16(5).texto("SpecX").v},
        {"nome cortado", Bytes().le16(0xFFFF).le16(1).le16(5).texto("Spe").v},
        {"nome enorme", Bytes().le16(0xFFFF).le16(1).le16(0xFFFF).texto("SpecX").v},
        {"tag cortada", Bytes().u8(0xFF).v},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        CArchive leitura(c.bytes.data(), c.bytes.size());
        EXPECT_THROW(
            {
                for (int k = 0; k < 3; ++k)
                    leitura.lerInicioObjeto(1);
            },
            ArchiveError);
    }

    const std::vector<uint8_t> curtos = {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'a'};
    CArchive texto(curtos.data(), curtos.size());
    EXPECT_THROW(texto.lerString(), ArchiveError);
    CArchive numero(curtos.data(), 3);
    EXPECT_THROW(numero.lerInt32(), ArchiveError);
    CArchive vazio(nullptr, 0);
    EXPECT_THROW(vazio.lerUInt8(), ArchiveError);
}

// Reading through a reader takes the bytes a block at a time: a 1 GB source
// whose fields go wrong early is read only as far as those fields, and texts
// and lists split across blocks arrive whole.
TEST(CArchive, LeitorEntregaOArquivoEmBlocos) {
    Bytes b;
    b.le32(3000).u8(0xFF).le16(0xFFFF).le32(40000);
    for (int i = 0; i < 40000; ++i)
        b.u8(static_cast<uint8_t>('a' + i % 26));
    b.le16(0xFFFF).le32(70000);
    size_t entregues = 0;
    const uint64_t umGiga = uint64_t{1} << 30;
    CArchive ar(
        [&](uint8_t* destino, size_t n) {
            const size_t parte = std::min<size_t>(n, 1000); // short reads too
            for (size_t k = 0; k < parte; ++k, ++entregues)
                destino[k] = entregues < b.v.size() ? b.v[entregues] : 0;
            return parte;
        },
        umGiga);
    EXPECT_EQ(ar.lerInt32(), 3000);
    EXPECT_LE(entregues, size_t{16 * 1024});
    const std::string texto = ar.lerString();
    ASSERT_EQ(texto.size(), 40000u);
    EXPECT_EQ(texto.substr(39998), "kl"); // 39998 % 26 = 10
    EXPECT_EQ(ar.lerContagem(), 70000u);
    EXPECT_EQ(ar.restante(), umGiga - b.v.size());
    EXPECT_LE(entregues, b.v.size() + 16 * 1024);

    // A text longer than what is left is refused before anything is read.
    CArchive curto(
        [&](uint8_t*, size_t) -> size_t {
            ADD_FAILURE();
            return 0;
        },
        3);
    EXPECT_THROW(curto.lerUInt32(), ArchiveError);
    // A reader that stops before the size it announced ends the file there.
    bool dado = false;
    CArchive cortado(
        [&](uint8_t* destino, size_t) {
            destino[0] = 7;
            return std::exchange(dado, true) ? size_t{0} : size_t{1};
        },
        100);
    EXPECT_EQ(cortado.lerUInt8(), 7);
    EXPECT_THROW(cortado.lerUInt8(), ArchiveError);
}
