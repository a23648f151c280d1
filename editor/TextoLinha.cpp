#include "editor/TextoLinha.h"
#include <cstdio>

namespace TextoLinha {

namespace {

int bitsVisao(uint16_t w) {
    return (w >> 7) & 3;
}
int bitsInteligencia(uint16_t w) {
    return (w >> 1) & 3;
}
int valorLetra(uint16_t w, int bit) {
    return (w >> bit) & 1 ? 0 : 1;
}

char letra(int valor, char maiuscula) {
    return valor == 0 ? maiuscula : static_cast<char>(maiuscula - 'A' + 'a');
}
char digito(int valor) {
    return static_cast<char>('1' + (valor & 3));
}

// Only the group's own bits change; the bits above the genes (9..15) are kept.
void gravarBit(uint16_t& palavra, int bit, bool ligado) {
    if (ligado)
        palavra = static_cast<uint16_t>(palavra | (1u << bit));
    else
        palavra = static_cast<uint16_t>(palavra & ~(1u << bit));
}

void gravarDigito(uint16_t& palavra, int bitAlto, char d) {
    gravarBit(palavra, bitAlto, d == '3' || d == '4');
    gravarBit(palavra, bitAlto - 1, d == '2' || d == '4');
}

struct Campos {
    int id = 0;
    unsigned geracao = 0;
    char vida, sexo, estagio, detecta, segundo;
    char visao[2], repro[2], partilha[2], luta[2], morte[2], intel[2], neutro[2];
};

bool analisar(const std::string& texto, Campos& c) {
    const int n = std::sscanf(
        texto.c_str(),
        "%d\t%u\t%c\t%c\t%c\t%c\t%c\tV%c\tV%c\t%c\t%c\t%c\t%c\t%c\t%c\t%c\t%c\tI%c\tI%c\t%c\t%c",
        &c.id, &c.geracao, &c.vida, &c.sexo, &c.estagio, &c.detecta, &c.segundo, &c.visao[0],
        &c.visao[1], &c.repro[0], &c.repro[1], &c.partilha[0], &c.partilha[1], &c.luta[0],
        &c.luta[1], &c.morte[0], &c.morte[1], &c.intel[0], &c.intel[1], &c.neutro[0], &c.neutro[1]);
    return n == 21;
}

// One gene group of one word: lado 0 = left word (genotipoP), 1 = right (genotipoM).
void aplicarGene(SpecX& s, const Campos& c, int gene, int lado) {
    uint16_t& w = lado == 0 ? s.genotipoP : s.genotipoM;
    switch (gene) {
    case 0:
        gravarDigito(w, 8, c.visao[lado]);
        break;
    case 1:
        gravarBit(w, 6, c.repro[lado] == 'R');
        break;
    case 2:
        gravarBit(w, 5, c.partilha[lado] == 'P');
        break;
    case 3:
        gravarBit(w, 4, c.luta[lado] == 'L');
        break;
    case 4:
        gravarBit(w, 3, c.morte[lado] == 'M');
        break;
    case 5:
        gravarDigito(w, 2, c.intel[lado]);
        break;
    case 6:
        gravarBit(w, 0, c.neutro[lado] == 'N');
        break;
    }
}

void aplicarGenes(SpecX& s, const Campos& c, int codigo) {
    if (codigo == tudo) {
        for (int gene = 0; gene < 7; ++gene) {
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
        s.definirBit(EstadoBit::detecX, c.detecta == 'D');
        s.definirBit(EstadoBit::detecXCuidaY, c.sexo == 'M' ? c.segundo == 'C' : c.segundo == 'D');
        return;
    }
    if (codigo == 5)
        s.definirBit(EstadoBit::detecX, c.detecta == 'D');
    if (c.sexo == 'M' && (codigo == 14 || codigo == 3)) {
        s.definirBit(EstadoBit::sexo, true);
        s.definirBit(EstadoBit::detecXCuidaY, c.segundo == 'C');
    } else if (c.sexo != 'M' && (codigo == 13 || codigo == 3)) {
        s.definirBit(EstadoBit::sexo, false);
        s.definirBit(EstadoBit::detecXCuidaY, c.segundo == 'D');
    }
}

} // namespace

ValoresForm valoresDoIndividuo(const SpecX& s, const ValoresForm& base) {
    ValoresForm v = base;
    v.idForm = static_cast<uint32_t>(s.id);
    v.geracaoForm = s.geracao;
    v.vivoMorto = s.vivo() ? 0 : 1;
    v.machoFemea = s.sexo() ? 0 : 1;
    v.adultoOvo = s.adulto() ? 0 : 1;
    v.detectaMaterna = s.detecXBit() ? 0 : 1;
    v.cuidaPaterna = v.detectaPaterna = s.detecXCuidaYBit() ? 0 : 1;
    v.visaoMaterna = bitsVisao(s.genotipoP);
    v.visaoPaterna = bitsVisao(s.genotipoM);
    v.reproducaoMaterna = valorLetra(s.genotipoP, 6);
    v.reproducaoPaterna = valorLetra(s.genotipoM, 6);
    v.partilhaMaterna = valorLetra(s.genotipoP, 5);
    v.partilhaPaterna = valorLetra(s.genotipoM, 5);
    v.lutaMaterna = valorLetra(s.genotipoP, 4);
    v.lutaPaterna = valorLetra(s.genotipoM, 4);
    v.morteMaterna = valorLetra(s.genotipoP, 3);
    v.mortePaterna = valorLetra(s.genotipoM, 3);
    v.inteligenciaMaterna = bitsInteligencia(s.genotipoP);
    v.inteligenciaPaterna = bitsInteligencia(s.genotipoM);
    v.neutroMaterna = valorLetra(s.genotipoP, 0);
    v.neutroPaterna = valorLetra(s.genotipoM, 0);
    return v;
}

std::string textoForm(const ValoresForm& v) {
    const bool macho = v.machoFemea == 0;
    const char segundo = macho ? letra(v.cuidaPaterna, 'C') : letra(v.detectaPaterna, 'D');
    char buf[128];
    std::snprintf(
        buf, sizeof buf,
        "%u\t%c\t%c\t%c\t%c\t%c\tV%c\tV%c\t%c\t%c\t%c\t%c\t%c\t%c\t%c\t%c\tI%c\tI%c\t%c\t%c",
        v.geracaoForm, v.vivoMorto == 0 ? 'V' : 'M', macho ? 'M' : 'F',
        v.adultoOvo == 0 ? 'A' : 'O', letra(v.detectaMaterna, 'D'), segundo, digito(v.visaoMaterna),
        digito(v.visaoPaterna), letra(v.reproducaoMaterna, 'R'), letra(v.reproducaoPaterna, 'R'),
        letra(v.partilhaMaterna, 'P'), letra(v.partilhaPaterna, 'P'), letra(v.lutaMaterna, 'L'),
        letra(v.lutaPaterna, 'L'), letra(v.morteMaterna, 'M'), letra(v.mortePaterna, 'M'),
        digito(v.inteligenciaMaterna), digito(v.inteligenciaPaterna), letra(v.neutroMaterna, 'N'),
        letra(v.neutroPaterna, 'N'));
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
    s.livre = static_cast<uint8_t>(s.estado >> 6);
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
