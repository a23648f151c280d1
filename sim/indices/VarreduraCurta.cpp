#include "sim/indices/VarreduraCurta.h"
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

void VarreduraCurta::construir(const std::vector<PontoLista>& pontos, const MapaObstaculos* mapa) {
    const size_t n = pontos.size();
    // Ranks: list places when the positions ascend (every phase's list does).
    posicaoDoRank.resize(n);
    for (size_t k = 0; k < n; ++k)
        posicaoDoRank[k] = pontos[k].pos;
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
    // A counting sort by band, list order within each.
    inicioFaixa.fill(0);
    for (const PontoLista& p : pontos)
        ++inicioFaixa[static_cast<size_t>(faixa(p.y)) + 1];
    for (size_t b = 1; b < inicioFaixa.size(); ++b)
        inicioFaixa[b] += inicioFaixa[b - 1];
    // The padding is never in sight: no distance to NaN is within reach.
    const size_t comPreenchimento = (n + 3) & ~size_t{3};
    for (auto* v : {&xs, &ys})
        v->assign(comPreenchimento, std::numeric_limits<float>::quiet_NaN());
    valores.assign(comPreenchimento, 0.0f);
    for (auto* v : {&antesX, &depoisX, &antesY, &depoisY, &rankDe})
        v->assign(comPreenchimento, 0);
    std::array<uint32_t, faixas + 1> cursor = inicioFaixa;
    for (size_t k = 0; k < n; ++k) {
        const PontoLista& p = pontos[k];
        const uint32_t d = cursor[static_cast<size_t>(faixa(p.y))]++;
        xs[d] = p.x;
        ys[d] = p.y;
        valores[d] = p.valor;
        rankDe[d] = rankDoListado(k);
        if (!mapa)
            continue;
        const auto mx = mapa->mascaraX(p.cx);
        const auto my = mapa->mascaraY(p.cy);
        antesX[d] = mx.antes;
        depoisX[d] = mx.depois;
        antesY[d] = my.antes;
        depoisY[d] = my.depois;
    }
    aceitos.assign(comPreenchimento / 64 + 1, 0);
    porRank.assign((n + 63) / 64, 0);
}

void VarreduraCurta::marcarAlcancados(const Consulta& c, float alcance, size_t& w0, size_t& w1) {
    uint32_t de = 0, ate = static_cast<uint32_t>(xs.size());
    // Only the bands the reach spans: a point in sight lies less than the
    // reach and a unit (rounding included) from the query's y. Far from the
    // arena rounding grows: the whole list is read.
    if (std::fabs(c.y) < 1e4f && alcance < 1e4f) {
        const double y = c.y;
        de = inicioFaixa[static_cast<size_t>(faixa(y - alcance - 1.0))] & ~3u;
        ate = std::min(ate,
                       (inicioFaixa[static_cast<size_t>(faixa(y + alcance + 1.0)) + 1] + 3) & ~3u);
    }
    w0 = de / 64;
    w1 = (ate + 63) / 64;
    std::fill(aceitos.begin() + static_cast<std::ptrdiff_t>(w0),
              aceitos.begin() + static_cast<std::ptrdiff_t>(w1), uint64_t{0});
    if (de < ate)
        marcar(c, de, ate);
}

void VarreduraCurta::marcarSimples(const Consulta& c, uint32_t de, uint32_t ate) {
    for (uint32_t k = de; k < ate; ++k) {
        const float dx = c.x - xs[k], dy = c.y - ys[k];
        const uint32_t partilham =
            (c.origem.x.antes & antesX[k]) | (c.origem.x.depois & depoisX[k]) |
            (c.origem.y.antes & antesY[k]) | (c.origem.y.depois & depoisY[k]);
        const bool sim = (dx * dx + dy * dy <= c.limiar) & (partilham == c.todos);
        aceitos[k / 64] |= static_cast<uint64_t>(sim) << (k % 64);
    }
}

