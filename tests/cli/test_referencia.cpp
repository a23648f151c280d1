// keldo-run --referencia: the whole run on the reference neighbour search
// (whole-list scans, obstacles rectangle by rectangle) writes the same bytes
// as the indexed search, on the benchmark worlds cut short.
#include "ApoioKeldoRun.h"
#include <string>
#include <vector>

namespace {
struct MundoBancada {
    const char* nome;
    const char* ciclos;
    std::vector<std::string> ajustes;
    bool comTrace;
};
} // namespace

TEST_F(KeldoRun, ReferenciaGravaOsMesmosBytesNosMundosDaBancada) {
    const std::vector<std::string> obstaculos = {"--set", "nivelObstaculos=30"};
    auto com = [&](const char* individuos, const char* alimento) {
        std::vector<std::string> a = {"--set", individuos, "--set", alimento};
        a.insert(a.end(), obstaculos.begin(), obstaculos.end());
        return a;
    };
    const MundoBancada mundos[] = {
        {"K1000", "80", com("numIndividuos=1000", "qtdAlimento=40"), true},
        {"K5000", "80", com("numIndividuos=1000", "qtdAlimento=60"), false},
        {"D", "500", {}, true},
        {"C", "20", com("numIndividuos=1000", "qtdAlimento=2000"), false}};
    for (const MundoBancada& m : mundos) {
        std::string saidas[2][3];
        for (int referencia = 0; referencia < 2; ++referencia) {
            std::vector<std::string> args = {"--seed", "1001", "--cycles", m.ciclos};
            args.insert(args.end(), m.ajustes.begin(), m.ajustes.end());
            args.insert(args.end(), {"--summary", "r.txt", "--save", "p.gen"});
            if (m.comTrace)
                args.insert(args.end(), {"--trace", "t.txt"});
            if (referencia)
                args.push_back("--referencia");
            const Saida s = rodar(args);
            ASSERT_EQ(s.status, 0) << m.nome << " " << s.err;
            saidas[referencia][0] = ler("r.txt");
            saidas[referencia][1] = ler("p.gen");
            saidas[referencia][2] = m.comTrace ? ler("t.txt") : std::string();
            for (const char* nome : {"r.txt", "p.gen", "t.txt"})
                std::filesystem::remove(caminho(nome));
        }
        EXPECT_GT(saidas[0][0].size(), 1000u) << m.nome;
        EXPECT_TRUE(saidas[0][0] == saidas[1][0]) << m.nome << ": resumo";
        EXPECT_TRUE(saidas[0][1] == saidas[1][1]) << m.nome << ": projeto";
        EXPECT_TRUE(saidas[0][2] == saidas[1][2]) << m.nome << ": trace";
    }
}

TEST_F(KeldoRun, ReferenciaNaAjudaESoNumaExecucao) {
    EXPECT_NE(rodar({"--help"}).out.find("--referencia"), std::string::npos);
    const Saida s = rodar({"--experiment", "--referencia", "--replicates", "2", "--cycles", "1"});
    EXPECT_EQ(s.status, 2) << s.err;
    EXPECT_NE(s.err.find("--referencia"), std::string::npos) << s.err;
}
