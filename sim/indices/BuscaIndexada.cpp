// Invariants of the indexed search (the rules it follows: RegrasVizinhanca.h):
// - readiness, reach and eating are `Regras`' functions, asked per candidate
//   or proven for the whole index (the squared threshold, the masks);
// - the intelligence draw is `Regras::escolheOMelhor`, made first on a copy of
//   the generator; the copy is kept only when a candidate is in sight, so a
//   query with none draws nothing, as the reference does;
// - every answer is in list order (ranks), so a draw by place picks what a
//   whole-list scan would.
#include "sim/indices/BuscaIndexada.h"
#include "sim/indices/ListaRascunho.h"
#include <algorithm>

namespace keldo::indices {

// Females a male may head for; nothing that decides this changes during the phase.
void BuscaIndexada::prepararFemeas(const std::vector<SpecX>& vivos,
                                   std::span<const uint32_t> femeas, const MapaObstaculos* mapa) {
    redimensionarRascunho(femeasVisiveis, femeas.size());
    PontoLista* const pontos = femeasVisiveis.data();
    for (size_t k = 0; k < femeas.size(); ++k) {
        const SpecX& f = vivos[femeas[k]];
        pontos[k] = {f.x, f.y, trunca(f.x), trunca(f.y), femeas[k]};
    }
    buscaFemeas.construir(femeasVisiveis, mapa);
}

void BuscaIndexada::prepararMachosDe(const std::vector<SpecX>& vivos,
                                     std::span<const uint32_t> machos) {
    machoEntregue = -1;
    if (aglomerados.construir(vivos, machos, machosEspalhados))
        grade.construirEm(vivos, machosEspalhados);
    else
        grade.construirEm(vivos, machos);
}

const std::vector<uint32_t>& BuscaIndexada::machosPerto(const std::vector<SpecX>& vivos,
                                                        std::size_t posicao) {
    // The grid judges the reach as `alcancaMacho` does (the same float
    // distance against the squares whose root is within it); of the rest only
    // the energy a father spends changes during the phase.
    const SpecX& femea = vivos[posicao];
    grade.consultar(
        femea.x, femea.y, Regras::alcanceContato,
        [&](uint32_t k) { return Regras::machoPronto(vivos[k]); }, proximos);
    if (!aglomerados.vazio()) {
        const size_t daGrade = proximos.size();
        aglomerados.juntarPerto(vivos, femea, proximos);
        if (proximos.size() != daGrade)
            std::sort(proximos.begin(), proximos.end());
    }
    return proximos;
}

// A crowd's non-fighters are counted and picked by place, not listed.
uint32_t BuscaIndexada::consultarMachos(const std::vector<SpecX>& vivos, std::size_t posicao) {
    if (aglomerados.vazio()) { // the grid's whole answer
        BuscaIndexada::machosPerto(vivos, posicao);
        separarLutadores(vivos, proximos);
        return static_cast<uint32_t>(proximos.size());
    }
    if (machoEntregue >= 0)
        aglomerados.conferir(vivos, static_cast<uint32_t>(machoEntregue));
    machoEntregue = -1;
    const SpecX& femea = vivos[posicao];
    grade.consultar(
        femea.x, femea.y, Regras::alcanceContato,
        [&](uint32_t k) { return Regras::machoPronto(vivos[k]); }, proximos);
    const size_t daGrade = proximos.size();
    const uint32_t contados = aglomerados.consultar(vivos, femea, proximos);
    if (proximos.size() != daGrade && !std::is_sorted(proximos.begin(), proximos.end()))
        std::sort(proximos.begin(), proximos.end());
    separarLutadores(vivos, proximos);
    return static_cast<uint32_t>(proximos.size()) + contados;
}

uint32_t BuscaIndexada::machoPerto(uint32_t ordem) {
    if (aglomerados.vazio())
        return proximos[ordem];
    const uint32_t k = aglomerados.enesimo(proximos, ordem);
    machoEntregue = k;
    return k;
}

// Only the living free adults that see can eat; none of that changes during
// the phase but life, which eating and sharing can only take away. Sparse
// food goes to the contact table; crowded worlds ask the grid (free between
// the mating phases) food item by food item.
void BuscaIndexada::prepararComensais(const std::vector<SpecX>& vivos,
                                      const std::vector<FoodX>& alimentos) {
    auto comensal = [](const SpecX& i) { return Regras::comensal(i); };
    comensaisNaGrade = !contatos.compensa(alimentos.size(), vivos.size(), Regras::alcanceContato);
    if (comensaisNaGrade) {
        contatos.esquecer();
        grade.construir(vivos, comensal);
        return;
    }
    contatos.comecar(alimentos.size(), vivos.size(), Regras::alcanceContato);
    for (const FoodX& f : alimentos) {
        // The eaters are free, so food of an enclosed region feeds none.
        if (f.regiao == 0)
            contatos.adicionar(f.x, f.y);
        else
            contatos.pular();
    }
    contatos.reunir(
        vivos, comensal,
        [&](const SpecX& i, uint32_t f) { return Regras::podeComer(i, alimentos[f]); },
        [](const SpecX&, size_t k) { return static_cast<uint32_t>(k); });
}

const std::vector<uint32_t>& BuscaIndexada::comensaisPerto(const std::vector<SpecX>& vivos,
                                                           const std::vector<FoodX>& alimentos,
                                                           std::size_t alimento) {
    if (!contatos.eAlvo(alimento))
        return comensaisSemContatos(vivos, alimentos[alimento]);
    contatos.contatos(
        alimento, [&](uint32_t k) { return vivos[k].vivo() != 0; }, proximos);
    return proximos;
}

// Food the contact table did not take: asked of the grid in a crowded phase,
// else (food of an enclosed region) the whole list is judged.
const std::vector<uint32_t>& BuscaIndexada::comensaisSemContatos(const std::vector<SpecX>& vivos,
                                                                 const FoodX& f) {
    if (!comensaisNaGrade)
        return varrerComensais(vivos, f, proximos);
    if (f.regiao != 0) { // the eaters are free
        proximos.clear();
        return proximos;
    }
    // The grid holds the free adults that see and judges the reach as
    // `podeComer` does; of the rest only life changes during the phase.
    grade.consultar(
        f.x, f.y, Regras::alcanceContato, [&](uint32_t k) { return vivos[k].vivo() != 0; },
        proximos);
    return proximos;
}

// The food a searcher may head for, and the first food item of the list lying
// exactly on each whole cell.
void BuscaIndexada::prepararAlimentos(const std::vector<FoodX>& alimentos,
                                      const MapaObstaculos* mapa) {
    alimentosPorCelula.construir(alimentos);
    // Only food of the open region is ever a target (searchers are free).
    esvaziarRascunho(alimentosVisiveis, alimentos.size());
    for (size_t k = 0; k < alimentos.size(); ++k) {
        const FoodX& f = alimentos[k];
        if (f.regiao == 0)
            alimentosVisiveis.push_back({f.x, f.y, trunca(f.x), trunca(f.y),
                                         static_cast<uint32_t>(k),
                                         static_cast<float>(f.valorEnergetico)});
    }
    buscaAlimentos.construir(alimentosVisiveis, mapa);
}

// The same choice as a scan in list order, from the candidates a sight query
// finds: when the intelligence draw (looked at before it is made) picks the
// best, only the best is searched for; else the candidates are counted, and
// the one at the drawn place in list order is taken. No candidate, no draw.
int64_t BuscaIndexada::escolherNaBusca(const BuscaCandidatos& busca, const SpecX& quem,
                                       Random& rng) {
    const float x = quem.x, y = quem.y, alcance = quem.visao;
    const int ox = trunca(x), oy = trunca(y), inteligencia = quem.inteligencia;
    Random espia = rng; // the first draw, looked at before it is made
    if (Regras::escolheOMelhor(inteligencia, espia)) {
        Candidato melhor{};
        if (!busca.melhor(x, y, alcance, ox, oy, melhor))
            return -1;
        rng = espia;
        return melhor.pos;
    }
    const uint32_t total = busca.contar(x, y, alcance, ox, oy);
    if (total == 0)
        return -1;
    rng = espia;
    return busca.enesima(Regras::lugarSorteado(total, rng));
}

} // namespace keldo::indices
