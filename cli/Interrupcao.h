#pragma once

namespace keldo::cli {

// Ctrl+C during an experiment: the first SIGINT (or SIGTERM) only raises a
// flag that the runs look at between cycles, so the table can still be
// closed with whole runs only.
void instalarInterrupcao();
bool interrompido();

} // namespace keldo::cli
