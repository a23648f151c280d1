#include "IndividuoTeste.h"
#include "editor/CIndividuosModel.h"
#include "editor/TextoLinha.h"
#include <gtest/gtest.h>

using namespace keldo::editor;
using namespace keldo::model;

namespace {

SpecX exemplo() {
    // P: V3 R p L m I2 N; M: V2 r P l M I4 n; bits above the genes set in M.
    return IndividuoTeste(7)
        .geracao(12)
        .estado(EstadoBit::sexo | EstadoBit::detecX | EstadoBit::adulto | EstadoBit::vivo)
        .genotipo(0x100 | 0x40 | 0x10 | 0x02 | 0x01, 0xFE00 | 0x080 | 0x20 | 0x08 | 0x06)
        .energia(73)
        .pronto();
}

std::string coluna(const SpecX& s, int c) {
    return CIndividuosModel::textoCelula(s, c);
}

} // namespace

TEST(TextoLinha, TextoDaLinhaETextosDasCelulasSoletramOGenotipo) {
    SpecX s = exemplo();
    EXPECT_EQ(TextoLinha::textoDoIndividuo(s),
              "00007\t12\tV\tM\tA\tD\tc\tV3\tV2\tR\tr\tp\tP\tL\tl\tm\tM\tI2\tI4\tN\tn");
    const char* esperadas[] = {"7",    "12", "V",  "M",  "A",  "D",    "c",
                               "V3V2", "Rr", "pP", "Ll", "mM", "I2I4", "Nn"};
    for (int c = 0; c < CIndividuosModel::numColunas; ++c)
        EXPECT_EQ(coluna(s, c), esperadas[c]) << "column " << c;

    // A female shows her second X (Detecta) in field 7 and in "Cui./Det.".
    s.estado = EstadoBit::detecXCuidaY | EstadoBit::vivo; // female, egg, dead-free
    EXPECT_EQ(coluna(s, 3), "F");
    EXPECT_EQ(coluna(s, 4), "O");
    EXPECT_EQ(coluna(s, 5), "d");
    EXPECT_EQ(coluna(s, 6), "D");
    EXPECT_EQ(TextoLinha::textoDoIndividuo(s).substr(0, 18), "00007\t12\tV\tF\tO\td\tD");
}

TEST(TextoLinha, TitulosDasColunasSeguemAChaveDeIdioma) {
    EXPECT_EQ(CIndividuosModel::tituloColuna(2, true), "Vida");
    EXPECT_EQ(CIndividuosModel::tituloColuna(2, false), "Life");
    EXPECT_EQ(CIndividuosModel::tituloColuna(6, true), "Cui./Det.");
    EXPECT_EQ(CIndividuosModel::tituloColuna(6, false), "Care/Det");
    EXPECT_EQ(CIndividuosModel::tituloColuna(9, false), "Partit");
    EXPECT_EQ(CIndividuosModel::tituloColuna(12, false), "Intel.");
    int soma = 0;
    for (int c = 0; c < CIndividuosModel::numColunas; ++c)
        soma += CIndividuosModel::larguraColuna(c);
    EXPECT_EQ(soma, 592);
}

TEST(TextoLinha, CadaCodigoDeGrupoMudaSoOsSeusBits) {
    const SpecX original = exemplo();
    // The form: every allele the opposite of the example's, sex female.
    ValoresForm v = TextoLinha::valoresDoIndividuo(original, {});
    for (int ValoresForm::*campo :
         {&ValoresForm::reproducaoMaterna, &ValoresForm::reproducaoPaterna,
          &ValoresForm::partilhaMaterna, &ValoresForm::partilhaPaterna, &ValoresForm::lutaMaterna,
          &ValoresForm::lutaPaterna, &ValoresForm::morteMaterna, &ValoresForm::mortePaterna,
          &ValoresForm::neutroMaterna, &ValoresForm::neutroPaterna})
        v.*campo = 1 - v.*campo;
    for (int ValoresForm::*campo :
         {&ValoresForm::visaoMaterna, &ValoresForm::visaoPaterna, &ValoresForm::inteligenciaMaterna,
          &ValoresForm::inteligenciaPaterna})
        v.*campo = 3 - v.*campo;
    const std::string texto = TextoLinha::textoLinha(999, TextoLinha::textoForm(v));

    // Bits of each group, left word for codes 6..12, right word for 15..21.
    const uint16_t mascaras[] = {0x180, 0x40, 0x20, 0x10, 0x08, 0x06, 0x01};
    for (int g = 0; g < 7; ++g) {
        for (int lado = 0; lado < 2; ++lado) {
            SpecX s = original;
            ASSERT_TRUE(TextoLinha::aplicarTextoLinha(s, texto, (lado ? 15 : 6) + g));
            const uint16_t antes = lado ? original.genotipoM : original.genotipoP;
            const uint16_t depois = lado ? s.genotipoM : s.genotipoP;
            // A group that clears one of its bits also clears bits 9..15.
            const bool limpou = (antes & mascaras[g] & ~depois) != 0;
            const uint16_t altos = limpou ? (antes & 0xFE00) : 0;
            EXPECT_EQ(antes ^ depois, mascaras[g] | altos) << "group " << g << " side " << lado;
            EXPECT_EQ(lado ? s.genotipoP : s.genotipoM,
                      lado ? original.genotipoP : original.genotipoM);
            EXPECT_EQ(s.estado, original.estado);
            EXPECT_EQ(s.id, 7);
        }
    }
}

