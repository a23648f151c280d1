// The presentation mode: full screen over a hidden main window, Esc back;
// many cycles per redraw, each redraw the main view's own paint (the same
// draws), so a run there is the run of cycles and paints it says it is.
#include "LacoEventos.h"
#include "app/CGraficosDlg.h"
#include "app/CKeldoView.h"
#include "app/CMainFrame.h"
#include "app/CModoApresentacao.h"
#include <QAction>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace keldo::app;

namespace {

struct Janela {
    CMainFrame frame;
    explicit Janela(bool mostrar) {
        frame.documento().definirSementeFixa(2024u);
        EXPECT_TRUE(frame.iniciarDocumento(QString()));
        if (mostrar) {
            frame.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
        }
    }
    ~Janela() { frame.documento().arquivo().marcarSalvo(); }
};

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
    EXPECT_EQ(a->graficos()->numPaineis(), 2); // population and Visão
    a->passo();
    EXPECT_EQ(j.frame.documento().tempo(), 1);
    QTest::keyClick(a, Qt::Key_Escape);
    EXPECT_TRUE(esperarAte([&j] { return j.frame.apresentacao() == nullptr; }, 5000));
    EXPECT_TRUE(j.frame.isVisible());
}

// At five cycles a redraw the world is the one of five cycles, one paint of
// the arena, five cycles, one paint...: the same generator, the same draws.
TEST(ModoApresentacao, CiclosPorQuadroSaoCiclosEntrePinturasDaArena) {
    Janela j(false); // never painted before: the presentation's paints are the only ones
    j.frame.modoApresentacao();
    CModoApresentacao* a = j.frame.apresentacao();
    ASSERT_NE(a, nullptr);
    a->definirCiclosPorQuadro(5);
    a->iniciar();
    ASSERT_TRUE(esperarAte([a] { return a->ciclosExecutados() >= 40; }));
    a->parar();
    const long long quadros = a->quadrosDesenhados();
    EXPECT_EQ(a->ciclosExecutados(), 5 * quadros);

    Janela gemea(false);
    QImage imagem(640, 480, QImage::Format_RGB32);
    for (long long q = 0; q < quadros; ++q) {
        for (int c = 0; c < 5; ++c)
            gemea.frame.documento().executarCiclo();
        QPainter p(&imagem);
        gemea.frame.vista()->desenhar(p);
    }
    const CKeldoDoc& d1 = j.frame.documento();
    const CKeldoDoc& d2 = gemea.frame.documento();
    EXPECT_EQ(d1.tempo(), d2.tempo());
    EXPECT_EQ(const_cast<CKeldoDoc&>(d1).gerador().estadoAtual(),
              const_cast<CKeldoDoc&>(d2).gerador().estadoAtual());
    ASSERT_EQ(d1.vivos().size(), d2.vivos().size());
    for (size_t k = 0; k < d1.vivos().size(); ++k) {
        EXPECT_EQ(d1.vivos()[k].x, d2.vivos()[k].x) << k;
        EXPECT_EQ(d1.vivos()[k].energia, d2.vivos()[k].energia) << k;
    }
    a->close();
}
