// The individual and the food item: phenotype expression, sex-linked trait,
// and the random draws of each constructor.
#include "AcessoDocumento.h"
#include "IndividuoTeste.h"
#include "SorteiosContados.h"
#include "model/FoodX.h"
#include "model/Individuo.h"
#include "model/Random.h"
#include "sim/CKeldoDoc.h"
#include <algorithm>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>

using namespace keldo::sim;
using namespace keldo::model;

namespace {
constexpr uint16_t R = 0x40, P = 0x20, L = 0x10, M = 0x08;

// The heading a whole-degree draw gives.
void direcaoEsperada(int graus, float& dx, float& dy) {
    const double a = graus * 3.1415926535 / 180;
    dx = static_cast<float>(std::cos(a));
    dy = static_cast<float>(std::sin(a));
}

SpecX expresso(CKeldoDoc& doc, uint16_t gP, uint16_t gM, uint8_t estado = 0x18) {
    return IndividuoTeste().genotipo(gP, gM).estado(estado).expresso(doc);
}
} // namespace

TEST(Fenotipo, VisaoContaOsBitsDasQuatroCopias) {
    CKeldoDoc doc;
    const int16_t alcance[5] = {50, 37, 25, 12, 1};
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b) {
            const SpecX s = expresso(doc, Genoma::comAlelo(Genoma::Visao, 0, a),
                                     Genoma::comAlelo(Genoma::Visao, 0, b));
            const int bits =
                std::popcount(static_cast<unsigned>(a)) + std::popcount(static_cast<unsigned>(b));
            EXPECT_EQ(s.visao, alcance[bits]) << "V" << a + 1 << "V" << b + 1;
        }
    EXPECT_EQ(expresso(doc, 0x080, 0x100).visao, 25); // V2V3
    EXPECT_EQ(expresso(doc, 0x000, 0x180).visao, 25); // V1V4
    EXPECT_EQ(expresso(doc, 0x180, 0x180).visao, 1);  // V4V4
}

TEST(Fenotipo, TabelaDeInteligencia) {
    CKeldoDoc doc;
    const int16_t tabela[4][4] = {
        {0, 75, 0, 75}, {75, 0, 75, 25}, {0, 75, 0, 75}, {75, 25, 75, 100}};
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(expresso(doc, Genoma::comAlelo(Genoma::Inteligencia, 0, a),
                               Genoma::comAlelo(Genoma::Inteligencia, 0, b))
                          .inteligencia,
                      tabela[a][b])
                << "I" << a + 1 << "I" << b + 1;
}

TEST(Fenotipo, LimiaresVemDosParametrosNoMomentoDaExpressao) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).repro_rr = 401;
    AcessoDocumento::parametrosEditaveis(doc).repro_Rr = 201;
    AcessoDocumento::parametrosEditaveis(doc).repro_RR = 402;
    AcessoDocumento::parametrosEditaveis(doc).morte_mm = 41;
    AcessoDocumento::parametrosEditaveis(doc).morte_Mm = 21;
    AcessoDocumento::parametrosEditaveis(doc).morte_MM = 1;
    EXPECT_EQ(expresso(doc, 0, 0).limiarReproducao, 401);
    EXPECT_EQ(expresso(doc, R, 0).limiarReproducao, 201);
    EXPECT_EQ(expresso(doc, 0, R).limiarReproducao, 201);
    EXPECT_EQ(expresso(doc, R, R).limiarReproducao, 402);
    EXPECT_EQ(expresso(doc, 0, 0).limiarMorte, 41);
    EXPECT_EQ(expresso(doc, M, 0).limiarMorte, 21);
    EXPECT_EQ(expresso(doc, 0, M).limiarMorte, 21);
    EXPECT_EQ(expresso(doc, M, M).limiarMorte, 1);

    // An individual keeps its thresholds until it is expressed again.
    SpecX s = expresso(doc, 0, 0);
    AcessoDocumento::parametrosEditaveis(doc).repro_rr = 999;
    AcessoDocumento::parametrosEditaveis(doc).morte_mm = 99;
    EXPECT_EQ(s.limiarReproducao, 401);
    s.anexar(&doc);
    EXPECT_EQ(s.limiarReproducao, 999);
    EXPECT_EQ(s.limiarMorte, 99);
}

