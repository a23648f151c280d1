#pragma once
#include "model/Geometry.h"
#include "sim/indices/BuscaVizinhos.h"
#include "sim/indices/GradeEspacial.h"

namespace keldo::indices {

using keldo::model::FoodX;
using keldo::model::Random;
using keldo::model::Rect;
using keldo::model::SpecX;

// The reference: every answer judges the whole list in order by the rules of
// `Regras` as they stand, and paths are tested rectangle by rectangle. The
// indexed search must match it draw for draw.
class BuscaPorVarredura final : public BuscaVizinhos {
  public:
    BuscaPorVarredura(const ObstaculosNivel& obstaculosDoNivel, const Rect& arenaDoDoc)
        : BuscaVizinhos(true), obstaculos(obstaculosDoNivel), arena(arenaDoDoc) {}

    int64_t parceira(const std::vector<SpecX>& vivos, const SpecX& macho, Random& rng) override;
    const std::vector<uint32_t>& machosPerto(const std::vector<SpecX>& vivos,
                                             std::size_t femea) override;
    void prepararAlimentos(const std::vector<FoodX>&, const MapaObstaculos*) override {}
    const FoodX* alimentoEm(const std::vector<FoodX>& alimentos, int16_t x,
                            int16_t y) const override;
    int64_t alimento(const std::vector<FoodX>& alimentos, const SpecX& quem, Random& rng) override;
    void prepararComensais(const std::vector<SpecX>&, const std::vector<FoodX>&) override {}
    const std::vector<uint32_t>& comensaisPerto(const std::vector<SpecX>& vivos,
                                                const std::vector<FoodX>& alimentos,
                                                std::size_t alimento) override;

  protected:
    // Every individual is offered, and judged at the query.
    void prepararFemeas(const std::vector<SpecX>& vivos, std::span<const uint32_t>,
                        const MapaObstaculos*) override;
    void prepararMachosDe(const std::vector<SpecX>&, std::span<const uint32_t>) override {}

  private:
    bool bloqueado(int x1, int y1, int x2, int y2) const;
    const ObstaculosNivel& obstaculos;
    const Rect& arena;
    // Every individual as the partner search found it.
    std::vector<PontoLista> individuos;
    std::vector<uint32_t> candidatos;
};

} // namespace keldo::indices
