// World creation: population, food, counters and the draws they take.
#include "AcessoDocumento.h"
#include "IndividuoTeste.h"
#include "model/Random.h"
#include "sim/CKeldoDoc.h"
#include <cmath>
#include <ctime>
#include <gtest/gtest.h>

using namespace keldo::sim;
using namespace keldo::model;

namespace {
constexpr uint32_t semente = 1234;

void mundoPequeno(CKeldoDoc& doc, int individuos, int alimentos, const std::string& nivel) {
    doc.definirSementeFixa(semente);
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = individuos;
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = alimentos;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = nivel;
}

// A template of the defined population.
SpecX modelo(int32_t id, uint8_t estado, uint16_t gP, uint16_t gM) {
    IndividuoTeste i(id);
    i.pais(id + 100, id + 200).geracao(5).estado(estado).genotipo(gP, gM).energia(321).em(98, 97);
    i->dirX = 0.5f;
    i->dirY = -0.25f;
    i->savedDirX = 0.75f;
    i->savedDirY = -0.125f;
    i->loopNasc = 55;
    return i.pronto();
}

void mesmosCampos(const SpecX& a, const SpecX& b) {
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.id, b.id);
    EXPECT_EQ(a.idPai, b.idPai);
    EXPECT_EQ(a.idMae, b.idMae);
    EXPECT_EQ(a.geracao, b.geracao);
    EXPECT_EQ(a.dirX, b.dirX);
    EXPECT_EQ(a.dirY, b.dirY);
    EXPECT_EQ(a.savedDirX, b.savedDirX);
    EXPECT_EQ(a.savedDirY, b.savedDirY);
    EXPECT_EQ(a.energia, b.energia);
    EXPECT_EQ(a.genotipoP, b.genotipoP);
    EXPECT_EQ(a.genotipoM, b.genotipoM);
    EXPECT_EQ(a.estado, b.estado);
    EXPECT_EQ(a.visao, b.visao);
    EXPECT_EQ(a.inteligencia, b.inteligencia);
    EXPECT_EQ(a.loopNasc, b.loopNasc);
}
} // namespace

TEST(Mundo, DocumentoNovoSemJanela) {
    CKeldoDoc doc;
    EXPECT_EQ(doc.proximoId(), 1);
    EXPECT_EQ(doc.arena(), (Rect{0, 0, 640, 480}));
    EXPECT_TRUE(doc.vivos().empty());
}

// An individual without a world (a template, a form's sample) reads the
// defaults of model/Ambiente.h: they must be a new project's.
TEST(Mundo, ParametrosDoModeloSemMundoSaoOsDeUmProjetoNovo) {
    const CKeldoDoc doc;
    EXPECT_EQ(AcessoDocumento::parametrosModelo(doc), Ambiente::Parametros{});
}

