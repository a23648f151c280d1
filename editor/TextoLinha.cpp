#include "editor/TextoLinha.h"
#include <cstdio>

namespace keldo::editor {

using namespace keldo::model;

namespace TextoLinha {

namespace {

using Genoma::Gene;

// The form's fields of each autosomal gene, left (genotipoP) and right (genotipoM).
constexpr int ValoresForm::*camposGene[Genoma::numAutossomicos][2] = {
    {&ValoresForm::visaoMaterna, &ValoresForm::visaoPaterna},
    {&ValoresForm::reproducaoMaterna, &ValoresForm::reproducaoPaterna},
    {&ValoresForm::partilhaMaterna, &ValoresForm::partilhaPaterna},
    {&ValoresForm::lutaMaterna, &ValoresForm::lutaPaterna},
    {&ValoresForm::morteMaterna, &ValoresForm::mortePaterna},
    {&ValoresForm::inteligenciaMaterna, &ValoresForm::inteligenciaPaterna},
    {&ValoresForm::neutroMaterna, &ValoresForm::neutroPaterna},
};

// A form value is a button position; its letter is the genome's at that position.
char letraForm(Gene g, int posicao) {
    return Genoma::letraNaPosicao(g, posicao)[0];
}

// Whether a written sex-chromosome allele is the capital one.
bool maiuscula(Gene g, char c) {
    return Genoma::codigoDoCaractere(g, c) != 0;
}

struct Campos {
    int id = 0;
    unsigned geracao = 0;
    char vida, sexo, estagio, detecta, segundo;
    // Per autosomal gene and side: the letter of a one-bit gene, the digit of a two-bit one.
    char genes[Genoma::numAutossomicos][2];
};

bool analisar(const std::string& texto, Campos& c) {
    const int n = std::sscanf(
        texto.c_str(),
        "%d\t%u\t%c\t%c\t%c\t%c\t%c\tV%c\tV%c\t%c\t%c\t%c\t%c\t%c\t%c\t%c\t%c\tI%c\tI%c\t%c\t%c",
        &c.id, &c.geracao, &c.vida, &c.sexo, &c.estagio, &c.detecta, &c.segundo, &c.genes[0][0],
        &c.genes[0][1], &c.genes[1][0], &c.genes[1][1], &c.genes[2][0], &c.genes[2][1],
        &c.genes[3][0], &c.genes[3][1], &c.genes[4][0], &c.genes[4][1], &c.genes[5][0],
        &c.genes[5][1], &c.genes[6][0], &c.genes[6][1]);
    return n == 21;
}

// One gene group of one word: lado 0 = left word (genotipoP), 1 = right (genotipoM).
// Bits 9..15 carry no gene: an allele with every bit set keeps them, one that
// writes a cleared bit clears them too, so an edited word keeps no stray bits.
void aplicarGene(SpecX& s, const Campos& c, int gene, int lado) {
    uint16_t& w = lado == 0 ? s.genotipoP : s.genotipoM;
    const auto g = static_cast<Gene>(gene);
    const int codigo = Genoma::codigoDoCaractere(g, c.genes[gene][lado]);
    w = Genoma::comAlelo(g, w, codigo);
    if (codigo != Genoma::numAlelos(g) - 1)
        w = Genoma::soOsGenes(w);
}

void aplicarGenes(SpecX& s, const Campos& c, int codigo) {
    if (codigo == tudo) {
        for (int gene = 0; gene < Genoma::numAutossomicos; ++gene) {
            aplicarGene(s, c, gene, 0);
            aplicarGene(s, c, gene, 1);
        }
    } else if (codigo >= 6 && codigo <= 12) {
        aplicarGene(s, c, codigo - 6, 0);
    } else if (codigo >= 15 && codigo <= 21) {
        aplicarGene(s, c, codigo - 15, 1);
    }
}

// The steps on the status byte. "Morto"/"Vivo" also restores the energy, so
// that a revived individual does not die again at once.
void aplicarEstado(SpecX& s, const Campos& c, int codigo) {
    if (codigo == tudo || codigo == 2) {
        s.definirBit(EstadoBit::vivo, c.vida == 'V');
        if (codigo == 2) {
            s.energia = 100;
            return;
        }
    }
    if (codigo == tudo || codigo == 3)
        s.definirBit(EstadoBit::sexo, c.sexo == 'M');
    if (codigo == tudo || codigo == 4)
        s.definirBit(EstadoBit::adulto, c.estagio == 'A');
    if (codigo == tudo) {
        s.definirBit(EstadoBit::detecX, maiuscula(Genoma::Detecta, c.detecta));
        s.definirBit(EstadoBit::detecXCuidaY,
                     maiuscula(c.sexo == 'M' ? Genoma::Cuida : Genoma::Detecta, c.segundo));
        return;
    }
    if (codigo == 5)
        s.definirBit(EstadoBit::detecX, maiuscula(Genoma::Detecta, c.detecta));
    if (c.sexo == 'M' && (codigo == 14 || codigo == 3)) {
        s.definirBit(EstadoBit::sexo, true);
        s.definirBit(EstadoBit::detecXCuidaY, maiuscula(Genoma::Cuida, c.segundo));
    } else if (c.sexo != 'M' && (codigo == 13 || codigo == 3)) {
        s.definirBit(EstadoBit::sexo, false);
        s.definirBit(EstadoBit::detecXCuidaY, maiuscula(Genoma::Detecta, c.segundo));
    }
}

} // namespace

int ValoresForm::*campoDoGene(Gene gene, int lado) {
    return camposGene[gene][lado];
}

ValoresForm valoresDoIndividuo(const SpecX& s, const ValoresForm& base) {
    ValoresForm v = base;
    v.idForm = static_cast<uint32_t>(s.id);
    v.geracaoForm = s.geracao;
    v.vivoMorto = s.vivo() ? 0 : 1;
    v.machoFemea = s.sexo() ? 0 : 1;
    v.adultoOvo = s.adulto() ? 0 : 1;
    v.detectaMaterna = Genoma::posicaoDoCodigo(Genoma::Detecta, s.detecXBit());
    v.cuidaPaterna = v.detectaPaterna = Genoma::posicaoDoCodigo(Genoma::Cuida, s.detecXCuidaYBit());
    for (int i = 0; i < Genoma::numAutossomicos; ++i) {
        const auto g = static_cast<Gene>(i);
        v.*campoDoGene(g, 0) = Genoma::posicaoDoCodigo(g, Genoma::alelo(g, s.genotipoP));
        v.*campoDoGene(g, 1) = Genoma::posicaoDoCodigo(g, Genoma::alelo(g, s.genotipoM));
    }
    return v;
}

std::string textoForm(const ValoresForm& v) {
    const bool macho = v.machoFemea == 0;
    const char segundo = macho ? letraForm(Genoma::Cuida, v.cuidaPaterna)
                               : letraForm(Genoma::Detecta, v.detectaPaterna);
    char buf[128];
    int n =
        std::snprintf(buf, sizeof buf, "%u\t%c\t%c\t%c\t%c\t%c", v.geracaoForm,
                      v.vivoMorto == 0 ? 'V' : 'M', macho ? 'M' : 'F', v.adultoOvo == 0 ? 'A' : 'O',
                      letraForm(Genoma::Detecta, v.detectaMaterna), segundo);
    for (int i = 0; i < Genoma::numAutossomicos; ++i) {
        const auto g = static_cast<Gene>(i);
        n += std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), "\t%s\t%s",
                           Genoma::letraNaPosicao(g, v.*campoDoGene(g, 0)),
                           Genoma::letraNaPosicao(g, v.*campoDoGene(g, 1)));
    }
    return buf;
}

