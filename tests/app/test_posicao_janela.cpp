// Where the chart window opens: never over the arena, on the projector's
// 1024 × 768 as on a 1280 × 1024 screen, wherever the main window stands.
#include "app/CGraficosDlg.h"
#include "app/CKeldoView.h"
#include "app/CMainFrame.h"
#include "app/PosicaoJanela.h"
#include <QAction>
#include <QSettings>
#include <gtest/gtest.h>

using namespace keldo::app;

namespace {
// A window manager's title bar and borders around the client area.
const QMargins decoracao(4, 30, 4, 4);
} // namespace

TEST(PosicaoJanela, GraficosNuncaCobremAArena) {
    CMainFrame frame;
    frame.documento().definirSementeFixa(1u);
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    frame.adjustSize();
    const QSize cliente = frame.size();
    const QPoint vista = frame.vista()->mapTo(&frame, QPoint(0, 0));
    const QSize moldura = cliente.grownBy(decoracao);
    const QSize extra(decoracao.left() + decoracao.right(), decoracao.top() + decoracao.bottom());
    const QSize desejado = CGraficosDlg::tamanhoDesejado() + extra;
    const QSize minimo = CGraficosDlg::tamanhoMinimo() + extra;

    for (const QSize tamanhoTela : {QSize(1024, 768), QSize(1280, 1024)}) {
        // A 24-pixel panel at the bottom of the screen.
        const QRect tela(QPoint(0, 0), tamanhoTela - QSize(0, 24));
        const QPoint centro((tela.width() - moldura.width()) / 2,
                            (tela.height() - moldura.height()) / 2);
        for (const QPoint canto :
             {QPoint(0, 0), QPoint(60, 40), centro, QPoint(tela.width() - moldura.width(), 0)}) {
            const QRect principal(canto, moldura);
            const QRect arena(canto + QPoint(decoracao.left(), decoracao.top()) + vista,
                              QSize(640, 480));
            const QRect r = PosicaoJanela::aoLado(tela, principal, desejado, minimo);
            const std::string caso = std::to_string(tamanhoTela.width()) + " at " +
                                     std::to_string(canto.x()) + "," + std::to_string(canto.y());
            EXPECT_FALSE(r.intersects(arena)) << caso;
            EXPECT_FALSE(r.intersects(principal)) << caso;
            EXPECT_TRUE(tela.contains(r)) << caso;
            EXPECT_GT(r.width() * r.height(), 0) << caso;
            if (canto == QPoint(0, 0)) { // room to the right on both screens
                EXPECT_GT(r.left(), principal.right()) << caso;
                EXPECT_GE(r.width(), minimo.width()) << caso;
                EXPECT_EQ(r.height(), std::min(desejado.height(), tela.height())) << caso;
            }
        }
    }
}

TEST(PosicaoJanela, DireitaSenaoAbaixoSenaoAMaiorFaixa) {
    const QSize minimo(300, 200);
    const QSize desejado(400, 300);
    // Right when it has room.
    EXPECT_EQ(
        PosicaoJanela::aoLado(QRect(0, 0, 1000, 800), QRect(0, 0, 500, 500), desejado, minimo),
        QRect(504, 0, 400, 300));
    // Else below, level with the main window's left edge.
    EXPECT_EQ(
        PosicaoJanela::aoLado(QRect(0, 0, 700, 800), QRect(100, 0, 500, 500), desejado, minimo),
        QRect(100, 504, 400, 296));
    // Else the largest strip (here the left one), shrunk to fit it.
    EXPECT_EQ(
        PosicaoJanela::aoLado(QRect(0, 0, 800, 600), QRect(250, 50, 500, 500), desejado, minimo),
        QRect(0, 50, 246, 300));
}

// Where the user left the chart window is where it opens at the next start.
TEST(PosicaoJanela, LembradaDeUmInicioAoOutro) {
    QSettings(QStringLiteral("Keldo"), QStringLiteral("keldo"))
        .remove(QStringLiteral("graficos/geometria"));
    const auto abrir = [](CMainFrame& frame) {
        frame.documento().definirSementeFixa(1u);
        EXPECT_TRUE(frame.iniciarDocumento(QString()));
        frame.show();
        frame.findChild<QAction*>(QStringLiteral("acaoGraficos"))->trigger();
        return frame.janelaGraficos();
    };
    QRect deixada;
    {
        CMainFrame frame;
        CGraficosDlg* g = abrir(frame);
        ASSERT_NE(g, nullptr);
        g->setGeometry(QRect(QPoint(37, 41), CGraficosDlg::tamanhoMinimo()));
        deixada = g->geometry();
        g->hide();
    }
    CMainFrame outro;
    CGraficosDlg* g = abrir(outro);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->geometry(), deixada);
}

// With no strip wide enough (the main window centred on a projector), the
// main window moves just far enough for the charts beside it, never off the screen.
TEST(PosicaoJanela, PrincipalAbreEspacoQuandoNenhumaFaixaCabe) {
    const QRect tela(0, 0, 1024, 768);
    const QSize desejado(690, 750);
    const QSize minimo(350, 330);
    const QRect centrada(191, 114, 642, 539);
    const QPoint lugar = PosicaoJanela::lugarDoPrincipal(tela, centrada, desejado, minimo);
    EXPECT_EQ(lugar, QPoint(0, 114));
    const QRect r = PosicaoJanela::aoLado(tela, QRect(lugar, centrada.size()), desejado, minimo);
    EXPECT_GE(r.width(), minimo.width());
    EXPECT_TRUE(tela.contains(r));
    EXPECT_FALSE(r.intersects(QRect(lugar, centrada.size())));
    // Where a strip already holds the minimum, the main window stays.
    EXPECT_EQ(PosicaoJanela::lugarDoPrincipal(QRect(0, 0, 1280, 1024), QRect(0, 0, 642, 539),
                                              desejado, minimo),
              QPoint(0, 0));
    // A move left just far enough for the desired width on a wide screen.
    EXPECT_EQ(PosicaoJanela::lugarDoPrincipal(QRect(0, 0, 1600, 900), QRect(600, 200, 642, 539),
                                              QSize(300, 750), minimo),
              QPoint(600, 200));
    EXPECT_EQ(PosicaoJanela::lugarDoPrincipal(QRect(0, 0, 1100, 700), QRect(300, 80, 642, 539),
                                              QSize(400, 750), minimo),
              QPoint(54, 80));
}
