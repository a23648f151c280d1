#include "sim/EstatisticasPopulacao.h"
#include "io/Bits.h"
#include "io/DecimalFixo.h"
#include "sim/CKeldoDoc.h"
#include <charconv>
#include <cmath>
#include <version>

namespace keldo::sim {

using namespace keldo::io;
using namespace keldo::model;

namespace {
using namespace AleloResumo;

// A sample is counted through small tables of how many living individuals
// show each bit pattern; the figures are read off the tables once at the
// end, so each individual costs a handful of increments.

// The bits of the one-bit autosomal genes in a haplotype word.
constexpr uint16_t mascaraUmBit = [] {
    uint16_t m = 0;
    for (int k = 0; k < Genoma::numAutossomicos; ++k)
        if (Genoma::genes[k].numBits == 1)
            m = static_cast<uint16_t>(m | Genoma::mascara(static_cast<Genoma::Gene>(k)));
    return m;
}();
// The autosomal genes of two bits, whose allele pairs are tallied gene by gene.
constexpr int numDoisBits = [] {
    int n = 0;
    for (int k = 0; k < Genoma::numAutossomicos; ++k)
        n += Genoma::genes[k].numBits == 2;
    return n;
}();
constexpr std::array<Genoma::Gene, numDoisBits> genesDoisBits = [] {
    std::array<Genoma::Gene, numDoisBits> g{};
    size_t n = 0;
    for (int k = 0; k < Genoma::numAutossomicos; ++k)
        if (Genoma::genes[k].numBits == 2)
            g[n++] = static_cast<Genoma::Gene>(k);
    return g;
}();
// The status bits the sample reads: sex, the sex-linked alleles and adulthood.
constexpr uint8_t bitsEstadoContados =
    EstadoBit::sexo | EstadoBit::detecXCuidaY | EstadoBit::detecX | EstadoBit::adulto;

struct Tabelas {
    // By the one-bit genes where the two words differ, and where both are capital.
    std::array<uint32_t, mascaraUmBit + 1u> diferentes{};
    std::array<uint32_t, mascaraUmBit + 1u> duplos{};
    // By the pair of alleles (father's, mother's) of each two-bit gene.
    std::array<std::array<uint32_t, 16>, numDoisBits> pares{};
    std::array<uint32_t, bitsEstadoContados + 1u> estados{};

    void contar(const SpecX& i) {
        const uint16_t p = i.genotipoP, m = i.genotipoM;
        ++diferentes[(p ^ m) & mascaraUmBit];
        ++duplos[p & m & mascaraUmBit];
        for (size_t k = 0; k < genesDoisBits.size(); ++k) {
            const Genoma::Gene g = genesDoisBits[k];
            ++pares[k][static_cast<size_t>(Genoma::alelo(g, p) << 2 | Genoma::alelo(g, m))];
        }
        ++estados[i.estado & bitsEstadoContados];
    }

    void lerUmBit(AmostraPopulacao& a) const {
        // Every pattern of the mask's bits, walked as its subsets.
        for (uint16_t v = mascaraUmBit;; v = static_cast<uint16_t>((v - 1) & mascaraUmBit)) {
            for (int k = 0; k < Genoma::numAutossomicos; ++k) {
                const auto g = static_cast<Genoma::Gene>(k);
                if (Genoma::genes[k].numBits != 1 || !(v & Genoma::mascara(g)))
                    continue;
                a.heterozigotos[static_cast<size_t>(k)] += diferentes[v];
                a.homozigotosMaiusculos[static_cast<size_t>(k)] += duplos[v];
            }
            if (v == 0)
                break;
        }
        for (int k = 0; k < Genoma::numAutossomicos; ++k)
            if (Genoma::genes[k].numBits == 1)
                a.contagem[static_cast<size_t>(
                    Genoma::colunaResumo(static_cast<Genoma::Gene>(k)))] =
                    2 * a.homozigotosMaiusculos[static_cast<size_t>(k)] +
                    a.heterozigotos[static_cast<size_t>(k)];
    }

    void lerDoisBits(AmostraPopulacao& a) const {
        for (size_t k = 0; k < genesDoisBits.size(); ++k) {
            const Genoma::Gene g = genesDoisBits[k];
            const size_t coluna = static_cast<size_t>(Genoma::colunaResumo(g));
            for (size_t par = 0; par < 16; ++par) {
                const uint32_t n = pares[k][par];
                a.contagem[coluna + (par >> 2)] += n;
                a.contagem[coluna + (par & 3)] += n;
                if ((par >> 2) != (par & 3))
                    a.heterozigotos[static_cast<size_t>(g)] += n;
            }
        }
    }

