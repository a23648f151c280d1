#pragma once
// The event loop as the programs run it (QTest::qWait sleeps between its
// passes, so timers fire late), and waits that end on a condition, never on
// the machine's speed: the limit only stops a test that would hang.
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

inline void rodar(int milissegundos) {
    QEventLoop laco;
    QTimer::singleShot(milissegundos, Qt::PreciseTimer, &laco, &QEventLoop::quit);
    laco.exec();
}

// Runs the event loop until `condicao` holds; false only after a minute.
template <class Condicao> bool esperarAte(Condicao condicao, int limiteMs = 60000) {
    const QDeadlineTimer prazo(limiteMs);
    while (!condicao()) {
        if (prazo.hasExpired())
            return false;
        rodar(5);
    }
    return true;
}
