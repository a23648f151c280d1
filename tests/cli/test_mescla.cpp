// The parts of an experiment and their merge: each part's record lets the
// merge refuse rows it cannot vouch for, and an interrupted experiment never
// replaces a whole table.
#include "ApoioKeldoRun.h"
#include <csignal>
#include <fcntl.h>
#include <sstream>
#include <thread>

namespace {
const std::vector<std::string> base = {
    "--experiment", "--seed",           "9",     "--cycles",       "13",           "--every", "4",
    "--set",        "numIndividuos=30", "--set", "qtdAlimento=15", "--replicates", "5"};

std::vector<std::string> com(std::vector<std::string> args, const std::vector<std::string>& mais) {
    args.insert(args.end(), mais.begin(), mais.end());
    return args;
}

std::vector<std::string> linhasDe(const std::string& texto) {
    std::vector<std::string> r;
    std::stringstream s(texto);
    for (std::string l; std::getline(s, l);)
        r.push_back(l + "\n");
    return r;
}

std::string semComando(std::string registro) {
    const size_t inicio = registro.find("  \"comando\": ");
    return inicio == std::string::npos
               ? registro
               : registro.erase(inicio, registro.find('\n', inicio) - inicio);
}

std::string juntar(const std::vector<std::string>& linhas) {
    std::string t;
    for (const std::string& l : linhas)
        t += l;
    return t;
}

// Whether process `pid` has a handler for SIGINT (SigCgt in /proc).
bool trataSigint(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    for (std::string linha; std::getline(f, linha);)
        if (linha.rfind("SigCgt:", 0) == 0)
            return (std::stoull(linha.substr(7), nullptr, 16) >> (SIGINT - 1)) & 1;
    return false;
}
} // namespace

class Mescla : public KeldoRun {
  protected:
    void SetUp() override {
        KeldoRun::SetUp();
        for (const char* t : {"0", "1", "2"})
            ASSERT_EQ(rodar(com(base, {"--task", std::string(t) + "/3", "--table",
                                       std::string("parte") + t + ".csv"}))
                          .status,
                      0);
    }

    // Merges tables parte0 and parte1 with `parte2` as the third one's text.
    Saida mesclarCom(const std::string& parte2) {
        escrever("p2.csv", parte2);
        return rodar({"--merge", "m.csv", "parte0.csv", "parte1.csv", "p2.csv"});
    }
};

// Part 2 holds runs 2 and 5. Every change to its rows is named; the merge
// writes nothing.
TEST_F(Mescla, LinhasQueNaoConferemComORegistroSaoRecusadas) {
    ASSERT_EQ(rodar(com(base, {"--table", "toda.csv"})).status, 0);
    ASSERT_EQ(mesclarCom(ler("parte2.csv")).status, 0);
    EXPECT_EQ(ler("m.csv"), ler("toda.csv"));
    std::filesystem::remove(pasta / "m.csv");

    const std::vector<std::string> l = linhasDe(ler("parte2.csv"));
    // header, 5 rows of run 2 (cycles 0, 4, 8, 12, 13), 5 of run 5, the record.
    ASSERT_EQ(l.size(), 14u);
    ASSERT_EQ(l[11].rfind("#tarefa;2/3;execucoes;2", 0), 0u) << l[11];
    auto sem = [&](size_t i) {
        std::vector<std::string> r = l;
        r.erase(r.begin() + static_cast<long>(i));
        return r;
    };
    std::vector<std::string> trocada = l, editada = l, dobrada = l;
    std::swap(trocada[7], trocada[8]);
    editada[3].replace(editada[3].find(";30;"), 4, ";31;");
    dobrada.insert(dobrada.begin() + 2, dobrada[2]);
    std::vector<std::string> semUltima = l;
    semUltima.erase(semUltima.begin() + 13);
    semUltima.erase(semUltima.begin() + 6, semUltima.begin() + 11);
    struct Caso {
        const char* nome;
        std::string texto;
        const char* motivo;
    };
    const std::vector<Caso> casos = {
        {"linha apagada", juntar(sem(3)), "execução 2 em p2.csv não conferem"},
        {"linha repetida", juntar(dobrada), "execução 2 em p2.csv não conferem"},
        {"linhas trocadas", juntar(trocada), "execução 5 em p2.csv não conferem"},
        {"linha editada", juntar(editada), "execução 2 em p2.csv não conferem"},
        {"última execução inteira", juntar(semUltima), "p2.csv não tem a execução 5"},
        {"só as linhas da última",
         juntar(std::vector<std::string>(l.begin(), l.begin() + 6)) + l[11] + l[12] + l[13],
         "execução 5 em p2.csv não conferem"},
        {"registro sem a última", juntar(sem(13)), "tem linhas da execução 5, que não está"},
        {"sem registro", juntar(std::vector<std::string>(l.begin(), l.begin() + 11)),
         "não traz o registro"},
        {"linha cortada", juntar(l).substr(0, juntar(l).size() - 3), "não é uma tabela"},
    };
    for (const Caso& c : casos) {
        const Saida s = mesclarCom(c.texto);
        EXPECT_EQ(s.status, 1) << c.nome;
        EXPECT_NE(s.err.find(c.motivo), std::string::npos) << c.nome << ": " << s.err;
        EXPECT_FALSE(existe("m.csv")) << c.nome;
    }
}

