// The mating phases' lists, found by one branch-free pass over the status word,
// against their meaning for every status byte and partition code.
#include "IndividuoTeste.h"
#include "sim/indices/ProntosDaFase.h"
#include <gtest/gtest.h>
#include <vector>

using namespace keldo::indices;

TEST(ProntosDaFase, CadaEstadoELivre) {
    std::vector<SpecX> vivos;
    for (unsigned estado = 0; estado < 256; ++estado)
        for (unsigned livre = 0; livre < 256; ++livre)
            for (int pronto = 0; pronto < 2; ++pronto)
                for (int ve = 0; ve < 2; ++ve) {
                    SpecX s = IndividuoTeste().estado(estado).energia(100 + pronto).pronto();
                    s.livre = static_cast<uint8_t>(livre);
                    s.limiarReproducao = 101;
                    s.visao = static_cast<int16_t>(ve);
                    vivos.push_back(s);
                }
    std::vector<uint32_t> machos, livres, prontas;
    for (uint32_t k = 0; k < vivos.size(); ++k) {
        const SpecX& s = vivos[k];
        const bool livre = s.vivo() && s.adulto() && s.livre == 0;
        const bool pronto = s.energia >= s.limiarReproducao;
        if (livre && s.sexo() == 1 && pronto && s.visao != 0)
            machos.push_back(k);
        if (livre && s.sexo() == 0)
            livres.push_back(k);
        if (livre && s.sexo() == 0 && pronto)
            prontas.push_back(k);
    }
    ProntosDaFase p;
    p.classificar(vivos);
    EXPECT_EQ(std::vector<uint32_t>(p.machos().begin(), p.machos().end()), machos);
    EXPECT_EQ(std::vector<uint32_t>(p.femeasLivres().begin(), p.femeasLivres().end()), livres);
    EXPECT_EQ(std::vector<uint32_t>(p.femeasProntas().begin(), p.femeasProntas().end()), prontas);
    EXPECT_FALSE(machos.empty());
    EXPECT_FALSE(prontas.empty());
}
