// The grid must hand back, in list order, every item a scan would find within the radius.
#include "sim/indices/GradeEspacial.h"
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace keldo::indices;

namespace {
struct Item {
    float x, y;
};

std::vector<uint32_t> porVarredura(const std::vector<Item>& itens, float x, float y, float r) {
    std::vector<uint32_t> dentro;
    for (uint32_t k = 0; k < itens.size(); ++k) {
        const float dx = itens[k].x - x, dy = itens[k].y - y;
        if (std::sqrt(dx * dx + dy * dy) <= r)
            dentro.push_back(k);
    }
    return dentro;
}
} // namespace

// Every grid size from 4 to 100 cells a side, items on the borders and just
// below 100 (where a cell quotient can round up), and beyond the arena.
TEST(GradeEspacial, NadaDentroDoRaioFicaDeForaEmTodosOsTamanhos) {
    const float bordas[] = {-1.0f,     -0.0f, 0.0f,      0.5f,       33.3333f, 49.99999f, 50.0f,
                            98.99999f, 99.0f, 99.99999f, 99.999992f, 100.0f,   100.5f,    150.0f};
    for (size_t n = 10; n <= 21000; n = n * 3 / 2) {
        std::vector<Item> itens;
        for (size_t k = 0; k < n; ++k)
            itens.push_back({bordas[k % 14], bordas[(k / 14 + k) % 14]});
        GradeEspacial grade;
        grade.construir(itens);
        std::vector<uint32_t> achados;
        for (float x : bordas)
            for (float y : bordas)
                for (float r : {0.0f, 1.5f, 12.0f, 25.0f}) {
                    grade.consultar(
                        x, y, r,
                        [&](uint32_t k) {
                            const float dx = itens[k].x - x, dy = itens[k].y - y;
                            return std::sqrt(dx * dx + dy * dy) <= r;
                        },
                        achados);
                    ASSERT_EQ(achados, porVarredura(itens, x, y, r))
                        << "n " << n << " em " << x << "," << y << " raio " << r;
                }
    }
}
