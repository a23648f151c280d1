// The presentation mode: full screen over a hidden main window, Esc back; the
// arena as tall as the legend and controls under it allow; a legend of all
// the arena draws; keys that work whatever part of the window has the focus;
// and runs that take the main window's draws, so a seed gives the same world.
#include "AcessoDocumento.h"
#include "LacoEventos.h"
#include "RespostaModal.h"
#include "app/CGraficosDlg.h"
#include "app/CKeldoView.h"
#include "app/CMainFrame.h"
#include "app/CModoApresentacao.h"
#include "app/ImagensArena.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPainter>
#include <QSpinBox>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <set>

using namespace keldo::app;
using keldo::sim::AcessoDocumento;

namespace {

struct Janela {
    CMainFrame frame;
    explicit Janela(bool mostrar, int intervaloAnimacao = 1) {
        frame.documento().definirSementeFixa(2024u);
        AcessoDocumento::parametrosEditaveis(frame.documento()).intervaloAnimacao =
            intervaloAnimacao;
        EXPECT_TRUE(frame.iniciarDocumento(QString()));
        if (mostrar) {
            frame.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
        }
    }
    ~Janela() { frame.documento().arquivo().marcarSalvo(); }
    CKeldoDoc& doc() { return frame.documento(); }
    CModoApresentacao* abrir() {
        frame.modoApresentacao();
        CModoApresentacao* a = frame.apresentacao();
        if (a) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(a));
        }
        return a;
    }
};

// The main window's run: one paint of the arena after each cycle that asks for it.
void comoAJanelaPrincipal(Janela& j, int ciclos) {
    QImage imagem(ImagensArena::larguraFundo, ImagensArena::alturaFundo, QImage::Format_RGB32);
    const int intervalo = j.doc().parametros().intervaloAnimacao;
    for (int c = 0; c < ciclos; ++c) {
        j.doc().executarCiclo();
        if (j.doc().tempo() % intervalo == 0) {
            QPainter p(&imagem);
            j.frame.vista()->desenhar(p);
        }
    }
}

void esperarMesmoMundo(Janela& a, Janela& b) {
    CKeldoDoc& d1 = a.doc();
    CKeldoDoc& d2 = b.doc();
    EXPECT_EQ(d1.tempo(), d2.tempo());
    EXPECT_EQ(d1.gerador().estadoAtual(), d2.gerador().estadoAtual());
    ASSERT_EQ(d1.vivos().size(), d2.vivos().size());
    for (size_t k = 0; k < d1.vivos().size(); ++k) {
        EXPECT_EQ(d1.vivos()[k].x, d2.vivos()[k].x) << k;
        EXPECT_EQ(d1.vivos()[k].y, d2.vivos()[k].y) << k;
        EXPECT_EQ(d1.vivos()[k].energia, d2.vivos()[k].energia) << k;
    }
}

} // namespace

TEST(ModoApresentacao, F11AbreEmTelaCheiaEEscVolta) {
    Janela j(true);
    QAction* acao = j.frame.findChild<QAction*>(QStringLiteral("acaoApresentacao"));
    ASSERT_NE(acao, nullptr);
    EXPECT_EQ(acao->text(), QStringLiteral("&Modo de apresentação\tF11"));
    QTest::keyClick(&j.frame, Qt::Key_F11);
    CModoApresentacao* a = j.frame.apresentacao();
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isFullScreen());
    EXPECT_FALSE(j.frame.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(a));
    EXPECT_EQ(a->graficos()->numPaineis(), 2); // population and Visão
    a->passo();
    EXPECT_EQ(j.doc().tempo(), 1);
    QTest::keyClick(a, Qt::Key_Escape);
    EXPECT_TRUE(esperarAte([&j] { return j.frame.apresentacao() == nullptr; }, 5000));
    EXPECT_TRUE(j.frame.isVisible());
}

// The chart window, where the focus often is in a lesson, answers F11 too.
TEST(ModoApresentacao, F11DaJanelaDeGraficos) {
    Janela j(true);
    j.frame.graficos();
    CGraficosDlg* g = j.frame.janelaGraficos();
    g->windowHandle()->requestActivate();
    ASSERT_TRUE(esperarAte([g] { return QApplication::activeWindow() == g; }, 5000));
    QTest::keyClick(g, Qt::Key_F11);
    ASSERT_NE(j.frame.apresentacao(), nullptr);
    j.frame.apresentacao()->close();
}

