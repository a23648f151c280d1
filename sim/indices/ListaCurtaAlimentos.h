#pragma once
#include "model/FoodX.h"
#include "model/Individuo.h"
#include "model/Random.h"
#include "sim/indices/MapaObstaculos.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace keldo::indices {

using namespace keldo::model;

// The food search over a short list, where any grid costs more per query than
// it saves. The open-region items lie side by side ordered by their whole y
// coordinate, so that a query reads only the band its reach spans, in one
// branch-free pass over distances and obstacle masks. The few items taken are
// then ordered by their place in the list, which is what decides a draw or a
// tie: the choice and the draws are those of a scan of the whole list.
class ListaCurtaAlimentos {
  public:
    // Longest food list this search takes.
    static constexpr std::size_t maximo = 128;
    using Bits = std::array<uint64_t, maximo / 64>; // one bit per item

    // The open-region items of `alimentos` (at most `maximo` items); paths are
    // tested against `mapa` (null: nothing blocks), which must stay as it is
    // while the queries run.
    void construir(const std::vector<FoodX>& alimentos, const MapaObstaculos* mapa);
    // The list position of the food `quem` (free) heads for, or -1 when none
    // is in sight (then nothing is drawn).
    int64_t escolher(const SpecX& quem, Random& rng);

    // Items side by side: coordinates and the obstacle masks of their whole cells.
    struct Colunas {
        const float* xs;
        const float* ys;
        const uint32_t* antesX;
        const uint32_t* depoisX;
        const uint32_t* antesY;
        const uint32_t* depoisY;
    };
    // A query's fixed terms: its point, squared reach, the masks of its path's
    // start and the bits a free path's ends share (one per rectangle).
    struct Consulta {
        float x, y, limiar;
        MapaObstaculos::Origem origem;
        uint32_t todos;
    };
    // Bits of the items [de, ate) (multiples of 4 within `maximo`) whose
    // squared float distance is within the threshold and whose path is free.
    static Bits marcar(const Colunas& c, const Consulta& q, uint32_t de, uint32_t ate);
    // The same without vector instructions, for machines without SSE2.
    static Bits marcarSimples(const Colunas& c, const Consulta& q, uint32_t de, uint32_t ate);

  private:
    // Bands of whole y: below 0 (and NaN), 0 .. 100, from 101 up.
    static constexpr int faixas = 103;
    static int faixa(float y) {
        if (!(y >= 0.0f))
            return 0;
        return y >= 101.0f ? faixas - 1 : static_cast<int>(y) + 1;
    }
    void ordenarPorFaixa(const std::vector<FoodX>& alimentos);
    // The squared-distance threshold of a reach: sight takes a few values, all small.
    float limiarPara(int16_t visao);
    // The list positions of the items `aceitos` flags, ascending; returns how many.
    uint32_t posicoesAceitas(const Bits& aceitos, uint32_t* saida) const;
    // Of the taken items, the one of greatest `valor - distancia`, the first in list order among
    // equals.
    uint32_t melhor(const SpecX& quem, const Bits& aceitos) const;

    std::vector<float> xs, ys, valores;
    std::vector<uint32_t> antesX, depoisX, antesY, depoisY;
    std::vector<uint32_t> posicoes;
    std::array<uint32_t, faixas + 1> inicioFaixa{}; // first item of each band, plus the end
    // The arrays run to a multiple of 4 items; the padding is never in sight.
    uint32_t comPreenchimento = 0;
    const MapaObstaculos* mapa = nullptr;
    uint32_t todos = 0;
    static constexpr int visoesGuardadas = 64;
    std::array<float, visoesGuardadas> limiares{};
    std::array<bool, visoesGuardadas> limiarConhecido{};
};

} // namespace keldo::indices