TEST(Fenotipo, PartilhaDominanteLutaRecessivaNeutroSemEfeito) {
    CKeldoDoc doc;
    EXPECT_EQ(expresso(doc, P, 0).compartilha, 1);
    EXPECT_EQ(expresso(doc, 0, P).compartilha, 1);
    EXPECT_EQ(expresso(doc, 0, 0).compartilha, 0);
    EXPECT_EQ(expresso(doc, 0, 0).lutador, 1);
    EXPECT_EQ(expresso(doc, L, 0).lutador, 0);
    EXPECT_EQ(expresso(doc, 0, L).lutador, 0);
    const SpecX semN = expresso(doc, 0x1FE, 0x1FE);
    const SpecX comN = expresso(doc, 0xFFFF, 0x1FF); // Neutro and the bits without a gene
    EXPECT_EQ(semN.visao, comN.visao);
    EXPECT_EQ(semN.limiarReproducao, comN.limiarReproducao);
    EXPECT_EQ(semN.compartilha, comN.compartilha);
    EXPECT_EQ(semN.lutador, comN.lutador);
    EXPECT_EQ(semN.limiarMorte, comN.limiarMorte);
    EXPECT_EQ(semN.inteligencia, comN.inteligencia);
}

// Which haplotype holds which allele never matters, for every pair of gene words.
TEST(Fenotipo, SimetricoNasDuasCopias) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).repro_rr = 401;
    AcessoDocumento::parametrosEditaveis(doc).repro_RR = 402;
    AcessoDocumento::parametrosEditaveis(doc).morte_mm = 41;
    AcessoDocumento::parametrosEditaveis(doc).morte_MM = 1;
    for (uint16_t a = 0; a < 512; ++a)
        for (uint16_t b = static_cast<uint16_t>(a + 1); b < 512; ++b) {
            const SpecX s = expresso(doc, a, b);
            const SpecX t = expresso(doc, b, a);
            ASSERT_TRUE(s.visao == t.visao && s.limiarReproducao == t.limiarReproducao &&
                        s.compartilha == t.compartilha && s.lutador == t.lutador &&
                        s.limiarMorte == t.limiarMorte && s.inteligencia == t.inteligencia)
                << a << " " << b;
        }
}

TEST(Fenotipo, LivreLidoDoEstado) {
    CKeldoDoc doc;
    SpecX s = expresso(doc, 0, 0, 0x18 | 0x80);
    EXPECT_EQ(s.livre(), 2);
    s.definirBit(0x40, true);
    EXPECT_EQ(s.livre(), 3);
    s.definirBit(0x80, false);
    s.definirBit(0x40, false);
    EXPECT_EQ(s.livre(), 0);
}

TEST(Fenotipo, DetectaCuidaEAlelosMorte) {
    CKeldoDoc doc;
    // Males: the Cuida allele of the Y alone.
    EXPECT_EQ(expresso(doc, 0, 0, 0x18 | 0x01 | 0x02).detectaCuida(), 1);
    EXPECT_EQ(expresso(doc, 0, 0, 0x18 | 0x01 | 0x02 | 0x04).detectaCuida(), 1);
    EXPECT_EQ(expresso(doc, 0, 0, 0x18 | 0x01).detectaCuida(), 0);
    EXPECT_EQ(expresso(doc, 0, 0, 0x18 | 0x01 | 0x04).detectaCuida(), 0);
    // Females: only dd detects.
    EXPECT_EQ(expresso(doc, 0, 0, 0x18).detectaCuida(), 1);
    EXPECT_EQ(expresso(doc, 0, 0, 0x18 | 0x02).detectaCuida(), 0);
    EXPECT_EQ(expresso(doc, 0, 0, 0x18 | 0x04).detectaCuida(), 0);
    EXPECT_EQ(expresso(doc, 0, 0, 0x18 | 0x06).detectaCuida(), 0);

    EXPECT_EQ(expresso(doc, 0, 0).numAlelosMRecessivos(), 2);
    EXPECT_EQ(expresso(doc, M, 0).numAlelosMRecessivos(), 1);
    EXPECT_EQ(expresso(doc, 0, M).numAlelosMRecessivos(), 1);
    EXPECT_EQ(expresso(doc, M, M).numAlelosMRecessivos(), 0);
}

