// Energy bookkeeping, food search, feeding and food renewal.
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
constexpr uint16_t P = 0x20, L = 0x10, M = 0x08, I4 = 0x06, I2 = 0x02;
// V1V1 (sight 50), rr (threshold 400), pp, LL (no fights), MM (death 0), I1I1.
constexpr uint16_t comum = L | M;

SpecX individuo(CKeldoDoc& doc, int32_t id, float x, float y, int energia, uint16_t gP = comum,
                uint16_t gM = comum) {
    return IndividuoTeste(id)
        .em(x, y)
        .energia(energia)
        .estado(EstadoBit::adulto | EstadoBit::vivo)
        .genotipo(gP, gM)
        .direcao(1.0f, 0.0f)
        .expresso(doc);
}

FoodX alimento(CKeldoDoc& doc, float x, float y, int16_t valor, uint8_t regiao = 0) {
    FoodX f;
    f.doc = &doc;
    f.x = x;
    f.y = y;
    f.valorEnergetico = valor;
    f.regiao = regiao;
    return f;
}
} // namespace

TEST(Energia, GastarCruzandoOLimiarEsqueceOAlvo) {
    CKeldoDoc doc;
    SpecX s = individuo(doc, 1, 0, 0, 410);
    s.targetX = 3;
    s.targetY = 4;
    s.gastarEnergia(5); // 405: still at or above 400
    EXPECT_EQ(s.targetX, 3);
    s.gastarEnergia(20); // 385: crossed
    EXPECT_EQ(s.energia, 385);
    EXPECT_EQ(s.targetX, -1);
    EXPECT_EQ(s.targetY, -1);
    s.targetX = s.targetY = 7;
    s.ganharEnergia(14); // 399
    EXPECT_EQ(s.targetX, 7);
    s.ganharEnergia(1); // 400: crossed upward
    EXPECT_EQ(s.targetX, -1);
    s.ganharEnergia(100000); // no upper bound
    EXPECT_EQ(s.energia, 100400);
}

TEST(Energia, MorrerNaoMudaMaisNada) {
    CKeldoDoc doc;
    SpecX s = individuo(doc, 1, 0, 0, 5);
    s.gastarEnergia(10); // floored at 0, and 0 <= death threshold 0
    EXPECT_EQ(s.energia, 0);
    EXPECT_EQ(s.vivo(), 0);

    AcessoDocumento::parametrosEditaveis(doc).morte_MM = 440;
    SpecX t = individuo(doc, 2, 0, 0, 450);
    t.targetX = t.targetY = 9;
    t.gastarEnergia(20); // 430: dies; the threshold crossing does not clear the target
    EXPECT_EQ(t.vivo(), 0);
    EXPECT_EQ(t.targetX, 9);
    // The dead neither spend nor gain.
    t.gastarEnergia(100);
    t.ganharEnergia(100);
    EXPECT_EQ(t.energia, 430);
}

// Every step of the distance is taken in single precision.
TEST(Geometria, DistanciaEmPrecisaoSimples) {
    CKeldoDoc doc;
    int diferentes = 0;
    for (int k = 1; k < 2000; ++k) {
        const float x = 0.37f * k, y = 99.0f - 0.013f * k, tx = 50.5f, ty = 0.1f * (k % 97);
        SpecX s = individuo(doc, 1, x, y, 100);
        const float dx = x - tx, dy = y - ty;
        const float quadrado = dx * dx + dy * dy;
        const float simples = std::sqrt(quadrado);
        const double ddx = static_cast<double>(x) - tx, ddy = static_cast<double>(y) - ty;
        const auto dupla = static_cast<float>(std::sqrt(ddx * ddx + ddy * ddy));
        diferentes += simples != dupla;
        ASSERT_EQ(s.distancia(tx, ty), simples) << k;
    }
    EXPECT_GT(diferentes, 0); // the cases above do tell the two apart
}

