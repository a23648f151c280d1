#include "app/PainelCurvas.h"
#include "app/EixoInteiro.h"
#include "sim/EstatisticasPopulacao.h"
#include <qcustomplot.h>

namespace keldo::app {

using namespace keldo::sim;

PainelCurvas::PainelCurvas(QCustomPlot* plot, int linha, const QString& titulo,
                           const QString& rotuloY, std::vector<Curva> curvas,
                           QCPMarginGroup* margens)
    : definicoes(std::move(curvas)) {
    QFont fonte = plot->font();
    fonte.setPointSizeF(fonte.pointSizeF() * 1.1);
    fonte.setBold(true);
    QCPLayoutGrid* grade = plot->plotLayout();
    rotulo = new QCPTextElement(plot, titulo, fonte);
    grade->addElement(linha, 0, rotulo);
    painel = new QCPAxisRect(plot);
    grade->addElement(linha + 1, 0, painel);
    legenda = new QCPLegend;
    grade->addElement(linha + 2, 0, legenda);
    legenda->setLayer(QStringLiteral("legend"));
    legenda->setFillOrder(QCPLegend::foColumnsFirst);
    legenda->setWrap(3); // rows of three entries, so a narrow window still reads them
    legenda->setBorderPen(Qt::NoPen);
    legenda->setFont(plot->font());
    legenda->setMargins(QMargins(4, 0, 4, 2));
    // Titles and legends take what they need; the panels share the rest.
    grade->setRowStretchFactor(linha, 0.001);
    grade->setRowStretchFactor(linha + 1, 1.0);
    grade->setRowStretchFactor(linha + 2, 0.001);
    painel->setMarginGroup(QCP::msLeft | QCP::msRight, margens);
    painel->axis(QCPAxis::atLeft)->setLabel(rotuloY);
    painel->setRangeDrag(Qt::Horizontal);
    painel->setRangeZoom(Qt::Horizontal);
    QCPAxis* x = painel->axis(QCPAxis::atBottom);
    x->setTicker(QSharedPointer<EixoInteiro>::create(x));
    x->setNumberFormat(QStringLiteral("f"));
    x->setNumberPrecision(0);
    for (const Curva& c : definicoes) {
        QCPGraph* g = plot->addGraph(x, painel->axis(QCPAxis::atLeft));
        g->setName(c.nome);
        g->setPen(c.caneta);
        g->addToLegend(legenda);
        graficos.push_back(g);
    }
    // The grid shaves a few pixels off rows of tiny stretch, which cuts a
    // text line in half: the title and the legend claim their whole height.
    for (QCPLayoutElement* e :
         {static_cast<QCPLayoutElement*>(rotulo), static_cast<QCPLayoutElement*>(legenda)}) {
        e->setSizeConstraintRect(QCPLayoutElement::scrOuterRect);
        e->setMinimumSize(0, e->minimumOuterSizeHint().height());
    }
}

QString PainelCurvas::titulo() const {
    return rotulo->text();
}

void PainelCurvas::preencher(const QVector<double>& x,
                             const std::vector<const AmostraPopulacao*>& amostras) {
    maior = 0.0;
    QVector<double> y(x.size());
    for (size_t c = 0; c < graficos.size(); ++c) {
        for (qsizetype k = 0; k < x.size(); ++k) {
            y[k] = definicoes[c].valor(*amostras[static_cast<size_t>(k)]);
            if (y[k] > maior)
                maior = y[k];
        }
        graficos[c]->setData(x, y, true);
        graficos[c]->setScatterStyle(x.size() == 1 ? QCPScatterStyle(QCPScatterStyle::ssDisc, 6)
                                                   : QCPScatterStyle(QCPScatterStyle::ssNone));
    }
}

} // namespace keldo::app