// Four points at a time, the same float operations as one at a time.
void VarreduraCurta::marcar(const Consulta& c, uint32_t de, uint32_t ate) {
#if defined(__SSE2__)
    const __m128 vx = _mm_set1_ps(c.x), vy = _mm_set1_ps(c.y), vl = _mm_set1_ps(c.limiar);
    const __m128i oxa = _mm_set1_epi32(static_cast<int>(c.origem.x.antes));
    const __m128i oxd = _mm_set1_epi32(static_cast<int>(c.origem.x.depois));
    const __m128i oya = _mm_set1_epi32(static_cast<int>(c.origem.y.antes));
    const __m128i oyd = _mm_set1_epi32(static_cast<int>(c.origem.y.depois));
    const __m128i vt = _mm_set1_epi32(static_cast<int>(c.todos));
    auto carregar = [](const uint32_t* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    };
    for (uint32_t k = de; k < ate; k += 4) {
        const __m128 dx = _mm_sub_ps(vx, _mm_loadu_ps(xs.data() + k));
        const __m128 dy = _mm_sub_ps(vy, _mm_loadu_ps(ys.data() + k));
        const __m128 perto = _mm_cmple_ps(_mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy)), vl);
        const __m128i partilham =
            _mm_or_si128(_mm_or_si128(_mm_and_si128(oxa, carregar(antesX.data() + k)),
                                      _mm_and_si128(oxd, carregar(depoisX.data() + k))),
                         _mm_or_si128(_mm_and_si128(oya, carregar(antesY.data() + k)),
                                      _mm_and_si128(oyd, carregar(depoisY.data() + k))));
        const __m128 livre = _mm_castsi128_ps(_mm_cmpeq_epi32(partilham, vt));
        const auto sim = static_cast<uint64_t>(_mm_movemask_ps(_mm_and_ps(perto, livre)));
        aceitos[k / 64] |= sim << (k % 64);
    }
#else
    marcarSimples(c, de, ate);
#endif
}

uint32_t VarreduraCurta::contar(const Consulta& c, float alcance) {
    size_t w0 = 0, w1 = 0;
    marcarAlcancados(c, alcance, w0, w1);
    std::fill(porRank.begin(), porRank.end(), uint64_t{0});
    uint32_t total = 0;
    for (size_t w = w0; w < w1; ++w)
        for (uint64_t b = aceitos[w]; b != 0; b &= b - 1) {
            const uint32_t r = rankDe[w * 64 + static_cast<size_t>(std::countr_zero(b))];
            porRank[r / 64] |= uint64_t{1} << (r % 64);
            ++total;
        }
    return total;
}

uint32_t VarreduraCurta::enesima(uint32_t ordem) const {
    size_t w = 0;
    for (auto n = static_cast<uint32_t>(std::popcount(porRank[w])); ordem >= n;
         n = static_cast<uint32_t>(std::popcount(porRank[++w])))
        ordem -= n;
    uint64_t b = porRank[w];
    for (; ordem > 0; --ordem)
        b &= b - 1;
    return posicaoDoRank[w * 64 + static_cast<size_t>(std::countr_zero(b))];
}

void VarreduraCurta::posicoesContadas(std::vector<uint32_t>& saida) const {
    saida.clear();
    for (size_t w = 0; w < porRank.size(); ++w)
        for (uint64_t b = porRank[w]; b != 0; b &= b - 1)
            saida.push_back(posicaoDoRank[w * 64 + static_cast<size_t>(std::countr_zero(b))]);
}

bool VarreduraCurta::melhor(const Consulta& c, float alcance, uint32_t& pos, float& distancia) {
    size_t w0 = 0, w1 = 0;
    marcarAlcancados(c, alcance, w0, w1);
    bool achou = false;
    float melhorPontos = 0.0f;
    for (size_t w = w0; w < w1; ++w)
        for (uint64_t b = aceitos[w]; b != 0; b &= b - 1) {
            const size_t k = w * 64 + static_cast<size_t>(std::countr_zero(b));
            const float dx = c.x - xs[k], dy = c.y - ys[k];
            const float d = std::sqrt(dx * dx + dy * dy);
            const float pontos = valores[k] - d;
            const uint32_t p = posicaoDoRank[rankDe[k]];
            if (!achou || pontos > melhorPontos || (pontos == melhorPontos && p < pos)) {
                achou = true;
                melhorPontos = pontos;
                pos = p;
                distancia = d;
            }
        }
    return achou;
}
