// Invariants of the grid (the rules it follows: RegrasVizinhanca.h):
// - items lie side by side by cell, list order within a cell, so one row's
//   cells in reach are one span;
// - reach is `Regras::quadradoNoAlcance` against `Regras::limiarQuadrado`,
//   which takes exactly what `Regras::noAlcance` on the distance takes; the
//   cells read carry a margin above the rounding of x ± reach;
// - answers are ascending (sorted only when the cells' order breaks it).
#include "sim/indices/GradeEspacial.h"
#include <algorithm>
#include <bit>
#include <utility>

namespace keldo::indices {

// About two cells per item: the contact reach then spans a few nearly empty
// cells, and a crowded list still gets cells of a unit.
void GradeEspacial::escolherLado(std::size_t n) {
    int novo = 4;
    while (novo < ladoMaximo && static_cast<std::size_t>(novo * novo) < 2 * n)
        ++novo;
    lado = novo;
    celulasPorUnidade = static_cast<float>(lado) / 100.0f;
}

void GradeEspacial::acumular() {
    uint32_t* const comecos = inicio.data();
    const std::size_t celulas = inicio.size() - 1;
    for (std::size_t c = 0; c < celulas; ++c)
        comecos[c + 1] += comecos[c];
}

void GradeEspacial::recuar() {
    uint32_t* const comecos = inicio.data();
    for (std::size_t c = inicio.size() - 1; c > 0; --c)
        comecos[c] = comecos[c - 1];
    comecos[0] = 0;
}

void GradeEspacial::prepararOrdem(std::size_t itens) {
    // Grown only, and cleared when grown: every sort leaves its bits clear.
    const std::size_t palavras = (itens + 63) / 64, resumo = (palavras + 63) / 64;
    if (bitsOrdem.size() < palavras)
        bitsOrdem.assign(palavras, 0);
    if (resumoOrdem.size() < resumo)
        resumoOrdem.assign(resumo, 0);
}

void GradeEspacial::ordenar(uint32_t* posicoes, std::size_t n) const {
    // A few are sorted sooner by comparisons than by reading the summary words.
    if (n < 64) {
        std::sort(posicoes, posicoes + n);
        return;
    }
    uint64_t* const bits = bitsOrdem.data();
    uint64_t* const resumo = resumoOrdem.data();
    for (std::size_t k = 0; k < n; ++k) {
        const uint32_t p = posicoes[k];
        bits[p >> 6] |= uint64_t{1} << (p & 63);
        resumo[p >> 12] |= uint64_t{1} << ((p >> 6) & 63);
    }
    uint32_t* saida = posicoes;
    // Every position lies below the list's end, so the summary words in use come first.
    for (std::size_t r = 0; saida != posicoes + n; ++r) {
        for (uint64_t palavras = std::exchange(resumo[r], 0); palavras != 0;
             palavras &= palavras - 1) {
            const std::size_t w = r * 64 + static_cast<std::size_t>(std::countr_zero(palavras));
            const auto base = static_cast<uint32_t>(w * 64);
            for (uint64_t b = std::exchange(bits[w], 0); b != 0; b &= b - 1)
                *saida++ = base + static_cast<uint32_t>(std::countr_zero(b));
        }
    }
}

// The squares whose root is within the radius, as the sight index counts them.
float GradeEspacial::limiarQuadrado(float raio) {
    return Regras::limiarQuadrado(raio);
}

} // namespace keldo::indices
