#pragma once
#include "sim/indices/AlimentosPorCelula.h"
#include "sim/indices/BuscaCandidatos.h"
#include "sim/indices/BuscaVizinhos.h"
#include "sim/indices/GradeEspacial.h"
#include "sim/indices/ListaCurtaAlimentos.h"

// The fast search: sight indexes over the females and the food a phase can
// head for, grids over the individuals for the contact reach, and a table of
// the food lying on whole cells. Short lists are scanned: an index would cost
// more than it saves.
class BuscaIndexada final : public BuscaVizinhos {
  public:
    void prepararParceiras(const std::vector<SpecX>& vivos, const MapaObstaculos* mapa) override;
    int64_t parceira(const std::vector<SpecX>&, const SpecX& macho, Random& rng) override {
        return escolherNaBusca(buscaFemeas, macho, rng);
    }
    void prepararMachos(const std::vector<SpecX>& vivos) override;
    const std::vector<uint32_t>& machosPerto(const std::vector<SpecX>& vivos,
                                             const SpecX& femea) override;
    void prepararAlimentos(const std::vector<FoodX>& alimentos,
                           const MapaObstaculos* mapa) override;
    const FoodX* alimentoEm(const std::vector<FoodX>& alimentos, int16_t x,
                            int16_t y) const override {
        return alimentosPorCelula.em(alimentos, x, y);
    }
    int64_t alimento(const std::vector<FoodX>&, const SpecX& quem, Random& rng) override {
        return alimentosCurtos ? listaCurta.escolher(quem, rng)
                               : escolherNaBusca(buscaAlimentos, quem, rng);
    }
    void prepararComensais(const std::vector<SpecX>& vivos) override;
    const std::vector<uint32_t>& comensaisPerto(const std::vector<SpecX>& vivos,
                                                const FoodX& alimento) override;

  private:
    // Position in its list of what `quem` heads for, or -1 (nothing in sight, nothing drawn).
    int64_t escolherNaBusca(const BuscaCandidatos& busca, const SpecX& quem, Random& rng);
    // Positions in the list, ascending, of the items of `perto` that `aceita`
    // takes; `aceita` itself requires an item to lie within the contact reach
    // of (x, y), so the grid may turn away farther ones first.
    template <class Aceita>
    const std::vector<uint32_t>& proximosQue(const std::vector<PontoLista>& perto, float x, float y,
                                             Aceita&& aceita) {
        if (perto.size() >= minimoParaGrade) {
            grade.consultar(
                x, y, alcanceContato, [&](uint32_t k) { return aceita(perto[k].pos); }, proximos);
            // Ascending places in `perto` are ascending places in the list.
            for (uint32_t& k : proximos)
                k = perto[k].pos;
            return proximos;
        }
        proximos.clear();
        for (const PontoLista& p : perto)
            if (aceita(p.pos))
                proximos.push_back(p.pos);
        return proximos;
    }
    // Of `vivos`, those `pode` admits (with their places), on the contact grid.
    template <class Pode>
    void prepararContato(const std::vector<SpecX>& vivos, std::vector<PontoLista>& perto,
                         Pode&& pode) {
        esvaziarRascunho(perto, vivos.size());
        for (size_t k = 0; k < vivos.size(); ++k) {
            const SpecX& p = vivos[k];
            if (pode(p))
                perto.push_back({p.x, p.y, 0, 0, static_cast<uint32_t>(k)});
        }
        if (perto.size() >= minimoParaGrade)
            grade.construir(perto);
    }

    // Lists shorter than this are scanned whole: the indexes would cost more than they save.
    static constexpr size_t minimoParaIndice = 48;
    // The contact grid costs a pass over the few it holds, so only the
    // shortest lists are scanned instead.
    static constexpr size_t minimoParaGrade = 12;
    GradeEspacial grade;
    std::vector<uint32_t> proximos;
    std::vector<uint32_t> candidatos;
    std::vector<PontoLista> femeasVisiveis;
    std::vector<PontoLista> alimentosVisiveis;
    std::vector<PontoLista> machosProntos;
    std::vector<PontoLista> comensais;
    BuscaCandidatos buscaFemeas;
    BuscaCandidatos buscaAlimentos;
    // Food lists up to ListaCurtaAlimentos::maximo are searched by scans.
    bool alimentosCurtos = false;
    ListaCurtaAlimentos listaCurta;
    AlimentosPorCelula alimentosPorCelula;
};
