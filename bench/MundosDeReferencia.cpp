#include "bench/MundosDeReferencia.h"
#include "tests/apoio/AcessoDocumento.h"
#include <algorithm>

using namespace keldo::sim;

namespace mundos {

void configurarGrande(SimulationParameters& p) {
    p.numIndividuos = 1000;
    p.qtdAlimento = 2000;
    p.nivelObstaculos = "30";
}

void configurarCrescente(SimulationParameters& p) {
    configurarGrande(p);
    p.repro_rr = p.repro_Rr = p.repro_RR = 150;
}

void criarFundadores(CKeldoDoc& doc, int fundadores, uint32_t semente) {
    configurarGrande(AcessoDocumento::parametrosEditaveis(doc));
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = fundadores;
    doc.definirSementeFixa(semente);
    doc.criarMundo();
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = std::min(fundadores, 1000);
}

Contagem contarDesde(const CKeldoDoc& doc, int32_t tempoInicial) {
    // An individual is in `vivos` after cycle c when loopNasc < c <= loopMorto
    // (children are made before `tempo` grows, the dead leave before it grows).
    const int64_t fim = doc.tempo();
    Contagem c;
    auto contar = [&](const SpecX& i, int64_t ultimo) {
        const int64_t primeiro = std::max<int64_t>(tempoInicial, i.loopNasc);
        c.individuosCiclos += std::max<int64_t>(0, std::min(fim, ultimo) - primeiro);
        if (i.idMae != 0 && i.loopNasc >= tempoInicial)
            ++c.nascimentos;
    };
    for (const SpecX& i : doc.mortos())
        contar(i, i.loopMorto);
    for (const SpecX& i : doc.vivos())
        contar(i, fim);
    c.vivosAoFim = static_cast<int64_t>(doc.vivos().size());
    return c;
}

} // namespace mundos
