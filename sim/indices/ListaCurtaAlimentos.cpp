#include "sim/indices/ListaCurtaAlimentos.h"
#include "sim/indices/BuscaCandidatos.h"
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace keldo::indices {

void ListaCurtaAlimentos::construir(const std::vector<FoodX>& alimentos,
                                    const MapaObstaculos* mapaObstaculos) {
    mapa = mapaObstaculos;
    todos = mapa ? mapa->mascaraTodos() : 0;
    ordenarPorFaixa(alimentos);
    const uint32_t n = inicioFaixa[faixas];
    comPreenchimento = (n + 3) & ~3u;
    for (auto* v : {&xs, &ys, &valores})
        v->assign(comPreenchimento, std::numeric_limits<float>::quiet_NaN());
    for (auto* v : {&antesX, &depoisX, &antesY, &depoisY})
        v->assign(comPreenchimento, 0);
    for (uint32_t d = 0; d < n; ++d) {
        const FoodX& f = alimentos[posicoes[d]];
        xs[d] = f.x;
        ys[d] = f.y;
        valores[d] = static_cast<float>(f.valorEnergetico);
        if (!mapa)
            continue;
        const auto mx = mapa->mascaraX(static_cast<int>(f.x));
        const auto my = mapa->mascaraY(static_cast<int>(f.y));
        antesX[d] = mx.antes;
        depoisX[d] = mx.depois;
        antesY[d] = my.antes;
        depoisY[d] = my.depois;
    }
}

// A counting sort, list order within each band. Searchers are free: only
// food of the open region is ever a target.
void ListaCurtaAlimentos::ordenarPorFaixa(const std::vector<FoodX>& alimentos) {
    inicioFaixa.fill(0);
    for (const FoodX& f : alimentos)
        if (f.regiao == 0)
            ++inicioFaixa[static_cast<size_t>(faixa(f.y)) + 1];
    for (size_t b = 1; b < inicioFaixa.size(); ++b)
        inicioFaixa[b] += inicioFaixa[b - 1];
    posicoes.assign(inicioFaixa[faixas], 0);
    std::array<uint32_t, faixas> cursor{};
    std::copy(inicioFaixa.begin(), inicioFaixa.end() - 1, cursor.begin());
    for (size_t k = 0; k < alimentos.size(); ++k)
        if (alimentos[k].regiao == 0)
            posicoes[cursor[static_cast<size_t>(faixa(alimentos[k].y))]++] =
                static_cast<uint32_t>(k);
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

ListaCurtaAlimentos::Bits ListaCurtaAlimentos::marcarSimples(const Colunas& c, const Consulta& q,
                                                             uint32_t de, uint32_t ate) {
    Bits bits{};
    for (uint32_t k = de; k < ate; ++k) {
        const float dx = c.xs[k] - q.x, dy = c.ys[k] - q.y;
        const uint32_t partilham =
            (q.origem.x.antes & c.antesX[k]) | (q.origem.x.depois & c.depoisX[k]) |
            (q.origem.y.antes & c.antesY[k]) | (q.origem.y.depois & c.depoisY[k]);
        const bool sim = dx * dx + dy * dy <= q.limiar && partilham == q.todos;
        bits[k / 64] |= static_cast<uint64_t>(sim) << (k % 64);
    }
    return bits;
}

// Four items at a time; (px - x)² is (x - px)² exactly, a negation does not round.
ListaCurtaAlimentos::Bits ListaCurtaAlimentos::marcar(const Colunas& c, const Consulta& q,
                                                      uint32_t de, uint32_t ate) {
#if defined(__SSE2__)
    Bits bits{};
    const __m128 vx = _mm_set1_ps(q.x), vy = _mm_set1_ps(q.y), vl = _mm_set1_ps(q.limiar);
    const __m128i oxa = _mm_set1_epi32(static_cast<int>(q.origem.x.antes));
    const __m128i oxd = _mm_set1_epi32(static_cast<int>(q.origem.x.depois));
    const __m128i oya = _mm_set1_epi32(static_cast<int>(q.origem.y.antes));
    const __m128i oyd = _mm_set1_epi32(static_cast<int>(q.origem.y.depois));
    const __m128i vt = _mm_set1_epi32(static_cast<int>(q.todos));
    auto carregar = [](const uint32_t* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    };
    for (uint32_t k = de; k < ate; k += 4) {
        const __m128 dx = _mm_sub_ps(_mm_loadu_ps(c.xs + k), vx);
        const __m128 dy = _mm_sub_ps(_mm_loadu_ps(c.ys + k), vy);
        const __m128 perto = _mm_cmple_ps(_mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy)), vl);
        const __m128i partilham =
            _mm_or_si128(_mm_or_si128(_mm_and_si128(oxa, carregar(c.antesX + k)),
                                      _mm_and_si128(oxd, carregar(c.depoisX + k))),
                         _mm_or_si128(_mm_and_si128(oya, carregar(c.antesY + k)),
                                      _mm_and_si128(oyd, carregar(c.depoisY + k))));
        const __m128 livre = _mm_castsi128_ps(_mm_cmpeq_epi32(partilham, vt));
        const auto sim = static_cast<uint64_t>(_mm_movemask_ps(_mm_and_ps(perto, livre)));
        bits[k / 64] |= sim << (k % 64);
    }
    return bits;
#else
    return marcarSimples(c, q, de, ate);
#endif
}

