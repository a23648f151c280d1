#include "sim/EstatisticasPopulacao.h"
#include "sim/CKeldoDoc.h"
#include <charconv>

namespace {
using namespace AleloResumo;

// The autosomal alleles of one haplotype word: every allele of a two-bit
// gene has a column, a one-bit gene counts its capital allele (code 1).
void contarHaplotipo(std::array<uint32_t, total>& c, uint16_t w) {
    using namespace Genoma;
    ++c[V1 + alelo(Visao, w)];
    c[R] += alelo(Reproducao, w);
    c[P] += alelo(Partilha, w);
    c[L] += alelo(Luta, w);
    c[M] += alelo(Morte, w);
    ++c[I1 + alelo(Inteligencia, w)];
    c[N] += alelo(Neutro, w);
}

// Heterozygotes and capital homozygotes of every autosomal gene of one individual.
void contarGenotipo(AmostraPopulacao& a, uint16_t p, uint16_t m) {
    for (int k = 0; k < Genoma::numAutossomicos; ++k) {
        const auto g = static_cast<Genoma::Gene>(k);
        const int ap = Genoma::alelo(g, p), am = Genoma::alelo(g, m);
        a.heterozigotos[static_cast<size_t>(k)] += ap != am;
        a.homozigotosMaiusculos[static_cast<size_t>(k)] +=
            Genoma::genes[k].numBits == 1 && ap == 1 && am == 1;
    }
}

void anexarFracao(std::string& s, double v) {
    char texto[32];
    const auto r = std::to_chars(texto, texto + sizeof texto, v, std::chars_format::fixed, 4);
    s.append(texto, r.ptr);
}

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
    for (const SpecX& i : doc.vivos()) {
        if (!i.vivo())
            continue;
        ++(i.adulto() ? a.adultos : a.ovos);
        contarHaplotipo(a.contagem, i.genotipoP);
        contarHaplotipo(a.contagem, i.genotipoM);
        contarGenotipo(a, i.genotipoP, i.genotipoM);
        a.contagem[D] += static_cast<uint32_t>(Genoma::copiasMaiusculas(Genoma::Detecta, i.estado));
        a.cromossomosX += static_cast<uint32_t>(Genoma::copias(Genoma::Detecta, i.estado));
        a.contagem[C] += static_cast<uint32_t>(Genoma::copiasMaiusculas(Genoma::Cuida, i.estado));
        a.cromossomosY += static_cast<uint32_t>(Genoma::copias(Genoma::Cuida, i.estado));
    }
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
        s += ';';
        if (!a.definida(k)) {
            s += "NA";
            continue;
        }
        anexarFracao(s, a.frequencia(k));
    }
    const bool comIndividuos = a.adultos + a.ovos > 0;
    for (int k = 0; k < Genoma::numAutossomicos; ++k) {
        const auto g = static_cast<Genoma::Gene>(k);
        const double valores[4] = {a.heterozigoseObservada(g), a.heterozigoseEsperada(g),
                                   a.frequenciaGenotipo(g, 2), a.frequenciaGenotipo(g, 0)};
        const int quantos = Genoma::genes[k].numBits == 1 ? 4 : 2;
        for (int v = 0; v < quantos; ++v) {
            s += ';';
            if (comIndividuos)
                anexarFracao(s, valores[v]);
            else
                s += "NA";
        }
    }
}