TEST(Geometria, ApontarPara) {
    CKeldoDoc doc;
    SpecX s = individuo(doc, 1, 10, 20, 100);
    s.savedDirX = 0.5f;
    s.savedDirY = 0.25f;
    s.apontarPara(13, 24);
    const double a = std::atan2(4.0, 3.0);
    EXPECT_EQ(s.dirX, static_cast<float>(std::cos(a)));
    EXPECT_EQ(s.dirY, static_cast<float>(std::sin(a)));
    EXPECT_EQ(s.savedDirX, 0.5f);
    EXPECT_EQ(s.savedDirY, 0.25f);
    s.apontarPara(10, 50); // same x
    EXPECT_EQ(s.dirX, 0.001f);
    EXPECT_EQ(s.dirY, 0.001f);
    s.apontarPara(0, 20); // same y: still (0.001, 0.001), not toward the target
    EXPECT_EQ(s.dirX, 0.001f);
    EXPECT_EQ(s.dirY, 0.001f);
    s.apontarPara(9.5f, 19.25f);
    const double b = std::atan2(static_cast<double>(-0.75f), static_cast<double>(-0.5f));
    EXPECT_EQ(s.dirX, static_cast<float>(std::cos(b)));
    EXPECT_EQ(s.dirY, static_cast<float>(std::sin(b)));
}

// A remembered target is found again by its coordinates: no new choice, no draw.
TEST(ProcurarAlimento, AlvoLembradoPelasCoordenadas) {
    CKeldoDoc doc;
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, 10, 10, 100));
    AcessoDocumento::vivosEditaveis(doc)[0].targetX = 30;
    AcessoDocumento::vivosEditaveis(doc)[0].targetY = 40;
    AcessoDocumento::alimentosEditaveis(doc).push_back(
        alimento(doc, 11, 11, 500)); // better and nearer
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 30, 40, 1));
    doc.semear(5);
    AcessoDocumento::procurarAlimento(doc);
    EXPECT_EQ(doc.gerador().estadoAtual(), 5u);
    const double a = std::atan2(30.0, 20.0);
    EXPECT_EQ(doc.vivos()[0].dirX, static_cast<float>(std::cos(a)));
    EXPECT_EQ(doc.vivos()[0].targetX, 30);

    // Gone: the target is dropped and a new one chosen among the visible items.
    AcessoDocumento::alimentosEditaveis(doc).pop_back();
    AcessoDocumento::procurarAlimento(doc);
    EXPECT_EQ(sorteiosEntre(5, doc.gerador().estadoAtual()), 1); // randomInt(1) with I1I1
    EXPECT_EQ(doc.vivos()[0].targetX, 11);
    EXPECT_EQ(doc.vivos()[0].targetY, 11);
}

// Sight is inclusive, other regions never count, and the pick is randomInt(count).
TEST(ProcurarAlimento, CandidatosEEscolhaAleatoria) {
    bool escolhas[2] = {};
    for (uint32_t semente = 1; semente <= 12; ++semente) {
        CKeldoDoc doc;
        AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, 10, 10, 100));
        AcessoDocumento::alimentosEditaveis(doc).push_back(
            alimento(doc, 10, 61, 900)); // 51 away: out of sight
        AcessoDocumento::alimentosEditaveis(doc).push_back(
            alimento(doc, 20, 10, 200)); // candidate 0
        AcessoDocumento::alimentosEditaveis(doc).push_back(
            alimento(doc, 12, 10, 900, 1)); // another region
        AcessoDocumento::alimentosEditaveis(doc).push_back(
            alimento(doc, 10, 60, 200)); // exactly 50: candidate 1
        doc.semear(semente);
        AcessoDocumento::procurarAlimento(doc);
        Random r(semente);
        const int k = r.randomInt(2);
        escolhas[k] = true;
        const SpecX& s = doc.vivos()[0];
        EXPECT_EQ(s.targetX, k == 0 ? 20 : 10);
        EXPECT_EQ(s.targetY, k == 0 ? 10 : 60);
        EXPECT_EQ(s.dirX, 0.001f); // same y or same x as the individual
        EXPECT_EQ(doc.gerador().estadoAtual(), r.estadoAtual());
    }
    EXPECT_TRUE(escolhas[0] && escolhas[1]);
}

