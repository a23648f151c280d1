// Partner search, fights and mating.
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
constexpr uint16_t L = 0x10, M = 0x08, I4 = 0x06;
// V1V1 (sight 50), rr (threshold 400), LL (no fights), MM, I1I1 (random choices).
constexpr uint16_t comum = L | M;
constexpr uint16_t lutador = M; // ll
constexpr uint8_t cuida = EstadoBit::detecXCuidaY, xD = EstadoBit::detecX;

// A male: bit `cuida` gives C on his Y. A female: `xD` makes her D_ (she does not detect).
SpecX individuo(CKeldoDoc& doc, int32_t id, bool macho, float x, float y, int energia,
                uint8_t sexuais = 0, uint16_t genes = comum) {
    return IndividuoTeste(id)
        .em(x, y)
        .energia(energia)
        .estado(EstadoBit::adulto | EstadoBit::vivo | (macho ? 1 : 0) | sexuais)
        .genotipo(genes)
        .direcao(1.0f, 0.0f)
        .expresso(doc);
}

SpecX femea(CKeldoDoc& doc, int32_t id, float x, float y, int energia = 1000) {
    return individuo(doc, id, false, x, y, energia, xD);
}
SpecX macho(CKeldoDoc& doc, int32_t id, float x, float y, int energia = 1000, uint8_t sexuais = 0,
            uint16_t genes = comum) {
    return individuo(doc, id, true, x, y, energia, sexuais, genes);
}
} // namespace

// inteligencia 100: one draw, then the nearest; a tie keeps the earlier one.
TEST(ProcurarParceira, MaisProximaVisivel) {
    CKeldoDoc doc;
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 1, 10, 10, 1000, 0, comum | I4));
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 2, 30, 10));
    AcessoDocumento::vivosEditaveis(doc).push_back(
        femea(doc, 3, 10, 15, 0)); // her energy plays no part
    AcessoDocumento::vivosEditaveis(doc).push_back(
        femea(doc, 4, 15, 10)); // as near: does not replace
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 5, 10, 70)); // out of sight
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 6, 11, 10)); // an egg
    AcessoDocumento::vivosEditaveis(doc).back().definirBit(EstadoBit::adulto, false);
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 7, 11, 11)); // dead
    AcessoDocumento::vivosEditaveis(doc).back().definirBit(EstadoBit::vivo, false);
    AcessoDocumento::vivosEditaveis(doc).push_back(
        macho(doc, 8, 10, 11, 0)); // a male is no partner
    doc.semear(40);
    AcessoDocumento::procurarParceira(doc);
    const SpecX& m = doc.vivos()[0];
    EXPECT_EQ(m.targetId, 3);
    EXPECT_EQ(m.targetX, 10);
    EXPECT_EQ(m.targetY, 15);
    EXPECT_EQ(m.dirX, 0.001f);
    EXPECT_EQ(sorteiosEntre(40, doc.gerador().estadoAtual()), 1);
}

// Without intelligence: randomInt(count) over the candidates in vivos order.
TEST(ProcurarParceira, EscolhaAleatoria) {
    bool vista[3] = {};
    for (uint32_t semente = 1; semente <= 15; ++semente) {
        CKeldoDoc doc;
        AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 2, 20.7f, 10.2f));
        AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 1, 10, 10));
        AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 3, 10, 40));
        AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 4, 40, 30));
        doc.semear(semente);
        AcessoDocumento::procurarParceira(doc);
        Random r(semente);
        const int k = r.randomInt(3);
        vista[k] = true;
        const int32_t ids[] = {2, 3, 4};
        const int16_t xs[] = {20, 10, 40}, ys[] = {10, 40, 30};
        const SpecX& m = doc.vivos()[1];
        EXPECT_EQ(m.targetId, ids[k]);
        EXPECT_EQ(m.targetX, xs[k]);
        EXPECT_EQ(m.targetY, ys[k]);
        EXPECT_EQ(doc.gerador().estadoAtual(), r.estadoAtual());
    }
    EXPECT_TRUE(vista[0] && vista[1] && vista[2]);
}

