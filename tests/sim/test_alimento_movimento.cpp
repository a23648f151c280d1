// The movement step and the movement phase.
#include "AcessoDocumento.h"
#include "IndividuoTeste.h"
#include "SorteiosContados.h"
#include "model/Random.h"
#include "sim/CKeldoDoc.h"
#include <cmath>
#include <gtest/gtest.h>

using namespace keldo::sim;
using namespace keldo::model;

namespace {
constexpr uint16_t comum = 0x18; // sight 50, rr (threshold 400), no fights, MM (death 0)

SpecX individuo(CKeldoDoc& doc, int32_t id, bool macho, float x, float y, int energia, float dx,
                float dy) {
    return IndividuoTeste(id)
        .em(x, y)
        .energia(energia)
        .estado(EstadoBit::adulto | EstadoBit::vivo | (macho ? 1 : 0))
        .genotipo(comum)
        .direcao(dx, dy)
        .expresso(doc);
}

void direcao(int graus, float& dx, float& dy) {
    const double a = graus * 3.1415926535 / 180;
    dx = static_cast<float>(std::cos(a));
    dy = static_cast<float>(std::sin(a));
}
} // namespace

// A female ready to mate stands still and pays 1 per cycle.
TEST(Mover, FemeaProntaFicaParadaEPagaUm) {
    CKeldoDoc doc;
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 1, false, 20, 30, 500, 0.6f, 0.8f));
    doc.semear(4);
    AcessoDocumento::moverIndividuos(doc);
    const SpecX& f = doc.vivos()[0];
    EXPECT_EQ(f.x, 20.0f);
    EXPECT_EQ(f.y, 30.0f);
    EXPECT_EQ(f.dirX, 0.0f);
    EXPECT_EQ(f.dirY, 0.0f);
    EXPECT_EQ(f.savedDirX, 0.0f);
    EXPECT_EQ(f.savedDirY, 0.0f);
    EXPECT_EQ(f.energia, 499);
    EXPECT_EQ(doc.gerador().estadoAtual(), 4u);

    // Exactly at the threshold is ready too.
    SpecX g = individuo(doc, 2, false, 20, 30, 400, 0.6f, 0.8f);
    g.mover();
    EXPECT_EQ(g.x, 20.0f);
    EXPECT_EQ(g.dirY, 0.0f);
}

// Once hungry again, a female with no saved heading draws one: randomInt(360).
TEST(Mover, FemeaSemDirecaoGuardadaSorteiaUma) {
    CKeldoDoc doc;
    SpecX f = individuo(doc, 1, false, 50, 50, 100, 0, 0);
    doc.semear(10);
    f.mover();
    float dx, dy;
    direcao(Random(10).randomInt(360), dx, dy);
    EXPECT_EQ(f.dirX, dx);
    EXPECT_EQ(f.dirY, dy);
    EXPECT_EQ(f.savedDirX, dx);
    EXPECT_EQ(f.savedDirY, dy);
    EXPECT_EQ(f.x, 50.0f + dx);
    EXPECT_EQ(f.y, 50.0f + dy);
    EXPECT_EQ(sorteiosEntre(10, doc.gerador().estadoAtual()), 1);

    // A saved heading is kept, and the current one (toward a target) is used.
    SpecX g = individuo(doc, 2, false, 50, 50, 100, 0.6f, 0.8f);
    g.apontarPara(50, 80);
    g.mover();
    EXPECT_EQ(g.x, 50.0f + 0.001f);
    EXPECT_EQ(g.y, 50.0f + 0.001f);
    EXPECT_EQ(g.savedDirX, 0.6f);
    EXPECT_EQ(sorteiosEntre(10, doc.gerador().estadoAtual()), 1);
}

// Males keep their heading, even a zero one: no draw, no step, one unit of energy.
TEST(Mover, MachoMantemADirecao) {
    CKeldoDoc doc;
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, true, 50, 50, 1000, 0, 0));
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 2, true, 50, 50, 1000, 0.6f, -0.8f));
    doc.semear(10);
    AcessoDocumento::moverIndividuos(doc);
    EXPECT_EQ(doc.gerador().estadoAtual(), 10u);
    EXPECT_EQ(doc.vivos()[0].x, 50.0f);
    EXPECT_EQ(doc.vivos()[0].energia, 999);
    EXPECT_EQ(doc.vivos()[1].x, 50.0f + 0.6f);
    EXPECT_EQ(doc.vivos()[1].y, 50.0f - 0.8f);
    EXPECT_EQ(doc.vivos()[1].energia, 998);
}

