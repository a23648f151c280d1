// The genome table against hand-made words: where each gene lies, how its
// alleles are written, and the order of the summary columns. Files, traces
// and the editor's texts all depend on this layout.
#include "model/Genoma.h"
#include "sim/EstatisticasPopulacao.h"
#include <gtest/gtest.h>
#include <string>

using namespace keldo::sim;
using namespace keldo::model;

using namespace Genoma;

TEST(Genoma, CadaGeneNoSeuLugarDaPalavra) {
    const uint16_t mascaras[numAutossomicos] = {0x180, 0x040, 0x020, 0x010, 0x008, 0x006, 0x001};
    uint16_t todas = 0;
    for (int i = 0; i < numAutossomicos; ++i) {
        const auto g = static_cast<Gene>(i);
        EXPECT_EQ(mascara(g), mascaras[i]) << nome(g);
        EXPECT_EQ(genes[i].cromossomo, Cromossomo::autossomo);
        todas = static_cast<uint16_t>(todas | mascara(g));
    }
    EXPECT_EQ(todas, (1 << bitsComGenes) - 1);
    // P: V3 R p L m I2 N, as the editor's example spells it.
    const uint16_t w = 0x100 | 0x40 | 0x10 | 0x02 | 0x01;
    const int codigos[numAutossomicos] = {2, 1, 0, 1, 0, 1, 1};
    for (int i = 0; i < numAutossomicos; ++i)
        EXPECT_EQ(alelo(static_cast<Gene>(i), w), codigos[i]) << nome(static_cast<Gene>(i));
    // Writing an allele touches only its own bits, the bits above the genes included.
    EXPECT_EQ(comAlelo(Visao, 0, 3), 0x180);
    EXPECT_EQ(comAlelo(Inteligencia, 0xFFFF, 0), 0xFFF9);
    EXPECT_EQ(comAlelo(Neutro, 0xFE00, 1), 0xFE01);
    EXPECT_EQ(somaNoPar(Visao, 0x080, 0x180, 0) + somaNoPar(Visao, 0x080, 0x180, 1), 3);
    // Crossing points keep the bits below the boundary between two genes.
    const uint16_t abaixo[numPontosPermuta] = {0x7F, 0x3F, 0x1F, 0x0F, 0x07, 0x01};
    for (int p = 0; p < numPontosPermuta; ++p)
        EXPECT_EQ(abaixoDoPonto(p), abaixo[p]) << "ponto " << p + 1;
}

TEST(Genoma, NomesLetrasEOrdemDoResumo) {
    const char* nomes[numGenes] = {"Visão",        "Reprodução", "Partilha", "Luta", "Morte",
                                   "Inteligência", "Neutro",     "Detecta",  "Cuida"};
    for (int i = 0; i < numGenes; ++i)
        EXPECT_STREQ(nome(static_cast<Gene>(i)), nomes[i]);
    EXPECT_EQ(genes[Detecta].cromossomo, Cromossomo::X);
    EXPECT_EQ(genes[Cuida].cromossomo, Cromossomo::Y);
    // Capital letter first; code 1 is the capital of a one-bit gene.
    EXPECT_STREQ(letraNaPosicao(Reproducao, 0), "R");
    EXPECT_STREQ(letra(Reproducao, 0), "r");
    EXPECT_STREQ(letra(Visao, 2), "V3");
    EXPECT_STREQ(letra(Inteligencia, 3), "I4");
    EXPECT_STREQ(letra(Cuida, 1), "C");
    for (int i = 0; i < numGenes; ++i) {
        const auto g = static_cast<Gene>(i);
        for (int c = 0; c < numAlelos(g); ++c)
            EXPECT_EQ(codigoDaLetra(g, letra(g, c)), c) << letra(g, c);
    }
    EXPECT_EQ(codigoDaLetra(Visao, "V9"), 0);
    const char* colunas[] = {"V1", "V2", "V3", "V4", "R", "P", "L", "M",
                             "I1", "I2", "I3", "I4", "N", "D", "C"};
    ASSERT_EQ(AleloResumo::total, 15);
    for (int k = 0; k < AleloResumo::total; ++k)
        EXPECT_STREQ(AleloResumo::nomes[static_cast<size_t>(k)], colunas[k]);
    EXPECT_EQ(AleloResumo::I1, 8);
    EXPECT_EQ(AleloResumo::C, 14);
}

TEST(Genoma, CromossomosSexuaisNoEstado) {
    const uint8_t femeaDd = EstadoBit::detecX;                          // D on her first X
    const uint8_t machoDC = EstadoBit::sexo | EstadoBit::detecX | 0x02; // X: D, Y: C
    EXPECT_EQ(copias(Detecta, femeaDd), 2);
    EXPECT_EQ(copiasMaiusculas(Detecta, femeaDd), 1);
    EXPECT_EQ(copias(Cuida, femeaDd), 0);
    EXPECT_EQ(copias(Detecta, machoDC), 1);
    EXPECT_EQ(copiasMaiusculas(Detecta, machoDC), 1);
    EXPECT_EQ(copiasMaiusculas(Cuida, machoDC), 1);
    EXPECT_EQ(geneDoSegundo(machoDC), Cuida);
    EXPECT_EQ(geneDoSegundo(femeaDd), Detecta);
    EXPECT_EQ(EstadoBit::livre(0xC0 | machoDC), 3);
}

// The captions that keep their own spelling of a gene's name (a bare accent,
// an abbreviation) are held to the table with these checks.
TEST(Genoma, GrafiasDosNomesNasLegendas) {
    EXPECT_TRUE(nomeEscrito(Inteligencia, "Inteligência"));
    EXPECT_TRUE(nomeEscrito(Inteligencia, "Inteligencia"));
    EXPECT_TRUE(nomeEscrito(Reproducao, "Reproducao"));
    EXPECT_FALSE(nomeEscrito(Inteligencia, "Inteligenci"));
    EXPECT_FALSE(nomeEscrito(Inteligencia, "Inteligênciaa"));
    EXPECT_FALSE(nomeEscrito(Visao, "Visio"));
    EXPECT_FALSE(nomeEscrito(Luta, "Morte"));
    EXPECT_FALSE(nomeEscrito(Luta, "Lut."));
    for (const char* abreviado : {"Reprod.", "Reprodução", "R", "Reprodu."})
        EXPECT_TRUE(abreviacao(Reproducao, abreviado)) << abreviado;
    for (const char* errado : {"", ".", "Repr.d", "Reproducoes", "Reprodução."})
        EXPECT_FALSE(abreviacao(Reproducao, errado)) << errado;
    EXPECT_TRUE(abreviacao(Detecta, "Detec"));
    EXPECT_TRUE(abreviacao(Cuida, "Cui."));
    EXPECT_TRUE(abreviacao(Inteligencia, "Intel."));
    EXPECT_FALSE(abreviacao(Inteligencia, "Intl."));
    EXPECT_EQ(semAcento(0xA3), 'a'); // ã
    EXPECT_EQ(semAcento(0xA7), 'c'); // ç
    EXPECT_EQ(semAcento(0xAA), 'e'); // ê
    EXPECT_EQ(semAcento(0xBA), 'u'); // ú
    EXPECT_EQ(semAcento(0x80), '\0');
}
