#pragma once
#include "model/Individuo.h"
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace keldo::indices {

using namespace keldo::model;

// The places of the individuals a mating phase deals with, found in one pass
// over the list: the ready males that see, and the free (search) or ready
// (mating) females. Neither phase changes who belongs to these groups before
// it reaches them, so the phases walk these lists instead of the whole one.
class ProntosDaFase {
  public:
    // Before the partner search: ready males that see, and free females.
    void classificarBusca(const std::vector<SpecX>& vivos);
    // Before mating: ready males that see, and ready females.
    void classificarAcasalamento(const std::vector<SpecX>& vivos);

    // Ascending places in the list last classified.
    std::span<const uint32_t> machos() const { return {bufMachos.data(), numMachos}; }
    std::span<const uint32_t> femeas() const { return {bufFemeas.data(), numFemeas}; }

  private:
    template <bool femeaPronta> void classificar(const std::vector<SpecX>& vivos);
    // Sized for the whole list, so each item is written in place and the
    // count only advances past those that belong (no branch per item).
    std::vector<uint32_t> bufMachos, bufFemeas;
    std::size_t numMachos = 0, numFemeas = 0;
};

} // namespace keldo::indices
