#include "app/PosicaoJanela.h"
#include <algorithm>
#include <array>

namespace keldo::app {

namespace {
constexpr int folga = 4; // between the two windows

// The window in a free strip, top-left first, then clipped to the strip.
QRect naFaixa(const QRect& faixa, const QRect& principal, const QSize& desejado) {
    const int w = std::min(desejado.width(), faixa.width());
    const int h = std::min(desejado.height(), faixa.height());
    // Level with the main window where the strip lets it.
    const int x = std::clamp(principal.left(), faixa.left(), faixa.right() - w + 1);
    const int y = std::clamp(principal.top(), faixa.top(), faixa.bottom() - h + 1);
    return QRect(x, y, w, h);
}

bool cabe(const QRect& faixa, const QSize& minimo) {
    return faixa.width() >= minimo.width() && faixa.height() >= minimo.height();
}

QRect faixaDireita(const QRect& tela, const QRect& principal) {
    return QRect(QPoint(principal.right() + 1 + folga, tela.top()), tela.bottomRight());
}

QRect faixaAbaixo(const QRect& tela, const QRect& principal) {
    return QRect(QPoint(tela.left(), principal.bottom() + 1 + folga), tela.bottomRight());
}

// Some strip around the main window holds the minimum.
bool algumaCabe(const QRect& tela, const QRect& principal, const QSize& minimo) {
    const QRect esquerda(tela.topLeft(), QPoint(principal.left() - 1 - folga, tela.bottom()));
    const QRect acima(tela.topLeft(), QPoint(tela.right(), principal.top() - 1 - folga));
    for (const QRect& f :
         {faixaDireita(tela, principal), faixaAbaixo(tela, principal), esquerda, acima})
        if (cabe(f, minimo))
            return true;
    return false;
}
} // namespace

QPoint PosicaoJanela::lugarDoPrincipal(const QRect& tela, const QRect& principal,
                                       const QSize& desejado, const QSize& minimo) {
    if (algumaCabe(tela, principal, minimo))
        return principal.topLeft();
    const int x = std::clamp(tela.right() + 1 - folga - desejado.width() - principal.width(),
                             tela.left(), principal.left());
    if (cabe(faixaDireita(tela, principal.translated(x - principal.left(), 0)), minimo))
        return {x, principal.top()};
    const int y = std::clamp(tela.bottom() + 1 - folga - desejado.height() - principal.height(),
                             tela.top(), principal.top());
    if (cabe(faixaAbaixo(tela, principal.translated(0, y - principal.top())), minimo))
        return {principal.left(), y};
    return principal.topLeft();
}

QRect PosicaoJanela::aoLado(const QRect& tela, const QRect& principal, const QSize& desejado,
                            const QSize& minimo) {
    const QRect direita = faixaDireita(tela, principal);
    const QRect abaixo = faixaAbaixo(tela, principal);
    const QRect esquerda(tela.topLeft(), QPoint(principal.left() - 1 - folga, tela.bottom()));
    const QRect acima(tela.topLeft(), QPoint(tela.right(), principal.top() - 1 - folga));
    if (cabe(direita, minimo))
        return naFaixa(direita, principal, desejado);
    if (cabe(abaixo, minimo))
        return naFaixa(abaixo, principal, desejado);
    const std::array<QRect, 4> faixas = {direita, abaixo, esquerda, acima};
    const QRect* maior = &faixas[0];
    auto area = [](const QRect& r) {
        return r.isValid() ? static_cast<long long>(r.width()) * r.height() : 0LL;
    };
    for (const QRect& f : faixas)
        if (area(f) > area(*maior))
            maior = &f;
    if (area(*maior) == 0) // no room at all: the screen's corner, over the main window
        return QRect(tela.topLeft(), desejado.boundedTo(tela.size()));
    return naFaixa(*maior, principal, desejado);
}

} // namespace keldo::app
