// Food search, feeding, food renewal and movement.
#include "sim/CKeldoDoc.h"
#include <algorithm>

namespace {
bool ativo(const SpecX& i) {
    return i.vivo() && i.adulto() && i.livre == 0;
}
int trunca(float v) {
    return static_cast<int>(v);
}
} // namespace

// The food a searcher may head for, and the first food item of the list lying
// exactly on each whole cell (only worth it for long lists); rebuilt once per
// food search.
void CKeldoDoc::indexarAlimentos() {
    if (usarReferencia_) {
        indiceAlimentosValido = false;
        return;
    }
    // Only food of the open region is ever a target (searchers are free).
    esvaziarRascunho(alimentosVisiveis, alimentos_.size());
    for (size_t k = 0; k < alimentos_.size(); ++k) {
        const FoodX& f = alimentos_[k];
        if (f.regiao == 0)
            alimentosVisiveis.push_back({f.x, f.y, trunca(f.x), trunca(f.y),
                                         static_cast<uint32_t>(k),
                                         static_cast<float>(f.valorEnergetico)});
    }
    buscaAlimentos.construir(alimentosVisiveis, mapaDaFase());
    indiceAlimentosValido = alimentos_.size() >= minimoParaIndice;
    if (!indiceAlimentosValido)
        return;
    primeiroAlimentoEm.assign(ladoCelulasAlimento * ladoCelulasAlimento, -1);
    for (size_t k = 0; k < alimentos_.size(); ++k) {
        const float fx = alimentos_[k].x, fy = alimentos_[k].y;
        if (!(fx >= 0.0f && fx < ladoCelulasAlimento && fy >= 0.0f && fy < ladoCelulasAlimento))
            continue;
        const int cx = static_cast<int>(fx), cy = static_cast<int>(fy);
        if (static_cast<float>(cx) != fx || static_cast<float>(cy) != fy)
            continue;
        int32_t& primeiro = primeiroAlimentoEm[cy * ladoCelulasAlimento + cx];
        if (primeiro < 0)
            primeiro = static_cast<int32_t>(k);
    }
}

const FoodX* CKeldoDoc::alimentoEm(int16_t alvoX, int16_t alvoY) const {
    if (indiceAlimentosValido && alvoX >= 0 && alvoX < ladoCelulasAlimento && alvoY >= 0 &&
        alvoY < ladoCelulasAlimento) {
        const int32_t k = primeiroAlimentoEm[alvoY * ladoCelulasAlimento + alvoX];
        return k < 0 ? nullptr : &alimentos_[static_cast<size_t>(k)];
    }
    for (const FoodX& f : alimentos_)
        if (f.x == alvoX && f.y == alvoY)
            return &f;
    return nullptr;
}

void CKeldoDoc::procurarAlimento() {
    indexarAlimentos();
    for (SpecX& i : vivos_) {
        if (!ativo(i) || i.visao == 0 || i.energia >= i.limiarReproducao)
            continue;
        if (i.targetX != -1) {
            // The remembered target is matched by its coordinates alone.
            if (const FoodX* lembrado = alimentoEm(i.targetX, i.targetY)) {
                i.apontarPara(lembrado->x, lembrado->y);
                continue;
            }
            i.targetX = i.targetY = -1;
        }
        const FoodX* escolhido = usarReferencia_
                                     ? alimentoPorVarredura(i)
                                     : itemEm(alimentos_, escolherNaBusca(buscaAlimentos, i));
        if (!escolhido)
            continue;
        i.apontarPara(escolhido->x, escolhido->y);
        i.targetX = static_cast<int16_t>(trunca(escolhido->x));
        i.targetY = static_cast<int16_t>(trunca(escolhido->y));
    }
}

// Every food item in list order, judged one by one.
FoodX* CKeldoDoc::alimentoPorVarredura(const SpecX& i) {
    candidatosAlimento.clear();
    FoodX* melhor = nullptr;
    float melhorValor = 0.0f;
    const float alcance = i.visao;
    const int ix = trunca(i.x), iy = trunca(i.y);
    for (FoodX& f : alimentos_) {
        if (f.regiao != i.livre)
            continue;
        const float d = i.distancia(f.x, f.y);
        if (!(d <= alcance))
            continue;
        if (caminhoBloqueado(ix, iy, trunca(f.x), trunca(f.y)))
            continue;
        const float valor = static_cast<float>(f.valorEnergetico) - d;
        if (!melhor || valor > melhorValor) {
            melhor = &f;
            melhorValor = valor;
        }
        candidatosAlimento.push_back(&f);
    }
    FoodX* escolhido = candidatosAlimento.empty()
                           ? nullptr
                           : escolherPorInteligencia(i.inteligencia, melhor, candidatosAlimento);
    candidatosAlimento.clear();
    return escolhido;
}

