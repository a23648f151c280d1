#include "sim/CKeldoDoc.h"
#include <array>
#include <ctime>

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
    int codigo = 0;
    if (px < r.left)
        codigo |= 1;
    if (px > r.right)
        codigo |= 2;
    if (py > r.bottom)
        codigo |= 4;
    if (py < r.top)
        codigo |= 8;
    return codigo;
}
} // namespace

CKeldoDoc::CKeldoDoc() {
    parametros.doc = this;
}

std::span<const Rect> CKeldoDoc::tabelaObstaculos(char codigo, int metade) {
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

void CKeldoDoc::escolherNivel() {
    const std::string& nivel = parametros.nivelObstaculos;
    if (nivel == "0") {
        codigoNivel = 'r';
        bitmapFundo = 145;
    } else if (nivel == "12") {
        codigoNivel = 'f';
        bitmapFundo = 141;
    } else if (nivel == "15") {
        codigoNivel = 'm';
        bitmapFundo = 142;
    } else {
        codigoNivel = 'd';
        bitmapFundo = 143;
    }
}

void CKeldoDoc::construirObstaculos() {
    obstaculosConstruidos = true;
}

void CKeldoDoc::atualizarMapa() const {
    if (!mapa.valeraPara(arena.right, arena.bottom) || mapaNivel != codigoNivel) {
        mapa.construir(tabelaObstaculos(codigoNivel, 0), tabelaObstaculos(codigoNivel, 1),
                       arena.right, arena.bottom);
        mapaNivel = codigoNivel;
    }
}

const MapaObstaculos* CKeldoDoc::mapaDaFase() const {
    if (usarReferencia || !obstaculosConstruidos)
        return nullptr;
    atualizarMapa();
    return &mapa;
}

const Rect* CKeldoDoc::pontoEmObstaculo(int x, int y) const {
    if (!obstaculosConstruidos)
        return nullptr;
    if (!usarReferencia) {
        atualizarMapa();
        const int indice = mapa.retanguloEm(x, y);
        if (indice < 0)
            return nullptr;
        const auto esquerda = tabelaObstaculos(codigoNivel, 0);
        const size_t i = static_cast<size_t>(indice);
        return i < esquerda.size() ? &esquerda[i]
                                   : &tabelaObstaculos(codigoNivel, 1)[i - esquerda.size()];
    }
    const int px = static_cast<int>(static_cast<int64_t>(arena.right) * x / 99);
    const int py = static_cast<int>(static_cast<int64_t>(arena.bottom) * y / 99);
    for (int metade = 0; metade < 2; ++metade)
        for (const Rect& r : tabelaObstaculos(codigoNivel, metade))
            if (r.left <= px && px < r.right && r.top <= py && py < r.bottom)
                return &r;
    return nullptr;
}

// The trivial-rejection test alone: only when both end points lie beyond the
// same edge of every rectangle is the path free.
int CKeldoDoc::caminhoBloqueadoDevagar(int x1, int y1, int x2, int y2) const {
    if (!usarReferencia) {
        atualizarMapa();
        return mapa.caminhoBloqueado(x1, y1, x2, y2) ? 1 : 0;
    }
    const int px1 = static_cast<int>(static_cast<int64_t>(arena.right) * x1 / 99);
    const int py1 = static_cast<int>(static_cast<int64_t>(arena.bottom) * y1 / 99);
    const int px2 = static_cast<int>(static_cast<int64_t>(arena.right) * x2 / 99);
    const int py2 = static_cast<int>(static_cast<int64_t>(arena.bottom) * y2 / 99);
    for (int metade = 0; metade < 2; ++metade)
        for (const Rect& r : tabelaObstaculos(codigoNivel, metade))
            if ((codigoFora(px1, py1, r) & codigoFora(px2, py2, r)) == 0)
                return 1;
    return 0;
}

int CKeldoDoc::indiceImagem(const SpecX& individuo) {
    if (!individuo.adulto())
        return 7;
    static constexpr int macho[3] = {1, 0, 2};
    static constexpr int femea[3] = {4, 3, 5};
    const int m = individuo.numAlelosMRecessivos();
    return individuo.sexo() ? macho[m] : femea[m];
}

void CKeldoDoc::registrar(SpecX& individuo) const {
    if (host && host->registraImagens())
        individuo.image = static_cast<int16_t>(indiceImagem(individuo));
}

void CKeldoDoc::registrar(FoodX& alimento) const {
    if (host && host->registraImagens())
        alimento.image = 6;
}

void CKeldoDoc::limparMundo() {
    alimentos.clear();
    vivos.clear();
    mortos.clear();
    mortosGuardados.limpar();
    mortosSoNaMemoria = false;
    obstaculosConstruidos = false;
}

bool CKeldoDoc::criarMundo() {
    limparMundo();
    if (host)
        arena = host->areaCliente();
    parametros.doc = this;
    numSnapshot = 0;
    escolherNivel();
    construirObstaculos();
    geracao = 0;
    tempo = 0;
    ovos = 0;
    sementeMundo = sementeFixa ? *sementeFixa : static_cast<uint32_t>(std::time(nullptr));
    rng.semear(*sementeMundo);

    if (parametros.tipoPopulacao == 1 || parametros.comDefinida == 1) {
        for (const SpecX& modelo : parametros.listaDefinida) {
            SpecX copia(rng); // the empty individual's four draws come first
            copia = modelo;
            copia.doc = this;
            do {
                copia.x = static_cast<float>(rng.randomInt(100));
                copia.y = static_cast<float>(rng.randomInt(100));
            } while (pontoEmObstaculo(static_cast<int>(copia.x), static_cast<int>(copia.y)));
            copia.loopNasc = tempo;
            copia.anexar(this);
            proximoId = static_cast<int32_t>(static_cast<uint32_t>(copia.id) + 1u);
            if (!copia.adulto())
                ++ovos;
            vivos.push_back(copia);
        }
    }
    if (parametros.tipoPopulacao == 0) {
        if (parametros.comDefinida == 0)
            proximoId = 1;
        for (int i = 0; i < parametros.numIndividuos; ++i) {
            SpecX fundador(proximoId++, 0, this);
            if (!fundador.adulto())
                ++ovos;
            vivos.push_back(fundador);
        }
    }
    for (int i = 0; i < parametros.qtdAlimento; ++i)
        alimentos.emplace_back(0, this);
    estadoExecucao = 0;
    estatisticas.iniciar(*this);
    return true;
}
