#include "model/Random.h"
#include <gtest/gtest.h>

using namespace keldo::model;

// The generator's first outputs for seed 1 are the classic sequence of this LCG.
TEST(Random, SequenciaConhecidaESemSorteioParaZero) {
    Random rng(1);
    EXPECT_EQ(rng.proximo(), 41);
    EXPECT_EQ(rng.proximo(), 18467);
    EXPECT_EQ(rng.proximo(), 6334);
    const uint32_t antes = rng.estadoAtual();
    EXPECT_EQ(rng.randomInt(0), -1);
    EXPECT_EQ(rng.estadoAtual(), antes);
    EXPECT_EQ(rng.randomInt(100), 26500 % 100);
}
