#pragma once
#include <cstdint>
#include <string>

namespace keldo::sim {
struct AmostraPopulacao;
} // namespace keldo::sim

namespace keldo::cli {

using keldo::sim::AmostraPopulacao;

// --until: when a run of an experiment ends before its last cycle.
class CondicaoParada {
  public:
    // "extincao", "fixacao:GENE" (a gene letter of the summary: V R P L M I N D C)
    // or "geracao:G". Empty text when read, else the usage error (UTF-8).
    std::string ler(const std::string& texto);

    bool ativa() const { return tipo != Tipo::nenhuma; }
    // Whether the condition holds for a world with these figures.
    bool vale(const AmostraPopulacao& amostra) const;
    // The text it was read from, for the experiment's fingerprint.
    const std::string& texto() const { return original; }

  private:
    enum class Tipo { nenhuma, extincao, fixacao, geracao };
    Tipo tipo = Tipo::nenhuma;
    int gene = 0;
    int32_t geracao = 0;
    std::string original;

    bool fixado(const AmostraPopulacao& amostra) const;
};

} // namespace keldo::cli
