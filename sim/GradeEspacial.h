#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A compact copy of an item's position and its place in its list, so that
// scans over many candidates touch little memory.
struct PontoLista {
    float x;
    float y;
    int32_t cx; // truncated coordinates, as the obstacle queries take them
    int32_t cy;
    uint32_t pos;
};

// Buckets of list positions over the arena, so that reach and sight queries
// look at nearby items only. A query returns the candidate positions in
// ascending list order, so the rules that choose among candidates by their
// order see exactly what a scan of the whole list would give them.
class GradeEspacial {
  public:
    // Buckets the positions of `itens` (anything with float x, y). The cells
    // get finer as the list grows, from 4 x 4 up to 25 x 25 over 0..99.
    template <class T> void construir(const std::vector<T>& itens) {
        escolherLado(itens.size());
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
    int celula(float v) const;
    void escolherLado(std::size_t n);
    void distribuir();

    int lado = 25;
    float tamanhoCelula = 4.0f;

    std::vector<uint16_t> celulaDe;
    std::vector<uint32_t> inicio;
    std::vector<uint32_t> posicoes;
    std::vector<uint32_t> cursor;
    mutable std::vector<uint64_t> marcas;
};
