#include "sim/indices/ProntosDaFase.h"

namespace keldo::indices {

namespace {
// Sizes a buffer that is written before it is read; it never shrinks, so its
// growth is the only time it is filled.
void garantir(std::vector<uint32_t>& buf, std::size_t n) {
    if (buf.size() < n)
        buf.resize(n);
}
} // namespace

template <bool femeaPronta> void ProntosDaFase::classificar(const std::vector<SpecX>& vivos) {
    const std::size_t n = vivos.size();
    garantir(bufMachos, n);
    garantir(bufFemeas, n);
    uint32_t* const machosAgora = bufMachos.data();
    uint32_t* const femeasAgora = bufFemeas.data();
    const SpecX* const lista = vivos.data();
    std::size_t m = 0, f = 0;
    constexpr uint8_t vivoAdulto = EstadoBit::vivo | EstadoBit::adulto;
    for (std::size_t k = 0; k < n; ++k) {
        const SpecX& i = lista[k];
        const unsigned livre = ((i.estado & vivoAdulto) == vivoAdulto) & (i.livre == 0);
        const unsigned pronto = livre & (i.energia >= i.limiarReproducao);
        const unsigned macho = i.estado & EstadoBit::sexo;
        machosAgora[m] = static_cast<uint32_t>(k);
        m += pronto & macho & (i.visao != 0);
        femeasAgora[f] = static_cast<uint32_t>(k);
        f += (femeaPronta ? pronto : livre) & (macho ^ 1u);
    }
    numMachos = m;
    numFemeas = f;
}

void ProntosDaFase::classificarBusca(const std::vector<SpecX>& vivos) {
    classificar<false>(vivos);
}

void ProntosDaFase::classificarAcasalamento(const std::vector<SpecX>& vivos) {
    classificar<true>(vivos);
}

} // namespace keldo::indices
