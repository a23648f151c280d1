#include "sim/indices/ProntosDaFase.h"
#include <cstddef>
#include <cstring>

namespace keldo::indices {

namespace {
// Sizes a buffer that is written before it is read; it never shrinks, so its
// growth is the only time it is filled.
void garantir(std::vector<uint32_t>& buf, std::size_t n) {
    if (buf.size() < n)
        buf.resize(n);
}

// The status bits and the partition code, side by side in the record, read as one word.
static_assert(offsetof(SpecX, livre) == offsetof(SpecX, estado) + 1);
uint16_t estadoELivre(const SpecX& i) {
    uint16_t w;
    std::memcpy(&w, reinterpret_cast<const unsigned char*>(&i) + offsetof(SpecX, estado), 2);
    return w;
}
constexpr uint16_t bitsLidos = 0xFF00u | EstadoBit::vivo | EstadoBit::adulto | EstadoBit::sexo;
constexpr uint16_t femeaLivre = EstadoBit::vivo | EstadoBit::adulto; // and partition 0
constexpr uint16_t machoLivre = femeaLivre | EstadoBit::sexo;
} // namespace

void ProntosDaFase::classificar(const std::vector<SpecX>& vivos) {
    const std::size_t n = vivos.size();
    garantir(bufMachos, n);
    garantir(bufLivres, n);
    garantir(bufProntas, n);
    uint32_t* const machosAgora = bufMachos.data();
    uint32_t* const livresAgora = bufLivres.data();
    uint32_t* const prontasAgora = bufProntas.data();
    const SpecX* const lista = vivos.data();
    std::size_t m = 0, l = 0, p = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const SpecX& i = lista[k];
        const unsigned w = estadoELivre(i) & bitsLidos;
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
