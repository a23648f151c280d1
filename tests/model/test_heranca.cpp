// Inheritance: crossing-over, mutation, sex chromosomes and the making of a child.
#include "AcessoDocumento.h"
#include "IndividuoTeste.h"
#include "SorteiosContados.h"
#include "model/Individuo.h"
#include "model/Random.h"
#include "sim/CKeldoDoc.h"
#include <array>
#include <cmath>
#include <gtest/gtest.h>

using namespace keldo::sim;
using namespace keldo::model;

namespace {
constexpr uint8_t macho = EstadoBit::sexo, cuidaOuX2 = EstadoBit::detecXCuidaY,
                  detecX = EstadoBit::detecX, adultoVivo = EstadoBit::adulto | EstadoBit::vivo;

SpecX pessoa(CKeldoDoc& doc, int32_t id, uint8_t estado, uint16_t gP, uint16_t gM) {
    return IndividuoTeste(id).estado(estado | adultoVivo).genotipo(gP, gM).em(12, 34).expresso(doc);
}

void taxas(CKeldoDoc& doc, std::array<int32_t, 6> t) {
    AcessoDocumento::parametrosEditaveis(doc).taxaPermuta = t;
}
} // namespace

// Each point that crosses exchanges every bit above it (the bits without a
// gene travel with the upper part), so the points compose: a bit changes
// words when an odd number of crossing points lie below it. All six points
// are drawn, even when no rate lets one cross.
TEST(Permuta, CadaPontoTrocaTudoAcimaDeleEOsPontosCompoem) {
    const struct {
        const char* nome;
        std::array<int32_t, 6> taxas;
        uint16_t a, b, aDepois, bDepois;
    } casos[] = {
        {"so o ponto 6", {0, 0, 0, 0, 0, 100}, 0x1FE, 0x001, 0x000, 0x1FF},
        {"ponto 6 e os bits sem gene", {0, 0, 0, 0, 0, 100}, 0xFE00, 0x0001, 0x0000, 0xFE01},
        {"pontos 1 e 2 trocam so a Reproducao",
         {100, 100, 0, 0, 0, 0},
         0x0000,
         0xFFFF,
         0x0040,
         0xFFBF},
        {"todos: Reproducao, Luta, Inteligencia",
         {100, 100, 100, 100, 100, 100},
         0x0000,
         0xFFFF,
         0x0056,
         0xFFA9},
        {"nenhum", {0, 0, 0, 0, 0, 0}, 0x0000, 0xFFFF, 0x0000, 0xFFFF},
    };
    CKeldoDoc doc;
    SpecX mae = pessoa(doc, 1, 0, 0, 0);
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        taxas(doc, c.taxas);
        doc.semear(11);
        uint16_t a = c.a, b = c.b;
        mae.permuta(a, b);
        EXPECT_EQ(a, c.aDepois);
        EXPECT_EQ(b, c.bDepois);
        EXPECT_EQ(sorteiosEntre(11, doc.gerador().estadoAtual()), 6);
    }
}

// A crossing happens when the draw is strictly below the rate of its point.
TEST(Permuta, LimiarEstritoDaTaxa) {
    CKeldoDoc doc;
    SpecX mae = pessoa(doc, 1, 0, 0, 0);
    uint32_t semente = 1; // a seed whose third draw (point 3) is exactly 50
    for (;; ++semente) {
        Random r(semente);
        r.proximo();
        r.proximo();
        if (r.randomInt(100) == 50)
            break;
    }
    for (int taxa : {50, 51}) {
        taxas(doc, {0, 0, taxa, 0, 0, 0});
        doc.semear(semente);
        uint16_t a = 0x0000, b = 0x01FF;
        mae.permuta(a, b);
        EXPECT_EQ(a, taxa == 51 ? 0x01E0 : 0x0000) << taxa;
    }
}

