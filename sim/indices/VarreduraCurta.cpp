// Invariants of the short-list scan (the rules it follows: RegrasVizinhanca.h):
// - reach is `quadrado <= Regras::limiarQuadrado(alcance)` on the same float
//   operations as `SpecX::distancia` before its root; the vector passes (four
//   and eight wide) give the scalar pass's bits, which calls the rules (test
//   VarreduraCurta.PassoVetorialIgualAoSimples);
// - a path is free when the two ends' masks share every rectangle
//   (`Regras::caminhoLivre`); `recortar` drops only bands a rectangle across
//   the origin's column shuts off, and only when every point's whole y is its band;
// - stored points come in groups of four, padded with four more (NaN
//   coordinates: never in reach), so eight-wide passes may read past the end;
// - a point's rank is its place by position (its list place when the list
//   ascends); picks walk ranks, so they agree with a whole-list scan in order;
// - up to 128 ascending points stay in list order, every word of bits a word of ranks.
#include "sim/indices/VarreduraCurta.h"
#include "sim/indices/RegrasVizinhanca.h"
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define KELDO_OITO_POR_VEZ 1
#endif

namespace keldo::indices {

namespace {
// std::popcount is a library call on baseline x86-64: the bit count by halves instead.
uint32_t bitsUm(uint64_t v) {
    v = v - ((v >> 1) & 0x5555555555555555u);
    v = (v & 0x3333333333333333u) + ((v >> 2) & 0x3333333333333333u);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<uint32_t>((v * 0x0101010101010101u) >> 56);
}

// The word of `palavras` holding the `ordem`-th set bit (from 0), which
// becomes the place among that word's bits.
template <class Contar>
size_t palavraDaOrdem(const uint64_t* palavras, uint32_t& ordem, Contar contar) {
    size_t w = 0;
    for (uint32_t n = contar(palavras[w]); ordem >= n; n = contar(palavras[++w]))
        ordem -= n;
    return w;
}
} // namespace

bool VarreduraCurta::cyNaFaixa(const PontoLista& p, int b) {
    if (b == 0)
        return p.cy <= 0 || std::isnan(p.y);
    return b == faixas - 1 ? p.cy >= faixas - 2 : p.cy == b - 1;
}

void VarreduraCurta::construir(const std::vector<PontoLista>& pontos, const MapaObstaculos* mapa) {
    const size_t n = pontos.size();
    // One pass takes the positions and counts the bands (a counting sort by
    // band, list order within each). Ranks: list places when the positions
    // ascend (every phase's list does).
    posicaoDoRank.resize(n);
    inicioFaixa.fill(0);
    faixaDe.resize(n);
    for (size_t k = 0; k < n; ++k) {
        posicaoDoRank[k] = pontos[k].pos;
        faixaDe[k] = static_cast<uint8_t>(faixa(pontos[k].y));
        ++inicioFaixa[static_cast<size_t>(faixaDe[k]) + 1];
    }
    const bool crescente = std::is_sorted(posicaoDoRank.begin(), posicaoDoRank.end());
    if (!crescente)
        std::sort(posicaoDoRank.begin(), posicaoDoRank.end());
    auto rankDoListado = [&](size_t k) {
        return crescente
                   ? static_cast<uint32_t>(k)
                   : static_cast<uint32_t>(std::lower_bound(posicaoDoRank.begin(),
                                                            posicaoDoRank.end(), pontos[k].pos) -
                                           posicaoDoRank.begin());
    };
    for (size_t b = 1; b < inicioFaixa.size(); ++b)
        inicioFaixa[b] += inicioFaixa[b - 1];
    emOrdem = crescente && n <= 128;
    // The padding is never in sight: no distance to NaN is within reach. Four
    // more than whole groups of four, for passes eight at a time.
    const size_t comPreenchimento = ((n + 3) & ~size_t{3}) + 4;
    for (auto* v : {&xs, &ys, &valores})
        v->resize(comPreenchimento);
    for (auto* v : {&antesX, &depoisX, &antesY, &depoisY, &rankDe, &posicaoDe})
        v->resize(comPreenchimento);
    for (size_t d = n; d < comPreenchimento; ++d) {
        xs[d] = ys[d] = std::numeric_limits<float>::quiet_NaN();
        valores[d] = 0.0f;
        antesX[d] = depoisX[d] = antesY[d] = depoisY[d] = rankDe[d] = posicaoDe[d] = 0;
    }
    std::array<uint32_t, faixas + 1> cursor = inicioFaixa;
    bool coerente = true;
    valorMaximo = n > 0 ? static_cast<double>(pontos[0].valor) : 0.0;
    for (size_t k = 0; k < n; ++k) {
        const PontoLista& p = pontos[k];
        const uint32_t d = emOrdem ? static_cast<uint32_t>(k) : cursor[faixaDe[k]]++;
        xs[d] = p.x;
        ys[d] = p.y;
        valores[d] = p.valor;
        valorMaximo = std::max(valorMaximo, static_cast<double>(p.valor));
        rankDe[d] = rankDoListado(k);
        posicaoDe[d] = p.pos;
        coerente &= cyNaFaixa(p, faixaDe[k]);
        const auto mx = mapa ? mapa->mascaraX(p.cx) : MapaObstaculos::MascarasEixo{};
        const auto my = mapa ? mapa->mascaraY(p.cy) : MapaObstaculos::MascarasEixo{};
        antesX[d] = mx.antes;
        depoisX[d] = mx.depois;
        antesY[d] = my.antes;
        depoisY[d] = my.depois;
    }
    recorta = mapa != nullptr && coerente;
    ocupacaoValida = emOrdem;
    if (emOrdem)
        marcarVizinhancas(pontos);
    for (int r = 0; recorta && r < static_cast<int>(faixaAntes.size()); ++r) {
        // Band b > 0 holds the whole y b - 1; band 0 mixes whole ys up to 0
        // and the last band those from 101 on, so the bounds never cut into them.
        faixaAntes[static_cast<size_t>(r)] = std::clamp(mapa->ultimaAntesY(r) + 1, 0, faixas - 1);
        const int depois = mapa->primeiraDepoisY(r);
        faixaDepois[static_cast<size_t>(r)] = depois <= 0 ? 0 : std::min(depois + 1, faixas - 1);
    }
    // Slack for rounding in distances and scores.
    folga = 1e-2 + 1e-5 * std::fabs(valorMaximo);
    porRank.assign((n + 63) / 64, 0);
}

// Only the bands the reach spans: a point in sight lies less than the reach
// and a unit (rounding included) from the query's y. Far from the arena
// rounding grows: every band.
void VarreduraCurta::faixasDoAlcance(const Consulta& c, float alcance, int& b0, int& b1) {
    b0 = 0;
    b1 = faixas - 1;
    if (std::fabs(c.y) < 1e4f && alcance < 1e4f) {
        const double y = c.y;
        b0 = faixa(y - alcance - 1.0);
        b1 = faixa(y + alcance + 1.0);
    }
}

void VarreduraCurta::marcarVizinhancas(const std::vector<PontoLista>& pontos) {
    std::array<uint64_t, ladoOcupacao / 2> ocupadas{};
    for (const PontoLista& p : pontos) {
        const auto ux = static_cast<uint32_t>(p.cx), uy = static_cast<uint32_t>(p.cy);
        if ((ux | uy) < ladoOcupacao)
            ocupadas[uy / 2] |= uint64_t{1} << (ux / 2);
        else
            ocupacaoValida = false;
    }
    for (size_t y = 0; y < ocupadas.size(); ++y) {
        const uint64_t linhas = ocupadas[y] | (y > 0 ? ocupadas[y - 1] : 0) |
                                (y + 1 < ocupadas.size() ? ocupadas[y + 1] : 0);
        vizinhancas[y] = linhas | (linhas << 1) | (linhas >> 1);
    }
}

bool VarreduraCurta::recortar(const Consulta& c, int& b0, int& b1) const {
    if (!recorta)
        return b0 <= b1;
    // These rectangles span the origin's column: no point's x clears them.
    uint32_t atravessam = c.todos & ~(c.origem.x.antes | c.origem.x.depois);
    for (; atravessam != 0; atravessam &= atravessam - 1) {
        const auto r = static_cast<size_t>(std::countr_zero(atravessam));
        const uint32_t bit = 1u << r;
        if (c.origem.y.antes & bit)
            b1 = std::min(b1, faixaAntes[r]);
        else if (c.origem.y.depois & bit)
            b0 = std::max(b0, faixaDepois[r]);
        else
            return false; // the origin is inside it
    }
    return b0 <= b1;
}

bool VarreduraCurta::alcancados(const Consulta& c, float alcance, uint32_t& de,
                                uint32_t& ate) const {
    int b0 = 0, b1 = 0;
    faixasDoAlcance(c, alcance, b0, b1);
    if (!recortar(c, b0, b1))
        return false;
    de = inicioFaixa[static_cast<size_t>(b0)] & ~3u;
    ate = std::min(static_cast<uint32_t>(xs.size()),
                   (inicioFaixa[static_cast<size_t>(b1) + 1] + 3) & ~3u);
    return de < ate;
}

namespace {
// The tests of four points, one by one.
struct QuatroSimples {
    VarreduraCurta::Consulta c;
    explicit QuatroSimples(const VarreduraCurta::Consulta& consulta) : c(consulta) {}
    uint64_t operator()(const VarreduraCurta::Colunas& p, uint32_t k0) const {
        uint64_t bits = 0;
        for (uint32_t k = k0; k < k0 + 4; ++k) {
            const uint32_t partilham =
                (c.origem.x.antes & p.antesX[k]) | (c.origem.x.depois & p.depoisX[k]) |
                (c.origem.y.antes & p.antesY[k]) | (c.origem.y.depois & p.depoisY[k]);
            const bool sim =
                Regras::quadradoNoAlcance(Regras::quadradoDaDistancia(c.x, c.y, p.xs[k], p.ys[k]),
                                          c.limiar) &
                Regras::caminhoLivre(partilham, c.todos);
            bits |= static_cast<uint64_t>(sim) << (k - k0);
        }
        return bits;
    }
};

#if defined(__SSE2__)
// Four points at a time, the same float operations as one at a time.
struct QuatroVetor {
    __m128 x, y, limiar;
    __m128i antesX, depoisX, antesY, depoisY, todos;
    explicit QuatroVetor(const VarreduraCurta::Consulta& c)
        : x(_mm_set1_ps(c.x)), y(_mm_set1_ps(c.y)), limiar(_mm_set1_ps(c.limiar)),
          antesX(_mm_set1_epi32(static_cast<int>(c.origem.x.antes))),
          depoisX(_mm_set1_epi32(static_cast<int>(c.origem.x.depois))),
          antesY(_mm_set1_epi32(static_cast<int>(c.origem.y.antes))),
          depoisY(_mm_set1_epi32(static_cast<int>(c.origem.y.depois))),
          todos(_mm_set1_epi32(static_cast<int>(c.todos))) {}
    static __m128i carregar(const uint32_t* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    }
    uint64_t operator()(const VarreduraCurta::Colunas& p, uint32_t k) const {
        const __m128 ddx = _mm_sub_ps(x, _mm_loadu_ps(p.xs + k));
        const __m128 ddy = _mm_sub_ps(y, _mm_loadu_ps(p.ys + k));
        const __m128 perto =
            _mm_cmple_ps(_mm_add_ps(_mm_mul_ps(ddx, ddx), _mm_mul_ps(ddy, ddy)), limiar);
        const __m128i partilham =
            _mm_or_si128(_mm_or_si128(_mm_and_si128(antesX, carregar(p.antesX + k)),
                                      _mm_and_si128(depoisX, carregar(p.depoisX + k))),
                         _mm_or_si128(_mm_and_si128(antesY, carregar(p.antesY + k)),
                                      _mm_and_si128(depoisY, carregar(p.depoisY + k))));
        const __m128 livre = _mm_castsi128_ps(_mm_cmpeq_epi32(partilham, todos));
        return static_cast<uint64_t>(_mm_movemask_ps(_mm_and_ps(perto, livre)));
    }
};
using Quatro = QuatroVetor;
#else
using Quatro = QuatroSimples;
#endif
} // namespace

#if defined(KELDO_OITO_POR_VEZ)
namespace {
__attribute__((target("avx2"))) inline __m256i carregar(const uint32_t* q) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q));
}

