// Invariants of the crowds (the rules they follow: RegrasVizinhanca.h):
// - a crowd's males are ready males that see (`Regras::machoPronto`); only
//   their energy changes in a phase, and only the males an answer handed out
//   are looked at again;
// - a box on one point is judged by `Regras::noAlcance` of that one distance;
//   a wider box wholly in or out of reach only with a margin (1e-4) far above
//   float rounding, else male by male;
// - counts over places (a tree of counts) give the same place as a listing in order.
#include "sim/indices/MachosAglomerados.h"
#include "sim/indices/BuscaVizinhos.h"
#include <algorithm>
#include <bit>
#include <cmath>

namespace keldo::indices {

namespace {
// Float distances are within a few parts in ten million of the exact ones, so
// a box this far inside or outside the reach is judged whole without a doubt.
constexpr double folga = 1e-4;

using Regras::alcanceContato;

// The males kept here are ready males that see; only their energy (and so
// readiness) changes during a phase.
bool pronto(const SpecX& p) {
    return Regras::prontoParaReproduzir(p);
}
bool alcanca(const SpecX& femea, const SpecX& p) {
    return pronto(p) && Regras::noAlcance(femea.distancia(p.x, p.y), alcanceContato);
}
// Whole cells of the arena; off it (or not a number), the border cells, as the grid does.
int celulaEm(float v) {
    if (!(v >= 0.0f))
        return 0;
    return v >= 99.0f ? 99 : static_cast<int>(v);
}
} // namespace

uint32_t MachosAglomerados::celulaDe(float x, float y) {
    return static_cast<uint32_t>(celulaEm(y) * lado + celulaEm(x));
}

bool MachosAglomerados::construir(const std::vector<SpecX>& vivos, std::span<const uint32_t> machos,
                                  std::vector<uint32_t>& espalhados) {
    for (const Grupo& g : grupos)
        grupoDaCelula[g.celula] = -1;
    grupos.clear();
    inteiros.clear();
    if (machos.size() < minimoMachos)
        return false;
    if (contagem.empty()) {
        contagem.assign(static_cast<size_t>(lado * lado), 0);
        grupoDaCelula.assign(static_cast<size_t>(lado * lado), -1);
    }
    auto celula = [&](uint32_t k) { return celulaDe(vivos[k].x, vivos[k].y); };
    for (uint32_t k : machos)
        ++contagem[celula(k)];
    // Groups in the order their first member comes; then each one's fighters and others counted.
    std::vector<uint32_t> tamanhoNao, tamanhoLut;
    for (uint32_t k : machos) {
        const uint32_t c = celula(k);
        if (contagem[c] < minimoGrupo)
            continue;
        if (grupoDaCelula[c] < 0) {
            grupoDaCelula[c] = static_cast<int32_t>(grupos.size());
            grupos.push_back({vivos[k].x, vivos[k].y, vivos[k].x, vivos[k].y, true, c, 0, 0, 0, 0});
            tamanhoNao.push_back(0);
            tamanhoLut.push_back(0);
        }
        const auto g = static_cast<size_t>(grupoDaCelula[c]);
        ++(vivos[k].lutador == 1 ? tamanhoLut : tamanhoNao)[g];
    }
    for (uint32_t k : machos)
        contagem[celula(k)] = 0;
    if (grupos.empty())
        return false;
    uint32_t nao = 0, lut = 0;
    for (size_t g = 0; g < grupos.size(); ++g) {
        grupos[g].deNao = grupos[g].ateNao = nao;
        grupos[g].deLut = grupos[g].ateLut = lut;
        nao += tamanhoNao[g];
        lut += tamanhoLut[g];
    }
    naoLutadores.resize(nao);
    lutadores.resize(lut);
    espalhados.clear();
    for (uint32_t k : machos) {
        const int32_t indice = grupoDaCelula[celula(k)];
        if (indice < 0) {
            espalhados.push_back(k);
            continue;
        }
        Grupo& g = grupos[static_cast<size_t>(indice)];
        const SpecX& m = vivos[k];
        if (vivos[k].lutador == 1)
            lutadores[g.ateLut++] = k;
        else
            naoLutadores[g.ateNao++] = k;
        if (std::isnan(m.x) || std::isnan(m.y))
            g.x0 =
                std::nanf(""); // a box that no reach is sure of: its members are judged one by one
        g.ponto = g.ponto && m.x == g.x0 && m.y == g.y0 && m.x == g.x1 && m.y == g.y1;
        g.x0 = std::min(g.x0, m.x);
        g.y0 = std::min(g.y0, m.y);
        g.x1 = std::max(g.x1, m.x);
        g.y1 = std::max(g.y1, m.y);
    }
    arvore.resize(nao);
    contado.assign(nao, 1);
    for (const Grupo& g : grupos)
        montarArvore(g);
    return true;
}

void MachosAglomerados::montarArvore(const Grupo& g) {
    uint32_t* t = arvore.data() + g.deNao; // node i (from 1) at t[i - 1]
    const uint32_t n = g.ateNao - g.deNao;
    for (uint32_t i = 1; i <= n; ++i)
        t[i - 1] = 1;
    for (uint32_t i = 1; i <= n; ++i) {
        const uint32_t j = i + (i & (0u - i));
        if (j <= n)
            t[j - 1] += t[i - 1];
    }
}

uint32_t MachosAglomerados::somaAte(const Grupo& g, uint32_t n) const {
    const uint32_t* t = arvore.data() + g.deNao;
    uint32_t soma = 0;
    for (; n > 0; n &= n - 1)
        soma += t[n - 1];
    return soma;
}

uint32_t MachosAglomerados::slotDe(const Grupo& g, uint32_t ordem) const {
    const uint32_t* t = arvore.data() + g.deNao;
    const uint32_t n = g.ateNao - g.deNao;
    uint32_t p = 0;
    for (uint32_t passo = std::bit_floor(n); passo > 0; passo >>= 1)
        if (p + passo <= n && t[p + passo - 1] <= ordem) {
            p += passo;
            ordem -= t[p - 1];
        }
    return g.deNao + p;
}

void MachosAglomerados::retirar(const Grupo& g, uint32_t slot) {
    uint32_t* t = arvore.data() + g.deNao;
    const uint32_t n = g.ateNao - g.deNao;
    for (uint32_t i = slot - g.deNao + 1; i <= n; i += i & (0u - i))
        --t[i - 1];
    contado[slot] = 0;
}

MachosAglomerados::Alcance MachosAglomerados::alcanceDe(const Grupo& g, const SpecX& femea) const {
    if (g.ponto) // the distance every member has, computed as for each of them
        return Regras::noAlcance(femea.distancia(g.x0, g.y0), alcanceContato) ? Alcance::todo
                                                                              : Alcance::nenhum;
    const double x = femea.x, y = femea.y;
    const double longeX = std::max(std::fabs(x - g.x0), std::fabs(x - g.x1));
    const double longeY = std::max(std::fabs(y - g.y0), std::fabs(y - g.y1));
    const double pertoX = std::max({0.0, g.x0 - x, x - g.x1});
    const double pertoY = std::max({0.0, g.y0 - y, y - g.y1});
    if (std::sqrt(longeX * longeX + longeY * longeY) <= alcanceContato - folga)
        return Alcance::todo;
    if (std::sqrt(pertoX * pertoX + pertoY * pertoY) > alcanceContato + folga)
        return Alcance::nenhum;
    return Alcance::parte; // also when a coordinate is not a number
}

template <class Fazer>
void MachosAglomerados::paraCadaGrupoPerto(const SpecX& femea, Fazer&& fazer) const {
    // Cells are monotone in the coordinate; the slack covers the float distance's rounding.
    const float margem = alcanceContato + 0.01f;
    const int i0 = celulaEm(femea.x - margem), i1 = celulaEm(femea.x + margem);
    const int j0 = celulaEm(femea.y - margem), j1 = celulaEm(femea.y + margem);
    for (int j = j0; j <= j1; ++j)
        for (int i = i0; i <= i1; ++i) {
            const int32_t g = grupoDaCelula[static_cast<size_t>(j * lado + i)];
            if (g >= 0)
                fazer(static_cast<uint32_t>(g));
        }
}

void MachosAglomerados::adicionarMembrosPerto(const std::vector<SpecX>& vivos, const Grupo& g,
                                              const SpecX& femea,
                                              std::vector<uint32_t>& saida) const {
    for (uint32_t s = g.deNao; s < g.ateNao; ++s)
        if (alcanca(femea, vivos[naoLutadores[s]]))
            saida.push_back(naoLutadores[s]);
    for (uint32_t s = g.deLut; s < g.ateLut; ++s)
        if (alcanca(femea, vivos[lutadores[s]]))
            saida.push_back(lutadores[s]);
}

uint32_t MachosAglomerados::consultar(const std::vector<SpecX>& vivos, const SpecX& femea,
                                      std::vector<uint32_t>& avulsos) {
    inteiros.clear();
    uint32_t naoContados = 0;
    paraCadaGrupoPerto(femea, [&](uint32_t indice) {
        Grupo& g = grupos[indice];
        switch (alcanceDe(g, femea)) {
        case Alcance::nenhum:
            return;
        case Alcance::parte:
            adicionarMembrosPerto(vivos, g, femea, avulsos);
            return;
        case Alcance::todo:
            break;
        }
        // Fighters that a fight left unready are dropped as they are met, keeping the order.
        uint32_t ficam = g.deLut;
        for (uint32_t s = g.deLut; s < g.ateLut; ++s) {
            const uint32_t k = lutadores[s];
            if (!pronto(vivos[k]))
                continue;
            lutadores[ficam++] = k;
            avulsos.push_back(k);
        }
        g.ateLut = ficam;
        inteiros.push_back(indice);
        naoContados += somaAte(g, g.ateNao - g.deNao);
    });
    return naoContados;
}

uint32_t MachosAglomerados::contarAte(uint32_t posicao) const {
    uint32_t n = 0;
    for (uint32_t indice : inteiros) {
        const Grupo& g = grupos[indice];
        const uint32_t* de = naoLutadores.data() + g.deNao;
        const auto antes = static_cast<uint32_t>(
            std::upper_bound(de, naoLutadores.data() + g.ateNao, posicao) - de);
        n += somaAte(g, antes);
    }
    return n;
}

uint32_t MachosAglomerados::enesimo(const std::vector<uint32_t>& avulsos, uint32_t ordem) const {
    if (inteiros.empty())
        return avulsos[ordem];
    if (avulsos.empty() && inteiros.size() == 1)
        return naoLutadores[slotDe(grupos[inteiros.front()], ordem)];
    // The smallest place with more than `ordem` candidates at or before it.
    uint32_t baixo = 0, alto = UINT32_MAX;
    while (baixo < alto) {
        const uint32_t meio = baixo + (alto - baixo) / 2;
        const auto antes = static_cast<uint32_t>(
            std::upper_bound(avulsos.begin(), avulsos.end(), meio) - avulsos.begin());
        if (antes + contarAte(meio) > ordem)
            alto = meio;
        else
            baixo = meio + 1;
    }
    return baixo;
}

void MachosAglomerados::conferir(const std::vector<SpecX>& vivos, uint32_t posicao) {
    if (grupos.empty() || pronto(vivos[posicao]))
        return;
    const int32_t indice = grupoDaCelula[celulaDe(vivos[posicao].x, vivos[posicao].y)];
    if (indice < 0)
        return;
    const Grupo& g = grupos[static_cast<size_t>(indice)];
    const uint32_t* de = naoLutadores.data() + g.deNao;
    const uint32_t* fim = naoLutadores.data() + g.ateNao;
    const uint32_t* achado = std::lower_bound(de, fim, posicao);
    if (achado == fim || *achado != posicao)
        return; // a fighter, or a male of the grid
    const auto slot = static_cast<uint32_t>(achado - naoLutadores.data());
    if (contado[slot])
        retirar(g, slot);
}

void MachosAglomerados::juntarPerto(const std::vector<SpecX>& vivos, const SpecX& femea,
                                    std::vector<uint32_t>& saida) const {
    paraCadaGrupoPerto(femea, [&](uint32_t indice) {
        adicionarMembrosPerto(vivos, grupos[indice], femea, saida);
    });
}

} // namespace keldo::indices
