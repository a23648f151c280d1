// Invariants of the obstacle map (the rules it follows: RegrasVizinhanca.h):
// - one bit per rectangle (at most 32); `antes`/`depois` of a coordinate are
//   `Regras::foraEmX`/`foraEmY` of its pixel (`Regras::pixel`), so a path is
//   free exactly when every rectangle lets it pass (the outside codes of the
//   axes have disjoint bits; test RegrasVizinhanca.MascarasDeObstaculoIguaisARegraEmCadaEixo);
// - the tables cover coordinates -4 .. 107; others are computed the same way;
// - along y the "before" masks only lose bits and the "beyond" ones only gain
//   them, which `ultimaAntesY`/`primeiraDepoisY` record.
#include "sim/indices/MapaObstaculos.h"
#include "sim/indices/RegrasVizinhanca.h"

namespace keldo::indices {

using Regras::pixel;
namespace Fora = Regras::Fora;

void MapaObstaculos::construir(std::span<const Rect> esquerda, std::span<const Rect> direita,
                               int32_t largura, int32_t altura) {
    numRetangulos = 0;
    for (auto tabela : {esquerda, direita})
        for (const Rect& r : tabela)
            if (numRetangulos < maxRetangulos)
                retangulos[numRetangulos++] = r;
    todos = numRetangulos == 32 ? 0xFFFFFFFFu : ((1u << numRetangulos) - 1u);
    larguraArena = largura;
    alturaArena = altura;
    for (int k = 0; k < tamanho; ++k) {
        tabelaX[k] = calcularX(minimo + k);
        tabelaY[k] = calcularY(minimo + k);
    }
    // Rows before a top are a prefix of the table, rows beyond a bottom a
    // suffix; one whole table past the end stands for "never" either way.
    for (int r = 0; r < maxRetangulos; ++r) {
        const uint32_t b = 1u << r;
        int antes = 0, naoDepois = 0;
        for (const MascarasEixo& m : tabelaY) {
            antes += (m.antes & b) != 0;
            naoDepois += (m.depois & b) == 0;
        }
        ultimaAntes[static_cast<size_t>(r)] = antes == tamanho ? 2 * tamanho : minimo + antes - 1;
        primeiraDepois[static_cast<size_t>(r)] = minimo + naoDepois;
    }
    for (int kx = 0; kx < tamanho; ++kx)
        for (int ky = 0; ky < tamanho; ++ky)
            grade[kx * tamanho + ky] = (tabelaX[kx].dentro & tabelaY[ky].dentro) != 0 ? 1 : 0;
}

MapaObstaculos::MascarasEixo MapaObstaculos::calcularX(int x) const {
    MascarasEixo m;
    const int px = pixel(larguraArena, x);
    for (int r = 0; r < numRetangulos; ++r) {
        const uint32_t b = 1u << r;
        const int fora = Regras::foraEmX(px, retangulos[r]);
        if (fora & Fora::antesX)
            m.antes |= b;
        if (fora & Fora::depoisX)
            m.depois |= b;
        if (retangulos[r].left <= px && px < retangulos[r].right)
            m.dentro |= b;
    }
    return m;
}

MapaObstaculos::MascarasEixo MapaObstaculos::calcularY(int y) const {
    MascarasEixo m;
    const int py = pixel(alturaArena, y);
    for (int r = 0; r < numRetangulos; ++r) {
        const uint32_t b = 1u << r;
        const int fora = Regras::foraEmY(py, retangulos[r]);
        if (fora & Fora::antesY)
            m.antes |= b;
        if (fora & Fora::depoisY)
            m.depois |= b;
        if (retangulos[r].top <= py && py < retangulos[r].bottom)
            m.dentro |= b;
    }
    return m;
}

} // namespace keldo::indices
