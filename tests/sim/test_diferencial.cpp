// The indexed phases (grids, obstacle masks, food lookup) against the plain
// scans over whole lists: same draws, same bytes, for many seeds and worlds.
#include "AcessoDocumento.h"
#include "sim/CKeldoDoc.h"
#include "sim/indices/BuscaIndexada.h"
#include "sim/indices/BuscaPorVarredura.h"
#include "sim/indices/ContatosPorAlvo.h"
#include "sim/indices/ObstaculosNivel.h"
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>

// GCC 12 reports a false overlap when a short literal is assigned to a string inside a lambda.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wrestrict"
#endif

using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::indices;

namespace {
struct Mundo {
    const char* nome;
    std::function<void(SimulationParameters&)> ajustar;
    int ciclos;
};

void rodar(CKeldoDoc& doc, uint32_t semente, const Mundo& mundo, bool referencia,
           std::vector<std::vector<uint8_t>>& marcos) {
    doc.definirUsarReferencia(referencia);
    doc.definirSementeFixa(semente);
    mundo.ajustar(AcessoDocumento::parametrosEditaveis(doc));
    doc.criarMundo();
    for (int c = 1; c <= mundo.ciclos; ++c) {
        doc.executarCiclo();
        if (c % 25 == 0 || c == mundo.ciclos) {
            marcos.push_back(doc.serializar());
            const uint32_t estado = doc.gerador().estadoAtual();
            marcos.back().insert(marcos.back().end(), reinterpret_cast<const uint8_t*>(&estado),
                                 reinterpret_cast<const uint8_t*>(&estado) + 4);
        }
    }
}

const std::vector<Mundo>& mundos() {
    static const std::vector<Mundo> lista = {
        {"padrao", [](SimulationParameters&) {}, 150},
        {"grande30",
         [](SimulationParameters& p) {
             p.numIndividuos = 300;
             p.qtdAlimento = 400;
             p.nivelObstaculos.assign("30");
         },
         60},
        {"crescimento15",
         [](SimulationParameters& p) {
             p.numIndividuos = 200;
             p.qtdAlimento = 300;
             p.nivelObstaculos.assign("15");
             p.repro_rr = p.repro_Rr = p.repro_RR = 150;
         },
         40},
        {"lutaPartilhaSemObstaculos",
         [](SimulationParameters& p) {
             p.numIndividuos = 250;
             p.qtdAlimento = 200;
             p.nivelObstaculos.assign("0");
             p.partilha = 30;
             p.luta = 120;
             p.mutacaoAtiva = 1;
             p.taxaMutacao = 50;
         },
         80},
        {"discretas12",
         [](SimulationParameters& p) {
             p.numIndividuos = 200;
             p.qtdAlimento = 250;
             p.tipoGeracoes = 1;
             p.numIndDiscretas = 60;
         },
         120},
        {"extincao",
         [](SimulationParameters& p) {
             p.numIndividuos = 120;
             p.qtdAlimento = 60;
             p.taxaReposicao = 0;
             p.morte_mm = p.morte_Mm = p.morte_MM = 90;
         },
         80},
        // Contact grids over few holders and scans of short lists: many eaters
        // around a little food, and a few individuals among much food.
        {"poucoAlimentoMuitosComensais",
         [](SimulationParameters& p) {
             p.numIndividuos = 700;
             p.qtdAlimento = 12;
             p.nivelObstaculos.assign("30");
             p.partilha = 20;
             p.luta = 40;
         },
         60},
        {"muitoAlimentoPoucosIndividuos",
         [](SimulationParameters& p) {
             p.numIndividuos = 24;
             p.qtdAlimento = 600;
             p.nivelObstaculos.assign("15");
             p.repro_rr = p.repro_Rr = p.repro_RR = 150;
         },
         120},
    };
    return lista;
}
// Runs `mundo` from `semente` on the reference path and on the indexed one:
// the same snapshot at every mark and the same status line.
void conferirCaminhos(const Mundo& mundo, uint32_t semente) {
    CKeldoDoc referencia, indexado;
    std::vector<std::vector<uint8_t>> a, b;
    rodar(referencia, semente, mundo, true, a);
    rodar(indexado, semente, mundo, false, b);
    ASSERT_EQ(a.size(), b.size());
    for (size_t k = 0; k < a.size(); ++k)
        ASSERT_TRUE(a[k] == b[k]) << mundo.nome << " semente " << semente << " marco " << k;
    EXPECT_EQ(referencia.textoStatus(), indexado.textoStatus());
}
} // namespace

