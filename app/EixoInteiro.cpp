#include "app/EixoInteiro.h"
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace keldo::app {

namespace {

// The next step of the 1, 2, 5, 10, 20, 50... series above `passo`.
double proximoPasso(double passo) {
    const double decada = std::pow(10.0, std::floor(std::log10(passo)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * decada > passo)
            return m * decada;
    return 10.0 * decada;
}

} // namespace

double EixoInteiro::getTickStep(const QCPRange& faixa) {
    return passoQueCabe(faixa, passoInteiro(faixa));
}

// The nicest step of the range, rounded up to a whole one (2.5 gives 5, not 3).
double EixoInteiro::passoInteiro(const QCPRange& faixa) {
    const double passo = QCPAxisTicker::getTickStep(faixa);
    if (passo >= 1.0 && passo == std::floor(passo))
        return passo;
    if (passo < 1.0)
        return 1.0;
    return passo < 5.0 ? 5.0 * std::pow(10.0, std::floor(std::log10(passo))) : std::ceil(passo);
}

// Widened until two neighbouring labels, the widest of the range, keep a gap
// of one "0" between them.
double EixoInteiro::passoQueCabe(const QCPRange& faixa, double passo) const {
    const double largura = eixo ? eixo->axisRect()->width() : 0.0;
    if (largura <= 0.0 || faixa.size() <= 0.0)
        return passo;
    const QFontMetrics medida(eixo->tickLabelFont());
    const double maior = std::max(std::abs(faixa.lower), std::abs(faixa.upper));
    const QString rotulo = QString::number(std::ceil(maior), 'f', 0);
    const double precisa = medida.horizontalAdvance(rotulo + QStringLiteral("0"));
    const double pixelsPorUnidade = largura / faixa.size();
    while (passo * pixelsPorUnidade < precisa)
        passo = proximoPasso(passo);
    return passo;
}

// Sub-ticks only where they fall on whole numbers.
int EixoInteiro::getSubTickCount(double passo) {
    const auto inteiro = static_cast<long long>(passo);
    for (int n : {4, 3, 1})
        if (inteiro % (n + 1) == 0)
            return n;
    return 0;
}

} // namespace keldo::app
