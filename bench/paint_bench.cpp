// One frame of the arena for a crowded world: 1000 individuals and 2000 food
// items on the 12-obstacle level, painted the way the view paints a frame.
#include "app/CKeldoView.h"
#include "app/CMainFrame.h"
#include "tests/apoio/AcessoDocumento.h"
#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::app;

namespace {

CMainFrame* janelaCheia() {
    static CMainFrame* janela = [] {
        auto* j = new CMainFrame;
        CKeldoDoc& doc = j->documento();
        doc.definirSementeFixa(2024u);
        AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 1000;
        AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 2000;
        j->iniciarDocumento(QString());
        return j;
    }();
    return janela;
}

// Format_RGB32 is what the window system's back buffer uses here; the
// premultiplied format is the other common one.
void pintar(benchmark::State& estado, QImage::Format formato, bool energias) {
    CMainFrame* janela = janelaCheia();
    AcessoDocumento::parametrosEditaveis(janela->documento()).mostrarEnergia = energias ? 1 : 0;
    QImage destino(640, 480, formato);
    for (auto _ : estado) {
        QPainter p(&destino);
        janela->vista()->desenhar(p);
        p.end();
        benchmark::DoNotOptimize(destino.constBits());
    }
    estado.counters["itens"] = static_cast<double>(janela->documento().vivos().size() +
                                                   janela->documento().alimentos().size());
}

void BM_PintarArena(benchmark::State& estado) {
    pintar(estado, QImage::Format_RGB32, false);
}
void BM_PintarArenaComEnergias(benchmark::State& estado) {
    pintar(estado, QImage::Format_RGB32, true);
}
void BM_PintarArenaPremultiplicada(benchmark::State& estado) {
    pintar(estado, QImage::Format_ARGB32_Premultiplied, true);
}
BENCHMARK(BM_PintarArena)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PintarArenaComEnergias)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PintarArenaPremultiplicada)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
