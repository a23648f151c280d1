#include "sim/indices/BuscaPorVarredura.h"
#include "sim/indices/ListaRascunho.h"
#include "sim/indices/ObstaculosNivel.h"

namespace keldo::indices {

bool BuscaPorVarredura::bloqueado(int x1, int y1, int x2, int y2) const {
    return obstaculos.caminhoBloqueado(x1, y1, x2, y2, arena) != 0;
}

void BuscaPorVarredura::prepararFemeas(const std::vector<SpecX>& vivos, std::span<const uint32_t>,
                                       const MapaObstaculos*) {
    esvaziarRascunho(individuos, vivos.size());
    for (size_t k = 0; k < vivos.size(); ++k) {
        const SpecX& f = vivos[k];
        individuos.push_back({f.x, f.y, trunca(f.x), trunca(f.y), static_cast<uint32_t>(k)});
    }
}

int64_t BuscaPorVarredura::parceira(const std::vector<SpecX>& vivos, const SpecX& m, Random& rng) {
    candidatos.clear();
    uint32_t maisProxima = 0;
    float menorDistancia = 0.0f;
    const float alcance = m.visao;
    const int mx = trunca(m.x), my = trunca(m.y);
    for (const PontoLista& ponto : individuos) {
        const float d = m.distancia(ponto.x, ponto.y);
        if (!Regras::noAlcance(d, alcance))
            continue;
        if (!Regras::parceiraPossivel(m, vivos[ponto.pos]))
            continue;
        if (bloqueado(mx, my, ponto.cx, ponto.cy))
            continue;
        if (candidatos.empty() || d < menorDistancia) {
            maisProxima = ponto.pos;
            menorDistancia = d;
        }
        candidatos.push_back(ponto.pos);
    }
    return escolherPorInteligencia(m.inteligencia, maisProxima, candidatos, rng);
}

const std::vector<uint32_t>& BuscaPorVarredura::machosPerto(const std::vector<SpecX>& vivos,
                                                            std::size_t posicao) {
    return varrerMachos(vivos, vivos[posicao], candidatos);
}

const FoodX* BuscaPorVarredura::alimentoEm(const std::vector<FoodX>& alimentos, int16_t x,
                                           int16_t y) const {
    for (const FoodX& f : alimentos)
        if (f.x == x && f.y == y)
            return &f;
    return nullptr;
}

int64_t BuscaPorVarredura::alimento(const std::vector<FoodX>& alimentos, const SpecX& i,
                                    Random& rng) {
    candidatos.clear();
    uint32_t melhor = 0;
    float melhorValor = 0.0f;
    const float alcance = i.visao;
    const int ix = trunca(i.x), iy = trunca(i.y);
    for (uint32_t k = 0; k < alimentos.size(); ++k) {
        const FoodX& f = alimentos[k];
        if (!Regras::alimentoPossivel(i, f))
            continue;
        const float d = i.distancia(f.x, f.y);
        if (!Regras::noAlcance(d, alcance))
            continue;
        if (bloqueado(ix, iy, trunca(f.x), trunca(f.y)))
            continue;
        const float valor = static_cast<float>(f.valorEnergetico) - d;
        if (candidatos.empty() || valor > melhorValor) {
            melhor = k;
            melhorValor = valor;
        }
        candidatos.push_back(k);
    }
    return escolherPorInteligencia(i.inteligencia, melhor, candidatos, rng);
}

const std::vector<uint32_t>& BuscaPorVarredura::comensaisPerto(const std::vector<SpecX>& vivos,
                                                               const std::vector<FoodX>& alimentos,
                                                               std::size_t alimento) {
    return varrerComensais(vivos, alimentos[alimento], candidatos);
}

} // namespace keldo::indices
