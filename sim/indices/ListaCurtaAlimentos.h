#pragma once
#include "model/FoodX.h"
#include "model/Individuo.h"
#include "model/Random.h"
#include "sim/indices/MapaObstaculos.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The food search over a short list: the open-region items side by side in
// list order, read whole by every query. Over a few dozen items any index
// costs more per query than it saves. Few items are ever in sight, so one
// vector pass over the distances alone picks them, and only those meet the
// obstacle test. Makes the choice and the draws of a scan of the whole list.
class ListaCurtaAlimentos {
  public:
    // Longest food list this search takes.
    static constexpr std::size_t maximo = 128;
    static constexpr std::size_t palavras = maximo / 64;
    using Bits = std::array<uint64_t, palavras>; // one bit per item, in list order

    // The open-region items of `alimentos` (at most `maximo` items); paths are
    // tested against `mapa` (null: nothing blocks), which must stay as it is
    // while the queries run.
    void construir(const std::vector<FoodX>& alimentos, const MapaObstaculos* mapa);
    // The list position of the food `quem` (free) heads for, or -1 when none
    // is in sight (then nothing is drawn).
    int64_t escolher(const SpecX& quem, Random& rng);

    // Bits of the first `n` (a multiple of 4, at most `maximo`) of the points
    // (xs, ys) whose squared float distance from (x, y) is at most `limiar`.
    static Bits perto(const float* xs, const float* ys, uint32_t n, float x, float y, float limiar);
    // The same without vector instructions, for machines without SSE2.
    static Bits pertoSimples(const float* xs, const float* ys, uint32_t n, float x, float y,
                             float limiar);

  private:
    // Of the items in `emAlcance`, those whose path from the searcher's whole
    // cell is free; `total` counts them.
    Bits livres(const SpecX& quem, const Bits& emAlcance, uint32_t& total) const;
    // The item of greatest `valor - distancia`, the first in list order among equals.
    uint32_t melhor(const SpecX& quem, const Bits& aceitos) const;
    // The item at place `ordem` (from 0), in list order.
    static uint32_t enesimo(const Bits& aceitos, uint32_t ordem);
    // The squared-distance threshold of a reach: sight takes a few values, all small.
    float limiarPara(int16_t visao);

    std::vector<float> xs, ys, valores;
    // Obstacle masks of each item's whole cell, side by side: a path is free
    // when they and the searcher's, ANDed edge by edge and ORed, cover every rectangle.
    struct Mascaras {
        uint32_t antesX, depoisX, antesY, depoisY;
    };
    std::vector<Mascaras> mascaras;
    std::vector<uint32_t> posicoes;
    // The arrays run to a multiple of 4 items; the padding is never in sight.
    uint32_t comPreenchimento = 0;
    const MapaObstaculos* mapa = nullptr;
    uint32_t todos = 0;
    static constexpr int visoesGuardadas = 64;
    std::array<float, visoesGuardadas> limiares{};
    std::array<bool, visoesGuardadas> limiarConhecido{};
};
