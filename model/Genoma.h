#pragma once
// The genome of species X in one place: every gene, where its alleles lie in
// the haplotype words and the status byte, and how they are written. Every
// reader and writer of a genotype goes through these helpers, so moving a
// gene or renaming an allele is one edit here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace keldo::model {

// Bits of the status byte.
namespace EstadoBit {
constexpr uint8_t sexo = 0x01;         // 1 = male
constexpr uint8_t detecXCuidaY = 0x02; // female: Detecta of her 2nd X; male: Cuida of his Y
constexpr uint8_t detecX = 0x04;       // Detecta of the (first) X
constexpr uint8_t adulto = 0x08;
constexpr uint8_t vivo = 0x10;
constexpr int deslocamentoLivre = 6; // bits 7..6: partition code, 0 = free

constexpr bool ligado(uint8_t estado, uint8_t bit) {
    return (estado & bit) != 0;
}
constexpr uint8_t com(uint8_t estado, uint8_t bit, bool valor) {
    return valor ? static_cast<uint8_t>(estado | bit) : static_cast<uint8_t>(estado & ~bit);
}
constexpr int livre(uint8_t estado) {
    return estado >> deslocamentoLivre;
}

} // namespace EstadoBit

namespace Genoma {

enum class Cromossomo : uint8_t { autossomo, X, Y };

// The autosomal genes in chromosome order (the order crossing-over uses),
// then the gene of the X and the gene of the Y.
enum Gene : int { Visao, Reproducao, Partilha, Luta, Morte, Inteligencia, Neutro, Detecta, Cuida };
constexpr int numGenes = 9;
constexpr int numAutossomicos = 7;

// An allele's code is its bits: for a one-bit gene 1 is the capital letter
// (R) and 0 the small one (r); for a two-bit gene 0..3 are V1..V4. Lists in
// the interface show the capital letter first, so a one-bit gene's position
// there is the complement of its code.
struct DescricaoGene {
    const char* nome; // as the interface shows it (UTF-8)
    char sigla;       // short name: the letter of its summary columns
    Cromossomo cromossomo;
    int bitBaixo;                      // autosomes: lowest bit of the allele in a haplotype word
    int numBits;                       // bits of one allele
    uint8_t bitsEstado;                // sex-linked: the status bits that may hold its alleles
    std::array<const char*, 4> letras; // in the interface's order
};

inline constexpr std::array<DescricaoGene, numGenes> genes = {{
    {"Visão", 'V', Cromossomo::autossomo, 7, 2, 0, {"V1", "V2", "V3", "V4"}},
    {"Reprodução", 'R', Cromossomo::autossomo, 6, 1, 0, {"R", "r"}},
    {"Partilha", 'P', Cromossomo::autossomo, 5, 1, 0, {"P", "p"}},
    {"Luta", 'L', Cromossomo::autossomo, 4, 1, 0, {"L", "l"}},
    {"Morte", 'M', Cromossomo::autossomo, 3, 1, 0, {"M", "m"}},
    {"Inteligência", 'I', Cromossomo::autossomo, 1, 2, 0, {"I1", "I2", "I3", "I4"}},
    {"Neutro", 'N', Cromossomo::autossomo, 0, 1, 0, {"N", "n"}},
    {"Detecta", 'D', Cromossomo::X, -1, 1, EstadoBit::detecX | EstadoBit::detecXCuidaY, {"D", "d"}},
    {"Cuida", 'C', Cromossomo::Y, -1, 1, EstadoBit::detecXCuidaY, {"C", "c"}},
}};

// Haplotype words: bits 0..8 carry the genes, 9..15 nothing (but are inherited).
constexpr int bitsPorPalavra = 16;
constexpr int bitsComGenes = 9;
// The word without bits 9..15.
constexpr uint16_t soOsGenes(uint16_t palavra) {
    return static_cast<uint16_t>(palavra & ((1u << bitsComGenes) - 1u));
}

constexpr const char* nome(Gene g) {
    return genes[g].nome;
}
constexpr int numAlelos(Gene g) {
    return 1 << genes[g].numBits;
}
constexpr uint16_t mascara(Gene g) {
    return static_cast<uint16_t>(((1u << genes[g].numBits) - 1u) << genes[g].bitBaixo);
}

// One bit of a haplotype word, whatever gene it belongs to.
constexpr int bit(uint16_t palavra, int i) {
    return (palavra >> i) & 1;
}
constexpr uint16_t comBit(uint16_t palavra, int i, bool valor) {
    const uint16_t b = static_cast<uint16_t>(1u << i);
    return valor ? static_cast<uint16_t>(palavra | b) : static_cast<uint16_t>(palavra & ~b);
}
constexpr uint16_t invertido(uint16_t palavra, int i) {
    return static_cast<uint16_t>(palavra ^ (1u << i));
}

// The allele code of an autosomal gene in a haplotype word.
constexpr int alelo(Gene g, uint16_t palavra) {
    return (palavra & mascara(g)) >> genes[g].bitBaixo;
}
// The word with that allele replaced; every other bit is kept.
constexpr uint16_t comAlelo(Gene g, uint16_t palavra, int codigo) {
    const uint16_t m = mascara(g);
    return static_cast<uint16_t>((palavra & ~m) |
                                 ((static_cast<unsigned>(codigo) << genes[g].bitBaixo) & m));
}
// Bit i (0 = low) of an autosomal allele, summed over both haplotypes (0..2).
constexpr int somaNoPar(Gene g, uint16_t p, uint16_t m, int i = 0) {
    return bit(p, genes[g].bitBaixo + i) + bit(m, genes[g].bitBaixo + i);
}

// Crossing points: one between each pair of adjacent autosomal genes; the
// mask of a point holds the bits below it, which each word keeps.
constexpr int numPontosPermuta = numAutossomicos - 1;
constexpr uint16_t abaixoDoPonto(int ponto) {
    return static_cast<uint16_t>((1u << genes[ponto].bitBaixo) - 1u);
}

// Captions that write a gene's name their own way are checked against the
// table at compile time with these: an accented letter may be written bare
// ("Inteligencia", "Visao"), and an abbreviation is a shorter start of the
// name, a final '.' allowed ("Reprod.", "Detec").
constexpr char semAcento(unsigned char segundoByte) {
    // The second byte of a two-byte UTF-8 letter of Latin-1's lower half (after 0xC3).
    constexpr std::string_view letras = "aaaaaa?ceeeeiiiidnooooo?ouuuu";
    return segundoByte >= 0xA0 && segundoByte < 0xA0 + letras.size() ? letras[segundoByte - 0xA0]
                                                                     : '\0';
}
constexpr bool escritoComo(Gene g, std::string_view texto, bool abreviado) {
    const std::string_view nomeGene = genes[g].nome;
    size_t i = 0;
    for (size_t j = 0; j < texto.size(); ++j) {
        if (abreviado && texto[j] == '.' && j + 1 == texto.size())
            return j > 0 && i < nomeGene.size();
        if (i >= nomeGene.size())
            return false;
        const auto primeiro = static_cast<unsigned char>(nomeGene[i]);
        if (nomeGene[i] == texto[j]) {
            ++i;
        } else if (primeiro == 0xC3 && i + 1 < nomeGene.size() &&
                   semAcento(static_cast<unsigned char>(nomeGene[i + 1])) == texto[j]) {
            i += 2;
        } else {
            return false;
        }
    }
    return abreviado ? !texto.empty() : i == nomeGene.size();
}
// The whole name, accents perhaps left off.
constexpr bool nomeEscrito(Gene g, std::string_view texto) {
    return escritoComo(g, texto, false);
}
// A start of the name, accents perhaps left off, perhaps ended by '.'.
constexpr bool abreviacao(Gene g, std::string_view texto) {
    return escritoComo(g, texto, true);
}

// Interface order and letters.
constexpr int posicaoDoCodigo(Gene g, int codigo) {
    return genes[g].numBits == 1 ? 1 - codigo : codigo;
}
constexpr int codigoDaPosicao(Gene g, int posicao) {
    return posicaoDoCodigo(g, posicao);
}
// A one-bit gene shows its small letter at any position but the first.
constexpr const char* letraNaPosicao(Gene g, int posicao) {
    const int i = genes[g].numBits == 1 ? (posicao == 0 ? 0 : 1) : (posicao & 3);
    return genes[g].letras[static_cast<size_t>(i)];
}
constexpr const char* letra(Gene g, int codigo) {
    return letraNaPosicao(g, posicaoDoCodigo(g, codigo));
}
// The code a written allele stands for: a two-bit gene by the digit after its
// letter (anything but 1..4 reads as the first allele), a one-bit gene by its
// capital letter (anything else is the small one).
constexpr int codigoDoDigito(char d) {
    return d >= '1' && d <= '4' ? d - '1' : 0;
}
constexpr int codigoDoCaractere(Gene g, char c) {
    return genes[g].numBits == 2 ? codigoDoDigito(c) : (c == genes[g].sigla ? 1 : 0);
}
constexpr int codigoDaLetra(Gene g, std::string_view texto) {
    if (genes[g].numBits == 2)
        return texto.size() > 1 ? codigoDoDigito(texto[1]) : 0;
    return texto == genes[g].letras[0] ? 1 : 0;
}

// The sex chromosomes in the status byte. Every individual has an X (a male's
// only one, a female's first); the second slot is a female's second X or a
// male's Y.
constexpr bool macho(uint8_t estado) {
    return EstadoBit::ligado(estado, EstadoBit::sexo);
}
constexpr int aleloPrimeiroX(uint8_t estado) {
    return EstadoBit::ligado(estado, EstadoBit::detecX) ? 1 : 0;
}
constexpr int aleloSegundo(uint8_t estado) {
    return EstadoBit::ligado(estado, EstadoBit::detecXCuidaY) ? 1 : 0;
}
constexpr Gene geneDoSegundo(uint8_t estado) {
    return macho(estado) ? Cuida : Detecta;
}
// Copies of a sex-linked gene an individual carries, and how many of them
// are the capital allele.
constexpr int copias(Gene g, uint8_t estado) {
    if (g == Cuida)
        return macho(estado) ? 1 : 0;
    return macho(estado) ? 1 : 2;
}
constexpr int copiasMaiusculas(Gene g, uint8_t estado) {
    if (g == Cuida)
        return macho(estado) ? aleloSegundo(estado) : 0;
    return aleloPrimeiroX(estado) + (macho(estado) ? 0 : aleloSegundo(estado));
}

// The summary's allele columns: the four alleles of a two-bit gene, the
// capital allele of a one-bit gene, genes in order.
constexpr int colunasDoGene(Gene g) {
    return genes[g].numBits == 2 ? numAlelos(g) : 1;
}
constexpr int colunaResumo(Gene g) {
    int coluna = 0;
    for (int i = 0; i < g; ++i)
        coluna += colunasDoGene(static_cast<Gene>(i));
    return coluna;
}
constexpr int numColunasResumo = colunaResumo(Cuida) + colunasDoGene(Cuida);
constexpr std::array<const char*, numColunasResumo> nomesColunasResumo() {
    std::array<const char*, numColunasResumo> nomes{};
    for (int i = 0; i < numGenes; ++i) {
        const Gene g = static_cast<Gene>(i);
        for (int k = 0; k < colunasDoGene(g); ++k)
            nomes[static_cast<size_t>(colunaResumo(g) + k)] =
                genes[i].letras[static_cast<size_t>(k)];
    }
    return nomes;
}

} // namespace Genoma

} // namespace keldo::model