std::string textoLinha(int32_t id, const std::string& form) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%05ld\t", static_cast<long>(id));
    return buf + form;
}

std::string textoDoIndividuo(const SpecX& s) {
    return textoLinha(s.id, textoForm(valoresDoIndividuo(s, ValoresForm{})));
}

bool aplicarTextoLinha(SpecX& s, const std::string& texto, int codigo) {
    Campos c;
    if (!analisar(texto, c))
        return false;
    if (codigo == tudo)
        s.geracao = c.geracao;
    aplicarEstado(s, c, codigo);
    aplicarGenes(s, c, codigo);
    s.calcularFenotipo();
    return true;
}

int codigoDoControle(int id) {
    struct Faixa {
        int de, ate, codigo;
    };
    static const Faixa tabela[] = {
        {1034, 1034, 2},  {1069, 1069, 2},  {1030, 1031, 3},  {1032, 1033, 4},  {1035, 1036, 5},
        {1041, 1042, 6},  {1045, 1046, 6},  {1043, 1044, 7},  {1053, 1054, 8},  {1057, 1058, 9},
        {1061, 1062, 10}, {1065, 1068, 11}, {1077, 1078, 12}, {1037, 1038, 13}, {1039, 1040, 14},
        {1047, 1050, 15}, {1051, 1052, 16}, {1055, 1056, 17}, {1059, 1060, 18}, {1063, 1064, 19},
        {1073, 1076, 20}, {1081, 1082, 21},
    };
    for (const Faixa& f : tabela)
        if (id >= f.de && id <= f.ate)
            return f.codigo;
    return 0;
}

} // namespace TextoLinha

} // namespace keldo::editor