// The empty individual draws the heading, then sex and the two sex-chromosome bits.
TEST(Construtores, IndividuoVazioSorteiaDirecaoEDepoisTresBits) {
    bool viuBitsDiferentes = false;
    for (uint32_t semente = 1; semente <= 40; ++semente) {
        Random rng(semente);
        Random replay(semente);
        const SpecX s(rng);
        float dx, dy;
        direcaoEsperada(replay.randomInt(360), dx, dy);
        const int b0 = replay.randomInt(2), b1 = replay.randomInt(2), b2 = replay.randomInt(2);
        viuBitsDiferentes |= (b0 != b2);
        EXPECT_EQ(s.dirX, dx);
        EXPECT_EQ(s.dirY, dy);
        EXPECT_EQ(s.savedDirX, dx);
        EXPECT_EQ(s.savedDirY, dy);
        EXPECT_EQ(s.estado, b0 | b1 << 1 | b2 << 2 | 0x18);
        EXPECT_EQ(s.energia, 100);
        EXPECT_EQ(s.targetX, -1);
        EXPECT_EQ(s.targetY, -1);
        EXPECT_EQ(s.targetId, -1);
        EXPECT_EQ(s.loopMorto, -1);
        EXPECT_EQ(rng.estadoAtual(), replay.estadoAtual());
        EXPECT_EQ(sorteiosEntre(semente, rng.estadoAtual()), 4);
    }
    EXPECT_TRUE(viuBitsDiferentes);
}

// A founder redraws its position while it lies on an obstacle, then draws heading,
// 18 genotype bits (P then M, lowest bit first) and three status bits.
TEST(Construtores, FundadorOrdemDosSorteiosComRejeicaoDeObstaculo) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = "30";
    AcessoDocumento::escolherNivel(doc);
    AcessoDocumento::construirObstaculos(doc);
    AcessoDocumento::definirTempo(doc, 17);
    // The first seed whose first position falls on an obstacle.
    uint32_t semente = 1;
    for (;; ++semente) {
        Random r(semente);
        const int x = r.randomInt(100), y = r.randomInt(100);
        if (AcessoDocumento::pontoEmObstaculo(doc, x, y))
            break;
    }
    doc.semear(semente);
    const SpecX s(42, 0, &doc);

    Random replay(semente);
    int x, y, rejeicoes = -1;
    do {
        x = replay.randomInt(100);
        y = replay.randomInt(100);
        ++rejeicoes;
    } while (AcessoDocumento::pontoEmObstaculo(doc, x, y));
    EXPECT_GE(rejeicoes, 1);
    EXPECT_EQ(s.x, static_cast<float>(x));
    EXPECT_EQ(s.y, static_cast<float>(y));
    float dx, dy;
    direcaoEsperada(replay.randomInt(360), dx, dy);
    EXPECT_EQ(s.dirX, dx);
    EXPECT_EQ(s.dirY, dy);
    EXPECT_EQ(s.savedDirX, dx);
    EXPECT_EQ(s.savedDirY, dy);
    uint16_t gP = 0, gM = 0;
    for (int i = 0; i < 9; ++i) {
        gP |= static_cast<uint16_t>(replay.randomInt(2) << i);
        gM |= static_cast<uint16_t>(replay.randomInt(2) << i);
    }
    EXPECT_EQ(s.genotipoP, gP);
    EXPECT_EQ(s.genotipoM, gM);
    const int b0 = replay.randomInt(2), b1 = replay.randomInt(2), b2 = replay.randomInt(2);
    EXPECT_EQ(s.estado, b0 | b1 << 1 | b2 << 2 | 0x18);
    EXPECT_EQ(doc.gerador().estadoAtual(), replay.estadoAtual());
    EXPECT_EQ(sorteiosEntre(semente, doc.gerador().estadoAtual()),
              2 * (rejeicoes + 1) + 1 + 18 + 3);

    EXPECT_EQ(s.id, 42);
    EXPECT_EQ(s.loopNasc, 17);
    EXPECT_EQ(s.doc, &doc);
}