uint32_t ListaCurtaAlimentos::posicoesAceitas(const Bits& aceitos, uint32_t* saida) const {
    uint32_t n = 0;
    for (size_t w = 0; w < aceitos.size(); ++w)
        for (uint64_t b = aceitos[w]; b != 0; b &= b - 1) {
            const uint32_t p = posicoes[w * 64 + static_cast<size_t>(std::countr_zero(b))];
            // Few items are taken: an insertion keeps them ascending.
            uint32_t i = n++;
            for (; i > 0 && saida[i - 1] > p; --i)
                saida[i] = saida[i - 1];
            saida[i] = p;
        }
    return n;
}

uint32_t ListaCurtaAlimentos::melhor(const SpecX& quem, const Bits& aceitos) const {
    bool achou = false;
    float melhorValor = 0.0f;
    uint32_t escolhido = 0;
    for (size_t w = 0; w < aceitos.size(); ++w)
        for (uint64_t b = aceitos[w]; b != 0; b &= b - 1) {
            const size_t k = w * 64 + static_cast<size_t>(std::countr_zero(b));
            const float valor = valores[k] - quem.distancia(xs[k], ys[k]);
            if (!achou || valor > melhorValor ||
                (valor == melhorValor && posicoes[k] < escolhido)) {
                achou = true;
                melhorValor = valor;
                escolhido = posicoes[k];
            }
        }
    return escolhido;
}

// The intelligence draw comes only once a candidate is known, as in the scan.
int64_t ListaCurtaAlimentos::escolher(const SpecX& quem, Random& rng) {
    Consulta q{quem.x, quem.y, limiarPara(quem.visao), {}, todos};
    uint32_t de = 0, ate = comPreenchimento;
    if (std::fabs(quem.y) < 1e4f) {
        const int ox = static_cast<int>(quem.x), oy = static_cast<int>(quem.y);
        if (mapa)
            q.origem = mapa->origem(ox, oy);
        // Only the bands of whole y the reach spans: an item in sight lies
        // less than the reach and a unit (give or take rounding) from `oy`.
        de = inicioFaixa[static_cast<size_t>(std::clamp(oy - quem.visao - 1, 0, faixas - 1))] & ~3u;
        ate =
            (inicioFaixa[static_cast<size_t>(std::clamp(oy + quem.visao + 2, 0, faixas - 1)) + 1] +
             3) &
            ~3u;
    } else if (mapa) {
        q.origem = mapa->origem(static_cast<int>(quem.x), static_cast<int>(quem.y));
    }
    const Bits aceitos =
        marcar({xs.data(), ys.data(), antesX.data(), depoisX.data(), antesY.data(), depoisY.data()},
               q, de, ate);
    uint32_t emOrdem[maximo];
    const uint32_t total = posicoesAceitas(aceitos, emOrdem);
    if (total == 0)
        return -1;
    if (quem.inteligencia > 0 && rng.randomInt(100) < quem.inteligencia)
        return melhor(quem, aceitos);
    return emOrdem[rng.randomInt(static_cast<int>(total))];
}

} // namespace keldo::indices
