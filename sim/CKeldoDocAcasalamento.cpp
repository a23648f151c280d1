// Partner search, fights and mating.
#include "sim/CKeldoDoc.h"

namespace {
bool prontoParaReproduzir(const SpecX& i) {
    return i.vivo() && i.adulto() && i.livre == 0 && i.energia >= i.limiarReproducao;
}
int trunca(float v) {
    return static_cast<int>(v);
}
} // namespace

// Females a male may head for; nothing that decides this changes during the
// phase. The reference path keeps every individual and lets the loop judge.
void CKeldoDoc::listarFemeasVisiveis() {
    esvaziarRascunho(femeasVisiveis, vivos_.size());
    for (size_t k = 0; k < vivos_.size(); ++k) {
        const SpecX& f = vivos_[k];
        if (usarReferencia_ || (!f.sexo() && f.vivo() && f.adulto() && f.livre == 0))
            femeasVisiveis.push_back(
                {f.x, f.y, trunca(f.x), trunca(f.y), static_cast<uint32_t>(k)});
    }
    if (!usarReferencia_)
        buscaFemeas.construir(femeasVisiveis, mapaDaFase());
}

void CKeldoDoc::procurarParceira() {
    listarFemeasVisiveis();
    for (SpecX& m : vivos_) {
        if (!m.sexo() || !prontoParaReproduzir(m) || m.visao == 0)
            continue;
        m.targetId = -1;
        const SpecX* escolhida = usarReferencia_ ? parceiraPorVarredura(m)
                                                 : itemEm(vivos_, escolherNaBusca(buscaFemeas, m));
        if (!escolhida)
            continue;
        m.apontarPara(escolhida->x, escolhida->y);
        m.targetId = escolhida->id;
        m.targetX = static_cast<int16_t>(trunca(escolhida->x));
        m.targetY = static_cast<int16_t>(trunca(escolhida->y));
    }
}

// Every individual in list order, judged one by one.
SpecX* CKeldoDoc::parceiraPorVarredura(const SpecX& m) {
    candidatosParceiro.clear();
    SpecX* maisProxima = nullptr;
    float menorDistancia = 0.0f;
    const float alcance = m.visao;
    const int mx = trunca(m.x), my = trunca(m.y);
    for (const PontoLista& ponto : femeasVisiveis) {
        const float d = m.distancia(ponto.x, ponto.y);
        if (!(d <= alcance))
            continue;
        SpecX& f = vivos_[ponto.pos];
        if (f.sexo() || !f.vivo() || !f.adulto() || f.livre != 0 || f.livre != m.livre)
            continue;
        if (caminhoBloqueado(mx, my, ponto.cx, ponto.cy))
            continue;
        if (!maisProxima || d < menorDistancia) {
            maisProxima = &f;
            menorDistancia = d;
        }
        candidatosParceiro.push_back(&f);
    }
    SpecX* escolhida =
        candidatosParceiro.empty()
            ? nullptr
            : escolherPorInteligencia(m.inteligencia, maisProxima, candidatosParceiro);
    candidatosParceiro.clear();
    return escolhida;
}

SpecX* CKeldoDoc::escolherParceiro(const std::vector<SpecX*>& candidatos) {
    if (candidatos.empty())
        return nullptr; // randomInt(0) would index before the list
    if (candidatos.size() == 1)
        return candidatos[0];
    lutadores.clear();
    naoLutadores.clear();
    for (SpecX* c : candidatos)
        (c->lutador == 1 ? lutadores : naoLutadores).push_back(c);
    if (lutadores.empty())
        return naoLutadores[rng_.randomInt(static_cast<int>(naoLutadores.size()))];

    for (SpecX* l : lutadores)
        l->gastarEnergia(static_cast<int>(parametros_.luta));
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

int CKeldoDoc::acasalar() {
    int acasalamentos = 0;
    const bool discretas = parametros_.tipoGeracoes == 1;
    const int32_t mutacao = parametros_.mutacaoAtiva ? parametros_.taxaMutacao : 0;
    recemNascidos.clear();
    // Mating only spends energy, so no male becomes ready during the phase:
    // the males ready at its start are all that can father. The reference
    // path keeps everyone and lets the test judge.
    esvaziarRascunho(machosProntos, vivos_.size());
    for (size_t k = 0; k < vivos_.size(); ++k) {
        const SpecX& p = vivos_[k];
        if (usarReferencia_ || (p.sexo() && prontoParaReproduzir(p) && p.visao != 0))
            machosProntos.push_back({p.x, p.y, trunca(p.x), trunca(p.y), static_cast<uint32_t>(k)});
    }
    gradeIndividuos.construir(machosProntos);
    for (SpecX& q : vivos_) {
        if (discretas && static_cast<uint32_t>(ovos_) >= parametros_.numIndDiscretas)
            break;
        if (q.sexo() || !prontoParaReproduzir(q))
            continue;
        candidatosParceiro.clear();
        for (uint32_t k :
             proximosQue(gradeIndividuos, machosProntos.size(), q.x, q.y, 1.5f, [&](uint32_t k) {
                 const SpecX& p = vivos_[machosProntos[k].pos];
                 return p.sexo() && prontoParaReproduzir(p) && p.visao != 0 &&
                        q.distancia(p.x, p.y) <= 1.5f;
             }))
            candidatosParceiro.push_back(&vivos_[machosProntos[k].pos]);
        if (candidatosParceiro.empty())
            continue;
        SpecX* pai = escolherParceiro(candidatosParceiro);
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
    candidatosParceiro.clear();
    for (SpecX& filho : recemNascidos)
        vivos_.push_back(filho);
    recemNascidos.clear();
    return acasalamentos;
}