// Each founder: x, y, heading, 18 genotype bits, 3 status bits; then each food item:
// energy, x, y.
TEST(Mundo, PopulacaoAleatoriaOrdemDosSorteios) {
    CKeldoDoc doc;
    mundoPequeno(doc, 3, 2, "0");
    AcessoDocumento::parametrosEditaveis(doc).energiaMin = 100;
    AcessoDocumento::parametrosEditaveis(doc).energiaMax = 300;
    AcessoDocumento::definirProximoId(doc, 50);
    AcessoDocumento::definirTempo(doc, 9);
    AcessoDocumento::definirGeracao(doc, 4);
    AcessoDocumento::definirOvos(doc, 2);
    AcessoDocumento::definirNumSnapshot(doc, 6);
    AcessoDocumento::definirEstadoExecucao(doc, EstadoExecucao::parado);
    ASSERT_TRUE(doc.criarMundo());

    Random r(semente);
    ASSERT_EQ(doc.vivos().size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const SpecX& s = doc.vivos()[k];
        EXPECT_EQ(s.id, k + 1);
        EXPECT_EQ(s.x, static_cast<float>(r.randomInt(100)));
        EXPECT_EQ(s.y, static_cast<float>(r.randomInt(100)));
        const double a = r.randomInt(360) * 3.1415926535 / 180;
        EXPECT_EQ(s.dirX, static_cast<float>(std::cos(a)));
        EXPECT_EQ(s.dirY, static_cast<float>(std::sin(a)));
        uint16_t gP = 0, gM = 0;
        for (int i = 0; i < 9; ++i) {
            gP |= static_cast<uint16_t>(r.randomInt(2) << i);
            gM |= static_cast<uint16_t>(r.randomInt(2) << i);
        }
        EXPECT_EQ(s.genotipoP, gP);
        EXPECT_EQ(s.genotipoM, gM);
        const int b0 = r.randomInt(2), b1 = r.randomInt(2), b2 = r.randomInt(2);
        EXPECT_EQ(s.estado, b0 | b1 << 1 | b2 << 2 | 0x18);
        EXPECT_EQ(s.loopNasc, 0);
        EXPECT_EQ(s.doc, &doc);
    }
    ASSERT_EQ(doc.alimentos().size(), 2u);
    for (const FoodX& f : doc.alimentos()) {
        EXPECT_EQ(f.valorEnergetico, 100 + r.randomInt(201));
        EXPECT_EQ(f.x, static_cast<float>(r.randomInt(100)));
        EXPECT_EQ(f.y, static_cast<float>(r.randomInt(100)));
        EXPECT_EQ(f.regiao, 0);
    }
    EXPECT_EQ(doc.gerador().estadoAtual(), r.estadoAtual());
    EXPECT_EQ(doc.proximoId(), 4);
    EXPECT_EQ(doc.tempo(), 0);
    EXPECT_EQ(doc.geracao(), 0);
    EXPECT_EQ(doc.ovos(), 0);
    EXPECT_EQ(doc.numSnapshot(), 0);
    EXPECT_EQ(AcessoDocumento::estadoExecucao(doc), EstadoExecucao::naoIniciado);
    EXPECT_EQ(doc.codigoNivel(), 'r');
    EXPECT_EQ(doc.bitmapFundo(), 145);
}

TEST(Mundo, ObstaculosDoNivelValemParaPopulacaoEAlimento) {
    CKeldoDoc doc;
    mundoPequeno(doc, 300, 300, "30");
    ASSERT_TRUE(doc.criarMundo());
    EXPECT_EQ(doc.codigoNivel(), 'd');
    for (const SpecX& s : doc.vivos())
        ASSERT_EQ(
            AcessoDocumento::pontoEmObstaculo(doc, static_cast<int>(s.x), static_cast<int>(s.y)),
            nullptr);
    for (const FoodX& f : doc.alimentos())
        ASSERT_EQ(
            AcessoDocumento::pontoEmObstaculo(doc, static_cast<int>(f.x), static_cast<int>(f.y)),
            nullptr);
    EXPECT_EQ(doc.vivos().back().id, 300);
    EXPECT_EQ(doc.proximoId(), 301);
}