// The lesson's charts go to the projector and come back as the teacher left them.
TEST(ModoApresentacao, GraficosComAsEscolhasDaJanelaDeGraficosNasDuasDirecoes) {
    Janela j(true);
    j.frame.graficos();
    CGraficosDlg* g = j.frame.janelaGraficos();
    g->marcarGene(Genoma::Visao, false);
    g->marcarGene(Genoma::Neutro, true);
    g->selecionarGene(Genoma::Neutro);
    g->mostrarHeterozigose(true);
    g->usarGeracoes(true);
    CModoApresentacao* a = j.abrir();
    ASSERT_NE(a, nullptr);
    CGraficosDlg* embutida = a->graficos();
    EXPECT_EQ(embutida->painelGene(Genoma::Visao), nullptr);
    EXPECT_NE(embutida->painelGene(Genoma::Neutro), nullptr);
    EXPECT_EQ(embutida->geneSelecionado(), Genoma::Neutro);
    EXPECT_NE(embutida->painelHeterozigose(), nullptr);
    EXPECT_TRUE(embutida->emGeracoes());
    embutida->marcarGene(Genoma::Morte, true);
    embutida->usarGeracoes(false);
    a->close();
    ASSERT_TRUE(esperarAte([&j] { return j.frame.apresentacao() == nullptr; }, 5000));
    EXPECT_NE(g->painelGene(Genoma::Morte), nullptr);
    EXPECT_NE(g->painelGene(Genoma::Neutro), nullptr);
    EXPECT_FALSE(g->emGeracoes());
    EXPECT_TRUE(g->heterozigoseMostrada());
}

// Whatever has the focus (the charts' list, a tick box, a button, the plot),
// Space starts and stops, the right arrow runs exactly one cycle, + and -
// change the speed and Esc goes back; the key never reaches the focused part.
TEST(ModoApresentacao, TeclasValemComOFocoEmQualquerParte) {
    Janela j(true);
    CModoApresentacao* a = j.abrir();
    ASSERT_NE(a, nullptr);
    // A key that pressed a focused "Exportar..." would open its file dialog.
    RespostaModal dialogos([](QWidget* janela) { janela->close(); }, /*todas=*/true);
    std::vector<QWidget*> focos{a};
    for (QWidget* w : a->findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus && w->isVisible())
            focos.push_back(w);
    auto* lista = a->graficos()->findChild<QListWidget*>();
    ASSERT_NE(lista, nullptr);
    ASSERT_GE(focos.size(), 4u);
    for (QWidget* foco : focos) {
        SCOPED_TRACE(foco->metaObject()->className());
        foco->setFocus();
        ASSERT_TRUE(esperarAte(
            [foco] { return QApplication::focusWidget() == foco || foco->hasFocus(); }, 5000));
        const int linha = lista->currentRow();
        const Qt::CheckState marca = lista->item(0)->checkState();
        auto* caixa = qobject_cast<QAbstractButton*>(foco);
        const bool marcada = caixa && caixa->isChecked();

        QTest::keyClick(foco, Qt::Key_Space);
        EXPECT_TRUE(a->executando());
        QTest::keyClick(foco, Qt::Key_Space);
        EXPECT_FALSE(a->executando());

        const int tempo = j.doc().tempo();
        const long long ciclos = a->ciclosExecutados();
        QTest::keyClick(foco, Qt::Key_Right);
        EXPECT_EQ(j.doc().tempo(), tempo + 1);
        EXPECT_EQ(a->ciclosExecutados(), ciclos + 1);
        EXPECT_FALSE(a->executando());

        a->definirCiclosPorQuadro(10);
        QTest::keyClick(foco, Qt::Key_Plus);
        EXPECT_EQ(a->ciclosPorQuadro(), 20);
        QTest::keyClick(foco, Qt::Key_Minus);
        QTest::keyClick(foco, Qt::Key_Minus);
        EXPECT_EQ(a->ciclosPorQuadro(), 5);

        EXPECT_EQ(lista->currentRow(), linha);
        EXPECT_EQ(lista->item(0)->checkState(), marca);
        if (caixa) {
            EXPECT_EQ(caixa->isChecked(), marcada);
        }
    }
    EXPECT_EQ(dialogos.vistas, 0);
    EXPECT_TRUE(a->graficos()->isVisible());
    lista->setFocus();
    QTest::keyClick(lista, Qt::Key_Escape);
    EXPECT_TRUE(esperarAte([&j] { return j.frame.apresentacao() == nullptr; }, 5000));
    EXPECT_TRUE(j.frame.isVisible());
}