// inteligencia 100 still draws randomInt(100); the best value wins, ties to the first.
TEST(ProcurarAlimento, MelhorValorComInteligenciaCem) {
    CKeldoDoc doc;
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 1, 10, 10, 100, comum | I4, comum | I4));
    ASSERT_EQ(doc.vivos()[0].inteligencia, 100);
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 40, 10, 200)); // 170
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 20, 10, 200)); // 190
    AcessoDocumento::alimentosEditaveis(doc).push_back(
        alimento(doc, 10, 20, 200)); // 190, a tie: the earlier stays
    doc.semear(77);
    AcessoDocumento::procurarAlimento(doc);
    EXPECT_EQ(sorteiosEntre(77, doc.gerador().estadoAtual()), 1);
    EXPECT_EQ(doc.vivos()[0].targetX, 20);
    EXPECT_EQ(doc.vivos()[0].targetY, 10);

    AcessoDocumento::vivosEditaveis(doc)[0].targetX =
        AcessoDocumento::vivosEditaveis(doc)[0].targetY = -1;
    AcessoDocumento::alimentosEditaveis(doc).push_back(
        alimento(doc, 15, 15, 198)); // 198 - 7.07 = 190.93: strictly better
    AcessoDocumento::procurarAlimento(doc);
    EXPECT_EQ(doc.vivos()[0].targetX, 15);
}

// inteligencia 75: r = randomInt(100); r < 75 takes the best, else randomInt(count).
TEST(ProcurarAlimento, InteligenciaParcial) {
    bool ramo[2] = {};
    for (uint32_t semente = 1; semente <= 20; ++semente) {
        CKeldoDoc doc;
        AcessoDocumento::vivosEditaveis(doc).push_back(
            individuo(doc, 1, 10, 10, 100, comum | I2, comum));
        ASSERT_EQ(doc.vivos()[0].inteligencia, 75);
        AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 40, 10, 100));
        AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 30, 10, 100));
        AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 20, 10, 300)); // the best
        doc.semear(semente);
        AcessoDocumento::procurarAlimento(doc);
        Random r(semente);
        const bool melhor = r.randomInt(100) < 75;
        const int k = melhor ? 2 : r.randomInt(3);
        ramo[melhor] = true;
        EXPECT_EQ(doc.vivos()[0].targetX, 40 - 10 * k);
        EXPECT_EQ(doc.gerador().estadoAtual(), r.estadoAtual());
    }
    EXPECT_TRUE(ramo[0] && ramo[1]);
}

TEST(ProcurarAlimento, QuemNaoProcura) {
    CKeldoDoc doc;
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, 10, 10, 400)); // not hungry
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 2, 10, 10, 100)); // an egg
    AcessoDocumento::vivosEditaveis(doc)[1].definirBit(EstadoBit::adulto, false);
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 3, 10, 10, 100)); // dead
    AcessoDocumento::vivosEditaveis(doc)[2].definirBit(EstadoBit::vivo, false);
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 4, 10, 10, 100)); // partitioned
    AcessoDocumento::vivosEditaveis(doc)[3].definirBit(1 << EstadoBit::deslocamentoLivre, true);
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 5, 10, 10, 100)); // blind
    AcessoDocumento::vivosEditaveis(doc)[4].visao = 0;
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 20, 20, 100));
    doc.semear(3);
    AcessoDocumento::procurarAlimento(doc);
    EXPECT_EQ(doc.gerador().estadoAtual(), 3u);
    for (const SpecX& s : doc.vivos()) {
        EXPECT_EQ(s.targetX, -1);
        EXPECT_EQ(s.dirX, 1.0f);
    }
}

// An item behind an obstacle is not a candidate; with none, the heading stays.
TEST(ProcurarAlimento, CaminhoBloqueadoExclui) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = "12";
    AcessoDocumento::escolherNivel(doc);
    AcessoDocumento::construirObstaculos(doc);
    // (10,17) -> (25,17) crosses the rectangle (90,70,135,115); (10,17) -> (10,30) does not.
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, 10, 17, 100));
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 25, 17, 300));
    doc.semear(3);
    AcessoDocumento::procurarAlimento(doc);
    EXPECT_EQ(doc.gerador().estadoAtual(), 3u);
    EXPECT_EQ(doc.vivos()[0].dirX, 1.0f);
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 10, 30, 100));
    AcessoDocumento::procurarAlimento(doc);
    EXPECT_EQ(doc.vivos()[0].targetY, 30);
    EXPECT_EQ(sorteiosEntre(3, doc.gerador().estadoAtual()), 1);
}

