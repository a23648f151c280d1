#pragma once
#include <cstdint>

namespace keldo::io {
class CArchive;
} // namespace keldo::io

namespace keldo::model {

using keldo::io::CArchive;

class Ambiente;

// A food item lying in the arena.
class FoodX {
  public:
    static constexpr const char* nomeClasse = "FoodX";
    static constexpr uint16_t esquema = 1;
    static constexpr int tamanhoRegistro = 7;

    // Draws nothing (used when a project file is read).
    FoodX() = default;
    // Energy first, then a position off obstacles in the given region.
    FoodX(int regiao, Ambiente* doc);

    int valorEnergeticoInt() const { return valorEnergetico; }
    void Serialize(CArchive& ar);

    int image = -1;
    float x = 0.0f;
    float y = 0.0f;
    int16_t valorEnergetico = 0;
    Ambiente* doc = nullptr;
    uint8_t regiao = 0;
};

} // namespace keldo::model
