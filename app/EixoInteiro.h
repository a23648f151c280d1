#pragma once
#include <qcustomplot.h>

namespace keldo::app {

// Ticks of a count (cycles, generations): whole steps only, so a short run
// never reads "0 0 0 1 1 1" nor "0 3 5 8" for fractional ticks printed bare.
class EixoInteiro : public QCPAxisTicker {
  protected:
    double getTickStep(const QCPRange& faixa) override;
    int getSubTickCount(double passo) override;
};

} // namespace keldo::app