// A query's terms in every lane, and the test of eight points against them:
// the same float operations as four at a time.
struct OitoDaConsulta {
    __m256 x, y, limiar;
    __m256i antesX, depoisX, antesY, depoisY, todos;
    __attribute__((target("avx2"))) explicit OitoDaConsulta(const VarreduraCurta::Consulta& c)
        : x(_mm256_set1_ps(c.x)), y(_mm256_set1_ps(c.y)), limiar(_mm256_set1_ps(c.limiar)),
          antesX(_mm256_set1_epi32(static_cast<int>(c.origem.x.antes))),
          depoisX(_mm256_set1_epi32(static_cast<int>(c.origem.x.depois))),
          antesY(_mm256_set1_epi32(static_cast<int>(c.origem.y.antes))),
          depoisY(_mm256_set1_epi32(static_cast<int>(c.origem.y.depois))),
          todos(_mm256_set1_epi32(static_cast<int>(c.todos))) {}
    // All ones in the lanes of the points [k, k + 8) within the threshold on a
    // free path; `quadrado`: their squared distances.
    __attribute__((target("avx2"))) __m256 aceitos(const VarreduraCurta::Colunas& p, uint32_t k,
                                                   __m256& quadrado) const {
        const __m256 ddx = _mm256_sub_ps(x, _mm256_loadu_ps(p.xs + k));
        const __m256 ddy = _mm256_sub_ps(y, _mm256_loadu_ps(p.ys + k));
        quadrado = _mm256_add_ps(_mm256_mul_ps(ddx, ddx), _mm256_mul_ps(ddy, ddy));
        const __m256 perto = _mm256_cmp_ps(quadrado, limiar, _CMP_LE_OQ);
        const __m256i partilham =
            _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(antesX, carregar(p.antesX + k)),
                                            _mm256_and_si256(depoisX, carregar(p.depoisX + k))),
                            _mm256_or_si256(_mm256_and_si256(antesY, carregar(p.antesY + k)),
                                            _mm256_and_si256(depoisY, carregar(p.depoisY + k))));
        return _mm256_and_ps(perto, _mm256_castsi256_ps(_mm256_cmpeq_epi32(partilham, todos)));
    }
};