TEST(TextoLinha, CodigosDeEstadoSeguemAsRegras) {
    const SpecX original = exemplo(); // male, Cuida c, alive
    ValoresForm v = TextoLinha::valoresDoIndividuo(original, {});
    v.vivoMorto = 1;
    const std::string morto = TextoLinha::textoLinha(7, TextoLinha::textoForm(v));
    SpecX s = original;
    s.loopMorto = 33;
    TextoLinha::aplicarTextoLinha(s, morto, 2);
    EXPECT_FALSE(s.vivo());
    EXPECT_EQ(s.energia, 100);
    EXPECT_EQ(s.loopMorto, 33);
    EXPECT_EQ(s.estado & ~EstadoBit::vivo, original.estado & ~EstadoBit::vivo);

    // Female with D on the second X: "Fêmea" (3) and the right D/d (13).
    v = TextoLinha::valoresDoIndividuo(original, {});
    v.machoFemea = 1;
    v.detectaPaterna = 0;
    const std::string femea = TextoLinha::textoLinha(7, TextoLinha::textoForm(v));
    s = original;
    TextoLinha::aplicarTextoLinha(s, femea, 3);
    EXPECT_EQ(s.sexo(), 0);
    EXPECT_EQ(s.detecXCuidaYBit(), 1);
    s = original;
    TextoLinha::aplicarTextoLinha(s, femea, 14); // the Y group does nothing for a female form
    EXPECT_EQ(s.estado, original.estado);

    // "C" on a selected female makes her a male with C.
    v = TextoLinha::valoresDoIndividuo(original, {});
    v.cuidaPaterna = 0;
    SpecX f = original;
    f.definirBit(EstadoBit::sexo, false);
    TextoLinha::aplicarTextoLinha(f, TextoLinha::textoLinha(7, TextoLinha::textoForm(v)), 14);
    EXPECT_EQ(f.sexo(), 1);
    EXPECT_EQ(f.detecXCuidaYBit(), 1);
}

TEST(TextoLinha, CodigoDaLinhaInteiraLevaTudoMenosLugarEGenealogia) {
    SpecX alvo = exemplo();
    alvo.x = 31;
    alvo.y = 44;
    alvo.idPai = 3;
    alvo.loopNasc = 17;
    SpecX fonte;
    fonte.geracao = 5;
    fonte.estado = EstadoBit::detecXCuidaY | EstadoBit::adulto; // dead adult female, d D
    fonte.genotipoP = 0x0AA;
    fonte.genotipoM = 0x155;
    const std::string texto = TextoLinha::textoDoIndividuo(fonte);
    ASSERT_TRUE(TextoLinha::aplicarTextoLinha(alvo, texto, TextoLinha::tudo));
    EXPECT_EQ(alvo.geracao, 5u);
    EXPECT_EQ(alvo.estado, fonte.estado);
    EXPECT_EQ(alvo.genotipoP, 0x0AA);
    EXPECT_EQ(alvo.genotipoM, 0x155); // a cleared bit takes bits 9..15 with it
    EXPECT_EQ(alvo.x, 31);
    EXPECT_EQ(alvo.idPai, 3);
    EXPECT_EQ(alvo.loopNasc, 17);
    EXPECT_EQ(alvo.energia, 73);
    EXPECT_FALSE(TextoLinha::aplicarTextoLinha(alvo, "00001\tlixo", TextoLinha::tudo));
}

TEST(TextoLinha, LimparUmBitZeraOsBits9a15EAcenderOuMudarOEstadoOsMantem) {
    SpecX s = exemplo();
    s.genotipoP = 0xFE3F; // P set, bits 9..15 set
    s.genotipoM = 0xFE00;
    ValoresForm v = TextoLinha::valoresDoIndividuo(s, {});
    auto aplicar = [&](int codigo) {
        ASSERT_TRUE(TextoLinha::aplicarTextoLinha(
            s, TextoLinha::textoLinha(s.id, TextoLinha::textoForm(v)), codigo));
    };

    // State codes never touch the words.
    v.vivoMorto = 1;
    aplicar(2);
    v.machoFemea = 1;
    aplicar(3);
    v.adultoOvo = 1;
    aplicar(4);
    v.detectaMaterna = 1;
    aplicar(5);
    EXPECT_EQ(s.genotipoP, 0xFE3F);
    EXPECT_EQ(s.genotipoM, 0xFE00);

    // Setting bits keeps them: V4 and N on the right word.
    v.visaoPaterna = 3;
    aplicar(15);
    v.neutroPaterna = 0;
    aplicar(21);
    EXPECT_EQ(s.genotipoM, 0xFE00 | 0x180 | 0x01);

    // "p" clears bit 5 and with it bits 9..15; the other word keeps its own.
    v.partilhaMaterna = 1;
    aplicar(8);
    EXPECT_EQ(s.genotipoP, 0x001F);
    EXPECT_EQ(s.genotipoM, 0xFF81);

    // Writing a clear bit that was already clear clears them as well.
    s.genotipoM = 0xFE00;
    v = TextoLinha::valoresDoIndividuo(s, {});
    aplicar(16); // "r", already r
    EXPECT_EQ(s.genotipoM, 0x0000);
}

TEST(TextoLinha, IdsDeControleCorrespondemACodigosDeMudanca) {
    const std::pair<int, int> casos[] = {
        {1034, 2},  {1069, 2},  {1030, 3},  {1031, 3},  {1033, 4},  {1032, 4},  {1035, 5},
        {1041, 6},  {1042, 6},  {1045, 6},  {1046, 6},  {1043, 7},  {1054, 8},  {1058, 9},
        {1061, 10}, {1068, 11}, {1077, 12}, {1038, 13}, {1039, 14}, {1050, 15}, {1052, 16},
        {1055, 17}, {1060, 18}, {1063, 19}, {1073, 20}, {1082, 21}, {1019, 0},  {1070, 0},
    };
    for (auto [controle, codigo] : casos)
        EXPECT_EQ(TextoLinha::codigoDoControle(controle), codigo) << controle;
}