// The merged table never replaces one of its parts, by name or through a link.
TEST_F(Mescla, SaidaQueEhUmaDasPartesEhRecusada) {
    const std::string parte = ler("parte1.csv");
    std::filesystem::create_symlink("parte1.csv", pasta / "ligacao.csv");
    for (const char* saida : {"parte1.csv", "ligacao.csv"}) {
        const Saida s = rodar({"--merge", saida, "parte0.csv", "parte1.csv", "parte2.csv"});
        EXPECT_EQ(s.status, 2) << saida;
        EXPECT_NE(s.err.find("SAÍDA e TABELA indicam o mesmo arquivo"), std::string::npos) << s.err;
        EXPECT_EQ(ler("parte1.csv"), parte);
    }
}

// A run past the world-size limit keeps its rows, the last saying "limite",
// and exit status 1 on one machine; the merge of the parts writes the same
// bytes with the same status, and still checks the failed run's rows.
TEST_F(KeldoRun, ExecucaoNoLimiteDoMundoMesclaComoNumaMaquina) {
    const std::vector<std::string> args = {"--experiment",
                                           "--seed",
                                           "1",
                                           "--cycles",
                                           "7",
                                           "--vary",
                                           "qtdAlimento=20,2000",
                                           "--set",
                                           "numIndividuos=1000",
                                           "--set",
                                           "taxaReposicao=500",
                                           "--set",
                                           "energiaMin=500",
                                           "--set",
                                           "energiaMax=500"};
    const Saida toda = rodar(com(args, {"--table", "toda.csv"}));
    EXPECT_EQ(toda.status, 1);
    EXPECT_NE(toda.err.find("a execução 2 falhou"), std::string::npos) << toda.err;
    for (const char* t : {"0", "1"})
        EXPECT_EQ(rodar(com(args, {"--task", std::string(t) + "/2", "--table",
                                   std::string("parte") + t + ".csv"}))
                      .status,
                  std::string(t) == "0" ? 1 : 0);
    const std::string parte0 = ler("parte0.csv");
    EXPECT_NE(parte0.find("#execucao;2;linhas;2;soma;"), std::string::npos) << parte0;
    EXPECT_NE(parte0.find(";falhou\n"), std::string::npos) << parte0;
    EXPECT_NE(parte0.find(";limite\n#tarefa"), std::string::npos) << parte0;
    const Saida m = rodar({"--merge", "m.csv", "parte1.csv", "parte0.csv"});
    EXPECT_EQ(m.status, 1);
    EXPECT_NE(m.err.find("a execução 2 falhou"), std::string::npos) << m.err;
    EXPECT_EQ(ler("m.csv"), ler("toda.csv"));
    // The records too, but for the command line; the failed run says why.
    const std::string registro = ler("toda.csv.json");
    EXPECT_EQ(semComando(ler("m.csv.json")), semComando(registro));
    EXPECT_NE(registro.find("\"execucao\": 2, \"combinacao\": {\"qtdAlimento\": \"2000\"}, "
                            "\"replica\": 1, "),
              std::string::npos)
        << registro;
    EXPECT_NE(registro.find("\"estado\": \"falhou\", \"parada\": \"limite\", "
                            "\"ultimo_ciclo\": "),
              std::string::npos)
        << registro;
    EXPECT_NE(registro.find("\"erro\": \"O mundo atingiu o limite"), std::string::npos);
    std::filesystem::remove(pasta / "m.csv");

    // The failed run's rows are vouched for like any other's.
    std::string editada = parte0;
    editada.replace(editada.find(";limite\n"), 8, ";ciclos\n");
    escrever("p0.csv", editada);
    const Saida e = rodar({"--merge", "m.csv", "parte1.csv", "p0.csv"});
    EXPECT_EQ(e.status, 1);
    EXPECT_NE(e.err.find("execução 2 em p0.csv não conferem"), std::string::npos) << e.err;
    EXPECT_FALSE(existe("m.csv"));
}

