#pragma once
#include <cstdint>
#include <string>

namespace keldo::sim {
struct AmostraPopulacao;
} // namespace keldo::sim

namespace keldo::cli {

using keldo::sim::AmostraPopulacao;

// One --until: when a run of an experiment ends before its last cycle.
class CondicaoParada {
  public:
    // "extincao", "sem-adultos", "fixacao:GENE" (a gene letter of the summary:
    // V R P L M I N D C), "perda:ALELO" (an allele column of the summary, or the
    // small letter of a one-bit gene) or "geracao:G". Empty text when read,
    // else the usage error (UTF-8).
    std::string ler(const std::string& texto);

    bool ativa() const { return tipo != Tipo::nenhuma; }
    // Whether the condition holds for a world with these figures.
    bool vale(const AmostraPopulacao& amostra) const;
    // The text it was read from: the fingerprint's and the parada column's.
    const std::string& texto() const { return original; }

  private:
    enum class Tipo { nenhuma, extincao, semAdultos, fixacao, perda, geracao };
    Tipo tipo = Tipo::nenhuma;
    int gene = 0;
    int alelo = 0;
    bool minuscula = false; // perda of a one-bit gene's small letter
    int32_t geracao = 0;
    std::string original;

    bool fixado(const AmostraPopulacao& amostra) const;
    bool perdido(const AmostraPopulacao& amostra) const;
    bool lerAlelo(const std::string& nome);
};

} // namespace keldo::cli
