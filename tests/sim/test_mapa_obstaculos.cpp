// The obstacle map's grid and masks against the rectangle-by-rectangle scan.
#include "sim/indices/ObstaculosNivel.h"
#include <gtest/gtest.h>

using namespace keldo::indices;

// Every level, the picture's arena and a larger odd one, every coordinate of
// the grid and well beyond it on all sides (where the map falls back to the
// masks): the grid, the masks and the point query agree with the scan.
TEST(MapaObstaculos, GradeEMascarasIguaisAVarreduraEmTodasAsCoordenadas) {
    for (const char* nivel : {"0", "12", "15", "30"})
        for (const Rect arena : {Rect{0, 0, 640, 480}, Rect{0, 0, 1013, 777}}) {
            ObstaculosNivel obstaculos;
            obstaculos.escolher(nivel);
            obstaculos.construir();
            const MapaObstaculos* mapa = obstaculos.mapaDaFase(arena);
            ASSERT_NE(mapa, nullptr);
            int ocupados = 0;
            for (int x = -130; x <= 230; ++x)
                for (int y = -130; y <= 230; ++y) {
                    obstaculos.definirPorVarredura(true);
                    const Rect* esperado = obstaculos.pontoEmObstaculo(x, y, arena);
                    obstaculos.definirPorVarredura(false);
                    ASSERT_EQ(mapa->ocupado(x, y), esperado != nullptr)
                        << nivel << " " << arena.right << ": " << x << "," << y;
                    ASSERT_EQ(mapa->retanguloEm(x, y) >= 0, esperado != nullptr);
                    ASSERT_EQ(obstaculos.pontoEmObstaculo(x, y, arena), esperado);
                    ocupados += esperado != nullptr;
                }
            EXPECT_EQ(ocupados == 0, nivel[0] == '0') << nivel;
        }
}
