#pragma once
#include "model/Geometry.h"
#include <array>
#include <cstdint>

namespace keldo::model {

class FoodX;
class Random;
class SpecX;

// What an individual or a food item needs from the world it lives in: the one
// random stream, the obstacles, the present cycle, the few parameters it reads,
// and the notice that it joined the world. The document implements it, so
// model/ knows nothing else of the simulation.
class Ambiente {
  public:
    // The parameters an individual or a food item reads, as the world holds them
    // now. The defaults are a new project's: an individual without a world (a
    // template, a form's sample) takes its phenotype from them.
    struct Parametros {
        std::array<uint32_t, 3> limiarReproducao{400, 200, 400}; // rr, Rr, RR
        std::array<uint32_t, 3> limiarMorte{40, 20, 0};          // mm, Mm, MM
        std::array<int32_t, 6> taxaPermuta{5, 10, 50, 5, 10, 50};
        bool geracoesDiscretas = false;
        int32_t energiaMin = 200;
        int32_t energiaMax = 200;
        bool operator==(const Parametros&) const = default;
    };

    virtual Random& gerador() = 0;
    virtual const Rect* pontoEmObstaculo(int x, int y) const = 0;
    virtual int32_t tempo() const = 0;
    virtual Parametros parametrosModelo() const = 0;
    // A food item has joined the world (the view may give it an image; an
    // individual's picture follows from its state, so it needs no such call).
    virtual void registrar(FoodX& alimento) const = 0;

  protected:
    ~Ambiente() = default;
};

} // namespace keldo::model
