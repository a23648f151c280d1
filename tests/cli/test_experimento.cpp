// keldo-run --experiment: every row against the single run that replays it,
// the table independent of the number of threads, --until, --task and --merge.
#include "ApoioKeldoRun.h"
#include <algorithm>
#include <map>
#include <set>
#include <sstream>

namespace {
std::vector<std::string> campos(const std::string& linha) {
    std::vector<std::string> c;
    std::stringstream s(linha);
    for (std::string campo; std::getline(s, campo, ';');)
        c.push_back(campo);
    return c;
}

std::vector<std::string> linhas(const std::string& texto) {
    std::vector<std::string> r;
    std::stringstream s(texto);
    for (std::string l; std::getline(s, l);)
        r.push_back(l);
    return r;
}

// A small, quick world.
const std::vector<std::string> base = {"--experiment",     "--seed", "9",
                                       "--cycles",         "12",     "--set",
                                       "numIndividuos=30", "--set",  "qtdAlimento=15"};

std::vector<std::string> com(std::vector<std::string> args, const std::vector<std::string>& mais) {
    args.insert(args.end(), mais.begin(), mais.end());
    return args;
}
} // namespace

// Each row's figures are the summary line of the same cycle of the single run
// given its seed and its varied values; the runs are numbered with the
// first parameter outermost and the replicates innermost.
TEST_F(KeldoRun, ExperimentoCadaLinhaRepeteSuaExecucaoSozinha) {
    const Saida s = rodar(com(base, {"--replicates", "3", "--vary", "taxaMutacao=10,500", "--vary",
                                     "morte_mm=0:40:40", "--every", "5", "--jobs", "2"}));
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(s.err, "semente: 9\n");
    const auto tabela = linhas(s.out);
    ASSERT_EQ(tabela.size(), 1u + 12 * 3);
    EXPECT_EQ(
        tabela[0].rfind("experimento;execucao;semente;taxaMutacao;morte_mm;tempo;adultos;", 0), 0u);
    std::set<std::string> sementes;
    for (size_t i = 1; i < tabela.size(); ++i) {
        const auto c = campos(tabela[i]);
        const int k = std::stoi(c[1]);
        EXPECT_EQ(k, static_cast<int>((i - 1) / 3 + 1));
        EXPECT_EQ(c[3], (k - 1) / 6 == 0 ? "10" : "500");
        EXPECT_EQ(c[4], (k - 1) / 3 % 2 == 0 ? "0" : "40");
        EXPECT_EQ(c[5], std::to_string(std::vector<int>{5, 10, 12}[(i - 1) % 3]));
        if ((i - 1) % 3 != 0)
            continue;
        sementes.insert(c[2]);
        const Saida sozinha = rodar({"--seed", c[2], "--set", "numIndividuos=30", "--set",
                                     "qtdAlimento=15", "--set", "taxaMutacao=" + c[3], "--set",
                                     "morte_mm=" + c[4], "--cycles", "12", "--summary", "-"});
        ASSERT_EQ(sozinha.status, 0) << sozinha.err;
        const auto resumo = linhas(sozinha.out);
        ASSERT_EQ(resumo.size(), 14u);
        for (size_t j = 0; j < 3; ++j) {
            const auto linha = campos(tabela[i + j]);
            const std::string figuras =
                tabela[i + j].substr(tabela[i + j].find(';' + linha[5] + ';' + linha[6] + ';',
                                                        c[0].size() + c[1].size() + 2) +
                                     1);
            EXPECT_EQ(figuras, resumo[static_cast<size_t>(std::stoi(linha[5])) + 1]) << "k=" << k;
        }
    }
    EXPECT_EQ(sementes.size(), 12u); // one seed per run, all distinct
}

TEST_F(KeldoRun, ExperimentoIgualComUmOuTresTrabalhos) {
    const auto args = com(
        base, {"--replicates", "4", "--vary", "numIndividuos=10,20", "--every", "4", "--table"});
    const Saida um = rodar(com(args, {"um.csv", "--jobs", "1"}));
    const Saida tres = rodar(com(args, {"tres.csv", "--jobs", "3"}));
    ASSERT_EQ(um.status, 0) << um.err;
    ASSERT_EQ(tres.status, 0) << tres.err;
    EXPECT_EQ(um.out, "");
    EXPECT_EQ(linhas(ler("um.csv")).size(), 1u + 8 * 3);
    EXPECT_EQ(ler("um.csv"), ler("tres.csv"));
    EXPECT_EQ(arquivos().size(), 2u); // no temporary file left behind
}

// Without --seed the experiment's seed comes from the entropy source: two
// experiments started in the same second differ, and print their seeds.
TEST_F(KeldoRun, SemSementeCadaExecucaoTemAsuaEImprimeA) {
    const std::vector<std::string> args = {"--experiment", "--cycles", "1", "--set",
                                           "numIndividuos=5"};
    const Saida a = rodar(args), b = rodar(args);
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(a.err.rfind("semente: ", 0), 0u);
    EXPECT_NE(a.err, b.err);
    EXPECT_NE(campos(linhas(a.out)[1])[0], campos(linhas(b.out)[1])[0]);
    const Saida c = rodar({"--cycles", "1"}), d = rodar({"--cycles", "1"});
    EXPECT_EQ(c.err.rfind("semente: ", 0), 0u);
    EXPECT_NE(c.err, d.err);
}

