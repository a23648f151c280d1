#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Buckets of list positions over the arena, so that reach and sight queries
// look at nearby items only. A query returns the candidate positions in
// ascending list order, so the rules that choose among candidates by their
// order see exactly what a scan of the whole list would give them.
class GradeEspacial {
  public:
    static constexpr float tamanhoCelula = 4.0f;
    static constexpr int lado = 25; // cells per axis over 0..99

    // Buckets the positions of `itens` (anything with float x, y).
    template <class T> void construir(const std::vector<T>& itens) {
        celulaDe.resize(itens.size());
        for (std::size_t i = 0; i < itens.size(); ++i)
            celulaDe[i] = static_cast<uint16_t>(celula(itens[i].y) * lado + celula(itens[i].x));
        distribuir();
    }

    // Whether a query of this radius would visit so many cells that a scan of
    // the whole list is cheaper.
    static bool vale(float raio) { return raio < 30.0f; }

    // Positions of every item whose cell can hold a point within `raio` of
    // (x, y), ascending. Items beyond the radius may be included; none within it is left out.
    void consultar(float x, float y, float raio, std::vector<uint32_t>& saida) const;

  private:
    static int celula(float v);
    void distribuir();

    std::vector<uint16_t> celulaDe;
    std::vector<uint32_t> inicio;
    std::vector<uint32_t> posicoes;
    std::vector<uint32_t> cursor;
};
