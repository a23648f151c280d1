#include "SementesCorpus.h"
#include "sim/CKeldoDoc.h"
#include "tests/apoio/AcessoDocumento.h"
#include <functional>
#include <limits>

using namespace keldo::model;
using namespace keldo::sim;

namespace {
// A world made from the default parameters changed by `ajuste`, run for
// `ciclos` cycles without a trace or a save.
std::vector<uint8_t> mundo(const std::function<void(CKeldoDoc&)>& ajuste, int ciclos) {
    CKeldoDoc doc;
    doc.definirSementeFixa(20240611u);
    doc.definirIgnorarTempoReal(true);
    if (ajuste)
        ajuste(doc);
    doc.criarMundo();
    for (int c = 0; c < ciclos; ++c)
        doc.executarCiclo();
    return doc.serializar();
}

// Templates of a defined population: males and females, adults and eggs.
void populacaoDefinida(CKeldoDoc& doc, int n) {
    for (int k = 0; k < n; ++k) {
        SpecX modelo(k + 1, 0, &doc);
        modelo.definirBit(EstadoBit::sexo, k % 2 == 0);
        modelo.definirBit(EstadoBit::adulto, k % 3 != 0);
        AcessoDocumento::parametrosEditaveis(doc).listaDefinida.push_back(modelo);
    }
}

void pequeno(CKeldoDoc& doc) {
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 24;
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 12;
}

std::vector<Semente> pequenas() {
    std::vector<Semente> s;
    s.push_back({"padrao_novo", mundo({}, 0)});
    s.push_back({"padrao_40_ciclos", mundo({}, 40)});
    for (const char* nivel : {"0", "12", "15", "30", "7"})
        s.push_back({std::string("nivel_") + nivel,
                     mundo(
                         [nivel](CKeldoDoc& d) {
                             pequeno(d);
                             AcessoDocumento::parametrosEditaveis(d).nivelObstaculos = nivel;
                         },
                         15)});
    s.push_back(
        {"definida_com_ovos", mundo(
                                  [](CKeldoDoc& d) {
                                      AcessoDocumento::parametrosEditaveis(d).tipoPopulacao = 1;
                                      populacaoDefinida(d, 9);
                                  },
                                  6)});
    s.push_back(
        {"definida_e_aleatoria", mundo(
                                     [](CKeldoDoc& d) {
                                         pequeno(d);
                                         AcessoDocumento::parametrosEditaveis(d).comDefinida = 1;
                                         populacaoDefinida(d, 5);
                                     },
                                     4)});
    s.push_back({"geracoes_discretas",
                 mundo(
                     [](CKeldoDoc& d) {
                         pequeno(d);
                         AcessoDocumento::parametrosEditaveis(d).tipoGeracoes = 1;
                         AcessoDocumento::parametrosEditaveis(d).numIndDiscretas = 6;
                         AcessoDocumento::parametrosEditaveis(d).criterioParada = "Gera\xE7\xE3o";
                     },
                     120)});
    s.push_back({"mutacao_particao_energia_larga",
                 mundo(
                     [](CKeldoDoc& d) {
                         pequeno(d);
                         AcessoDocumento::parametrosEditaveis(d).mutacaoAtiva = 1;
                         AcessoDocumento::parametrosEditaveis(d).taxaMutacao = 2;
                         AcessoDocumento::parametrosEditaveis(d).particaoAmbiente = 1;
                         AcessoDocumento::parametrosEditaveis(d).energiaMin = 50;
                         AcessoDocumento::parametrosEditaveis(d).energiaMax = 900;
                         AcessoDocumento::parametrosEditaveis(d).taxaPermuta.fill(100);
                     },
                     30)});
    s.push_back({"textos_longos",
                 mundo(
                     [](CKeldoDoc& d) {
                         pequeno(d);
                         AcessoDocumento::parametrosEditaveis(d).criterioParada.assign(255, 'x');
                         AcessoDocumento::parametrosEditaveis(d).nivelObstaculos.assign(254, '3');
                     },
                     1)});
    s.push_back(
        {"listas_vazias", mundo(
                              [](CKeldoDoc& d) {
                                  AcessoDocumento::parametrosEditaveis(d).tipoPopulacao =
                                      1; // nobody defined
                                  AcessoDocumento::parametrosEditaveis(d).qtdAlimento = 0;
                                  AcessoDocumento::parametrosEditaveis(d).nivelObstaculos.clear();
                                  AcessoDocumento::parametrosEditaveis(d).criterioParada.clear();
                              },
                              3)});
    s.push_back({"so_mortos", mundo(
                                  [](CKeldoDoc& d) {
                                      AcessoDocumento::parametrosEditaveis(d).numIndividuos = 6;
                                      AcessoDocumento::parametrosEditaveis(d).qtdAlimento = 0;
                                      AcessoDocumento::parametrosEditaveis(d).energiaMin = 0;
                                      AcessoDocumento::parametrosEditaveis(d).energiaMax = 0;
                                      AcessoDocumento::parametrosEditaveis(d).morte_mm = 500;
                                      AcessoDocumento::parametrosEditaveis(d).morte_Mm = 500;
                                      AcessoDocumento::parametrosEditaveis(d).morte_MM = 500;
                                  },
                                  2)});
    s.push_back({"extremos_aceitos", mundo(
                                         [](CKeldoDoc& d) {
                                             auto& p = AcessoDocumento::parametrosEditaveis(d);
                                             p.numIndividuos = 8;
                                             p.qtdAlimento = 2000;
                                             p.intervaloAnimacao = std::numeric_limits<int>::max();
                                             p.salvarCiclos = std::numeric_limits<int>::max();
                                             p.salvarAtivo = 1;
                                             p.tempoRealCiclo = 0xFFFFFFFFu;
                                             p.energiaMin =
                                                 -5; // a reversed range (min > max) is refused
                                             p.energiaMax = 900;
                                             p.detecta = 0;
                                             p.luta = 0xFFFFFFFFu;
                                             p.repro_rr = 0;
                                             p.repro_Rr = 0;
                                             p.repro_RR = 0;
                                             p.partilha = 100;
                                             p.particaoAmbiente = 2;
                                         },
                                         5)});
    return s;
}

// Bits no world makes: haplotypes and status bytes with every bit set,
// counters near their limits.
Semente bitsAltos() {
    CKeldoDoc doc;
    doc.definirSementeFixa(3u);
    pequeno(doc);
    doc.criarMundo();
    AcessoDocumento::definirTempo(doc, std::numeric_limits<int32_t>::max() - 1);
    AcessoDocumento::definirProximoId(doc, std::numeric_limits<int32_t>::max());
    AcessoDocumento::definirGeracao(doc, -1);
    AcessoDocumento::definirNumSnapshot(doc, 998);
    for (SpecX& s : AcessoDocumento::vivosEditaveis(doc)) {
        s.genotipoP = 0xFFFF;
        s.genotipoM = 0xFE00;
        s.estado = static_cast<uint8_t>(s.estado | 0xE0);
        s.energia = std::numeric_limits<int32_t>::max() - 10;
        s.geracao = 0xFFFFFFFFu;
    }
    return {"bits_altos_e_limites", doc.serializar()};
}

// 0xFFFF food items take the 32-bit count; 0x7FFF templates before them
// push FoodX's class index into the long form; texts at the length limits.
std::vector<Semente> grandes() {
    CKeldoDoc contagem;
    AcessoDocumento::parametrosEditaveis(contagem).qtdAlimento = 0;
    AcessoDocumento::alimentosEditaveis(contagem).resize(0xFFFF);
    for (size_t k = 0; k < contagem.alimentos().size(); ++k)
        AcessoDocumento::alimentosEditaveis(contagem)[k].x = static_cast<float>(k % 100);

    CKeldoDoc indice;
    SpecX modelo;
    modelo.estado = EstadoBit::adulto | EstadoBit::vivo;
    AcessoDocumento::parametrosEditaveis(indice).listaDefinida.assign(0x7FFF, modelo);
    AcessoDocumento::alimentosEditaveis(indice).resize(3);
    AcessoDocumento::vivosEditaveis(indice).assign(2, modelo);
    // The longest text with a 16-bit length and the shortest with a 32-bit one.
    CKeldoDoc textos;
    AcessoDocumento::parametrosEditaveis(textos).nivelObstaculos.assign(0xFFFD, '3');
    AcessoDocumento::parametrosEditaveis(textos).criterioParada.assign(0xFFFE, 'M');
    return {{"contagem_de_32_bits", contagem.serializar()},
            {"indice_de_classe_longo", indice.serializar()},
            {"textos_de_16_e_32_bits", textos.serializar()}};
}
} // namespace

std::vector<Semente> sementesDoCorpus(bool incluirGrandes) {
    std::vector<Semente> s = pequenas();
    s.push_back(bitsAltos());
    if (incluirGrandes)
        for (Semente& g : grandes())
            s.push_back(std::move(g));
    return s;
}
