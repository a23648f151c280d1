#include "sim/Versao.h"

// Only this file gets the definition, so a new version recompiles one file.
#ifndef KELDO_VERSAO
#error "KELDO_VERSAO is set from the CMake project version"
#endif

namespace keldo::sim {

const char* versaoKeldo() {
    return KELDO_VERSAO;
}

} // namespace keldo::sim