// Also with the short lists' pass four points at a time, as on machines
// without the eight-wide instructions (a few seeds: it is the same pass).
TEST(Diferencial, CaminhoIndexadoIgualAoDeReferenciaEmMuitosMundos) {
    struct Restaurar {
        ~Restaurar() { VarreduraCurta::permitirOito(true); }
    } restaurar;
    for (bool oito : {true, false})
        for (const Mundo& mundo : mundos())
            for (uint32_t semente : {1u, 2u, 3u, 17u, 4242u}) {
                if (!oito && semente != 1u && semente != 17u)
                    continue;
                VarreduraCurta::permitirOito(oito);
                ASSERT_NO_FATAL_FAILURE(conferirCaminhos(mundo, semente));
            }
}

// Positions just outside the arena (a step back from an obstacle at a wall)
// still meet the same obstacle answers on both paths.
TEST(Diferencial, ConsultasDeObstaculoIguaisEmTodasAsCoordenadas) {
    for (const char* nivel : {"0", "12", "15", "30", "633x461"}) {
        CKeldoDoc doc;
        if (nivel[1] == '3')
            doc.definirArena(Rect{0, 0, 633, 461}); // a client area other than the picture's
        AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = nivel;
        AcessoDocumento::escolherNivel(doc);
        AcessoDocumento::construirObstaculos(doc);
        for (int x = -6; x <= 110; x += 1)
            for (int y = -6; y <= 110; y += 1) {
                doc.definirUsarReferencia(true);
                const Rect* r = AcessoDocumento::pontoEmObstaculo(doc, x, y);
                const int bloq = AcessoDocumento::caminhoBloqueado(doc, x, y, 50, 50) +
                                 2 * AcessoDocumento::caminhoBloqueado(doc, 7, 93, x, y);
                doc.definirUsarReferencia(false);
                ASSERT_EQ(r, AcessoDocumento::pontoEmObstaculo(doc, x, y))
                    << nivel << " " << x << "," << y;
                ASSERT_EQ(bloq, AcessoDocumento::caminhoBloqueado(doc, x, y, 50, 50) +
                                    2 * AcessoDocumento::caminhoBloqueado(doc, 7, 93, x, y));
            }
    }
}

// A crowded arena: the females' index switches to one cell per whole
// coordinate, taking cells wholly within sight at once.
TEST(Diferencial, ArenaLotadaIgualAoDeReferencia) {
    const Mundo lotado{"lotado",
                       [](SimulationParameters& p) {
                           p.numIndividuos = 24000;
                           p.qtdAlimento = 1500;
                           p.nivelObstaculos.assign("30");
                           p.repro_rr = p.repro_Rr = p.repro_RR = 150;
                       },
                       3};
    for (uint32_t semente : {5u, 6u})
        ASSERT_NO_FATAL_FAILURE(conferirCaminhos(lotado, semente));
}

