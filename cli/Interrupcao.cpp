#include "cli/Interrupcao.h"
#include <atomic>
#include <csignal>

namespace keldo::cli {

namespace {
std::atomic<bool> pedido{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void aoInterromper(int) {
    pedido.store(true, std::memory_order_relaxed);
}
} // namespace

void instalarInterrupcao() {
    std::signal(SIGINT, aoInterromper);
    std::signal(SIGTERM, aoInterromper);
}

bool interrompido() {
    return pedido.load(std::memory_order_relaxed);
}

} // namespace keldo::cli
