#include "sim/indices/ProntosDaFase.h"
#include <algorithm>
#include <cstddef>

namespace keldo::indices {

using namespace keldo::model;

namespace {
constexpr uint16_t bitsLidos =
    EstadoBit::seguinteNaPalavra | EstadoBit::vivo | EstadoBit::adulto | EstadoBit::sexo;
constexpr uint16_t femeaLivre = EstadoBit::vivo | EstadoBit::adulto; // and partition 0
constexpr uint16_t machoLivre = femeaLivre | EstadoBit::sexo;
} // namespace

void ProntosDaFase::classificar(const std::vector<SpecX>& vivos) {
    const std::size_t n = vivos.size();
    if (capacidade < n) {
        capacidade = std::max(n, 2 * capacidade);
        for (auto* buf : {&bufMachos, &bufLivres, &bufProntas}) {
            buf->reset(); // the old block goes before the new one is taken
            buf->reset(new uint32_t[capacidade]);
        }
    }
    uint32_t* const machosAgora = bufMachos.get();
    uint32_t* const livresAgora = bufLivres.get();
    uint32_t* const prontasAgora = bufProntas.get();
    const SpecX* const lista = vivos.data();
    std::size_t m = 0, l = 0, p = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const SpecX& i = lista[k];
        const unsigned w = EstadoBit::comOSeguinte(i) & bitsLidos;
        const unsigned pronto = i.energia >= i.limiarReproducao;
        const unsigned livre = w == femeaLivre;
        const auto posicao = static_cast<uint32_t>(k);
        machosAgora[m] = posicao;
        m += (w == machoLivre) & pronto & (i.visao != 0);
        livresAgora[l] = posicao;
        l += livre;
        prontasAgora[p] = posicao;
        p += livre & pronto;
    }
    numMachos = m;
    numLivres = l;
    numProntas = p;
}

} // namespace keldo::indices