// n = 1 complements all sixteen bits of both words, one draw a bit and word;
// n zero or negative draws nothing and changes nothing.
TEST(Mutacao, NUmComplementaTudoENZeroOuNegativoNaoSorteia) {
    const struct {
        int n;
        uint16_t aDepois, bDepois;
        int sorteios;
    } casos[] = {{1, 0xEDCB, 0xFF00, 32}, {0, 0x1234, 0x00FF, 0}, {-3, 0x1234, 0x00FF, 0}};
    CKeldoDoc doc;
    SpecX mae = pessoa(doc, 1, 0, 0, 0);
    for (const auto& c : casos) {
        SCOPED_TRACE("n = " + std::to_string(c.n));
        doc.semear(8);
        uint16_t a = 0x1234, b = 0x00FF;
        mae.mutacao(a, b, c.n);
        EXPECT_EQ(a, c.aDepois);
        EXPECT_EQ(b, c.bDepois);
        EXPECT_EQ(sorteiosEntre(8, doc.gerador().estadoAtual()), c.sorteios);
    }
}

// For each bit, lowest first: one draw for the first word, then one for the second.
TEST(Mutacao, OrdemDosSorteiosPorBit) {
    CKeldoDoc doc;
    SpecX mae = pessoa(doc, 1, 0, 0, 0);
    for (uint32_t semente = 1; semente <= 10; ++semente) {
        doc.semear(semente);
        uint16_t a = 0, b = 0;
        mae.mutacao(a, b, 3);
        Random r(semente);
        uint16_t ea = 0, eb = 0;
        for (int i = 0; i < 16; ++i) {
            if (r.randomInt(3) == 0)
                ea |= static_cast<uint16_t>(1u << i);
            if (r.randomInt(3) == 0)
                eb |= static_cast<uint16_t>(1u << i);
        }
        EXPECT_EQ(a, ea);
        EXPECT_EQ(b, eb);
    }
}

// A son takes his X from the mother and his Y from the father, whatever the draws.
TEST(CromossomosSexuais, FilhoDeMaeDDEPaiCeD) {
    CKeldoDoc doc;
    const SpecX mae = pessoa(doc, 1, detecX | cuidaOuX2, 0, 0);
    const SpecX pai = pessoa(doc, 2, macho | detecX, 0, 0); // X = D, Y = c
    for (uint32_t semente = 1; semente <= 16; ++semente) {
        doc.semear(semente);
        SpecX filho = pessoa(doc, 3, macho | cuidaOuX2, 0, 0);
        filho.herdarCromossomosSexuais(pai, mae);
        EXPECT_EQ(filho.detecXBit(), 1);
        EXPECT_EQ(filho.detecXCuidaYBit(), 0);
        EXPECT_EQ(filho.detectaCuida(), 0);
        EXPECT_EQ(sorteiosEntre(semente, doc.gerador().estadoAtual()), 1);
    }
}

// First draw: which of the mother's X; second draw (daughters only): slot order.
TEST(CromossomosSexuais, FilhaRecebeUmXDeCadaEmOrdemSorteada) {
    CKeldoDoc doc;
    const SpecX mae = pessoa(doc, 1, detecX, 0, 0);            // first X D, second X d
    const SpecX pai = pessoa(doc, 2, macho | cuidaOuX2, 0, 0); // X d, Y C
    bool visto[2][2] = {};
    for (uint32_t semente = 1; semente <= 32; ++semente) {
        doc.semear(semente);
        SpecX filha = pessoa(doc, 3, detecX | cuidaOuX2, 0, 0);
        filha.herdarCromossomosSexuais(pai, mae);
        Random r(semente);
        const int xMae = r.randomInt(2) != 0 ? 1 : 0;
        const int ordem = r.randomInt(2) != 0 ? 1 : 0;
        visto[xMae][ordem] = true;
        EXPECT_EQ(filha.detecXBit(), ordem ? xMae : 0);
        EXPECT_EQ(filha.detecXCuidaYBit(), ordem ? 0 : xMae);
        EXPECT_EQ(filha.sexo(), 0);
        EXPECT_EQ(doc.gerador().estadoAtual(), r.estadoAtual());
    }
    EXPECT_TRUE(visto[0][0] && visto[0][1] && visto[1][0] && visto[1][1]);
}

