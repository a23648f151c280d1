#pragma once
#include "sim/indices/AlimentosPorCelula.h"
#include "sim/indices/BuscaCandidatos.h"
#include "sim/indices/BuscaVizinhos.h"
#include "sim/indices/ContatosPorAlvo.h"
#include "sim/indices/GradeEspacial.h"
#include "sim/indices/MachosAglomerados.h"

namespace keldo::indices {

// The fast search: sight indexes over the females and the food a phase can
// head for, a grid over the ready males (or, in crowded feeding phases, over
// the eaters; males crowding onto a few cells are kept apart as groups), the
// eaters within reach of each food item, and a table of the food lying on
// whole cells. Short lists are scanned:
// an index would cost more than it saves.
class BuscaIndexada final : public BuscaVizinhos {
  public:
    int64_t parceira(const std::vector<SpecX>&, const SpecX& macho, Random& rng) override {
        return escolherNaBusca(buscaFemeas, macho, rng);
    }
    const std::vector<uint32_t>& machosPerto(const std::vector<SpecX>& vivos,
                                             std::size_t femea) override;
    uint32_t consultarMachos(const std::vector<SpecX>& vivos, std::size_t femea) override;
    uint32_t machoPerto(uint32_t ordem) override;
    void prepararAlimentos(const std::vector<FoodX>& alimentos,
                           const MapaObstaculos* mapa) override;
    const FoodX* alimentoEm(const std::vector<FoodX>& alimentos, int16_t x,
                            int16_t y) const override {
        return alimentosPorCelula.em(alimentos, x, y);
    }
    int64_t alimento(const std::vector<FoodX>&, const SpecX& quem, Random& rng) override {
        return escolherNaBusca(buscaAlimentos, quem, rng);
    }
    void prepararComensais(const std::vector<SpecX>& vivos,
                           const std::vector<FoodX>& alimentos) override;
    const std::vector<uint32_t>& comensaisPerto(const std::vector<SpecX>& vivos,
                                                const std::vector<FoodX>& alimentos,
                                                std::size_t alimento) override;

  protected:
    void prepararFemeas(const std::vector<SpecX>& vivos, std::span<const uint32_t> femeas,
                        const MapaObstaculos* mapa) override;
    void prepararMachosDe(const std::vector<SpecX>& vivos,
                          std::span<const uint32_t> machos) override;

  private:
    // Position in its list of what `quem` heads for, or -1 (nothing in sight, nothing drawn).
    int64_t escolherNaBusca(const BuscaCandidatos& busca, const SpecX& quem, Random& rng);
    // Kept apart, so the contact table's answers pay nothing for it.
    [[gnu::noinline]] const std::vector<uint32_t>&
    comensaisSemContatos(const std::vector<SpecX>& vivos, const FoodX& f);
    GradeEspacial grade;
    MachosAglomerados aglomerados;
    std::vector<uint32_t> machosEspalhados; // the ready males the grid holds, when some crowd
    int64_t machoEntregue = -1;             // the male the last `machoPerto` handed out
    ContatosPorAlvo contatos;
    bool comensaisNaGrade = false; // this feeding phase asks `grade`, not `contatos`
    std::vector<uint32_t> proximos;
    std::vector<PontoLista> femeasVisiveis;
    std::vector<PontoLista> alimentosVisiveis;
    BuscaCandidatos buscaFemeas;
    BuscaCandidatos buscaAlimentos;
    AlimentosPorCelula alimentosPorCelula;
};

} // namespace keldo::indices
