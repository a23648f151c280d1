#pragma once
#include "model/FoodX.h"
#include "model/Individuo.h"
#include "model/Random.h"
#include "sim/indices/MapaObstaculos.h"
#include "sim/indices/ProntosDaFase.h"
#include "sim/indices/RegrasVizinhanca.h"
#include <cstdint>
#include <memory>
#include <vector>

namespace keldo::indices {

using keldo::model::FoodX;
using keldo::model::Random;
using keldo::model::Rect;
using keldo::model::SpecX;

class ObstaculosNivel;

// Who is near whom in the phases of a cycle: the female a male heads for, the
// food a hungry individual heads for, the ready males beside a female and the
// eaters beside a food item. Two implementations give the same answers and
// the same draws: `BuscaPorVarredura`, scans of whole lists (the reference),
// and `BuscaIndexada`, sight indexes, grids and a cell table. Each answer is
// one call; the candidates are judged inside it. Positions are places in the
// list the phase passes in.
class BuscaVizinhos {
  public:
    virtual ~BuscaVizinhos() = default;
    static std::unique_ptr<BuscaVizinhos>
    criar(bool porVarredura, const ObstaculosNivel& obstaculos, const Rect& arena);

    // Once per partner search, before the males ask; then `prontos()` holds
    // the ready males that see, the free females and the ready ones.
    void prepararParceiras(const std::vector<SpecX>& vivos, const MapaObstaculos* mapa) {
        classificar(vivos);
        prepararFemeas(vivos, prontos_.femeasLivres(), mapa);
    }
    // The female `macho` heads for; -1 when none is in sight (then nothing is drawn).
    virtual int64_t parceira(const std::vector<SpecX>& vivos, const SpecX& macho, Random& rng) = 0;

    // Once per mating phase: mating only spends energy, so the males ready at
    // its start are all that can father. `prontos()` is classified anew,
    // unless the list is as the partner search just left it (`aposBusca`).
    void prepararMachos(const std::vector<SpecX>& vivos, bool aposBusca = false) {
        if (!aposBusca)
            classificar(vivos);
        prepararMachosDe(vivos, prontos_.machos());
    }
    const ProntosDaFase& prontos() const { return prontos_; }
    // The ready males within reach of the individual at `femea`, ascending.
    virtual const std::vector<uint32_t>& machosPerto(const std::vector<SpecX>& vivos,
                                                     std::size_t femea) = 0;
    // The same males as the choice of a father reads them: how many there are
    // (returned), the fighters among them (`lutadoresPerto`, ascending) and
    // the one at a place among all of them (`machoPerto`), so that a crowd
    // need not be listed. Until the next question only the males this answer
    // handed out (its fighters and the one picked) may change.
    virtual uint32_t consultarMachos(const std::vector<SpecX>& vivos, std::size_t femea);
    const std::vector<uint32_t>& lutadoresPerto() const { return lutadores_; }
    virtual uint32_t machoPerto(uint32_t ordem) { return (*machosDaConsulta)[ordem]; }

    // Once per food search.
    virtual void prepararAlimentos(const std::vector<FoodX>& alimentos,
                                   const MapaObstaculos* mapa) = 0;
    // The first food item of the list lying exactly on the whole cell (x, y), or null.
    virtual const FoodX* alimentoEm(const std::vector<FoodX>& alimentos, int16_t x,
                                    int16_t y) const = 0;
    // The food `quem` heads for; -1 when none is in sight (then nothing is drawn).
    virtual int64_t alimento(const std::vector<FoodX>& alimentos, const SpecX& quem,
                             Random& rng) = 0;

    // Once per feeding phase, with the food it hands out.
    virtual void prepararComensais(const std::vector<SpecX>& vivos,
                                   const std::vector<FoodX>& alimentos) = 0;
    // The individuals within reach of the food item at `alimento` that may eat it, ascending.
    virtual const std::vector<uint32_t>& comensaisPerto(const std::vector<SpecX>& vivos,
                                                        const std::vector<FoodX>& alimentos,
                                                        std::size_t alimento) = 0;

  protected:
    // The reference judges the ready and the free by the rules one by one.
    explicit BuscaVizinhos(bool prontosPorRegras = false) : porRegras(prontosPorRegras) {}
    // The sight search over the females at `femeas` (ascending places of the free ones).
    virtual void prepararFemeas(const std::vector<SpecX>& vivos, std::span<const uint32_t> femeas,
                                const MapaObstaculos* mapa) = 0;
    // The reach search over the males at `machos` (ascending places of the ready ones).
    virtual void prepararMachosDe(const std::vector<SpecX>& vivos,
                                  std::span<const uint32_t> machos) = 0;
    static int trunca(float v) { return static_cast<int>(v); }
    // The whole-list answers, in list order.
    static const std::vector<uint32_t>&
    varrerMachos(const std::vector<SpecX>& vivos, const SpecX& femea, std::vector<uint32_t>& saida);
    static const std::vector<uint32_t>& varrerComensais(const std::vector<SpecX>& vivos,
                                                        const FoodX& alimento,
                                                        std::vector<uint32_t>& saida);
    // The best candidate or one drawn by its place in the list, as the
    // intelligence draw decides (`Regras`); no candidate, no draw.
    template <class T>
    static int64_t escolherPorInteligencia(int inteligencia, T melhor,
                                           const std::vector<T>& candidatos, Random& rng) {
        if (candidatos.empty())
            return -1;
        if (Regras::escolheOMelhor(inteligencia, rng))
            return melhor;
        return candidatos[Regras::lugarSorteado(static_cast<uint32_t>(candidatos.size()), rng)];
    }

    // The fighters of the last `consultarMachos`, taken from its whole answer.
    void separarLutadores(const std::vector<SpecX>& vivos, const std::vector<uint32_t>& machos);
    std::vector<uint32_t> lutadores_;

  private:
    void classificar(const std::vector<SpecX>& vivos) {
        if (porRegras)
            prontos_.classificarPorRegras(vivos);
        else
            prontos_.classificar(vivos);
    }
    bool porRegras;
    ProntosDaFase prontos_;
    const std::vector<uint32_t>* machosDaConsulta = nullptr;
};

} // namespace keldo::indices
