#include "sim/indices/GradeEspacial.h"
#include "sim/indices/BuscaCandidatos.h"
#include <algorithm>

void GradeEspacial::escolherLado(std::size_t n) {
    int novo = 4;
    while (novo < 100 && static_cast<std::size_t>(novo * novo) * 2 < n)
        ++novo;
    lado = novo;
    tamanhoCelula = 100.0f / static_cast<float>(lado);
}

void GradeEspacial::contarCelulas() {
    inicio.assign(lado * lado + 1, 0);
    for (uint16_t c : celulaDe)
        ++inicio[c + 1];
    for (int c = 0; c < lado * lado; ++c)
        inicio[c + 1] += inicio[c];
    redimensionarRascunho(posicoes, celulaDe.size());
    redimensionarRascunho(xs, celulaDe.size());
    redimensionarRascunho(ys, celulaDe.size());
    cursor.assign(inicio.begin(), inicio.end() - 1);
}

void GradeEspacial::ordenar(std::vector<uint32_t>& lista) {
    std::sort(lista.begin(), lista.end());
}

// The squares whose root is within the radius, as the sight index counts them.
float GradeEspacial::limiarQuadrado(float raio) {
    return BuscaCandidatos::limiarQuadrado(raio);
}
