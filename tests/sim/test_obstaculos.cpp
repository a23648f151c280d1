// Obstacle layouts and the two geometric queries.
#include "AcessoDocumento.h"
#include "sim/CKeldoDoc.h"
#include <gtest/gtest.h>
#include <string>

using namespace keldo::sim;

namespace {
void nivel(CKeldoDoc& doc, const std::string& texto) {
    AcessoDocumento::parametrosEditaveis(doc).nivelObstaculos = texto;
    AcessoDocumento::escolherNivel(doc);
    AcessoDocumento::construirObstaculos(doc);
}

// With a 99 x 99 arena an arena coordinate is its own pixel.
void pixelPorPixel(CKeldoDoc& doc) {
    doc.definirArena(Rect{0, 0, 99, 99});
}
} // namespace

TEST(Obstaculos, NiveisCodigosEFundos) {
    struct Caso {
        const char* texto;
        char codigo;
        int fundo;
        size_t esquerda, direita;
    } casos[] = {{"0", 'r', 145, 0, 0},    {"12", 'f', 141, 6, 6},   {"15", 'm', 142, 6, 9},
                 {"30", 'd', 143, 15, 14}, {"20", 'd', 143, 15, 14}, {"", 'd', 143, 15, 14}};
    for (const Caso& c : casos) {
        CKeldoDoc doc;
        nivel(doc, c.texto);
        EXPECT_EQ(doc.codigoNivel(), c.codigo) << c.texto;
        EXPECT_EQ(doc.bitmapFundo(), c.fundo) << c.texto;
        EXPECT_EQ(CKeldoDoc::tabelaObstaculos(doc.codigoNivel(), 0).size(), c.esquerda);
        EXPECT_EQ(CKeldoDoc::tabelaObstaculos(doc.codigoNivel(), 1).size(), c.direita);
    }
    // Spot checks of the tables: first and last rectangle of each.
    EXPECT_EQ(CKeldoDoc::tabelaObstaculos('f', 0).front(), (Rect{90, 70, 135, 115}));
    EXPECT_EQ(CKeldoDoc::tabelaObstaculos('f', 1).back(), (Rect{547, 374, 572, 399}));
    EXPECT_EQ(CKeldoDoc::tabelaObstaculos('m', 1).back(), (Rect{548, 426, 573, 451}));
    EXPECT_EQ(CKeldoDoc::tabelaObstaculos('d', 0).back(), (Rect{259, 369, 304, 414}));
    EXPECT_EQ(CKeldoDoc::tabelaObstaculos('d', 1)[1], (Rect{335, 97, 380, 140}));
}

// left <= px < right and top <= py < bottom.
TEST(Obstaculos, PontoNasBordasDoRetangulo) {
    CKeldoDoc doc;
    nivel(doc, "12");
    pixelPorPixel(doc);
    const Rect r{90, 70, 135, 115};
    EXPECT_EQ(*AcessoDocumento::pontoEmObstaculo(doc, 90, 70), r);
    EXPECT_EQ(*AcessoDocumento::pontoEmObstaculo(doc, 134, 114), r);
    EXPECT_EQ(AcessoDocumento::pontoEmObstaculo(doc, 89, 70), nullptr);
    EXPECT_EQ(AcessoDocumento::pontoEmObstaculo(doc, 90, 69), nullptr);
    EXPECT_EQ(AcessoDocumento::pontoEmObstaculo(doc, 135, 100), nullptr);
    EXPECT_EQ(AcessoDocumento::pontoEmObstaculo(doc, 100, 115), nullptr);
}

// Pixels come from arena.right * x / 99 in integers, truncated.
TEST(Obstaculos, MapeamentoParaPixelsTrunca) {
    CKeldoDoc doc;
    nivel(doc, "12");
    EXPECT_EQ(doc.arena(), (Rect{0, 0, 640, 480}));
    // (12, 52) maps to pixel (77.57.., 252.1..) -> (77, 252): inside (53,250,78,275).
    ASSERT_NE(AcessoDocumento::pontoEmObstaculo(doc, 12, 52), nullptr);
    EXPECT_EQ(*AcessoDocumento::pontoEmObstaculo(doc, 12, 52), (Rect{53, 250, 78, 275}));
    EXPECT_EQ(AcessoDocumento::pontoEmObstaculo(doc, 13, 52), nullptr);
    // (14, 15) -> (90, 72): the left edge of the first rectangle.
    EXPECT_NE(AcessoDocumento::pontoEmObstaculo(doc, 14, 15), nullptr);
    EXPECT_EQ(AcessoDocumento::pontoEmObstaculo(doc, 13, 15), nullptr);
    // A larger view moves the obstacles.
    doc.definirArena(Rect{0, 0, 1280, 960});
    EXPECT_EQ(AcessoDocumento::pontoEmObstaculo(doc, 12, 52), nullptr);
    EXPECT_NE(AcessoDocumento::pontoEmObstaculo(doc, 7, 8), nullptr); // (90, 77)
}

