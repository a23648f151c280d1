// The ".gen" project file: its exact bytes, and saving and loading a world.
#include "AcessoDocumento.h"
#include "ArquivoApoio.h"
#include "IndividuoTeste.h"
#include <gtest/gtest.h>

using namespace keldo::model;
using namespace keldo::sim;

using apoio::Bytes;

namespace {
SpecX individuo(int32_t id, uint16_t p, uint16_t m, uint8_t estado) {
    IndividuoTeste i(id);
    i.pais(id - 7, id - 6).geracao(2).em(12.5f, 80.25f).energia(150).genotipo(p, m).estado(estado);
    i->loopNasc = 5;
    i->dirX = 1.0f;
    i->dirY = -0.5f;
    i->targetY = 33;
    return i.pronto();
}

// The record of individuo(id, p, m, estado), from the values above by hand:
// 12.5f = 0x41480000, 80.25f = 0x42A08000, 1.0f = 0x3F800000, -0.5f = 0xBF000000.
Bytes& registro(Bytes& b, int32_t id, uint16_t p, uint16_t m, uint8_t estado,
                int32_t loopMorto = -1) {
    return b.le32(static_cast<uint32_t>(id))
        .le32(static_cast<uint32_t>(id - 7))
        .le32(static_cast<uint32_t>(id - 6))
        .le32(2)
        .le32(5)
        .le32(static_cast<uint32_t>(loopMorto))
        .le32(0x41480000)
        .le32(0x42A08000)
        .le32(0x3F800000)
        .le32(0xBF000000)
        .le16(0xFFFF)
        .le16(33)
        .le32(0xFFFFFFFF)
        .le32(150)
        .le16(p)
        .le16(m)
        .u8(estado);
}

// Fields 1 to 40 of a document with default parameters.
Bytes cabecalhoPadrao(int32_t tempo, int32_t proximoId, int32_t geracao, int32_t numSnapshot) {
    Bytes b;
    b.le32(3000).le32(tempo).le32(proximoId).le32(geracao);
    b.le32(100).le32(1000).le32(0).le32(100).le32(0).le32(200).le32(200);
    b.u8(2).texto("12").u8(6).texto("Manual");
    b.le32(1).le32(0).le32(20).le32(0).le32(0).le32(0).le32(50);
    b.le32(static_cast<uint32_t>(numSnapshot)).le32(0).le32(0).le32(200).le32(0);
    for (uint32_t taxa : {5, 10, 50, 5, 10, 50})
        b.le32(taxa);
    for (uint32_t v : {100, 50, 40, 20, 0, 400, 200, 400, 0})
        b.le32(v);
    return b;
}

constexpr size_t tamanhoCabecalho = 162;
const std::string classeSpecX = "SpecX";

std::vector<uint8_t> depoisDoCabecalho(const std::vector<uint8_t>& v) {
    return {v.begin() + tamanhoCabecalho, v.end()};
}

// A world put together by hand: no definitions, one food item, two living
// (the second an egg with the bits no gene uses), one dead.
void mundoPequeno(CKeldoDoc& doc) {
    AcessoDocumento::definirTempo(doc, 7);
    AcessoDocumento::definirProximoId(doc, 12);
    AcessoDocumento::definirGeracao(doc, 2);
    AcessoDocumento::definirNumSnapshot(doc, 1);
    FoodX f;
    f.x = 37.9f;
    f.y = 5.0f;
    f.valorEnergetico = 210;
    AcessoDocumento::alimentosEditaveis(doc).push_back(f);
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(10, 0x01A5, 0x005A, 0x19));
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(11, 0xFE01, 0x8000, 0xF4));
    SpecX morto = individuo(9, 0x0100, 0x0001, 0x08);
    morto.loopMorto = 6;
    AcessoDocumento::mortosEditaveis(doc).push_back(morto);
}
} // namespace

TEST(ArquivoProjeto, BytesExatosDeUmMundoPequeno) {
    CKeldoDoc doc;
    mundoPequeno(doc);
    const std::vector<uint8_t> bytes = doc.serializar();

    Bytes esperado = cabecalhoPadrao(7, 12, 2, 1);
    ASSERT_EQ(esperado.v.size(), tamanhoCabecalho);
    esperado.le16(0); // listaDefinida
    esperado.le16(1).le16(0xFFFF).le16(1).le16(5).texto("FoodX");
    esperado.le16(37).le16(5).le16(210).u8(0);
    esperado.le16(2).le16(0xFFFF).le16(1).le16(5).texto(classeSpecX);
    registro(esperado, 10, 0x01A5, 0x005A, 0x19);
    esperado.le16(0x8003); // FoodX took 1, its item 2, SpecX 3
    registro(esperado, 11, 0xFE01, 0x8000, 0xF4);
    esperado.le16(1).le16(0x8003);
    registro(esperado, 9, 0x0100, 0x0001, 0x08, 6);
    EXPECT_EQ(bytes.size(), 374u);
    EXPECT_EQ(bytes, esperado.v);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4),
              (std::vector<uint8_t>{0xB8, 0x0B, 0x00, 0x00}));
}

