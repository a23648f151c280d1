// Cycles per second of the simulator's window with the arena redrawn after
// every cycle (the default world, offscreen): the 5 ms timer's ceiling is 200.
// With "graficos", the chart window is open too and the second figure is its
// replots per second (the throttle's ceiling is 20).
// Usage: keldo_ritmo_janela [SECONDS [graficos]]
#include "app/CGraficosDlg.h"
#include "app/CMainFrame.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <qcustomplot.h>

using namespace keldo::app;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    const int segundos = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    CMainFrame janela;
    janela.documento().definirSementeFixa(12345u);
    janela.iniciarDocumento(QString());
    SimulationParameters parametros = janela.documento().parametros();
    parametros.intervaloAnimacao = 1;
    janela.documento().definirParametros(parametros);
    janela.show();
    int replots = 0;
    const bool graficos = argc > 2 && std::strcmp(argv[2], "graficos") == 0;
    if (graficos) {
        janela.graficos();
        QObject::connect(janela.janelaGraficos()->grafico(), &QCustomPlot::afterReplot,
                         [&replots] { ++replots; });
    }

    QElapsedTimer relogio;
    janela.iniciar();
    relogio.start();
    // The program's own event loop, so idle passes and paints happen as in a real run.
    QEventLoop laco;
    QTimer::singleShot(segundos * 1000, Qt::PreciseTimer, &laco, &QEventLoop::quit);
    laco.exec();
    const double decorrido = static_cast<double>(relogio.elapsed());
    const double ciclosPorSegundo = janela.documento().tempo() * 1000.0 / decorrido;
    janela.parar();
    janela.documento().arquivo().marcarSalvo(); // no save question on the way out
    if (graficos)
        std::printf("%.0f %.1f\n", ciclosPorSegundo, replots * 1000.0 / decorrido);
    else
        std::printf("%.0f\n", ciclosPorSegundo);
    return 0;
}
