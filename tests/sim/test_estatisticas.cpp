// Per-cycle figures of a world: allele counts, the summary line and the
// bounded history.
#include "AcessoDocumento.h"
#include "IndividuoTeste.h"
#include "sim/CKeldoDoc.h"
#include <charconv>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace keldo::sim;
using namespace keldo::model;

namespace {

SpecX individuo(uint16_t p, uint16_t m, uint8_t estado) {
    return IndividuoTeste().genotipo(p, m).estado(estado).pronto();
}

// Three living individuals (a male, a female egg, an adult female), one dead
// individual still in `vivos` and one in `mortos`.
void populacaoAMao(CKeldoDoc& doc) {
    using namespace EstadoBit;
    // V4 R p L m I3 N, with a stray bit 9; and V1 r P l M I2 n. Male, X D, Y C.
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(0x3D5, 0x02A, sexo | detecX | detecXCuidaY | adulto | vivo));
    // V2 R P l M I4 n and V2 r p L m I1 N. Female egg, X d and D.
    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(0x0EE, 0x091, detecXCuidaY | vivo));
    // V3 r p l m I1 n twice. Adult female, D and D.
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(0x100, 0x100, detecX | detecXCuidaY | adulto | vivo));
    // Dead: not counted whatever it carries.
    AcessoDocumento::vivosEditaveis(doc).push_back(
        individuo(0x1FF, 0x1FF, sexo | detecX | detecXCuidaY | adulto));
    AcessoDocumento::mortosEditaveis(doc).push_back(individuo(0x1FF, 0x1FF, sexo | adulto));
    AcessoDocumento::alimentosEditaveis(doc).resize(2);
    AcessoDocumento::definirTempo(doc, 7);
    AcessoDocumento::definirGeracao(doc, 3);
}

void mundoVazio(CKeldoDoc& doc) {
    doc.definirSementeFixa(3);
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 0;
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 0;
    ASSERT_TRUE(doc.criarMundo());
}

void mundoPequeno(CKeldoDoc& doc) {
    doc.definirSementeFixa(11);
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 30;
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 30;
    ASSERT_TRUE(doc.criarMundo());
}

void esperarIgual(const AmostraPopulacao& a, const AmostraPopulacao& b) {
    EXPECT_EQ(a.tempo, b.tempo);
    EXPECT_EQ(a.adultos, b.adultos);
    EXPECT_EQ(a.ovos, b.ovos);
    EXPECT_EQ(a.mortos, b.mortos);
    EXPECT_EQ(a.geracao, b.geracao);
    EXPECT_EQ(a.alimentos, b.alimentos);
    EXPECT_EQ(a.contagem, b.contagem);
    EXPECT_EQ(a.cromossomosX, b.cromossomosX);
    EXPECT_EQ(a.cromossomosY, b.cromossomosY);
    EXPECT_EQ(a.heterozigotos, b.heterozigotos);
    EXPECT_EQ(a.homozigotosMaiusculos, b.homozigotosMaiusculos);
}

std::string linha(const AmostraPopulacao& a) {
    std::string s;
    EstatisticasPopulacao::anexarLinhaCsv(s, a);
    return s;
}

} // namespace

