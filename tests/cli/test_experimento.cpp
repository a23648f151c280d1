// keldo-run --experiment: every row against the single run that replays it,
// the table independent of the number of threads, --until, --task and --merge.
#include "ApoioKeldoRun.h"
#include "Sanitizado.h"
#include "cli/LinhasExecucao.h"
#include "cli/OpcoesExperimento.h"
#include "cli/Varredura.h"
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <sys/resource.h>

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

// The last column: why the run ended, on its last row only.
std::string parada(const std::string& linha) {
    return linha.substr(linha.rfind(';') + 1);
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
// given its seed and its varied values, from its starting state (cycle 0) on;
// the runs are numbered with the first parameter outermost and the
// replicates innermost.
TEST_F(KeldoRun, ExperimentoCadaLinhaRepeteSuaExecucaoSozinha) {
    const Saida s = rodar(com(base, {"--replicates", "3", "--vary", "taxaMutacao=10,500", "--vary",
                                     "morte_mm=0:40:40", "--every", "5", "--jobs", "2"}));
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(s.err, "semente: 9\nkeldo-run: 12 execuções, 2 ao mesmo tempo\n");
    const auto tabela = linhas(s.out);
    ASSERT_EQ(tabela.size(), 1u + 12 * 4);
    EXPECT_EQ(
        tabela[0].rfind("experimento;execucao;semente;taxaMutacao;morte_mm;tempo;adultos;", 0), 0u);
    std::set<std::string> sementes;
    for (size_t i = 1; i < tabela.size(); ++i) {
        const auto c = campos(tabela[i]);
        const int k = std::stoi(c[1]);
        EXPECT_EQ(k, static_cast<int>((i - 1) / 4 + 1));
        EXPECT_EQ(c[3], (k - 1) / 6 == 0 ? "10" : "500");
        EXPECT_EQ(c[4], (k - 1) / 3 % 2 == 0 ? "0" : "40");
        EXPECT_EQ(c[5], std::to_string(std::vector<int>{0, 5, 10, 12}[(i - 1) % 4]));
        EXPECT_EQ(parada(tabela[i]), (i - 1) % 4 == 3 ? "ciclos" : "");
        if ((i - 1) % 4 != 0)
            continue;
        sementes.insert(c[2]);
        const Saida sozinha = rodar({"--seed", c[2], "--set", "numIndividuos=30", "--set",
                                     "qtdAlimento=15", "--set", "taxaMutacao=" + c[3], "--set",
                                     "morte_mm=" + c[4], "--cycles", "12", "--summary", "-"});
        ASSERT_EQ(sozinha.status, 0) << sozinha.err;
        const auto resumo = linhas(sozinha.out);
        ASSERT_EQ(resumo.size(), 14u);
        for (size_t j = 0; j < 4; ++j) {
            const auto linha = campos(tabela[i + j]);
            const std::string figuras =
                tabela[i + j].substr(tabela[i + j].find(';' + linha[5] + ';' + linha[6] + ';',
                                                        c[0].size() + c[1].size() + 2) +
                                     1);
            EXPECT_EQ(figuras.rfind(resumo[static_cast<size_t>(std::stoi(linha[5])) + 1] + ';', 0),
                      0u)
                << "k=" << k;
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
    EXPECT_EQ(linhas(ler("um.csv")).size(), 1u + 8 * 4);
    EXPECT_EQ(ler("um.csv"), ler("tres.csv"));
    EXPECT_EQ(arquivos().size(), 4u); // tables and records, no temporary file left behind
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
    ASSERT_EQ(t.size(), 3u);
    auto c = campos(t[2]);
    EXPECT_LT(std::stoi(c[3]), 2000);
    EXPECT_EQ(c[4], "0");
    EXPECT_EQ(c[5], "0");

    // One individual: a male's one Y fixes C at once (cycle 0); a female
    // carries no Y, so C is not defined (NA) and never fixed.
    const Saida um = rodar({"--experiment", "--seed", "2", "--cycles", "5", "--replicates", "8",
                            "--set", "numIndividuos=1", "--until", "fixacao:C"});
    ASSERT_EQ(um.status, 0) << um.err;
    t = linhas(um.out);
    ASSERT_GT(t.size(), 9u);
    ASSERT_LT(t.size(), 17u);
    // C by its name: the heterozygosity columns follow the allele columns.
    const std::vector<std::string> cabecalho = campos(t[0]);
    const size_t colunaC =
        static_cast<size_t>(std::find(cabecalho.begin(), cabecalho.end(), "C") - cabecalho.begin());
    ASSERT_LT(colunaC, cabecalho.size());
    std::set<std::string> tempos;
    for (size_t i = 1; i < t.size(); ++i) {
        c = campos(t[i]);
        if (c.at(colunaC) == "NA")
            EXPECT_EQ(parada(t[i]), c[3] == "5" ? "ciclos" : "") << t[i];
        else
            EXPECT_EQ(c[3] + parada(t[i]), "0fixacao:C") << t[i];
        tempos.insert(c.at(colunaC) == "NA" ? "NA" : "C");
    }
    EXPECT_EQ(tempos.size(), 2u); // both cases met
    const Saida varios = rodar({"--experiment", "--seed", "2", "--cycles", "3", "--set",
                                "numIndividuos=40", "--until", "fixacao:V"});
    EXPECT_EQ(campos(linhas(varios.out)[2])[3], "3"); // four alleles in 80 copies: not fixed

    const Saida geracao = rodar(
        {"--experiment", "--seed", "2", "--cycles", "400", "--until", "geracao:1", "--every", "1"});
    ASSERT_EQ(geracao.status, 0) << geracao.err;
    t = linhas(geracao.out);
    const auto ultima = campos(t.back()), penultima = campos(t[t.size() - 2]);
    EXPECT_EQ(ultima[7], "1");
    EXPECT_EQ(penultima[7], "0");
    EXPECT_EQ(std::stoi(ultima[3]), static_cast<int>(t.size()) - 2);
    EXPECT_EQ(parada(t.back()), "geracao:1");

    for (const char* ruim : {"fixacao:X", "geracao:", "geracao:-1", "extinção", "perda:X",
                             "perda:", "sem-adultos:1", "fixacao:V1"})
        EXPECT_EQ(rodar({"--experiment", "--until", ruim}).status, 2) << ruim;
}

// A run that cannot start leaves no rows and a line naming it; the others go on.
// (energiaMin=300 goes with energiaMax=400, not with 200.)
TEST_F(KeldoRun, ExecucaoQueFalhaNaoParaAsOutras) {
    const Saida s =
        rodar(com(base, {"--vary", "energiaMin=300", "--vary", "energiaMax=400,200,500"}));
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("a execução 2 falhou"), std::string::npos) << s.err;
    const auto t = linhas(s.out);
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(campos(t[2])[1], "1");
    EXPECT_EQ(campos(t[3])[1], "3");
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

namespace {
using keldo::cli::LinhasExecucao;
using keldo::cli::OpcoesExperimento;
using keldo::cli::Varredura;

size_t contar(const std::string& texto, const std::string& trecho) {
    size_t n = 0;
    for (size_t p = 0; (p = texto.find(trecho, p)) != std::string::npos; p += trecho.size())
        ++n;
    return n;
}
} // namespace

// More jobs than the system gives threads: the cap, and then as many as it
// gives. With 1 GiB stacks in 4 GiB of address space, a few threads at most.
TEST_F(KeldoRun, TrabalhosAlemDoSistemaSaoMenosTrabalhos) {
    if (KELDO_SANITIZADO)
        GTEST_SKIP() << "com AddressSanitizer, limites de memória e picos não dizem nada";
    const std::string runs = std::to_string(OpcoesExperimento::maximoDeTrabalhos + 20);
    const Saida s = rodarApos("ulimit -v 4194304; ulimit -s 1048576;",
                              {"--experiment", "--seed", "1", "--replicates", runs, "--jobs",
                               "100000", "--cycles", "2", "--set", "numIndividuos=3", "--set",
                               "qtdAlimento=3", "--table", "t.csv"});
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_NE(s.err.find("--jobs 100000 reduzido a " +
                         std::to_string(OpcoesExperimento::maximoDeTrabalhos)),
              std::string::npos)
        << s.err;
    EXPECT_EQ(linhas(ler("t.csv")).size(), 1 + 2 * (OpcoesExperimento::maximoDeTrabalhos + 20));
    EXPECT_EQ(arquivos().size(), 2u); // the table and its record
}

// Without --jobs, as many runs at once as the processors the process may
// use (taskset, a cluster's allocation), said before the first run; the
// table is the same bytes whatever that number.
TEST_F(KeldoRun, TrabalhosPadraoSaoOsProcessadoresPermitidos) {
    if (std::system("taskset -c 0 true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "sem taskset (Debian: util-linux)";
    const auto args = com(base, {"--replicates", "3", "--every", "4"});
    const Saida um = rodarApos("taskset -c 0", com(args, {"--table", "um.csv"}));
    ASSERT_EQ(um.status, 0) << um.err;
    EXPECT_EQ(um.err, "semente: 9\nkeldo-run: 3 execuções, 1 ao mesmo tempo\n");
    const Saida tres = rodar(com(args, {"--jobs", "3", "--table", "tres.csv"}));
    ASSERT_EQ(tres.status, 0) << tres.err;
    EXPECT_EQ(tres.err, "semente: 9\nkeldo-run: 3 execuções, 3 ao mesmo tempo\n");
    EXPECT_EQ(ler("um.csv"), ler("tres.csv"));
    EXPECT_EQ(ler("um.csv.json").substr(ler("um.csv.json").find("\"semente\"")),
              ler("tres.csv.json").substr(ler("tres.csv.json").find("\"semente\"")));
    // Never more than the runs; a task says which it is.
    const Saida tarefa = rodar(com(args, {"--jobs", "8", "--task", "0/2"}));
    ASSERT_EQ(tarefa.status, 0) << tarefa.err;
    EXPECT_NE(tarefa.err.find("keldo-run: 1 execução da tarefa 0/2, 1 ao mesmo tempo\n"),
              std::string::npos)
        << tarefa.err;
}

// Ranges near the ends of 64 bits end (no overflow), and lists or run
// counts past the limits are refused before any run: exit 2, no rows.
TEST_F(KeldoRun, IntervalosEContagensTemLimite) {
    const std::string limite = std::to_string(Varredura::maximoDeValores);
    for (const std::string& vary :
         {std::string("morte_mm=9223372036854775806:1:9223372036854775807"),
          std::string("particaoAmbiente=-9223372036854775808:9223372036854775807:"
                      "9223372036854775807"),
          std::string("particaoAmbiente=9223372036854775807:-9223372036854775807:"
                      "-9223372036854775808"),
          "particaoAmbiente=0:1:" + limite, "particaoAmbiente=" + limite + ":-1:0"}) {
        const Saida s = rodarApos("timeout 60", com(base, {"--vary", vary}));
        EXPECT_EQ(s.status, 2) << vary << '\n' << s.err;
        EXPECT_EQ(s.out, "") << vary;
    }
    EXPECT_NE(rodar(com(base, {"--vary", "particaoAmbiente=0:1:" + limite}))
                  .err.find("no máximo " + limite + " valores"),
              std::string::npos);
    const Saida ultimo =
        rodar(com(base, {"--vary", "particaoAmbiente=2147483646:1:2147483647", "--cycles", "0"}));
    ASSERT_EQ(ultimo.status, 0) << ultimo.err;
    EXPECT_EQ(campos(linhas(ultimo.out)[2])[3], "2147483647");

    // 3340214413 x 989540 x 5581 is 4 modulo 2^64.
    const Saida voltas =
        rodar(com(base, {"--replicates", "3340214413", "--vary", "particaoAmbiente=0:1:989539",
                         "--vary", "mostrarEnergia=0:1:5580"}));
    EXPECT_EQ(voltas.status, 2) << voltas.err;
    EXPECT_EQ(voltas.out, "");
    const Saida demais =
        rodar(com(base, {"--replicates", std::to_string(Varredura::maximoDeExecucoes), "--vary",
                         "mostrarEnergia=0,1"}));
    EXPECT_EQ(demais.status, 2);
    EXPECT_NE(demais.err.find("passa de " + std::to_string(Varredura::maximoDeExecucoes)),
              std::string::npos)
        << demais.err;
}

// A listed value that no run can take is a usage error before any run, with
// the same judgement as a run's; one that some combination takes is not.
// Warnings come once per value.
TEST_F(KeldoRun, ValorQueTodaExecucaoRecusaEErroDeUso) {
    for (const std::vector<std::string>& vary : std::vector<std::vector<std::string>>{
             {"--vary", "energiaMin=100,600"},
             {"--vary", "numIndividuos=5,0,7"},
             {"--vary", "numIndividuos=5,3000"},
             {"--vary", "energiaMin=600", "--vary", "energiaMax=300,500"},
             {"--set", "energiaMin=1", "--set", "energiaMax=90", "--vary", "energiaMin=50,100"}}) {
        const Saida s = rodar(com(com(base, {"--replicates", "3"}), vary));
        EXPECT_EQ(s.status, 2) << vary[1] << '\n' << s.err;
        EXPECT_NE(s.err.find("toda execução recusaria"), std::string::npos) << s.err;
        EXPECT_EQ(s.err.find("falhou"), std::string::npos) << s.err;
        EXPECT_EQ(s.out, "");
    }
    const Saida avisos =
        rodar(com(base, {"--replicates", "3", "--vary", "energiaMax=600,600,700,600", "--vary",
                         "energiaMin=10,20"}));
    ASSERT_EQ(avisos.status, 0) << avisos.err;
    EXPECT_EQ(contar(avisos.err, "energiaMax=600 "), 1u) << avisos.err;
    EXPECT_EQ(contar(avisos.err, "energiaMax=700 "), 1u) << avisos.err;
    EXPECT_EQ(linhas(avisos.out).size(), 1u + 4 * 2 * 3 * 2);
}

// The first write that fails stops the experiment: a device that takes
// nothing before any run, a file past its size limit as soon as it fails.
// Runs 21..40 would fail (energiaMax=200 under energiaMin=300) if they ran.
TEST_F(KeldoRun, TabelaQueNaoSeGravaParaOExperimento) {
    const auto args = com(base, {"--vary", "energiaMin=300", "--vary", "energiaMax=400,200",
                                 "--replicates", "20", "--every", "1", "--jobs", "1"});
    Saida s = rodar(com(args, {"--table", "/dev/full"}));
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("/dev/full: No space left on device"), std::string::npos) << s.err;
    EXPECT_EQ(s.err.find("falhou"), std::string::npos) << s.err;

    s = rodarApos("exec >/dev/full;", args);
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("a tabela em -: No space left on device"), std::string::npos) << s.err;
    EXPECT_EQ(s.err.find("falhou"), std::string::npos) << s.err;

    // 8 KiB: the header and a few runs.
    s = rodarApos("trap '' XFSZ; ulimit -f 16;", com(args, {"--table", "t.csv"}));
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("t.csv: File too large"), std::string::npos) << s.err;
    EXPECT_EQ(s.err.find("falhou"), std::string::npos) << s.err;
    EXPECT_EQ(arquivos().size(), 0u) << arquivos()[0]; // neither table nor temporary
}

// Runs whose rows outgrow the memory's share go through a temporary file:
// the table and the task's record are the same bytes, with one job or three.
TEST_F(KeldoRun, ExecucoesLongasDaoAMesmaTabela) {
    // Each row is over 200 bytes: twice the bound in rows, in every run.
    const std::string ciclos = std::to_string(2 * LinhasExecucao::limiteNaMemoria / 200);
    const auto args = com(base, {"--replicates", "4", "--every", "1", "--cycles", ciclos});
    ASSERT_EQ(rodar(com(args, {"--jobs", "1", "--table", "um.csv"})).status, 0);
    ASSERT_EQ(rodar(com(args, {"--jobs", "3", "--table", "tres.csv"})).status, 0);
    EXPECT_EQ(ler("um.csv"), ler("tres.csv"));
    const auto t = linhas(ler("um.csv"));
    ASSERT_EQ(t.size(), 1 + 4 * (std::stoul(ciclos) + 1));
    EXPECT_GT(t[1].size(), 200u);
    for (const char* tarefa : {"0", "1"})
        ASSERT_EQ(rodar(com(args, {"--jobs", "2", "--task", std::string(tarefa) + "/2", "--table",
                                   std::string("p") + tarefa + ".csv"}))
                      .status,
                  0);
    ASSERT_EQ(rodar({"--merge", "junta.csv", "p0.csv", "p1.csv"}).status, 0);
    EXPECT_EQ(ler("junta.csv"), ler("um.csv"));
}

namespace {
// The peak resident memory (KiB) of keldo-run with these arguments, measured
// in a child of its own so that no earlier run counts.
long picoDeMemoria(const std::function<Saida()>& rodar) {
    int canal[2];
    if (::pipe(canal) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(canal[0]);
        const long pico = rodar().status == 0 ? [] {
            rusage uso{};
            ::getrusage(RUSAGE_CHILDREN, &uso);
            return uso.ru_maxrss;
        }()
                                              : -1;
        (void)!::write(canal[1], &pico, sizeof pico);
        ::_exit(0);
    }
    ::close(canal[1]);
    long pico = -1;
    (void)!::read(canal[0], &pico, sizeof pico);
    ::close(canal[0]);
    ::waitpid(pid, nullptr, 0);
    return pico;
}
} // namespace

// Rows recorded at every cycle of a long run cost an experiment no more
// memory than the single run they replay (whose summary is written as it goes).
TEST_F(KeldoRun, ExperimentoLongoNaoGuardaAsLinhasNaMemoria) {
    if (KELDO_SANITIZADO)
        GTEST_SKIP() << "com AddressSanitizer, limites de memória e picos não dizem nada";
    const std::vector<std::string> mundo = {
        "--seed", "1", "--set", "numIndividuos=1", "--set", "qtdAlimento=0", "--cycles", "200000"};
    const long sozinha = picoDeMemoria([&] { return rodar(com(mundo, {})); });
    const long experimento = picoDeMemoria([&] {
        return rodar(com(com({"--experiment"}, mundo), {"--every", "1", "--table", "t.csv"}));
    });
    // Resumed, those rows are read again from the earlier table when their
    // turn comes, never all at once. (Measured before this process reads a
    // table: a child's peak starts from its parent's.)
    const long retomado = picoDeMemoria([&] {
        return rodar(com(com({"--experiment"}, mundo),
                         {"--every", "1", "--resume", "t.csv", "--table", "r.csv"}));
    });
    ASSERT_GT(sozinha, 0);
    ASSERT_GT(experimento, 0);
    ASSERT_GT(retomado, 0);
    EXPECT_GT(ler("t.csv").size(), 40u * 1024 * 1024 / 2); // rows many times the memory's share
    EXPECT_LT(experimento, 2 * sozinha) << experimento << " KiB against " << sozinha;
    EXPECT_EQ(ler("r.csv"), ler("t.csv"));
    EXPECT_LT(retomado, 2 * sozinha) << retomado << " KiB against " << sozinha;
}

// A run counts the project's dead without keeping them: the table's figures
// (the dead's number among them) are the single run's.
TEST_F(KeldoRun, ExperimentoDeProjetoComMortosContaOsMortos) {
    ASSERT_EQ(
        rodar({"--seed", "5", "--set", "numIndividuos=60", "--cycles", "60", "--save", "p.gen"})
            .status,
        0);
    const Saida e = rodar({"--experiment", "--seed", "5", "p.gen", "--cycles", "4"});
    ASSERT_EQ(e.status, 0) << e.err;
    const auto c = campos(linhas(e.out)[2]);
    const Saida s = rodar({"--seed", c[2], "p.gen", "--cycles", "4", "--summary", "-"});
    ASSERT_EQ(s.status, 0) << s.err;
    const std::string ultima = linhas(s.out).back();
    EXPECT_GT(std::stoi(campos(ultima)[3]), 0) << ultima; // dead there are
    EXPECT_EQ(
        linhas(e.out)[2].substr(c[0].size() + c[1].size() + c[2].size() + 3).rfind(ultima + ';', 0),
        0u);
}

namespace {
// The rows of a table as maps from its header's names to their fields.
std::vector<std::map<std::string, std::string>> registros(const std::string& texto) {
    const auto t = linhas(texto);
    std::vector<std::map<std::string, std::string>> r;
    if (t.empty())
        return r;
    const auto nomes = campos(t[0]);
    for (size_t i = 1; i < t.size(); ++i) {
        auto c = campos(t[i]);
        c.resize(nomes.size()); // an empty last field
        std::map<std::string, std::string> m;
        for (size_t j = 0; j < nomes.size(); ++j)
            m[nomes[j]] = c[j];
        r.push_back(m);
    }
    return r;
}
} // namespace

// Every --until counts, the first met ends the run, and its last row says
// which (in the order given when two hold at once); the others say nothing.
TEST_F(KeldoRun, ParadasCombinadasDizemPorQueCadaExecucaoTerminou) {
    // One individual carries at most two of the four V alleles: lost at the start.
    Saida s = rodar({"--experiment", "--seed", "3", "--cycles", "50", "--replicates", "6", "--set",
                     "numIndividuos=1", "--until", "perda:V1", "--until", "perda:V2", "--until",
                     "perda:V3", "--until", "perda:V4"});
    ASSERT_EQ(s.status, 0) << s.err;
    auto r = registros(s.out);
    ASSERT_EQ(r.size(), 6u);
    for (const auto& l : r) {
        EXPECT_EQ(l.at("tempo"), "0");
        std::string primeira;
        for (const char* a : {"V1", "V2", "V3", "V4"})
            if (primeira.empty() && l.at(std::string("n_") + a) == "0")
                primeira = std::string("perda:") + a;
        EXPECT_EQ(l.at("parada"), primeira);
    }

    // The small letter is lost when every copy is the capital.
    s = rodar({"--experiment", "--seed", "3", "--cycles", "0", "--replicates", "12", "--set",
               "numIndividuos=1", "--until", "perda:r"});
    ASSERT_EQ(s.status, 0) << s.err;
    std::set<std::string> vistas;
    for (const auto& l : registros(s.out)) {
        EXPECT_EQ(l.at("parada"), l.at("n_R") == "2" ? "perda:r" : "ciclos");
        vistas.insert(l.at("parada"));
    }
    EXPECT_EQ(vistas.size(), 2u);

    // Starving: the adults die before the eggs; extinction implies no adults.
    s = rodar({"--experiment", "--seed", "2", "--cycles", "2000", "--every", "1", "--set",
               "numIndividuos=10", "--set", "qtdAlimento=0", "--until", "sem-adultos", "--until",
               "extincao"});
    ASSERT_EQ(s.status, 0) << s.err;
    r = registros(s.out);
    ASSERT_GT(r.size(), 2u);
    EXPECT_EQ(r.back().at("adultos"), "0");
    EXPECT_EQ(r.back().at("parada"), "sem-adultos");
    for (size_t i = 0; i + 1 < r.size(); ++i) {
        EXPECT_NE(r[i].at("adultos"), "0");
        EXPECT_EQ(r[i].at("parada"), "");
    }
    s = rodar({"--experiment", "--seed", "2", "--cycles", "2000", "--set", "numIndividuos=10",
               "--set", "qtdAlimento=0", "--until", "geracao:1000", "--until", "extincao"});
    ASSERT_EQ(s.status, 0) << s.err;
    r = registros(s.out);
    EXPECT_EQ(r.back().at("parada"), "extincao");
    EXPECT_EQ(r.back().at("adultos") + r.back().at("ovos"), "00");
}

// --every geracao: the starting state, the first cycle of each new
// generation and the last, each the single run's summary line of that cycle.
TEST_F(KeldoRun, EveryGeracaoGravaOPrimeiroCicloDeCadaGeracao) {
    const Saida e = rodar({"--experiment", "--seed", "2", "--cycles", "300", "--every", "geracao"});
    ASSERT_EQ(e.status, 0) << e.err;
    const auto t = linhas(e.out);
    const auto c = campos(t.at(1));
    const Saida s = rodar({"--seed", c[2], "--cycles", "300", "--summary", "-"});
    ASSERT_EQ(s.status, 0) << s.err;
    const auto resumo = linhas(s.out);
    ASSERT_EQ(resumo.size(), 302u);
    std::vector<std::string> esperadas = {resumo[1]};
    for (size_t i = 2; i < resumo.size(); ++i)
        if (campos(resumo[i])[4] != campos(esperadas.back())[4] || i + 1 == resumo.size())
            esperadas.push_back(resumo[i]);
    ASSERT_GT(esperadas.size(), 2u); // generations there were
    ASSERT_EQ(t.size(), 1 + esperadas.size());
    for (size_t i = 0; i < esperadas.size(); ++i)
        EXPECT_EQ(t[i + 1]
                      .substr(c[0].size() + c[1].size() + c[2].size() + 3)
                      .rfind(esperadas[i] + ';', 0),
                  0u)
            << t[i + 1];
    EXPECT_EQ(rodar({"--experiment", "--every", "geracoes"}).status, 2);
}

// Each allele's count is its frequency times what it is counted over.
TEST_F(KeldoRun, ContagensSaoAFrequenciaVezesABase) {
    const Saida s = rodar(com(base, {"--replicates", "3", "--every", "3", "--cycles", "30"}));
    ASSERT_EQ(s.status, 0) << s.err;
    const auto r = registros(s.out);
    ASSERT_EQ(r.size(), 3u * 11);
    for (const auto& l : r) {
        const double copias = 2.0 * (std::stoi(l.at("adultos")) + std::stoi(l.at("ovos")));
        long v = 0;
        for (const char* a : {"V1", "V2", "V3", "V4", "R", "P", "L", "M", "I1", "I4", "N"}) {
            const long n = std::stol(l.at(std::string("n_") + a));
            EXPECT_NEAR(n / copias, std::stod(l.at(a)), 0.00005) << a;
            v += a[0] == 'V' ? n : 0;
        }
        EXPECT_EQ(v, static_cast<long>(copias));
        for (const char* a : {"D", "C"})
            EXPECT_EQ(l.at(a) == "NA" || l.at(a) == "0.0000", l.at(std::string("n_") + a) == "0")
                << a;
    }
}

// A run's seed comes from its combination and replicate, not its number:
// more replicates or values leave every earlier run's rows as they were
// (but for the fingerprint and the number), in whatever order --vary came.
TEST_F(KeldoRun, MaisReplicasEValoresMantemAsExecucoesAnteriores) {
    const auto depoisDoNumero = [](const std::string& linha) {
        return linha.substr(linha.find(';', linha.find(';') + 1));
    };
    const Saida antes = rodar(com(base, {"--every", "6", "--replicates", "2", "--vary",
                                         "morte_mm=0,40", "--vary", "taxaMutacao=10"}));
    const Saida depois = rodar(com(base, {"--every", "6", "--replicates", "3", "--vary",
                                          "morte_mm=0,40,80", "--vary", "taxaMutacao=10"}));
    const Saida trocada = rodar(com(base, {"--every", "6", "--replicates", "2", "--vary",
                                           "taxaMutacao=10", "--vary", "morte_mm=0,40"}));
    ASSERT_EQ(antes.status, 0) << antes.err;
    ASSERT_EQ(depois.status, 0) << depois.err;
    ASSERT_EQ(trocada.status, 0) << trocada.err;
    const auto a = linhas(antes.out), d = linhas(depois.out), t = linhas(trocada.out);
    ASSERT_EQ(a.size(), 1u + 4 * 3);
    ASSERT_EQ(d.size(), 1u + 9 * 3);
    std::set<std::string> sementes;
    for (size_t i = 1; i < a.size(); ++i) {
        const size_t run = (i - 1) / 3, combinacao = run / 2, replica = run % 2;
        const size_t j = 1 + (combinacao * 3 + replica) * 3 + (i - 1) % 3;
        EXPECT_EQ(depoisDoNumero(a[i]), depoisDoNumero(d[j])) << i;
        const auto c = campos(t[i]);
        EXPECT_EQ(c[2], campos(a[i])[2]) << i; // the seed
        sementes.insert(c[2]);
    }
    EXPECT_EQ(sementes.size(), 4u);
}

// A parameter both set and varied is named in a warning; the list wins.
TEST_F(KeldoRun, SetEVaryDoMesmoParametroAvisam) {
    const Saida s = rodar(com(base, {"--set", "morte_mm=10", "--set", "morte_mm=20", "--vary",
                                     "morte_mm=0,50", "--vary", "taxaMutacao=10"}));
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(contar(s.err, "aviso: --set morte_mm e --vary morte_mm"), 1u) << s.err;
    EXPECT_EQ(s.err.find("taxaMutacao"), std::string::npos) << s.err;
    EXPECT_EQ(campos(linhas(s.out).back())[3], "50");
}

namespace {
// The lines of a text that start with `inicio`.
std::vector<std::string> comecamCom(const std::string& texto, const std::string& inicio) {
    std::vector<std::string> r;
    for (const std::string& l : linhas(texto))
        if (l.rfind(inicio, 0) == 0)
            r.push_back(l);
    return r;
}
} // namespace

// Beside the table, TABELA.json says what made it, key by key, and how each
// run ended; with the table on standard output, --record names it.
TEST_F(KeldoRun, RegistroAoLadoDaTabelaDizOQueAFez) {
    const auto args = com(base, {"--replicates", "2", "--vary", "morte_mm=0,40", "--every", "5",
                                 "--until", "extincao", "--until", "perda:V1"});
    const Saida s = rodar(com(args, {"--table", "t.csv"}));
    ASSERT_EQ(s.status, 0) << s.err;
    const std::string r = ler("t.csv.json");
    const auto t = registros(ler("t.csv"));
    ASSERT_FALSE(t.empty());
    for (const std::string& chave :
         {std::string("  \"versao\": \""),
          std::string("  \"comando\": [\"keldo-run\", "
                      "\"--experiment\", \"--seed\", \"9\""),
          std::string("  \"semente\": 9,"),
          "  \"experimento\": \"" + t[0].at("experimento") + "\",",
          std::string("  \"projeto\": null,"), std::string("  \"ciclos\": 12,"),
          std::string("  \"cada\": 5,"), std::string("  \"ate\": [\"extincao\", \"perda:V1\"],"),
          std::string("  \"replicas\": 2,"),
          std::string("  \"variados\": [{\"nome\": \"morte_mm\", \"valores\": [\"0\", \"40\"]}],"),
          std::string("  \"definidos\": {\"numIndividuos\": \"30\", \"qtdAlimento\": \"15\"},"),
          std::string("    \"numIndividuos\": \"30\","),
          std::string("    \"energiaMin\": \"200\","), std::string("  \"execucoes\": [")})
        EXPECT_EQ(comecamCom(r, chave).size(), 1u) << chave << '\n' << r;
    EXPECT_NE(r.find("\"--table\", \"t.csv\"]"), std::string::npos);
    // One line per run: its combination, replicate and seed as in the table,
    // its ending and last cycle as its last row says.
    const auto execucoes = comecamCom(r, "    {\"execucao\": ");
    ASSERT_EQ(execucoes.size(), 4u);
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].at("parada").empty())
            continue;
        const int k = std::stoi(t[i].at("execucao"));
        const std::string esperada =
            "    {\"execucao\": " + std::to_string(k) + ", \"combinacao\": {\"morte_mm\": \"" +
            t[i].at("morte_mm") + "\"}, \"replica\": " + std::to_string((k - 1) % 2 + 1) +
            ", \"semente\": " + t[i].at("semente") + ", \"estado\": \"completa\", \"parada\": \"" +
            t[i].at("parada") + "\", \"ultimo_ciclo\": " + t[i].at("tempo") + "}";
        EXPECT_EQ(execucoes.at(static_cast<size_t>(k - 1)).rfind(esperada, 0), 0u)
            << execucoes[static_cast<size_t>(k - 1)] << "\n"
            << esperada;
    }
    EXPECT_EQ(r.substr(r.size() - 8), "}\n  ]\n}\n");

    // Standard output: only with --record; never over the table or the project.
    ASSERT_EQ(rodar(com(args, {"--record", "r.json"})).status, 0);
    EXPECT_EQ(ler("r.json").substr(ler("r.json").find("\"semente\"")),
              r.substr(r.find("\"semente\"")));
    EXPECT_EQ(rodar(com(args, {"--table", "u.csv", "--record", "u.csv"})).status, 2);
    EXPECT_FALSE(existe("u.csv"));
    std::filesystem::remove(pasta / "t.csv.json");
    std::filesystem::remove(pasta / "t.csv");
    std::filesystem::remove(pasta / "r.json");
    ASSERT_EQ(rodar(args).status, 0);
    EXPECT_EQ(arquivos().size(), 0u);

    // A task's record names it; a project is named as given; --every geracao is a text.
    ASSERT_EQ(
        rodar({"--seed", "9", "--set", "numIndividuos=20", "--cycles", "3", "--save", "p.gen"})
            .status,
        0);
    ASSERT_EQ(rodar({"--experiment", "--seed", "9", "--cycles", "4", "--every", "geracao",
                     "--replicates", "3", "--task", "1/2", "p.gen", "--table", "p.csv"})
                  .status,
              0);
    const std::string tarefa = ler("p.csv.json");
    for (const char* chave :
         {"  \"tarefa\": \"1/2\",", "  \"projeto\": \"p.gen\",", "  \"cada\": \"geracao\","})
        EXPECT_EQ(comecamCom(tarefa, chave).size(), 1u) << chave << '\n' << tarefa;
    EXPECT_EQ(comecamCom(tarefa, "    {\"execucao\": ").size(), 2u) << tarefa; // runs 1 and 3
}