// The pass of `marcarPara` eight points at a time, on the machines that can.
// (Every machine with AVX2 also counts bits in one instruction.)
template <class Destino>
__attribute__((target("avx2,popcnt"))) void
marcarOito(const VarreduraCurta::Colunas& p, const VarreduraCurta::Consulta& c, uint32_t de,
           uint32_t ate, Destino& destino) {
    const OitoDaConsulta consulta(c);
    for (uint32_t w = de / 64; w * 64 < ate; ++w) {
        const uint32_t k0 = w * 64, k1 = ate - k0 < 64 ? ate : k0 + 64;
        uint64_t palavra = 0;
        // Bits past bit 63 of a last group that overruns the word fall off the shift.
        for (uint32_t k = de > k0 ? de : k0; k < k1; k += 8) {
            __m256 quadrado;
            palavra |= static_cast<uint64_t>(_mm256_movemask_ps(consulta.aceitos(p, k, quadrado)))
                       << (k - k0);
        }
        if (k1 - k0 < 64)
            palavra &= (uint64_t{1} << (k1 - k0)) - 1;
        destino(w, palavra, static_cast<uint32_t>(__builtin_popcountll(palavra)));
    }
}

bool temOito = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
} // namespace
#endif

void VarreduraCurta::permitirOito(bool sim) {
#if defined(KELDO_OITO_POR_VEZ)
    temOito = sim && __builtin_cpu_supports("avx2");
#else
    (void)sim;
#endif
}

