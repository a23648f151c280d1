#pragma once
// The one builder of test individuals: a default SpecX with the fields a
// test names, then either kept bare, expressed for a document (its
// phenotype computed) or attached to it.
#include "model/Ambiente.h"
#include "model/Individuo.h"
#include <cstdint>

using keldo::model::Ambiente;
using keldo::model::SpecX;

class IndividuoTeste {
  public:
    explicit IndividuoTeste(int32_t id = 0) { s.id = id; }

    IndividuoTeste& em(float x, float y) {
        s.x = x;
        s.y = y;
        return *this;
    }
    IndividuoTeste& estado(unsigned bits) {
        s.estado = static_cast<uint8_t>(bits);
        return *this;
    }
    IndividuoTeste& genotipo(uint16_t paterno, uint16_t materno) {
        s.genotipoP = paterno;
        s.genotipoM = materno;
        return *this;
    }
    IndividuoTeste& genotipo(uint16_t ambos) { return genotipo(ambos, ambos); }
    IndividuoTeste& energia(int32_t e) {
        s.energia = e;
        return *this;
    }
    // The heading and the saved one, as a fresh individual has them.
    IndividuoTeste& direcao(float dx, float dy) {
        s.dirX = s.savedDirX = dx;
        s.dirY = s.savedDirY = dy;
        return *this;
    }
    IndividuoTeste& pais(int32_t pai, int32_t mae) {
        s.idPai = pai;
        s.idMae = mae;
        return *this;
    }
    IndividuoTeste& geracao(uint32_t g) {
        s.geracao = g;
        return *this;
    }
    // Any other field, for the tests that pin every byte.
    SpecX* operator->() { return &s; }

    SpecX pronto() const { return s; }
    SpecX expresso(Ambiente& doc) const {
        SpecX e = s;
        e.doc = &doc;
        e.calcularFenotipo();
        return e;
    }
    SpecX anexado(Ambiente& doc) const {
        SpecX e = s;
        e.anexar(&doc);
        return e;
    }

  private:
    SpecX s;
};
