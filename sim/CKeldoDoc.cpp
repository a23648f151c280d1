#include "sim/CKeldoDoc.h"
#include <algorithm>
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
    parametros_.doc = this;
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
    const std::string& nivel = parametros_.nivelObstaculos;
    if (nivel == "0") {
        codigoNivel_ = 'r';
        bitmapFundo_ = 145;
    } else if (nivel == "12") {
        codigoNivel_ = 'f';
        bitmapFundo_ = 141;
    } else if (nivel == "15") {
        codigoNivel_ = 'm';
        bitmapFundo_ = 142;
    } else {
        codigoNivel_ = 'd';
        bitmapFundo_ = 143;
    }
}

void CKeldoDoc::construirObstaculos() {
    obstaculosConstruidos = true;
}

void CKeldoDoc::atualizarMapa() const {
    if (!mapa.valeraPara(arena_.right, arena_.bottom) || mapaNivel != codigoNivel_) {
        mapa.construir(tabelaObstaculos(codigoNivel_, 0), tabelaObstaculos(codigoNivel_, 1),
                       arena_.right, arena_.bottom);
        mapaNivel = codigoNivel_;
    }
}

const MapaObstaculos* CKeldoDoc::mapaDaFase() const {
    if (usarReferencia_ || !obstaculosConstruidos)
        return nullptr;
    atualizarMapa();
    return &mapa;
}

const Rect* CKeldoDoc::pontoEmObstaculo(int x, int y) const {
    if (!obstaculosConstruidos)
        return nullptr;
    if (!usarReferencia_) {
        atualizarMapa();
        const int indice = mapa.retanguloEm(x, y);
        if (indice < 0)
            return nullptr;
        const auto esquerda = tabelaObstaculos(codigoNivel_, 0);
        const size_t i = static_cast<size_t>(indice);
        return i < esquerda.size() ? &esquerda[i]
                                   : &tabelaObstaculos(codigoNivel_, 1)[i - esquerda.size()];
    }
    const int px = static_cast<int>(static_cast<int64_t>(arena_.right) * x / 99);
    const int py = static_cast<int>(static_cast<int64_t>(arena_.bottom) * y / 99);
    for (int metade = 0; metade < 2; ++metade)
        for (const Rect& r : tabelaObstaculos(codigoNivel_, metade))
            if (r.left <= px && px < r.right && r.top <= py && py < r.bottom)
                return &r;
    return nullptr;
}

// The trivial-rejection test alone: only when both end points lie beyond the
// same edge of every rectangle is the path free.
int CKeldoDoc::caminhoBloqueadoDevagar(int x1, int y1, int x2, int y2) const {
    if (!usarReferencia_) {
        atualizarMapa();
        return mapa.caminhoBloqueado(x1, y1, x2, y2) ? 1 : 0;
    }
    const int px1 = static_cast<int>(static_cast<int64_t>(arena_.right) * x1 / 99);
    const int py1 = static_cast<int>(static_cast<int64_t>(arena_.bottom) * y1 / 99);
    const int px2 = static_cast<int>(static_cast<int64_t>(arena_.right) * x2 / 99);
    const int py2 = static_cast<int>(static_cast<int64_t>(arena_.bottom) * y2 / 99);
    for (int metade = 0; metade < 2; ++metade)
        for (const Rect& r : tabelaObstaculos(codigoNivel_, metade))
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
    if (host_ && host_->registraImagens())
        individuo.image = static_cast<int16_t>(indiceImagem(individuo));
}

void CKeldoDoc::registrar(FoodX& alimento) const {
    if (host_ && host_->registraImagens())
        alimento.image = 6;
}

void CKeldoDoc::limparMundo() {
    alimentos_.clear();
    vivos_.clear();
    mortos_.clear();
    mortosGuardados.limpar();
    mortosSoNaMemoria = false;
    obstaculosConstruidos = false;
}

void CKeldoDoc::iniciarVazio(KeldoHost* novoHost) {
    host_ = novoHost;
    limparMundo();
    if (host_)
        arena_ = host_->areaCliente();
    escolherNivel();
    construirObstaculos();
    parametros_.doc = this;
    numSnapshot_ = 0;
    geracao_ = 0;
    tempo_ = 0;
    ovos_ = 0;
    estadoExecucao_ = EstadoExecucao::naoIniciado;
    rng_.semear(static_cast<uint32_t>(std::time(nullptr)));
    arquivo_.novo();
}

void CKeldoDoc::esvaziarMundo() {
    limparMundo();
    construirObstaculos();
    ovos_ = 0;
}

void CKeldoDoc::substituirIndividuos(std::vector<SpecX> novosVivos, std::vector<SpecX> novosMortos,
                                     int32_t proximoIdMinimo) {
    vivos_ = std::move(novosVivos);
    mortos_ = std::move(novosMortos);
    mortosGuardados.limpar();
    geracao_ = 0;
    proximoId_ = std::max(proximoId_, proximoIdMinimo);
}

void CKeldoDoc::definirParametros(const SimulationParameters& novos) {
    parametros_ = novos;
    parametros_.doc = this;
}

void CKeldoDoc::iniciarExecucao() {
    // A run always changes the project, so closing will ask to save it.
    arquivo_.marcarModificado();
    estadoExecucao_ = EstadoExecucao::executando;
}

bool CKeldoDoc::criarMundo() {
    limparMundo();
    if (host_)
        arena_ = host_->areaCliente();
    parametros_.doc = this;
    numSnapshot_ = 0;
    escolherNivel();
    construirObstaculos();
    geracao_ = 0;
    tempo_ = 0;
    ovos_ = 0;
    sementeMundo_ = sementeFixa_ ? *sementeFixa_ : static_cast<uint32_t>(std::time(nullptr));
    rng_.semear(*sementeMundo_);

    if (parametros_.tipoPopulacao == 1 || parametros_.comDefinida == 1) {
        for (const SpecX& modelo : parametros_.listaDefinida) {
            SpecX copia(rng_); // the empty individual's four draws come first
            copia = modelo;
            copia.doc = this;
            do {
                copia.x = static_cast<float>(rng_.randomInt(100));
                copia.y = static_cast<float>(rng_.randomInt(100));
            } while (pontoEmObstaculo(static_cast<int>(copia.x), static_cast<int>(copia.y)));
            copia.loopNasc = tempo_;
            copia.anexar(this);
            proximoId_ = static_cast<int32_t>(static_cast<uint32_t>(copia.id) + 1u);
            if (!copia.adulto())
                ++ovos_;
            vivos_.push_back(copia);
        }
    }
    if (parametros_.tipoPopulacao == 0) {
        if (parametros_.comDefinida == 0)
            proximoId_ = 1;
        for (int i = 0; i < parametros_.numIndividuos; ++i) {
            SpecX fundador(proximoId_++, 0, this);
            if (!fundador.adulto())
                ++ovos_;
            vivos_.push_back(fundador);
        }
    }
    for (int i = 0; i < parametros_.qtdAlimento; ++i)
        alimentos_.emplace_back(0, this);
    estadoExecucao_ = EstadoExecucao::naoIniciado;
    estatisticas_.iniciar(*this);
    return true;
}