// --vary-together: the lists step together, one combination per position,
// as one axis among the others; each row still replays alone.
TEST_F(KeldoRun, VaryTogetherVariaEmPasso) {
    const Saida s =
        rodar(com(base, {"--vary-together", "morte_mm=0,40,80", "taxaMutacao=10:10:30", "--vary",
                         "qtdAlimento=15,20", "--replicates", "2", "--table", "t.csv"}));
    ASSERT_EQ(s.status, 0) << s.err;
    const auto r = registros(ler("t.csv"));
    ASSERT_EQ(r.size(), 3u * 2 * 2 * 2); // cycle 0 and the last of 12 runs
    EXPECT_EQ(linhas(ler("t.csv"))[0].rfind(
                  "experimento;execucao;semente;morte_mm;taxaMutacao;qtdAlimento;tempo;", 0),
              0u);
    for (const auto& l : r) {
        const int k = std::stoi(l.at("execucao"));
        EXPECT_EQ(l.at("morte_mm"), std::to_string((k - 1) / 4 * 40)) << k;
        EXPECT_EQ(l.at("taxaMutacao"), std::to_string((k - 1) / 4 * 10 + 10)) << k;
        EXPECT_EQ(l.at("qtdAlimento"), (k - 1) / 2 % 2 == 0 ? "15" : "20") << k;
    }
    const auto& ultima = r.back();
    const Saida sozinha = rodar({"--seed", ultima.at("semente"), "--set", "numIndividuos=30",
                                 "--set", "qtdAlimento=20", "--set", "morte_mm=80", "--set",
                                 "taxaMutacao=30", "--cycles", "12", "--summary", "-"});
    ASSERT_EQ(sozinha.status, 0) << sozinha.err;
    const std::string linha = linhas(ler("t.csv")).back();
    EXPECT_NE(linha.find(";" + linhas(sozinha.out).back() + ";"), std::string::npos) << linha;
    EXPECT_NE(ler("t.csv.json")
                  .find("{\"nome\": \"morte_mm\", \"valores\": [\"0\", \"40\", "
                        "\"80\"], \"junto_com\": [\"taxaMutacao\"]}"),
              std::string::npos);

    for (const std::vector<std::string>& ruim : std::vector<std::vector<std::string>>{
             {"--vary-together", "morte_mm=0,40", "taxaMutacao=10,20,30"},
             {"--vary-together", "morte_mm=0,40"},
             {"--vary-together", "morte_mm=0,40", "morte_mm=1,2"},
             {"--vary", "morte_mm=5", "--vary-together", "morte_mm=0,40", "taxaMutacao=1,2"}}) {
        const Saida e = rodar(com(base, ruim));
        EXPECT_EQ(e.status, 2) << ruim[1] << '\n' << e.err;
        EXPECT_EQ(e.out, "");
    }
}
