#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace keldo::cli {

// keldo-run --merge OUT FILE...: joins the tables of the tasks of one
// experiment into the table one machine would have written, byte for byte.
// Refuses tables of different experiments (headers or fingerprints that
// differ) and a run missing or present twice. `argumentos`: OUT, then the
// tables. Returns the exit status.
int mesclarTabelas(const std::vector<std::string>& argumentos, std::ostream& erro);

} // namespace keldo::cli