// The two neighbour searches asked the same questions one by one, on a long
// world and on short lists (which the indexed search scans): the same
// answers, the same order and the same draws.
TEST(Diferencial, BuscasDeVizinhosRespondemIgualConsultaAConsulta) {
    CKeldoDoc doc;
    doc.definirSementeFixa(31);
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 400;
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 300;
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos.assign("30");
    doc.criarMundo();
    for (int c = 0; c < 4; ++c)
        doc.executarCiclo();
    const Rect arena = doc.arena();
    ObstaculosNivel porVarredura, comMapa;
    for (ObstaculosNivel* o : {&porVarredura, &comMapa}) {
        o->escolher("30");
        o->construir();
    }
    porVarredura.definirPorVarredura(true);
    for (size_t tamanho : {size_t{30}, doc.vivos().size()}) {
        const std::vector<SpecX> vivos(doc.vivos().begin(),
                                       doc.vivos().begin() + static_cast<long>(tamanho));
        const std::vector<FoodX> alimentos(
            doc.alimentos().begin(),
            doc.alimentos().begin() + static_cast<long>(std::min(tamanho, doc.alimentos().size())));
        BuscaPorVarredura varredura(porVarredura, arena);
        BuscaIndexada indexada;
        varredura.prepararParceiras(vivos, nullptr);
        indexada.prepararParceiras(vivos, comMapa.mapaDaFase(arena));
        varredura.prepararMachos(vivos);
        indexada.prepararMachos(vivos);
        varredura.prepararAlimentos(alimentos, nullptr);
        indexada.prepararAlimentos(alimentos, comMapa.mapaDaFase(arena));
        Random a(7), b(7);
        int achados = 0;
        for (size_t k = 0; k < vivos.size(); ++k) {
            const SpecX& i = vivos[k];
            const int64_t parceira = varredura.parceira(vivos, i, a);
            ASSERT_EQ(parceira, indexada.parceira(vivos, i, b)) << tamanho << " " << i.id;
            const int64_t alimento = varredura.alimento(alimentos, i, a);
            ASSERT_EQ(alimento, indexada.alimento(alimentos, i, b)) << tamanho << " " << i.id;
            ASSERT_EQ(a.estadoAtual(), b.estadoAtual()) << tamanho << " " << i.id;
            achados += (parceira >= 0) + (alimento >= 0);
            ASSERT_EQ(varredura.machosPerto(vivos, k), indexada.machosPerto(vivos, k));
            ASSERT_EQ(varredura.alimentoEm(alimentos, static_cast<int16_t>(i.x),
                                           static_cast<int16_t>(i.y)),
                      indexada.alimentoEm(alimentos, static_cast<int16_t>(i.x),
                                          static_cast<int16_t>(i.y)));
        }
        EXPECT_GT(achados, 0) << tamanho;
        varredura.prepararComensais(vivos, alimentos);
        indexada.prepararComensais(vivos, alimentos);
        for (size_t k = 0; k < alimentos.size(); ++k)
            ASSERT_EQ(varredura.comensaisPerto(vivos, alimentos, k),
                      indexada.comensaisPerto(vivos, alimentos, k));
    }
}

// The benchmark worlds (bench/mundos.sh), shortened: partner lists of a few
// hundred to a few thousand females (scanned, and counted by cells past the
// crossover) and the crowded world's long lists, on the bench's seeds.
TEST(Diferencial, MundosDaBancadaReduzidosIgualAoDeReferencia) {
    auto comObstaculos = [](int individuos, int alimento) {
        return [=](SimulationParameters& p) {
            p.numIndividuos = individuos;
            p.qtdAlimento = alimento;
            p.nivelObstaculos.assign("30");
        };
    };
    const Mundo bancada[] = {{"K1000", comObstaculos(1000, 40), 100},
                             {"K5000", comObstaculos(1000, 60), 100},
                             {"D", [](SimulationParameters&) {}, 600},
                             {"C", comObstaculos(1000, 2000), 25}};
    for (const Mundo& mundo : bancada)
        for (uint32_t semente : {1001u, 1002u})
            ASSERT_NO_FATAL_FAILURE(conferirCaminhos(mundo, semente));
}

// Contact reach is inclusive: an individual exactly 1.5 from a female or a
// food item along an axis (its square is the threshold itself) is within it
// for both searches, one a hair farther is not.
TEST(Diferencial, ContatoExatamenteNoAlcanceEntraNasDuasBuscas) {
    auto individuo = [](float x, float y, bool macho) {
        SpecX i;
        i.x = x;
        i.y = y;
        i.estado = static_cast<uint8_t>(EstadoBit::vivo | EstadoBit::adulto |
                                        (macho ? EstadoBit::sexo : 0));
        i.energia = 100;
        i.limiarReproducao = 50;
        i.visao = 5;
        return i;
    };
    const std::vector<SpecX> vivos = {
        individuo(10.0f, 10.0f, false), individuo(11.5f, 10.0f, true),
        individuo(10.0f, 8.5f, true),   individuo(21.5f, 20.0f, false),
        individuo(20.0f, 21.5f, false), individuo(11.6f, 10.0f, true),
        individuo(20.0f, 21.6f, false)};
    FoodX comida;
    comida.x = comida.y = 20.0f;
    const std::vector<FoodX> alimentos = {comida};
    ObstaculosNivel obstaculos;
    const Rect arena{0, 0, 640, 480};
    BuscaPorVarredura varredura(obstaculos, arena);
    BuscaIndexada indexada;
    for (BuscaVizinhos* busca :
         {static_cast<BuscaVizinhos*>(&varredura), static_cast<BuscaVizinhos*>(&indexada)}) {
        busca->prepararMachos(vivos);
        EXPECT_EQ(busca->machosPerto(vivos, 0), (std::vector<uint32_t>{1, 2}));
        busca->prepararComensais(vivos, alimentos);
        EXPECT_EQ(busca->comensaisPerto(vivos, alimentos, 0), (std::vector<uint32_t>{3, 4}));
    }
}

