#pragma once
#include <qcustomplot.h>

namespace keldo::app {

// Ticks of a count (cycles, generations): whole steps only, so a short run
// never reads "0 0 0 1 1 1" nor "0 3 5 8" for fractional ticks printed bare;
// and steps wide enough that the labels of a long run on a narrow panel
// never run into each other ("1000020000...").
class EixoInteiro : public QCPAxisTicker {
  public:
    // The axis whose width and label font bound the step; none: no bound.
    explicit EixoInteiro(const QCPAxis* medido = nullptr) : eixo(medido) {}

  protected:
    double getTickStep(const QCPRange& faixa) override;
    int getSubTickCount(double passo) override;

  private:
    const QCPAxis* eixo;
    double passoInteiro(const QCPRange& faixa);
    double passoQueCabe(const QCPRange& faixa, double passo) const;
};

} // namespace keldo::app
