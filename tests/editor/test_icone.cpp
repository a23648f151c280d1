#include "EditorFixture.h"
#include "gui/CAboutDlg.h"
#include "gui/IconePrograma.h"

namespace {

QImage argb(const QImage& i) {
    return i.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

TEST(IconePrograma, FiguraDeKeldoSvgEmQualquerTamanho) {
    // Points of the picture in the drawing's 64-unit grid: field, food,
    // female, male, and the transparent corner outside the rounded frame.
    const QImage g = IconePrograma::imagem(64);
    EXPECT_EQ(g.pixelColor(8, 56), QColor(0x99, 0xcc, 0xff));
    EXPECT_EQ(g.pixelColor(48, 16), QColor(0x28, 0x96, 0x3c));
    EXPECT_EQ(g.pixelColor(22, 24), QColor(0xdc, 0x23, 0x23));
    EXPECT_EQ(g.pixelColor(40, 48), QColor(0x23, 0x50, 0xe6));
    EXPECT_EQ(g.pixelColor(0, 0).alpha(), 0);
    const QIcon i = IconePrograma::icone();
    for (int lado : {16, 32, 48})
        EXPECT_EQ(i.pixmap(lado, lado).size(), QSize(lado, lado));
}

TEST_F(Editor, JanelaECaixaSobreDoEditorMostramOIconeDoPrograma) {
    ASSERT_FALSE(janela->windowIcon().isNull());
    EXPECT_EQ(argb(janela->windowIcon().pixmap(64, 64).toImage()), IconePrograma::imagem(64));

    QImage figura;
    bool vista = false;
    QTimer relogio;
    relogio.setInterval(10);
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        vista = true;
        if (auto* sobre = qobject_cast<CAboutDlg*>(modal))
            figura = sobre->rotuloIcone()->pixmap().toImage();
        modal->close();
    });
    relogio.start();
    janela->acaoSobre()->trigger();
    relogio.stop();
    EXPECT_TRUE(vista);
    ASSERT_FALSE(figura.isNull());
    EXPECT_EQ(argb(figura), IconePrograma::imagem(32));
}
