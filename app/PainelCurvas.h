#pragma once
#include <QPen>
#include <QString>
#include <QVector>
#include <functional>
#include <vector>

class QCPAxisRect;
class QCPGraph;
class QCPLegend;
class QCPMarginGroup;
class QCPTextElement;
class QCustomPlot;
namespace keldo::sim {
struct AmostraPopulacao;
} // namespace keldo::sim

namespace keldo::app {

using keldo::sim::AmostraPopulacao;

// One panel of the chart window: a title, the axes and a legend in three
// rows of the plot's layout, and curves that each read one figure of a
// sample. The plot owns what the panel puts in it; clearing the plot ends it.
class PainelCurvas {
  public:
    struct Curva {
        QString nome;
        QPen caneta;
        // NaN leaves a gap (nobody carries the locus).
        std::function<double(const AmostraPopulacao&)> valor;
    };

    // Adds the panel in rows `linha`..`linha` + 2 of the plot's layout.
    PainelCurvas(QCustomPlot* plot, int linha, const QString& titulo, const QString& rotuloY,
                 std::vector<Curva> curvas, QCPMarginGroup* margens);

    // Every curve at the samples' x values. A lone point shows as a dot, so
    // the starting state is visible before the first cycle.
    void preencher(const QVector<double>& x, const std::vector<const AmostraPopulacao*>& amostras);

    QCPAxisRect* eixos() const { return painel; }
    QCPGraph* curva(int i) const { return graficos[static_cast<size_t>(i)]; }
    int numCurvas() const { return static_cast<int>(graficos.size()); }
    QString titulo() const;
    // Largest value drawn by the last `preencher`.
    double maiorValor() const { return maior; }

  private:
    QCPTextElement* rotulo = nullptr;
    QCPAxisRect* painel = nullptr;
    QCPLegend* legenda = nullptr;
    std::vector<Curva> definicoes;
    std::vector<QCPGraph*> graficos;
    double maior = 0.0;
};

} // namespace keldo::app