// A run paced by "Tempo real" still steps at once, and only by one cycle.
TEST(ModoApresentacao, PassoEUmCicloMesmoComTempoReal) {
    Janela j(false);
    AcessoDocumento::parametrosEditaveis(j.doc()).tempoRealCiclo = 3600000;
    CModoApresentacao* a = j.abrir();
    ASSERT_NE(a, nullptr);
    for (int k = 1; k <= 3; ++k) {
        a->passo();
        EXPECT_EQ(j.doc().tempo(), k);
        EXPECT_EQ(a->ciclosExecutados(), k);
    }
    a->close();
}

TEST(ModoApresentacao, VelocidadeDeUmAteOMaximoPorPassosDeUmDoisCinco) {
    Janela j(false);
    CModoApresentacao* a = j.abrir();
    ASSERT_NE(a, nullptr);
    std::vector<int> vistas{a->ciclosPorQuadro()};
    for (int k = 0; k < 15; ++k) {
        a->maisRapido();
        vistas.push_back(a->ciclosPorQuadro());
    }
    EXPECT_EQ(vistas, (std::vector<int>{1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 5000,
                                        5000, 5000, 5000}));
    EXPECT_EQ(CModoApresentacao::maximoCiclosPorQuadro, 5000);
    a->definirCiclosPorQuadro(300); // typed between two steps
    a->maisLento();
    EXPECT_EQ(a->ciclosPorQuadro(), 200);
    for (int k = 0; k < 12; ++k)
        a->maisLento();
    EXPECT_EQ(a->ciclosPorQuadro(), 1);
    // The keys are shown where the buttons are.
    EXPECT_TRUE(a->findChild<QAbstractButton*>(QStringLiteral("botaoPasso"))
                    ->text()
                    .contains(QStringLiteral("→")));
    EXPECT_TRUE(a->findChild<QAbstractButton*>(QStringLiteral("botaoIniciarParar"))
                    ->text()
                    .contains(QStringLiteral("Espaço")));
    a->close();
}

// Every kind of thing the arena draws is named beside its own picture: the
// colours of the Morte genotypes, the two sexes, eggs, food and both kinds of
// obstacle; in the window's large type.
TEST(ModoApresentacao, LegendaNomeiaTudoQueAArenaDesenhaComAsMesmasFiguras) {
    using namespace ImagensArena;
    const auto entradas = CModoApresentacao::legenda();
    const auto figura = [&entradas](const QString& texto) {
        for (const auto& e : entradas)
            if (e.texto == texto)
                return e.imagem.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ADD_FAILURE() << texto.toStdString() << " is not in the legend";
        return QImage();
    };
    const auto sprite = [](int i) { return comTransparencia(imagemItem(i), corTransparente()); };
    EXPECT_EQ(figura(QStringLiteral("verde: MM")), sprite(machoMM));
    EXPECT_EQ(figura(QStringLiteral("vermelho: Mm")), sprite(machoMm));
    EXPECT_EQ(figura(QStringLiteral("azul: mm")), sprite(machomm));
    EXPECT_EQ(figura(QStringLiteral("♂ macho")), sprite(machoMM));
    EXPECT_EQ(figura(QStringLiteral("♀ fêmea")), sprite(femeaMM));
    EXPECT_EQ(figura(QStringLiteral("ovo")), sprite(ovo));
    EXPECT_EQ(figura(QStringLiteral("alimento")), sprite(alimento));

    // The obstacle samples are the backgrounds' own drawing: a hedge of level
    // "30" and a pool of level "12", cut from the pictures the arena shows.
    const auto recorte = [](int bitmap, char nivel, bool grande) {
        for (int metade = 0; metade < 2; ++metade)
            for (const Rect& r : CKeldoDoc::tabelaObstaculos(nivel, metade))
                if ((std::min(r.right - r.left, r.bottom - r.top) >= 40) == grande)
                    return imagemFundo(bitmap).copy(r.left + 2, r.top + 2, 16, 16);
        return QImage();
    };
    const QImage sebe = figura(QStringLiteral("obstáculo"));
    const QImage agua = figura(QStringLiteral("obstáculo: água"));
    ASSERT_FALSE(sebe.isNull());
    ASSERT_FALSE(agua.isNull());
    EXPECT_EQ(sebe.convertToFormat(QImage::Format_RGB32).copy(4, 4, 16, 16),
              recorte(140, 'd', true));
    EXPECT_EQ(agua.convertToFormat(QImage::Format_RGB32).copy(4, 4, 16, 16),
              recorte(141, 'f', false));

    // In the window: each name in a label, each picture doubled beside it.
    Janela j(false);
    CModoApresentacao* a = j.abrir();
    ASSERT_NE(a, nullptr);
    QWidget* painel = a->findChild<QWidget*>(QStringLiteral("legendaApresentacao"));
    ASSERT_NE(painel, nullptr);
    std::set<QString> textos;
    int figuras = 0;
    for (QLabel* l : painel->findChildren<QLabel*>()) {
        textos.insert(l->text());
        if (!l->pixmap().isNull()) {
            ++figuras;
            EXPECT_EQ(l->pixmap().height(), CModoApresentacao::ladoIconeLegenda);
        }
        EXPECT_GE(l->font().pointSizeF(), 1.5 * QApplication::font().pointSizeF());
    }
    for (const auto& e : entradas)
        EXPECT_TRUE(textos.count(e.texto)) << e.texto.toStdString();
    EXPECT_EQ(figuras, static_cast<int>(entradas.size()));
    a->close();
}