TEST(ProcurarParceira, SemCandidatasOuSemProntidao) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = "12";
    AcessoDocumento::escolherNivel(doc);
    AcessoDocumento::construirObstaculos(doc);
    AcessoDocumento::vivosEditaveis(doc).push_back(
        macho(doc, 1, 10, 17)); // ready, but the path is blocked
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 2, 10, 16, 399)); // not ready
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 3, 25, 17));
    for (int k : {0, 1}) {
        AcessoDocumento::vivosEditaveis(doc)[k].targetId = 9;
        AcessoDocumento::vivosEditaveis(doc)[k].targetX = 5;
    }
    doc.semear(40);
    AcessoDocumento::procurarParceira(doc);
    EXPECT_EQ(doc.vivos()[0].targetId, -1);
    EXPECT_EQ(doc.vivos()[0].targetX, 5);
    EXPECT_EQ(doc.vivos()[0].dirX, 1.0f);
    EXPECT_EQ(doc.vivos()[1].targetId, 9);
    EXPECT_EQ(doc.gerador().estadoAtual(), 40u);
}

// A single male is the father: no fight, no cost, no draw. No male: no father.
TEST(EscolherParceiro, UmSoNaoLuta) {
    CKeldoDoc doc;
    doc.semear(3);
    EXPECT_EQ(AcessoDocumento::escolherParceiro(doc, {}), nullptr);
    EXPECT_EQ(doc.gerador().estadoAtual(), 3u);
    SpecX a = macho(doc, 1, 0, 0, 1000, 0, lutador);
    doc.semear(3);
    EXPECT_EQ(AcessoDocumento::escolherParceiro(doc, {&a}), &a);
    EXPECT_EQ(a.energia, 1000);
    EXPECT_EQ(doc.gerador().estadoAtual(), 3u);
}

TEST(EscolherParceiro, Lutadores300E500) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).luta = 50;
    SpecX a = macho(doc, 1, 0, 0, 300, 0, lutador);
    SpecX b = macho(doc, 2, 0, 0, 500, 0, lutador);
    EXPECT_EQ(AcessoDocumento::escolherParceiro(doc, {&a, &b}), &b);
    EXPECT_EQ(a.energia, 250);
    EXPECT_EQ(b.energia, 450);
    a.energia = 500;
    b.energia = 300;
    EXPECT_EQ(AcessoDocumento::escolherParceiro(doc, {&a, &b}), &a);
    // Equal energies: the last fighter stays the winner.
    a.energia = b.energia = 400;
    EXPECT_EQ(AcessoDocumento::escolherParceiro(doc, {&a, &b}), &b);
}

// Only fighters count when there is one; non-fighters neither pay nor win.
TEST(EscolherParceiro, LutadorEntreNaoLutadores) {
    CKeldoDoc doc;
    SpecX a = macho(doc, 1, 0, 0, 100);
    SpecX b = macho(doc, 2, 0, 0, 60, 0, lutador);
    SpecX c = macho(doc, 3, 0, 0, 900);
    doc.semear(3);
    EXPECT_EQ(AcessoDocumento::escolherParceiro(doc, {&a, &b, &c}), &b);
    EXPECT_EQ(b.energia, 10);
    EXPECT_EQ(a.energia, 100);
    EXPECT_EQ(c.energia, 900);
    EXPECT_EQ(doc.gerador().estadoAtual(), 3u);
    // If the fight kills him there is no father, though non-fighters stand by.
    EXPECT_EQ(AcessoDocumento::escolherParceiro(doc, {&a, &b, &c}), nullptr);
    EXPECT_EQ(b.vivo(), 0);
}

TEST(EscolherParceiro, SemLutadoresSorteia) {
    for (uint32_t semente = 1; semente <= 6; ++semente) {
        CKeldoDoc doc;
        SpecX a = macho(doc, 1, 0, 0), b = macho(doc, 2, 0, 0), c = macho(doc, 3, 0, 0);
        doc.semear(semente);
        SpecX* escolhidos[] = {&a, &b, &c};
        EXPECT_EQ(AcessoDocumento::escolherParceiro(doc, {&a, &b, &c}),
                  escolhidos[Random(semente).randomInt(3)]);
        EXPECT_EQ(sorteiosEntre(semente, doc.gerador().estadoAtual()), 1);
    }
}

