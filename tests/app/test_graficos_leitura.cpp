// The chart window read from the back of a classroom: whole numbers on the
// time axis, the whole run after Novo or Abrir, panels that keep room for
// their labels, and the run's keys answered while the charts have the focus.
#include "AulaComGraficos.h"
#include "LacoEventos.h"
#include "app/CGraficosDlg.h"
#include "app/CMainFrame.h"
#include <QAction>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <qcustomplot.h>

using namespace keldo::app;

namespace {

using Sala = AulaComGraficos;

QCPAxis* eixoX(const CGraficosDlg& g, int painel) {
    return g.painel(painel).eixos()->axis(QCPAxis::atBottom);
}

// Every tick a whole number and every label a different one.
void esperarTicksInteiros(const CGraficosDlg& g) {
    for (int i = 0; i < g.numPaineis(); ++i) {
        const QVector<double> ticks = eixoX(g, i)->tickVector();
        ASSERT_GE(ticks.size(), 2) << "panel " << i;
        for (double t : ticks)
            EXPECT_EQ(t, std::round(t)) << "panel " << i;
        const QVector<QString> rotulos = eixoX(g, i)->tickVectorLabels();
        const QSet<QString> distintos(rotulos.begin(), rotulos.end());
        EXPECT_EQ(distintos.size(), rotulos.size()) << "panel " << i;
    }
}

} // namespace

TEST(GraficosLeitura, TicksInteirosEmGeracoesECiclos) {
    Sala s;
    CGraficosDlg& g = s.graficos();
    // A new world in generations: the axis spans 0 to 1.
    g.usarGeracoes(true);
    g.desenhar();
    esperarTicksInteiros(g);
    // Thirteen cycles: the nicest fractional step would be 2.5.
    g.usarGeracoes(false);
    s.ciclos(13);
    g.desenhar();
    esperarTicksInteiros(g);
    EXPECT_EQ(eixoX(g, 0)->range().upper, 13.0);
}

// A long run on the narrowest chart window: five-digit labels, each clear of
// its neighbours (they once read "1000020000300004000050000").
TEST(GraficosLeitura, RotulosDeUmaExecucaoLongaNaoSeEncostam) {
    Sala s;
    CGraficosDlg& g = s.graficos();
    g.resize(g.minimumSizeHint().width(), 600);
    QCoreApplication::processEvents();
    for (double fim : {65349.0, 999999.0, 37.0}) {
        QCPAxis* x = eixoX(g, g.numPaineis() - 1); // the panel that labels the time axis
        x->setRange(0.0, fim);
        x->parentPlot()->replot();
        const QVector<double> ticks = x->tickVector();
        const QVector<QString> rotulos = x->tickVectorLabels();
        ASSERT_GE(ticks.size(), 2) << fim;
        ASSERT_LE(ticks.size(), 30) << fim;
        ASSERT_EQ(rotulos.size(), ticks.size()) << fim;
        const QFontMetrics medida(x->tickLabelFont());
        for (qsizetype i = 0; i + 1 < ticks.size(); ++i) {
            const double distancia = x->coordToPixel(ticks[i + 1]) - x->coordToPixel(ticks[i]);
            const double metades =
                (medida.horizontalAdvance(rotulos[i]) + medida.horizontalAdvance(rotulos[i + 1])) /
                2.0;
            EXPECT_GT(distancia, metades + 2.0)
                << fim << ": " << rotulos[i].toStdString() << " " << rotulos[i + 1].toStdString();
        }
    }
    esperarTicksInteiros(g);
}

