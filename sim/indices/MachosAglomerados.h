#pragma once
#include "model/Individuo.h"
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace keldo::indices {

using keldo::model::SpecX;

// The ready males of a mating phase that crowd onto a few whole cells of the
// arena (a flock on one spot), kept apart from the grid: every female beside
// such a cell would otherwise list all of them, one by one, every time. A
// cell holding many ready males is a group with their bounding box; a female
// whose reach holds the whole box takes the group whole, and of it only the
// fighters are listed (the fight reads each of them); the others are counted
// and picked by their place through a tree of counts over their places. Only
// the males an answer handed out can lose their readiness before the next
// question (a father spends energy), so those are looked at again then.
class MachosAglomerados {
  public:
    // Of the ready males at `machos` (ascending places in `vivos`), those on a
    // whole cell with at least `minimoGrupo` of them form its group; the
    // others go to `espalhados`, ascending. False when no cell is that
    // crowded (then `espalhados` is left as it is and nothing is kept).
    bool construir(const std::vector<SpecX>& vivos, std::span<const uint32_t> machos,
                   std::vector<uint32_t>& espalhados);
    bool vazio() const { return grupos.empty(); }

    // The groups within reach of `femea`: those partly within it add their
    // ready males within reach, one by one, to `avulsos`; those wholly within
    // it add their ready fighters and are kept for `enesimo`. Returns how
    // many non-fighters those hold. `avulsos` may come out unsorted.
    uint32_t consultar(const std::vector<SpecX>& vivos, const SpecX& femea,
                       std::vector<uint32_t>& avulsos);
    // The `ordem`-th smallest place (from 0) of `avulsos` (ascending) and the
    // non-fighters of the groups the last question took whole.
    uint32_t enesimo(const std::vector<uint32_t>& avulsos, uint32_t ordem) const;
    // The male at `posicao` was handed out: a group's non-fighter that is no
    // longer ready leaves its group's counts.
    void conferir(const std::vector<SpecX>& vivos, uint32_t posicao);

    // Every ready male of the groups within reach of `femea`, one by one, appended to `saida`.
    void juntarPerto(const std::vector<SpecX>& vivos, const SpecX& femea,
                     std::vector<uint32_t>& saida) const;

    // Fewer males on a cell are left to the grid: listing them costs little.
    // Nor are cells counted among fewer ready males than `minimoMachos`: even
    // all on one spot, they cost less to list than the count costs a phase.
    static constexpr uint32_t minimoGrupo = 128;
    static constexpr uint32_t minimoMachos = 1024;

  private:
    struct Grupo {
        float x0, y0, x1, y1; // bounding box of the members
        bool ponto;           // every member on the same point
        uint32_t celula;
        uint32_t deNao, ateNao; // the non-fighters' slots in `naoLutadores`
        uint32_t deLut, ateLut; // the fighters still ready come first in `lutadores`
    };
    enum class Alcance { nenhum, parte, todo };
    Alcance alcanceDe(const Grupo& g, const SpecX& femea) const;
    template <class Fazer> void paraCadaGrupoPerto(const SpecX& femea, Fazer&& fazer) const;
    void adicionarMembrosPerto(const std::vector<SpecX>& vivos, const Grupo& g, const SpecX& femea,
                               std::vector<uint32_t>& saida) const;
    void montarArvore(const Grupo& g);
    // Tree of counts (one per group, over its non-fighters' slots): how many of
    // the first `n` slots are still counted; the slot holding the
    // `ordem`-th counted one; a slot that leaves.
    uint32_t somaAte(const Grupo& g, uint32_t n) const;
    uint32_t slotDe(const Grupo& g, uint32_t ordem) const;
    void retirar(const Grupo& g, uint32_t slot);
    // Counted non-fighters of the groups taken whole at places up to `posicao`.
    uint32_t contarAte(uint32_t posicao) const;
    static uint32_t celulaDe(float x, float y);

    static constexpr int lado = 100;
    std::vector<Grupo> grupos;
    std::vector<uint32_t> contagem;     // per cell, during a build only
    std::vector<int32_t> grupoDaCelula; // -1: none
    std::vector<uint32_t> naoLutadores; // places, ascending within each group
    std::vector<uint32_t> arvore;       // counts, slot for slot with `naoLutadores`
    std::vector<uint8_t> contado;       // whether each slot is still counted
    std::vector<uint32_t> lutadores;    // places, ascending within each group
    std::vector<uint32_t> inteiros;     // the groups the last question took whole
};

} // namespace keldo::indices