// The lead starts from the last fighter's energy, alive or not, and only a strictly
// greater energy takes it: a fighter that died in the fight can still come out ahead.
TEST(EscolherParceiro, MelhorEnergiaContaOsMortos) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).morte_mm = 40;
    AcessoDocumento::parametrosEditaveis(doc).luta = 50;
    SpecX a = macho(doc, 1, 0, 0, 80, 0, 0); // ll mm: dies at 40 or less
    SpecX b = macho(doc, 2, 0, 0, 60, 0, lutador);
    EXPECT_EQ(AcessoDocumento::escolherParceiro(doc, {&a, &b}), &a);
    EXPECT_EQ(a.vivo(), 0);
    EXPECT_EQ(a.energia, 30);
    EXPECT_EQ(b.energia, 10);
    // The dead one last: his 30 is the mark to beat, so the living one keeps the lead.
    a.definirBit(EstadoBit::vivo, true);
    a.energia = 80;
    b.energia = 60;
    EXPECT_EQ(AcessoDocumento::escolherParceiro(doc, {&b, &a}), &b);
    EXPECT_EQ(a.vivo(), 0);
}

// The mother pays `detecta`; the child joins vivos at the end of the phase.
TEST(Acasalar, MaeQueNaoDetectaComPaiQueNaoCuida) {
    CKeldoDoc doc;
    AcessoDocumento::definirTempo(doc, 7);
    AcessoDocumento::definirProximoId(doc, 20);
    AcessoDocumento::definirGeracao(doc, 2);
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 1, 50, 50));
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 2, 51, 51)); // 1.41 away
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 3, 51.5f, 50));
    AcessoDocumento::vivosEditaveis(doc).push_back(
        macho(doc, 4, 51.6f, 50)); // 1.6 away: out of reach
    AcessoDocumento::vivosEditaveis(doc)[0].geracao = 3;
    AcessoDocumento::vivosEditaveis(doc)[1].geracao = 5;
    AcessoDocumento::vivosEditaveis(doc)[2].geracao = 5;
    for (SpecX& m : AcessoDocumento::vivosEditaveis(doc))
        m.targetId = m.targetX = m.targetY = 8;
    doc.semear(12);
    EXPECT_EQ(AcessoDocumento::acasalar(doc), 1);

    ASSERT_EQ(doc.vivos().size(), 5u);
    const SpecX& filho = doc.vivos().back();
    Random r(12);
    const int32_t pai = r.randomInt(2) == 0 ? 2 : 3;
    EXPECT_EQ(filho.id, 20);
    EXPECT_EQ(filho.idMae, 1);
    EXPECT_EQ(filho.idPai, pai);
    EXPECT_EQ(filho.x, 50.0f);
    EXPECT_EQ(filho.loopNasc, 7);
    EXPECT_EQ(filho.adulto(), 1);
    EXPECT_EQ(doc.proximoId(), 21);
    EXPECT_EQ(doc.geracao(), 6);
    EXPECT_EQ(doc.ovos(), 0);
    EXPECT_EQ(doc.vivos()[0].energia, 900);
    for (int k = 1; k <= 3; ++k) {
        const SpecX& m = doc.vivos()[k];
        EXPECT_EQ(m.energia, 1000);
        EXPECT_EQ(m.targetId, m.id == pai ? -1 : 8);
        EXPECT_EQ(m.targetX, m.id == pai ? -1 : 8);
        EXPECT_EQ(m.targetY, m.id == pai ? -1 : 8);
    }
    // Father's choice, then the child: no mutation gives 6+6+2+4+1, plus 1 for a daughter.
    EXPECT_EQ(sorteiosEntre(12, doc.gerador().estadoAtual()), 1 + 19 + (filho.sexo() ? 0 : 1));
}

// With mutation off the rate is ignored; on, rate 1 flips every bit.
TEST(Acasalar, MutacaoSoQuandoAtiva) {
    for (int ativa : {0, 1}) {
        CKeldoDoc doc;
        AcessoDocumento::parametrosEditaveis(doc).mutacaoAtiva = ativa;
        AcessoDocumento::parametrosEditaveis(doc).taxaMutacao = 1;
        AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 1, 50, 50));
        AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 2, 50, 50));
        doc.semear(12);
        ASSERT_EQ(AcessoDocumento::acasalar(doc), 1);
        const SpecX& filho = doc.vivos().back();
        const int sorteios = ativa ? 83 : 19;
        EXPECT_EQ(sorteiosEntre(12, doc.gerador().estadoAtual()),
                  sorteios + (filho.sexo() ? 0 : 1));
        EXPECT_EQ(filho.genotipoP & 0xFE00, ativa ? 0xFE00 : 0);
        EXPECT_EQ(filho.genotipoM & 0xFE00, ativa ? 0xFE00 : 0);
    }
}

