#pragma once
#include "sim/CKeldoDoc.h"
#include <cstdint>

// The worlds the benchmarks run, the same that bench/run.sh gives keldo-run:
// S the default world, L a large world, G a growing one, and worlds of N
// founders for the scaling curve.
namespace mundos {

using keldo::sim::CKeldoDoc;
using keldo::sim::SimulationParameters;

// L: --set numIndividuos=1000 --set qtdAlimento=2000 --set nivelObstaculos=30
void configurarGrande(SimulationParameters& p);
// G: L with every reproduction threshold at 150.
void configurarCrescente(SimulationParameters& p);

// A new world of `fundadores` random founders on the L settings. The founder
// count may exceed what a project may ask for; the stored numIndividuos is
// capped so that keldo-run loads the saved world.
void criarFundadores(CKeldoDoc& doc, int fundadores, uint32_t semente);

// What the cycles since `tempoInicial` did, read back from the individuals'
// birth and death cycles (`mortos` keeps every individual that ever died).
struct Contagem {
    int64_t individuosCiclos = 0; // sum over cycles of the size of `vivos` after the cycle
    int64_t nascimentos = 0;
    int64_t vivosAoFim = 0;
};
Contagem contarDesde(const CKeldoDoc& doc, int32_t tempoInicial);

} // namespace mundos
