// The progress of an experiment where standard error is not a terminal (a
// log, a cluster's output file): whole lines, at most one per interval.
#include "cli/ProgressoExperimento.h"
#include <gtest/gtest.h>
#include <sstream>

using keldo::cli::ProgressoExperimento;

TEST(ProgressoExperimento, ForaDoTerminalUmaLinhaPorIntervalo) {
    std::ostringstream log;
    ProgressoExperimento cada(log, 3, false, std::chrono::seconds(0));
    for (int i = 0; i < 3; ++i)
        cada.avancar();
    cada.concluir();
    std::istringstream linhas(log.str());
    int n = 0;
    for (std::string l; std::getline(linhas, l); ++n)
        EXPECT_EQ(l.rfind("keldo-run: " + std::to_string(n + 1) +
                              "/3 execuções, 0:00:00 "
                              "decorridos, cerca de ",
                          0),
                  0u)
            << l;
    EXPECT_EQ(n, 3);
    EXPECT_EQ(log.str().find('\r'), std::string::npos);

    // Within the interval nothing but messages, each on its own line.
    std::ostringstream quieto;
    ProgressoExperimento raro(quieto, 3, false, std::chrono::hours(1));
    raro.avancar();
    raro.mensagem("keldo-run: a execução 2 falhou");
    raro.avancar();
    raro.concluir();
    EXPECT_EQ(quieto.str(), "keldo-run: a execução 2 falhou\n");
}
