#pragma once
#include "cli/OpcoesExecucao.h"
#include <ostream>

namespace keldo::cli {

// keldo-run --experiment: every run of the sweep (or those of one --task),
// J at a time in threads, each over its own document, into one table and
// its record. A failed run leaves a line on standard error (and its rows up
// to the world limit or the error that broke it off); Ctrl+C leaves the
// whole runs only. Returns the exit status (130 when interrupted).
int executarExperimento(const OpcoesExecucao& opcoes, std::ostream& erro);

// The experiment's fingerprint: 8 hexadecimal digits of a hash of what
// determines its runs, a hyphen and the number of runs, which the merge
// needs. Canonical: the program's version, the project's content (not its
// path), every parameter of the base (`parametros`, by name, sorted; so the
// order of --set and a --set of a default value do not count), the seed,
// --new, --cycles, the lists, --every and --until; never --jobs, --task,
// --table or --record.
std::string impressaoDoExperimento(const OpcoesExecucao& opcoes, uint32_t semente,
                                   std::vector<std::pair<std::string, std::string>> parametros);

} // namespace keldo::cli
