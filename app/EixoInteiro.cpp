#include "app/EixoInteiro.h"
#include <algorithm>
#include <cmath>

namespace keldo::app {

// The nicest step of the range, rounded up to a whole one (2.5 gives 5, not 3).
double EixoInteiro::getTickStep(const QCPRange& faixa) {
    const double passo = QCPAxisTicker::getTickStep(faixa);
    if (passo >= 1.0 && passo == std::floor(passo))
        return passo;
    if (passo < 1.0)
        return 1.0;
    return passo < 5.0 ? 5.0 * std::pow(10.0, std::floor(std::log10(passo))) : std::ceil(passo);
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
