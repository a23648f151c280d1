// The program icon in the simulator's window and About box.
#include "RespostaModal.h"
#include "app/CMainFrame.h"
#include "gui/CAboutDlg.h"
#include "gui/IconePrograma.h"
#include <QAction>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

TEST(IconePrograma, JanelaECaixaSobreDoSimuladorMostramOIconeDoPrograma) {
    CMainFrame janela;
    janela.documento().definirSementeFixa(12345u);
    ASSERT_TRUE(janela.iniciarDocumento(QString()));
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    ASSERT_FALSE(janela.windowIcon().isNull());
    EXPECT_EQ(janela.windowIcon().pixmap(64, 64).toImage().convertToFormat(
                  QImage::Format_ARGB32_Premultiplied),
              IconePrograma::imagem(64));

    QImage figura;
    RespostaModal resposta([&](QWidget* modal) {
        if (auto* sobre = qobject_cast<CAboutDlg*>(modal))
            figura = sobre->rotuloIcone()->pixmap().toImage();
        modal->close();
    });
    janela.findChild<QAction*>(QStringLiteral("acaoSobre"))->trigger();
    EXPECT_TRUE(resposta.vista);
    ASSERT_FALSE(figura.isNull());
    EXPECT_EQ(figura.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              IconePrograma::imagem(32));
    janela.documento().arquivo().marcarSalvo();
}
