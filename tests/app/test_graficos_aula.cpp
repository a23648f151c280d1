// The chart window for a class: generations on the time axis, several genes
// at once, heterozygosity against Hardy–Weinberg, the starting point, the
// whole run or a part of it, and the caption of an exported picture.
#include "AcessoDocumento.h"
#include "AulaComGraficos.h"
#include "IndividuoTeste.h"
#include "LacoEventos.h"
#include "app/CGraficosDlg.h"
#include "app/CMainFrame.h"
#include <QAction>
#include <QCheckBox>
#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <qcustomplot.h>

using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::app;

namespace {

using Aula = AulaComGraficos;

QStringList titulos(const CGraficosDlg& g) {
    QStringList t;
    for (int i = 0; i < g.numPaineis(); ++i)
        t << g.painel(i).titulo();
    return t;
}

QCPRange faixaX(const PainelCurvas& p) {
    return p.eixos()->axis(QCPAxis::atBottom)->range();
}

} // namespace

TEST(GraficosAula, EixoEmGeracoesLeAGeracaoDeCadaPonto) {
    Aula a;
    AcessoDocumento::parametrosEditaveis(a.doc()).tipoGeracoes = 1;
    AcessoDocumento::parametrosEditaveis(a.doc()).numIndDiscretas = 30;
    AcessoDocumento::parametrosEditaveis(a.doc()).numIndividuos = 40;
    a.doc().criarMundo();
    a.ciclos(600);
    CGraficosDlg& g = a.graficos();
    const auto& h = a.doc().estatisticas().historico();
    ASSERT_GT(a.doc().geracao(), 1) << "the run should have passed a few generations";

    g.usarGeracoes(true);
    EXPECT_TRUE(g.findChild<QCheckBox*>(QStringLiteral("caixaGeracoes"))->isChecked());
    const auto adultos = g.curvaPopulacao(0)->data();
    ASSERT_EQ(adultos->size(), static_cast<int>(h.size()));
    for (size_t k = 0; k < h.size(); k += 37)
        EXPECT_EQ(adultos->at(static_cast<int>(k))->key, h[k].geracao) << k;
    const PainelCurvas& ultimo = g.painel(g.numPaineis() - 1);
    EXPECT_EQ(ultimo.eixos()->axis(QCPAxis::atBottom)->label(), QStringLiteral("Geração"));
    EXPECT_EQ(faixaX(ultimo).lower, 0.0);
    EXPECT_EQ(faixaX(ultimo).upper, a.doc().geracao());

    g.usarGeracoes(false);
    EXPECT_EQ(g.curvaPopulacao(0)->data()->at(adultos->size() - 1)->key, a.doc().tempo());
    EXPECT_EQ(g.painel(g.numPaineis() - 1).eixos()->axis(QCPAxis::atBottom)->label(),
              QStringLiteral("Tempo (ciclos)"));
}

TEST(GraficosAula, DoisGenesEmPaineisQueDividemOEixoDoTempo) {
    Aula a;
    a.ciclos(300);
    CGraficosDlg& g = a.graficos();
    g.marcarGene(Genoma::Visao, false);
    g.marcarGene(Genoma::Partilha, true);
    g.marcarGene(Genoma::Luta, true);
    EXPECT_EQ(titulos(g), QStringList({QStringLiteral("População"),
                                       QStringLiteral("Frequências alélicas: gene Partilha"),
                                       QStringLiteral("Frequências alélicas: gene Luta")}));
    const AmostraPopulacao& u = a.doc().estatisticas().ultima();
    const PainelCurvas* partilha = g.painelGene(Genoma::Partilha);
    const PainelCurvas* luta = g.painelGene(Genoma::Luta);
    ASSERT_TRUE(partilha && luta);
    EXPECT_EQ(partilha->curva(0)->data()->size(), 301);
    EXPECT_DOUBLE_EQ(partilha->curva(0)->data()->at(300)->value, u.frequencia(AleloResumo::P));
    EXPECT_DOUBLE_EQ(luta->curva(1)->data()->at(300)->value, 1.0 - u.frequencia(AleloResumo::L));

    // The whole run by default; a zoom in one panel moves the others and
    // stays while the run goes on, until "Tudo".
    EXPECT_EQ(faixaX(*luta), QCPRange(0, 300));
    partilha->eixos()->axis(QCPAxis::atBottom)->setRange(100, 150);
    EXPECT_EQ(faixaX(*luta), QCPRange(100, 150));
    EXPECT_EQ(faixaX(g.painel(0)), QCPRange(100, 150));
    a.ciclos(20);
    g.desenhar();
    EXPECT_EQ(faixaX(*luta), QCPRange(100, 150));
    QTest::mouseClick(g.findChild<QPushButton*>(QStringLiteral("botaoTudo")), Qt::LeftButton);
    EXPECT_EQ(faixaX(*luta), QCPRange(0, 320));
    EXPECT_EQ(faixaX(g.painel(0)), QCPRange(0, 320));
}

