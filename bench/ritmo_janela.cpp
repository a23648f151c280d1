// Cycles per second of the simulator's window with the arena redrawn after
// every cycle (the default world, offscreen): the 5 ms timer's ceiling is 200.
// Usage: keldo_ritmo_janela [SECONDS]
#include "app/CMainFrame.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

    QElapsedTimer relogio;
    janela.iniciar();
    relogio.start();
    // The program's own event loop, so idle passes and paints happen as in a real run.
    QEventLoop laco;
    QTimer::singleShot(segundos * 1000, Qt::PreciseTimer, &laco, &QEventLoop::quit);
    laco.exec();
    const double ciclosPorSegundo = janela.documento().tempo() * 1000.0 / relogio.elapsed();
    janela.parar();
    janela.documento().arquivo().marcarSalvo(); // no save question on the way out
    std::printf("%.0f\n", ciclosPorSegundo);
    return 0;
}
