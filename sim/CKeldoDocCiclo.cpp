// One cycle of the world and the generation turnover.
#include "sim/CKeldoDoc.h"
#include <chrono>
#include <cstdio>
#include <limits>

namespace {
// When the last throttled cycle ran; one value for the whole process.
uint32_t ultimoCiclo = 0;

uint32_t ticksSemHost() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
} // namespace

std::string CKeldoDoc::textoStatus() const {
    char texto[160];
    std::snprintf(texto, sizeof texto,
                  "Tempo: %d, Vivos: %d, Mortos: %d, Ovos: %d, Gera\xC3\xA7\xC3\xA3o: %d", tempo,
                  static_cast<int>(vivos.size()) - ovos, static_cast<int>(numMortos()), ovos,
                  geracao);
    return texto;
}

void CKeldoDoc::atualizarStatus() {
    status = textoStatus();
    if (host)
        host->definirStatus(status);
}

void CKeldoDoc::renovarGeracao() {
    if (parametros.tipoGeracoes != 1 || static_cast<uint32_t>(ovos) < parametros.numIndDiscretas)
        return;
    size_t destino = 0;
    for (size_t k = 0; k < vivos.size(); ++k) {
        SpecX& i = vivos[k];
        if (i.adulto()) {
            i.definirBit(EstadoBit::vivo, false);
            i.loopMorto = tempo;
            mortos.push_back(i);
            continue;
        }
        if (destino != k)
            vivos[destino] = vivos[k];
        ++destino;
    }
    vivos.resize(destino);
    for (SpecX& ovo : vivos) {
        ovo.definirBit(EstadoBit::adulto, true);
        registrar(ovo);
    }
    ovos = 0;
}

void CKeldoDoc::guardarMortos() {
    if (!mortosEmArquivo || mortosSoNaMemoria || mortos.size() < limiteMortosNaMemoria)
        return;
    if (mortosGuardados.guardar(mortos))
        mortos.clear();
    else
        mortosSoNaMemoria = true; // a full disk loses nothing; memory grows instead
}

void CKeldoDoc::salvarPeriodico() {
    bool salvo = true;
    if (host) {
        host->pararTimer();
        salvo = host->salvarDocumento();
    } else if (!caminho.empty()) {
        salvo = salvarProjeto(caminho).ok;
    }
    if (!salvo)
        ++salvamentosPeriodicosFalhos; // a batch run goes on and reports it at the end
    // The counter stops at its largest value: later periodic saves rewrite that
    // snapshot rather than wrap to a negative number.
    if (numSnapshot < std::numeric_limits<int32_t>::max())
        ++numSnapshot;
    if (estadoExecucao != 1)
        return;
    modificado = true;
    // After a failed save the run stays stopped: the next one would fail the
    // same way, so the user gets the chance to free space or choose another folder.
    if (!salvo)
        estadoExecucao = 2;
    else if (host)
        host->iniciarTimer(5);
}

std::string CKeldoDoc::avisoLimiteMundo() {
    return "O mundo atingiu o limite de " + std::to_string(limiteMundo) +
           " indiv\xC3\xAD"
           "duos e alimentos; a simula\xC3\xA7\xC3\xA3o foi parada.";
}

void CKeldoDoc::pararExecucao(const std::string& motivo) {
    estadoExecucao = 2;
    if (host)
        host->execucaoParada(motivo);
}

bool CKeldoDoc::executarCiclo() {
    if (mundoAlemDoLimite()) {
        pararExecucao(avisoLimiteMundo());
        return false;
    }
    if (parametros.tempoRealCiclo > 0 && !ignorarTempoReal) {
        const uint32_t agora = host ? host->contadorTicks() : ticksSemHost();
        if (ultimoCiclo + parametros.tempoRealCiclo > agora)
            return true;
        ultimoCiclo = host ? host->contadorTicks() : ticksSemHost();
    }
    renovarGeracao();
    procurarParceira();
    acasalar();
    procurarAlimento();
    const int comidos = comer();
    reporAlimento(comidos, parametros.taxaReposicao);
    moverIndividuos();
    tempo = static_cast<int32_t>(static_cast<uint32_t>(tempo) + 1u);
    guardarMortos();
    estatisticas.registrar(*this);
    atualizarStatus();
    if (parametros.intervaloAnimacao > 0 && tempo % parametros.intervaloAnimacao == 0 && host)
        host->atualizarVistas();
    if (parametros.salvarAtivo && parametros.salvarCiclos > 0 &&
        tempo % parametros.salvarCiclos == 0)
        salvarPeriodico();
    if (parametros.gerarTrace == 1)
        escreverTrace("keldo_trace.txt", true);
    return true;
}