// A run that breaks off with an error keeps the rows it recorded, the last
// saying "erro", and its record entry the message; exit status 1. The other
// runs are the bytes they would be without it, on one machine or merged
// from tasks; resumed, the broken run runs again.
TEST_F(KeldoRun, ExecucaoQueQuebraGuardaAsLinhasEDizErro) {
    const std::vector<std::string> args = {"--experiment",
                                           "--seed",
                                           "9",
                                           "--cycles",
                                           "12",
                                           "--every",
                                           "4",
                                           "--set",
                                           "numIndividuos=30",
                                           "--replicates",
                                           "3",
                                           "--vary",
                                           "morte_mm=0,40"};
    const std::string quebra = "KELDO_RUN_FALHA_DE_TESTE=4:6";
    ASSERT_EQ(rodar(com(args, {"--table", "sem.csv"})).status, 0);
    const Saida s = rodarComFalhas(quebra, com(args, {"--table", "com.csv"}));
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("keldo-run: a execução 4 falhou: falha provocada no ciclo 6\n"),
              std::string::npos)
        << s.err;
    // Run 4's rows up to cycle 4, the last one ending in "erro"; every other row as it was.
    std::string esperada;
    for (const std::string& l : linhasDe(ler("sem.csv"))) {
        std::vector<std::string> c;
        std::stringstream campos(l);
        for (std::string campo; std::getline(campos, campo, ';');)
            c.push_back(campo);
        if (c.at(1) != "4")
            esperada += l;
        else if (c.at(4) == "0")
            esperada += l;
        else if (c.at(4) == "4")
            esperada += l.substr(0, l.size() - 1) + "erro\n";
    }
    EXPECT_EQ(ler("com.csv"), esperada);
    const std::string registro = ler("com.csv.json");
    EXPECT_NE(registro.find("    {\"execucao\": 4, \"combinacao\": {\"morte_mm\": \"40\"}, "
                            "\"replica\": 1, "),
              std::string::npos)
        << registro;
    EXPECT_NE(registro.find(", \"estado\": \"falhou\", \"parada\": \"erro\", \"ultimo_ciclo\": 4, "
                            "\"erro\": \"falha provocada no ciclo 6\"}"),
              std::string::npos)
        << registro;
    // Every other entry as it was.
    const auto entradas = [](const std::string& r) {
        std::vector<std::string> e;
        for (const std::string& l : linhasDe(r))
            if (l.rfind("    {\"execucao\": ", 0) == 0 && l.rfind("    {\"execucao\": 4,", 0) != 0)
                e.push_back(l);
        return e;
    };
    EXPECT_EQ(entradas(registro), entradas(ler("sem.csv.json")));

    // The tasks' merge: the same table, record and status.
    for (const char* t : {"0", "1"})
        EXPECT_EQ(rodarComFalhas(quebra, com(args, {"--task", std::string(t) + "/2", "--table",
                                                    std::string("parte") + t + ".csv"}))
                      .status,
                  std::string(t) == "0" ? 1 : 0);
    const Saida m = rodar({"--merge", "m.csv", "parte0.csv", "parte1.csv"});
    EXPECT_EQ(m.status, 1);
    EXPECT_NE(m.err.find("a execução 4 falhou"), std::string::npos) << m.err;
    EXPECT_EQ(ler("m.csv"), ler("com.csv"));
    EXPECT_EQ(semComando(ler("m.csv.json")), semComando(registro));

    // Resumed without the failure: run 4 again, and the table of a run without it.
    const Saida r = rodar(com(args, {"--resume", "com.csv", "--table", "r.csv"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("keldo-run: 6 execuções (5 de com.csv), "), std::string::npos) << r.err;
    EXPECT_EQ(ler("r.csv"), ler("sem.csv"));
    EXPECT_EQ(semComando(ler("r.csv.json")), semComando(ler("sem.csv.json")));
}

// Ctrl+C during a new run of an experiment: the whole earlier table stays,
// the finished runs go to a partial table that says so and that no merge takes.
TEST_F(KeldoRun, InterrupcaoNaoSubstituiATabelaInteira) {
    escrever("t.csv", "a tabela inteira de antes\n");
    escrever("t.parcial.csv", "uma parcial de antes\n");
    const std::vector<std::string> longo = {"--experiment",
                                            "--seed",
                                            "4",
                                            "--cycles",
                                            "100000",
                                            "--replicates",
                                            "1000",
                                            "--jobs",
                                            "1",
                                            "--set",
                                            "numIndividuos=1000",
                                            "--set",
                                            "qtdAlimento=200",
                                            "--task",
                                            "0/1",
                                            "--table",
                                            "t.csv"};
    const pid_t pid = iniciar(longo);
    ASSERT_GT(pid, 0);
    // Once the handler is in place the stop is deterministic, whatever the speed.
    while (!trataSigint(pid))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ::kill(pid, SIGINT);
    int w = 0;
    ::waitpid(pid, &w, 0);
    ASSERT_TRUE(WIFEXITED(w));
    EXPECT_EQ(WEXITSTATUS(w), 130);
    EXPECT_EQ(ler("t.csv"), "a tabela inteira de antes\n");
    EXPECT_EQ(ler("t.parcial.csv"), "uma parcial de antes\n");
    const std::string parcial = ler("t.parcial-2.csv");
    EXPECT_EQ(parcial.rfind("experimento;execucao;semente;", 0), 0u) << parcial;
    EXPECT_NE(parcial.find("\n#parcial;interrompido com "), std::string::npos) << parcial;
    const Saida m = rodar({"--merge", "m.csv", "t.parcial-2.csv"});
    EXPECT_EQ(m.status, 1);
    EXPECT_NE(m.err.find("é uma tabela parcial"), std::string::npos) << m.err;
}

// A part that cannot be read is named, with the system's reason.
TEST_F(KeldoRun, ParteIlegivelENomeadaComOMotivo) {
    std::filesystem::create_directory(pasta / "pasta.csv");
    Saida s = rodar({"--merge", "m.csv", "pasta.csv"});
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("não foi possível ler pasta.csv: Is a directory"), std::string::npos)
        << s.err;
    s = rodar({"--merge", "m.csv", "nenhuma.csv"});
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("nenhuma.csv: No such file or directory"), std::string::npos) << s.err;
    EXPECT_FALSE(existe("m.csv"));
}

