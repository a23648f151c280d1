// The trace file (a block per cycle) and the snapshot file written with every save.
#include "AcessoDocumento.h"
#include "ArquivoApoio.h"
#include <gtest/gtest.h>

using namespace keldo::model;
using namespace keldo::sim;

namespace {
// Windows-1252 from the few accented letters of the header.
std::string cp1252(std::string texto) {
    for (auto [utf8, byte] : {std::pair{"\xC3\xA3", '\xE3'}, std::pair{"\xC3\xA7", '\xE7'}}) {
        for (size_t p; (p = texto.find(utf8)) != std::string::npos;)
            texto.replace(p, 2, 1, byte);
    }
    return texto;
}

std::string conteudo(const std::string& nome) {
    const std::vector<uint8_t> b = apoio::lerArquivo(nome);
    return {b.begin(), b.end()};
}

void mundoDeDois(CKeldoDoc& doc) {
    SpecX vivo;
    vivo.id = 5;
    vivo.idPai = 2;
    vivo.idMae = 3;
    vivo.geracao = 1;
    vivo.estado = EstadoBit::vivo | EstadoBit::adulto | EstadoBit::sexo | EstadoBit::detecX;
    vivo.loopNasc = 4;
    vivo.loopMorto = -1;
    vivo.energia = 150;
    vivo.genotipoP = 0xFEA5; // bits 9..15 are not written
    vivo.genotipoM = 0x015A;
    SpecX morto;
    morto.id = 9;
    morto.idPai = 1;
    morto.idMae = 2;
    morto.geracao = 3;
    morto.estado = 0xC8; // adult female, dead, both free bits
    morto.loopNasc = 2;
    morto.loopMorto = 6;
    morto.energia = 0;
    morto.genotipoM = 0x01FF;
    AcessoDocumento::vivosEditaveis(doc).push_back(vivo);
    AcessoDocumento::mortosEditaveis(doc).push_back(morto);
    AcessoDocumento::definirTempo(doc, 12);
}

const std::string linhaMorto = "9;1;2;3;0;1;0;0;0;3;2;6;0;0;0;0;0;0;0;0;0;0;1;1;1;1;1;1;1;1;1\r\n";
const std::string linhaVivo =
    "5;2;3;1;1;1;1;1;0;0;4;-1;150;0;1;0;1;0;0;1;0;1;1;0;1;0;1;1;0;1;0\r\n";
} // namespace

TEST(Snapshot, CabecalhoEmWindows1252ELinhasSemPrefixo) {
    apoio::PastaTemporaria pasta;
    const std::string cabecalho =
        cp1252("Id;IdPai;IdMãe;Geração;Vivo;Adulto;Sexo;DetecX;DetecX/CuidaY;Livre;loopNasc;"
               "loopMorto;Energia;VisãoP7;VisãoP6;ReproP5;PartP4;LutaP3;MorteP2;IntelP1;IntelP0;"
               "NeutroP0;VisãoM7;VisãoM6;ReproM5;PartM4;LutaM3;MorteM2;IntelM1;IntelM0;NeutroM0;"
               "\r\n");
    ASSERT_EQ(cabecalho.substr(0, 7), "Id;IdPa");
    ASSERT_EQ(cabecalho[12], '\xE3');

    CKeldoDoc vazio;
    ASSERT_TRUE(vazio.escreverTrace(pasta / "vazio.txt", false));
    EXPECT_EQ(conteudo(pasta / "vazio.txt"), cabecalho);

    CKeldoDoc doc;
    mundoDeDois(doc);
    apoio::escreverArquivo(pasta / "s.txt", std::vector<uint8_t>(5000, 'x'));
    ASSERT_TRUE(doc.escreverTrace(pasta / "s.txt", false)); // emptied first
    EXPECT_EQ(conteudo(pasta / "s.txt"), cabecalho + linhaMorto + linhaVivo);
}

TEST(Trace, LinhasComOCicloAcrescentadasAoFim) {
    apoio::PastaTemporaria pasta;
    const std::string nome = pasta / "keldo_trace.txt";
    CKeldoDoc vazio;
    ASSERT_TRUE(vazio.escreverTrace(nome, true));
    EXPECT_TRUE(std::filesystem::exists(nome));
    EXPECT_EQ(conteudo(nome), "");

    CKeldoDoc doc;
    mundoDeDois(doc);
    ASSERT_TRUE(doc.escreverTrace(nome, true));
    AcessoDocumento::definirTempo(doc, 13);
    ASSERT_TRUE(doc.escreverTrace(nome, true));
    EXPECT_EQ(conteudo(nome),
              "12;" + linhaMorto + "12;" + linhaVivo + "13;" + linhaMorto + "13;" + linhaVivo);

    EXPECT_FALSE(doc.escreverTrace(pasta / "nao/existe.txt", true));
    EXPECT_FALSE(doc.escreverTrace(pasta.caminho.string(), false));
}

TEST(Snapshot, NomeDoProjetoComNumeroDeTresDigitos) {
    struct Caso {
        const char* projeto;
        int32_t numero;
        const char* snapshot;
    };
    const Caso casos[] = {
        {"proj.gen", 3, "proj003.txt"},          {"/sim/proj.gen", 0, "/sim/proj000.txt"},
        {"/sim/a.b.gen", 12, "/sim/a.b012.txt"}, {"proj.gen", 1234, "proj1234.txt"},
        {"semponto", 0, "semponto000.txt"},      {"/sim/.gen", 7, "/sim/007.txt"},
        {"a.dir/proj", 2, "a.dir/proj002.txt"},  {"/x.y/a.b/proj.gen", 1, "/x.y/a.b/proj001.txt"},
    };
    CKeldoDoc doc;
    for (const Caso& c : casos) {
        AcessoDocumento::definirNumSnapshot(doc, c.numero);
        EXPECT_EQ(AcessoDocumento::nomeSnapshot(doc, c.projeto), c.snapshot);
    }
}