bool VarreduraCurta::oitoPorVez() {
#if defined(KELDO_OITO_POR_VEZ)
    return temOito;
#else
    return false;
#endif
}

uint64_t VarreduraCurta::oito(const Colunas& p, const Consulta& c, uint32_t de, uint32_t ate) {
    uint64_t palavra = 0;
#if defined(KELDO_OITO_POR_VEZ)
    auto guardar = [&](uint32_t, uint64_t bits, uint32_t) { palavra = bits; };
    marcarOito(p, c, de, ate, guardar);
#else
    (void)p, (void)c, (void)de, (void)ate;
#endif
    return palavra;
}

uint64_t VarreduraCurta::quatro(const Colunas& p, const Consulta& c, uint32_t k) {
    return Quatro(c)(p, k);
}

uint64_t VarreduraCurta::quatroSimples(const Colunas& p, const Consulta& c, uint32_t k) {
    return QuatroSimples(c)(p, k);
}

// Whole words at a time, built in a register; bits outside [de, ate) are clear.
template <class Destino>
void VarreduraCurta::marcarPara(const Consulta& c, uint32_t de, uint32_t ate,
                                Destino&& destino) const {
    const Colunas p{xs.data(),      ys.data(),     antesX.data(),
                    depoisX.data(), antesY.data(), depoisY.data()};
#if defined(KELDO_OITO_POR_VEZ)
    if (temOito) {
        marcarOito(p, c, de, ate, destino);
        return;
    }
#endif
    const Quatro quatro(c); // only the four-wide pass takes its terms from here
    for (uint32_t w = de / 64; w * 64 < ate; ++w) {
        const uint32_t k0 = w * 64, k1 = std::min(ate, k0 + 64);
        uint64_t palavra = 0;
        if (de <= k0 && k1 == k0 + 64) {
            // A whole word: a fixed count the compiler lays out flat.
#pragma GCC unroll 16
            for (uint32_t g = 0; g < 16; ++g)
                palavra |= quatro(p, k0 + 4 * g) << (4 * g);
        } else {
            for (uint32_t k = std::max(de, k0); k < k1; k += 4)
                palavra |= quatro(p, k) << (k % 64);
        }
        destino(w, palavra, bitsUm(palavra));
    }
}