// The fingerprint is the experiment's, not its command line's: parts made
// from a copy of the project elsewhere, with the --set options in another
// order, merge into the table of one machine.
TEST_F(KeldoRun, PartesDeUmProjetoCopiadoSeJuntam) {
    ASSERT_EQ(
        rodar({"--seed", "3", "--set", "numIndividuos=20", "--cycles", "5", "--save", "p.gen"})
            .status,
        0);
    std::filesystem::create_directory(pasta / "copia");
    std::filesystem::copy_file(pasta / "p.gen", pasta / "copia" / "p.gen");
    const std::vector<std::string> comum = {
        "--experiment", "--seed", "4",      "--cycles",     "6", "--every", "3",
        "--replicates", "3",      "--vary", "morte_mm=0,40"};
    const std::vector<std::string> sets = {"--set", "qtdAlimento=15", "--set", "taxaMutacao=20"};
    const std::vector<std::string> trocados = {"--set", "taxaMutacao=20", "--set",
                                               "qtdAlimento=15"};
    ASSERT_EQ(rodar(com(com(com(comum, sets), {"p.gen"}), {"--table", "toda.csv"})).status, 0);
    ASSERT_EQ(
        rodar(com(com(com(comum, sets), {"p.gen"}), {"--task", "0/2", "--table", "a.csv"})).status,
        0);
    ASSERT_EQ(rodar(com(com(com(comum, trocados), {"copia/p.gen"}),
                        {"--task", "1/2", "--table", "b.csv"}))
                  .status,
              0);
    const Saida m = rodar({"--merge", "m.csv", "a.csv", "b.csv"});
    ASSERT_EQ(m.status, 0) << m.err;
    EXPECT_EQ(ler("m.csv"), ler("toda.csv"));

    // A different base is another experiment.
    ASSERT_EQ(rodar(com(com(com(comum, {"--set", "qtdAlimento=16", "--set", "taxaMutacao=20"}),
                            {"p.gen"}),
                        {"--task", "1/2", "--table", "c.csv"}))
                  .status,
              0);
    const Saida outra = rodar({"--merge", "n.csv", "a.csv", "c.csv"});
    EXPECT_EQ(outra.status, 1);
    EXPECT_NE(outra.err.find("outro experimento"), std::string::npos) << outra.err;
}

