#include "sim/indices/GradeEspacial.h"
#include "sim/indices/BuscaCandidatos.h"
#include <algorithm>

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

void GradeEspacial::ordenar(std::vector<uint32_t>& lista) {
    std::sort(lista.begin(), lista.end());
}

// The squares whose root is within the radius, as the sight index counts them.
float GradeEspacial::limiarQuadrado(float raio) {
    return BuscaCandidatos::limiarQuadrado(raio);
}

} // namespace keldo::indices
