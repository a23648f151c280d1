// The program icon both desktop programs show.
#include "gui/IconePrograma.h"
#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

using namespace keldo::gui;

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
