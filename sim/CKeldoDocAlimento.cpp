// Food search, feeding, food renewal and movement.
#include "sim/CKeldoDoc.h"
#include "sim/indices/RegrasVizinhanca.h"
#include <algorithm>

namespace keldo::sim {

namespace Regras = keldo::indices::Regras;

namespace {
int trunca(float v) {
    return static_cast<int>(v);
}
} // namespace

void CKeldoDoc::procurarAlimento() {
    busca->prepararAlimentos(alimentos_, mapaDaFase());
    for (SpecX& i : vivos_) {
        if (!Regras::procuraAlimento(i))
            continue;
        if (i.targetX != -1) {
            // The remembered target is matched by its coordinates alone.
            if (const FoodX* lembrado = busca->alimentoEm(alimentos_, i.targetX, i.targetY)) {
                i.apontarPara(lembrado->x, lembrado->y);
                continue;
            }
            i.targetX = i.targetY = -1;
        }
        const FoodX* escolhido = itemEm(alimentos_, busca->alimento(alimentos_, i, rng_));
        if (!escolhido)
            continue;
        i.apontarPara(escolhido->x, escolhido->y);
        i.targetX = static_cast<int16_t>(trunca(escolhido->x));
        i.targetY = static_cast<int16_t>(trunca(escolhido->y));
    }
}

int CKeldoDoc::comer() {
    int comidos = 0;
    alimentoComido.assign(alimentos_.size(), 0);
    std::vector<SpecX*>& candidatos = candidatosParceiro; // free outside the mating phases
    busca->prepararComensais(vivos_, alimentos_);
    for (size_t k = 0; k < alimentos_.size(); ++k) {
        const FoodX& f = alimentos_[k];
        candidatos.clear();
        for (uint32_t p : busca->comensaisPerto(vivos_, alimentos_, k))
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
        if (c->compartilha == 0) {
            naoPartilham.push_back(c);
            // They all pay below; the energy can lie on the record's other cache line.
            __builtin_prefetch(&c->energia, 1);
        }
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

int CKeldoDoc::itensRepostos(int comidos, int taxa) {
    const double produto = (taxa / 100.0) * comidos;
    return produto >= 2147483647.0 ? 2147483647 : static_cast<int>(produto);
}

void CKeldoDoc::reporAlimento(int comidos, int taxa) {
    const int n = itensRepostos(comidos, taxa);
    for (int k = 0; k < n; ++k)
        alimentos_.emplace_back(0, this);
}

// Every adult steps and pays for it; the dead leave for the dead store and
// the survivors close ranks. Nothing here resizes the list, so its start and
// size are read once, nor changes the obstacles, so their map is asked for
// once, and the loop is made for a world with the map or without it.
void CKeldoDoc::moverIndividuos() {
    struct ComMapa {
        CKeldoDoc& doc;
        const MapaObstaculos& mapa;
        Random& gerador() { return doc.gerador(); }
        bool pontoEmObstaculo(int x, int y) const { return mapa.ocupado(x, y); }
    };
    struct SemMapa { // the reference path, and worlds without obstacles
        CKeldoDoc& doc;
        Random& gerador() { return doc.gerador(); }
        bool pontoEmObstaculo(int x, int y) const { return doc.pontoEmObstaculo(x, y) != nullptr; }
    };
    if (const MapaObstaculos* mapa = mapaDaFase()) {
        ComMapa mundo{*this, *mapa};
        moverCom(mundo);
    } else {
        SemMapa mundo{*this};
        moverCom(mundo);
    }
}

template <class Mundo> void CKeldoDoc::moverCom(Mundo& mundo) {
    SpecX* const inicio = vivos_.data();
    SpecX* const fim = inicio + vivos_.size();
    SpecX* destino = inicio;
    for (SpecX* i = inicio; i != fim; ++i) {
        if (i->adulto()) {
            i->passo(mundo);
            i->gastarPasso(SpecX::algumNaoNulo(i->dirX, i->dirY));
            if (!i->vivo()) {
                i->loopMorto = tempo_;
                mortos_.adicionar(*i);
                continue;
            }
        }
        if (destino != i)
            *destino = *i;
        ++destino;
    }
    vivos_.resize(static_cast<size_t>(destino - inicio));
}

} // namespace keldo::sim