    void lerEstados(AmostraPopulacao& a) const {
        for (uint8_t e = 0; e < estados.size(); ++e) {
            const uint32_t n = estados[e];
            if ((e & bitsEstadoContados) != e || n == 0)
                continue;
            (EstadoBit::ligado(e, EstadoBit::adulto) ? a.adultos : a.ovos) +=
                static_cast<int32_t>(n);
            const auto vezes = [n](int copias) { return n * static_cast<uint32_t>(copias); };
            a.contagem[D] += vezes(Genoma::copiasMaiusculas(Genoma::Detecta, e));
            a.cromossomosX += vezes(Genoma::copias(Genoma::Detecta, e));
            a.contagem[C] += vezes(Genoma::copiasMaiusculas(Genoma::Cuida, e));
            a.cromossomosY += vezes(Genoma::copias(Genoma::Cuida, e));
        }
    }
};

// `v` with four decimals rounded half to even on its exact binary value, as
// std::to_chars writes it, without the library's general machinery; null when
// `v` is not a number from 0 to 2^40 (left to the library).
char* escreverQuatroDecimais(char* p, double v) {
#ifdef __SIZEOF_INT128__
    if (!(v >= 0.0 && v < 1099511627776.0) || std::signbit(v)) // -0.0 is written "-0.0000"
        return nullptr;
    uint64_t dezMilesimos = 0; // v * 10000, rounded
    if (v != 0.0) {
        const uint64_t bits = converterBits<uint64_t>(v);
        const int expoente = static_cast<int>(bits >> 52);
        const uint64_t fracao = bits & ((uint64_t{1} << 52) - 1);
        // v = mantissa * 2^-deslocamento, with 12 < deslocamento (v < 2^40).
        const uint64_t mantissa = expoente == 0 ? fracao : fracao | (uint64_t{1} << 52);
        const int deslocamento = expoente == 0 ? 1074 : 1075 - expoente;
        if (deslocamento < 100) { // else v * 10000 < 2^-32: rounds to 0
            const unsigned __int128 produto = static_cast<unsigned __int128>(mantissa) * 10000u;
            const unsigned __int128 metade = static_cast<unsigned __int128>(1)
                                             << (deslocamento - 1);
            const unsigned __int128 resto = produto & (2 * metade - 1);
            dezMilesimos = static_cast<uint64_t>(produto >> deslocamento);
            if (resto > metade || (resto == metade && (dezMilesimos & 1)))
                ++dezMilesimos;
        }
    }
    p = std::to_chars(p, p + 24, dezMilesimos / 10000).ptr;
    *p++ = '.';
    uint64_t decimais = dezMilesimos % 10000;
    for (int k = 3; k >= 0; --k, decimais /= 10)
        p[k] = static_cast<char>('0' + decimais % 10);
    return p + 4;
#else
    (void)p;
    (void)v;
    return nullptr;
#endif
}

} // namespace

void EstatisticasPopulacao::anexarFracao(std::string& s, double v) {
    char texto[330]; // room for the largest double in fixed notation
    texto[0] = ';';
    char* fim = escreverQuatroDecimais(texto + 1, v);
    if (!fim)
#ifdef __cpp_lib_to_chars
        fim = std::to_chars(texto + 1, texto + sizeof texto, v, std::chars_format::fixed, 4).ptr;
#else
        fim = escreverDecimalFixo4(texto + 1, v);
#endif
    s.append(texto, fim);
}

namespace {
void anexarInteiro(std::string& s, int64_t v) {
    char texto[24];
    const auto r = std::to_chars(texto, texto + sizeof texto, v);
    s.append(texto, r.ptr);
}
} // namespace

uint32_t AmostraPopulacao::base(int alelo) const {
    if (alelo == D)
        return cromossomosX;
    if (alelo == C)
        return cromossomosY;
    return 2u * static_cast<uint32_t>(adultos + ovos);
}

double AmostraPopulacao::frequencia(int alelo) const {
    const uint32_t b = base(alelo);
    return b == 0 ? 0.0 : static_cast<double>(contagem[static_cast<size_t>(alelo)]) / b;
}

double AmostraPopulacao::heterozigoseObservada(Genoma::Gene g) const {
    const int n = adultos + ovos;
    return n == 0 ? 0.0 : static_cast<double>(heterozigotos[static_cast<size_t>(g)]) / n;
}

double AmostraPopulacao::heterozigoseEsperada(Genoma::Gene g) const {
    const int coluna = Genoma::colunaResumo(g);
    if (!definida(coluna))
        return 0.0;
    double somaQuadrados = 0.0;
    if (Genoma::colunasDoGene(g) == 1) {
        const double p = frequencia(coluna);
        somaQuadrados = p * p + (1.0 - p) * (1.0 - p);
    } else {
        for (int k = 0; k < Genoma::colunasDoGene(g); ++k)
            somaQuadrados += frequencia(coluna + k) * frequencia(coluna + k);
    }
    return 1.0 - somaQuadrados;
}

double AmostraPopulacao::frequenciaGenotipo(Genoma::Gene g, int maiusculas) const {
    const int n = adultos + ovos;
    if (n == 0)
        return 0.0;
    const auto k = static_cast<size_t>(g);
    const uint32_t maiusculo = homozigotosMaiusculos[k];
    const uint32_t quantos = maiusculas == 1 ? heterozigotos[k]
                             : maiusculas == 2
                                 ? maiusculo
                                 : static_cast<uint32_t>(n) - maiusculo - heterozigotos[k];
    return static_cast<double>(quantos) / n;
}

EstatisticasPopulacao::EstatisticasPopulacao(size_t capacidade)
    : limite(capacidade < 2 ? 2 : capacidade + (capacidade & 1)) {}

AmostraPopulacao EstatisticasPopulacao::medir(const CKeldoDoc& doc) {
    AmostraPopulacao a;
    a.tempo = doc.tempo();
    a.mortos = static_cast<int32_t>(doc.numMortos());
    a.geracao = doc.geracao();
    a.alimentos = static_cast<int32_t>(doc.alimentos().size());
    Tabelas t;
    for (const SpecX& i : doc.vivos())
        if (i.vivo())
            t.contar(i);
    t.lerUmBit(a);
    t.lerDoisBits(a);
    t.lerEstados(a);
    return a;
}

void EstatisticasPopulacao::iniciar(const CKeldoDoc& doc) {
    if (ligada && pontos.capacity() < limite)
        pontos.reserve(limite);
    pontos.clear();
    passoAtual = 1;
    inicio = doc.tempo();
    ++versaoAtual;
    atual = medir(doc);
    pontos.push_back(atual);
}

void EstatisticasPopulacao::registrar(const CKeldoDoc& doc) {
    if (!ligada)
        return;
    atual = medir(doc);
    const uint32_t decorrido = static_cast<uint32_t>(atual.tempo) - static_cast<uint32_t>(inicio);
    if (decorrido % passoAtual == 0)
        guardar(atual);
}

void EstatisticasPopulacao::guardar(const AmostraPopulacao& amostra) {
    if (pontos.capacity() < limite) // switched on after the start
        pontos.reserve(limite);
    if (pontos.size() >= limite)
        reduzirPelaMetade();
    pontos.push_back(amostra);
}

// Keeps the points at even offsets; with an even bound the next point due
// then falls on the doubled spacing, so the points stay evenly spaced.
void EstatisticasPopulacao::reduzirPelaMetade() {
    const size_t metade = (pontos.size() + 1) / 2;
    for (size_t k = 1; k < metade; ++k)
        pontos[k] = pontos[2 * k];
    pontos.resize(metade);
    passoAtual *= 2;
    ++versaoAtual;
}

const char* EstatisticasPopulacao::cabecalhoCsv() {
    static const std::string cabecalho = [] {
        std::string s = "tempo;adultos;ovos;mortos;geracao;alimentos";
        for (const char* nome : nomes) {
            s += ';';
            s += nome;
        }
        for (int k = 0; k < Genoma::numAutossomicos; ++k) {
            const auto& gene = Genoma::genes[k];
            for (const char* prefixo : {";Ho", ";He"})
                (s += prefixo) += gene.sigla;
            if (gene.numBits == 1)
                for (const char* letra : {gene.letras[0], gene.letras[1]})
                    ((s += ';') += letra) += letra;
        }
        return s;
    }();
    return cabecalho.c_str();
}

std::string EstatisticasPopulacao::textoCsv() const {
    std::string s;
    s.reserve((pontos.size() + 2) * 128);
    s += cabecalhoCsv();
    s += '\n';
    for (const AmostraPopulacao& a : pontos) {
        anexarLinhaCsv(s, a);
        s += '\n';
    }
    if (!pontos.empty() && pontos.back().tempo != atual.tempo) {
        anexarLinhaCsv(s, atual);
        s += '\n';
    }
    return s;
}

// Locale-independent: a decimal point whatever the program's locale, and
// "NA" (what R and pandas read as missing) where nobody carries the locus.
void EstatisticasPopulacao::anexarLinhaCsv(std::string& s, const AmostraPopulacao& a) {
    for (int32_t v : {a.tempo, a.adultos, a.ovos, a.mortos, a.geracao}) {
        anexarInteiro(s, v);
        s += ';';
    }
    anexarInteiro(s, a.alimentos);
    for (int k = 0; k < total; ++k) {
        if (a.definida(k))
            anexarFracao(s, a.frequencia(k));
        else
            s += ";NA";
    }
    const bool comIndividuos = a.adultos + a.ovos > 0;
    for (int k = 0; k < Genoma::numAutossomicos; ++k) {
        const auto g = static_cast<Genoma::Gene>(k);
        const int quantos = Genoma::genes[k].numBits == 1 ? 4 : 2;
        if (!comIndividuos) {
            for (int v = 0; v < quantos; ++v)
                s += ";NA";
            continue;
        }
        const double valores[4] = {a.heterozigoseObservada(g), a.heterozigoseEsperada(g),
                                   a.frequenciaGenotipo(g, 2), a.frequenciaGenotipo(g, 0)};
        for (int v = 0; v < quantos; ++v)
            anexarFracao(s, valores[v]);
    }
}

} // namespace keldo::sim
