#pragma once
#include "cli/OpcoesExecucao.h"
#include <ostream>

namespace keldo::cli {

// keldo-run --experiment: every run of the sweep (or those of one --task),
// J at a time in threads, each over its own document, into one table. A
// failed run leaves no rows and a line on standard error; Ctrl+C leaves the
// whole runs only. Returns the exit status (130 when interrupted).
int executarExperimento(const OpcoesExecucao& opcoes, std::ostream& erro);

// The experiment's fingerprint: 8 hexadecimal digits of a hash of what
// determines its runs (everything but --jobs, --task and --table), a hyphen
// and the number of runs, which the merge needs.
std::string impressaoDoExperimento(const OpcoesExecucao& opcoes, uint32_t semente);

} // namespace keldo::cli
