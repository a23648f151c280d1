#include "cli/PreparoMundo.h"
#include "cli/ExecucaoLote.h"
#include "sim/CKeldoDoc.h"
#include "sim/ParametrosPorNome.h"
#include <new>
#include <random>

namespace keldo::cli {

using namespace keldo::sim;

namespace {
ResultadoPreparo aplicarDefinicoes(CKeldoDoc& doc, const OrigemMundo& origem) {
    SimulationParameters parametros = doc.parametros();
    for (const auto& [nome, valor] : origem.definicoes)
        if (definirParametroPorNome(parametros, nome, valor) != ResultadoDefinicao::ok)
            return {codigoSaida::erroUso, "valor inválido para " + nome};
    doc.definirParametros(parametros);
    const std::string inutilizavel = parametros.valorInutilizavel();
    if (!inutilizavel.empty())
        return {codigoSaida::erroUso, "valor recusado: " + inutilizavel};
    return {};
}

// Room for the living of a crowded world, taken at once: room never
// touched costs no memory, and a list that never has to move never holds
// two copies of itself. Where the system refuses it, the list grows as it goes.
void reservarVivos(CKeldoDoc& doc) {
    constexpr size_t lugares = size_t{1} << 21;
    try {
        doc.reservarVivos(lugares);
    } catch (const std::bad_alloc&) {
    }
}
} // namespace

ResultadoPreparo prepararMundo(CKeldoDoc& doc, const OrigemMundo& origem, uint32_t semente) {
    doc.definirIgnorarTempoReal(true);
    doc.guardarMortosEmArquivo(true); // long runs would otherwise fill memory with the dead
    doc.definirSementeFixa(semente);
    if (origem.projeto) {
        const ResultadoArquivo r = doc.carregarProjeto(*origem.projeto);
        if (!r.ok)
            return {codigoSaida::erroArquivo, r.mensagem};
    }
    if (ResultadoPreparo r = aplicarDefinicoes(doc, origem); !r.mensagem.empty())
        return r;
    if (origem.projeto && !origem.novo)
        doc.semear(semente);
    else
        doc.criarMundo();
    reservarVivos(doc);
    return {};
}

uint32_t sementeDaEntropia() {
    std::random_device entropia;
    return static_cast<uint32_t>(entropia());
}

} // namespace keldo::cli