// Each template: the empty individual's four draws, then x and y (redrawn on obstacles).
TEST(Mundo, PopulacaoDefinidaCopiaOsModelos) {
    CKeldoDoc doc;
    mundoPequeno(doc, 10, 0, "30");
    AcessoDocumento::parametrosEditaveis(doc).tipoPopulacao = 1;
    AcessoDocumento::parametrosEditaveis(doc).repro_Rr = 333;
    auto& lista = AcessoDocumento::parametrosEditaveis(doc).listaDefinida;
    lista.push_back(modelo(10, 0x18 | 0x01, 0x040, 0x000)); // adult male, Rr
    lista.push_back(modelo(4, 0x10 | 0x02, 0x1FF, 0x000));  // an egg
    lista.push_back(modelo(7, 0x18 | 0x04, 0x000, 0x000));
    ASSERT_TRUE(doc.criarMundo());

    ASSERT_EQ(doc.vivos().size(), 3u);
    Random r(semente);
    for (size_t k = 0; k < 3; ++k) {
        const SpecX& c = doc.vivos()[k];
        SCOPED_TRACE(k);
        for (int d = 0; d < 4; ++d)
            r.proximo(); // the empty individual's heading and status bits
        int x, y;
        do {
            x = r.randomInt(100);
            y = r.randomInt(100);
        } while (AcessoDocumento::pontoEmObstaculo(doc, x, y));
        SpecX esperado = lista[k];
        esperado.x = static_cast<float>(x);
        esperado.y = static_cast<float>(y);
        esperado.loopNasc = 0;
        esperado.doc = &doc;
        esperado.calcularFenotipo();
        mesmosCampos(c, esperado);
        EXPECT_EQ(c.doc, &doc);
        EXPECT_EQ(c.targetX, -1);
    }
    EXPECT_EQ(doc.gerador().estadoAtual(), r.estadoAtual());
    EXPECT_EQ(doc.vivos()[0].limiarReproducao, 333);
    EXPECT_EQ(doc.vivos()[0].savedDirX, 0.75f); // the saved heading is copied too
    EXPECT_EQ(doc.vivos()[1].geracao, 5u);
    EXPECT_EQ(doc.proximoId(), 8); // after the last template, whatever the other ids
    EXPECT_EQ(doc.ovos(), 1);
    EXPECT_EQ(doc.geracao(), 0);
    // The templates stay with the parameters, untouched.
    EXPECT_EQ(lista.size(), 3u);
    EXPECT_EQ(lista[0].x, 98.0f);
    EXPECT_EQ(lista[0].doc, nullptr);
}

TEST(Mundo, AleatoriaComDefinidaComecaDepoisDoUltimoModelo) {
    CKeldoDoc doc;
    mundoPequeno(doc, 3, 0, "12");
    AcessoDocumento::parametrosEditaveis(doc).comDefinida = 1;
    AcessoDocumento::parametrosEditaveis(doc).listaDefinida.push_back(modelo(10, 0x18, 0, 0));
    AcessoDocumento::parametrosEditaveis(doc).listaDefinida.push_back(modelo(4, 0x10, 0, 0));
    ASSERT_TRUE(doc.criarMundo());
    ASSERT_EQ(doc.vivos().size(), 5u);
    const int32_t ids[] = {10, 4, 5, 6, 7};
    for (size_t k = 0; k < 5; ++k)
        EXPECT_EQ(doc.vivos()[k].id, ids[k]);
    EXPECT_EQ(doc.vivos()[2].idPai, 0);
    EXPECT_EQ(doc.vivos()[2].energia, 100);
    EXPECT_EQ(doc.vivos()[0].energia, 321);
    EXPECT_EQ(doc.proximoId(), 8);
    EXPECT_EQ(doc.ovos(), 1);
}

TEST(Mundo, DefinidaSemModelosMantemProximoId) {
    CKeldoDoc doc;
    mundoPequeno(doc, 5, 1, "12");
    ASSERT_TRUE(doc.criarMundo());
    EXPECT_EQ(doc.proximoId(), 6);
    AcessoDocumento::parametrosEditaveis(doc).tipoPopulacao = 1;
    ASSERT_TRUE(doc.criarMundo());
    EXPECT_TRUE(doc.vivos().empty());
    EXPECT_EQ(doc.proximoId(), 6);
    EXPECT_EQ(doc.alimentos().size(), 1u);

    // "Definida" together with "com Definida": only the defined individuals.
    AcessoDocumento::parametrosEditaveis(doc).comDefinida = 1;
    AcessoDocumento::parametrosEditaveis(doc).listaDefinida.push_back(modelo(3, 0x18, 0, 0));
    ASSERT_TRUE(doc.criarMundo());
    ASSERT_EQ(doc.vivos().size(), 1u);
    EXPECT_EQ(doc.proximoId(), 4);

    // Back to a random population without the defined list: ids restart at 1.
    AcessoDocumento::parametrosEditaveis(doc).tipoPopulacao = 0;
    AcessoDocumento::parametrosEditaveis(doc).comDefinida = 0;
    ASSERT_TRUE(doc.criarMundo());
    EXPECT_EQ(doc.vivos().front().id, 1);
    EXPECT_EQ(doc.proximoId(), 6);
}

