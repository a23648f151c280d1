#pragma once
#include "model/Individuo.h"
#include <cstdint>
#include <string>

namespace keldo::editor {

using keldo::model::SpecX;
namespace Genoma = keldo::model::Genoma;

// The form's values. A radio value is the position of the chosen button in its
// group: 0 is the first button (capital letter, Vivo, Macho, Adulto, V1, I1).
struct ValoresForm {
    uint32_t idForm = 0;
    uint32_t geracaoForm = 0;
    int vivoMorto = 0;
    int machoFemea = 0;
    int adultoOvo = 0;
    int detectaMaterna = 0;
    int detectaPaterna = 0;
    int cuidaPaterna = 0;
    int visaoMaterna = 0;
    int visaoPaterna = 0;
    int reproducaoMaterna = 0;
    int reproducaoPaterna = 0;
    int partilhaMaterna = 0;
    int partilhaPaterna = 0;
    int lutaMaterna = 0;
    int lutaPaterna = 0;
    int morteMaterna = 0;
    int mortePaterna = 0;
    int inteligenciaMaterna = 0;
    int inteligenciaPaterna = 0;
    int neutroMaterna = 0;
    int neutroPaterna = 0;
    uint32_t qtde = 1;
};

// The row text: the form and the individuals meet through one tab-separated
// line of 21 fields (id, generation, life, sex, stage, the two sex-chromosome
// alleles, then the seven genes left and right).
namespace TextoLinha {

// The form field of an autosomal gene on one side (0 = left, genotipoP; 1 = right, genotipoM).
int ValoresForm::*campoDoGene(Genoma::Gene gene, int lado);

// Change code of the whole row (a clone takes everything from the form).
constexpr int tudo = -1;

// The form showing one individual (qtde kept from `base`).
ValoresForm valoresDoIndividuo(const SpecX& individuo, const ValoresForm& base);

// Fields 2..21 from the form values.
std::string textoForm(const ValoresForm& valores);
// The id in front of a form text: "%05ld\t%s".
std::string textoLinha(int32_t id, const std::string& textoForm);
// The row text of an individual as it is.
std::string textoDoIndividuo(const SpecX& individuo);

// Applies the row text to an individual for one change code (-1: everything),
// then expresses the phenotype again. False when the text cannot be parsed.
bool aplicarTextoLinha(SpecX& individuo, const std::string& texto, int codigo);

// Change code sent by a form control, 0 for none.
int codigoDoControle(int idControle);

} // namespace TextoLinha

} // namespace keldo::editor
