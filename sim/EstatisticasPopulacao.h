#pragma once
#include "model/Genoma.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace keldo::sim {

namespace Genoma = keldo::model::Genoma;

class CKeldoDoc;

// Alleles counted in every sample, in the order of the summary columns.
namespace AleloResumo {
enum : int {
    V1 = Genoma::colunaResumo(Genoma::Visao),
    V2,
    V3,
    V4,
    R = Genoma::colunaResumo(Genoma::Reproducao),
    P = Genoma::colunaResumo(Genoma::Partilha),
    L = Genoma::colunaResumo(Genoma::Luta),
    M = Genoma::colunaResumo(Genoma::Morte),
    I1 = Genoma::colunaResumo(Genoma::Inteligencia),
    I2,
    I3,
    I4,
    N = Genoma::colunaResumo(Genoma::Neutro),
    D = Genoma::colunaResumo(Genoma::Detecta),
    C = Genoma::colunaResumo(Genoma::Cuida)
};
constexpr int total = Genoma::numColunasResumo;
// Column names, plain ASCII.
inline constexpr std::array<const char*, total> nomes = Genoma::nomesColunasResumo();
} // namespace AleloResumo

// The figures of a world at one moment: counters, and the alleles carried by
// the living adults and eggs. Counts are kept rather than frequencies so that
// the figures can be compared exactly and formatted without rounding twice.
struct AmostraPopulacao {
    int32_t tempo = 0;
    int32_t adultos = 0;
    int32_t ovos = 0;
    int32_t mortos = 0;
    int32_t geracao = 0;
    int32_t alimentos = 0;
    std::array<uint32_t, AleloResumo::total> contagem{};
    // Every X chromosome carries a Detecta allele, every Y a Cuida allele.
    uint32_t cromossomosX = 0;
    uint32_t cromossomosY = 0;
    // Per autosomal gene, in the genome's order: individuals carrying two
    // different alleles, and (one-bit genes) those carrying the capital twice.
    std::array<uint32_t, Genoma::numAutossomicos> heterozigotos{};
    std::array<uint32_t, Genoma::numAutossomicos> homozigotosMaiusculos{};

    // What the count of `alelo` is taken over: 2 per individual for the
    // autosomal genes, the X chromosomes for D, the Y chromosomes for C.
    uint32_t base(int alelo) const;
    // False when nobody carries the locus (no individuals, or no males for C).
    bool definida(int alelo) const { return base(alelo) > 0; }
    // Frequency 0..1; 0 when not defined.
    double frequencia(int alelo) const;

    // Of an autosomal gene, over the living (0 without anybody): the share of
    // heterozygotes, the share Hardy–Weinberg expects from the allele
    // frequencies (1 − Σ p²), and for a one-bit gene the share of individuals
    // with `maiusculas` (0..2) capital alleles.
    double heterozigoseObservada(Genoma::Gene g) const;
    double heterozigoseEsperada(Genoma::Gene g) const;
    double frequenciaGenotipo(Genoma::Gene g, int maiusculas) const;
};

// The per-cycle history of a world, from its creation or load on. The number
// of points is bounded: when full, every second point is dropped and from
// then on only every second cycle is kept, so memory stays steady however
// long the run. Recording allocates nothing once the first point is in.
class EstatisticasPopulacao {
  public:
    static constexpr size_t capacidadePadrao = 10000;

    // `capacidade` is rounded up to an even number of at least 2.
    explicit EstatisticasPopulacao(size_t capacidade = capacidadePadrao);

    // Starts the history afresh at the world's present state.
    void iniciar(const CKeldoDoc& doc);
    // Measures the world after a cycle and keeps the point when it falls on the spacing.
    void registrar(const CKeldoDoc& doc);
    // The figures of a world now.
    static AmostraPopulacao medir(const CKeldoDoc& doc);

    // Kept points, oldest first, `passo()` cycles apart from the history's start.
    const std::vector<AmostraPopulacao>& historico() const { return pontos; }
    // The latest figures, kept or not.
    const AmostraPopulacao& ultima() const { return atual; }
    uint32_t passo() const { return passoAtual; }
    size_t capacidade() const { return limite; }
    // Changes whenever points were dropped or the history restarted, so a
    // reader that appends new points knows when to read everything again.
    uint64_t versao() const { return versaoAtual; }

    // Off: nothing is measured or kept after a cycle, and the room for the
    // history is not taken until it is switched on.
    bool ligada = true;

    // Summary file: header line and one line per sample, without line end.
    // After the allele columns come, per autosomal gene, Ho<letter> and
    // He<letter>, and for a one-bit gene the two homozygotes (RR, rr).
    static const char* cabecalhoCsv();
    static void anexarLinhaCsv(std::string& destino, const AmostraPopulacao& amostra);
    // One figure of a line: ';' and `v` with four decimals, as std::to_chars
    // writes it in fixed notation (rounded half to even).
    static void anexarFracao(std::string& destino, double v);
    // The whole history as a summary file: header, every kept point, then the
    // latest figures when they were not kept; LF line ends.
    std::string textoCsv() const;

  private:
    void guardar(const AmostraPopulacao& amostra);
    void reduzirPelaMetade();

    std::vector<AmostraPopulacao> pontos;
    AmostraPopulacao atual;
    size_t limite;
    uint32_t passoAtual = 1;
    int32_t inicio = 0;
    uint64_t versaoAtual = 0;
};

} // namespace keldo::sim