TEST(Acasalar, PaiQueCuidaDivideOCusto) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).detecta = 101;
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 1, 50, 50));
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 2, 50, 50, 1000, cuida));
    EXPECT_EQ(AcessoDocumento::acasalar(doc), 1);
    EXPECT_EQ(doc.vivos()[0].energia, 950);
    EXPECT_EQ(doc.vivos()[1].energia, 950);

    // A detecting (dd) mother accepts a caring father.
    CKeldoDoc outro;
    AcessoDocumento::vivosEditaveis(outro).push_back(individuo(outro, 1, false, 50, 50, 1000));
    AcessoDocumento::vivosEditaveis(outro).push_back(macho(outro, 2, 50, 50, 1000, cuida));
    ASSERT_EQ(outro.vivos()[0].detectaCuida(), 1);
    EXPECT_EQ(AcessoDocumento::acasalar(outro), 1);
    EXPECT_EQ(outro.vivos()[0].energia, 950);
}

// A dd female refuses males without C: no child, no cost, she stays ready.
TEST(Acasalar, FemeaQueDetectaSemMachoQueCuida) {
    CKeldoDoc doc;
    AcessoDocumento::definirProximoId(doc, 30);
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(doc, 1, false, 50, 50, 1000));
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 2, 50, 50));
    AcessoDocumento::vivosEditaveis(doc).push_back(
        macho(doc, 3, 50, 51, 1000, xD)); // his D allele is not expressed
    AcessoDocumento::vivosEditaveis(doc)[1].targetId =
        AcessoDocumento::vivosEditaveis(doc)[2].targetId = 1;
    doc.semear(12);
    EXPECT_EQ(AcessoDocumento::acasalar(doc), 0);
    EXPECT_EQ(doc.vivos().size(), 3u);
    EXPECT_EQ(doc.proximoId(), 30);
    for (const SpecX& s : doc.vivos()) {
        EXPECT_EQ(s.energia, 1000);
        EXPECT_EQ(s.targetId, s.id == 1 ? -1 : 1);
    }
    EXPECT_EQ(sorteiosEntre(12, doc.gerador().estadoAtual()),
              1); // the choice between the two males
}

// Two fighters that die from the fight: no mating; they leave vivos only when moving.
TEST(Acasalar, LutadoresQueMorremNaoAcasalam) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).luta = 1000;
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 1, 50, 50));
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 2, 50, 50, 900, 0, lutador));
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 3, 50, 50, 1000, 0, lutador));
    EXPECT_EQ(AcessoDocumento::acasalar(doc), 0);
    ASSERT_EQ(doc.vivos().size(), 3u);
    EXPECT_EQ(doc.vivos()[0].energia, 1000);
    EXPECT_EQ(doc.vivos()[1].vivo() + doc.vivos()[2].vivo(), 0);
    AcessoDocumento::moverIndividuos(doc);
    EXPECT_EQ(doc.vivos().size(), 1u);
    EXPECT_EQ(doc.mortos().size(), 2u);
}

// Fighters 300 and 500 with luta 50: the one left with 450 fathers the child.
TEST(Acasalar, VencedorDaLutaEOPai) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).repro_rr = 100;
    AcessoDocumento::parametrosEditaveis(doc).luta = 50;
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 2, 50, 50, 500, 0, lutador));
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 1, 50, 50));
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 3, 50, 50, 300, 0, lutador));
    EXPECT_EQ(AcessoDocumento::acasalar(doc), 1);
    EXPECT_EQ(doc.vivos().back().idPai, 2);
    EXPECT_EQ(doc.vivos()[0].energia, 450);
    EXPECT_EQ(doc.vivos()[2].energia, 250);
    EXPECT_EQ(doc.vivos()[1].energia, 900);
}

