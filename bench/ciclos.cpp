// keldo_bench: whole cycles of the benchmark worlds, in process. The world is
// made outside the timed part; counters are per second of cycles.
#include "bench/MundosDeReferencia.h"
#include "tests/apoio/AcessoDocumento.h"
#include <benchmark/benchmark.h>
#include <memory>

using namespace keldo::sim;

namespace {
template <class Criar> void rodarCiclos(benchmark::State& state, Criar criar) {
    const int ciclos = static_cast<int>(state.range(0));
    int64_t individuosCiclos = 0;
    int64_t nascimentos = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CKeldoDoc>();
        doc->definirIgnorarTempoReal(true);
        criar(*doc);
        state.ResumeTiming();
        for (int c = 0; c < ciclos; ++c)
            doc->executarCiclo();
        state.PauseTiming();
        const mundos::Contagem contagem = mundos::contarDesde(*doc, 0);
        individuosCiclos += contagem.individuosCiclos;
        nascimentos += contagem.nascimentos;
        doc.reset();
        state.ResumeTiming();
    }
    using benchmark::Counter;
    const double iteracoes = static_cast<double>(state.iterations());
    state.counters["ciclos/s"] = Counter(iteracoes * ciclos, Counter::kIsRate);
    state.counters["indiv-ciclos/s"] =
        Counter(static_cast<double>(individuosCiclos), Counter::kIsRate);
    state.counters["nasc/ciclo"] = static_cast<double>(nascimentos) / (iteracoes * ciclos);
}

void criarPadrao(CKeldoDoc& doc) {
    doc.definirSementeFixa(1);
    doc.criarMundo();
}

// S: the default world.
void BM_Padrao(benchmark::State& state) {
    rodarCiclos(state, criarPadrao);
}
// L and G over their first cycles (their populations explode).
void BM_Grande(benchmark::State& state) {
    rodarCiclos(state, [](CKeldoDoc& doc) {
        mundos::configurarGrande(AcessoDocumento::parametrosEditaveis(doc));
        criarPadrao(doc);
    });
}
void BM_Crescente(benchmark::State& state) {
    rodarCiclos(state, [](CKeldoDoc& doc) {
        mundos::configurarCrescente(AcessoDocumento::parametrosEditaveis(doc));
        criarPadrao(doc);
    });
}
// Scaling: a few cycles of worlds of range(1) founders.
void BM_Escala(benchmark::State& state) {
    const int fundadores = static_cast<int>(state.range(1));
    rodarCiclos(state,
                [fundadores](CKeldoDoc& doc) { mundos::criarFundadores(doc, fundadores, 1); });
}
} // namespace

BENCHMARK(BM_Padrao)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Grande)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Crescente)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Escala)
    ->Args({5, 100})
    ->Args({5, 1000})
    ->Args({5, 10000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