TEST(GraficosLeitura, NovoEAbrirMostramAExecucaoInteira) {
    Sala s;
    QTemporaryDir pasta;
    const QString projeto = pasta.filePath(QStringLiteral("aula.gen"));
    s.frame.dialogos.salvarComo = [&](const QString&) { return projeto; };
    s.ciclos(30);
    ASSERT_TRUE(s.frame.salvarComo());
    CGraficosDlg& g = s.graficos();
    g.desenhar();
    eixoX(g, 0)->setRange(10.0, 20.0); // a drag by the user
    g.desenhar();
    ASSERT_EQ(eixoX(g, 0)->range(), QCPRange(10.0, 20.0));

    s.frame.findChild<QAction*>(QStringLiteral("acaoNovo"))->trigger();
    EXPECT_TRUE(esperarAte([&g] { return eixoX(g, 0)->range() == QCPRange(0.0, 10.0); }))
        << eixoX(g, 0)->range().lower << " " << eixoX(g, 0)->range().upper;

    s.ciclos(40);
    g.desenhar();
    eixoX(g, 0)->setRange(5.0, 8.0);
    g.desenhar();
    ASSERT_TRUE(s.frame.abrirArquivo(projeto));
    const double inicio = s.doc().estatisticas().historico().front().tempo;
    EXPECT_TRUE(esperarAte([&g, inicio] {
        return eixoX(g, 0)->range() == QCPRange(inicio, inicio + 10.0);
    })) << eixoX(g, 0)->range().lower
        << " " << eixoX(g, 0)->range().upper;
}

TEST(GraficosLeitura, AtalhosDaExecucaoNaJanelaDosGraficos) {
    Sala s;
    CGraficosDlg& g = s.graficos();
    g.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
    QTest::keyClick(&g, Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(s.frame.timerAtivo());
    ASSERT_TRUE(esperarAte([&s] { return s.doc().tempo() >= 3; }));
    QTest::keyClick(&g, Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(s.frame.timerAtivo());

    QTemporaryDir pasta;
    const QString projeto = pasta.filePath(QStringLiteral("aula.gen"));
    s.frame.dialogos.salvarComo = [&](const QString&) { return projeto; };
    QTest::keyClick(&g, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(projeto));

    QTest::keyClick(&g, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(s.doc().tempo(), 0);
    EXPECT_FALSE(s.doc().arquivo().temCaminho());
}

// Four panels (population, Visão, Morte, heterozygosity) in a window of the projector's height:
// each keeps its least height and the panels scroll; the legend stays whole inside the plot.
TEST(GraficosLeitura, PaineisComAlturaLegivelRolamQuandoNaoCabem) {
    Sala s;
    CGraficosDlg& g = s.graficos();
    g.marcarGene(Genoma::Morte, true);
    g.selecionarGene(Genoma::Morte);
    g.mostrarHeterozigose(true);
    ASSERT_EQ(g.numPaineis(), 4);
    g.resize(CGraficosDlg::tamanhoDesejado().width(), 600);
    s.ciclos(5);
    g.desenhar();
    ASSERT_TRUE(esperarAte([&g] { return g.grafico()->height() >= g.alturaMinimaPaineis(); }));
    g.desenhar();
    auto* rolagem = g.findChild<QScrollArea*>(QStringLiteral("rolagemPaineis"));
    ASSERT_NE(rolagem, nullptr);
    EXPECT_GT(rolagem->verticalScrollBar()->maximum(), 0);
    const QRect area = g.grafico()->rect();
    for (int i = 0; i < g.numPaineis(); ++i) {
        const QCPAxisRect* eixos = g.painel(i).eixos();
        EXPECT_GE(eixos->outerRect().height(), 3 * g.grafico()->fontMetrics().height())
            << "panel " << i;
    }
    // Each legend entry drawn at its full size, inside the plot.
    for (int i = 0; i < g.grafico()->plotLayout()->elementCount(); ++i) {
        auto* legenda = qobject_cast<QCPLegend*>(g.grafico()->plotLayout()->elementAt(i));
        if (!legenda)
            continue;
        EXPECT_TRUE(area.contains(legenda->outerRect()));
        EXPECT_GE(legenda->outerRect().height(), legenda->minimumOuterSizeHint().height());
        for (int k = 0; k < legenda->itemCount(); ++k) {
            QCPAbstractLegendItem* item = legenda->item(k);
            if (!item) // an empty cell of the last row
                continue;
            EXPECT_GE(item->rect().width(), item->minimumOuterSizeHint().width() -
                                                item->margins().left() - item->margins().right());
            EXPECT_GE(item->rect().height(), item->minimumOuterSizeHint().height() -
                                                 item->margins().top() - item->margins().bottom());
        }
    }
}
