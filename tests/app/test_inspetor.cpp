// The arena's inspector: the text of a known individual, the nearest one
// under the mouse, and not a single draw of the simulation taken for it.
#include "AcessoDocumento.h"
#include "IndividuoTeste.h"
#include "LacoEventos.h"
#include "SorteiosContados.h"
#include "app/CGraficosDlg.h"
#include "app/CInspetor.h"
#include "app/CKeldoView.h"
#include "app/CMainFrame.h"
#include <QStatusBar>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::app;

namespace {
// V4 R p L m I3 N (paternal) and V1 r P l M I2 n (maternal); male, X D, Y C.
SpecX conhecido(CKeldoDoc& doc) {
    return IndividuoTeste(17)
        .pais(3, 5)
        .geracao(2)
        .energia(55)
        .em(50.0f, 50.0f)
        .genotipo(0x3D5, 0x02A)
        .estado(EstadoBit::sexo | EstadoBit::detecX | EstadoBit::detecXCuidaY | EstadoBit::adulto |
                EstadoBit::vivo)
        .anexado(doc);
}
} // namespace

TEST(Inspetor, TextoDeUmIndividuoConhecido) {
    CMainFrame frame;
    frame.documento().definirSementeFixa(5u);
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    const SpecX s = conhecido(frame.documento());
    EXPECT_EQ(CInspetor::texto(s).toStdString(),
              "Indivíduo 17 (pai 3, mãe 5)\n"
              "Macho, adulto\n"
              "Geração 2, energia 55\n"
              "Haplótipo paterno: V4 R p L m I3 N\n"
              "Haplótipo materno: V1 r P l M I2 n\n"
              "Cromossomos sexuais: X D, Y C\n"
              "Fenótipo: enxerga a 25; reproduz com energia a partir de " +
                  std::to_string(s.limiarReproducao) + "; morre com energia até " +
                  std::to_string(s.limiarMorte) +
                  ";\n  partilha o alimento; não luta; inteligência 75%; cuida dos filhotes");
    SpecX ovo = s;
    ovo.estado = EstadoBit::detecXCuidaY | EstadoBit::vivo; // female egg, X d and X D
    ovo.anexar(&frame.documento());
    const QString t = CInspetor::texto(ovo);
    EXPECT_TRUE(t.contains(QStringLiteral("\nFêmea, ovo\n")));
    EXPECT_TRUE(t.contains(QStringLiteral("Cromossomos sexuais: X d, X D")));
}

TEST(Inspetor, SegueOMaisProximoSobOMouseSemTirarSorteios) {
    CMainFrame frame;
    CKeldoDoc& doc = frame.documento();
    doc.definirSementeFixa(5u);
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    AcessoDocumento::vivosEditaveis(doc).clear();
    AcessoDocumento::definirOvos(doc, 0);
    AcessoDocumento::vivosEditaveis(doc).push_back(conhecido(doc));
    SpecX outro = conhecido(doc);
    outro.id = 18;
    outro.x = 60.0f; // 64 pixels to the right
    AcessoDocumento::vivosEditaveis(doc).push_back(outro);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CKeldoView* vista = frame.vista();
    frame.graficos(); // the charts read the world too
    frame.janelaGraficos()->mostrarHeterozigose(true);
    QTest::qWait(100);

    const uint32_t antes = doc.gerador().estadoAtual();
    CInspetor* inspetor = frame.inspetor();
    // (323, 242) is where the view puts an item at (50, 50).
    EXPECT_EQ(inspetor->individuoEm(QPoint(323, 242))->id, 17);
    EXPECT_EQ(inspetor->individuoEm(QPoint(380, 245))->id, 18);
    EXPECT_EQ(inspetor->individuoEm(QPoint(352, 242)), nullptr); // farther than 12 pixels from both
    QTest::mouseMove(vista, QPoint(325, 240));
    esperarAte(
        [inspetor] { return inspetor->textoAtual().startsWith(QStringLiteral("Indivíduo 17 ")); });
    EXPECT_TRUE(inspetor->textoAtual().startsWith(QStringLiteral("Indivíduo 17 ")));
    // The individual moves away under a still mouse: the next redraw follows.
    AcessoDocumento::vivosEditaveis(doc)[0].x = 10.0f;
    AcessoDocumento::vivosEditaveis(doc)[1].x = 50.0f;
    inspetor->seguir();
    EXPECT_TRUE(inspetor->textoAtual().startsWith(QStringLiteral("Indivíduo 18 ")));
    frame.janelaGraficos()->desenhar();
    QTest::qWait(50);
    EXPECT_EQ(sorteiosEntre(antes, doc.gerador().estadoAtual()), 0);
    doc.arquivo().marcarSalvo();
}

// An individual at the arena's bottom edge: its tooltip goes above the
// pointer, and the status line below the arena stays readable.
TEST(Inspetor, DicaNuncaCobreALinhaDeStatus) {
    CMainFrame frame;
    CKeldoDoc& doc = frame.documento();
    doc.definirSementeFixa(5u);
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    AcessoDocumento::vivosEditaveis(doc).clear();
    AcessoDocumento::definirOvos(doc, 0);
    SpecX embaixo = conhecido(doc);
    embaixo.y = 98.0f;
    AcessoDocumento::vivosEditaveis(doc).push_back(embaixo);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CKeldoView* vista = frame.vista();
    const QPoint pixel(323, vista->height() * 98 / 99);
    QTest::mouseMove(vista, pixel);
    ASSERT_TRUE(esperarAte([] { return CInspetor::dica() != nullptr; }, 5000));
    const QRect dica = CInspetor::dica()->geometry();
    const QWidget* status = frame.statusBar();
    const QRect linha(status->mapToGlobal(QPoint(0, 0)), status->size());
    EXPECT_FALSE(dica.intersects(linha));
    EXPECT_LE(dica.bottom(), vista->mapToGlobal(QPoint(0, vista->height() - 1)).y());
    EXPECT_LT(dica.bottom(), vista->mapToGlobal(pixel).y()); // above the pointer
    // In the middle of the arena it stays below the pointer, as tooltips go.
    const QRect area(0, 0, 640, 480);
    EXPECT_EQ(CInspetor::lugarDaDica(QPoint(300, 200), QSize(200, 120), area), QPoint(302, 216));
    EXPECT_EQ(CInspetor::lugarDaDica(QPoint(300, 400), QSize(200, 120), area), QPoint(302, 276));
    QToolTip::hideText();
    doc.arquivo().marcarSalvo();
}