TEST(Mover, ParedesInvertemADirecao) {
    CKeldoDoc doc;
    SpecX a = individuo(doc, 1, true, 98.5f, 0.5f, 100, 1, -1);
    a.mover();
    EXPECT_EQ(a.x, 99.0f);
    EXPECT_EQ(a.y, 0.0f);
    EXPECT_EQ(a.dirX, -1.0f);
    EXPECT_EQ(a.dirY, 1.0f);
    SpecX b = individuo(doc, 2, true, 0.5f, 98.5f, 100, -1, 1);
    b.mover();
    EXPECT_EQ(b.x, 0.0f);
    EXPECT_EQ(b.y, 99.0f);
    EXPECT_EQ(b.dirX, 1.0f);
    EXPECT_EQ(b.dirY, -1.0f);
    // Landing exactly on a wall is not beyond it.
    SpecX c = individuo(doc, 3, true, 98, 1, 100, 1, -1);
    c.mover();
    EXPECT_EQ(c.x, 99.0f);
    EXPECT_EQ(c.y, 0.0f);
    EXPECT_EQ(c.dirX, 1.0f);
    EXPECT_EQ(c.dirY, -1.0f);
}

// The rounded position meets the obstacle: one step back along the reversed heading.
TEST(Mover, ObstaculoPelaPosicaoArredondada) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = "12";
    AcessoDocumento::escolherNivel(doc);
    AcessoDocumento::construirObstaculos(doc);
    // Cells x 14..20, y 15..23 lie in the pixel rectangle (90,70,135,115).
    SpecX a = individuo(doc, 1, true, 12.6f, 18, 100, 1, 0);
    a.mover(); // 13.6 rounds to 14
    EXPECT_EQ(a.dirX, -1.0f);
    EXPECT_EQ(a.x, 11.6f);
    EXPECT_EQ(a.y, 18.0f);
    SpecX b = individuo(doc, 2, true, 12.4f, 18, 100, 1, 0);
    b.mover(); // 13.4 rounds to 13
    EXPECT_EQ(b.dirX, 1.0f);
    EXPECT_EQ(b.x, 13.4f);
    // Another level: (74,167,99,192) covers cells x 12..15, y 35..39.
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = "30";
    AcessoDocumento::escolherNivel(doc);
    SpecX d = individuo(doc, 4, true, 12.2f, 34.6f, 100, 0.0f, 0.4f);
    d.mover(); // (12.2, 35.0) rounds to (12, 35): inside
    EXPECT_EQ(d.dirY, -0.4f);
    EXPECT_EQ(d.y, 34.6f - 0.4f);
    EXPECT_EQ(d.x, 12.2f);
}

// The dead of this cycle still step, pay nothing, and leave in vivos order; eggs stay.
TEST(MoverIndividuos, MortosDoCicloEOvos) {
    CKeldoDoc doc;
    AcessoDocumento::definirTempo(doc, 12);
    AcessoDocumento::mortosEditaveis(doc).push_back(individuo(doc, 90, true, 1, 1, 0, 0, 0));
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 1, true, 50, 50, 100, 1, 0)); // walks, pays 2
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 2, true, 10, 10, 0, 0, 1)); // died earlier
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 3, false, 70, 70, 100, 0, 0)); // an egg
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 4, false, 30, 30, 0, 0, 0)); // dead, no saved heading
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 5, true, 80, 80, 1, 1, 0)); // dies now
    AcessoDocumento::vivosEditaveis(doc)[1].definirBit(EstadoBit::vivo, false);
    AcessoDocumento::vivosEditaveis(doc)[2].definirBit(EstadoBit::adulto, false);
    AcessoDocumento::vivosEditaveis(doc)[3].definirBit(EstadoBit::vivo, false);
    doc.semear(31);
    AcessoDocumento::moverIndividuos(doc);

    ASSERT_EQ(doc.vivos().size(), 2u);
    EXPECT_EQ(doc.vivos()[0].id, 1);
    EXPECT_EQ(doc.vivos()[0].x, 51.0f);
    EXPECT_EQ(doc.vivos()[0].energia, 98);
    EXPECT_EQ(doc.vivos()[1].id, 3);
    EXPECT_EQ(doc.vivos()[1].energia, 100);
    EXPECT_EQ(doc.vivos()[1].dirX, 0.0f);

    ASSERT_EQ(doc.mortos().size(), 4u);
    EXPECT_EQ(doc.mortos()[0].id, 90);
    EXPECT_EQ(doc.mortos()[0].loopMorto, -1);
    const int32_t ordem[] = {2, 4, 5};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(doc.mortos()[k + 1].id, ordem[k]);
        EXPECT_EQ(doc.mortos()[k + 1].loopMorto, 12);
        EXPECT_EQ(doc.mortos()[k + 1].vivo(), 0);
    }
    EXPECT_EQ(doc.mortos()[1].y, 11.0f);
    EXPECT_EQ(doc.mortos()[1].energia, 0);
    float dx, dy;
    direcao(Random(31).randomInt(360), dx, dy);
    EXPECT_EQ(doc.mortos()[2].dirX, dx);
    EXPECT_EQ(doc.mortos()[2].x, 30.0f + dx);
    EXPECT_EQ(doc.mortos()[3].energia, 0);
    EXPECT_EQ(doc.mortos()[3].x, 81.0f);
    EXPECT_EQ(sorteiosEntre(31, doc.gerador().estadoAtual()), 1);
}