TEST(Mundo, NovoMundoApagaOAnteriorEZeraOsContadores) {
    CKeldoDoc doc;
    mundoPequeno(doc, 4, 3, "15");
    ASSERT_TRUE(doc.criarMundo());
    AcessoDocumento::mortosEditaveis(doc).push_back(doc.vivos().back());
    AcessoDocumento::definirTempo(doc, 40);
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 0;
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 2;
    ASSERT_TRUE(doc.criarMundo());
    EXPECT_EQ(doc.vivos().size(), 2u);
    EXPECT_TRUE(doc.mortos().empty());
    EXPECT_TRUE(doc.alimentos().empty());
    EXPECT_EQ(doc.tempo(), 0);
    EXPECT_EQ(doc.codigoNivel(), 'm');

    AcessoDocumento::limparMundo(doc);
    EXPECT_TRUE(doc.vivos().empty());
    EXPECT_EQ(doc.proximoId(), 3);                // counters are left alone
    EXPECT_EQ(doc.parametros().numIndividuos, 2); // and so are the parameters
}

TEST(Mundo, MesmaSementeMesmoMundo) {
    CKeldoDoc a, b;
    for (CKeldoDoc* d : {&a, &b}) {
        mundoPequeno(*d, 60, 40, "30");
        AcessoDocumento::parametrosEditaveis(*d).energiaMin = 1;
        AcessoDocumento::parametrosEditaveis(*d).energiaMax = 500;
        ASSERT_TRUE(d->criarMundo());
    }
    ASSERT_EQ(a.vivos().size(), b.vivos().size());
    for (size_t k = 0; k < a.vivos().size(); ++k)
        mesmosCampos(a.vivos()[k], b.vivos()[k]);
    ASSERT_EQ(a.alimentos().size(), b.alimentos().size());
    for (size_t k = 0; k < a.alimentos().size(); ++k) {
        EXPECT_EQ(a.alimentos()[k].x, b.alimentos()[k].x);
        EXPECT_EQ(a.alimentos()[k].y, b.alimentos()[k].y);
        EXPECT_EQ(a.alimentos()[k].valorEnergetico, b.alimentos()[k].valorEnergetico);
    }
    EXPECT_EQ(a.gerador().estadoAtual(), b.gerador().estadoAtual());

    // The same document made again from the same seed gives the same world.
    const SpecX primeiro = a.vivos().front();
    AcessoDocumento::vivosEditaveis(a).front().energia = 1;
    ASSERT_TRUE(a.criarMundo());
    mesmosCampos(a.vivos().front(), primeiro);

    // Another seed gives another world.
    b.definirSementeFixa(semente + 1);
    ASSERT_TRUE(b.criarMundo());
    EXPECT_FALSE(a.vivos().front().x == b.vivos().front().x &&
                 a.vivos().front().y == b.vivos().front().y &&
                 a.vivos().front().genotipoP == b.vivos().front().genotipoP);
}

// Without a fixed seed the calendar time seeds the generator.
TEST(Mundo, SementeDoRelogio) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 1;
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 0;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos.assign(1, '0');
    const auto antes = static_cast<uint32_t>(std::time(nullptr));
    ASSERT_TRUE(doc.criarMundo());
    const auto depois = static_cast<uint32_t>(std::time(nullptr));
    bool achou = false;
    for (uint32_t s = antes; s <= depois; ++s) {
        Random r(s);
        for (int k = 0; k < 24; ++k)
            r.proximo();
        achou |= r.estadoAtual() == doc.gerador().estadoAtual();
    }
    EXPECT_TRUE(achou);
}
