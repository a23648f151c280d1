// Invariants of the fast classification:
// - the status byte alone decides sex, life, adulthood and partition
//   (`EstadoBit`; partition 0 = free), so one mask and one compare answer
//   `femeaLivre`/`machoPronto` but for the energy and the sight, which are
//   read beside it; a test checks every status byte against the rules;
// - each list is written at every place and its count advances by 0 or 1,
//   so the buffers hold room for the whole list (and no branch is taken).
#include "sim/indices/ProntosDaFase.h"
#include "sim/indices/RegrasVizinhanca.h"
#include <algorithm>
#include <cstddef>

namespace keldo::indices {

namespace EstadoBit = keldo::model::EstadoBit;

namespace {
constexpr unsigned particao = (0xFFu << EstadoBit::deslocamentoLivre) & 0xFFu;
constexpr unsigned bitsLidos = particao | EstadoBit::vivo | EstadoBit::adulto | EstadoBit::sexo;
constexpr unsigned femeaLivre = EstadoBit::vivo | EstadoBit::adulto; // and partition 0
constexpr unsigned machoLivre = femeaLivre | EstadoBit::sexo;
} // namespace

void ProntosDaFase::reservar(std::size_t n) {
    if (capacidade >= n)
        return;
    capacidade = std::max(n, 2 * capacidade);
    for (auto* buf : {&bufMachos, &bufLivres, &bufProntas}) {
        buf->reset(); // the old block goes before the new one is taken
        buf->reset(new uint32_t[capacidade]);
    }
}

void ProntosDaFase::classificar(const std::vector<SpecX>& vivos) {
    const std::size_t n = vivos.size();
    reservar(n);
    uint32_t* const machosAgora = bufMachos.get();
    uint32_t* const livresAgora = bufLivres.get();
    uint32_t* const prontasAgora = bufProntas.get();
    const SpecX* const lista = vivos.data();
    std::size_t m = 0, l = 0, p = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const SpecX& i = lista[k];
        const unsigned w = i.estado & bitsLidos;
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

void ProntosDaFase::classificarPorRegras(const std::vector<SpecX>& vivos) {
    reservar(vivos.size());
    numMachos = numLivres = numProntas = 0;
    for (std::size_t k = 0; k < vivos.size(); ++k) {
        const SpecX& i = vivos[k];
        const auto posicao = static_cast<uint32_t>(k);
        if (Regras::machoPronto(i))
            bufMachos[numMachos++] = posicao;
        if (Regras::femeaLivre(i))
            bufLivres[numLivres++] = posicao;
        if (Regras::femeaPronta(i))
            bufProntas[numProntas++] = posicao;
    }
}

} // namespace keldo::indices