TEST(Comer, DoisQuePartilhamDividem201) {
    CKeldoDoc doc;
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, 10, 10, 100, comum | P));
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 2, 11, 11, 100, comum, comum | P));
    AcessoDocumento::vivosEditaveis(doc)[0].targetX =
        AcessoDocumento::vivosEditaveis(doc)[1].targetX = 10;
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 10, 11, 201));
    doc.semear(4);
    EXPECT_EQ(AcessoDocumento::comer(doc), 1);
    EXPECT_EQ(doc.vivos()[0].energia, 200);
    EXPECT_EQ(doc.vivos()[1].energia, 201);
    EXPECT_EQ(doc.vivos()[0].targetX, -1);
    EXPECT_EQ(doc.vivos()[1].targetX, -1);
    EXPECT_TRUE(doc.alimentos().empty());
    EXPECT_EQ(doc.gerador().estadoAtual(), 4u);

    // Three sharers: 200 / 3 each, the last also gets the remainder.
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 3, 10, 12, 0, comum | P));
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 10, 11, 200));
    AcessoDocumento::vivosEditaveis(doc)[0].energia =
        AcessoDocumento::vivosEditaveis(doc)[1].energia = 0;
    EXPECT_EQ(AcessoDocumento::comer(doc), 1);
    EXPECT_EQ(doc.vivos()[0].energia, 66);
    EXPECT_EQ(doc.vivos()[1].energia, 66);
    EXPECT_EQ(doc.vivos()[2].energia, 68);
}

// One non-sharer wins at randomInt(2); then both pay partilha.
TEST(Comer, DoisQueNaoPartilhamPagamPartilha) {
    bool venceu[2] = {};
    for (uint32_t semente = 1; semente <= 10; ++semente) {
        CKeldoDoc doc;
        AcessoDocumento::parametrosEditaveis(doc).partilha = 30;
        AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, 10, 10, 100));
        AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 2, 10, 11, 100));
        AcessoDocumento::vivosEditaveis(doc)[0].targetX =
            AcessoDocumento::vivosEditaveis(doc)[1].targetX = 5;
        AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 10, 10, 50));
        doc.semear(semente);
        EXPECT_EQ(AcessoDocumento::comer(doc), 1);
        Random r(semente);
        const int k = r.randomInt(2);
        venceu[k] = true;
        EXPECT_EQ(doc.vivos()[k].energia, 120);
        EXPECT_EQ(doc.vivos()[1 - k].energia, 70);
        EXPECT_EQ(doc.vivos()[k].targetX, -1);
        EXPECT_EQ(doc.vivos()[1 - k].targetX, 5);
        EXPECT_EQ(doc.gerador().estadoAtual(), r.estadoAtual());
    }
    EXPECT_TRUE(venceu[0] && venceu[1]);
}

// partilha 0 still charges the contenders: one already at its death threshold dies.
TEST(Comer, PartilhaZeroAindaCobra) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).morte_MM = 40;
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, 10, 10, 40));
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 2, 10, 10, 40));
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 10, 10, 50));
    doc.semear(6);
    AcessoDocumento::comer(doc);
    const int k = Random(6).randomInt(2);
    EXPECT_EQ(doc.vivos()[k].energia, 90);
    EXPECT_EQ(doc.vivos()[k].vivo(), 1);
    EXPECT_EQ(doc.vivos()[1 - k].energia, 40);
    EXPECT_EQ(doc.vivos()[1 - k].vivo(), 0);
}

// With one non-sharer among sharers the draw is randomInt(1); sharers neither gain nor pay.
TEST(Comer, UmQueNaoPartilhaEntrePartilhadores) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).partilha = 30;
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, 10, 10, 100, comum | P));
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 2, 10, 10, 100));
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 3, 10, 10, 100, comum | P));
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 10, 10, 50));
    doc.semear(6);
    AcessoDocumento::comer(doc);
    EXPECT_EQ(sorteiosEntre(6, doc.gerador().estadoAtual()), 1);
    EXPECT_EQ(doc.vivos()[0].energia, 100);
    EXPECT_EQ(doc.vivos()[1].energia, 120);
    EXPECT_EQ(doc.vivos()[2].energia, 100);
}