uint32_t VarreduraCurta::contar(const Consulta& c, float alcance) {
    uint32_t de = 0, ate = 0, total = 0;
    if (emOrdem) {
        if (nadaPerto(c, alcance)) {
            std::fill(porRank.begin(), porRank.end(), uint64_t{0});
            return 0;
        }
        // Stored in rank order: each word of bits is a word of ranks.
        marcarPara(c, 0, guardados(), [&](uint32_t w, uint64_t bits, uint32_t n) {
            porRank[w] = bits;
            total += n;
        });
        return total;
    }
    std::fill(porRank.begin(), porRank.end(), uint64_t{0});
    if (!alcancados(c, alcance, de, ate))
        return 0;
    // Each word's bits go to their ranks as soon as the word is built.
    marcarPara(c, de, ate, [&](uint32_t w, uint64_t bits, uint32_t n) {
        total += n;
        for (; bits != 0; bits &= bits - 1) {
            const uint32_t r = rankDe[w * 64 + static_cast<size_t>(std::countr_zero(bits))];
            porRank[r / 64] |= uint64_t{1} << (r % 64);
        }
    });
    return total;
}

#if defined(KELDO_OITO_POR_VEZ)
namespace {
__attribute__((target("popcnt"))) size_t palavraDaOrdemUmaInstrucao(const uint64_t* palavras,
                                                                    uint32_t& ordem) {
    return palavraDaOrdem(
        palavras, ordem, [](uint64_t v) { return static_cast<uint32_t>(__builtin_popcountll(v)); });
}
} // namespace
#endif

uint32_t VarreduraCurta::enesima(uint32_t ordem) const {
#if defined(KELDO_OITO_POR_VEZ)
    const size_t w = temOito ? palavraDaOrdemUmaInstrucao(porRank.data(), ordem)
                             : palavraDaOrdem(porRank.data(), ordem, bitsUm);
#else
    const size_t w = palavraDaOrdem(porRank.data(), ordem, bitsUm);
#endif
    uint64_t b = porRank[w];
    for (; ordem > 0; --ordem)
        b &= b - 1;
    return posicaoDoRank[w * 64 + static_cast<size_t>(std::countr_zero(b))];
}

#if defined(KELDO_OITO_POR_VEZ)
namespace {
// The best of the points eight at a time, on the machines that can: each
// lane keeps the best of the points it saw, by the same float operations as
// one at a time (so the same scores and distances), and the lanes are
// compared at the end in the order the scalar scan keeps.
struct MelhorOito {
    VarreduraCurta::Colunas p;
    const float* valores;
    const uint32_t* posicoes;
    alignas(32) float pontos[8];
    alignas(32) float distancias[8];
    // Positions compare as signed 32-bit lanes: they are places in a list,
    // which the world's limit keeps far below 2^31 - 1 (`nenhuma`).
    alignas(32) int32_t posicao[8]; // nenhuma: no point yet
    static constexpr int32_t nenhuma = std::numeric_limits<int32_t>::max();
    int melhorLane = -1; // as of the last `examinar`
    // The lanes start empty in registers: storing them here first and
    // loading them whole would wait on the stores.
    bool vazias = true;