// The same choice as a scan in list order, from the candidates a sight query
// finds: when the intelligence draw (looked at before it is made) picks the
// best, only the best is searched for; else every candidate is, and the one
// at the drawn place in list order is taken. No candidate, no draw.
int64_t CKeldoDoc::escolherNaBusca(const BuscaCandidatos& busca, const SpecX& quem) {
    const float x = quem.x, y = quem.y, alcance = quem.visao;
    const int ox = trunca(x), oy = trunca(y), inteligencia = quem.inteligencia;
    Random espia = rng_;
    if (inteligencia > 0 && espia.randomInt(100) < inteligencia) {
        Candidato melhor{};
        if (!busca.melhor(x, y, alcance, ox, oy, melhor))
            return -1;
        rng_.randomInt(100);
        return melhor.pos;
    }
    busca.coletar(x, y, alcance, ox, oy, candidatos);
    if (candidatos.empty())
        return -1;
    if (inteligencia > 0)
        rng_.randomInt(100);
    return busca.enesimo(candidatos,
                         static_cast<size_t>(rng_.randomInt(static_cast<int>(candidatos.size()))));
}

int CKeldoDoc::comer() {
    int comidos = 0;
    alimentoComido.assign(alimentos_.size(), 0);
    std::vector<SpecX*>& candidatos = candidatosParceiro; // free outside the mating phases
    gradeIndividuos.construir(vivos_);
    for (size_t k = 0; k < alimentos_.size(); ++k) {
        const FoodX& f = alimentos_[k];
        candidatos.clear();
        for (uint32_t p :
             proximosQue(gradeIndividuos, vivos_.size(), f.x, f.y, 1.5f, [&](uint32_t k) {
                 const SpecX& i = vivos_[k];
                 return ativo(i) && i.visao != 0 && i.livre == f.regiao &&
                        i.distancia(f.x, f.y) <= 1.5f;
             }))
            candidatos.push_back(&vivos_[p]);
        if (candidatos.empty())
            continue;
        distribuirAlimento(candidatos, f);
        alimentoComido[k] = 1;
        ++comidos;
    }
    candidatos.clear();
    if (comidos > 0) {
        size_t destino = 0;
        for (size_t k = 0; k < alimentos_.size(); ++k)
            if (!alimentoComido[k])
                alimentos_[destino++] = alimentos_[k];
        alimentos_.resize(destino);
    }
    return comidos;
}

void CKeldoDoc::distribuirAlimento(const std::vector<SpecX*>& candidatos, const FoodX& alimento) {
    const int energiaAlimento = alimento.valorEnergetico;
    if (candidatos.size() == 1) {
        candidatos[0]->ganharEnergia(energiaAlimento);
        return;
    }
    naoPartilham.clear();
    for (SpecX* c : candidatos)
        if (c->compartilha == 0)
            naoPartilham.push_back(c);
    if (!naoPartilham.empty()) {
        SpecX* vencedor = naoPartilham[rng_.randomInt(static_cast<int>(naoPartilham.size()))];
        vencedor->ganharEnergia(energiaAlimento);
        vencedor->targetX = vencedor->targetY = -1;
        for (SpecX* c : naoPartilham)
            c->gastarEnergia(static_cast<int>(parametros_.partilha));
        naoPartilham.clear();
        return;
    }
    const int n = static_cast<int>(candidatos.size());
    for (SpecX* c : candidatos) {
        c->ganharEnergia(energiaAlimento / n);
        c->targetX = c->targetY = -1;
    }
    candidatos.back()->ganharEnergia(energiaAlimento % n);
}

void CKeldoDoc::reporAlimento(int comidos, int taxa) {
    const double produto = (taxa / 100.0) * comidos;
    const int n = produto >= 2147483647.0 ? 2147483647 : static_cast<int>(produto);
    for (int k = 0; k < n; ++k)
        alimentos_.emplace_back(0, this);
}

void CKeldoDoc::moverIndividuos() {
    size_t destino = 0;
    for (size_t k = 0; k < vivos_.size(); ++k) {
        SpecX& i = vivos_[k];
        if (i.adulto()) {
            i.mover();
            i.gastarEnergia(1);
            if (i.dirX != 0.0f || i.dirY != 0.0f)
                i.gastarEnergia(1);
            if (!i.vivo()) {
                i.loopMorto = tempo_;
                mortos_.adicionar(i);
                continue;
            }
        }
        if (destino != k)
            vivos_[destino] = std::move(vivos_[k]);
        ++destino;
    }
    vivos_.resize(destino);
}