namespace {
// A mother and a father in one document, with different haplotypes on every gene.
struct Casal {
    CKeldoDoc doc;
    SpecX mae;
    SpecX pai;
    explicit Casal(int tipoGeracoes = 0) {
        AcessoDocumento::parametrosEditaveis(doc).tipoGeracoes = tipoGeracoes;
        AcessoDocumento::definirTempo(doc, 31);
        mae = pessoa(doc, 10, detecX, 0x0A5, 0x15A);
        mae.geracao = 3;
        pai = pessoa(doc, 20, macho | cuidaOuX2, 0x1C3, 0x03C);
        pai.geracao = 7;
        pai.x = 80;
        pai.y = 90;
    }
};
} // namespace

// The whole sequence: father's crossing and mutation, mother's crossing and mutation,
// both gametes, the empty individual (heading, sex, two bits), the sex chromosomes.
TEST(GerarFilhote, SequenciaCompletaDeSorteios) {
    for (uint32_t semente = 1; semente <= 12; ++semente) {
        Casal a;
        a.doc.semear(semente);
        uint32_t maxGeracao = 0;
        const SpecX filho = a.mae.gerarFilhote(a.pai, 77, maxGeracao, 4);

        // The same steps taken one by one on a twin document.
        Casal b;
        b.doc.semear(semente);
        uint16_t p1 = b.pai.genotipoP, p2 = b.pai.genotipoM;
        uint16_t m1 = b.mae.genotipoP, m2 = b.mae.genotipoM;
        b.mae.permuta(p1, p2);
        b.mae.mutacao(p1, p2, 4);
        b.mae.permuta(m1, m2);
        b.mae.mutacao(m1, m2, 4);
        const uint16_t gp = b.doc.gerador().randomInt(2) != 0 ? p1 : p2;
        const uint16_t gm = b.doc.gerador().randomInt(2) != 0 ? m1 : m2;
        SpecX esperado(b.doc.gerador());
        esperado.herdarCromossomosSexuais(b.pai, b.mae);

        EXPECT_EQ(filho.genotipoP, gp);
        EXPECT_EQ(filho.genotipoM, gm);
        EXPECT_EQ(filho.dirX, esperado.dirX);
        EXPECT_EQ(filho.dirY, esperado.dirY);
        EXPECT_EQ(filho.savedDirX, esperado.dirX);
        EXPECT_EQ(filho.estado, esperado.estado);
        EXPECT_EQ(a.doc.gerador().estadoAtual(), b.doc.gerador().estadoAtual());
        const int esperados = 6 + 32 + 6 + 32 + 1 + 1 + 1 + 3 + 1 + (filho.sexo() ? 0 : 1);
        EXPECT_EQ(sorteiosEntre(semente, a.doc.gerador().estadoAtual()), esperados);
    }
}