// The males' grid against the whole-list scan: females and males on cell
// borders of every grid size, exactly at the contact reach and a hair beyond,
// off the arena, many males on one spot, and males that stop being ready
// during the phase (a father spends energy) after the grid was built.
TEST(Diferencial, MachosPertoIgualAVarreduraNasBordasDasCelulas) {
    const float lugares[] = {-2.0f, -0.0f, 0.0f,  1.5f,      1.5000001f, 24.999998f, 25.0f,
                             26.5f, 50.0f, 98.5f, 99.99999f, 100.0f,     101.5f,     150.0f};
    constexpr size_t nLugares = std::size(lugares);
    ObstaculosNivel obstaculos;
    const Rect arena{0, 0, 640, 480};
    for (size_t machos : {size_t{3}, size_t{40}, size_t{700}, size_t{6000}}) {
        std::vector<SpecX> vivos;
        for (size_t k = 0; k < machos + nLugares * nLugares; ++k) {
            SpecX i;
            const bool macho = k % 3 != 0 || k >= machos;
            // Females on every spot; males on the spots too, many on each.
            const size_t lugar = (k * 7) % (nLugares * nLugares);
            i.x = lugares[lugar % nLugares];
            i.y = lugares[lugar / nLugares];
            i.estado = static_cast<uint8_t>(EstadoBit::vivo | EstadoBit::adulto |
                                            (macho && k < machos ? EstadoBit::sexo : 0));
            i.energia = k % 11 == 5 ? 10 : 100; // some not ready
            i.limiarReproducao = 50;
            i.visao = k % 13 == 4 ? 0 : 5; // some blind
            vivos.push_back(i);
        }
        BuscaPorVarredura varredura(obstaculos, arena);
        BuscaIndexada indexada;
        varredura.prepararMachos(vivos);
        indexada.prepararMachos(vivos);
        size_t achados = 0;
        for (size_t k = 0; k < vivos.size(); ++k) {
            if (vivos[k].sexo())
                continue;
            const std::vector<uint32_t> esperado = varredura.machosPerto(vivos, k);
            ASSERT_EQ(esperado, indexada.machosPerto(vivos, k)) << machos << " femea " << k;
            achados += esperado.size();
            // The first father of each answer has spent its energy.
            if (!esperado.empty())
                vivos[esperado.front()].energia = 20;
        }
        EXPECT_GT(achados, machos / 4) << machos;
    }
}

// The eaters of each food item on a world of sparse food (the contact table)
// and of crowded food (the grid over the eaters), also packed so that items
// have a hundred eaters or more (the grid orders such answers by their bits):
// the scan's, in its order, also once eaters of earlier items have died
// during the phase.
TEST(Diferencial, ComensaisIguaisComAlimentoEsparsoEDenso) {
    struct Caso {
        size_t individuos, alimentos;
        float lado; // of the square, from -1, they lie on
    };
    std::mt19937 gerador(5);
    ObstaculosNivel obstaculos;
    const Rect arena{0, 0, 640, 480};
    // 512 eaters fill the contact table's blocks of items exactly; 3,000 leave a part.
    for (const Caso caso :
         {Caso{3000, 20, 102}, Caso{512, 20, 40}, Caso{3000, 3000, 102}, Caso{20000, 3000, 32}}) {
        std::uniform_real_distribution<float> posicao(-1.0f, caso.lado - 1.0f);
        std::vector<SpecX> mundo(caso.individuos);
        for (size_t k = 0; k < mundo.size(); ++k) {
            SpecX& i = mundo[k];
            i.x = posicao(gerador);
            i.y = posicao(gerador);
            i.estado = static_cast<uint8_t>(EstadoBit::vivo | (k % 9 ? EstadoBit::adulto : 0));
            i.definirBit(1 << EstadoBit::deslocamentoLivre, k % 11 == 0);
            i.visao = static_cast<int16_t>(k % 7 ? 5 : 0);
        }
        ASSERT_EQ(ContatosPorAlvo().compensa(caso.alimentos, mundo.size(), 1.5f),
                  caso.alimentos == 20);
        std::vector<FoodX> alimentos(caso.alimentos);
        for (size_t k = 0; k < alimentos.size(); ++k) {
            // Every other item beside the one before, so that they share eaters.
            alimentos[k].x = k % 2 ? alimentos[k - 1].x + 0.7f : posicao(gerador);
            alimentos[k].y = k % 2 ? alimentos[k - 1].y : posicao(gerador);
            alimentos[k].regiao = static_cast<uint8_t>(k % 13 == 0);
        }
        BuscaPorVarredura varredura(obstaculos, arena);
        BuscaIndexada indexada;
        varredura.prepararComensais(mundo, alimentos);
        indexada.prepararComensais(mundo, alimentos);
        size_t mortos = 0, maior = 0;
        for (size_t k = 0; k < alimentos.size(); ++k) {
            const std::vector<uint32_t> esperados = varredura.comensaisPerto(mundo, alimentos, k);
            ASSERT_EQ(esperados, indexada.comensaisPerto(mundo, alimentos, k)) << caso.individuos;
            // The first eater of every other item dies; the next item shares eaters with it.
            if (!esperados.empty() && k % 2 == 0) {
                mundo[esperados.front()].definirBit(EstadoBit::vivo, false);
                ++mortos;
            }
            maior = std::max(maior, esperados.size());
        }
        EXPECT_GE(mortos, 5u) << caso.individuos;
        EXPECT_GE(maior, caso.individuos == 20000 ? 100u : 1u);
    }
}

