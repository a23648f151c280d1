#pragma once
#include "model/Individuo.h"
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace keldo::indices {

using keldo::model::SpecX;

// The places of the individuals the mating phases deal with, found in one
// pass over the list: the ready males that see, the free females (whom the
// males look for) and the ready ones (who mate). The partner search changes
// none of what decides this, and mating changes a female's energy only on her
// own turn, so both phases of a cycle walk these lists instead of the whole one.
class ProntosDaFase {
  public:
    void classificar(const std::vector<SpecX>& vivos);
    // The same lists, each individual judged by the readiness rules one by
    // one (the reference path).
    void classificarPorRegras(const std::vector<SpecX>& vivos);

    // Ascending places in the list last classified.
    std::span<const uint32_t> machos() const { return {bufMachos.get(), numMachos}; }
    std::span<const uint32_t> femeasLivres() const { return {bufLivres.get(), numLivres}; }
    std::span<const uint32_t> femeasProntas() const { return {bufProntas.get(), numProntas}; }

  private:
    void reservar(std::size_t n);
    // Room for the whole list, so each item is written in place and the
    // counts only advance past those that belong (no branch per item). Left
    // uninitialised: only the places written (a few past the counts) take memory.
    std::unique_ptr<uint32_t[]> bufMachos, bufLivres, bufProntas;
    std::size_t capacidade = 0;
    std::size_t numMachos = 0, numLivres = 0, numProntas = 0;
};

} // namespace keldo::indices