TEST(Construtores, InvariantesDoFundador) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = "30";
    AcessoDocumento::parametrosEditaveis(doc).repro_Rr = 222;
    AcessoDocumento::escolherNivel(doc);
    AcessoDocumento::construirObstaculos(doc);
    doc.semear(2024);
    for (int k = 0; k < 500; ++k) {
        const SpecX s(k + 1, 0, &doc);
        ASSERT_EQ(s.x, std::floor(s.x));
        ASSERT_EQ(s.y, std::floor(s.y));
        ASSERT_TRUE(s.x >= 0 && s.x <= 99 && s.y >= 0 && s.y <= 99);
        ASSERT_EQ(
            AcessoDocumento::pontoEmObstaculo(doc, static_cast<int>(s.x), static_cast<int>(s.y)),
            nullptr);
        ASSERT_EQ(s.energia, 100);
        ASSERT_EQ(s.geracao, 0u);
        ASSERT_EQ(s.idPai, 0);
        ASSERT_EQ(s.idMae, 0);
        ASSERT_EQ(s.loopMorto, -1);
        ASSERT_EQ(s.estado & 0xF8, 0x18);
        ASSERT_EQ(s.genotipoP & 0xFE00, 0);
        ASSERT_EQ(s.genotipoM & 0xFE00, 0);
        ASSERT_EQ(s.livre(), 0);
        // The phenotype is expressed at once with the document's parameters.
        const int r = Genoma::somaNoPar(Genoma::Reproducao, s.genotipoP, s.genotipoM);
        ASSERT_EQ(s.limiarReproducao, r == 1 ? 222 : 400);
    }
}

// energiaMin = energiaMax still consumes randomInt(1), before the position.
TEST(Construtores, AlimentoSorteiaEnergiaAntesDaPosicao) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).energiaMin = 200;
    AcessoDocumento::parametrosEditaveis(doc).energiaMax = 200;
    doc.semear(99);
    const FoodX f(0, &doc);
    Random replay(99);
    EXPECT_EQ(replay.randomInt(1), 0);
    EXPECT_EQ(f.x, static_cast<float>(replay.randomInt(100)));
    EXPECT_EQ(f.y, static_cast<float>(replay.randomInt(100)));
    EXPECT_EQ(f.valorEnergetico, 200);
    EXPECT_EQ(f.valorEnergeticoInt(), 200);
    EXPECT_EQ(f.regiao, 0);
    EXPECT_EQ(doc.gerador().estadoAtual(), replay.estadoAtual());

    AcessoDocumento::parametrosEditaveis(doc).energiaMin = 10;
    AcessoDocumento::parametrosEditaveis(doc).energiaMax = 500;
    for (uint32_t semente = 1; semente <= 20; ++semente) {
        doc.semear(semente);
        const FoodX g(0, &doc);
        Random r(semente);
        EXPECT_EQ(g.valorEnergetico, 10 + r.randomInt(491));
        EXPECT_EQ(g.x, static_cast<float>(r.randomInt(100)));
        EXPECT_EQ(g.y, static_cast<float>(r.randomInt(100)));
        EXPECT_EQ(doc.gerador().estadoAtual(), r.estadoAtual());
    }
}

TEST(Construtores, AlimentoEvitaObstaculosERespeitaARegiao) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = "30";
    AcessoDocumento::escolherNivel(doc);
    AcessoDocumento::construirObstaculos(doc);
    doc.semear(5);
    for (int k = 0; k < 300; ++k) {
        const FoodX f(0, &doc);
        ASSERT_EQ(
            AcessoDocumento::pontoEmObstaculo(doc, static_cast<int>(f.x), static_cast<int>(f.y)),
            nullptr);
        ASSERT_TRUE(f.x >= 0 && f.x <= 99 && f.y >= 0 && f.y <= 99);
    }
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = "0";
    AcessoDocumento::escolherNivel(doc);
    float maxX = 0, minX = 200;
    for (int k = 0; k < 2000; ++k) {
        const FoodX baixo(1, &doc);
        ASSERT_TRUE(baixo.x >= 0 && baixo.x <= 49 && baixo.y >= 0 && baixo.y <= 49);
        ASSERT_EQ(baixo.regiao, 1);
        const FoodX alto(2, &doc);
        ASSERT_TRUE(alto.x >= 50 && alto.x <= 100 && alto.y >= 50 && alto.y <= 100);
        ASSERT_EQ(alto.regiao, 2);
        maxX = std::max(maxX, alto.x);
        minX = std::min(minX, alto.x);
    }
    EXPECT_EQ(maxX, 100.0f);
    EXPECT_EQ(minX, 50.0f);
}