TEST(GerarFilhote, CamposDoFilhoSobreposto) {
    Casal c;
    c.doc.semear(5);
    uint32_t maxGeracao = 2;
    const SpecX filho = c.mae.gerarFilhote(c.pai, 77, maxGeracao, 0);
    EXPECT_EQ(filho.id, 77);
    EXPECT_EQ(filho.idPai, 20);
    EXPECT_EQ(filho.idMae, 10);
    EXPECT_EQ(filho.geracao, 8u);
    EXPECT_EQ(maxGeracao, 8u);
    EXPECT_EQ(filho.x, 12.0f);
    EXPECT_EQ(filho.y, 34.0f);
    EXPECT_EQ(filho.loopNasc, 31);
    EXPECT_EQ(filho.loopMorto, -1);
    EXPECT_EQ(filho.energia, 100);
    EXPECT_EQ(filho.targetX, -1);
    EXPECT_EQ(filho.targetY, -1);
    EXPECT_EQ(filho.targetId, -1);
    EXPECT_EQ(filho.doc, &c.doc);
    EXPECT_EQ(filho.adulto(), 1);
    EXPECT_EQ(filho.vivo(), 1);
    EXPECT_EQ(filho.livre(), 0);
    EXPECT_NE(filho.dirX * filho.dirX + filho.dirY * filho.dirY, 0.0f);
    EXPECT_EQ(filho.dirX, filho.savedDirX);
    EXPECT_EQ(filho.dirY, filho.savedDirY);
    // The phenotype is expressed from the new haplotypes.
    SpecX copia = filho;
    copia.calcularFenotipo();
    EXPECT_EQ(filho.visao, copia.visao);
    EXPECT_EQ(filho.inteligencia, copia.inteligencia);
    EXPECT_EQ(filho.limiarReproducao, copia.limiarReproducao);

    // The running maximum never decreases.
    maxGeracao = 50;
    const SpecX outro = c.mae.gerarFilhote(c.pai, 78, maxGeracao, 0);
    EXPECT_EQ(outro.geracao, 8u);
    EXPECT_EQ(maxGeracao, 50u);
}

TEST(GerarFilhote, GeracoesDiscretasFazemOvoParado) {
    Casal c(1);
    c.doc.semear(5);
    uint32_t g = 0;
    const SpecX ovo = c.mae.gerarFilhote(c.pai, 77, g, 0);
    EXPECT_EQ(ovo.adulto(), 0);
    EXPECT_EQ(ovo.vivo(), 1);
    EXPECT_EQ(ovo.dirX, 0.0f);
    EXPECT_EQ(ovo.dirY, 0.0f);
    EXPECT_EQ(ovo.savedDirX, 0.0f);
    EXPECT_EQ(ovo.savedDirY, 0.0f);
    // The heading is still drawn: no mutation gives 6+6+2+4+1 draws, plus one for a daughter.
    EXPECT_EQ(sorteiosEntre(5, c.doc.gerador().estadoAtual()), 19 + (ovo.sexo() ? 0 : 1));
}

// Without crossing each haplotype of the child is one of the parent's, as it
// is (n = 0) or complemented (n = 1, every bit of both working words); the
// parents themselves are untouched.
TEST(GerarFilhote, SemPermutaCadaHaplotipoEDeUmDosPaisOuSeuComplemento) {
    for (int n : {0, 1}) {
        SCOPED_TRACE("n = " + std::to_string(n));
        Casal c;
        taxas(c.doc, {0, 0, 0, 0, 0, 0});
        const auto gameta = [n](uint16_t g) { return static_cast<uint16_t>(n ? ~g : g); };
        bool vistoP[2] = {}, vistoM[2] = {};
        for (uint32_t semente = 1; semente <= 30; ++semente) {
            c.doc.semear(semente);
            uint32_t g = 0;
            const SpecX f = c.mae.gerarFilhote(c.pai, 1, g, n);
            ASSERT_TRUE(f.genotipoP == gameta(c.pai.genotipoP) ||
                        f.genotipoP == gameta(c.pai.genotipoM));
            ASSERT_TRUE(f.genotipoM == gameta(c.mae.genotipoP) ||
                        f.genotipoM == gameta(c.mae.genotipoM));
            vistoP[f.genotipoP == gameta(c.pai.genotipoP)] = true;
            vistoM[f.genotipoM == gameta(c.mae.genotipoP)] = true;
        }
        EXPECT_TRUE(vistoP[0] && vistoP[1] && vistoM[0] && vistoM[1]);
        EXPECT_EQ(c.pai.genotipoP, 0x1C3);
        EXPECT_EQ(c.mae.genotipoM, 0x15A);
    }
}
