#include "cli/CondicaoParada.h"
#include "sim/EstatisticasPopulacao.h"
#include <charconv>

namespace keldo::cli {

using namespace keldo::sim;

namespace {
const std::string esperado =
    " (esperado extincao, sem-adultos, fixacao:GENE, perda:ALELO ou geracao:G)";

int geneDaLetra(const std::string& letra) {
    for (int g = 0; g < Genoma::numGenes; ++g)
        if (letra.size() == 1 && letra[0] == Genoma::genes[static_cast<size_t>(g)].sigla)
            return g;
    return -1;
}
} // namespace

std::string CondicaoParada::ler(const std::string& texto) {
    original = texto;
    const size_t doisPontos = texto.find(':');
    const std::string nome = texto.substr(0, doisPontos);
    const std::string argumento =
        doisPontos == std::string::npos ? std::string() : texto.substr(doisPontos + 1);
    if (texto == "extincao") {
        tipo = Tipo::extincao;
        return {};
    }
    if (texto == "sem-adultos") {
        tipo = Tipo::semAdultos;
        return {};
    }
    if (nome == "perda" && lerAlelo(argumento)) {
        tipo = Tipo::perda;
        return {};
    }
    if (nome == "fixacao" && (gene = geneDaLetra(argumento)) >= 0) {
        tipo = Tipo::fixacao;
        return {};
    }
    const char* fim = argumento.data() + argumento.size();
    const auto [resto, erro] = std::from_chars(argumento.data(), fim, geracao);
    if (nome == "geracao" && !argumento.empty() && erro == std::errc() && resto == fim &&
        geracao >= 0) {
        tipo = Tipo::geracao;
        return {};
    }
    return "condição inválida para --until: \"" + texto + "\"" + esperado;
}

bool CondicaoParada::vale(const AmostraPopulacao& amostra) const {
    switch (tipo) {
    case Tipo::extincao:
        return amostra.adultos + amostra.ovos == 0;
    case Tipo::semAdultos:
        return amostra.adultos == 0;
    case Tipo::fixacao:
        return fixado(amostra);
    case Tipo::perda:
        return perdido(amostra);
    case Tipo::geracao:
        return amostra.geracao >= geracao;
    default:
        return false;
    }
}

// Every allele of the gene but one gone: a one-bit gene's column counts the
// capital allele, so it is fixed at none or all; a two-bit gene has one
// column per allele.
bool CondicaoParada::fixado(const AmostraPopulacao& amostra) const {
    const Genoma::Gene g = static_cast<Genoma::Gene>(gene);
    const int primeira = Genoma::colunaResumo(g);
    const uint32_t base = amostra.base(primeira);
    if (base == 0)
        return false;
    if (Genoma::genes[static_cast<size_t>(g)].numBits == 1) {
        const uint32_t n = amostra.contagem[static_cast<size_t>(primeira)];
        return n == 0 || n == base;
    }
    int presentes = 0;
    for (int a = 0; a < Genoma::numAlelos(g); ++a)
        presentes += amostra.contagem[static_cast<size_t>(primeira + a)] > 0 ? 1 : 0;
    return presentes == 1;
}

// A summary column's allele, or the small letter of a one-bit gene, whose
// count is what the capital's column does not count.
bool CondicaoParada::lerAlelo(const std::string& nome) {
    for (int a = 0; a < AleloResumo::total; ++a)
        if (nome == AleloResumo::nomes[static_cast<size_t>(a)]) {
            alelo = a;
            return true;
        }
    for (int g = 0; g < Genoma::numGenes; ++g) {
        const auto& d = Genoma::genes[static_cast<size_t>(g)];
        if (d.numBits == 1 && nome == d.letras[1]) {
            alelo = Genoma::colunaResumo(static_cast<Genoma::Gene>(g));
            minuscula = true;
            return true;
        }
    }
    return false;
}

// No copy left among the carriers; a locus nobody carries has lost them all.
bool CondicaoParada::perdido(const AmostraPopulacao& amostra) const {
    const uint32_t n = amostra.contagem[static_cast<size_t>(alelo)];
    return minuscula ? n == amostra.base(alelo) : n == 0;
}

} // namespace keldo::cli