// Overlapping rectangles: the first in table order is returned.
TEST(Obstaculos, PrimeiroRetanguloEmOrdemDaTabela) {
    CKeldoDoc doc;
    nivel(doc, "30");
    pixelPorPixel(doc);
    const Rect* r = AcessoDocumento::pontoEmObstaculo(
        doc, 262, 180); // in (238,159,263,184) and (262,176,287,201)
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(*r, (Rect{238, 159, 263, 184}));
    EXPECT_EQ(*AcessoDocumento::pontoEmObstaculo(doc, 263, 180), (Rect{262, 176, 287, 201}));
    EXPECT_EQ(*AcessoDocumento::pontoEmObstaculo(doc, 560, 440),
              (Rect{551, 431, 576, 456})); // right table
}

TEST(Obstaculos, NivelZeroESemTabelasNadaBloqueia) {
    CKeldoDoc doc;
    nivel(doc, "0");
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y)
            ASSERT_EQ(AcessoDocumento::pontoEmObstaculo(doc, x, y), nullptr);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 0, 0, 99, 99), 0);

    CKeldoDoc limpo; // level "12" chosen but the tables were never built
    AcessoDocumento::parametrosEditaveis(limpo).nivelObstaculos = "12";
    AcessoDocumento::escolherNivel(limpo);
    EXPECT_EQ(AcessoDocumento::pontoEmObstaculo(limpo, 12, 52), nullptr);
    nivel(limpo, "12");
    EXPECT_NE(AcessoDocumento::pontoEmObstaculo(limpo, 12, 52), nullptr);
    AcessoDocumento::limparMundo(limpo);
    EXPECT_EQ(AcessoDocumento::pontoEmObstaculo(limpo, 12, 52), nullptr);
}

// The trivial-rejection test alone: a path passing beside a corner is blocked.
TEST(Obstaculos, CaminhoDiagonalAoLadoDoCantoEBloqueado) {
    CKeldoDoc doc;
    nivel(doc, "12");
    pixelPorPixel(doc);
    // Both ends above the rectangle (90,70,135,115) and clear of every other one.
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 120, 50, 150, 60), 0);
    // The segment passes above the corner (135,70) at y = 62.5, yet it is blocked.
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 120, 50, 150, 75), 1);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 150, 75, 120, 50), 1);
    // An end point inside a rectangle always blocks.
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 100, 100, 100, 100), 1);
    // Both ends beyond the bottom edge.
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 100, 120, 130, 140), 0);
}

// Outside codes are strict: a point on an edge line is not outside that edge.
TEST(Obstaculos, CodigosDeForaSaoEstritos) {
    CKeldoDoc doc;
    nivel(doc, "12");
    pixelPorPixel(doc);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 89, 50, 89, 130), 0);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 90, 50, 90, 130), 1);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 136, 50, 136, 130), 0);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 135, 50, 135, 130), 1);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 60, 69, 150, 69), 0);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 60, 70, 150, 70), 1);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 60, 116, 150, 116), 0);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 60, 115, 150, 115), 1);
    // Pixel (135, 100) is outside for containment yet not beyond the right edge.
    EXPECT_EQ(AcessoDocumento::pontoEmObstaculo(doc, 135, 100), nullptr);
}

// Arena coordinates are mapped before the test: (14, 8) -> (90, 38), (25, 12) -> (161, 58).
TEST(Obstaculos, CaminhoEmCoordenadasDaArena) {
    CKeldoDoc doc;
    nivel(doc, "12");
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 14, 8, 25, 12), 0);
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 14, 8, 25, 20),
              1); // (161, 96) beside the rectangle
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 13, 8, 13, 50),
              0); // x 84, left of (90,70,135,115)
    EXPECT_EQ(AcessoDocumento::caminhoBloqueado(doc, 14, 8, 14, 50), 1); // x 90, on its left edge
}
