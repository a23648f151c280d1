#pragma once
#include <cmath>
#include <cstdint>

class CKeldoDoc;
class CArchive;
class Random;

// Bits of the status byte.
namespace EstadoBit {
constexpr uint8_t sexo = 0x01;         // 1 = male
constexpr uint8_t detecXCuidaY = 0x02; // female: Detecta of her 2nd X; male: Cuida of his Y
constexpr uint8_t detecX = 0x04;       // Detecta of the (first) X
constexpr uint8_t adulto = 0x08;
constexpr uint8_t vivo = 0x10;
} // namespace EstadoBit

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
    // A random founder placed off obstacles; draws from the document's generator.
    SpecX(int32_t id, uint8_t bitsLivre, CKeldoDoc* doc);

    // Genotype expression and queries.
    void calcularFenotipo();
    void anexar(CKeldoDoc* documento);
    int detectaCuida() const;
    int numAlelosMRecessivos() const;
    int sexo() const { return estado & EstadoBit::sexo; }
    int adulto() const { return (estado & EstadoBit::adulto) ? 1 : 0; }
    int vivo() const { return (estado & EstadoBit::vivo) ? 1 : 0; }
    int detecXBit() const { return (estado & EstadoBit::detecX) ? 1 : 0; }
    int detecXCuidaYBit() const { return (estado & EstadoBit::detecXCuidaY) ? 1 : 0; }
    int livreEstado() const { return estado >> 6; }
    void definirBit(uint8_t bit, bool ligado) {
        estado = ligado ? static_cast<uint8_t>(estado | bit) : static_cast<uint8_t>(estado & ~bit);
    }

    // Energy bookkeeping, distance, heading and movement.
    void gastarEnergia(int n);
    void ganharEnergia(int n);
    // Single precision throughout, so every machine finds the same distances.
    float distancia(float alvoX, float alvoY) const {
        const float dx = x - alvoX;
        const float dy = y - alvoY;
        return std::sqrt(dx * dx + dy * dy);
    }
    void apontarPara(float alvoX, float alvoY);
    void mover();

    // Inheritance: called on the mother.
    SpecX gerarFilhote(const SpecX& pai, int32_t novoId, uint32_t& maxGeracao, int32_t taxaMutacao);
    void permuta(uint16_t& primeira, uint16_t& segunda);
    void mutacao(uint16_t& primeira, uint16_t& segunda, int32_t n);
    void herdarCromossomosSexuais(const SpecX& pai, const SpecX& mae);

    // The 57-byte record.
    void Serialize(CArchive& ar);

    // Draws a heading in whole degrees and keeps a copy of it.
    void direcaoAleatoria(Random& rng);

    // Widest fields first, so the record has no padding (88 bytes): a crowded
    // world holds hundreds of thousands of them.
    CKeldoDoc* doc = nullptr;
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
    int16_t image = -1; // drawing image index given by the view; -1 = none
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
    uint8_t livre = 0;
};
