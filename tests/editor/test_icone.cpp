#include "EditorFixture.h"
#include "gui/CAboutDlg.h"
#include "gui/IconePrograma.h"

using namespace keldo::gui;

namespace {

QImage argb(const QImage& i) {
    return i.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

TEST_F(Editor, JanelaECaixaSobreDoEditorMostramOIconeDoPrograma) {
    ASSERT_FALSE(janela->windowIcon().isNull());
    EXPECT_EQ(argb(janela->windowIcon().pixmap(64, 64).toImage()), IconePrograma::imagem(64));

    QImage figura;
    RespostaModal resposta([&](QWidget* modal) {
        if (auto* sobre = qobject_cast<CAboutDlg*>(modal))
            figura = sobre->rotuloIcone()->pixmap().toImage();
        modal->close();
    });
    janela->acaoSobre()->trigger();
    EXPECT_TRUE(resposta.vista);
    ASSERT_FALSE(figura.isNull());
    EXPECT_EQ(argb(figura), IconePrograma::imagem(32));
}
