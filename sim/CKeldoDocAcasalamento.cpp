// Partner search, fights and mating.
#include "sim/CKeldoDoc.h"

namespace keldo::sim {

namespace {
int trunca(float v) {
    return static_cast<int>(v);
}
} // namespace

void CKeldoDoc::procurarParceira() {
    busca->prepararParceiras(vivos_, mapaDaFase());
    // The search changes no male's readiness, so the ready ones found before it are all that ask.
    for (uint32_t k : busca->prontos().machos()) {
        SpecX& m = vivos_[k];
        m.targetId = -1;
        const SpecX* escolhida = itemEm(vivos_, busca->parceira(vivos_, m, rng_));
        if (!escolhida)
            continue;
        m.apontarPara(escolhida->x, escolhida->y);
        m.targetId = escolhida->id;
        m.targetX = static_cast<int16_t>(trunca(escolhida->x));
        m.targetY = static_cast<int16_t>(trunca(escolhida->y));
    }
}

namespace {
// The father among `total` candidates of which `lutadores` are the fighters
// (in list order); `enesimo(k)` gives the candidate at place k, asked only
// when there is no fighter or a single candidate.
template <class Enesimo>
SpecX* escolherPai(std::size_t total, const std::vector<SpecX*>& lutadores, Enesimo&& enesimo,
                   uint32_t luta, Random& rng) {
    if (total == 0)
        return nullptr; // randomInt(0) would index before the list
    if (total == 1)
        return lutadores.empty() ? enesimo(0) : lutadores[0];
    if (lutadores.empty())
        return enesimo(static_cast<uint32_t>(rng.randomInt(static_cast<int>(total))));

    for (SpecX* l : lutadores)
        l->gastarEnergia(static_cast<int>(luta));
    SpecX* vencedor = nullptr;
    for (SpecX* l : lutadores)
        if (l->vivo())
            vencedor = l;
    if (!vencedor)
        return nullptr;
    // The best energy starts from the last fighter, alive or not; only a
    // strictly greater energy takes the lead.
    int melhor = lutadores.back()->energia;
    for (SpecX* l : lutadores) {
        if (l->energia > melhor) {
            melhor = l->energia;
            vencedor = l;
        }
    }
    return vencedor;
}
} // namespace

SpecX* CKeldoDoc::escolherParceiro(const std::vector<SpecX*>& candidatos) {
    lutadores.clear();
    for (SpecX* c : candidatos)
        if (c->lutador == 1)
            lutadores.push_back(c);
    // Without fighters every candidate is a non-fighter, in the same order.
    return escolherPai(
        candidatos.size(), lutadores, [&](uint32_t k) { return candidatos[k]; }, parametros_.luta,
        rng_);
}

int CKeldoDoc::acasalar(bool aposBusca) {
    int acasalamentos = 0;
    const bool discretas = parametros_.tipoGeracoes == 1;
    const int32_t mutacao = parametros_.mutacaoAtiva ? parametros_.taxaMutacao : 0;
    recemNascidos.clear();
    busca->prepararMachos(vivos_, aposBusca);
    // Newborns join the list after the phase, so the places stay put. A
    // female's energy changes only on her own turn, so the ready ones found
    // at the start are those that mate.
    for (uint32_t posicao : busca->prontos().femeasProntas()) {
        SpecX& q = vivos_[posicao];
        if (discretas && static_cast<uint32_t>(ovos_) >= parametros_.numIndDiscretas)
            break;
        // A crowd of males is counted, not listed: only its fighters are.
        const uint32_t candidatos = busca->consultarMachos(vivos_, posicao);
        if (candidatos == 0)
            continue;
        lutadores.clear();
        for (uint32_t k : busca->lutadoresPerto())
            lutadores.push_back(&vivos_[k]);
        SpecX* pai = escolherPai(
            candidatos, lutadores, [&](uint32_t k) { return &vivos_[busca->machoPerto(k)]; },
            parametros_.luta, rng_);
        if (!pai)
            continue;
        uint32_t g = static_cast<uint32_t>(geracao_);
        if (pai->detectaCuida() == 0 && q.detectaCuida() == 1)
            continue; // a detecting mother refuses a father who does not care
        recemNascidos.push_back(q.gerarFilhote(*pai, proximoId_, g, mutacao));
        proximoId_ = static_cast<int32_t>(static_cast<uint32_t>(proximoId_) + 1u);
        if (pai->detectaCuida() == 0) {
            q.gastarEnergia(static_cast<int>(parametros_.detecta));
        } else {
            const int metade = static_cast<int>(parametros_.detecta / 2);
            pai->gastarEnergia(metade);
            q.gastarEnergia(metade);
        }
        ++acasalamentos;
        pai->targetId = -1;
        pai->targetX = pai->targetY = -1;
        if (!recemNascidos.back().adulto())
            ++ovos_;
        geracao_ = static_cast<int32_t>(g);
        if (discretas && static_cast<uint32_t>(ovos_) >= parametros_.numIndDiscretas)
            break;
    }
    for (SpecX& filho : recemNascidos)
        vivos_.push_back(filho);
    recemNascidos.clear();
    return acasalamentos;
}

} // namespace keldo::sim
