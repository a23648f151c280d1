// Invariants of the contact table (the rules it follows: RegrasVizinhanca.h):
// - each target is on every cell its reach overlaps (with a margin above the
//   rounding of x ± reach), so an eater standing within reach finds it on
//   its own cell;
// - reach is `Regras::quadradoNoAlcance` against `Regras::limiarQuadrado`,
//   the rest of `Regras::podeComer` is asked of the caller per pair;
// - the eaters are met in list order, so every target's answer ascends.
#include "sim/indices/ContatosPorAlvo.h"
#include "sim/indices/ListaRascunho.h"
#include <algorithm>

namespace keldo::indices {

// Empties what the last phase filled: only its cells, so the cost follows the
// lists. The cell tables grow with the grid's side, which follows the items.
void ContatosPorAlvo::comecar(std::size_t alvos, std::size_t itens, float raio) {
    for (std::size_t k = 0; k < numCheias; ++k)
        cabeca[cheias[k]] = -1;
    numCheias = 0;
    numEntradas = 0;
    pares.clear();
    redimensionarRascunho(primeiro, alvos);
    redimensionarRascunho(ultimo, alvos);
    numerados = 0;
    escolherLado(itens);
    const auto celulas = static_cast<std::size_t>(lado * lado);
    if (cabeca.size() < celulas) {
        cabeca.resize(celulas, -1);
        cheias.resize(celulas);
    }
    if (!(raio == raioAgora) || limiarAgora == 0.0f) {
        raioAgora = raio;
        limiarAgora = Regras::limiarQuadrado(raio);
    }
    // Cells are monotone in the coordinate; the slack covers the rounding of
    // x ± raio below 65536 in magnitude; beyond, every cell is a border one.
    margemAgora = raio + 0.01f;
}

// Wider cells put a target on fewer of them but let more items stand on
// them out of reach; the side that balances the two grows as the cube root
// of the area per item, 50 (itens + 1) cubed cells (whole cells for crowded
// lists). The list changes little between phases: the last side is the start.
void ContatosPorAlvo::escolherLado(std::size_t itens) {
    const std::size_t limite = 50 * (itens + 1);
    auto cubo = [](int l) { return static_cast<std::size_t>(l * l * l); };
    int novo = lado;
    while (novo < ladoMaximo && cubo(novo + 1) <= limite)
        ++novo;
    while (novo > ladoMinimo && cubo(novo) > limite)
        --novo;
    if (novo == lado)
        return;
    lado = novo;
    celulasPorUnidade = static_cast<float>(lado) / 100.0f;
    bitsDoLado = converterBits<uint32_t>(static_cast<float>(lado));
}

// A target spans about 2 (raio + 0.01) / (100 / lado) + 1 cells a side.
bool ContatosPorAlvo::compensa(std::size_t alvos, std::size_t itens, float raio) {
    escolherLado(itens);
    const float porAlvo = 2.0f * (raio + 0.01f) * celulasPorUnidade + 1.0f;
    return static_cast<float>(alvos) * porAlvo * porAlvo < static_cast<float>(lado * lado);
}

void ContatosPorAlvo::adicionar(float x, float y) {
    const auto alvo = static_cast<uint32_t>(numerados);
    primeiro[numerados++] = -1;
    const float margem = margemAgora;
    const int x0 = celula(x - margem), x1 = celula(x + margem);
    const int y0 = celula(y - margem), y1 = celula(y + margem);
    const std::size_t usadas = numEntradas;
    const auto novas = static_cast<std::size_t>((x1 - x0 + 1) * (y1 - y0 + 1));
    if (entradas.size() < usadas + novas)
        entradas.resize(std::max(usadas + novas, 2 * entradas.size()));
    // Locals, as the stores could otherwise alias the members.
    int32_t* const cabecas = cabeca.data();
    uint16_t* const cheiasAgora = cheias.data();
    Entrada* const elos = entradas.data();
    std::size_t n = numEntradas, m = numCheias;
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx = x0, c = cy * lado + x0; cx <= x1; ++cx, ++c) {
            const int32_t seguinte = cabecas[c];
            if (seguinte < 0)
                cheiasAgora[m++] = static_cast<uint16_t>(c);
            elos[n] = {x, y, alvo, seguinte};
            cabecas[c] = static_cast<int32_t>(n++);
        }
    numEntradas = n;
    numCheias = m;
}

} // namespace keldo::indices
