#include "sim/indices/ListaCurtaAlimentos.h"
#include "sim/indices/BuscaCandidatos.h"
#include <bit>
#include <cmath>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

void ListaCurtaAlimentos::construir(const std::vector<FoodX>& alimentos,
                                    const MapaObstaculos* mapaObstaculos) {
    mapa = mapaObstaculos;
    todos = mapa ? mapa->mascaraTodos() : 0;
    for (auto* v : {&xs, &ys, &valores})
        v->clear();
    mascaras.clear();
    posicoes.clear();
    for (size_t k = 0; k < alimentos.size(); ++k) {
        const FoodX& f = alimentos[k];
        // Searchers are free: only food of the open region is a target.
        if (f.regiao != 0)
            continue;
        xs.push_back(f.x);
        ys.push_back(f.y);
        valores.push_back(static_cast<float>(f.valorEnergetico));
        posicoes.push_back(static_cast<uint32_t>(k));
        const auto mx =
            mapa ? mapa->mascaraX(static_cast<int>(f.x)) : MapaObstaculos::MascarasEixo{};
        const auto my =
            mapa ? mapa->mascaraY(static_cast<int>(f.y)) : MapaObstaculos::MascarasEixo{};
        mascaras.push_back({mx.antes, mx.depois, my.antes, my.depois});
    }
    // Padding at NaN, which no distance test takes.
    while (xs.size() % 4 != 0) {
        xs.push_back(std::numeric_limits<float>::quiet_NaN());
        ys.push_back(std::numeric_limits<float>::quiet_NaN());
    }
    comPreenchimento = static_cast<uint32_t>(xs.size());
}

float ListaCurtaAlimentos::limiarPara(int16_t visao) {
    if (visao < 0 || visao >= visoesGuardadas)
        return BuscaCandidatos::limiarQuadrado(visao);
    const auto k = static_cast<size_t>(visao);
    if (!limiarConhecido[k]) {
        limiares[k] = BuscaCandidatos::limiarQuadrado(visao);
        limiarConhecido[k] = true;
    }
    return limiares[k];
}

ListaCurtaAlimentos::Bits ListaCurtaAlimentos::pertoSimples(const float* xs, const float* ys,
                                                            uint32_t n, float x, float y,
                                                            float limiar) {
    Bits bits{};
    for (uint32_t k = 0; k < n; ++k) {
        const float dx = xs[k] - x, dy = ys[k] - y;
        bits[k / 64] |= static_cast<uint64_t>(dx * dx + dy * dy <= limiar) << (k % 64);
    }
    return bits;
}

// Four squared distances at a time, their comparisons packed as bits.
// (px - x)² is (x - px)² exactly: a negation does not round.
ListaCurtaAlimentos::Bits ListaCurtaAlimentos::perto(const float* xs, const float* ys, uint32_t n,
                                                     float x, float y, float limiar) {
#if defined(__SSE2__)
    Bits bits{};
    const __m128 vx = _mm_set1_ps(x), vy = _mm_set1_ps(y), vl = _mm_set1_ps(limiar);
    for (uint32_t k = 0; k < n; k += 4) {
        const __m128 dx = _mm_sub_ps(_mm_loadu_ps(xs + k), vx);
        const __m128 dy = _mm_sub_ps(_mm_loadu_ps(ys + k), vy);
        const __m128 q = _mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy));
        const auto dentro = static_cast<uint64_t>(_mm_movemask_ps(_mm_cmple_ps(q, vl)));
        bits[k / 64] |= dentro << (k % 64);
    }
    return bits;
#else
    return pertoSimples(xs, ys, n, x, y, limiar);
#endif
}

ListaCurtaAlimentos::Bits ListaCurtaAlimentos::livres(const SpecX& quem, const Bits& emAlcance,
                                                      uint32_t& total) const {
    Bits aceitos = emAlcance;
    uint32_t contados = 0;
    if (mapa) {
        const MapaObstaculos::Origem o =
            mapa->origem(static_cast<int>(quem.x), static_cast<int>(quem.y));
        const uint32_t cobrir = todos;
        for (size_t w = 0; w < palavras; ++w) {
            uint64_t livresNaPalavra = 0;
            for (uint64_t b = emAlcance[w]; b != 0; b &= b - 1) {
                const int bit = std::countr_zero(b);
                const Mascaras& m = mascaras[w * 64 + static_cast<size_t>(bit)];
                const uint32_t partilham = (o.x.antes & m.antesX) | (o.x.depois & m.depoisX) |
                                           (o.y.antes & m.antesY) | (o.y.depois & m.depoisY);
                livresNaPalavra |= static_cast<uint64_t>(partilham == cobrir) << bit;
            }
            aceitos[w] = livresNaPalavra;
        }
    }
    for (size_t w = 0; w < palavras; ++w)
        for (uint64_t b = aceitos[w]; b != 0; b &= b - 1)
            ++contados;
    total = contados;
    return aceitos;
}

uint32_t ListaCurtaAlimentos::melhor(const SpecX& quem, const Bits& aceitos) const {
    bool achou = false;
    float melhorValor = 0.0f;
    uint32_t escolhido = 0;
    for (size_t w = 0; w < palavras; ++w)
        for (uint64_t b = aceitos[w]; b != 0; b &= b - 1) {
            const auto k = static_cast<uint32_t>(w * 64 + std::countr_zero(b));
            const float valor = valores[k] - quem.distancia(xs[k], ys[k]);
            if (!achou || valor > melhorValor) {
                achou = true;
                melhorValor = valor;
                escolhido = k;
            }
        }
    return escolhido;
}

uint32_t ListaCurtaAlimentos::enesimo(const Bits& aceitos, uint32_t ordem) {
    for (size_t w = 0;; ++w)
        for (uint64_t b = aceitos[w]; b != 0; b &= b - 1)
            if (ordem-- == 0)
                return static_cast<uint32_t>(w * 64 + std::countr_zero(b));
}

// The intelligence draw comes only once a candidate is known, as in the scan.
int64_t ListaCurtaAlimentos::escolher(const SpecX& quem, Random& rng) {
    const Bits emAlcance =
        perto(xs.data(), ys.data(), comPreenchimento, quem.x, quem.y, limiarPara(quem.visao));
    uint32_t total = 0;
    const Bits aceitos = livres(quem, emAlcance, total);
    if (total == 0)
        return -1;
    if (quem.inteligencia > 0 && rng.randomInt(100) < quem.inteligencia)
        return posicoes[melhor(quem, aceitos)];
    return posicoes[enesimo(aceitos,
                            static_cast<uint32_t>(rng.randomInt(static_cast<int>(total))))];
}