// A 16:9 screen: the arena takes the height the legend and controls leave;
// a 4:3 one: the width the charts leave; 5:4 between. Either way no band is
// left empty under it, and the charts keep their least width.
TEST(ModoApresentacao, ArenaOcupaAAlturaQueALegendaDeixa) {
    Janela j(false);
    CModoApresentacao* a = j.abrir();
    ASSERT_NE(a, nullptr);
    a->showNormal();
    const int minimoGraficos = CGraficosDlg::tamanhoMinimo().width();
    for (const QSize tela : {QSize(1920, 1080), QSize(1280, 1024), QSize(1024, 768)}) {
        SCOPED_TRACE(tela.width());
        a->resize(tela);
        ASSERT_TRUE(esperarAte([a, tela] { return a->size() == tela; }, 5000));
        rodar(20);
        const QRect arena = a->retanguloArena();
        const QMargins m = a->layout()->contentsMargins();
        const int altura = tela.height() - m.top() - m.bottom();
        const int rodape = a->rodape()->heightForWidth(arena.width());
        EXPECT_NEAR(arena.width() * 3, arena.height() * 4, 4);
        EXPECT_EQ(arena.top(), m.top());
        EXPECT_GE(a->graficos()->width(), minimoGraficos);
        // As tall as the room under the legend and controls allows, unless
        // the charts would then fall under their least width.
        const bool pelaAltura = arena.height() >= altura - rodape - 24;
        const bool pelaLargura = a->graficos()->width() <= minimoGraficos + 24;
        EXPECT_TRUE(pelaAltura || pelaLargura) << arena.height() << " " << rodape;
        EXPECT_GE(arena.height() + rodape, altura * 9 / 10);
        EXPECT_LE(arena.height() + rodape, altura);
        EXPECT_GE(a->rodape()->geometry().bottom(), tela.height() - m.bottom() - 2);
    }
    EXPECT_GE(a->retanguloArena().width(), 1024 * 6 / 10);
    a->close();
}

// At seven cycles a redraw, with three Passo first, the world is the one the
// main window makes with the same seed: there a paint follows each cycle, here
// a paint or its draws alone; and the first picture costs no draw.
TEST(ModoApresentacao, MesmaSementeMesmoMundoQueNaJanelaPrincipal) {
    for (const int intervalo : {1, 3}) {
        SCOPED_TRACE(intervalo);
        Janela j(false, intervalo); // never painted: the presentation's paints are the only ones
        CModoApresentacao* a = j.abrir();
        ASSERT_NE(a, nullptr);
        for (int k = 0; k < 3; ++k)
            a->passo();
        EXPECT_EQ(j.doc().tempo(), 3);
        a->definirCiclosPorQuadro(7);
        a->iniciar();
        ASSERT_TRUE(esperarAte([a] { return a->ciclosExecutados() >= 60; }));
        a->parar();
        EXPECT_EQ(a->ciclosExecutados(), j.doc().tempo());
        EXPECT_GT(a->quadrosDesenhados(), 3);

        Janela gemea(false, intervalo);
        comoAJanelaPrincipal(gemea, j.doc().tempo());
        esperarMesmoMundo(j, gemea);
        a->close();
    }
}
