// The chart window: the history from the start of the world, its pace
// during a run, the gene selector and the exports.
#include "LacoEventos.h"
#include "app/CGraficosDlg.h"
#include "app/CMainFrame.h"
#include <QAction>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <qcustomplot.h>

using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::app;

namespace {

// The main window with the default world from a fixed seed, shown offscreen.
struct JanelaComGraficos {
    CMainFrame frame;
    JanelaComGraficos() {
        frame.documento().definirSementeFixa(12345u);
        EXPECT_TRUE(frame.iniciarDocumento(QString()));
        frame.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    ~JanelaComGraficos() { frame.documento().arquivo().marcarSalvo(); }
    QAction* acao(const char* nome) { return frame.findChild<QAction*>(QLatin1String(nome)); }
    CKeldoDoc& doc() { return frame.documento(); }
    CGraficosDlg* abrirGraficos() {
        QTest::keyClick(&frame, Qt::Key_G, Qt::ControlModifier);
        return frame.janelaGraficos();
    }
};

void esperarTempo(const CKeldoDoc& doc, int tempo) {
    esperarAte([&doc, tempo] { return doc.tempo() >= tempo; });
}

// Every point of the curves is the recorded figure of its cycle.
void esperarCurvasDoHistorico(const CGraficosDlg& g, const EstatisticasPopulacao& e) {
    const auto& h = e.historico();
    const auto adultos = g.curvaPopulacao(0)->data();
    const auto ovos = g.curvaPopulacao(1)->data();
    const auto alimentos = g.curvaPopulacao(2)->data();
    const auto v1 = g.painelGene(Genoma::Visao)->curva(0)->data();
    ASSERT_GE(adultos->size(), static_cast<int>(h.size()));
    for (size_t k = 0; k < h.size(); ++k) {
        const int i = static_cast<int>(k);
        EXPECT_EQ(adultos->at(i)->key, h[k].tempo);
        EXPECT_EQ(adultos->at(i)->value, h[k].adultos);
        EXPECT_EQ(ovos->at(i)->value, h[k].ovos);
        EXPECT_EQ(alimentos->at(i)->value, h[k].alimentos);
        EXPECT_EQ(v1->at(i)->value, h[k].frequencia(AleloResumo::V1));
    }
}

} // namespace

TEST(Graficos, AbertosNoMeioDaExecucaoMostramDesdeOInicio) {
    JanelaComGraficos j;
    j.acao("acaoIniciar")->trigger();
    esperarTempo(j.doc(), 40);
    CGraficosDlg* g = j.abrirGraficos();
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(g->isVisible());
    EXPECT_FALSE(g->isModal());
    EXPECT_EQ(j.acao("acaoGraficos")->text(), QStringLiteral("&Gráficos\tCtrl+G"));
    const auto adultos = g->curvaPopulacao(0)->data();
    ASSERT_GE(adultos->size(), 41);
    EXPECT_EQ(adultos->at(0)->key, 0.0);
    EXPECT_EQ(adultos->at(0)->value, 100.0);
    EXPECT_EQ(adultos->at(1)->key, 1.0);
    esperarCurvasDoHistorico(*g, j.doc().estatisticas());

    // The run goes on and the charts follow it; after the stop the last cycle shows.
    const int antes = adultos->size();
    esperarAte([g, antes] { return g->curvaPopulacao(0)->data()->size() > antes; });
    j.acao("acaoParar")->trigger();
    const auto curva = g->curvaPopulacao(0)->data();
    esperarAte([&j, curva] { return curva->at(curva->size() - 1)->key == j.doc().tempo(); });
    EXPECT_GT(g->curvaPopulacao(0)->data()->size(), antes);
    EXPECT_EQ(g->curvaPopulacao(0)->data()->at(g->curvaPopulacao(0)->data()->size() - 1)->key,
              j.doc().tempo());
    esperarCurvasDoHistorico(*g, j.doc().estatisticas());

    // A new world starts the charts again.
    j.doc().arquivo().marcarSalvo();
    j.acao("acaoNovo")->trigger();
    esperarAte([g] { return g->curvaPopulacao(0)->data()->size() == 1; });
    EXPECT_EQ(g->curvaPopulacao(0)->data()->size(), 1);
}

// However fast the redraws come, the charts replot at most once per 50 ms
// window and the last request is drawn later, not lost (bench/ measures the
// rate during a run).
TEST(Graficos, PedidosEmRajadaDaoPoucosReplotsEOUltimoNaoSePerde) {
    JanelaComGraficos j;
    CGraficosDlg* g = j.abrirGraficos();
    ASSERT_NE(g, nullptr);
    g->desenhar();
    QSignalSpy replots(g->grafico(), &QCustomPlot::afterReplot);
    for (int k = 0; k < 1000; ++k)
        g->atualizar();
    // One per window: a hundred would take five seconds of a thousand calls.
    EXPECT_LT(replots.count(), 100);
    const int rajada = replots.count();
    EXPECT_TRUE(esperarAte([&replots, rajada] { return replots.count() > rajada; }));
}

TEST(Graficos, ListaDeGenesEExportacoes) {
    JanelaComGraficos j;
    for (int c = 0; c < 25; ++c)
        j.doc().executarCiclo();
    CGraficosDlg* g = j.abrirGraficos();
    ASSERT_NE(g, nullptr);
    const PainelCurvas* visao = g->painelGene(Genoma::Visao);
    ASSERT_NE(visao, nullptr);
    EXPECT_EQ(visao->numCurvas(), 4); // Visão: V1..V4, summing to 1
    const int ultimo = visao->curva(0)->data()->size() - 1;
    double soma = 0;
    for (int k = 0; k < 4; ++k)
        soma += visao->curva(k)->data()->at(ultimo)->value;
    EXPECT_NEAR(soma, 1.0, 1e-12);

    auto* lista = g->findChild<QListWidget*>(QStringLiteral("listaGenes"));
    ASSERT_NE(lista, nullptr);
    lista->item(Genoma::Morte)->setCheckState(Qt::Checked);
    const PainelCurvas* morte = g->painelGene(Genoma::Morte);
    ASSERT_NE(morte, nullptr);
    ASSERT_EQ(morte->numCurvas(), 2);
    EXPECT_EQ(morte->curva(0)->name(), QStringLiteral("M"));
    EXPECT_EQ(morte->curva(1)->name(), QStringLiteral("m"));
    // The arena's colours: MM green, mm blue.
    EXPECT_EQ(morte->curva(0)->pen().color(), QColor(40, 170, 50));
    EXPECT_EQ(morte->curva(1)->pen().color(), QColor(35, 80, 230));
    const AmostraPopulacao& a = j.doc().estatisticas().ultima();
    ASSERT_EQ(morte->curva(1)->data()->size(), 26);
    EXPECT_DOUBLE_EQ(morte->curva(1)->data()->at(25)->value, 1.0 - a.frequencia(AleloResumo::M));

    QTemporaryDir pasta;
    const QString png = pasta.filePath(QStringLiteral("g.png"));
    const QString csv = pasta.filePath(QStringLiteral("g.csv"));
    ASSERT_TRUE(g->exportarPng(png));
    EXPECT_FALSE(QImage(png).isNull());
    ASSERT_TRUE(g->exportarCsv(csv));
    QFile arquivoCsv(csv);
    ASSERT_TRUE(arquivoCsv.open(QIODevice::ReadOnly));
    const QByteArray texto = arquivoCsv.readAll();
    EXPECT_EQ(texto.toStdString(), j.doc().estatisticas().textoCsv());
    EXPECT_EQ(texto.count('\n'), 27); // header, cycle 0 and 25 cycles
    EXPECT_FALSE(texto.contains('\r'));
    EXPECT_FALSE(g->exportarCsv(pasta.filePath(QStringLiteral("nao/existe.csv"))));
}