// Reach 1.5 inclusive; hunger plays no part; eggs, the dead and other regions do not eat.
TEST(Comer, AlcanceEQuemCompete) {
    CKeldoDoc doc;
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 1, 11.5f, 10, 5000)); // sated, exactly 1.5 away
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 2, 10, 10, 100)); // an egg
    AcessoDocumento::vivosEditaveis(doc)[1].definirBit(EstadoBit::adulto, false);
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 3, 10, 10, 100)); // dead
    AcessoDocumento::vivosEditaveis(doc)[2].definirBit(EstadoBit::vivo, false);
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 4, 8.4f, 10, 100)); // 1.6 away
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 10, 10, 70));
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 50, 50, 70, 1));
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(doc, 5, 50, 50, 100)); // livre 0 does not eat region 1
    doc.semear(2);
    EXPECT_EQ(AcessoDocumento::comer(doc), 1);
    EXPECT_EQ(doc.gerador().estadoAtual(), 2u); // a single contender: no draw
    EXPECT_EQ(doc.vivos()[0].energia, 5070);
    EXPECT_EQ(doc.vivos()[1].energia, 100);
    EXPECT_EQ(doc.vivos()[2].energia, 100);
    EXPECT_EQ(doc.vivos()[3].energia, 100);
    EXPECT_EQ(doc.vivos()[4].energia, 100);
    ASSERT_EQ(doc.alimentos().size(), 1u);
    EXPECT_EQ(doc.alimentos()[0].regiao, 1);
}

// Items are taken in list order: contenders killed over one item miss the next,
// and the uneaten keep their order.
TEST(Comer, OrdemDosItensEMortesPelaPartilha) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).partilha = 1000;
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 90, 90, 11));
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 10, 10, 12));
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 70, 70, 13));
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 10, 11, 14));
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 30, 30, 15));
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 99, 99, 16)); // on the border
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, 10, 10.5f, 100));
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 2, 10, 10.5f, 100));
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 3, 99, 98, 100));
    EXPECT_EQ(AcessoDocumento::comer(doc), 2);
    EXPECT_EQ(doc.vivos()[0].vivo() + doc.vivos()[1].vivo(), 0);
    EXPECT_EQ(doc.vivos()[2].energia, 116);
    ASSERT_EQ(doc.alimentos().size(), 4u);
    const int16_t restantes[] = {11, 13, 14, 15};
    for (size_t k = 0; k < 4; ++k)
        EXPECT_EQ(doc.alimentos()[k].valorEnergetico, restantes[k]);
}

// n = (rate / 100.0) * eaten, truncated; each item draws energy, then x, then y.
TEST(ReporAlimento, QuantidadeEOrdemDosSorteios) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).energiaMin = 50;
    AcessoDocumento::parametrosEditaveis(doc).energiaMax = 250;
    AcessoDocumento::alimentosEditaveis(doc).push_back(alimento(doc, 1, 1, 1));
    doc.semear(21);
    AcessoDocumento::reporAlimento(doc, 3, 150);
    ASSERT_EQ(doc.alimentos().size(), 5u);
    EXPECT_EQ(doc.alimentos()[0].valorEnergetico, 1);
    Random r(21);
    for (size_t k = 1; k < 5; ++k) {
        EXPECT_EQ(doc.alimentos()[k].valorEnergetico, 50 + r.randomInt(201));
        EXPECT_EQ(doc.alimentos()[k].x, static_cast<float>(r.randomInt(100)));
        EXPECT_EQ(doc.alimentos()[k].y, static_cast<float>(r.randomInt(100)));
    }
    EXPECT_EQ(doc.gerador().estadoAtual(), r.estadoAtual());

    const struct {
        int comidos, taxa;
        size_t novos;
    } casos[] = {{5, 100, 5}, {5, 0, 0}, {0, 500, 0}, {1, 50, 0}, {3, 33, 0}, {100, 29, 28}};
    for (const auto& c : casos) {
        AcessoDocumento::alimentosEditaveis(doc).clear();
        AcessoDocumento::reporAlimento(doc, c.comidos, c.taxa);
        EXPECT_EQ(doc.alimentos().size(), c.novos) << c.comidos << " " << c.taxa;
    }
}

TEST(ReporAlimento, NovosItensEvitamObstaculos) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = "30";
    AcessoDocumento::escolherNivel(doc);
    AcessoDocumento::construirObstaculos(doc);
    doc.semear(8);
    AcessoDocumento::reporAlimento(doc, 200, 100);
    ASSERT_EQ(doc.alimentos().size(), 200u);
    for (const FoodX& f : doc.alimentos()) {
        ASSERT_EQ(
            AcessoDocumento::pontoEmObstaculo(doc, static_cast<int>(f.x), static_cast<int>(f.y)),
            nullptr);
        ASSERT_EQ(f.regiao, 0);
        ASSERT_EQ(f.doc, &doc);
    }
}