// A male mates with every female that chooses him while he stays ready; a caring
// father's share of the cost can end that.
TEST(Acasalar, UmMachoVariasFemeas) {
    CKeldoDoc doc;
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 1, 50, 50));
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 2, 50, 51));
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 3, 50, 50.5f, 450, cuida));
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 4, 50, 49));
    EXPECT_EQ(AcessoDocumento::acasalar(doc), 2);
    ASSERT_EQ(doc.vivos().size(), 6u);
    EXPECT_EQ(doc.vivos()[4].idMae, 1);
    EXPECT_EQ(doc.vivos()[5].idMae, 2);
    EXPECT_EQ(doc.vivos()[4].idPai, 3);
    EXPECT_EQ(doc.vivos()[2].energia, 350);
    EXPECT_EQ(doc.vivos()[3].energia, 1000);
}

// Children laid in the phase wait outside vivos: a ready daughter beside a ready
// father does not mate in the same phase.
TEST(Acasalar, RecemNascidosNaoParticipam) {
    bool achou = false;
    for (uint32_t semente = 1; semente <= 20 && !achou; ++semente) {
        CKeldoDoc doc;
        AcessoDocumento::parametrosEditaveis(doc).repro_rr = 50;
        AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 1, 50, 50));
        AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 2, 50, 50));
        doc.semear(semente);
        EXPECT_EQ(AcessoDocumento::acasalar(doc), 1);
        const SpecX& filha = doc.vivos().back();
        if (filha.sexo() == 1 || filha.detectaCuida() == 1)
            continue;
        achou = true;
        EXPECT_EQ(filha.energia, 100);
        EXPECT_GE(filha.energia, filha.limiarReproducao);
        EXPECT_EQ(doc.vivos().size(), 3u);
        EXPECT_EQ(AcessoDocumento::acasalar(doc), 2); // the next phase counts her
    }
    EXPECT_TRUE(achou);
}

// Discrete generations: three eggs from five ready pairs, in the mothers' order.
TEST(Acasalar, GeracoesDiscretasParamEmNumIndDiscretas) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).tipoGeracoes = 1;
    AcessoDocumento::parametrosEditaveis(doc).numIndDiscretas = 3;
    for (int k = 0; k < 5; ++k) {
        AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 10 + k, 10.0f + 15 * k, 50));
        AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 20 + k, 10.0f + 15 * k, 51));
    }
    EXPECT_EQ(AcessoDocumento::acasalar(doc), 3);
    EXPECT_EQ(doc.ovos(), 3);
    ASSERT_EQ(doc.vivos().size(), 13u);
    for (int k = 0; k < 3; ++k) {
        const SpecX& ovo = doc.vivos()[10 + k];
        EXPECT_EQ(ovo.idMae, 10 + k);
        EXPECT_EQ(ovo.idPai, 20 + k);
        EXPECT_EQ(ovo.adulto(), 0);
        EXPECT_EQ(ovo.dirX, 0.0f);
        EXPECT_EQ(ovo.savedDirY, 0.0f);
    }
    EXPECT_EQ(doc.vivos()[6].energia, 1000);
    EXPECT_EQ(doc.vivos()[8].energia, 1000);

    // Already complete: the phase stops before the first female.
    const uint32_t antes = doc.gerador().estadoAtual();
    EXPECT_EQ(AcessoDocumento::acasalar(doc), 0);
    EXPECT_EQ(doc.gerador().estadoAtual(), antes);
    EXPECT_EQ(doc.vivos().size(), 13u);

    // Eggs take part in nothing and spend nothing.
    AcessoDocumento::moverIndividuos(doc);
    EXPECT_EQ(doc.vivos()[10].energia, 100);
    EXPECT_EQ(doc.vivos()[10].x, 10.0f);
}

TEST(Acasalar, GeracaoSoCresce) {
    CKeldoDoc doc;
    AcessoDocumento::definirGeracao(doc, 10);
    AcessoDocumento::vivosEditaveis(doc).push_back(femea(doc, 1, 50, 50));
    AcessoDocumento::vivosEditaveis(doc).push_back(macho(doc, 2, 50, 50));
    AcessoDocumento::vivosEditaveis(doc)[1].geracao = 4;
    EXPECT_EQ(AcessoDocumento::acasalar(doc), 1);
    EXPECT_EQ(doc.vivos().back().geracao, 5u);
    EXPECT_EQ(doc.geracao(), 10);
}
