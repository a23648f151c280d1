#include "SementesCorpus.h"
#include "sim/CKeldoDoc.h"
#include <functional>
#include <limits>

namespace {
// A world made from the default parameters changed by `ajuste`, run for
// `ciclos` cycles without a trace or a save.
std::vector<uint8_t> mundo(const std::function<void(CKeldoDoc&)>& ajuste, int ciclos) {
    CKeldoDoc doc;
    doc.sementeFixa = 20240611u;
    doc.ignorarTempoReal = true;
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
        doc.parametros.listaDefinida.push_back(modelo);
    }
}

void pequeno(CKeldoDoc& doc) {
    doc.parametros.numIndividuos = 24;
    doc.parametros.qtdAlimento = 12;
}

std::vector<Semente> pequenas() {
    std::vector<Semente> s;
    s.push_back({"padrao_novo", mundo({}, 0)});
    s.push_back({"padrao_40_ciclos", mundo({}, 40)});
    for (const char* nivel : {"0", "12", "15", "30", "7"})
        s.push_back({std::string("nivel_") + nivel, mundo(
                                                        [nivel](CKeldoDoc& d) {
                                                            pequeno(d);
                                                            d.parametros.nivelObstaculos = nivel;
                                                        },
                                                        15)});
    s.push_back({"definida_com_ovos", mundo(
                                          [](CKeldoDoc& d) {
                                              d.parametros.tipoPopulacao = 1;
                                              populacaoDefinida(d, 9);
                                          },
                                          6)});
    s.push_back({"definida_e_aleatoria", mundo(
                                             [](CKeldoDoc& d) {
                                                 pequeno(d);
                                                 d.parametros.comDefinida = 1;
                                                 populacaoDefinida(d, 5);
                                             },
                                             4)});
    s.push_back({"geracoes_discretas", mundo(
                                           [](CKeldoDoc& d) {
                                               pequeno(d);
                                               d.parametros.tipoGeracoes = 1;
                                               d.parametros.numIndDiscretas = 6;
                                               d.parametros.criterioParada = "Gera\xE7\xE3o";
                                           },
                                           120)});
    s.push_back({"mutacao_particao_energia_larga", mundo(
                                                       [](CKeldoDoc& d) {
                                                           pequeno(d);
                                                           d.parametros.mutacaoAtiva = 1;
                                                           d.parametros.taxaMutacao = 2;
                                                           d.parametros.particaoAmbiente = 1;
                                                           d.parametros.energiaMin = 50;
                                                           d.parametros.energiaMax = 900;
                                                           d.parametros.taxaPermuta.fill(100);
                                                       },
                                                       30)});
    s.push_back({"textos_longos", mundo(
                                      [](CKeldoDoc& d) {
                                          pequeno(d);
                                          d.parametros.criterioParada.assign(255, 'x');
                                          d.parametros.nivelObstaculos.assign(254, '3');
                                      },
                                      1)});
    s.push_back({"listas_vazias", mundo(
                                      [](CKeldoDoc& d) {
                                          d.parametros.tipoPopulacao = 1; // nobody defined
                                          d.parametros.qtdAlimento = 0;
                                          d.parametros.nivelObstaculos.clear();
                                          d.parametros.criterioParada.clear();
                                      },
                                      3)});
    s.push_back({"so_mortos", mundo(
                                  [](CKeldoDoc& d) {
                                      d.parametros.numIndividuos = 6;
                                      d.parametros.qtdAlimento = 0;
                                      d.parametros.energiaMin = 0;
                                      d.parametros.energiaMax = 0;
                                      d.parametros.morte_mm = 500;
                                      d.parametros.morte_Mm = 500;
                                      d.parametros.morte_MM = 500;
                                  },
                                  2)});
    s.push_back({"extremos_aceitos", mundo(
                                         [](CKeldoDoc& d) {
                                             auto& p = d.parametros;
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
    doc.sementeFixa = 3u;
    pequeno(doc);
    doc.criarMundo();
    doc.tempo = std::numeric_limits<int32_t>::max() - 1;
    doc.proximoId = std::numeric_limits<int32_t>::max();
    doc.geracao = -1;
    doc.numSnapshot = 998;
    for (SpecX& s : doc.vivos) {
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
    contagem.parametros.qtdAlimento = 0;
    contagem.alimentos.resize(0xFFFF);
    for (size_t k = 0; k < contagem.alimentos.size(); ++k)
        contagem.alimentos[k].x = static_cast<float>(k % 100);

    CKeldoDoc indice;
    SpecX modelo;
    modelo.estado = EstadoBit::adulto | EstadoBit::vivo;
    indice.parametros.listaDefinida.assign(0x7FFF, modelo);
    indice.alimentos.resize(3);
    indice.vivos.assign(2, modelo);
    // The longest text with a 16-bit length and the shortest with a 32-bit one.
    CKeldoDoc textos;
    textos.parametros.nivelObstaculos.assign(0xFFFD, '3');
    textos.parametros.criterioParada.assign(0xFFFE, 'M');
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