namespace {
std::vector<std::string> linhasDaTabela(const std::string& texto) {
    return linhasDe(texto);
}
} // namespace

// --resume keeps the whole runs of an earlier table and runs the others:
// the table and record are those of one uninterrupted run. A run cut short
// runs again; more replicates or values extend a finished study; a table of
// another experiment is refused before any run.
TEST_F(KeldoRun, ResumeDaATabelaDeUmaExecucaoSemInterrupcao) {
    const std::vector<std::string> args = {
        "--experiment", "--seed",           "6",      "--cycles",      "9",       "--every",    "4",
        "--set",        "numIndividuos=25", "--vary", "morte_mm=0,40", "--until", "sem-adultos"};
    ASSERT_EQ(rodar(com(args, {"--replicates", "3", "--table", "toda.csv"})).status, 0);
    // Runs 1 and 2 whole, run 3 cut after its first row, as an interruption leaves them.
    const auto t = linhasDaTabela(ler("toda.csv"));
    std::string parcial = t[0];
    size_t i = 1;
    for (; i < t.size() && t[i].find(";3;") == std::string::npos; ++i)
        parcial += t[i];
    escrever("t.parcial.csv", parcial + t[i] +
                                  "#parcial;interrompido com 2 de 6 execuções "
                                  "completas\n");
    Saida s =
        rodar(com(args, {"--replicates", "3", "--resume", "t.parcial.csv", "--table", "t.csv"}));
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(ler("t.csv"), ler("toda.csv"));
    EXPECT_EQ(semComando(ler("t.csv.json")), semComando(ler("toda.csv.json")));

    // A finished study of 2 replicates and one value, extended in place.
    ASSERT_EQ(rodar(com(args, {"--replicates", "2", "--table", "e.csv"})).status, 0);
    s = rodar(com(args, {"--replicates", "3", "--resume", "e.csv", "--table", "e.csv"}));
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(ler("e.csv"), ler("toda.csv"));

    // Another base, or an earlier table without the record that would say so.
    s = rodar(com(args, {"--replicates", "3", "--set", "qtdAlimento=9", "--resume", "toda.csv",
                         "--table", "x.csv"}));
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("é de outro experimento"), std::string::npos) << s.err;
    std::filesystem::remove(pasta / "toda.csv.json");
    s = rodar(com(args, {"--replicates", "4", "--resume", "toda.csv", "--table", "x.csv"}));
    EXPECT_EQ(s.status, 1);
    EXPECT_NE(s.err.find("sem o registro"), std::string::npos) << s.err;
    EXPECT_FALSE(existe("x.csv"));
}

// After SIGTERM, the partial table resumed gives the uninterrupted table's bytes.
TEST_F(KeldoRun, ResumeDepoisDeSigterm) {
    const std::vector<std::string> args = {
        "--experiment", "--seed", "4",     "--cycles",         "200",     "--replicates", "300",
        "--jobs",       "1",      "--set", "numIndividuos=60", "--table", "t.csv"};
    const pid_t pid = iniciar(args);
    ASSERT_GT(pid, 0);
    // Some runs written to the table being made beside t.csv, then the signal.
    const auto escritos = [&] {
        uintmax_t n = 0;
        std::error_code e;
        for (const auto& f : std::filesystem::directory_iterator(pasta, e))
            n += std::filesystem::file_size(f.path(), e) == static_cast<uintmax_t>(-1)
                     ? 0
                     : std::filesystem::file_size(f.path(), e);
        return n;
    };
    int w = 0;
    while (escritos() < 8000 && ::waitpid(pid, &w, WNOHANG) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ::kill(pid, SIGTERM);
    ::waitpid(pid, &w, 0);
    if (!WIFEXITED(w) || WEXITSTATUS(w) != 130)
        GTEST_SKIP() << "the experiment ended before the signal";
    ASSERT_TRUE(existe("t.parcial.csv"));
    EXPECT_FALSE(existe("t.csv"));
    std::vector<std::string> retomar = args;
    retomar.back() = "r.csv";
    const Saida r = rodar(com(retomar, {"--resume", "t.parcial.csv"}));
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> inteira = args;
    inteira.back() = "u.csv";
    ASSERT_EQ(rodar(inteira).status, 0);
    EXPECT_EQ(ler("r.csv"), ler("u.csv"));
    EXPECT_LT(ler("t.parcial.csv").size(), ler("u.csv").size());
}
