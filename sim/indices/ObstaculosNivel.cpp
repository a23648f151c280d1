#include "sim/indices/ObstaculosNivel.h"
#include "sim/indices/RegrasVizinhanca.h"

namespace keldo::indices {

namespace {
// Obstacle rectangles of each level in the 640 x 480 pixel space of the pictures.
constexpr Rect nivel12Esq[] = {{90, 70, 135, 115},   {290, 85, 315, 110},  {53, 250, 78, 275},
                               {242, 223, 287, 268}, {116, 378, 161, 423}, {178, 368, 203, 393}};
constexpr Rect nivel12Dir[] = {{465, 55, 490, 80},   {497, 52, 542, 97},   {446, 216, 491, 261},
                               {528, 269, 553, 294}, {357, 410, 382, 435}, {547, 374, 572, 399}};
constexpr Rect nivel15Esq[] = {{182, 66, 207, 91},   {74, 166, 99, 191},  {261, 193, 306, 238},
                               {134, 249, 179, 294}, {98, 360, 123, 385}, {131, 387, 156, 412}};
constexpr Rect nivel15Dir[] = {{339, 61, 384, 106},  {512, 44, 537, 69},   {485, 83, 530, 128},
                               {545, 75, 570, 100},  {339, 242, 364, 267}, {486, 265, 511, 290},
                               {517, 267, 562, 312}, {383, 398, 408, 423}, {548, 426, 573, 451}};
constexpr Rect nivel30Esq[] = {{128, 33, 173, 78},   {184, 67, 209, 92},   {264, 38, 309, 83},
                               {74, 167, 99, 192},   {75, 205, 100, 230},  {238, 159, 263, 184},
                               {262, 176, 287, 201}, {265, 209, 310, 254}, {120, 260, 165, 305},
                               {30, 335, 55, 360},   {58, 350, 83, 375},   {120, 400, 145, 425},
                               {217, 391, 242, 416}, {242, 432, 267, 457}, {259, 369, 304, 414}};
constexpr Rect nivel30Dir[] = {{334, 24, 359, 49},   {335, 97, 380, 140},  {446, 85, 471, 110},
                               {510, 45, 535, 70},   {487, 82, 532, 127},  {547, 76, 572, 101},
                               {377, 241, 402, 266}, {409, 213, 434, 238}, {551, 174, 576, 199},
                               {383, 397, 408, 422}, {456, 313, 501, 358}, {486, 266, 511, 291},
                               {517, 266, 562, 311}, {551, 431, 576, 456}};

int codigoFora(int px, int py, const Rect& r) {
    return Regras::foraEmX(px, r) | Regras::foraEmY(py, r);
}
} // namespace

std::span<const Rect> ObstaculosNivel::tabela(char codigo, int metade) {
    switch (codigo) {
    case 'f':
        return metade == 0 ? std::span<const Rect>(nivel12Esq) : std::span<const Rect>(nivel12Dir);
    case 'm':
        return metade == 0 ? std::span<const Rect>(nivel15Esq) : std::span<const Rect>(nivel15Dir);
    case 'd':
        return metade == 0 ? std::span<const Rect>(nivel30Esq) : std::span<const Rect>(nivel30Dir);
    default:
        return {};
    }
}

void ObstaculosNivel::escolher(const std::string& nivel) {
    mapaPronto = false;
    if (nivel == "0") {
        codigo = 'r';
        fundo = 145;
    } else if (nivel == "12") {
        codigo = 'f';
        fundo = 141;
    } else if (nivel == "15") {
        codigo = 'm';
        fundo = 142;
    } else {
        codigo = 'd';
        fundo = 143;
    }
}

void ObstaculosNivel::construir() {
    construidos = true;
    mapaPronto = false;
}

void ObstaculosNivel::desfazer() {
    construidos = false;
    mapaPronto = false;
}

void ObstaculosNivel::atualizarMapa(const Rect& arena) const {
    if (!mapa.valeraPara(arena.right, arena.bottom) || mapaCodigo != codigo) {
        mapa.construir(tabela(codigo, 0), tabela(codigo, 1), arena.right, arena.bottom);
        mapaCodigo = codigo;
    }
    mapaPronto = construidos && !porVarredura;
}

const MapaObstaculos* ObstaculosNivel::mapaDaFase(const Rect& arena) const {
    if (porVarredura || !construidos)
        return nullptr;
    atualizarMapa(arena);
    return &mapa;
}

// The rectangle itself (the map knows only its index), or the whole scan.
const Rect* ObstaculosNivel::pontoEmObstaculoDevagar(int x, int y, const Rect& arena) const {
    if (!construidos)
        return nullptr;
    if (!porVarredura) {
        atualizarMapa(arena);
        const int indice = mapa.retanguloEm(x, y);
        if (indice < 0)
            return nullptr;
        const auto esquerda = tabela(codigo, 0);
        const size_t i = static_cast<size_t>(indice);
        return i < esquerda.size() ? &esquerda[i] : &tabela(codigo, 1)[i - esquerda.size()];
    }
    const int px = Regras::pixel(arena.right, x), py = Regras::pixel(arena.bottom, y);
    for (int metade = 0; metade < 2; ++metade)
        for (const Rect& r : tabela(codigo, metade))
            if (r.left <= px && px < r.right && r.top <= py && py < r.bottom)
                return &r;
    return nullptr;
}

// The trivial-rejection test alone: only when both end points lie beyond the
// same edge of every rectangle is the path free.
int ObstaculosNivel::caminhoBloqueadoDevagar(int x1, int y1, int x2, int y2,
                                             const Rect& arena) const {
    if (!porVarredura) {
        atualizarMapa(arena);
        return mapa.caminhoBloqueado(x1, y1, x2, y2) ? 1 : 0;
    }
    const int px1 = Regras::pixel(arena.right, x1), py1 = Regras::pixel(arena.bottom, y1);
    const int px2 = Regras::pixel(arena.right, x2), py2 = Regras::pixel(arena.bottom, y2);
    for (int metade = 0; metade < 2; ++metade)
        for (const Rect& r : tabela(codigo, metade))
            if (!Regras::retanguloDeixaPassar(codigoFora(px1, py1, r), codigoFora(px2, py2, r)))
                return 1;
    return 0;
}

} // namespace keldo::indices