    MelhorOito(const VarreduraCurta::Colunas& colunas, const float* v, const uint32_t* pos)
        : p(colunas), valores(v), posicoes(pos) {}
    // The lane of the greatest score, the lowest position among equals (-1: none).
    int lane() const { return melhorLane; }
    bool achou() const { return melhorLane >= 0; }
    float melhoresPontos() const { return pontos[melhorLane]; }
    void examinar(const VarreduraCurta::Consulta& c, uint32_t de, uint32_t ate);
};

__attribute__((target("avx2"))) void MelhorOito::examinar(const VarreduraCurta::Consulta& c,
                                                          uint32_t de, uint32_t ate) {
    const OitoDaConsulta consulta(c);
    __m256 bp = _mm256_set1_ps(-std::numeric_limits<float>::infinity());
    __m256 bd = _mm256_setzero_ps();
    __m256i bpos = _mm256_set1_epi32(nenhuma);
    if (!vazias) {
        bp = _mm256_load_ps(pontos);
        bd = _mm256_load_ps(distancias);
        bpos = _mm256_load_si256(reinterpret_cast<const __m256i*>(posicao));
    }
    vazias = false;
    const float* const valor = valores;
    const uint32_t* const posicaoDe = posicoes;
    // Whole groups of eight from `de`: the few points past `ate` are points of
    // the list (or padding, never in sight), and a point read twice changes nothing.
    for (uint32_t k = de; k < ate; k += 8) {
        __m256 quadrado;
        const __m256 aceito = consulta.aceitos(p, k, quadrado);
        if (_mm256_movemask_ps(aceito) == 0)
            continue;
        const __m256 d = _mm256_sqrt_ps(quadrado);
        const __m256 pts = _mm256_sub_ps(_mm256_loadu_ps(valor + k), d);
        const __m256i pos = carregar(posicaoDe + k);
        const __m256 maior = _mm256_cmp_ps(pts, bp, _CMP_GT_OQ);
        const __m256 igual = _mm256_cmp_ps(pts, bp, _CMP_EQ_OQ);
        const __m256 antes = _mm256_castsi256_ps(_mm256_cmpgt_epi32(bpos, pos));
        const __m256 melhora =
            _mm256_and_ps(aceito, _mm256_or_ps(maior, _mm256_and_ps(igual, antes)));
        bp = _mm256_blendv_ps(bp, pts, melhora);
        bd = _mm256_blendv_ps(bd, d, melhora);
        bpos = _mm256_castps_si256(
            _mm256_blendv_ps(_mm256_castsi256_ps(bpos), _mm256_castsi256_ps(pos), melhora));
    }
    _mm256_store_ps(pontos, bp);
    _mm256_store_ps(distancias, bd);
    _mm256_store_si256(reinterpret_cast<__m256i*>(posicao), bpos);
    // The lanes compared at once: the greatest score, then the lowest
    // position among the lanes that hold it (a lane without a point holds
    // minus infinity, below any score, and the largest position).
    __m256 maximo = _mm256_max_ps(bp, _mm256_permute2f128_ps(bp, bp, 1));
    maximo = _mm256_max_ps(maximo, _mm256_permute_ps(maximo, 0x4E));
    maximo = _mm256_max_ps(maximo, _mm256_permute_ps(maximo, 0xB1));
    const __m256i candidatas = _mm256_castps_si256(
        _mm256_blendv_ps(_mm256_castsi256_ps(_mm256_set1_epi32(nenhuma)), _mm256_castsi256_ps(bpos),
                         _mm256_cmp_ps(bp, maximo, _CMP_EQ_OQ)));
    __m256i menor =
        _mm256_min_epi32(candidatas, _mm256_permute2x128_si256(candidatas, candidatas, 1));
    menor = _mm256_min_epi32(menor, _mm256_shuffle_epi32(menor, 0x4E));
    menor = _mm256_min_epi32(menor, _mm256_shuffle_epi32(menor, 0xB1));
    const int mascara =
        _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(candidatas, menor)));
    melhorLane = _mm256_cvtsi256_si32(menor) == nenhuma
                     ? -1
                     : std::countr_zero(static_cast<unsigned>(mascara));
}
} // namespace
#endif