// With a defined population the first template names the class, and FoodX
// takes its index after SpecX and that template.
TEST(ArquivoProjeto, PrimeiroIndividuoDoArquivoNomeiaAClasse) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).listaDefinida.push_back(individuo(1, 0, 0, 0x18));
    FoodX f;
    f.x = 99.0f;
    f.y = 0.0f;
    f.valorEnergetico = -3;
    f.regiao = 2;
    AcessoDocumento::alimentosEditaveis(doc).push_back(f);
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(2, 0, 0, 0x18));
    Bytes esperado;
    esperado.le16(1).le16(0xFFFF).le16(1).le16(5).texto(classeSpecX);
    registro(esperado, 1, 0, 0, 0x18);
    esperado.le16(1).le16(0xFFFF).le16(1).le16(5).texto("FoodX");
    esperado.le16(99).le16(0).le16(0xFFFD).u8(2);
    esperado.le16(1).le16(0x8001);
    registro(esperado, 2, 0, 0, 0x18);
    esperado.le16(0);
    EXPECT_EQ(depoisDoCabecalho(doc.serializar()), esperado.v);
}

TEST(ArquivoProjeto, TextosEmWindows1252ComPrefixoDeComprimento) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).criterioParada = "Gera\xE7\xE3o";
    std::vector<uint8_t> b = doc.serializar();
    // nivelObstaculos "12" starts at 44, criterioParada at 47.
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 47, b.begin() + 55),
              (std::vector<uint8_t>{7, 'G', 'e', 'r', 'a', 0xE7, 0xE3, 'o'}));

    for (size_t n : {254u, 255u, 65534u, 65535u}) {
        SCOPED_TRACE(n);
        AcessoDocumento::parametrosEditaveis(doc).criterioParada.assign(n, 'x');
        b = doc.serializar();
        const std::vector<uint8_t> prefixo(b.begin() + 47, b.begin() + 54);
        if (n == 254)
            EXPECT_EQ(prefixo[0], 0xFE);
        else if (n == 255)
            EXPECT_EQ(std::vector<uint8_t>(prefixo.begin(), prefixo.begin() + 3),
                      (std::vector<uint8_t>{0xFF, 0xFF, 0x00}));
        else
            EXPECT_EQ(prefixo, Bytes().u8(0xFF).le16(0xFFFF).le32(static_cast<uint32_t>(n)).v);
        CKeldoDoc lido;
        ASSERT_TRUE(lido.carregarBytes(b).ok);
        EXPECT_EQ(lido.parametros().criterioParada, doc.parametros().criterioParada);
    }
}

// The reader makes each individual with the empty constructor first: four
// draws (a heading and three status bits); food items draw nothing. The
// saved heading keeps what that constructor drew.
TEST(ArquivoProjeto, LerUmIndividuoConsomeQuatroSorteios) {
    CKeldoDoc origem;
    AcessoDocumento::parametrosEditaveis(origem).listaDefinida.push_back(individuo(1, 0, 0, 0x18));
    AcessoDocumento::parametrosEditaveis(origem).listaDefinida.push_back(individuo(2, 0, 0, 0x18));
    mundoPequeno(origem); // 1 food item, 2 living, 1 dead
    const std::vector<uint8_t> bytes = origem.serializar();

    CKeldoDoc doc;
    doc.semear(99);
    ASSERT_TRUE(doc.carregarBytes(bytes).ok);
    Random esperado(99);
    SpecX primeiro(esperado);
    for (int k = 4; k < 5 * 4; ++k)
        esperado.proximo();
    EXPECT_EQ(doc.gerador().estadoAtual(), esperado.estadoAtual());

    const SpecX& lido = doc.parametros().listaDefinida[0];
    EXPECT_EQ(lido.savedDirX, primeiro.savedDirX);
    EXPECT_EQ(lido.savedDirY, primeiro.savedDirY);
    EXPECT_EQ(lido.dirX, 1.0f);
    EXPECT_EQ(lido.dirY, -0.5f);
    EXPECT_EQ(lido.estado, 0x18);
    EXPECT_EQ(doc.alimentos()[0].x, 37.0f); // stored truncated, read back whole
}

