#pragma once

namespace keldo::sim {

// The version of the programs ("1.1.106"): the CMake project version, the one
// number `--version` of every program and the Debian package show.
const char* versaoKeldo();

} // namespace keldo::sim
