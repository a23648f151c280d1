#include "sim/indices/BuscaVizinhos.h"
#include "sim/indices/BuscaIndexada.h"
#include "sim/indices/BuscaPorVarredura.h"

namespace keldo::indices {

std::unique_ptr<BuscaVizinhos>
BuscaVizinhos::criar(bool porVarredura, const ObstaculosNivel& obstaculos, const Rect& arena) {
    if (porVarredura)
        return std::make_unique<BuscaPorVarredura>(obstaculos, arena);
    return std::make_unique<BuscaIndexada>();
}

} // namespace keldo::indices
