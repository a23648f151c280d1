#include "sim/GradeEspacial.h"
#include <algorithm>
#include <bit>

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
    while (novo < 25 && static_cast<std::size_t>(novo * novo) * 2 < n)
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

void GradeEspacial::consultar(float x, float y, float raio, std::vector<uint32_t>& saida) const {
    saida.clear();
    const float margem = raio + 1.0f;
    const int x0 = celula(x - margem), x1 = celula(x + margem);
    const int y0 = celula(y - margem), y1 = celula(y + margem);
    for (int cy = y0; cy <= y1; ++cy) {
        const uint32_t* base = posicoes.data();
        saida.insert(saida.end(), base + inicio[cy * lado + x0], base + inicio[cy * lado + x1 + 1]);
    }
    if (y1 == y0 && x1 == x0)
        return; // one cell is already in list order
    // Many candidates: marking them in a bit set and reading it back in order
    // is linear, where sorting is not.
    const size_t n = celulaDe.size();
    if (saida.size() * 16 < n) {
        std::sort(saida.begin(), saida.end());
        return;
    }
    marcas.assign((n + 63) / 64, 0);
    for (uint32_t p : saida)
        marcas[p >> 6] |= uint64_t{1} << (p & 63);
    saida.clear();
    for (size_t w = 0; w < marcas.size(); ++w)
        for (uint64_t bits = marcas[w]; bits != 0; bits &= bits - 1)
            saida.push_back(
                static_cast<uint32_t>(w * 64 + static_cast<size_t>(std::countr_zero(bits))));
}