namespace {
// A world that has run a while with discrete generations, so that it holds
// eggs and the dead, and whose every parameter differs from its default.
void mundoRodado(CKeldoDoc& doc) {
    doc.definirSementeFixa(7);
    SimulationParameters& p = AcessoDocumento::parametrosEditaveis(doc);
    p.numIndividuos = 40;
    p.qtdAlimento = 60;
    p.tipoGeracoes = 1;
    p.numIndDiscretas = 1000;
    p.repro_rr = p.repro_Rr = p.repro_RR = 60;
    p.comDefinida = 1;
    p.listaDefinida.push_back(individuo(500, 0xFE00, 0x01FF, 0xF9));
    ASSERT_TRUE(doc.criarMundo());
    for (int k = 0; k < 60; ++k)
        doc.executarCiclo();
    p.taxaReposicao = 123;
    p.particaoAmbiente = 45;
    p.energiaMin = 150;
    p.nivelObstaculos = "30";
    p.criterioParada = "Gera\xE7\xE3o";
    p.intervaloAnimacao = 7;
    p.qtdAlimento = 1234;
    p.taxaMutacao = 4321;
    p.mostrarEnergia = 1;
    p.energiaMax = 450;
    p.salvarCiclos = 77;
    p.salvarAtivo = 1;
    p.mutacaoAtiva = 1;
    p.tipoPopulacao = 1;
    p.tempoRealCiclo = 9999;
    p.gerarTrace = 1;
    p.taxaPermuta = {1, 2, 3, 4, 5, 100};
    p.detecta = 111;
    p.luta = 222;
    p.morte_mm = 33;
    p.morte_Mm = 22;
    p.morte_MM = 11;
    p.repro_rr = 1500;
    p.repro_Rr = 1400;
    p.repro_RR = 1300;
    p.partilha = 99;
    AcessoDocumento::definirNumSnapshot(doc, 4);
    // Bits no gene reads, and the two free bits of the status byte.
    AcessoDocumento::vivosEditaveis(doc)[1].genotipoP |= 0xFE00;
    AcessoDocumento::vivosEditaveis(doc)[1].genotipoM = 0xFFFF;
    AcessoDocumento::vivosEditaveis(doc)[1].estado |= 0xE0;
}
} // namespace

TEST(ArquivoProjeto, SalvarECarregarReproduzOMundo) {
    apoio::PastaTemporaria pasta;
    CKeldoDoc doc;
    mundoRodado(doc);
    ASSERT_GT(doc.ovos(), 0);
    ASSERT_FALSE(doc.mortos().empty());
    ASSERT_TRUE(doc.salvarProjeto(pasta / "proj.gen").ok);
    EXPECT_EQ(doc.arquivo().caminho(), pasta / "proj.gen");

    CKeldoDoc lido;
    const ResultadoArquivo r = lido.carregarProjeto(pasta / "proj.gen");
    ASSERT_TRUE(r.ok) << r.mensagem;
    EXPECT_EQ(lido.arquivo().caminho(), pasta / "proj.gen");
    apoio::esperarParametrosIguais(lido.parametros(), doc.parametros());
    EXPECT_EQ(lido.tempo(), doc.tempo());
    EXPECT_EQ(lido.proximoId(), doc.proximoId());
    EXPECT_EQ(lido.geracao(), doc.geracao());
    EXPECT_EQ(lido.numSnapshot(), 4);
    EXPECT_EQ(lido.ovos(), doc.ovos());
    apoio::esperarListasIguais(lido.parametros().listaDefinida, doc.parametros().listaDefinida);
    apoio::esperarListasIguais(lido.vivos(), doc.vivos());
    apoio::esperarListasIguais(lido.mortos(), doc.mortos());
    ASSERT_EQ(lido.alimentos().size(), doc.alimentos().size());
    for (size_t k = 0; k < doc.alimentos().size(); ++k) {
        EXPECT_EQ(lido.alimentos()[k].x, doc.alimentos()[k].x);
        EXPECT_EQ(lido.alimentos()[k].y, doc.alimentos()[k].y);
        EXPECT_EQ(lido.alimentos()[k].valorEnergetico, doc.alimentos()[k].valorEnergetico);
        EXPECT_EQ(lido.alimentos()[k].regiao, doc.alimentos()[k].regiao);
    }
    EXPECT_EQ(lido.vivos()[1].genotipoP & 0xFE00, 0xFE00);
    EXPECT_EQ(lido.vivos()[1].genotipoM, 0xFFFF);
    EXPECT_EQ(lido.vivos()[1].estado & 0xE0, 0xE0);
    EXPECT_EQ(lido.vivos()[1].livre(), 3); // from the status byte
    EXPECT_EQ(lido.codigoNivel(), 'd');
    EXPECT_EQ(lido.bitmapFundo(), 143);
    // Phenotypes are expressed again with the parameters just read.
    const SpecX& t = lido.parametros().listaDefinida[0];
    EXPECT_EQ(t.limiarReproducao, 1400); // Rr
    EXPECT_EQ(t.limiarMorte, 22);        // Mm
    EXPECT_EQ(t.doc, &lido);
    EXPECT_EQ(lido.serializar(), apoio::lerArquivo(pasta / "proj.gen"));
}

// The reader counts the eggs itself; the editor may have changed them.
TEST(ArquivoProjeto, OvosRecontadosAoCarregar) {
    CKeldoDoc doc;
    mundoPequeno(doc);
    AcessoDocumento::vivosEditaveis(doc)[0].definirBit(EstadoBit::adulto, false);
    AcessoDocumento::definirOvos(doc, 17);
    CKeldoDoc lido;
    ASSERT_TRUE(lido.carregarBytes(doc.serializar()).ok);
    EXPECT_EQ(lido.ovos(), 2);
}