TEST(Estatisticas, FrequenciasDeUmaPopulacaoFeitaAMao) {
    CKeldoDoc doc;
    populacaoAMao(doc);
    const AmostraPopulacao a = EstatisticasPopulacao::medir(doc);
    EXPECT_EQ(a.adultos, 2);
    EXPECT_EQ(a.ovos, 1);
    EXPECT_EQ(a.mortos, 1);
    using namespace AleloResumo;
    const std::array<uint32_t, total> esperadas = {1, 2, 2, 1, 2, 2, 2, 2, 3, 1, 1, 1, 2, 4, 1};
    EXPECT_EQ(a.contagem, esperadas);
    // The male has one X and the Y, each female two X.
    EXPECT_EQ(a.cromossomosX, 5u);
    EXPECT_EQ(a.cromossomosY, 1u);
    EXPECT_EQ(a.base(V1), 6u);
    EXPECT_EQ(a.base(D), 5u);
    EXPECT_EQ(a.base(C), 1u);
    EXPECT_DOUBLE_EQ(a.frequencia(D), 0.8);

    EXPECT_EQ(std::string(EstatisticasPopulacao::cabecalhoCsv()),
              "tempo;adultos;ovos;mortos;geracao;alimentos;"
              "V1;V2;V3;V4;R;P;L;M;I1;I2;I3;I4;N;D;C;"
              "HoV;HeV;HoR;HeR;RR;rr;HoP;HeP;PP;pp;HoL;HeL;LL;ll;HoM;HeM;MM;mm;HoI;HeI;"
              "HoN;HeN;NN;nn");
    // The male is heterozygous everywhere, the egg everywhere but Visão (V2 V2),
    // the adult female nowhere (all small letters, V3 and I1).
    const std::string heterozigose = "0.3333;0.7222;"
                                     "0.6667;0.4444;0.0000;0.3333;0.6667;0.4444;0.0000;0.3333;"
                                     "0.6667;0.4444;0.0000;0.3333;0.6667;0.4444;0.0000;0.3333;"
                                     "0.6667;0.6667;0.6667;0.4444;0.0000;0.3333";
    EXPECT_EQ(linha(a), "7;2;1;1;3;2;0.1667;0.3333;0.3333;0.1667;0.3333;0.3333;0.3333;0.3333;"
                        "0.5000;0.1667;0.1667;0.1667;0.3333;0.8000;1.0000;" +
                            heterozigose);
    EXPECT_DOUBLE_EQ(a.heterozigoseEsperada(Genoma::Visao), 26.0 / 36.0);
    EXPECT_DOUBLE_EQ(a.frequenciaGenotipo(Genoma::Morte, 1), 2.0 / 3.0);
    // Both capital: the egg's P twice makes PP a third.
    AcessoDocumento::vivosEditaveis(doc)[2].genotipoP =
        AcessoDocumento::vivosEditaveis(doc)[2].genotipoM = 0x0EE;
    const AmostraPopulacao b = EstatisticasPopulacao::medir(doc);
    EXPECT_DOUBLE_EQ(b.frequenciaGenotipo(Genoma::Partilha, 2), 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(b.frequenciaGenotipo(Genoma::Partilha, 0), 0.0);
    EXPECT_DOUBLE_EQ(b.heterozigoseObservada(Genoma::Visao), 1.0 / 3.0);

    // Without males Cuida has no frequency; without anybody no allele has one.
    AcessoDocumento::vivosEditaveis(doc).erase(doc.vivos().begin());
    EXPECT_NE(linha(EstatisticasPopulacao::medir(doc)).find(";0.7500;NA;"), std::string::npos);
    AcessoDocumento::vivosEditaveis(doc).clear();
    std::string vazia = "7;0;0;1;3;2";
    for (int k = 0; k < 15 + 24; ++k)
        vazia += ";NA";
    EXPECT_EQ(linha(EstatisticasPopulacao::medir(doc)), vazia);
}

TEST(Estatisticas, HistoricoComecaNaCriacaoESegueCadaCiclo) {
    CKeldoDoc doc;
    mundoPequeno(doc);
    ASSERT_EQ(doc.estatisticas().historico().size(), 1u);
    esperarIgual(doc.estatisticas().historico()[0], EstatisticasPopulacao::medir(doc));
    for (int c = 1; c <= 40; ++c) {
        doc.executarCiclo();
        const auto& h = doc.estatisticas().historico();
        ASSERT_EQ(h.size(), static_cast<size_t>(c + 1));
        esperarIgual(h.back(), EstatisticasPopulacao::medir(doc));
        EXPECT_EQ(h.back().tempo, c);
    }
    // A new world starts over.
    doc.criarMundo();
    EXPECT_EQ(doc.estatisticas().historico().size(), 1u);
    EXPECT_EQ(doc.estatisticas().historico()[0].tempo, 0);
}

TEST(Estatisticas, ProjetoCarregadoComecaNoSeuTempo) {
    CKeldoDoc origem;
    mundoPequeno(origem);
    for (int c = 0; c < 30; ++c)
        origem.executarCiclo();
    CKeldoDoc lido;
    ASSERT_TRUE(lido.carregarBytes(origem.serializar()).ok);
    ASSERT_EQ(lido.estatisticas().historico().size(), 1u);
    esperarIgual(lido.estatisticas().historico()[0], origem.estatisticas().ultima());
    lido.executarCiclo();
    ASSERT_EQ(lido.estatisticas().historico().size(), 2u);
    EXPECT_EQ(lido.estatisticas().historico()[1].tempo, 31);
}

// A bound of 8: the points halve whenever the ninth is due, stay evenly
// spaced from the start, and are exactly the figures of their cycles.
TEST(Estatisticas, LimiteReduzPelaMetadeMantendoOsCiclosCertos) {
    CKeldoDoc completo;
    mundoPequeno(completo);
    CKeldoDoc limitado;
    AcessoDocumento::estatisticasEditaveis(limitado) = EstatisticasPopulacao(8);
    mundoPequeno(limitado);
    uint64_t versao = limitado.estatisticas().versao();
    int reducoes = 0;
    for (int c = 1; c <= 100; ++c) {
        completo.executarCiclo();
        limitado.executarCiclo();
        const EstatisticasPopulacao& e = limitado.estatisticas();
        ASSERT_LE(e.historico().size(), 8u);
        ASSERT_EQ(e.historico().size(), static_cast<size_t>(c / e.passo() + 1)) << c;
        reducoes += e.versao() != versao;
        versao = e.versao();
        esperarIgual(e.ultima(), completo.estatisticas().ultima());
    }
    // 8 points at spacing 1 end at cycle 7; halvings at cycles 8, 16, 32 and 64.
    EXPECT_EQ(reducoes, 4);
    EXPECT_EQ(limitado.estatisticas().passo(), 16u);
    const auto& h = limitado.estatisticas().historico();
    ASSERT_EQ(h.size(), 7u);
    for (size_t k = 0; k < h.size(); ++k)
        esperarIgual(h[k], completo.estatisticas().historico()[k * 16]);
    EXPECT_EQ(limitado.estatisticas().ultima().tempo, 100);
}

// A long run keeps at most 10,000 points in the storage it had from the start.
TEST(Estatisticas, CorridaLongaNaoPassaDoLimiteNemRealoca) {
    CKeldoDoc doc;
    mundoVazio(doc);
    const AmostraPopulacao* memoria = doc.estatisticas().historico().data();
    for (int c = 0; c < 45000; ++c)
        doc.executarCiclo();
    const auto& h = doc.estatisticas().historico();
    EXPECT_EQ(doc.estatisticas().capacidade(), 10000u);
    EXPECT_LE(h.size(), 10000u);
    EXPECT_GT(h.size(), 5000u);
    EXPECT_EQ(h.data(), memoria);
    EXPECT_EQ(doc.estatisticas().passo(), 8u);
    EXPECT_EQ(h.back().tempo, 45000 / 8 * 8);
    EXPECT_EQ(h[1].tempo - h[0].tempo, 8);
}

namespace {
// The figures counted one individual at a time, straight from the genome's
// helpers: what the tallies of `medir` must add up to.
AmostraPopulacao contadaUmAUm(const std::vector<SpecX>& vivos) {
    AmostraPopulacao a;
    for (const SpecX& i : vivos) {
        if (!i.vivo())
            continue;
        ++(i.adulto() ? a.adultos : a.ovos);
        for (int k = 0; k < Genoma::numAutossomicos; ++k) {
            const auto g = static_cast<Genoma::Gene>(k);
            const int ap = Genoma::alelo(g, i.genotipoP), am = Genoma::alelo(g, i.genotipoM);
            const auto coluna = static_cast<size_t>(Genoma::colunaResumo(g));
            if (Genoma::genes[k].numBits == 2) {
                ++a.contagem[coluna + static_cast<size_t>(ap)];
                ++a.contagem[coluna + static_cast<size_t>(am)];
            } else {
                a.contagem[coluna] += static_cast<uint32_t>(ap + am);
                a.homozigotosMaiusculos[static_cast<size_t>(k)] += ap == 1 && am == 1;
            }
            a.heterozigotos[static_cast<size_t>(k)] += ap != am;
        }
        a.contagem[AleloResumo::D] +=
            static_cast<uint32_t>(Genoma::copiasMaiusculas(Genoma::Detecta, i.estado));
        a.cromossomosX += static_cast<uint32_t>(Genoma::copias(Genoma::Detecta, i.estado));
        a.contagem[AleloResumo::C] +=
            static_cast<uint32_t>(Genoma::copiasMaiusculas(Genoma::Cuida, i.estado));
        a.cromossomosY += static_cast<uint32_t>(Genoma::copias(Genoma::Cuida, i.estado));
    }
    return a;
}
} // namespace

// Every allele pair of every gene, on every status byte, among words with
// stray bits above the genes: the tallies give what counting one by one gives.
TEST(Estatisticas, TodosOsGenotiposDeTodosOsGenesContadosComoUmAUm) {
    CKeldoDoc doc;
    uint32_t semente = 12345;
    const auto sorteio = [&semente] {
        semente = semente * 1103515245u + 12345u;
        return static_cast<uint16_t>(semente >> 8);
    };
    for (int k = 0; k < Genoma::numAutossomicos; ++k) {
        const auto g = static_cast<Genoma::Gene>(k);
        for (int ap = 0; ap < Genoma::numAlelos(g); ++ap)
            for (int am = 0; am < Genoma::numAlelos(g); ++am)
                for (int estado = 0; estado < 64; ++estado)
                    AcessoDocumento::vivosEditaveis(doc).push_back(individuo(
                        Genoma::comAlelo(g, sorteio(), ap), Genoma::comAlelo(g, sorteio(), am),
                        static_cast<uint8_t>(estado | (sorteio() & 0xC0))));
    }
    for (int n = 0; n < 3; ++n) {
        const AmostraPopulacao a = EstatisticasPopulacao::medir(doc);
        esperarIgual(a, contadaUmAUm(doc.vivos()));
        EXPECT_GT(a.ovos, 0);
        EXPECT_GT(a.adultos, 0);
        AcessoDocumento::vivosEditaveis(doc).resize(doc.vivos().size() / 3);
    }
}

// The summary's figures are written by hand; they must be the bytes the
// library's fixed notation gives, ties (k / 2^n) rounded to even included.
TEST(Estatisticas, FracoesEscritasComoABibliotecaAsEscreve) {
    std::vector<double> valores = {0.0,
                                   -0.0,
                                   1.0,
                                   0.03125,
                                   0.15625,
                                   0.99995,
                                   -1e-17,
                                   1e-300,
                                   5e-324,
                                   12.5,
                                   123456.7,
                                   1099511627775.99,
                                   1e12,
                                   1.5e300,
                                   -0.0312,
                                   std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::quiet_NaN()};
    for (int b = 1; b <= 1200; ++b)
        for (int c = 0; c <= b; ++c) {
            const double p = static_cast<double>(c) / b;
            valores.push_back(p);
            valores.push_back(1.0 - (p * p + (1.0 - p) * (1.0 - p)));
        }
    for (int n = 1; n <= 40; ++n)
        for (int k = 0; k <= 64; ++k)
            valores.push_back(std::ldexp(static_cast<double>(k), -n));
    for (double v : valores) {
        std::string esperado = ";";
        char texto[400];
        esperado.append(
            texto, std::to_chars(texto, texto + sizeof texto, v, std::chars_format::fixed, 4).ptr);
        std::string escrito;
        EstatisticasPopulacao::anexarFracao(escrito, v);
        ASSERT_EQ(escrito, esperado) << std::hexfloat << v;
    }
}
