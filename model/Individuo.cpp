#include "model/Individuo.h"
#include "io/CArchive.h"
#include "model/Ambiente.h"
#include "model/Random.h"
#include "model/Rumo.h"
#include <algorithm>
#include <cmath>

namespace keldo::model {

using namespace keldo::io;

namespace {
Ambiente::Parametros parametrosDe(const Ambiente* doc) {
    return doc ? doc->parametrosModelo() : Ambiente::Parametros{};
}

// The threshold of 0, 1 or 2 capital alleles.
int limiarPorPar(int alelos, const std::array<uint32_t, 3>& limiares) {
    return static_cast<int16_t>(limiares[std::min(alelos, 2)]);
}

// The sex and the two sex-chromosome alleles, one draw each in this order.
uint8_t bitsSexuaisAleatorios(Random& rng) {
    uint8_t bits = 0;
    for (uint8_t b : {EstadoBit::sexo, EstadoBit::detecXCuidaY, EstadoBit::detecX})
        bits = EstadoBit::com(bits, b, rng.randomInt(2) != 0);
    return bits;
}
} // namespace

// A crowded world holds hundreds of thousands of individuals (and keldo-run
// stores its dead record by record): a new field should not bring padding.
static_assert(sizeof(void*) != 8 || sizeof(SpecX) == 88);
// ...nor padding at all: the dead file writes records whole, so every byte
// must belong to a field the constructor sets.
static_assert(sizeof(SpecX) ==
              sizeof(SpecX::doc) + sizeof(SpecX::x) + sizeof(SpecX::y) + sizeof(SpecX::id) +
                  sizeof(SpecX::idPai) + sizeof(SpecX::idMae) + sizeof(SpecX::geracao) +
                  sizeof(SpecX::dirX) + sizeof(SpecX::dirY) + sizeof(SpecX::savedDirX) +
                  sizeof(SpecX::savedDirY) + sizeof(SpecX::targetId) + sizeof(SpecX::energia) +
                  sizeof(SpecX::loopNasc) + sizeof(SpecX::loopMorto) + sizeof(SpecX::targetX) +
                  sizeof(SpecX::targetY) + sizeof(SpecX::genotipoP) + sizeof(SpecX::genotipoM) +
                  sizeof(SpecX::visao) + sizeof(SpecX::limiarReproducao) +
                  sizeof(SpecX::compartilha) + sizeof(SpecX::lutador) + sizeof(SpecX::limiarMorte) +
                  sizeof(SpecX::inteligencia) + sizeof(SpecX::estado) + sizeof(SpecX::semUso));

SpecX::SpecX(Random& rng) {
    direcaoAleatoria(rng);
    energia = 100;
    estado = static_cast<uint8_t>(bitsSexuaisAleatorios(rng) | EstadoBit::adulto | EstadoBit::vivo);
    loopMorto = -1;
}

SpecX::SpecX(int32_t idNovo, uint8_t bitsLivre, Ambiente* documento) {
    id = idNovo;
    doc = documento;
    Random& rng = documento->gerador();
    do {
        x = static_cast<float>(rng.randomInt(100));
        y = static_cast<float>(rng.randomInt(100));
    } while (documento->pontoEmObstaculo(static_cast<int>(x), static_cast<int>(y)));
    direcaoAleatoria(rng);
    energia = 100;
    for (int i = 0; i < Genoma::bitsComGenes; ++i) {
        genotipoP = Genoma::comBit(genotipoP, i, rng.randomInt(2) != 0);
        genotipoM = Genoma::comBit(genotipoM, i, rng.randomInt(2) != 0);
    }
    estado = static_cast<uint8_t>(bitsSexuaisAleatorios(rng) | bitsLivre | EstadoBit::adulto |
                                  EstadoBit::vivo);
    loopMorto = -1;
    loopNasc = documento->tempo();
    calcularFenotipo();
}

void SpecX::direcaoAleatoria(Random& rng) {
    const Rumo r = Rumo::emGraus(rng.randomInt(360));
    dirX = savedDirX = r.x;
    dirY = savedDirY = r.y;
}

void SpecX::calcularFenotipo() {
    const Ambiente::Parametros p = parametrosDe(doc);
    static constexpr int16_t alcance[5] = {50, 37, 25, 12, 1};
    using namespace Genoma;
    const uint16_t gp = genotipoP, gm = genotipoM;
    visao = alcance[somaNoPar(Visao, gp, gm, 0) + somaNoPar(Visao, gp, gm, 1)];
    limiarReproducao =
        static_cast<int16_t>(limiarPorPar(somaNoPar(Reproducao, gp, gm), p.limiarReproducao));
    compartilha = somaNoPar(Partilha, gp, gm) != 0 ? 1 : 0;
    lutador = somaNoPar(Luta, gp, gm) != 0 ? 0 : 1;
    limiarMorte = static_cast<int16_t>(limiarPorPar(somaNoPar(Morte, gp, gm), p.limiarMorte));
    const int baixos = somaNoPar(Inteligencia, gp, gm, 0);
    const int altos = somaNoPar(Inteligencia, gp, gm, 1);
    if (baixos == 0)
        inteligencia = 0;
    else if (baixos == 1)
        inteligencia = 75;
    else
        inteligencia = altos == 0 ? 0 : (altos == 1 ? 25 : 100);
}

void SpecX::anexar(Ambiente* documento) {
    doc = documento;
    calcularFenotipo();
}

int SpecX::detectaCuida() const {
    if (sexo())
        return detecXCuidaYBit();
    return (detecXBit() == 0 && detecXCuidaYBit() == 0) ? 1 : 0;
}

int SpecX::numAlelosMRecessivos() const {
    return 2 - Genoma::somaNoPar(Genoma::Morte, genotipoP, genotipoM);
}

void SpecX::apontarPara(float alvoX, float alvoY) {
    const float dx = alvoX - x;
    const float dy = alvoY - y;
    // Either component zero (of either sign), tested on the bits but the signs.
    const uint32_t bx = converterBits<uint32_t>(dx) << 1, by = converterBits<uint32_t>(dy) << 1;
    if ((bx == 0) | (by == 0)) {
        dirX = dirY = 0.001f;
        return;
    }
    const Rumo r = Rumo::para(dx, dy);
    dirX = r.x;
    dirY = r.y;
}

void SpecX::mover() {
    passo(*doc);
}

void SpecX::permuta(uint16_t& primeira, uint16_t& segunda) {
    const auto taxas = doc->parametrosModelo().taxaPermuta;
    static_assert(std::tuple_size_v<decltype(taxas)> == Genoma::numPontosPermuta);
    for (int ponto = 0; ponto < Genoma::numPontosPermuta; ++ponto) {
        const int r = doc->gerador().randomInt(100);
        if (r < taxas[ponto]) {
            const uint16_t t =
                static_cast<uint16_t>((primeira ^ segunda) & Genoma::abaixoDoPonto(ponto));
            const uint16_t novaPrimeira = static_cast<uint16_t>(segunda ^ t);
            segunda = static_cast<uint16_t>(primeira ^ t);
            primeira = novaPrimeira;
        }
    }
}

void SpecX::mutacao(uint16_t& primeira, uint16_t& segunda, int32_t n) {
    if (n <= 0)
        return;
    for (int i = 0; i < Genoma::bitsPorPalavra; ++i) {
        if (doc->gerador().randomInt(n) == 0)
            primeira = Genoma::invertido(primeira, i);
        if (doc->gerador().randomInt(n) == 0)
            segunda = Genoma::invertido(segunda, i);
    }
}

void SpecX::herdarCromossomosSexuais(const SpecX& pai, const SpecX& mae) {
    definirBit(EstadoBit::detecX, false);
    definirBit(EstadoBit::detecXCuidaY, false);
    Random& rng = mae.doc->gerador();
    const bool xMaterno = rng.randomInt(2) != 0 ? mae.detecXBit() : mae.detecXCuidaYBit();
    if (sexo()) {
        definirBit(EstadoBit::detecX, xMaterno);
        definirBit(EstadoBit::detecXCuidaY, pai.detecXCuidaYBit());
    } else if (rng.randomInt(2) != 0) {
        definirBit(EstadoBit::detecX, xMaterno);
        definirBit(EstadoBit::detecXCuidaY, pai.detecXBit());
    } else {
        definirBit(EstadoBit::detecX, pai.detecXBit());
        definirBit(EstadoBit::detecXCuidaY, xMaterno);
    }
}

SpecX SpecX::gerarFilhote(const SpecX& pai, int32_t novoId, uint32_t& maxGeracao,
                          int32_t taxaMutacao) {
    uint16_t p1 = pai.genotipoP, p2 = pai.genotipoM;
    uint16_t m1 = genotipoP, m2 = genotipoM;
    permuta(p1, p2);
    mutacao(p1, p2, taxaMutacao);
    permuta(m1, m2);
    mutacao(m1, m2, taxaMutacao);
    const uint16_t gametaPai = doc->gerador().randomInt(2) != 0 ? p1 : p2;
    const uint16_t gametaMae = doc->gerador().randomInt(2) != 0 ? m1 : m2;

    SpecX filho(doc->gerador());
    filho.doc = doc;
    filho.id = novoId;
    filho.idPai = pai.id;
    filho.idMae = id;
    if (doc->parametrosModelo().geracoesDiscretas) {
        filho.definirBit(EstadoBit::adulto, false);
        filho.dirX = filho.dirY = filho.savedDirX = filho.savedDirY = 0.0f;
    }
    filho.herdarCromossomosSexuais(pai, *this);
    filho.geracao = std::max(geracao, pai.geracao) + 1;
    maxGeracao = std::max(maxGeracao, filho.geracao);
    filho.x = x;
    filho.y = y;
    filho.genotipoP = gametaPai;
    filho.genotipoM = gametaMae;
    filho.loopNasc = doc->tempo();
    filho.calcularFenotipo();
    return filho;
}

void SpecX::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.escreverInt32(id);
        ar.escreverInt32(idPai);
        ar.escreverInt32(idMae);
        ar.escreverUInt32(geracao);
        ar.escreverInt32(loopNasc);
        ar.escreverInt32(loopMorto);
        ar.escreverFloat(x);
        ar.escreverFloat(y);
        ar.escreverFloat(dirX);
        ar.escreverFloat(dirY);
        ar.escreverInt16(targetX);
        ar.escreverInt16(targetY);
        ar.escreverInt32(targetId);
        ar.escreverInt32(energia);
        ar.escreverUInt16(genotipoP);
        ar.escreverUInt16(genotipoM);
        ar.escreverUInt8(estado);
        return;
    }
    id = ar.lerInt32();
    idPai = ar.lerInt32();
    idMae = ar.lerInt32();
    geracao = ar.lerUInt32();
    loopNasc = ar.lerInt32();
    loopMorto = ar.lerInt32();
    x = ar.lerFloat();
    y = ar.lerFloat();
    dirX = ar.lerFloat();
    dirY = ar.lerFloat();
    targetX = ar.lerInt16();
    targetY = ar.lerInt16();
    targetId = ar.lerInt32();
    energia = ar.lerInt32();
    genotipoP = ar.lerUInt16();
    genotipoM = ar.lerUInt16();
    estado = ar.lerUInt8();
}

} // namespace keldo::model
