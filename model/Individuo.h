#pragma once
#include "io/Bits.h"
#include "model/Genoma.h"
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace keldo::io {
class CArchive;
} // namespace keldo::io

namespace keldo::model {

using keldo::io::CArchive;
using keldo::io::converterBits;

class Ambiente;
class Random;

// One individual of species X (the class name is the one project files record).
class SpecX {
  public:
    static constexpr const char* nomeClasse = "SpecX";
    static constexpr uint16_t esquema = 1;
    static constexpr int tamanhoRegistro = 57;

    // A blank record that draws nothing (containers, readers that fill every field).
    SpecX() = default;
    // The empty individual: random heading and three random status bits.
    explicit SpecX(Random& rng);
    // A random founder placed off obstacles; draws from its world's generator.
    SpecX(int32_t id, uint8_t bitsLivre, Ambiente* doc);

    // Genotype expression and queries.
    void calcularFenotipo();
    void anexar(Ambiente* documento);
    int detectaCuida() const;
    int numAlelosMRecessivos() const;
    int sexo() const { return Genoma::macho(estado) ? 1 : 0; }
    int adulto() const { return EstadoBit::ligado(estado, EstadoBit::adulto) ? 1 : 0; }
    int vivo() const { return EstadoBit::ligado(estado, EstadoBit::vivo) ? 1 : 0; }
    int detecXBit() const { return Genoma::aleloPrimeiroX(estado); }
    int detecXCuidaYBit() const { return Genoma::aleloSegundo(estado); }
    // The partition code (0 = free), read from the status byte: no copy to keep in step.
    int livre() const { return EstadoBit::livre(estado); }
    void definirBit(uint8_t bit, bool ligado) { estado = EstadoBit::com(estado, bit, ligado); }

    // Energy bookkeeping, distance, heading and movement. Every step spends
    // energy, so these are inline. Crossing the reproduction threshold either
    // way makes the food target stale.
    void gastarEnergia(int n) {
        if (!vivo())
            return;
        const bool abaixo = energia < limiarReproducao;
        // Wraps as 32-bit arithmetic does, then floors at 0.
        energia = static_cast<int32_t>(static_cast<uint32_t>(energia) - static_cast<uint32_t>(n));
        if (energia < 0)
            energia = 0;
        if (energia <= limiarMorte) {
            definirBit(EstadoBit::vivo, false);
            return;
        }
        esquecerAlvoSeCruzou(abaixo);
    }
    // What a step costs: one unit, and a second one when the step moved; the
    // same as one or two gastarEnergia(1) calls. When no unit can kill or hit
    // the floor (the usual case), the energy just drops and the target goes
    // stale when the threshold lies in (energia after, energia before].
    void gastarPasso(bool moveu) {
        const int n = moveu ? 2 : 1;
        const int antes = energia;
        if (vivo() && antes >= n && antes - n > limiarMorte) {
            energia = antes - n;
            if (energia < limiarReproducao && limiarReproducao <= antes)
                targetX = targetY = -1;
            return;
        }
        gastarEnergia(1);
        if (moveu)
            gastarEnergia(1);
    }
    void ganharEnergia(int n) {
        if (!vivo())
            return;
        const bool abaixo = energia < limiarReproducao;
        energia = static_cast<int32_t>(static_cast<uint32_t>(energia) + static_cast<uint32_t>(n));
        esquecerAlvoSeCruzou(abaixo);
    }
    // Single precision throughout, so every machine finds the same distances.
    float distancia(float alvoX, float alvoY) const {
        const float dx = x - alvoX;
        const float dy = y - alvoY;
        return std::sqrt(dx * dx + dy * dy);
    }
    void apontarPara(float alvoX, float alvoY);
    // Whether either component is other than zero (of either sign): their bits
    // but the signs, so a step costs no float compares.
    static bool algumNaoNulo(float a, float b) {
        return ((converterBits<uint32_t>(a) | converterBits<uint32_t>(b)) << 1) != 0;
    }
    void mover();
    // The step itself: `mundo` gives gerador() and pontoEmObstaculo(x, y). A
    // template so that the document's movement phase has it inline.
    template <class Mundo> void passo(Mundo& mundo);

    // Inheritance: called on the mother.
    SpecX gerarFilhote(const SpecX& pai, int32_t novoId, uint32_t& maxGeracao, int32_t taxaMutacao);
    void permuta(uint16_t& primeira, uint16_t& segunda);
    void mutacao(uint16_t& primeira, uint16_t& segunda, int32_t n);
    void herdarCromossomosSexuais(const SpecX& pai, const SpecX& mae);

    // The 57-byte record.
    void Serialize(CArchive& ar);

    // Draws a heading in whole degrees and keeps a copy of it.
    void direcaoAleatoria(Random& rng);

  private:
    // A wall turns the heading back along its axis and holds the position on it.
    static void naParede(float& posicao, float& direcao) {
        // +0 to 99 (the usual case) are the floats whose bits do not exceed
        // those of 99; -0, negatives, larger values and NaN go on to the tests.
        if (converterBits<uint32_t>(posicao) <= converterBits<uint32_t>(99.0f))
            return;
        if (posicao < 0.0f) {
            direcao = -direcao;
            posicao = 0.0f;
        } else if (posicao > 99.0f) {
            direcao = -direcao;
            posicao = 99.0f;
        }
    }
    void esquecerAlvoSeCruzou(bool estavaAbaixo) {
        if ((energia < limiarReproducao) != estavaAbaixo)
            targetX = targetY = -1;
    }

  public:
    // Widest fields first, so the record pads only its last byte (88 bytes):
    // a crowded world holds hundreds of thousands of them.
    Ambiente* doc = nullptr;
    float x = 0.0f;
    float y = 0.0f;
    int32_t id = 0;
    int32_t idPai = 0;
    int32_t idMae = 0;
    uint32_t geracao = 0;
    float dirX = 0.0f;
    float dirY = 0.0f;
    float savedDirX = 0.0f;
    float savedDirY = 0.0f;
    int32_t targetId = -1;
    int32_t energia = 100;
    int32_t loopNasc = 0;
    int32_t loopMorto = -1;
    int16_t targetX = -1;
    int16_t targetY = -1;
    uint16_t genotipoP = 0;
    uint16_t genotipoM = 0;
    int16_t visao = 0;
    int16_t limiarReproducao = 0;
    int16_t compartilha = 0;
    int16_t lutador = 0;
    int16_t limiarMorte = 0;
    int16_t inteligencia = 0;
    uint8_t estado = 0;
    uint8_t semUso[3] = {}; // no padding: the dead file writes whole records, every byte set
};

template <class Mundo> void SpecX::passo(Mundo& mundo) {
    const float ox = x;
    const float oy = y;
    if (sexo() == 0) {
        if (energia >= limiarReproducao) {
            dirX = dirY = savedDirX = savedDirY = 0.0f; // a female ready to mate stands still
        } else if (!algumNaoNulo(savedDirX, savedDirY)) {
            direcaoAleatoria(mundo.gerador());
        }
    }
    x += dirX;
    y += dirY;
    naParede(x, dirX);
    naParede(y, dirY);
    // The rounded position decides whether the step ran into an obstacle.
    if (mundo.pontoEmObstaculo(static_cast<int>(x + 0.5), static_cast<int>(y + 0.5))) {
        dirX = -dirX;
        dirY = -dirY;
        x = ox + dirX;
        y = oy + dirY;
    }
}

} // namespace keldo::model
