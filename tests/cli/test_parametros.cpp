// keldo-run --params and the --set values the dialogs would not take.
#include "AcessoDocumento.h"
#include "ApoioKeldoRun.h"
#include "sim/CKeldoDoc.h"
#include "sim/ParametrosPorNome.h"
#include "sim/TabelaParametros.h"
#include <sstream>

using namespace keldo::sim;

TEST_F(KeldoRun, ParamsListaCadaParametroComAsFaixasDoDialogo) {
    const Saida s = rodar({"--params"});
    ASSERT_EQ(s.status, 0) << s.err;
    std::stringstream texto(s.out);
    std::string linha;
    std::getline(texto, linha);
    EXPECT_EQ(linha, "nome;tipo;padrao;dialogo;carga;descricao");
    std::vector<std::string> nomes;
    while (std::getline(texto, linha))
        nomes.push_back(linha.substr(0, linha.find(';')));
    EXPECT_EQ(nomes, nomesDeParametros());
    for (const char* esperada :
         {"numIndividuos;inteiro;100;1 a 1000;1 a 1000;",
          "qtdAlimento;inteiro;20;0 a 2000;0 a 2000;",
          "intervaloAnimacao;inteiro;1;1 a 1000;1 a 2147483647;",
          "salvarCiclos;inteiro;50;50 a 10000;1 a 2147483647;",
          "taxaReposicao;inteiro;100;0 a 500;-2147483648 a 10000;",
          "nivelObstaculos;texto;12;0,12,15,30;texto;", "morte_mm;inteiro;40;0 a 200;0 a 32767;",
          "taxaPermuta0;inteiro;5;0 a 50;", "repro_RR;inteiro;400;50 a 2000;0 a 32767;",
          "particaoAmbiente;inteiro;0;-;"})
        EXPECT_NE(s.out.find(std::string("\n") + esperada), std::string::npos) << esperada;
}

// Values the model defines are taken with a warning; a non-number is still
// refused, and a reversed food energy range is refused by --set and loads alike.
TEST_F(KeldoRun, SetForaDoDialogoAvisaEEnergiaInvertidaERecusada) {
    Saida s = rodar({"--seed", "1", "--cycles", "1", "--set", "nivelObstaculos=abc", "--set",
                     "taxaPermuta0=80", "--set", "tipoGeracoes=2", "--set", "numIndividuos=50"});
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_NE(s.err.find("keldo-run: aviso: nivelObstaculos=abc não é uma escolha do diálogo "
                         "(0,12,15,30); o mundo terá os obstáculos do nível 30\n"),
              std::string::npos)
        << s.err;
    EXPECT_NE(s.err.find("aviso: taxaPermuta0=80 está fora da faixa do diálogo (0 a 50)"),
              std::string::npos);
    EXPECT_NE(s.err.find("aviso: tipoGeracoes=2 não é uma escolha do diálogo (0,1); o modelo o "
                         "trata como 0"),
              std::string::npos);
    EXPECT_EQ(s.err.find("numIndividuos"), std::string::npos);
    EXPECT_EQ(rodar({"--set", "taxaPermuta0=abc"}).status, 2);

    s = rodar({"--cycles", "1", "--set", "energiaMin=300", "--set", "energiaMax=200"});
    EXPECT_EQ(s.status, 2);
    EXPECT_NE(s.err.find("energiaMin (300) maior que energiaMax (200)"), std::string::npos)
        << s.err;
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).energiaMin = 300;
    AcessoDocumento::parametrosEditaveis(doc).energiaMax = 200;
    doc.criarMundo();
    ASSERT_TRUE(doc.salvarProjeto(caminho("invertida.gen")).ok);
    s = rodar({"--cycles", "1", "invertida.gen"});
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("energiaMin (300) maior que energiaMax (200)"), std::string::npos)
        << s.err;
}

// A --vary value the dialog would not take gets the --set warning, once.
TEST_F(KeldoRun, VaryForaDoDialogoAvisaComoSet) {
    const Saida s = rodar({"--experiment", "--seed", "3", "--cycles", "2", "--jobs", "1", "--vary",
                           "taxaPermuta0=10,80", "--vary", "tipoGeracoes=0,1"});
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(s.err, "semente: 3\nkeldo-run: aviso: taxaPermuta0=80 está fora da faixa do diálogo "
                     "(0 a 50); o modelo usa o valor assim mesmo\n"
                     "keldo-run: 4 execuções, 1 ao mesmo tempo\n");
}