// Bands nearest first, in windows doubling in width: a point `s` bands from
// the query's lies more than s - 1 away and scores below the greatest value
// less s - 1, so once that beats no score the search stops (food of one
// value, the usual case, stops as soon as a list without values would).
template <class Escolha>
bool VarreduraCurta::melhorPor(const Consulta& c, float alcance, Escolha& escolha) const {
    const auto n = static_cast<uint32_t>(xs.size());
    auto lerFaixas = [&](int b0, int b1) { // the points of bands [b0, b1], whole groups of four
        const uint32_t de = inicioFaixa[static_cast<size_t>(b0)] & ~3u;
        const uint32_t ate = std::min(n, (inicioFaixa[static_cast<size_t>(b1) + 1] + 3) & ~3u);
        if (de < ate)
            escolha.examinar(c, de, ate);
    };
    if (emOrdem) {
        if (nadaPerto(c, alcance))
            return false;
        escolha.examinar(c, 0, guardados());
        return escolha.achou();
    }
    int b0 = 0, b1 = 0;
    faixasDoAlcance(c, alcance, b0, b1);
    if (!recortar(c, b0, b1))
        return false;
    const bool longe = !(std::fabs(c.y) < 1e4f && alcance < 1e4f); // far off: no nearest first
    const int bq = longe ? 0 : faixa(c.y);
    // A few valued points (the food of most worlds) are read at once: nearest
    // first would read them in many small pieces and seldom stop early.
    if (longe || (valorMaximo != 0.0 && tamanho() < 128)) {
        lerFaixas(b0, b1);
        return escolha.achou();
    }
    // The first window spans five bands: a nearer stop seldom pays for the
    // extra pass it costs when it finds nothing (measured on the bench worlds).
    int feito = 3; // bands bq - feito + 1 .. bq + feito - 1 are done
    lerFaixas(std::max(b0, bq - feito + 1), std::min(b1, bq + feito - 1));
    while (bq - feito >= b0 || bq + feito <= b1) {
        if (escolha.achou() && valorMaximo - (feito - 1) < escolha.melhoresPontos() - folga)
            break;
        const int ate = 2 * feito;
        if (bq - feito >= b0)
            lerFaixas(std::max(b0, bq - ate + 1), bq - feito);
        if (bq + feito <= b1)
            lerFaixas(bq + feito, std::min(b1, bq + ate - 1));
        feito = ate;
    }
    return escolha.achou();
}

bool VarreduraCurta::melhor(const Consulta& c, float alcance, uint32_t& pos, float& distancia) {
#if defined(KELDO_OITO_POR_VEZ)
    if (temOito) {
        MelhorOito escolha(
            {xs.data(), ys.data(), antesX.data(), depoisX.data(), antesY.data(), depoisY.data()},
            valores.data(), posicaoDe.data());
        if (!melhorPor(c, alcance, escolha))
            return false;
        const int l = escolha.lane();
        pos = static_cast<uint32_t>(escolha.posicao[l]);
        distancia = escolha.distancias[l];
        return true;
    }
#endif
    // One at a time, in storage order.
    struct Simples {
        const VarreduraCurta& v;
        uint32_t& pos;
        float& distancia;
        bool encontrado = false;
        float pontosMelhor = 0.0f;
        bool achou() const { return encontrado; }
        float melhoresPontos() const { return pontosMelhor; }
        void examinar(const Consulta& c, uint32_t de, uint32_t ate) {
            v.marcarPara(c, de, ate, [&](uint32_t w, uint64_t bits, uint32_t) {
                for (uint64_t b = bits; b != 0; b &= b - 1) {
                    const size_t k = w * 64 + static_cast<size_t>(std::countr_zero(b));
                    const float d =
                        std::sqrt(Regras::quadradoDaDistancia(c.x, c.y, v.xs[k], v.ys[k]));
                    const float pontos = v.valores[k] - d;
                    const uint32_t p = v.posicaoDe[k];
                    if (!encontrado || pontos > pontosMelhor ||
                        (pontos == pontosMelhor && p < pos)) {
                        encontrado = true;
                        pontosMelhor = pontos;
                        pos = p;
                        distancia = d;
                    }
                }
            });
        }
    } escolha{*this, pos, distancia};
    return melhorPor(c, alcance, escolha);
}

} // namespace keldo::indices