TEST(GraficosAula, HeterozigoseDoGeneSelecionadoContraHardyWeinberg) {
    Aula a;
    a.ciclos(50);
    CGraficosDlg& g = a.graficos();
    g.selecionarGene(Genoma::Partilha);
    g.mostrarHeterozigose(true);
    const PainelCurvas* h = g.painelHeterozigose();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->titulo(), QStringLiteral("Heterozigose: gene Partilha"));
    ASSERT_EQ(h->numCurvas(), 6);
    const AmostraPopulacao& u = a.doc().estatisticas().ultima();
    const double p = u.frequencia(AleloResumo::P);
    auto ultimo = [&](int c) { return h->curva(c)->data()->at(50)->value; };
    EXPECT_EQ(h->curva(0)->name(), QStringLiteral("Ho Pp"));
    EXPECT_DOUBLE_EQ(ultimo(0), u.heterozigoseObservada(Genoma::Partilha));
    EXPECT_DOUBLE_EQ(ultimo(1), 1.0 - (p * p + (1 - p) * (1 - p)));
    EXPECT_EQ(h->curva(2)->name(), QStringLiteral("PP"));
    EXPECT_DOUBLE_EQ(ultimo(2), u.frequenciaGenotipo(Genoma::Partilha, 2));
    EXPECT_DOUBLE_EQ(ultimo(3), p * p);
    EXPECT_DOUBLE_EQ(ultimo(4), u.frequenciaGenotipo(Genoma::Partilha, 0));
    EXPECT_DOUBLE_EQ(ultimo(5), (1 - p) * (1 - p));
    // Observed genotypes add up to everybody.
    EXPECT_NEAR(ultimo(0) + ultimo(2) + ultimo(4), 1.0, 1e-12);

    // A four-allele gene: only the two heterozygosities; a sex-linked gene: no panel.
    g.selecionarGene(Genoma::Visao);
    ASSERT_NE(g.painelHeterozigose(), nullptr);
    EXPECT_EQ(g.painelHeterozigose()->numCurvas(), 2);
    g.selecionarGene(Genoma::Detecta);
    EXPECT_EQ(g.painelHeterozigose(), nullptr);
    EXPECT_EQ(g.numPaineis(), 2);
}

TEST(GraficosAula, EstadoInicialApareceLogoAposNovoEAposAbrir) {
    Aula a;
    a.ciclos(30);
    CGraficosDlg& g = a.graficos();
    a.frame.findChild<QAction*>(QStringLiteral("acaoNovo"))->trigger();
    esperarAte([&g] { return g.curvaPopulacao(0)->data()->size() == 1; });
    const auto adultos = g.curvaPopulacao(0)->data();
    ASSERT_EQ(adultos->size(), 1);
    EXPECT_EQ(adultos->at(0)->key, 0.0);
    EXPECT_EQ(adultos->at(0)->value, 100.0);
    // A lone point is a dot: a line through one point draws nothing.
    EXPECT_EQ(g.curvaPopulacao(0)->scatterStyle().shape(), QCPScatterStyle::ssDisc);
    EXPECT_EQ(g.painelGene(Genoma::Visao)->curva(0)->scatterStyle().shape(),
              QCPScatterStyle::ssDisc);
    // The dot is in the picture: the adults' dark grey at the panel's left edge.
    const QImage imagem = g.grafico()->toPixmap().toImage();
    const QRect painel = g.painel(0).eixos()->rect();
    int escuros = 0;
    for (int y = painel.top(); y <= painel.bottom(); ++y)
        for (int x = painel.left() - 3; x <= painel.left() + 3; ++x)
            escuros += imagem.pixelColor(x, y) == QColor(40, 40, 40);
    EXPECT_GT(escuros, 4);
    a.ciclos(1);
    g.desenhar();
    EXPECT_EQ(g.curvaPopulacao(0)->scatterStyle().shape(), QCPScatterStyle::ssNone);
}

