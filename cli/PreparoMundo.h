#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace keldo::sim {
class CKeldoDoc;
} // namespace keldo::sim

namespace keldo::cli {

using keldo::sim::CKeldoDoc;

// What a world is made from; the same for a single run and for every run of
// an experiment, so that any run of an experiment replays alone.
struct OrigemMundo {
    std::optional<std::string> projeto;
    // With a project: a new world from its parameters instead of continuing it.
    bool novo = false;
    // --set NAME=VALUE in the order given, applied after the load.
    std::vector<std::pair<std::string, std::string>> definicoes;
};

// Empty `mensagem` when the world is ready; else what went wrong (UTF-8) and
// the exit status it deserves.
struct ResultadoPreparo {
    int codigo = 0;
    std::string mensagem;
};

// Loads or creates the world of `origem` in `doc` with this seed: the seed of
// the world creation, or, when a project is continued, the generator's state
// right after the load. The document is set up for a batch run.
ResultadoPreparo prepararMundo(CKeldoDoc& doc, const OrigemMundo& origem, uint32_t semente);

// A seed from the system's entropy source, for runs without --seed.
uint32_t sementeDaEntropia();

} // namespace keldo::cli