TEST_F(KeldoRun, UntilTerminaNaCondicao) {
    // No food: everyone starves, and the last row is the cycle nobody is left.
    const Saida fome = rodar({"--experiment", "--seed", "2", "--cycles", "2000", "--set",
                              "numIndividuos=10", "--set", "qtdAlimento=0", "--until", "extincao"});
    ASSERT_EQ(fome.status, 0) << fome.err;
    auto t = linhas(fome.out);
    ASSERT_EQ(t.size(), 2u);
    auto c = campos(t[1]);
    EXPECT_LT(std::stoi(c[3]), 2000);
    EXPECT_EQ(c[4], "0");
    EXPECT_EQ(c[5], "0");

    // One individual: a male's one Y fixes C at once; a female carries no Y,
    // so C is not defined (NA) and never fixed.
    const Saida um = rodar({"--experiment", "--seed", "2", "--cycles", "5", "--replicates", "8",
                            "--set", "numIndividuos=1", "--until", "fixacao:C"});
    ASSERT_EQ(um.status, 0) << um.err;
    t = linhas(um.out);
    ASSERT_EQ(t.size(), 9u);
    // C by its name: the heterozygosity columns follow the allele columns.
    const std::vector<std::string> cabecalho = campos(t[0]);
    const size_t colunaC =
        static_cast<size_t>(std::find(cabecalho.begin(), cabecalho.end(), "C") - cabecalho.begin());
    ASSERT_LT(colunaC, cabecalho.size());
    std::set<std::string> tempos;
    for (size_t i = 1; i < t.size(); ++i) {
        c = campos(t[i]);
        EXPECT_EQ(c[3], c.at(colunaC) == "NA" ? "5" : "1") << t[i];
        tempos.insert(c[3]);
    }
    EXPECT_EQ(tempos.size(), 2u); // both cases met
    const Saida varios = rodar({"--experiment", "--seed", "2", "--cycles", "3", "--set",
                                "numIndividuos=40", "--until", "fixacao:V"});
    EXPECT_EQ(campos(linhas(varios.out)[1])[3], "3"); // four alleles in 80 copies: not fixed

    const Saida geracao = rodar(
        {"--experiment", "--seed", "2", "--cycles", "400", "--until", "geracao:1", "--every", "1"});
    ASSERT_EQ(geracao.status, 0) << geracao.err;
    t = linhas(geracao.out);
    const auto ultima = campos(t.back()), penultima = campos(t[t.size() - 2]);
    EXPECT_EQ(ultima[7], "1");
    EXPECT_EQ(penultima[7], "0");
    EXPECT_EQ(std::stoi(ultima[3]), static_cast<int>(t.size()) - 1);

    for (const char* ruim : {"fixacao:X", "geracao:", "geracao:-1", "extinção"})
        EXPECT_EQ(rodar({"--experiment", "--until", ruim}).status, 2) << ruim;
}

// A run that cannot start leaves no rows and a line naming it; the others go on.
TEST_F(KeldoRun, ExecucaoQueFalhaNaoParaAsOutras) {
    const Saida s = rodar(com(base, {"--vary", "numIndividuos=5,0,7"}));
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("a execução 2 falhou"), std::string::npos) << s.err;
    const auto t = linhas(s.out);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(campos(t[1])[1], "1");
    EXPECT_EQ(campos(t[2])[1], "3");
}

TEST_F(KeldoRun, TarefasMescladasDaoATabelaDeUmaMaquina) {
    const auto args = com(base, {"--replicates", "5", "--every", "6"});
    ASSERT_EQ(rodar(com(args, {"--table", "toda.csv"})).status, 0);
    for (const char* t : {"0", "1", "2"})
        ASSERT_EQ(rodar(com(args, {"--task", std::string(t) + "/3", "--table",
                                   std::string("parte") + t + ".csv"}))
                      .status,
                  0);
    EXPECT_EQ(rodar({"--merge", "junta.csv", "parte2.csv", "parte0.csv", "parte1.csv"}).status, 0);
    EXPECT_EQ(ler("junta.csv"), ler("toda.csv"));

    // A task missing, a task twice, and a task of another experiment.
    Saida r = rodar({"--merge", "x.csv", "parte0.csv", "parte1.csv"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("falta a execução 2"), std::string::npos) << r.err;
    r = rodar({"--merge", "x.csv", "parte0.csv", "parte1.csv", "parte2.csv", "parte1.csv"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("mais de uma vez"), std::string::npos) << r.err;
    std::vector<std::string> outra = args;
    outra[2] = "10";
    ASSERT_EQ(rodar(com(outra, {"--task", "2/3", "--table", "outra.csv"})).status, 0);
    r = rodar({"--merge", "x.csv", "parte0.csv", "parte1.csv", "outra.csv"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("outro experimento"), std::string::npos) << r.err;
    EXPECT_FALSE(existe("x.csv"));
    EXPECT_EQ(rodar({"--experiment", "--task", "0/3"}).status, 2); // without --seed
}

TEST_F(KeldoRun, OpcoesDeExperimentoRecusadas) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--replicates", "2"},
                                               {"--experiment", "--replicates", "0"},
                                               {"--experiment", "--vary", "numIndividuos=9:1:5"},
                                               {"--experiment", "--vary", "numIndividuos=a,b"},
                                               {"--experiment", "--vary", "naoExiste=1"},
                                               {"--experiment", "--task", "3/3", "--seed", "1"},
                                               {"--experiment", "--summary", "r.csv"},
                                               {"--merge", "so.csv"}})
        EXPECT_EQ(rodar(args).status, 2) << args[0] << ' ' << args[1];
    const Saida traco = rodar({"--experiment", "--set", "gerarTrace=1"});
    EXPECT_EQ(traco.status, 2);
    EXPECT_FALSE(existe("keldo_trace.txt"));
}