namespace {
// A flock: `noPonto` adults ready to mate on one spot, a few dozen on a second
// spot within contact reach of the first and the food on the first spot
// (values apart, so the best item is not the first one).
void criarBando(CKeldoDoc& doc, uint32_t semente, bool referencia, int noPonto, int alimentos) {
    doc.definirUsarReferencia(referencia);
    doc.definirSementeFixa(semente);
    SimulationParameters& p = AcessoDocumento::parametrosEditaveis(doc);
    p.numIndividuos = noPonto + 40;
    p.qtdAlimento = alimentos;
    p.nivelObstaculos.assign("30");
    p.energiaMin = 50;
    p.energiaMax = 400;
    doc.criarMundo();
    const float x = doc.vivos().front().x, y = doc.vivos().front().y;
    for (size_t k = 0; k < doc.vivos().size(); ++k) {
        SpecX& i = AcessoDocumento::vivosEditaveis(doc)[k];
        i.definirBit(EstadoBit::adulto, true);
        i.energia = 400;
        const bool segundo = k % 97 == 5 && k < 97 * 40;
        i.x = segundo ? x + 1.0f : x;
        i.y = segundo ? y + 0.5f : y;
    }
    AcessoDocumento::definirOvos(doc, 0);
    for (size_t k = 0; k < doc.alimentos().size(); ++k) {
        FoodX& f = AcessoDocumento::alimentosEditaveis(doc)[k];
        if (k % 50 != 7) { // a few stay where they were
            f.x = x;
            f.y = y;
        }
    }
}

void conferirBando(uint32_t semente, int noPonto, int alimentos, int ciclos) {
    CKeldoDoc referencia, indexado;
    criarBando(referencia, semente, true, noPonto, alimentos);
    criarBando(indexado, semente, false, noPonto, alimentos);
    for (int c = 1; c <= ciclos; ++c) {
        referencia.executarCiclo();
        indexado.executarCiclo();
        ASSERT_TRUE(referencia.serializar() == indexado.serializar())
            << "semente " << semente << " ciclo " << c;
        ASSERT_EQ(referencia.gerador().estadoAtual(), indexado.gerador().estadoAtual());
    }
    EXPECT_EQ(referencia.textoStatus(), indexado.textoStatus());
}
} // namespace

// Thousands on one spot: the crowded males are counted and picked by place,
// the nearest female and the best food found on one point of a crowded cell,
// crowded rows counted by their full counters. Lists of 4,096 to 10,000
// points get cells over their bounding box (the females of the first world,
// the food of the second), longer ones whole units (the food of the third).
TEST(Diferencial, BandoNumPontoIgualAoDeReferencia) {
    ASSERT_NO_FATAL_FAILURE(conferirBando(41, 8600, 300, 2));
    ASSERT_NO_FATAL_FAILURE(conferirBando(42, 600, 5000, 3));
    ASSERT_NO_FATAL_FAILURE(conferirBando(43, 600, 10500, 3));
}
