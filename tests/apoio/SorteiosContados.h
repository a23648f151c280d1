#pragma once
#include "model/Random.h"
#include <cstdint>

// How many draws took the generator from one state to another (-1 when more
// than a million), so that a test fails when the number or order of draws changes.
inline int sorteiosEntre(uint32_t antes, uint32_t depois) {
    keldo::model::Random r(antes);
    for (int n = 0; n < 1000000; ++n) {
        if (r.estadoAtual() == depois)
            return n;
        r.proximo();
    }
    return -1;
}
