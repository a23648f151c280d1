#pragma once
// Who may see, reach and choose whom, each rule written once: reach, a free
// path, readiness and the intelligence draw. The reference search
// (`BuscaPorVarredura`, the rectangle scan) calls these as they stand; each
// fast path calls them too or is checked against them over every input that
// decides (tests/sim/test_regras_vizinhanca.cpp). Changing a rule here is
// the one edit every path follows.
#include "model/FoodX.h"
#include "model/Geometry.h"
#include "model/Individuo.h"
#include "model/Random.h"
#include <cmath>
#include <cstdint>
#include <limits>

namespace keldo::indices::Regras {

using keldo::model::FoodX;
using keldo::model::Random;
using keldo::model::Rect;
using keldo::model::SpecX;

// --- Reach -----------------------------------------------------------------

// How close a male must be to father, and an eater to eat.
inline constexpr float alcanceContato = 1.5f;

// Within reach: the float distance (as `SpecX::distancia` computes it) at
// most the reach. A negative or NaN reach takes nothing.
inline bool noAlcance(float distancia, float alcance) {
    return distancia <= alcance;
}

// The fast paths compare squares instead: the largest float square whose root
// is still within `alcance` (-1 when even 0 is not, so nothing passes). The
// root rounds monotonically, so `quadrado <= limiarQuadrado(a)` holds for
// exactly the squares with `noAlcance(sqrt(quadrado), a)`.
inline float limiarQuadrado(float alcance) {
    if (!noAlcance(0.0f, alcance))
        return -1.0f;
    if (std::isinf(alcance))
        return alcance;
    float limiar = alcance * alcance;
    while (limiar > 0.0f && !noAlcance(std::sqrt(limiar), alcance))
        limiar = std::nextafter(limiar, 0.0f);
    const float infinito = std::numeric_limits<float>::infinity();
    for (float seguinte = std::nextafter(limiar, infinito); noAlcance(std::sqrt(seguinte), alcance);
         seguinte = std::nextafter(limiar, infinito))
        limiar = seguinte;
    return limiar;
}
// The squared distance as the fast paths compute it (the same float
// operations as `SpecX::distancia` before its root).
inline float quadradoDaDistancia(float x, float y, float alvoX, float alvoY) {
    const float dx = x - alvoX;
    const float dy = y - alvoY;
    return dx * dx + dy * dy;
}
inline bool quadradoNoAlcance(float quadrado, float limiar) {
    return quadrado <= limiar;
}

// --- Free path ---------------------------------------------------------------

// A whole coordinate of the arena in the pixels of its picture.
inline int pixel(int32_t tamanhoArena, int coordenada) {
    return static_cast<int>(static_cast<int64_t>(tamanhoArena) * coordenada / 99);
}
// Where a pixel lies against a rectangle's edges (the outside code of line
// clipping), one axis at a time: x before the left edge, beyond the right
// one; y beyond the bottom, before the top.
namespace Fora {
inline constexpr int antesX = 1, depoisX = 2, depoisY = 4, antesY = 8;
} // namespace Fora
inline int foraEmX(int px, const Rect& r) {
    return (px < r.left ? Fora::antesX : 0) | (px > r.right ? Fora::depoisX : 0);
}
inline int foraEmY(int py, const Rect& r) {
    return (py > r.bottom ? Fora::depoisY : 0) | (py < r.top ? Fora::antesY : 0);
}
// A rectangle lets a path pass only when both ends lie beyond one same edge
// of it (the trivial rejection alone: a path that might cross it is blocked).
inline bool retanguloDeixaPassar(int foraA, int foraB) {
    return (foraA & foraB) != 0;
}
// The same for many rectangles at once, one bit each: `partilhados` has the
// bit of every rectangle both ends lie beyond one same edge of; the path is
// free when that is every rectangle (`todos`).
inline bool caminhoLivre(uint32_t partilhados, uint32_t todos) {
    return partilhados == todos;
}

// --- Readiness ---------------------------------------------------------------

// Alive, adult and in the open region (partition 0): all three are bits of
// the status byte, judged in one compare (every step of the feeding phases asks).
inline bool adultoLivre(const SpecX& i) {
    namespace EstadoBit = keldo::model::EstadoBit;
    constexpr unsigned vivoAdulto = EstadoBit::vivo | EstadoBit::adulto;
    constexpr unsigned particao = (0xFFu << EstadoBit::deslocamentoLivre) & 0xFFu;
    return (i.estado & (vivoAdulto | particao)) == vivoAdulto;
}
inline bool energiaParaReproduzir(const SpecX& i) {
    return i.energia >= i.limiarReproducao;
}
inline bool prontoParaReproduzir(const SpecX& i) {
    return adultoLivre(i) && energiaParaReproduzir(i);
}
// A male that heads for a partner and may father.
inline bool machoPronto(const SpecX& p) {
    return p.sexo() && prontoParaReproduzir(p) && p.visao != 0;
}
// A female males may head for, and one that mates.
inline bool femeaLivre(const SpecX& f) {
    return !f.sexo() && adultoLivre(f);
}
inline bool femeaPronta(const SpecX& f) {
    return femeaLivre(f) && energiaParaReproduzir(f);
}
// A female `macho` may head for (within sight on a free path aside).
inline bool parceiraPossivel(const SpecX& macho, const SpecX& f) {
    return femeaLivre(f) && f.livre() == macho.livre();
}
// Who may eat: the free adults that see.
inline bool comensal(const SpecX& i) {
    return adultoLivre(i) && i.visao != 0;
}
// Who looks for food: an eater short of the energy to reproduce.
inline bool procuraAlimento(const SpecX& i) {
    return comensal(i) && !energiaParaReproduzir(i);
}
// Food `i` may head for (within sight on a free path aside).
inline bool alimentoPossivel(const SpecX& i, const FoodX& f) {
    return f.regiao == i.livre();
}
inline bool alcancaMacho(const SpecX& femea, const SpecX& p) {
    return machoPronto(p) && noAlcance(femea.distancia(p.x, p.y), alcanceContato);
}
inline bool podeComer(const SpecX& i, const FoodX& f) {
    return comensal(i) && i.livre() == f.regiao && noAlcance(i.distancia(f.x, f.y), alcanceContato);
}

// --- The intelligence draw ---------------------------------------------------

// The choice among the candidates in sight: when the intelligence is
// positive, one draw of 100 comes first, and below the intelligence it takes
// the best; otherwise one draw among the candidates takes the one at that
// place in list order. With no candidate nothing is drawn at all, so a fast
// path that wants to know which answer to look for makes the first draw on a
// copy of the generator, and keeps the copy only when a candidate is found.
inline bool escolheOMelhor(int inteligencia, Random& rng) {
    return inteligencia > 0 && rng.randomInt(100) < inteligencia;
}
inline uint32_t lugarSorteado(uint32_t candidatos, Random& rng) {
    return static_cast<uint32_t>(rng.randomInt(static_cast<int>(candidatos)));
}

} // namespace keldo::indices::Regras