TEST(GraficosAula, PdfExportadoTrazALegendaComSementeEParametros) {
    Aula a(777u);
    AcessoDocumento::parametrosEditaveis(a.doc()).numIndividuos = 40;
    AcessoDocumento::parametrosEditaveis(a.doc()).tipoGeracoes = 1;
    a.frame.novoMundoComSemente(777u);
    a.ciclos(10);
    CGraficosDlg& g = a.graficos();
    QTemporaryDir pasta;
    const QString pdf = pasta.filePath(QStringLiteral("g.pdf"));
    ASSERT_TRUE(g.exportarPdf(pdf));
    QProcess extrair;
    extrair.start(QStringLiteral(KELDO_PDFTOTEXT), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(extrair.waitForFinished(20000)) << "pdftotext (Debian: poppler-utils)";
    const QString texto = QString::fromUtf8(extrair.readAllStandardOutput()).simplified();
    EXPECT_TRUE(texto.contains(QStringLiteral("KELDO · projeto Untitled"))) << texto.toStdString();
    EXPECT_TRUE(texto.contains(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    EXPECT_TRUE(texto.contains(QStringLiteral("semente 777")));
    EXPECT_TRUE(texto.contains(QStringLiteral("numIndividuos=40"))) << texto.toStdString();
    EXPECT_TRUE(texto.contains(QStringLiteral("tipoGeracoes=1")));
    EXPECT_FALSE(texto.contains(QStringLiteral("qtdAlimento"))); // left at its default
    EXPECT_TRUE(texto.contains(QStringLiteral("Frequências alélicas: gene Visão")));
    // The window itself shows no caption.
    EXPECT_EQ(g.grafico()->findChild<QCPTextElement*>(QStringLiteral("legendaExportacao")),
              nullptr);
}

// The caption names the parameters the world was made with, not those the
// dialog holds now; a world read from a project was made with unknown ones.
TEST(GraficosAula, LegendaComOsParametrosComQueOMundoFoiFeito) {
    Aula a(777u);
    CGraficosDlg& g = a.graficos();
    EXPECT_TRUE(g.textoLegenda().endsWith(
        QStringLiteral("Parâmetros do mundo: todos com os valores padrão")))
        << g.textoLegenda().toStdString();
    // "Aleatória 40" set in the dialog, no Novo: the world still has 100.
    SimulationParameters p = a.doc().parametros();
    p.numIndividuos = 40;
    a.doc().definirParametros(p);
    EXPECT_FALSE(g.textoLegenda().contains(QStringLiteral("numIndividuos")));

    // A defined population of two adults (a male, a female) and an egg.
    p.tipoPopulacao = 1;
    p.listaDefinida = {
        IndividuoTeste(1).estado(EstadoBit::sexo | EstadoBit::adulto | EstadoBit::vivo).pronto(),
        IndividuoTeste(2).estado(EstadoBit::adulto | EstadoBit::vivo).pronto(),
        IndividuoTeste(3).estado(EstadoBit::vivo).pronto()};
    a.doc().definirParametros(p);
    a.frame.novoMundoComSemente(778u);
    const QString texto = g.textoLegenda();
    EXPECT_TRUE(texto.contains(QStringLiteral("semente 778")));
    EXPECT_TRUE(texto.contains(QStringLiteral("numIndividuos=40"))) << texto.toStdString();
    EXPECT_TRUE(texto.contains(QStringLiteral("tipoPopulacao=1")));
    EXPECT_TRUE(texto.endsWith(
        QStringLiteral("População definida: 3 indivíduos: 2 adultos (1 macho, 1 fêmea) e 1 ovo")))
        << texto.toStdString();

    QTemporaryDir pasta;
    const QString projeto = pasta.filePath(QStringLiteral("aula.gen"));
    a.frame.dialogos.salvarComo = [&](const QString&) { return projeto; };
    ASSERT_TRUE(a.frame.salvarComo());
    a.frame.novo();
    ASSERT_TRUE(a.frame.abrirArquivo(projeto));
    EXPECT_TRUE(g.textoLegenda().endsWith(
        QStringLiteral("Parâmetros do mundo: desconhecidos (mundo lido de um projeto)")))
        << g.textoLegenda().toStdString();
}
