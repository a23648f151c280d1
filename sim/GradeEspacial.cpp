#include "sim/GradeEspacial.h"
#include <algorithm>

// Positions outside the arena (or not numbers) fall into the border cells;
// queries clamp the same way, so nothing within reach is ever missed.
int GradeEspacial::celula(float v) const {
    if (!(v >= 0.0f))
        return 0;
    // The quotient of a value just below 100 can round up to `lado`.
    const float quociente = v / tamanhoCelula;
    return quociente >= static_cast<float>(lado - 1) ? lado - 1 : static_cast<int>(quociente);
}

void GradeEspacial::escolherLado(std::size_t n) {
    int novo = 4;
    while (novo < 100 && static_cast<std::size_t>(novo * novo) * 2 < n)
        ++novo;
    lado = novo;
    tamanhoCelula = 100.0f / static_cast<float>(lado);
}

void GradeEspacial::distribuir() {
    inicio.assign(lado * lado + 1, 0);
    for (uint16_t c : celulaDe)
        ++inicio[c + 1];
    for (int c = 0; c < lado * lado; ++c)
        inicio[c + 1] += inicio[c];
    posicoes.resize(celulaDe.size());
    std::vector<uint32_t>& proxima = cursor;
    proxima.assign(inicio.begin(), inicio.end() - 1);
    for (size_t i = 0; i < celulaDe.size(); ++i)
        posicoes[proxima[celulaDe[i]]++] = static_cast<uint32_t>(i);
}

void GradeEspacial::ordenar(std::vector<uint32_t>& lista) {
    std::sort(lista.begin(), lista.end());
}
