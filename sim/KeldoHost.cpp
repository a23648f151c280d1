#include "sim/KeldoHost.h"
#include <chrono>

namespace keldo::sim {

uint32_t KeldoHost::contadorTicks() const {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace keldo::sim
